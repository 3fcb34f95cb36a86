#include <algorithm>

#include "platform/grids/Grids.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

// How far from a line a press still grabs it for sizing.
constexpr int kSizingTolerance = 3;

// The item whose trailing line lies within the tolerance of `pos`, or -1; with its line's position.
int ItemEndingNear(const GridAxis& axis, int pos, int extent, int& linePos) {
  const int item = axis.ItemAt(pos, extent);
  if (item < 0) return -1;
  const int end = axis.Start(item) + axis.Size(item);
  if (pos >= end - kSizingTolerance) {
    linePos = end;
    return item;
  }
  // Just past the start of an item: the line of the one before it.
  if (pos < axis.Start(item) + kSizingTolerance && item > 0 && (item - 1 < axis.Fixed() || item - 1 >= axis.First())) {
    linePos = axis.Start(item) - axis.LineWidth();
    return item - 1;
  }
  return -1;
}

}  // namespace

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  if (Key == VK_F2) {
    SetEditorMode(true);
    return;
  }
  if (Key == VK_ESCAPE) {
    if (inplaceCell_.X >= 0) CancelEdit();
    return;
  }
  const bool rowSelect = options_.Contains(TGridOption::goRowSelect);
  const int pageHeight = std::max(VisibleRowCount(), 1);
  const int pageWidth = std::max(VisibleColCount(), 1);
  TGridCoord cell = current_;
  TGridCoord topLeft{LeftCol(), TopRow()};
  if (Shift.Contains(TShiftStateFlag::ssCtrl)) {
    switch (Key) {
      case VK_UP: --topLeft.Y; break;
      case VK_DOWN: ++topLeft.Y; break;
      case VK_LEFT:
        if (!rowSelect) cell.X -= pageWidth;
        topLeft.X -= pageWidth;
        break;
      case VK_RIGHT:
        if (!rowSelect) cell.X += pageWidth;
        topLeft.X += pageWidth;
        break;
      case VK_PRIOR: cell.Y = TopRow(); break;
      case VK_NEXT: cell.Y = TopRow() + pageHeight - 1; break;
      case VK_HOME: cell = {FixedCols(), FixedRows()}; break;
      case VK_END: cell = {ColCount() - 1, RowCount() - 1}; break;
      default: return;
    }
  } else {
    switch (Key) {
      case VK_UP: --cell.Y; break;
      case VK_DOWN: ++cell.Y; break;
      case VK_LEFT:
        if (rowSelect) --topLeft.X;
        else --cell.X;
        break;
      case VK_RIGHT:
        if (rowSelect) ++topLeft.X;
        else ++cell.X;
        break;
      case VK_NEXT:
        cell.Y += pageHeight;
        topLeft.Y += pageHeight;
        break;
      case VK_PRIOR:
        cell.Y -= pageHeight;
        topLeft.Y -= pageHeight;
        break;
      case VK_HOME:
        if (rowSelect) cell.Y = FixedRows();
        else cell.X = FixedCols();
        break;
      case VK_END:
        if (rowSelect) cell.Y = RowCount() - 1;
        else cell.X = ColCount() - 1;
        break;
      case VK_TAB:
        if (!options_.Contains(TGridOption::goTabs) || Shift.Contains(TShiftStateFlag::ssAlt)) return;
        // Tab walks the scrolling cells row by row and wraps from the last to the first; Shift+Tab
        // walks back. Neither extends the selection.
        if (Shift.Contains(TShiftStateFlag::ssShift)) {
          if (--cell.X < FixedCols()) {
            cell.X = ColCount() - 1;
            if (--cell.Y < FixedRows()) cell.Y = RowCount() - 1;
          }
        } else if (++cell.X >= ColCount()) {
          cell.X = FixedCols();
          if (++cell.Y >= RowCount()) cell.Y = FixedRows();
        }
        Shift = {};
        break;
      default: return;
    }
  }
  topLeft.X = std::clamp(topLeft.X, FixedCols(), std::max(cols_.MaxFirst(ClientWidth()), FixedCols()));
  topLeft.Y = std::clamp(topLeft.Y, FixedRows(), std::max(rows_.MaxFirst(RowsExtent()), FixedRows()));
  cell.X = std::clamp(cell.X, FixedCols(), std::max(ColCount() - 1, FixedCols()));
  cell.Y = std::clamp(cell.Y, FixedRows(), std::max(RowCount() - 1, FixedRows()));
  if (topLeft.X != LeftCol() || topLeft.Y != TopRow()) MoveTopLeft(topLeft.X, topLeft.Y);
  if (!(cell == current_))
    FocusCell(cell.X, cell.Y, !(Shift.Contains(TShiftStateFlag::ssShift) && options_.Contains(TGridOption::goRangeSelect)));
}

