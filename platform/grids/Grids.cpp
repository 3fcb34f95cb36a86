#include "platform/grids/Grids.h"

#include <algorithm>

#include "platform/core/Exception.h"

namespace platform {


TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  cols_.SetDefaultSize(64);
  SetControlStyle(ControlStyle() + TControlStyleFlag::csOpaque);
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 320, 120);
}

void TCustomGrid::SetCounts(int colCount, int rowCount) {
  const int oldCols = ColCount(), oldRows = RowCount();
  if (colCount == oldCols && rowCount == oldRows) return;
  cols_.SetCount(colCount);
  rows_.SetCount(rowCount);
  ClampCurrent();
  SizeChanged(oldCols, oldRows);
  Invalidate();
  UpdateScrollRange();
  EditorFollows();
}

GridAxis& TCustomGrid::AxisOf(TGridLine line) { return line == TGridLine::Column ? cols_ : rows_; }

void TCustomGrid::SizesChanged(TGridLine line) {
  if (line == TGridLine::Column)
    ColWidthsChanged();
  else
    RowHeightsChanged();
}

void TCustomGrid::SetFixed(TGridLine line, int value) {
  AxisOf(line).SetFixed(value);
  ClampCurrent();
  Invalidate();
  UpdateScrollRange();
  EditorFollows();
}

void TCustomGrid::ClampCurrent() {
  auto clamp = [](int v, const GridAxis& axis) { return std::clamp(v, axis.Fixed(), std::max(axis.Count() - 1, axis.Fixed())); };
  current_ = {clamp(current_.X, cols_), clamp(current_.Y, rows_)};
  anchor_ = {clamp(anchor_.X, cols_), clamp(anchor_.Y, rows_)};
}

void TCustomGrid::SetDefaultSize(TGridLine line, int value) {
  AxisOf(line).SetDefaultSize(value);
  Invalidate();
  SizesChanged(line);
  EditorFollows();
}

void TCustomGrid::SetSize(TGridLine line, int index, int value) {
  AxisOf(line).SetSize(index, value);
  Invalidate();
  SizesChanged(line);
  EditorFollows();
}

void TCustomGrid::SetGridLineWidth(int value) {
  cols_.SetLineWidth(value);
  rows_.SetLineWidth(value);
  Invalidate();
  UpdateScrollRange();
  EditorFollows();
}

void TCustomGrid::SetOptions(TGridOptions value) {
  options_ = value;
  if (!options_.Contains(TGridOption::goRangeSelect)) anchor_ = current_;
  Invalidate();
  if (!options_.Contains(TGridOption::goEditing) || options_.Contains(TGridOption::goRowSelect))
    HideEditor();
  else if (options_.Contains(TGridOption::goAlwaysShowEditor))
    ShowEditor();
}

void TCustomGrid::SetFixedColor(TColor value) {
  fixedColor_ = value;
  Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool value) {
  defaultDrawing_ = value;
  Invalidate();
}

TGridRect TCustomGrid::Selection() const {
  TGridRect sel{std::min(anchor_.X, current_.X), std::min(anchor_.Y, current_.Y), std::max(anchor_.X, current_.X),
                std::max(anchor_.Y, current_.Y)};
  if (options_.Contains(TGridOption::goRowSelect)) {
    sel.Left = FixedCols();
    sel.Right = std::max(ColCount() - 1, FixedCols());
  }
  return sel;
}

void TCustomGrid::SetSelection(const TGridRect& value) {
  Invalidate();
  anchor_ = {value.Left, value.Top};
  current_ = {value.Right, value.Bottom};
  if (!options_.Contains(TGridOption::goRangeSelect)) anchor_ = current_;
  ClampCurrent();
  CurrentMoved();
}

void TCustomGrid::SetSelectionShown(bool value) {
  if (selectionShown_ == value) return;
  selectionShown_ = value;
  Invalidate();
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) {
  if (ACol < FixedCols() || ARow < FixedRows() || ACol >= ColCount() || ARow >= RowCount()) return;
  if (!SelectCell(ACol, ARow)) return;
  if (options_.Contains(TGridOption::goRangeSelect) && !MoveAnchor) {
    Invalidate();  // a range may shrink anywhere
  } else {
    InvalidateCell(current_.X, current_.Y);
    if (options_.Contains(TGridOption::goRowSelect)) Invalidate();
  }
  current_ = {ACol, ARow};
  if (MoveAnchor || !options_.Contains(TGridOption::goRangeSelect)) anchor_ = current_;
  InvalidateCell(ACol, ARow);
  CurrentMoved();
}

void TCustomGrid::CurrentMoved() {
  if (!options_.Contains(TGridOption::goAlwaysShowEditor)) HideEditor();
  ScrollInView(current_);
  if (editorMode_) UpdateEdit();
}

