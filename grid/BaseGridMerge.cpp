#include <algorithm>
#include <unordered_set>

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
                        static_cast<int>(std::min<int64_t>(int64_t{ACol} + NX - 1, ColCount() - 1)),
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
  const bool rows = axis == TGridAxisKind::Rows;
  const int count = rows ? RowCount() : ColCount(), across = rows ? ColCount() : RowCount();
  auto first = [rows](const TGridRect& b) { return rows ? b.Top : b.Left; };
  auto last = [rows](const TGridRect& b) { return rows ? b.Bottom : b.Right; };
  // The item lands between `gap` and `gap` + 1 of the items as they stand now.
  const int gap = from < to ? to : to - 1;
  for (int i = 0; i < across; ++i) {
    const int fromCol = rows ? i : from, fromRow = rows ? from : i;
    SplitBlocksAt(fromCol, fromRow, [&](const TGridRect& b) { return last(b) > first(b); });
    if (gap < 0 || gap + 1 >= count) continue;
    const int gapCol = rows ? i : gap, gapRow = rows ? gap : i;
    SplitBlocksAt(gapCol, gapRow, [&](const TGridRect& b) { return first(b) <= gap && last(b) > gap; });
  }
}

void TBaseGrid::RenumberProperties(TGridAxisKind axis, int lo, int hi) {
  const bool rows = axis == TGridAxisKind::Rows;
  const TGridRect cells = rows ? TGridRect{0, lo, ColCount() - 1, hi} : TGridRect{lo, 0, hi, RowCount() - 1};
  for (int r = cells.Top; r <= cells.Bottom; ++r) {
    if (!RowHasObjects(r)) continue;
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
  // The cells still have the old size here; those outside the new one go with their property objects,
  // and a block that reaches past the new size keeps the part that stays.
  const int cols = ColCount(), rows = RowCount();
  auto forEachDropped = [&](auto&& visit) {
    for (int r = 0; r < OldRowCount; ++r)
      for (int c = r < rows ? cols : 0; c < OldColCount && RowHasObjects(r); ++c)
        if (TCellProperties* props = GetGridObject(c, r)) visit(c, r, props);
  };
  forEachDropped([&](int c, int r, TCellProperties*) {
    const auto block = MergedBlock(c, r, OldColCount, OldRowCount);
    if (!block || block->Left >= cols || block->Top >= rows) return;
    TCellProperties* base = GetGridObject(block->Left, block->Top);
    base->SpanX = std::min(block->Right, cols - 1) - block->Left;
    base->SpanY = std::min(block->Bottom, rows - 1) - block->Top;
  });
  std::unordered_set<TCellProperties*> dropped;
  forEachDropped([&](int, int, TCellProperties* props) { dropped.insert(props); });
  for (TCellProperties* props : dropped) delete props;
  TStringGrid::SizeChanged(OldColCount, OldRowCount);
}

}  // namespace velmora
