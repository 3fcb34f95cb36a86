// What the application's hint says over a cell, and where it shows.

#include <algorithm>
#include <string>

#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "grid/GridHintWindow.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/ui/Forms.h"

using namespace platform;

namespace velmora {

namespace {

// A hint that is not the cell's own text shows this far below the cell.
constexpr int kHintBelowCell = 6;

}  // namespace

void VUraRazuduVova::ShowHintProc(std::string& HintStr, bool& CanShow, THintInfo& HintInfo) {
  HintInfo.HintColor = HintColor;
  int c = -1, r = -1;
  MouseToCell(HintInfo.CursorPos.X, HintInfo.CursorPos.Y, c, r);
  if (c < 0 || r < 0) return;
  hintCell_ = {c, r};
  const TPoint base = BaseCell(RealColIndex(c), r);
  const int realCol = base.X;
  const int baseCol = DisplColIndex(base.X), baseRow = base.Y;
  const TPoint span = CellSpan(base.X, base.Y);
  TRect R;
  UnionRect(R, CellRect(baseCol, baseRow),
            CellRect(baseCol + std::max(span.X, 0), baseRow + std::max(span.Y, 0)));
  const std::string text = Cells(realCol, baseRow);

  const TGuard alive(*this);
  if (AnchorHint && TextType(text, EnableHTML) == 1) {
    std::string anchor = AnchorAt(baseCol, baseRow, HintInfo.CursorPos.X, HintInfo.CursorPos.Y);
    if (!anchor.empty()) {
      if (OnAnchorHint) OnAnchorHint(this, baseRow, realCol, anchor);
      if (alive.Gone()) return;
      HintStr = anchor;
    }
  }
  // A comment shows at the cell's top-right corner, where the comment's marker is.
  std::string comment;
  TPoint at{R.Left, R.Bottom + kHintBelowCell};
  if (IsComment(realCol, baseRow, comment)) {
    HintStr = comment;
    at = {R.Right, R.Top};
  }

  bool fixed = false;
  GetCellFixed(realCol, baseRow, fixed);
  bool password = false;
  GetCellPassword(realCol, baseRow, password);
  const bool normal = !fixed && baseCol >= FixedCols() && baseCol < ColCount() - FixedRightCols() &&
                      baseRow >= FixedRows() && baseRow <= LastNormalRow();
  // A password cell's text never shows in a hint.
  if (normal && !password &&
      (HintShowCells || (HintShowLargeText && GetCellTextSize(baseCol, baseRow).cx > R.Width()))) {
    HintStr = text;
    at.Y = R.Top;
    // A text that the grid does not draw as markup is no markup in its hint either: a hint window of
    // the application's that would read its "<" or "&" as markup gives way to the plain one.
    if (TextType(text, EnableHTML) != 1 && text.find_first_of("<&") != std::string::npos)
      HintInfo.HintWindowClass = HintWindowClassOf<THintWindow>();
  }
  if (OnGridHint) OnGridHint(this, baseRow, baseCol, HintStr);
  if (alive.Gone()) return;
  HintInfo.HintPos = ClientToScreen(at);
}

void VUraRazuduVova::ShowSizingHint(int X, int Y) {
  const int index = SizingIndex();
  if (!HintShowSizing || index < 0) return;
  const bool columns = GridState() == TGridState::gsColSizing;
  const std::string text = columns ? "cw=<b>" + std::to_string(ColWidths(index)) + "</b>"
                                   : "rh=<b>" + std::to_string(RowHeights(index)) + "</b>";
  const TPoint at = ClientToScreen({X + 12, Y + 12});
  OwnHintWindow().ActivateHint(Rect(at.X, at.Y, at.X, at.Y), text);
}

THintWindow& VUraRazuduVova::OwnHintWindow() {
  if (!sizingHint_) {
    sizingHint_ = new Dovadiz::TMarkupHintWindow(this);
    sizingHint_->SetColor(HintColor);
  }
  return *sizingHint_;
}

void VUraRazuduVova::HideSizingHint() {
  if (sizingHint_) sizingHint_->ReleaseHandle();
}

}  // namespace velmora
