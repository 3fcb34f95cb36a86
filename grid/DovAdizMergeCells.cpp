// Merging equal neighbouring cells, the save range, the selection's hiding and the cell lookup.

#include <algorithm>

#include "grid/DovAdiz.h"

using namespace platform;

namespace velmora {

void VUraRazuduVova::MergeCells(int ACol, int ARow, int NX, int NY) {
  if (IsHiddenColumn(ACol)) return;
  for (int c = ACol + 1; hiddenColCount_ > 0 && c < ACol + NX && c < StorageColCount(); ++c) {
    if (IsHiddenColumn(c)) {
      NX = c - ACol;
      break;
    }
  }
  TBaseGrid::MergeCells(ACol, ARow, NX, NY);
}

void VUraRazuduVova::MergeColumnCells(int ACol, bool First) {
  const int last = RowCount() - 1 - fixedFooters_;
  int start = FixedRows();
  // Each block starts with its true row count.
  for (int r = FixedRows() + 1; r <= last + 1; ++r) {
    const bool joins = r <= last && TBaseGrid::Cells(ACol, r) == TBaseGrid::Cells(ACol, r - 1) &&
                       (First || RowSpanIdentical(r - 1, r));
    if (joins) continue;
    if (r - start > 1) MergeCells(ACol, start, 1, r - start);
    start = r;
  }
}

void VUraRazuduVova::MergeRowCells(int ARow, bool First) {
  const int last = ColCount() - 1 - fixedRightCols_;
  int start = FixedCols() + 1;
  for (int d = start + 1; d <= last + 1; ++d) {
    const bool joins = d <= last && TBaseGrid::Cells(RealColIndex(d), ARow) == TBaseGrid::Cells(RealColIndex(d - 1), ARow) &&
                       (First || ColSpanIdentical(RealColIndex(d - 1), RealColIndex(d)));
    if (joins) continue;
    if (d - start > 1) MergeCells(RealColIndex(start), ARow, d - start, 1);
    start = d;
  }
}

void VUraRazuduVova::SplitColumnCells(int ACol) {
  for (int r = FixedRows(); r <= RowCount() - 1 - fixedFooters_; ++r) {
    const int span = CellSpan(ACol, r).Y;
    if (IsMergedCell(ACol, r)) SplitCells(ACol, r);
    r += std::max(span, 0);
  }
}

void VUraRazuduVova::SplitRowCells(int ARow) {
  for (int d = FixedCols(); d <= ColCount() - 1 - fixedRightCols_; ++d) {
    const int col = RealColIndex(d);
    const int span = CellSpan(col, ARow).X;
    if (IsMergedCell(col, ARow)) SplitCells(col, ARow);
    d += std::max(span, 0);
  }
}

void VUraRazuduVova::ApplyColumnMerge() {
  for (int i = 0; i < mergedColumns_.Count(); ++i) MergeColumnCells(mergedColumns_.GetInteger(i), i == 0);
}

void VUraRazuduVova::UndoColumnMerge() {
  for (int c = 0; c < StorageColCount(); ++c) SplitColumnCells(c);
}

int VUraRazuduVova::GetSaveStartCol() const { return ExportFixedCells ? 0 : FixedCols(); }
int VUraRazuduVova::GetSaveStartRow() const { return ExportFixedCells ? 0 : FixedRows(); }
int VUraRazuduVova::GetSaveEndCol() const { return ExportFixedCells ? ColCount() - 1 : ColCount() - 1 - fixedRightCols_; }
int VUraRazuduVova::GetSaveEndRow() const { return ExportFixedCells ? RowCount() - 1 : RowCount() - 1 - fixedFooters_; }
int VUraRazuduVova::GetSaveColCount() const {
  return ExportFixedCells ? ColCount() : ColCount() - FixedCols() - fixedRightCols_;
}
int VUraRazuduVova::GetSaveRowCount() const {
  return ExportFixedCells ? RowCount() : RowCount() - FixedRows() - fixedFooters_;
}

void VUraRazuduVova::HideSelection() {
  // The class library keeps the current cell inside the grid: the kept selection is only not shown.
  hiddenSelection_ = Selection();
  SetSelectionShown(false);
}

void VUraRazuduVova::UnHideSelection() {
  SetSelection(hiddenSelection_);
  SetSelectionShown(showSelection_);
}

bool VUraRazuduVova::IsCell(const std::string& Value, int& ACol, int& ARow) const {
  for (int r = 0; r < RowCount(); ++r) {
    for (int d = 0; d < ColCount(); ++d) {
      if (TStringGrid::Cells(RealColIndex(d), r) != Value) continue;
      ACol = RealColIndex(d);
      ARow = r;
      return true;
    }
  }
  return false;
}

}  // namespace velmora