void TCustomGrid::ScrollInView(TGridCoord cell) {
  const int left = options_.Contains(TGridOption::goRowSelect) ? LeftCol() : cols_.FirstShowing(cell.X, ClientWidth());
  MoveTopLeft(left, rows_.FirstShowing(cell.Y, RowsExtent()));
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop) {
  const int oldLeft = LeftCol(), oldTop = TopRow();
  cols_.SetFirst(ALeft);
  rows_.SetFirst(ATop);
  if (LeftCol() == oldLeft && TopRow() == oldTop) return;
  Invalidate();
  UpdateScrollPos();
  EditorFollows();
  TopLeftChanged();
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
  const TRect cell = CellRect(ACol, ARow);
  if (IsRectEmpty(cell)) return;
  // With the lines after the cell, which its painting draws.
  InvalidateRect({cell.Left, cell.Top, cell.Right + GridLineWidth(), cell.Bottom + GridLineWidth()});
}

void TCustomGrid::InvalidateLine(TGridLine line, int index) {
  const bool column = line == TGridLine::Column;
  const GridAxis& axis = column ? cols_ : rows_;
  if (!axis.Shows(index, index, column ? ClientWidth() : RowsExtent())) return;
  const int start = axis.Start(index), end = start + axis.Size(index) + axis.LineWidth();
  InvalidateRect(column ? TRect{start, 0, end, ClientHeight()} : TRect{0, start, ClientWidth(), end});
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
  const int col = cols_.ItemAt(X, ClientWidth()), row = rows_.ItemAt(Y, RowsExtent());
  if (col < 0 || row < 0) return {-1, -1};
  return {col, row};
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  const TGridCoord cell = MouseCoord(X, Y);
  ACol = cell.X;
  ARow = cell.Y;
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
  if (!cols_.Shows(ACol, ACol, ClientWidth()) || !rows_.Shows(ARow, ARow, RowsExtent())) return {};
  const int left = cols_.Start(ACol), top = rows_.Start(ARow);
  return {left, top, left + cols_.Size(ACol), top + rows_.Size(ARow)};
}

void TCustomGrid::MoveLine(TGridLine line, int from, int to) {
  GridAxis& axis = AxisOf(line);
  if (from == to || from < 0 || to < 0 || from >= axis.Count() || to >= axis.Count()) return;
  axis.MoveItem(from, to);
  if (line == TGridLine::Column)
    ColumnMoved(from, to);
  else
    RowMoved(from, to);
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::DeleteLine(TGridLine line, int index) {
  const int count = AxisOf(line).Count();
  if (index < 0 || index >= count) return;
  MoveLine(line, index, count - 1);
  if (line == TGridLine::Column)
    SetColCount(count - 1);
  else
    SetRowCount(count - 1);
}

namespace {

// Where row `row` stands after `count` rows were inserted before `at` (count > 0) or deleted from `at`
// on (count < 0); a deleted row becomes the one that takes its place.
int Shifted(int row, int at, int count) {
  if (row < at) return row;
  return count > 0 ? row + count : std::max(row + count, at);
}

}  // namespace

void TCustomGrid::InsertRows(int At, int Count) {
  if (At < 0 || At > RowCount() || Count <= 0) return;
  ShiftRows(At, Count);
}

void TCustomGrid::DeleteRows(int At, int Count) {
  if (At < 0 || At >= RowCount() || Count <= 0) return;
  Count = std::min(Count, RowCount() - At);
  ShiftRows(At, -Count);
}

void TCustomGrid::ShiftRows(int At, int Count) {
  const bool editorRowGone = Count < 0 && inplaceCell_.Y >= At && inplaceCell_.Y < At - Count;
  ChangeRows(
      [&] {
        if (Count > 0)
          rows_.InsertItems(At, Count);
        else
          rows_.DeleteItems(At, -Count);
      },
      [&](int row) { return Shifted(row, At, Count); }, editorRowGone,
      [&] {
        if (Count > 0)
          RowsInserted(At, Count);
        else
          RowsDeleted(At, -Count);
      });
}

void TCustomGrid::CheckRowSet(const std::vector<int>& rows, int limit) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i] < 0 || rows[i] >= limit || (i > 0 && rows[i] <= rows[i - 1]))
      throw EListError("Grid index out of range");
}

void TCustomGrid::DeleteRowSet(const std::vector<int>& Rows) {
  CheckRowSet(Rows, RowCount());
  if (Rows.empty()) return;
  // A row moves up by the deleted rows before it; a deleted row becomes the first kept row after it.
  auto where = [&Rows](int row) {
    return row - static_cast<int>(std::lower_bound(Rows.begin(), Rows.end(), row) - Rows.begin());
  };
  const bool editorRowGone = std::binary_search(Rows.begin(), Rows.end(), inplaceCell_.Y);
  ChangeRows([&] { rows_.DeleteItemSet(Rows); }, where, editorRowGone, [&] { RowSetDeleted(Rows); });
}

