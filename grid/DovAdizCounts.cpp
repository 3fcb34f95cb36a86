// The grid's counts with their fixed parts, fixed sizes, appended rows and columns, and zoom.

#include <algorithm>

#include "grid/DovAdiz.h"

namespace velmora {

void VUraRazuduVova::SetRowCountEx(int N) {
  TBaseGrid::SetRowCount(N);
  // At least one fixed row: a grid that already has more keeps them.
  if (FixedRowAlways && TBaseGrid::RowCount() > 1 && TBaseGrid::FixedRows() == 0) TBaseGrid::SetFixedRows(1);
  DisplRowLimit = N;
  // Rows that go lose their marks: rows added later start unmarked.
  if (static_cast<int>(rowSelect_.size()) > TBaseGrid::RowCount()) rowSelect_.resize(TBaseGrid::RowCount());
}

void VUraRazuduVova::SetColCountEx(int N) {
  TBaseGrid::SetColCount(N);
  if (FixedColAlways && TBaseGrid::ColCount() > 1 && TBaseGrid::FixedCols() == 0) TBaseGrid::SetFixedCols(1);
  // Settings that depend on the width recompute.
  SetBounds(Left(), Top(), Width(), Height());
}

void VUraRazuduVova::SetFixedColWidth(int W) {
  for (int c = 0; c < GetFixedColsEx(); ++c) SetColWidths(c, W);
}

void VUraRazuduVova::SetFixedRowHeight(int H) {
  for (int r = 0; r < GetFixedRowsEx(); ++r) SetRowHeights(r, H);
}

void VUraRazuduVova::SetDefRowHeightEx(int Value) {
  TBaseGrid::SetDefaultRowHeight(Value);
  // FIXME: a visible footer's panel takes the new height too, once the grid has its footer panel.
  FloatingFooter().SetHeight(Value);
}

void VUraRazuduVova::SetFixedFooters(int Value) {
  fixedFooters_ = Value;
  Invalidate();
}

void VUraRazuduVova::SetFixedRightCols(int Value) {
  fixedRightCols_ = Value;
  Invalidate();
}

void VUraRazuduVova::AddRow() {
  // Footer rows stay the last rows.
  InsertRows(std::clamp(RowCount() - fixedFooters_, 0, RowCount()), 1);
}

void VUraRazuduVova::AddColumn() { InsertCols(ColCount(), 1); }

void VUraRazuduVova::InsertRows(int ARow, int N) {
  if (ARow < 0 || ARow > RowCount() || N <= 0) return;
  TBaseGrid::InsertRows(ARow, N);
  // The limit of the display text and the row marks move with the rows after them.
  if (ARow <= DisplRowLimit) DisplRowLimit += N;
  if (ARow < static_cast<int>(rowSelect_.size())) rowSelect_.insert(rowSelect_.begin() + ARow, N, 0);
}

void VUraRazuduVova::InsertCols(int ACol, int N) {
  if (ACol < 0 || ACol > ColCount() || N <= 0) return;
  const int count = ColCount();
  SetColCount(count + N);
  for (int i = 0; i < N; ++i) MoveColumn(count + i, ACol + i);
}

void VUraRazuduVova::Zoom(int N) {
  const int level = zoomLevel_ + N;
  if (level < -10 || level > 10) return;
  zoomLevel_ = level;
  for (int c = 0; c < ColCount(); ++c)
    if (ColWidths(c) + N > 0) SetColWidths(c, ColWidths(c) + N);
  for (int r = 0; r < RowCount(); ++r)
    if (RowHeights(r) + N > 0) SetRowHeights(r, RowHeights(r) + N);
}

int VUraRazuduVova::GetPrintColWidth(int ACol) const {
  return ACol >= 0 && ACol < static_cast<int>(printColWidths_.size()) ? printColWidths_[ACol] : -1;
}

int VUraRazuduVova::GetPrintColOffset(int ACol) const {
  return ACol >= 0 && ACol < static_cast<int>(printColOffsets_.size()) ? printColOffsets_[ACol] : -1;
}

}  // namespace velmora
