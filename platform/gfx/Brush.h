#pragma once

#include <functional>

#include "platform/gfx/Colors.h"

namespace platform {

enum class TBrushStyle { bsSolid, bsClear };

// The brush of a canvas: fills figures and rectangles, and is the text background in the opaque
// background mode. Setting a colour makes a clear brush solid, as the class library does.
class TBrush {
public:
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);

  void Assign(const TBrush& source);  // copies the values, keeps OnChange; fires it

  std::function<void()> OnChange;

private:
  void Changed();

  TColor color_ = clWhite;
  TBrushStyle style_ = TBrushStyle::bsSolid;
};

}  // namespace platform
