#include "grid/tests/GridModel.h"

#include <algorithm>
#include <climits>

namespace velmora::testing {

namespace {

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

GridModel::GridModel(int cols, int rows, int fixedRows) : colHidden_(cols, false), fixedRows_(fixedRows) {
  rows_.assign(rows, EmptyRow());
}

GridModel::Row GridModel::EmptyRow() const {
  Row row;
  row.cells.resize(RealColCount());
  return row;
}

int GridModel::RowCount() const {
  return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return !r.hidden; }));
}

int GridModel::ColCount() const { return static_cast<int>(std::count(colHidden_.begin(), colHidden_.end(), false)); }

int GridModel::RealRowIndex(int displ) const {
  for (int r = 0, seen = 0; r < RealRowCount(); ++r)
    if (!rows_[r].hidden && seen++ == displ) return r;
  return displ + NumHiddenRows();
}

int GridModel::RealColIndex(int displ) const {
  for (int c = 0, seen = 0; c < RealColCount(); ++c)
    if (!colHidden_[c] && seen++ == displ) return c;
  return displ + NumHiddenColumns();
}

int GridModel::DisplRowIndex(int real) const {
  int hidden = 0;
  for (int r = 0; r < std::min(real, RealRowCount()); ++r) hidden += rows_[r].hidden;
  return real - hidden;
}

int GridModel::DisplColIndex(int real) const {
  // Counted once per change of the columns: the checks ask for every cell.
  if (displCols_.size() != colHidden_.size() + 1) {
    displCols_.assign(1, 0);
    for (bool hidden : colHidden_) displCols_.push_back(displCols_.back() + !hidden);
  }
  if (real < 0) return real;
  return real < RealColCount() ? displCols_[real] : real - NumHiddenColumns();
}

void GridModel::ColumnsChanged() { displCols_.clear(); }

std::vector<int> GridModel::ShownRealRows() const {
  std::vector<int> shown;
  for (int r = 0; r < RealRowCount(); ++r)
    if (!rows_[r].hidden) shown.push_back(r);
  return shown;
}

bool GridModel::BlockOf(int col, int real, const std::vector<Block>& blocks, Block& block) const {
  const int id = rows_[real].cells[col].block;
  if (id == 0) return false;
  if (!rows_[real].hidden) {
    block = blocks[id];
    return true;
  }
  // A hidden row keeps only blocks within itself.
  block = {INT_MAX, DisplRowIndex(real), -1, DisplRowIndex(real)};
  for (int c = 0; c < RealColCount(); ++c) {
    if (rows_[real].cells[c].block != id) continue;
    block.left = std::min(block.left, c);
    block.right = std::max(block.right, c);
  }
  return true;
}

std::string GridModel::ShownText(int col, int real, const std::vector<Block>& blocks) const {
  Block block;
  if (!BlockOf(col, real, blocks, block)) return rows_[real].cells[col].text;
  const int baseRow = rows_[real].hidden ? real : RealRowIndex(block.top);
  return rows_[baseRow].cells[block.left].text;
}

int GridModel::NewProps(Cell& cell) {
  if (cell.props == 0) cell.props = nextProps_++;
  return cell.props;
}

void GridModel::SetText(int col, int displ, const std::string& text) {
  Block block;
  const int real = RealRowIndex(displ);
  if (BlockOf(col, real, Blocks(), block))
    CellAt(block.left, block.top).text = text;
  else
    rows_[real].cells[col].text = text;
}

void GridModel::SetObject(int col, int displ, int object) {
  Cell& cell = CellAt(col, displ);
  NewProps(cell);
  cell.object = object;
}

void GridModel::SetColor(int col, int displ, platform::TColor color) {
  Cell& cell = CellAt(col, displ);
  NewProps(cell);
  cell.color = color;
}

void GridModel::SetMark(int displ, bool mark) { rows_[RealRowIndex(displ)].mark = mark; }

void GridModel::MergeCells(int col, int displ, int nx, int ny) {
  if (nx < 1 || ny < 1 || IsHiddenColumn(col)) return;
  // A block ends before the first hidden column of its range.
  for (int c = col + 1; c < col + nx && c < RealColCount(); ++c)
    if (IsHiddenColumn(c)) nx = c - col;
  const Block area{std::max(col, 0), std::max(displ, 0), std::min(col + nx - 1, RealColCount() - 1),
                   std::min(displ + ny - 1, RowCount() - 1)};
  if (area.left > area.right || area.top > area.bottom) return;
  SplitBlocks([&](const Block& b) {
    return b.left <= area.right && b.right >= area.left && b.top <= area.bottom && b.bottom >= area.top;
  });
  const int id = static_cast<int>(blockSize_.size());
  blockSize_.push_back((area.right - area.left + 1) * (area.bottom - area.top + 1));
  for (int r = area.top; r <= area.bottom; ++r) {
    for (int c = area.left; c <= area.right; ++c) {
      Cell& cell = CellAt(c, r);
      NewProps(cell);
      cell.block = id;
    }
  }
}

