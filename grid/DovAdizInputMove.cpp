// Moving columns and rows by mouse: the drop moves real columns (hidden ones keep their place in the
// order and the sort column follows its data), and with EnhRowColMove the arrows mark the gap the
// column or row lands in while the moving caption follows the mouse.

#include <algorithm>

#include "grid/DovAdiz.h"
#include "grid/VovUra.h"

using namespace platform;

namespace velmora {

namespace {

// Where real column `index` stands after a move of real column `from` to `to`.
int IndexAfterMove(int index, int from, int to) {
  if (index == from) return to;
  if (from < to && index > from && index <= to) return index - 1;
  if (to < from && index >= to && index < from) return index + 1;
  return index;
}

}  // namespace

void VUraRazuduVova::MoveDropped(TGridLine Line, int FromIndex, int ToIndex) {
  if (Line == TGridLine::Row) {
    if (ToIndex <= LastNormalRow()) MoveRow(FromIndex, ToIndex);
    return;
  }
  if (ToIndex >= ColCount() - FixedRightCols() || FromIndex == ToIndex) return;
  const int from = RealColIndex(FromIndex), to = RealColIndex(ToIndex);
  MoveColumn(FromIndex, ToIndex);
  sortSettings_.Column = IndexAfterMove(sortSettings_.Column, from, to);
}

void VUraRazuduVova::ShowMoveMarks(int X, int Y) {
  const bool columns = GridState() == TGridState::gsColMoving;
  // Past the fixed area or the client edge the grid scrolls one column (row) that way.
  if (columns && X < FixedColsWidth() && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
  if (columns && X >= ClientWidth() && LeftCol() + VisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
  if (!columns && Y < FixedRowsHeight() && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
  if (!columns && Y >= ClientHeight() && TopRow() + VisibleRowCount() < RowCount()) SetTopRow(TopRow() + 1);
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  const int origin = columns ? mouseDownCell_.X : mouseDownCell_.Y;
  const int target = columns ? c : r;
  const bool normal = columns ? c >= FixedCols() && c < ColCount() - FixedRightCols()
                              : r >= FixedRows() && r <= LastNormalRow();
  if (arrows_.size() < 4) return;
  // The gap: before the target when it lies before the origin, after it otherwise.
  const TRect cell = CellRect(columns ? std::max(c, 0) : 0, columns ? 0 : std::max(r, 0));
  for (TArrowWindow* arrow : arrows_) arrow->SetVisible(false);
  if (normal && target != origin) {
    const auto place = [](TArrowWindow* arrow, TPoint at) {
      arrow->SetBounds(at.X, at.Y, arrow->Width(), arrow->Height());
      arrow->SetVisible(true);
    };
    if (columns) {
      const int gap = target < origin ? cell.Left : cell.Right;
      TArrowWindow* down = arrows_[static_cast<size_t>(TArrowDirection::arrDown)];
      TArrowWindow* up = arrows_[static_cast<size_t>(TArrowDirection::arrUp)];
      place(down, ClientToScreen({gap - down->Width() / 2, cell.Top - down->Height()}));
      place(up, ClientToScreen({gap - up->Width() / 2, cell.Bottom}));
    } else {
      const int gap = target < origin ? cell.Top : cell.Bottom;
      TArrowWindow* left = arrows_[static_cast<size_t>(TArrowDirection::arrLeft)];
      TArrowWindow* right = arrows_[static_cast<size_t>(TArrowDirection::arrRight)];
      place(left, ClientToScreen({cell.Left - left->Width(), gap - left->Height() / 2}));
      place(right, ClientToScreen({cell.Right, gap - right->Height() / 2}));
    }
  }
  if (!popupButton_ || origin < 0) return;
  // The moving caption: the origin's header text, as wide as its column (as high as its row).
  const TRect from = CellRect(columns ? origin : 0, columns ? 0 : origin);
  popupButton_->SetCaption(columns ? Cells(RealColIndex(origin), 0) : Cells(0, origin));
  const TPoint at = ClientToScreen({X - from.Width() / 2, Y - from.Height() / 2});
  popupButton_->SetBounds(at.X, at.Y, from.Width(), from.Height());
  popupButton_->SetVisible(true);
}

void VUraRazuduVova::HideMoveMarks() {
  for (TArrowWindow* arrow : arrows_) arrow->SetVisible(false);
  if (popupButton_) popupButton_->SetVisible(false);
}

}  // namespace velmora
