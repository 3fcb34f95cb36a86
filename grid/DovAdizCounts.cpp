// The grid's counts with their fixed parts, fixed sizes, appended rows and columns, and zoom.

#include <algorithm>

#include "grid/DovAdiz.h"

namespace velmora {

void VUraRazuduVova::SetRowCountEx(int N) {
  // Hidden rows after the last row that stays go with the rows.
  if (N < RowCount()) FreeHiddenRowsFrom(N > 0 ? RealRowIndex(N - 1) + 1 : 0);
  TBaseGrid::SetRowCount(N);
  // At least one fixed row: a grid that already has more keeps them.
  if (FixedRowAlways && TBaseGrid::RowCount() > 1 && TBaseGrid::FixedRows() == 0) TBaseGrid::SetFixedRows(1);
  DisplRowLimit = N;
  // Rows that go lose their marks: rows added later start unmarked.
  if (static_cast<int>(rowSelect_.size()) > TBaseGrid::RowCount()) rowSelect_.resize(TBaseGrid::RowCount());
  UpdateFooter();
}

void VUraRazuduVova::SetColCountEx(int N) {
  // With hidden columns, display columns come or go at the end; the hidden ones stay.
  if (hiddenColCount_ > 0 && N > ColCount())
    InsertCols(ColCount(), N - ColCount());
  else if (hiddenColCount_ > 0 && N < ColCount())
    RemoveCols(std::max(N, 1), ColCount() - std::max(N, 1));
  else
    TBaseGrid::SetColCount(N);
  if (FixedColAlways && TBaseGrid::ColCount() > 1 && TBaseGrid::FixedCols() == 0) TBaseGrid::SetFixedCols(1);
  // Settings that depend on the width recompute.
  SetBounds(Left(), Top(), Width(), Height());
  UpdateFooter();
}

void VUraRazuduVova::SetFixedColWidth(int W) {
  for (int c = 0; c < GetFixedColsEx(); ++c) SetColWidths(c, W);
}

void VUraRazuduVova::SetFixedRowHeight(int H) {
  for (int r = 0; r < GetFixedRowsEx(); ++r) SetRowHeights(r, H);
}

void VUraRazuduVova::SetDefRowHeightEx(int Value) {
  TBaseGrid::SetDefaultRowHeight(Value);
  FloatingFooter().SetHeight(Value);  // a visible footer's panel takes it too
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
