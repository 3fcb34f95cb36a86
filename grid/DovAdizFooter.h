#pragma once

#include "platform/ui/ExtCtrls.h"

namespace velmora {

class VUraRazuduVova;

// The panel under the grid's rows that shows its floating footer: the grid's last row as a fixed row
// (fsFixedLastRow), one column of the current row (fsColumnPreview) or the custom template filled
// from the current row (fsCustomPreview). The grid makes it with itself as owner and parent, aligned
// to its bottom edge; its height is the footer's height while the footer is visible, else 0.
class TFooterPanel : public platform::TCustomPanel {
public:
  TFooterPanel(platform::TComponent* AOwner, VUraRazuduVova& Grid);

protected:
  void CreateWnd() override;
  void Paint() override;

private:
  // W, the width of the columns shown: the fixed ones and those from LeftCol to the last visible one.
  int ColumnsWidth() const;
  // The raised frame (white top and left, gray bottom and right) inside R.
  void DrawRaisedFrame(const platform::TRect& R, bool Horizontal, bool Vertical);
  // The panel right of the columns in the grid's colour.
  void FillRest(int W);
  // The grid's cell drawn inside a frame, clipped to it.
  void DrawCellInto(const platform::TRect& Frame, int ACol, int ARow);
  // The previews' area of width W in the footer's colour with its frame, the rest filled; returns it.
  platform::TRect PaintPreviewFrame();
  void PaintLastRow();
  void PaintColPreview();
  void PaintCustomPreview();

  VUraRazuduVova& grid_;
};

}  // namespace velmora