std::vector<GridModel::Block> GridModel::Blocks() const {
  std::vector<Block> blocks(blockSize_.size(), Block{INT_MAX, INT_MAX, -1, INT_MIN});
  for (int r = 0, d = 0; r < RealRowCount(); d += !rows_[r].hidden, ++r) {
    // A hidden row's blocks stand in a row of their own, below every display row.
    const int row = rows_[r].hidden ? -1 - r : d;
    for (int c = 0; c < RealColCount(); ++c) {
      const int id = rows_[r].cells[c].block;
      if (id == 0) continue;
      Block& b = blocks[id];
      b = {std::min(b.left, c), std::min(b.top, row), std::max(b.right, c), std::max(b.bottom, row)};
    }
  }
  return blocks;
}

template <class Pred>
void GridModel::SplitBlocks(Pred torn) {
  const std::vector<Block> blocks = Blocks();
  for (int id = 1; id < static_cast<int>(blocks.size()); ++id)
    if (blocks[id].right >= 0 && torn(blocks[id])) SplitBlock(id);
}

void GridModel::SplitBlock(int id) {
  for (Row& row : rows_)
    for (Cell& cell : row.cells)
      if (cell.block == id) cell.block = 0;
}

void GridModel::SettleBlocks() {
  // Per block: its cells counted, with the rectangle they span among the shown cells, or within the one
  // hidden row that holds them.
  struct Extent {
    int cells = 0, left = INT_MAX, right = -1, top = INT_MAX, bottom = INT_MIN;
    bool hiddenCell = false, outsideRow = false;
    int hiddenRow = -1;
  };
  std::vector<Extent> extents(blockSize_.size());
  for (int r = 0, d = 0; r < RealRowCount(); d += !rows_[r].hidden, ++r) {
    for (int c = 0; c < RealColCount(); ++c) {
      const int id = rows_[r].cells[c].block;
      if (id == 0) continue;
      Extent& e = extents[id];
      ++e.cells;
      e.hiddenCell |= colHidden_[c];
      const int rowKey = rows_[r].hidden ? -1 - r : d;
      if (rows_[r].hidden) {
        if (e.cells > 1 && e.hiddenRow != r) e.outsideRow = true;
        e.hiddenRow = r;
      } else if (e.hiddenRow >= 0) {
        e.outsideRow = true;
      }
      e.left = std::min(e.left, c);
      e.right = std::max(e.right, c);
      e.top = std::min(e.top, rowKey);
      e.bottom = std::max(e.bottom, rowKey);
    }
  }
  for (int id = 1; id < static_cast<int>(extents.size()); ++id) {
    const Extent& e = extents[id];
    if (e.cells == 0) continue;
    const int area = (e.right - e.left + 1) * (e.bottom - e.top + 1);
    if ((e.hiddenCell && e.right > e.left) || e.outsideRow || e.cells != blockSize_[id] || area != e.cells) SplitBlock(id);
  }
}

void GridModel::HideRows(int from, int to) {
  std::vector<int> rows;
  for (int r = std::max(from, 0); r <= std::min(to, RealRowCount() - 1); ++r) rows.push_back(r);
  Hold(rows, HideCause::User);
}

void GridModel::Hold(const std::vector<int>& real, HideCause cause, int hold) {
  std::vector<int> hide;
  for (int r : real) {
    Row& row = rows_[r];
    if (!row.hidden) hide.push_back(r);
    if (cause == HideCause::User) row.byUser = true;
    if (cause == HideCause::Filter) row.byFilter = true;
    if (cause == HideCause::Node) row.byNodes.push_back(hold);
  }
  // A row leaves whole: a block over several rows that it belongs to is split.
  for (int r : hide) {
    const int d = DisplRowIndex(r);
    SplitBlocks([d](const Block& b) { return b.top < b.bottom && b.top <= d && d <= b.bottom; });
  }
  for (int r : hide) rows_[r].hidden = true;
  SettleBlocks();
}

void GridModel::Release(const std::vector<int>& real, std::optional<HideCause> cause) {
  for (int r : real) {
    Row& row = rows_[r];
    if (!cause || cause == HideCause::User) row.byUser = false;
    if (!cause || cause == HideCause::Filter) row.byFilter = false;
    if (!cause) row.byNodes.clear();
    row.hidden = row.byUser || row.byFilter || !row.byNodes.empty();
  }
  SettleBlocks();
}