void TCustomGrid::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  // Enter turns editing on and off; with goAlwaysShowEditor it is always on.
  if (Key != '\r' || !options_.Contains(TGridOption::goEditing) || options_.Contains(TGridOption::goAlwaysShowEditor))
    return;
  if (editorMode_)
    HideEditor();
  else
    ShowEditor();
  Key = 0;
}

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) {
  State = TGridState::gsNormal;
  Index = -1;
  int linePos = 0;
  if (options_.Contains(TGridOption::goColSizing) && Y < rows_.FixedExtent()) {
    Index = ItemEndingNear(cols_, X, ClientWidth(), linePos);
    if (Index >= 0) State = TGridState::gsColSizing;
  }
  if (State == TGridState::gsNormal && options_.Contains(TGridOption::goRowSizing) && X < cols_.FixedExtent()) {
    Index = ItemEndingNear(rows_, Y, RowsExtent(), linePos);
    if (Index >= 0) State = TGridState::gsRowSizing;
  }
  if (State == TGridState::gsNormal) return;
  SizingPos = linePos;
  SizingOfs = (State == TGridState::gsColSizing ? X : Y) - linePos;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft) return;
  CalcSizingState(X, Y, state_, sizingIndex_, sizingPos_, sizingOfs_);
  if (state_ != TGridState::gsNormal) return;
  const TGridCoord cell = MouseCoord(X, Y);
  if (cell.X < 0) return;
  if (options_.Contains(TGridOption::goColMoving) && cell.Y < FixedRows() && cell.X >= FixedCols()) {
    state_ = TGridState::gsColMoving;
    sizingIndex_ = cell.X;
  } else if (options_.Contains(TGridOption::goRowMoving) && cell.X < FixedCols() && cell.Y >= FixedRows()) {
    state_ = TGridState::gsRowMoving;
    sizingIndex_ = cell.Y;
  } else if (cell.X >= FixedCols() && cell.Y >= FixedRows()) {
    // A plain click on the current cell edits it.
    const bool edit = cell == current_ && options_.Contains(TGridOption::goEditing) &&
                      !Shift.Contains(TShiftStateFlag::ssShift) && !Shift.Contains(TShiftStateFlag::ssCtrl);
    state_ = TGridState::gsSelecting;
    FocusCell(cell.X, cell.Y, !(Shift.Contains(TShiftStateFlag::ssShift) && options_.Contains(TGridOption::goRangeSelect)));
    if (edit) ShowEditor();
  }
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  switch (state_) {
    case TGridState::gsSelecting: {
      const TGridCoord cell = MouseCoord(X, Y);
      if (cell.X >= FixedCols() && cell.Y >= FixedRows() && options_.Contains(TGridOption::goRangeSelect) &&
          !(cell == current_))
        FocusCell(cell.X, cell.Y, false);
      break;
    }
    case TGridState::gsColSizing:
      SetColWidths(sizingIndex_, std::max(X - sizingOfs_ - cols_.Start(sizingIndex_), 0));
      break;
    case TGridState::gsRowSizing:
      SetRowHeights(sizingIndex_, std::max(Y - sizingOfs_ - rows_.Start(sizingIndex_), 0));
      break;
    default: break;
  }
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGridState state = std::exchange(state_, TGridState::gsNormal);
  const TGridCoord cell = MouseCoord(X, Y);
  if (state == TGridState::gsColMoving && cell.X >= FixedCols()) MoveDropped(TGridLine::Column, sizingIndex_, cell.X);
  if (state == TGridState::gsRowMoving && cell.Y >= FixedRows()) MoveDropped(TGridLine::Row, sizingIndex_, cell.Y);
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
  if (Row() < RowCount() - 1) FocusCell(Col(), Row() + 1, true);
  return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
  if (Row() > FixedRows()) FocusCell(Col(), Row() - 1, true);
  return true;
}

}  // namespace platform
