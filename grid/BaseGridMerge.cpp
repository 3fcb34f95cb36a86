#include <algorithm>

#include "grid/BaseGrid.h"

// Merged cells: the lookups, merging and splitting, and keeping the blocks whole when rows and columns
// move or the counts change.

using namespace platform;

namespace velmora {

std::optional<TGridRect> TBaseGrid::MergedBlock(int ACol, int ARow, int colCount, int rowCount) const {
  if (ACol < 0 || ARow < 0 || ACol >= colCount || ARow >= rowCount) return std::nullopt;
  const TCellProperties* props = GetGridObject(ACol, ARow);
  if (!props || props->SpanX < 0 || props->SpanY < 0) return std::nullopt;
  int baseCol = ACol, baseRow = ARow;
  if (!props->IsBase) {
    baseCol -= props->SpanX;
    baseRow -= props->SpanY;
    if (baseCol < 0 || baseRow < 0) return std::nullopt;
  }
  const TCellProperties* base = GetGridObject(baseCol, baseRow);
  if (!base || !base->IsBase || base->SpanX < 0 || base->SpanY < 0 || base->SpanX >= colCount - baseCol ||
      base->SpanY >= rowCount - baseRow)
    return std::nullopt;
  const TGridRect block{baseCol, baseRow, baseCol + base->SpanX, baseRow + base->SpanY};
  if (!block.Contains(ACol, ARow)) return std::nullopt;
  return block;
}

std::optional<TGridRect> TBaseGrid::DisplayBlock(int ADispCol, int ARow) const {
  const int col = RemapCol(ADispCol);
  auto block = MergedBlock(col, ARow);
  if (block) {
    block->Left += ADispCol - col;
    block->Right += ADispCol - col;
  }
  return block;
}

TGridRect TBaseGrid::BlockOf(int ACol, int ARow) const {
  return MergedBlock(ACol, ARow).value_or(TGridRect{ACol, ARow, ACol, ARow});
}

TPoint TBaseGrid::BaseCell(int ACol, int ARow) const {
  const TGridRect block = BlockOf(ACol, ARow);
  return {block.Left, block.Top};
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const {
  const TPoint base = BaseCell(ACol, ARow);
  return base.X == ACol && base.Y == ARow;
}

bool TBaseGrid::IsBaseCellEx(int ACol, int ARow, int& BaseCol, int& BaseRow) const {
  const TPoint base = BaseCell(ACol, ARow);
  BaseCol = base.X;
  BaseRow = base.Y;
  return base.X == ACol && base.Y == ARow;
}

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const {
  const TGridRect block = BlockOf(ACol, ARow);
  return {block.Right - block.Left, block.Bottom - block.Top};
}

TRect TBaseGrid::FullCell(int ACol, int ARow) const {
  const TGridRect block = BlockOf(ACol, ARow);
  return {block.Left, block.Top, block.Right, block.Bottom};
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const {
  bool found = false;
  for (int c = 0; c < ColCount(); ++c) {
    if (CellSpan(c, ARow1).Y <= 0 || CellSpan(c, ARow2).Y <= 0) continue;
    if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y) return false;
    found = true;
  }
  return found;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const {
  for (int r = 0; r < RowCount(); ++r) {
    const int span1 = CellSpan(ACol1, r).X, span2 = CellSpan(ACol2, r).X;
    if (span1 > 0 && span2 > 0) {
      if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X) return false;
    } else if (span1 != span2) {
      return false;
    }
  }
  return true;
}

int TBaseGrid::MinRowSpan(int ARow) const {
  int result = RowCount();
  for (int c = 0; c < ColCount(); ++c) {
    const int span = CellSpan(c, ARow).Y;
    if (span > 0 && span < result) result = span;
  }
  return result;
}

int TBaseGrid::MaxRowSpan(int ARow) const {
  int result = 0;
  for (int c = 0; c < ColCount(); ++c) result = std::max(result, CellSpan(c, ARow).Y);
  return result;
}

void TBaseGrid::MergeCells(int ACol, int ARow, int NX, int NY) {
  if (NX < 1 || NY < 1) return;
  const TGridRect block{std::max(ACol, 0), std::max(ARow, 0),
                        static_cast<int>(std::min<int64_t>(int64_t{ACol} + NX - 1, StoredColCount() - 1)),
                        static_cast<int>(std::min<int64_t>(int64_t{ARow} + NY - 1, RowCount() - 1))};
  if (block.Left > block.Right || block.Top > block.Bottom) return;
  for (int r = block.Top; r <= block.Bottom; ++r)
    for (int c = block.Left; c <= block.Right; ++c) SplitBlocksAt(c, r, [](const TGridRect&) { return true; });
  for (int r = block.Top; r <= block.Bottom; ++r) {
    for (int c = block.Left; c <= block.Right; ++c) {
      TCellProperties* props = GetCellProperties(c, r);
      props->IsBase = c == block.Left && r == block.Top;
      props->SpanX = props->IsBase ? block.Right - block.Left : c - block.Left;
      props->SpanY = props->IsBase ? block.Bottom - block.Top : r - block.Top;
    }
  }
  RepaintCell(block.Left, block.Top);
}

void TBaseGrid::SplitCells(int ACol, int ARow) {
  if (!GetCellProperties(ACol, ARow)) return;
  // A cell whose spans lead nowhere valid is only set right itself.
  ClearMerge(MergedBlock(ACol, ARow).value_or(TGridRect{ACol, ARow, ACol, ARow}));
}

void TBaseGrid::ClearMerge(const TGridRect& cells) {
  RepaintCell(cells.Left, cells.Top);
  for (int r = cells.Top; r <= cells.Bottom; ++r) {
    for (int c = cells.Left; c <= cells.Right; ++c) {
      if (TCellProperties* props = GetGridObject(c, r)) {
        props->IsBase = true;
        props->SpanX = -1;
        props->SpanY = -1;
      }
    }
  }
}

void TBaseGrid::SplitBlocksAt(int ACol, int ARow, const std::function<bool(const TGridRect&)>& broken) {
  const auto block = MergedBlock(ACol, ARow);
  if (block && broken(*block)) ClearMerge(*block);
}

void TBaseGrid::SplitBlocksTornByMove(TGridAxisKind axis, int from, int to) {
  // Through the store's whole width: a moved row takes the cells of the columns past the count shown
  // with it, and a block may reach into those columns.
  const bool rows = axis == TGridAxisKind::Rows;
  const int width = StoredColCount();
  const int count = rows ? RowCount() : width, across = rows ? width : RowCount();
  auto first = [rows](const TGridRect& b) { return rows ? b.Top : b.Left; };
  auto last = [rows](const TGridRect& b) { return rows ? b.Bottom : b.Right; };
  auto splitAt = [&](int col, int row, auto&& broken) {
    const auto block = MergedBlock(col, row, width, RowCount());
    if (block && broken(*block)) ClearMerge(*block);
  };
  // The item lands between `gap` and `gap` + 1 of the items as they stand now.
  const int gap = from < to ? to : to - 1;
  for (int i = 0; i < across; ++i) {
    const int fromCol = rows ? i : from, fromRow = rows ? from : i;
    splitAt(fromCol, fromRow, [&](const TGridRect& b) { return last(b) > first(b); });
    if (gap < 0 || gap + 1 >= count) continue;
    const int gapCol = rows ? i : gap, gapRow = rows ? gap : i;
    splitAt(gapCol, gapRow, [&](const TGridRect& b) { return first(b) <= gap && last(b) > gap; });
  }
}

void TBaseGrid::RenumberProperties(TGridAxisKind axis, int lo, int hi) {
  const bool rows = axis == TGridAxisKind::Rows;
  const TGridRect cells = rows ? TGridRect{0, lo, StoredColCount() - 1, hi} : TGridRect{lo, 0, hi, RowCount() - 1};
  for (int r : RowsWithObjects(cells.Top, cells.Bottom)) {
    for (int c = cells.Left; c <= cells.Right; ++c) {
      if (TCellProperties* props = GetGridObject(c, r)) {
        props->Col = c;
        props->Row = r;
      }
    }
  }
}

void TBaseGrid::ColumnMoved(int FromIndex, int ToIndex) {
  SplitBlocksTornByMove(TGridAxisKind::Columns, FromIndex, ToIndex);
  TStringGrid::ColumnMoved(FromIndex, ToIndex);
  RenumberProperties(TGridAxisKind::Columns, std::min(FromIndex, ToIndex), std::max(FromIndex, ToIndex));
}

void TBaseGrid::RowMoved(int FromIndex, int ToIndex) {
  SplitBlocksTornByMove(TGridAxisKind::Rows, FromIndex, ToIndex);
  TStringGrid::RowMoved(FromIndex, ToIndex);
  RenumberProperties(TGridAxisKind::Rows, std::min(FromIndex, ToIndex), std::max(FromIndex, ToIndex));
}

void TBaseGrid::SizeChanged(int OldColCount, int OldRowCount) {
  // The cells still have the old size here (the store's width, which may be more than the columns
  // shown); those outside the new one go with their property objects, and a block that reaches past
  // the new size keeps the part that stays.
  const int oldWidth = StoredColCount(), width = StorageColCount(), rows = RowCount();
  const TGridRect right{width, 0, oldWidth - 1, std::min(rows, OldRowCount) - 1};
  const TGridRect below{0, rows, oldWidth - 1, OldRowCount - 1};
  for (const TGridRect& dropped : {right, below}) {
    for (int r : RowsWithObjects(dropped.Top, dropped.Bottom)) {
      for (int c = dropped.Left; c <= dropped.Right; ++c) {
        const auto block = MergedBlock(c, r, oldWidth, OldRowCount);
        if (!block || block->Left >= width || block->Top >= rows) continue;
        TCellProperties* base = GetGridObject(block->Left, block->Top);
        base->SpanX = std::min(block->Right, width - 1) - block->Left;
        base->SpanY = std::min(block->Bottom, rows - 1) - block->Top;
      }
    }
  }
  FreeProperties(right);
  FreeProperties(below);
  TStringGrid::SizeChanged(OldColCount, OldRowCount);
}

void TBaseGrid::SplitBlocksAcross(int ARow, int rowCount, const std::function<bool(const TGridRect&)>& torn) {
  // A row without objects lies in no block.
  if (ARow < 0 || ARow >= rowCount || !RowHasObjects(ARow)) return;
  const int width = StoredColCount();
  for (int c = 0; c < width; ++c) {
    const auto block = MergedBlock(c, ARow, width, rowCount);
    if (block && torn(*block)) ClearMerge(*block);
  }
}

void TBaseGrid::RowsInserted(int At, int Count) {
  // The grid has its new row count, the cells still their old rows. A block across the place of the
  // new rows would be torn apart by them.
  const int oldRows = RowCount() - Count;
  SplitBlocksAcross(At, oldRows, [At](const TGridRect& b) { return b.Top < At; });
  TStringGrid::RowsInserted(At, Count);
  RenumberProperties(TGridAxisKind::Rows, At, RowCount() - 1);
}

void TBaseGrid::RowsDeleted(int At, int Count) {
  // A block that reaches out of the deleted rows loses a part: what stays of it is split. A row taken
  // out whole keeps its own blocks and its property objects, for when it is put back.
  const int oldRows = RowCount() + Count, last = At + Count - 1;
  SplitBlocksAcross(At, oldRows, [At](const TGridRect& b) { return b.Top < At; });
  SplitBlocksAcross(last, oldRows, [last](const TGridRect& b) { return b.Bottom > last; });
  if (!MovingRowWhole()) FreeProperties({0, At, StoredColCount() - 1, last});
  TStringGrid::RowsDeleted(At, Count);
  RenumberProperties(TGridAxisKind::Rows, At, RowCount() - 1);
}

void TBaseGrid::RowSetDeleted(const std::vector<int>& Rows) {
  // Every block over several rows that a deleted row belongs to is split: what stays of it would have a
  // hole, and a row taken out whole goes with its own one-row blocks only, to be put back on its own.
  const int oldRows = RowCount() + static_cast<int>(Rows.size());
  for (int row : Rows) SplitBlocksAcross(row, oldRows, [](const TGridRect& b) { return b.Bottom > b.Top; });
  if (!MovingRowWhole()) FreeRowProperties(Rows);
  TStringGrid::RowSetDeleted(Rows);
  if (!Rows.empty()) RenumberProperties(TGridAxisKind::Rows, Rows.front(), RowCount() - 1);
}

void TBaseGrid::RowSetInserted(const std::vector<int>& Positions) {
  // The grid has its new row count, the cells still their old rows. The j-th new row goes before old row
  // Positions[j] - j, and would tear a block across that place.
  const int oldRows = RowCount() - static_cast<int>(Positions.size());
  for (size_t j = 0; j < Positions.size(); ++j) {
    const int before = Positions[j] - static_cast<int>(j);
    if (j == 0 || before != Positions[j - 1] - static_cast<int>(j - 1))
      SplitBlocksAcross(before, oldRows, [before](const TGridRect& b) { return b.Top < before; });
  }
  TStringGrid::RowSetInserted(Positions);
  if (!Positions.empty()) RenumberProperties(TGridAxisKind::Rows, Positions.front(), RowCount() - 1);
}

void TBaseGrid::RowsSwapped(int ARow1, int ARow2) {
  // Blocks within one row go with it; a block over several rows would be torn apart.
  for (int row : {ARow1, ARow2})
    SplitBlocksAcross(row, RowCount(), [](const TGridRect& b) { return b.Bottom > b.Top; });
  TStringGrid::RowsSwapped(ARow1, ARow2);
  RenumberProperties(TGridAxisKind::Rows, ARow1, ARow1);
  RenumberProperties(TGridAxisKind::Rows, ARow2, ARow2);
}

void TBaseGrid::RowsPermuted(int First, const std::vector<int>& Order) {
  // As with a swap, for every row that moves (only rows with objects lie in blocks).
  const int last = First + static_cast<int>(Order.size()) - 1;
  for (int row : RowsWithObjects(First, last))
    if (Order[row - First] != row)
      SplitBlocksAcross(row, RowCount(), [](const TGridRect& b) { return b.Bottom > b.Top; });
  TStringGrid::RowsPermuted(First, Order);
  RenumberProperties(TGridAxisKind::Rows, First, last);
}

}  // namespace velmora