void TCustomGrid::InsertSizedRowSet(const std::vector<int>& Positions, const std::vector<int>& Heights) {
  CheckRowSet(Positions, RowCount() + static_cast<int>(Positions.size()));
  if (Positions.empty()) return;
  // The j-th new row goes before row Positions[j] - j of the grid as it was; a row moves down by the new
  // rows that go before it or at its place.
  std::vector<int> before(Positions.size());
  for (size_t j = 0; j < Positions.size(); ++j) before[j] = Positions[j] - static_cast<int>(j);
  auto where = [&before](int row) {
    return row + static_cast<int>(std::upper_bound(before.begin(), before.end(), row) - before.begin());
  };
  ChangeRows([&] { rows_.InsertItemSet(Positions, Heights); }, where, false, [&] { RowSetInserted(Positions); });
}

void TCustomGrid::ChangeRows(const std::function<void()>& changeAxis, const std::function<int(int)>& where,
                             bool editorRowGone, const std::function<void()>& moved) {
  // A row the grid does not have (the current row and TopRow of an empty grid) stays where it is.
  const int rowCount = RowCount();
  auto after = [&](int row) { return row < 0 || row >= rowCount ? row : where(row); };
  const int top = after(TopRow());
  editorRowGone = editorRowGone && inplaceCell_.X >= 0;
  changeAxis();
  current_.Y = after(current_.Y);
  anchor_.Y = after(anchor_.Y);
  if (inplaceCell_.X >= 0) inplaceCell_.Y = after(inplaceCell_.Y);
  ClampCurrent();
  moved();
  Invalidate();
  MoveTopLeft(LeftCol(), top);
  UpdateScrollRange();
  if (editorRowGone)
    InvalidateEditor();
  else
    EditorFollows();
}

void TCustomGrid::SwapRows(int ARow1, int ARow2) {
  if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount()) return;
  const bool sameHeight = RowHeights(ARow1) == RowHeights(ARow2);
  rows_.SwapItems(ARow1, ARow2);
  RowsSwapped(ARow1, ARow2);
  if (sameHeight) {
    InvalidateRow(ARow1);
    InvalidateRow(ARow2);
  } else {
    Invalidate();
    RowHeightsChanged();
  }
  if (inplaceCell_.Y == ARow1 || inplaceCell_.Y == ARow2)
    InvalidateEditor();
  else
    EditorFollows();
}

void TCustomGrid::PermuteRows(int First, const std::vector<int>& Order) {
  const int count = static_cast<int>(Order.size());
  if (First < 0 || count > RowCount() - First) throw EListError("Grid index out of range");
  std::vector<bool> taken(count);
  for (int from : Order) {
    if (from < First || from - First >= count || taken[from - First]) throw EListError("Grid index out of range");
    taken[from - First] = true;
  }
  if (count == 0) return;
  const bool heightsMoved = rows_.PermuteItems(First, Order);
  RowsPermuted(First, Order);
  Invalidate();
  if (heightsMoved) RowHeightsChanged();
  const int editorAt = inplaceCell_.Y - First;
  if (editorAt >= 0 && editorAt < count && Order[editorAt] != inplaceCell_.Y)
    InvalidateEditor();
  else
    EditorFollows();
}

void TCustomGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == inplaceEdit_) {
    inplaceEdit_ = nullptr;
    inplaceCell_ = {-1, -1};
  }
}

void TCustomGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | (options_.Contains(TGridOption::goTabs) ? DLGC_WANTTAB : 0) |
                       (options_.Contains(TGridOption::goEditing) ? DLGC_WANTCHARS : 0);
      return;
    case WM_SETFOCUS:
      TCustomControl::Dispatch(Message);
      InvalidateCell(current_.X, current_.Y);
      if (!editorHandsFocusBack_) UpdateEdit();  // editing goes on in the editor
      return;
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(Message);
      InvalidateCell(current_.X, current_.Y);
      return;
    case WM_CHAR: {
      // A character typed on the grid starts editing with it.
      const auto c = static_cast<char32_t>(Message.WParam);
      if (options_.Contains(TGridOption::goEditing) && (c == '\b' || (c >= 0x20 && c != 0x7F))) {
        ShowEditor();
        if (inplaceCell_.X >= 0 && inplaceEdit_->Visible()) {
          inplaceEdit_->Perform(WM_CHAR, Message.WParam, Message.LParam);
          return;
        }
      }
      TCustomControl::Dispatch(Message);
      return;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Message.LParam != 0) break;  // a scroll bar control's report
      ModifyScrollBar(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, static_cast<WORD>(Message.WParam & 0xFFFF),
                      static_cast<int>((Message.WParam >> 16) & 0xFFFF));
      return;
    case WM_SIZE:
    case CM_SHOWINGCHANGED: {
      TGuard guard(*this);
      TCustomControl::Dispatch(Message);
      if (guard.Gone()) return;
      UpdateScrollRange();
      EditorFollows();
      return;
    }
    default: TCustomControl::Dispatch(Message);
  }
}

void TDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::SelectCell(int ACol, int ARow) {
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, canSelect);
  return canSelect;
}

void TDrawGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex) {
  if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::RowMoved(int FromIndex, int ToIndex) {
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

}  // namespace platform
