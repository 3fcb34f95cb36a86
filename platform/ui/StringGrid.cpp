#include "platform/ui/Grids.h"

namespace platform {

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) { cells_.SetSize(ColCount(), RowCount()); }

void TStringGrid::SetCells(int ACol, int ARow, const std::string& value) {
  cells_.SetText(ACol, ARow, value);
  InvalidateCell(ACol, ARow);
}

TGridCoord TStringGrid::LineCell(TGridLine line, int index, int i) {
  return line == TGridLine::Column ? TGridCoord{index, i} : TGridCoord{i, index};
}

void TStringGrid::ReadLine(TGridLine line, int index, TStringList& list) const {
  list.Clear();
  const int length = line == TGridLine::Column ? RowCount() : ColCount();
  if (index < 0 || index >= (line == TGridLine::Column ? ColCount() : RowCount())) return;
  for (int i = 0; i < length; ++i) {
    const TGridCoord cell = LineCell(line, index, i);
    list.AddObject(Cells(cell.X, cell.Y), Objects(cell.X, cell.Y));
  }
}

void TStringGrid::WriteLine(TGridLine line, int index, const TStringList& list) {
  const int length = line == TGridLine::Column ? RowCount() : ColCount();
  for (int i = 0; i < list.Count() && i < length; ++i) {
    const TGridCoord cell = LineCell(line, index, i);
    cells_.SetText(cell.X, cell.Y, list.Strings(i));
    cells_.SetObject(cell.X, cell.Y, list.Objects(i));
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