void GridModel::ReleaseHolds(const std::vector<int>& holds) {
  std::vector<int> shown;
  for (int r = 0; r < RealRowCount(); ++r) {
    Row& row = rows_[r];
    const bool held = std::erase_if(row.byNodes, [&](int hold) {
                        return std::find(holds.begin(), holds.end(), hold) != holds.end();
                      }) > 0;
    if (held && row.hidden && !(row.byUser || row.byFilter || !row.byNodes.empty())) {
      row.hidden = false;
      shown.push_back(r);
    }
  }
  SettleBlocks();
  if (!filterActive_) return;
  const std::vector<Block> blocks = Blocks();
  std::vector<int> refused;
  for (int r : shown)
    if (!PassesFilter(r, blocks)) refused.push_back(r);
  Hold(refused, HideCause::Filter);
}

// A condition on a column that has gone since the filter went on reads an empty cell, as the grid's
// cells outside its columns do.
bool GridModel::PassesFilter(int real, const std::vector<Block>& blocks) const {
  return std::all_of(conditions_.begin(), conditions_.end(), [&](const auto& condition) {
    const bool inside = condition.first >= 0 && condition.first < RealColCount();
    return (inside ? ShownText(condition.first, real, blocks) : std::string()).rfind(condition.second, 0) == 0;
  });
}

std::vector<int> GridModel::GiveUpHolds(const std::vector<int>& nodes) {
  std::vector<int> holds;
  for (int node : nodes) {
    if (!IsNode(node) || !rows_[node].cells[0].contracted) continue;
    Cell& cell = rows_[node].cells[0];
    holds.push_back(cell.hold);
    cell.contracted = false;
    cell.hold = 0;
  }
  return holds;
}

std::vector<int> GridModel::GiveUpHoldsShown(int from, int to) {
  std::vector<int> nodes;
  for (int d = std::max(from, 0); d <= std::min(to, RowCount() - 1); ++d) nodes.push_back(RealRowIndex(d));
  return GiveUpHolds(nodes);
}

std::vector<int> GridModel::GiveUpAllHolds() {
  std::vector<int> nodes(RealRowCount());
  for (int r = 0; r < RealRowCount(); ++r) nodes[r] = r;
  return GiveUpHolds(nodes);
}

void GridModel::UnHideRows(int from, int to) {
  std::vector<int> rows;
  for (int r = std::max(from, 0); r <= std::min(to, RealRowCount() - 1); ++r) rows.push_back(r);
  Release(rows, std::nullopt);
}

void GridModel::UnHideRowsAll() { UnHideRows(0, RealRowCount() - 1); }

void GridModel::HideSelectedRows() {
  for (int d = fixedRows_; d < RowCount();) {
    const int real = RealRowIndex(d);
    if (rows_[real].mark)
      HideRows(real, real);
    else
      ++d;
  }
}

void GridModel::InsertRows(int displ, int n) {
  if (n < 1) return;
  const int at = RealRowIndex(std::clamp(displ, 0, RowCount()));
  rows_.insert(rows_.begin() + at, n, EmptyRow());
  SettleBlocks();
}

void GridModel::RemoveRealRows(const std::vector<int>& real) {
  const std::vector<int> held = GiveUpHolds(real);
  for (auto r = real.rbegin(); r != real.rend(); ++r) rows_.erase(rows_.begin() + *r);
  SettleBlocks();
  ReleaseHolds(held);
}

void GridModel::RemoveRows(int displ, int n) {
  if (displ < 0 || displ >= RowCount() || n < 1) return;
  std::vector<int> gone;
  for (int d = displ; d < std::min(displ + n, RowCount()); ++d) gone.push_back(RealRowIndex(d));
  RemoveRealRows(gone);
}

void GridModel::RemoveSelectedRows() {
  std::vector<int> gone;
  for (int d = fixedRows_; d < RowCount(); ++d)
    if (rows_[RealRowIndex(d)].mark) gone.push_back(RealRowIndex(d));
  RemoveRealRows(gone);
}

void GridModel::SetRowCount(int n) {
  const int count = RowCount();
  if (n > count) {
    rows_.insert(rows_.end(), n - count, EmptyRow());
    return;
  }
  if (n == count) return;
  // The rows past the new end go, hidden ones after the last row kept included; a block reaching past
  // the end keeps the part that stays.
  const std::vector<Block> blocks = Blocks();
  for (int id = 1; id < static_cast<int>(blocks.size()); ++id) {
    const Block& b = blocks[id];
    if (b.right >= 0 && b.top < n && b.bottom >= n) blockSize_[id] = (b.right - b.left + 1) * (n - b.top);
  }
  rows_.resize(n == 0 ? 0 : RealRowIndex(n - 1) + 1);
  SettleBlocks();
}

