#include "platform/ui/Grids.h"

namespace platform {

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) { cells_.SetSize(ColCount(), RowCount()); }

void TStringGrid::SetCells(int ACol, int ARow, const std::string& value) {
  cells_.SetText(ACol, ARow, value);
  InvalidateCell(ACol, ARow);
}

void TStringGrid::Cols(int index, TStringList& list) const {
  list.Clear();
  if (index < 0 || index >= ColCount()) return;
  for (int row = 0; row < RowCount(); ++row) list.AddObject(Cells(index, row), Objects(index, row));
}

void TStringGrid::SetCols(int index, const TStringList& list) {
  for (int row = 0; row < list.Count() && row < RowCount(); ++row) {
    cells_.SetText(index, row, list.Strings(row));
    cells_.SetObject(index, row, list.Objects(row));
  }
  Invalidate();
}

void TStringGrid::Rows(int index, TStringList& list) const {
  list.Clear();
  if (index < 0 || index >= RowCount()) return;
  for (int col = 0; col < ColCount(); ++col) list.AddObject(Cells(col, index), Objects(col, index));
}

void TStringGrid::SetRows(int index, const TStringList& list) {
  for (int col = 0; col < list.Count() && col < ColCount(); ++col) {
    cells_.SetText(col, index, list.Strings(col));
    cells_.SetObject(col, index, list.Objects(col));
  }
  Invalidate();
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (DefaultDrawing()) Canvas().TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
  TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
  cells_.MoveColumn(FromIndex, ToIndex);
  TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
  cells_.MoveRow(FromIndex, ToIndex);
  TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) { cells_.SetSize(ColCount(), RowCount()); }

}  // namespace platform
