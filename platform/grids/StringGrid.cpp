#include "platform/core/Exception.h"
#include "platform/grids/Grids.h"

namespace platform {

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) { cells_.SetSize(ColCount(), RowCount()); }

void TStringGrid::SetCells(int ACol, int ARow, const std::string& value) {
  cells_.SetText(ACol, ARow, value);
  InvalidateCell(ACol, ARow);
  if (!settingEditText_ && InplaceCell() == TGridCoord{ACol, ARow}) InvalidateEditor();
}

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  if (Value == Cells(ACol, ARow)) return;
  settingEditText_ = true;
  SetCells(ACol, ARow, Value);
  settingEditText_ = false;
}

TStringList& TStringGrid::Line(TGridLine line, int index) {
  std::unique_ptr<TStringGridStrings>& list = lines_[{line, index}];
  if (!list) list = std::make_unique<TStringGridStrings>(*this, line, index);
  return *list;
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

namespace {

void RefuseResize() { throw EListError("Cannot insert or delete rows from grid"); }

}  // namespace

int TStringGridStrings::GetCount() const {
  const bool column = line_ == TGridLine::Column;
  if (index_ < 0 || index_ >= (column ? grid_.ColCount() : grid_.RowCount())) return 0;
  return column ? grid_.RowCount() : grid_.ColCount();
}

std::string TStringGridStrings::Get(int Index) const {
  CheckIndex(Index, Count());
  return grid_.Cells(Cell(Index).X, Cell(Index).Y);
}

void TStringGridStrings::Put(int Index, const std::string& S) {
  CheckIndex(Index, Count());
  grid_.SetCells(Cell(Index).X, Cell(Index).Y, S);
}

void* TStringGridStrings::GetObject(int Index) const {
  CheckIndex(Index, Count());
  return grid_.Objects(Cell(Index).X, Cell(Index).Y);
}

void TStringGridStrings::PutObject(int Index, void* AObject) {
  CheckIndex(Index, Count());
  grid_.SetObjects(Cell(Index).X, Cell(Index).Y, AObject);
}

int TStringGridStrings::AddObject(const std::string& S, void* AObject) {
  for (int i = 0; i < Count(); ++i) {
    if (!Get(i).empty()) continue;
    Put(i, S);
    PutObject(i, AObject);
    return i;
  }
  return -1;
}

void TStringGridStrings::Assign(const TStringList& Source) {
  if (&Source == this) return;
  for (int i = 0; i < Source.Count() && i < Count(); ++i) {
    Put(i, Source.Strings(i));
    PutObject(i, Source.Objects(i));
  }
}

void TStringGridStrings::Clear() {
  for (int i = 0; i < Count(); ++i) {
    Put(i, {});
    PutObject(i, nullptr);
  }
}

void TStringGridStrings::Delete(int) { RefuseResize(); }

void TStringGridStrings::InsertItem(int, const std::string&, void*) { RefuseResize(); }

}  // namespace platform
