#include "grid/BaseGrid.h"
#include "platform/ui/VirtualKeys.h"

// Keys and the wheel: the current cell leaves a merged block as a whole and always ends on the base of
// the block it lands in; paging and the wheel stay off a footer row.

using namespace platform;

namespace velmora {

bool TBaseGrid::SelectCell(int ACol, int ARow) {
  // The floating footer shows the last row: a move there (a key, a click, the wheel, the program) goes to
  // the row above it instead, so the last row never becomes the current one.
  if (LastRowFooter && ARow == RowCount() - 1) {
    if (ARow - 1 >= FixedRows()) FocusCell(ACol, ARow - 1, true);
    return false;
  }
  RepaintCell(RemapCol(Col()), Row());
  const bool allowed = TStringGrid::SelectCell(ACol, ARow);
  RepaintCell(RemapCol(ACol), ARow);
  return allowed;
}

void TBaseGrid::KeyDown(WORD& Key, TShiftState Shift) {
  const bool paging = Key == VK_NEXT;
  if (!paging && HasCellProperties(RemapCol(Col()), Row())) {
    // From inside a block, a move starts at the block's far edge in its direction.
    const TGridRect block = DisplayBlockOf(Col(), Row());
    switch (Key) {
      case VK_RIGHT:
        if (Col() < ColCount() - 1 && block.Left < ColCount() - 1) SetCol(block.Right);
        break;
      case VK_DOWN:
        if (Row() < RowCount() - 1 && block.Top < RowCount() - 1) SetRow(block.Bottom);
        break;
      case VK_LEFT:
        if (Col() > block.Left) SetCol(block.Left);
        break;
      case VK_UP:
        if (Row() > block.Top) SetRow(block.Top);
        break;
      default: break;
    }
  }
  TStringGrid::KeyDown(Key, Shift);
  if (paging) KeepOffFooter();
  SelectBaseCell();
}

void TBaseGrid::KeepOffFooter() {
  if (LastRowFooter && Row() == RowCount() - 1 && RowCount() - 2 >= FixedRows()) SetRow(RowCount() - 2);
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  const bool handled = TStringGrid::DoMouseWheelDown(Shift, MousePos);
  if (LastRowFooter && Row() != RowCount() - 2 && VisibleRowCount() - FixedRows() <= Row() - TopRow())
    SetTopRow(TopRow() + 1);
  KeepOffFooter();
  SelectBaseCell();
  return handled;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  const bool handled = TStringGrid::DoMouseWheelUp(Shift, MousePos);
  SelectBaseCell();
  return handled;
}

}  // namespace velmora
