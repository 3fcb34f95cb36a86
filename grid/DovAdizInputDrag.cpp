// Drag arming: a press on a selected cell of a grid that is a drag source waits for the mouse to
// move before it decides between a drag of the selection and a plain click.

#include <cstdlib>

#include "grid/DovAdiz.h"

using namespace platform;

namespace velmora {

namespace {

// The mouse must move more than this many pixels from the press before a drag starts.
constexpr int kDragThreshold = 3;

}  // namespace

bool VUraRazuduVova::ArmDrag(int c, int r, int X) {
  if (!dragDropSettings_.OleDropSource || Options().Contains(TGridOption::goEditing)) return false;
  if (!IsSelected(c, r) && !(r < FixedRows() && !EnhRowColMove)) return false;
  if (Options().Contains(TGridOption::goColSizing) && NearColumnBorder(c, X)) return false;
  dragPending_ = true;
  if (OnClickCell) OnClickCell(this, r, RealColIndex(c));
  return true;
}

bool VUraRazuduVova::DragMove(int X, int Y) {
  if (!dragPending_) return false;
  if (std::abs(X - mouseDownPoint_.X) <= kDragThreshold && std::abs(Y - mouseDownPoint_.Y) <= kDragThreshold)
    return true;
  dragPending_ = false;
  const TGuard alive(*this);
  const bool column = mouseDownCell_.Y < FixedRows();
  bool allow = true;
  if (OnOleDrag) OnOleDrag(this, mouseDownCell_.Y, RealColIndex(mouseDownCell_.X), column ? "" : SelectedText(), allow);
  if (alive.Gone()) return true;
  if (allow) {
    OleDrag(column);
    return true;
  }
  // Refused: the press becomes the start of an ordinary range selection.
  TBaseGrid::MouseDown(TMouseButton::mbLeft, TShiftState{}, mouseDownPoint_.X, mouseDownPoint_.Y);
  return false;
}

void VUraRazuduVova::DragRelease() {
  if (!std::exchange(dragPending_, false)) return;
  FocusCell(mouseDownCell_.X, mouseDownCell_.Y, true);
}

// FIXME: drags the column (Column) or the selected text as data to other windows once the grid has
// its drag and drop; OnOleDragStart before and OnOleDragStop after a column drag that was not dropped.
void VUraRazuduVova::OleDrag(bool Column) {}

}  // namespace velmora
