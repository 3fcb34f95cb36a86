// Clearing cells: texts emptied and property objects freed, the hidden rows' too where every cell goes.

#include <algorithm>

#include "grid/DovAdiz.h"

using namespace platform;

namespace velmora {

void VUraRazuduVova::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  const int left = std::max(ACol1, 0), top = std::max(ARow1, 0);
  const int right = std::min(ACol2, StorageColCount() - 1), bottom = std::min(ARow2, RowCount() - 1);
  const std::vector<int> held = left == 0 && right >= 0 ? GiveUpNodeHoldsIn(top, bottom) : std::vector<int>{};
  for (int r = top; r <= bottom; ++r) {
    if (RowHasObjects(r)) {
      // A block that reaches out of the rectangle keeps no cleared cell.
      for (int c = left; c <= right; ++c)
        if (CellSpan(c, r) != TPoint{0, 0}) SplitCells(c, r);
      for (int c = left; c <= right; ++c)
        if (HasCellProperties(c, r)) SetCellProperties(c, r, nullptr);
    }
    for (int c = left; c <= right; ++c)
      if (!TStringGrid::Cells(c, r).empty()) TStringGrid::SetCells(c, r, "");
  }
  CellsChanged(TRect{ACol1, ARow1, ACol2, ARow2});
  ShowNodeRows(held);
}

void VUraRazuduVova::ClearRows(int ARow, int N) {
  if (RowCount() == 0 || ColCount() == 0 || N < 1) return;
  ClearRect(0, ARow, StorageColCount() - 1, ARow + N - 1);
}

void VUraRazuduVova::ClearCols(int ACol, int N) {
  if (RowCount() == 0 || ColCount() == 0 || N < 1) return;
  ClearRect(ACol, 0, ACol + N - 1, RowCount() - 1);
}

void VUraRazuduVova::ClearNormalCells() {
  ClearRect(RealColIndex(FixedCols()), FixedRows(), RealColIndex(ColCount() - 1 - fixedRightCols_),
            RowCount() - 1 - fixedFooters_);
}

void VUraRazuduVova::ClearSelection() {
  // From the last row up and with the nodes' holds given up first: rows that a cleared node shows come
  // after it and shift no row still to clear.
  if (MouseActions().DisjunctRowSelect) {
    for (int r = std::min(RowCount(), static_cast<int>(rowSelect_.size())) - 1; r >= FixedRows(); --r)
      if (rowSelect_[r] == 1) ClearRows(r, 1);
    return;
  }
  const TGridRect sel = Selection();
  const std::vector<int> held = sel.Left == 0 && RealColIndex(0) == 0 ? GiveUpNodeHoldsIn(sel.Top, sel.Bottom)
                                                                      : std::vector<int>{};
  for (int c = sel.Left; c <= sel.Right; ++c) ClearRect(RealColIndex(c), sel.Top, RealColIndex(c), sel.Bottom);
  ShowNodeRows(held);
}

void VUraRazuduVova::Clear() {
  const std::vector<int> held = GiveUpAllNodeHolds();
  for (TGridItem& item : hiddenRows_) {
    FreeItemProperties(item);
    item.Row.Cells.reset();
  }
  ClearRect(0, 0, StorageColCount() - 1, RowCount() - 1);
  ShowNodeRows(held);
}

}  // namespace velmora
