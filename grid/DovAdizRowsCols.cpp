// Inserting, removing, swapping and moving rows and columns: cells, property objects, sizes, marks and
// visibility move together, and column operations reach the hidden rows.

#include <algorithm>

#include "grid/DovAdiz.h"
#include "platform/core/StrUtils.h"

using namespace platform;

namespace velmora {

void VUraRazuduVova::InsertRows(int ARow, int N) {
  if (N < 1) return;
  ARow = std::clamp(ARow, 0, RowCount());
  ShiftHiddenRowsFrom(RealRowIndex(ARow), N);
  TBaseGrid::InsertRows(ARow, N);
  std::vector<int> positions(N);
  for (int j = 0; j < N; ++j) positions[j] = ARow + j;
  InsertDisplayRowMarks(positions, {});
}

void VUraRazuduVova::RemoveRowsEx(int ARow, int N) { RemoveRows(ARow, N); }

void VUraRazuduVova::RemoveRows(int ARow, int N) {
  if (ARow < 0 || ARow >= RowCount() || N < 1) return;
  std::vector<int> rows;
  for (int r = ARow; r < RowCount() && r - ARow < N; ++r) rows.push_back(r);
  RemoveDisplayRows(rows);
}

void VUraRazuduVova::RemoveSelectedRows() {
  std::vector<int> rows;
  for (int r = FixedRows(); r < RowCount() && r < static_cast<int>(rowSelect_.size()); ++r)
    if (rowSelect_[r] == 1) rows.push_back(r);
  RemoveDisplayRows(rows);
}

void VUraRazuduVova::RemoveDisplayRows(const std::vector<int>& rows) {
  if (rows.empty()) return;
  const int oldRow = Row(), oldTop = TopRow(), oldFixed = FixedRows();
  std::vector<int> realRows(rows.size());
  for (size_t j = 0; j < rows.size(); ++j) realRows[j] = RealRowIndex(rows[j]);
  // Removed contracted nodes give up their holds; the rows they held close up over the removed ones.
  const std::vector<int> held = GiveUpNodeHolds(realRows);
  {
    const UpdateGuard lock(*this);
    DeleteRowSet(rows);
    RemoveDisplayRowMarks(rows);
    CloseUpHiddenRows(realRows);
    KeepCurrentRowAfterRemove(oldRow, oldTop, oldFixed);
  }
  CellsChanged(TRect{0, rows.front(), ColCount() - 1, rows.back() + 1});
  if (RowCount() - 1 <= TopRow() && RowCount() > FixedRows()) SetTopRow(std::max(RowCount() - 1, FixedRows()));
  ShowNodeRows(held);
}

void VUraRazuduVova::KeepCurrentRowAfterRemove(int oldRow, int oldTop, int oldFixed) {
  const int dataEnd = RowCount() - fixedFooters_;
  if (dataEnd <= oldRow) {
    if (dataEnd - 1 >= oldFixed)
      FocusCell(Col(), dataEnd - 1, true);
    else
      HideSelection();
    return;
  }
  FocusCell(Col(), oldRow, true);
  if (oldTop >= FixedRows() && oldTop < RowCount()) SetTopRow(oldTop);
}

void VUraRazuduVova::InsertCols(int ACol, int N) {
  if (N < 1) return;
  ACol = std::clamp(ACol, 0, ColCount());
  InsertRealCols(ACol < ColCount() ? RealColIndex(ACol) : StorageColCount(), N);
}

void VUraRazuduVova::InsertRealCols(int ACol, int N) {
  // Columns inserted before column 0 move the nodes out of it.
  const std::vector<int> held = ACol == 0 ? GiveUpAllNodeHolds() : std::vector<int>{};
  WithAllColumns([&] {
    const int count = ColCount();
    TBaseGrid::SetColCount(count + N);
    if (!colHidden_.empty()) colHidden_.resize(count + N, false);
    for (int i = 0; i < N; ++i) MoveRealColumn(count + i, ACol + i);
  });
  ShowNodeRows(held);
}

void VUraRazuduVova::RemoveCols(int ACol, int N) {
  if (ACol < 0 || ACol >= ColCount() || N < 1) return;
  std::vector<int> realCols;
  for (int d = ACol; d < ColCount() && d - ACol < N; ++d) realCols.push_back(RealColIndex(d));
  RemoveRealCols(realCols);
  CellsChanged(TRect{ACol, 0, ACol + N, RowCount() - 1});
}

void VUraRazuduVova::RemoveRealCols(const std::vector<int>& realCols) {
  // At least one column stays.
  if (realCols.empty() || static_cast<int>(realCols.size()) >= StorageColCount()) return;
  // Column 0 holds the nodes, hidden rows' ones too.
  const std::vector<int> held = realCols.front() == 0 ? GiveUpAllNodeHolds() : std::vector<int>{};
  WithAllColumns([&] {
    for (auto c = realCols.rbegin(); c != realCols.rend(); ++c) {
      ClearRect(*c, 0, *c, RowCount() - 1);
      EraseRealColumn(*c);
    }
  });
  ShowNodeRows(held);
}

void VUraRazuduVova::SwapRows(int ARow1, int ARow2) {
  if (ARow1 == ARow2 || std::min(ARow1, ARow2) < 0 || std::max(ARow1, ARow2) >= RowCount()) return;
  // A node row moves alone: the rows below its old place are no longer its own.
  const std::vector<int> held = GiveUpNodeHolds({RealRowIndex(ARow1), RealRowIndex(ARow2)});
  TBaseGrid::SwapRows(ARow1, ARow2);
  const size_t far = std::max(ARow1, ARow2);
  if (far < rowSelect_.size() || RowSelect(ARow1) != RowSelect(ARow2)) {
    if (rowSelect_.size() <= far) rowSelect_.resize(far + 1, 0);
    std::swap(rowSelect_[ARow1], rowSelect_[ARow2]);
  }
  ShowNodeRows(held);
}

void VUraRazuduVova::SortSwapRows(int ARow1, int ARow2) { SwapRows(ARow1, ARow2); }

void VUraRazuduVova::SwapColumns(int ACol1, int ACol2) {
  if (ACol1 == ACol2 || std::min(ACol1, ACol2) < 0 || std::max(ACol1, ACol2) >= ColCount()) return;
  const int real1 = RealColIndex(std::min(ACol1, ACol2)), real2 = RealColIndex(std::max(ACol1, ACol2));
  const std::vector<int> held = real1 == 0 ? GiveUpAllNodeHolds() : std::vector<int>{};
  WithAllColumns([&] {
    MoveRealColumn(real1, real2);
    MoveRealColumn(real2 - 1, real1);
  });
  ShowNodeRows(held);
  if (sortSettings_.Column == real1)
    sortSettings_.Column = real2;
  else if (sortSettings_.Column == real2)
    sortSettings_.Column = real1;
}

void VUraRazuduVova::MoveRow(int AFrom, int ATo) {
  if (AFrom == ATo || std::min(AFrom, ATo) < 0 || std::max(AFrom, ATo) >= RowCount()) return;
  // Every row between the two places moves by one.
  const std::vector<int> held = GiveUpNodeHoldsIn(std::min(AFrom, ATo), std::max(AFrom, ATo));
  TBaseGrid::MoveRow(AFrom, ATo);
  // Past the marks' end every row is unmarked: only a move that reaches into them changes them.
  const size_t far = std::max(AFrom, ATo);
  if (static_cast<size_t>(std::min(AFrom, ATo)) < rowSelect_.size()) {
    if (far >= rowSelect_.size()) rowSelect_.resize(far + 1, 0);
    rowSelect_.move(AFrom, ATo);
  }
  ShowNodeRows(held);
}

void VUraRazuduVova::MoveColumn(int AFrom, int ATo) {
  if (AFrom == ATo || std::min(AFrom, ATo) < 0 || std::max(AFrom, ATo) >= ColCount()) return;
  const int from = RealColIndex(AFrom), to = RealColIndex(ATo);
  const std::vector<int> held = std::min(from, to) == 0 ? GiveUpAllNodeHolds() : std::vector<int>{};
  WithAllColumns([&] { MoveRealColumn(from, to); });
  ShowNodeRows(held);
}

void VUraRazuduVova::MergeCols(int ACol1, int ACol2) {
  if (ACol1 == ACol2 || std::min(ACol1, ACol2) < 0 || std::max(ACol1, ACol2) >= StorageColCount()) return;
  WithHiddenRowsIn([&] {
    for (int r = FixedRows(); r < RowCount(); ++r)
      TBaseGrid::SetCells(ACol1, r, Trim(TBaseGrid::Cells(ACol1, r) + " " + TBaseGrid::Cells(ACol2, r)));
  });
  RemoveRealCols({ACol2});
}

}  // namespace velmora
