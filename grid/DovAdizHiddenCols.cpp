// Hidden columns: the store keeps every real column; hiding and showing change only the displayed
// count, the widths shown and the column maps.

#include <algorithm>

#include "grid/DovAdiz.h"

using namespace platform;

namespace velmora {

void VUraRazuduVova::HideColumns(int AFrom, int ATo) {
  std::vector<int> cols;
  for (int c = std::max(AFrom, 0); c <= std::min(ATo, StorageColCount() - 1); ++c) cols.push_back(c);
  SetColumnsHidden(cols, true);
}

void VUraRazuduVova::UnHideColumns(int AFrom, int ATo) {
  std::vector<int> cols;
  for (int c = std::max(AFrom, 0); c <= std::min(ATo, StorageColCount() - 1); ++c) cols.push_back(c);
  SetColumnsHidden(cols, false);
}

void VUraRazuduVova::UnHideColumnsAll() { UnHideColumns(0, StorageColCount() - 1); }

void VUraRazuduVova::SetVisibleCol(int ACol, bool Visible) {
  if (Visible)
    UnHideColumn(ACol);
  else
    HideColumn(ACol);
}

int VUraRazuduVova::AllColWidths(int ACol) const {
  return IsHiddenColumn(ACol) ? colWidths_[ACol] : ColWidths(DisplColIndex(ACol));
}

void VUraRazuduVova::SetAllColWidths(int ACol, int Value) {
  if (IsHiddenColumn(ACol))
    colWidths_[ACol] = Value;
  else
    SetColWidths(DisplColIndex(ACol), Value);
}

void VUraRazuduVova::SetColumnsHidden(const std::vector<int>& realCols, bool hidden) {
  const int realCount = StorageColCount();
  std::vector<int> changing;
  int shown = ColCount();
  for (int c : realCols) {
    if (IsHiddenColumn(c) == hidden) continue;
    // At least one column stays on display.
    if (hidden && shown <= 1) break;
    changing.push_back(c);
    shown += hidden ? -1 : 1;
  }
  if (changing.empty()) return;
  // An open editor of any family writes its text back and hands the focus to the grid first.
  HideInplaceEdit();
  const int currentCol = GetRealCol();
  std::vector<int> widths(realCount);
  for (int c = 0; c < realCount; ++c) widths[c] = AllColWidths(c);
  if (colHidden_.empty()) colHidden_.assign(realCount, false);
  if (hidden) {
    // No block keeps a hidden column: those over one are split, in the hidden rows too.
    WithHiddenRowsIn([&] {
      for (int c : changing)
        for (int r = 0; r < RowCount(); ++r)
          if (CellSpan(c, r).X > 0) SplitCells(c, r);
    });
  }
  for (int c : changing) colHidden_[c] = hidden;
  SetStorageColCount(realCount);
  ApplyColumnVisibility(widths);
  FocusCell(std::clamp(DisplColIndex(currentCol), std::min(FixedCols(), ColCount() - 1), ColCount() - 1), Row(),
            true);
  Invalidate();
}

void VUraRazuduVova::ApplyColumnVisibility(const std::vector<int>& widths) {
  RebuildColumnMaps();
  const int realCount = StorageColCount();
  TBaseGrid::SetColCount(realCount - hiddenColCount_);
  if (hiddenColCount_ == 0) {
    SetStorageColCount(0);
    for (int c = 0; c < realCount; ++c) SetColWidths(c, widths[c]);
    return;
  }
  colWidths_.resize(realCount);
  for (int c = 0; c < realCount; ++c) {
    if (colHidden_[c])
      colWidths_[c] = widths[c];
    else
      SetColWidths(colDispl_[c], widths[c]);
  }
}

void VUraRazuduVova::WithAllColumns(const std::function<void()>& change) {
  // Every column on display for the time of the change, so display columns are real ones; the
  // visibility entries move with their columns (MoveRealColumn, EraseRealColumn keep them in step).
  const int currentCol = GetRealCol();
  const int realCount = StorageColCount();
  std::vector<int> widths(realCount);
  for (int c = 0; c < realCount; ++c) widths[c] = AllColWidths(c);
  std::vector<bool> hidden = colHidden_;
  hidden.resize(realCount, false);
  colHidden_.assign(realCount, false);
  ApplyColumnVisibility(widths);
  colHidden_ = std::move(hidden);
  WithHiddenRowsIn([&] {
    change();
    // No block keeps a column that stays hidden.
    colHidden_.resize(ColCount(), false);
    for (int c = 0; c < ColCount(); ++c)
      if (colHidden_[c])
        for (int r = 0; r < RowCount(); ++r)
          if (CellSpan(c, r).X > 0) SplitCells(c, r);
  });
  widths.assign(ColCount(), 0);
  for (int c = 0; c < ColCount(); ++c) widths[c] = ColWidths(c);
  if (std::find(colHidden_.begin(), colHidden_.end(), true) != colHidden_.end()) SetStorageColCount(ColCount());
  ApplyColumnVisibility(widths);
  if (currentCol < StorageColCount())
    FocusCell(std::clamp(DisplColIndex(currentCol), std::min(FixedCols(), ColCount() - 1), ColCount() - 1), Row(),
              true);
}

void VUraRazuduVova::MoveRealColumn(int AFrom, int ATo) {
  TBaseGrid::MoveColumn(AFrom, ATo);
  if (colHidden_.empty()) return;
  const bool moved = colHidden_[AFrom];
  colHidden_.erase(colHidden_.begin() + AFrom);
  colHidden_.insert(colHidden_.begin() + ATo, moved);
}

void VUraRazuduVova::EraseRealColumn(int ACol) {
  TBaseGrid::DeleteColumn(ACol);
  if (ACol < static_cast<int>(colHidden_.size())) colHidden_.erase(colHidden_.begin() + ACol);
}

}  // namespace velmora