void GridModel::SwapRows(int displ1, int displ2) {
  if (displ1 == displ2) return;
  const std::vector<int> held = GiveUpHolds({RealRowIndex(displ1), RealRowIndex(displ2)});
  SplitBlocks([&](const Block& b) {
    return b.top < b.bottom && ((b.top <= displ1 && displ1 <= b.bottom) || (b.top <= displ2 && displ2 <= b.bottom));
  });
  std::swap(rows_[RealRowIndex(displ1)], rows_[RealRowIndex(displ2)]);
  SettleBlocks();
  ReleaseHolds(held);
}

void GridModel::MoveRow(int from, int to) {
  if (from == to) return;
  const std::vector<int> held = GiveUpHoldsShown(std::min(from, to), std::max(from, to));
  SplitBlocks([from](const Block& b) { return b.top < b.bottom && b.top <= from && from <= b.bottom; });
  // The shown rows move among the places of shown rows; hidden rows keep their real index.
  const std::vector<int> slots = ShownRealRows();
  std::vector<Row> shown;
  for (int r : slots) shown.push_back(std::move(rows_[r]));
  Row moved = std::move(shown[from]);
  shown.erase(shown.begin() + from);
  shown.insert(shown.begin() + to, std::move(moved));
  for (size_t i = 0; i < slots.size(); ++i) rows_[slots[i]] = std::move(shown[i]);
  SettleBlocks();
  ReleaseHolds(held);
}

void GridModel::HideColumns(int from, int to) {
  for (int c = std::max(from, 0); c <= std::min(to, RealColCount() - 1) && ColCount() >= 2; ++c) {
    if (colHidden_[c]) continue;
    // No block over several columns holds a hidden column, in shown and hidden rows alike.
    for (int r = 0; r < RealRowCount(); ++r) {
      Block block;
      if (BlockOf(c, r, Blocks(), block) && block.right > block.left) SplitBlock(rows_[r].cells[c].block);
    }
    colHidden_[c] = true;
    ColumnsChanged();
  }
  SettleBlocks();
}

void GridModel::UnHideColumns(int from, int to) {
  for (int c = std::max(from, 0); c <= std::min(to, RealColCount() - 1); ++c) colHidden_[c] = false;
  ColumnsChanged();
  SettleBlocks();
}

void GridModel::InsertCols(int displ, int n) {
  if (n < 1) return;
  displ = std::clamp(displ, 0, ColCount());
  const int at = displ < ColCount() ? RealColIndex(displ) : RealColCount();
  const std::vector<int> held = at == 0 ? GiveUpAllHolds() : std::vector<int>{};
  colHidden_.insert(colHidden_.begin() + at, n, false);
  ColumnsChanged();
  for (Row& row : rows_) row.cells.insert(row.cells.begin() + at, n, Cell{});
  SettleBlocks();
  ReleaseHolds(held);
}

void GridModel::RemoveCols(int displ, int n) {
  if (displ < 0 || displ >= ColCount() || n < 1) return;
  std::vector<int> gone;
  for (int d = displ; d < std::min(displ + n, ColCount()); ++d) gone.push_back(RealColIndex(d));
  const std::vector<int> held = gone.front() == 0 ? GiveUpAllHolds() : std::vector<int>{};
  for (auto c = gone.rbegin(); c != gone.rend(); ++c) {
    colHidden_.erase(colHidden_.begin() + *c);
    ColumnsChanged();
    for (Row& row : rows_) row.cells.erase(row.cells.begin() + *c);
  }
  SettleBlocks();
  ReleaseHolds(held);
}

void GridModel::SwapColumns(int displ1, int displ2) {
  if (displ1 == displ2) return;
  const int c1 = RealColIndex(displ1), c2 = RealColIndex(displ2);
  const std::vector<int> held = std::min(c1, c2) == 0 ? GiveUpAllHolds() : std::vector<int>{};
  SplitBlocks([&](const Block& b) {
    return b.left < b.right && ((b.left <= c1 && c1 <= b.right) || (b.left <= c2 && c2 <= b.right));
  });
  for (Row& row : rows_) std::swap(row.cells[c1], row.cells[c2]);
  SettleBlocks();
  ReleaseHolds(held);
}

