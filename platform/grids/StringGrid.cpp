#include <algorithm>
#include <utility>

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

namespace {

// Points the grid's row hooks at taken rows for the span of one deletion or insertion.
template <typename Taken>
class WholeRowScope {
public:
  WholeRowScope(Taken*& slot, Taken* rows) : slot_(slot) { slot_ = rows; }
  ~WholeRowScope() { slot_ = nullptr; }
  WholeRowScope(const WholeRowScope&) = delete;
  WholeRowScope& operator=(const WholeRowScope&) = delete;

private:
  Taken*& slot_;
};

}  // namespace

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) { cells_.SetSize(StorageColCount(), RowCount()); }

void TStringGrid::SetStorageColCount(int value) {
  storageColCount_ = std::max(value, 0);
  if (StorageColCount() != StoredColCount()) SizeChanged(ColCount(), RowCount());
}

// The taken row is the first hook's only: what the handlers run after it (TopRow's move, the editor's
// reload) insert or delete plain rows.
void TStringGrid::RowsInserted(int At, int Count) {
  if (GridCells::StoredRow* whole = std::exchange(wholeRow_, nullptr))
    cells_.PutRow(At, std::move(*whole));
  else
    cells_.InsertRows(At, Count);
}

void TStringGrid::RowsDeleted(int At, int Count) {
  if (GridCells::StoredRow* whole = std::exchange(wholeRow_, nullptr))
    *whole = cells_.TakeRow(At);
  else
    cells_.DeleteRows(At, Count);
}

void TStringGrid::RowsSwapped(int ARow1, int ARow2) { cells_.SwapRows(ARow1, ARow2); }

void TStringGrid::RowsPermuted(int First, const std::vector<int>& Order) { cells_.PermuteRows(First, Order); }

void TStringGrid::RowSetInserted(const std::vector<int>& Positions) {
  if (std::vector<GridCells::StoredRow>* whole = std::exchange(wholeRows_, nullptr))
    cells_.PutRows(Positions, std::move(*whole));
  else
    cells_.PutRows(Positions, std::vector<GridCells::StoredRow>(Positions.size()));
}

void TStringGrid::RowSetDeleted(const std::vector<int>& Rows) {
  std::vector<GridCells::StoredRow> taken = cells_.TakeRows(Rows);
  if (std::vector<GridCells::StoredRow>* whole = std::exchange(wholeRows_, nullptr)) *whole = std::move(taken);
}

TStringGrid::TTakenRow TStringGrid::TakeRow(int ARow) {
  TTakenRow taken;
  if (ARow < 0 || ARow >= RowCount()) return taken;
  taken.Height = RowHeights(ARow);
  {
    WholeRowScope scope(wholeRow_, &taken.Cells);
    DeleteRows(ARow, 1);
  }
  return taken;
}

void TStringGrid::PutRow(int ARow, TTakenRow&& Row) {
  if (ARow < 0 || ARow > RowCount()) throw EListError("Grid index out of range");
  {
    WholeRowScope scope(wholeRow_, &Row.Cells);
    InsertRows(ARow, 1);
  }
  if (RowHeights(ARow) != Row.Height) SetRowHeights(ARow, Row.Height);
}

std::vector<TStringGrid::TTakenRow> TStringGrid::TakeRows(const std::vector<int>& ARows) {
  CheckRowSet(ARows, RowCount());
  std::vector<TTakenRow> taken(ARows.size());
  for (size_t j = 0; j < taken.size(); ++j) taken[j].Height = RowHeights(ARows[j]);
  std::vector<GridCells::StoredRow> cells;
  {
    WholeRowScope scope(wholeRows_, &cells);
    DeleteRowSet(ARows);
  }
  for (size_t j = 0; j < cells.size(); ++j) taken[j].Cells = std::move(cells[j]);
  return taken;
}

void TStringGrid::PutRows(const std::vector<int>& Positions, std::vector<TTakenRow>&& Rows) {
  if (Positions.size() != Rows.size()) throw EListError("Grid index out of range");
  CheckRowSet(Positions, RowCount() + static_cast<int>(Positions.size()));
  std::vector<GridCells::StoredRow> cells;
  std::vector<int> heights;
  cells.reserve(Rows.size());
  heights.reserve(Rows.size());
  for (TTakenRow& row : Rows) {
    cells.push_back(std::move(row.Cells));
    heights.push_back(row.Height);
  }
  {
    WholeRowScope scope(wholeRows_, &cells);
    InsertSizedRowSet(Positions, heights);
  }
  if (std::any_of(heights.begin(), heights.end(), [this](int height) { return height != DefaultRowHeight(); }))
    RowHeightsChanged();
}

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

int TStringGridStrings::AddObject(std::string S, void* AObject) {
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

void TStringGridStrings::InsertItem(int, std::string, void*) { RefuseResize(); }

}  // namespace platform
