#pragma once

#include <string>

#include "platform/ui/Forms.h"

namespace velmora::Dovadiz {

// The grid's own hint window: a borderless box that shows a mini-markup text, which the grid raises
// itself (the size of a column or row while it is sized). The grid owns it.
class TMarkupHintWindow : public platform::THintWindow {
public:
  using THintWindow::THintWindow;

  // The text measured at most MaxWidth wide, as a rectangle at (0, 0).
  platform::TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) override;
  // Shows AHint with its top-left at Rect's, sized to the text and kept 2 pixels inside the screen's
  // right and bottom edges; a hint larger than the screen starts at the screen's top-left.
  void ActivateHint(platform::TRect Rect, const std::string& AHint) override;

protected:
  void CreateParams(platform::TCreateParams& Params) override;
  void Paint() override;

private:
  // The text's size as the markup renderer lays it out at most MaxWidth wide.
  platform::TSize MeasureText(int MaxWidth, const std::string& AHint);

  platform::TSize textSize_{};
};

}  // namespace velmora::Dovadiz