void GridModel::MoveColumn(int from, int to) {
  if (from == to) return;
  // The real column moves to the real place of the column shown at `to`.
  const int realFrom = RealColIndex(from), realTo = RealColIndex(to);
  const std::vector<int> held = std::min(realFrom, realTo) == 0 ? GiveUpAllHolds() : std::vector<int>{};
  SplitBlocks([realFrom](const Block& b) { return b.left < b.right && b.left <= realFrom && realFrom <= b.right; });
  auto move = [&](auto& items) {
    const typename std::decay_t<decltype(items)>::value_type item = items[realFrom];
    items.erase(items.begin() + realFrom);
    items.insert(items.begin() + realTo, item);
  };
  move(colHidden_);
  ColumnsChanged();
  for (Row& row : rows_) move(row.cells);
  SettleBlocks();
  ReleaseHolds(held);
}

void GridModel::MergeCols(int col1, int col2) {
  if (col1 == col2) return;
  for (int r = 0, d = 0; r < RealRowCount(); d += !rows_[r].hidden, ++r) {
    if (!rows_[r].hidden && d < fixedRows_) continue;
    Cell& to = rows_[r].cells[col1];
    to.text = Trim(to.text + " " + rows_[r].cells[col2].text);
  }
  const std::vector<int> held = col2 == 0 ? GiveUpAllHolds() : std::vector<int>{};
  colHidden_.erase(colHidden_.begin() + col2);
  ColumnsChanged();
  for (Row& row : rows_) row.cells.erase(row.cells.begin() + col2);
  SettleBlocks();
  ReleaseHolds(held);
}

void GridModel::ClearRect(int col1, int row1, int col2, int row2) {
  const std::vector<int> held = col1 <= 0 && col2 >= 0 ? GiveUpHoldsShown(row1, row2) : std::vector<int>{};
  for (int d = std::max(row1, 0); d <= std::min(row2, RowCount() - 1); ++d) {
    const int real = RealRowIndex(d);
    for (int c = std::max(col1, 0); c <= std::min(col2, RealColCount() - 1); ++c) rows_[real].cells[c] = Cell{};
  }
  SettleBlocks();
  ReleaseHolds(held);
}

void GridModel::SetFilterActive(bool active, const std::vector<std::pair<int, std::string>>& conditions) {
  if (active == filterActive_) return;
  filterActive_ = active;
  conditions_ = conditions;
  if (active) {
    // Each row is judged once, on the cells as they stand, and the failing ones hidden afterwards.
    const std::vector<Block> blocks = Blocks();
    std::vector<int> failing;
    for (int d = fixedRows_; d < RowCount(); ++d) {
      const int real = RealRowIndex(d);
      if (!PassesFilter(real, blocks)) failing.push_back(real);
    }
    Hold(failing, HideCause::Filter);
    if (RowCount() == fixedRows_) {
      InsertRows(fixedRows_, 1);
      blankRow_ = true;
    }
    return;
  }
  if (blankRow_) RemoveRows(fixedRows_, 1);
  blankRow_ = false;
  std::vector<int> all(RealRowCount());
  for (int r = 0; r < RealRowCount(); ++r) all[r] = r;
  Release(all, HideCause::Filter);
}

void GridModel::AddNode(int displ, int span) {
  ExpandNode(RealRowIndex(displ));
  Cell& cell = CellAt(0, displ);
  NewProps(cell);
  cell.nodeSpan = span;
  cell.contracted = false;
}

void GridModel::RemoveNode(int displ) {
  const int real = RealRowIndex(displ);
  if (!IsNode(real)) return;
  ExpandNode(real);
  rows_[real].cells[0].nodeSpan = -1;
}

int GridModel::NodeEnd(int node) const {
  const int last = RealRowCount() - 1;
  const int span = rows_[node].cells[0].nodeSpan;
  if (span > 0) return std::min(node + span, last);
  int end = node + 1;
  while (end <= last && !IsNode(end)) ++end;
  return end - 1;
}

void GridModel::ContractNode(int real) {
  if (!IsNode(real) || rows_[real].cells[0].contracted) return;
  Cell& cell = rows_[real].cells[0];
  cell.contracted = true;
  cell.hold = ++lastHold_;
  std::vector<int> rows;
  for (int r = real + 1; r <= NodeEnd(real); ++r) rows.push_back(r);
  Hold(rows, HideCause::Node, cell.hold);
}

void GridModel::ExpandNode(int real) {
  if (!IsNode(real)) return;
  ReleaseHolds(GiveUpHolds({real}));
}

int GridModel::NodeCount() const {
  int count = 0;
  for (const Row& row : rows_)
    for (const Cell& cell : row.cells) count += cell.nodeSpan >= 0;
  return count;
}

}  // namespace velmora::testing
