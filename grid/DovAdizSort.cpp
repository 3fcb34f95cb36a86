// Sorting rows: the order found as a permutation of row numbers, then applied in one pass.
#include <algorithm>
#include <numeric>
#include <optional>
#include <span>

#include "grid/DovAdiz.h"
#include "platform/core/Clock.h"

namespace velmora {
namespace {

// Stable bottom-up merge sort of `rows` by `compare` (negative: the first goes first), with `scratch`
// as its second buffer. It makes at most n log2 n comparisons, needs no recursion and ends with a
// permutation of `rows` whatever the comparison answers; an exception leaves `rows` a permutation too.
template <class T, class Compare>
void MergeSortRows(std::span<T> rows, std::vector<T>& scratch, const Compare& compare) {
  const size_t n = rows.size();
  scratch.resize(n);
  T *from = rows.data(), *to = scratch.data();  // each pass merges the runs of `from` into `to`
  try {
    for (size_t width = 1; width < n; width *= 2) {
      for (size_t lo = 0; lo < n; lo += 2 * width) {
        const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
        if (mid == hi || compare(from[mid], from[mid - 1]) >= 0) {  // already in order
          std::copy(from + lo, from + hi, to + lo);
          continue;
        }
        size_t i = lo, j = mid, k = lo;
        while (i < mid && j < hi) to[k++] = compare(from[j], from[i]) < 0 ? from[j++] : from[i++];
        std::copy(from + i, from + mid, to + k);
        std::copy(from + j, from + hi, to + k + (mid - i));
      }
      std::swap(from, to);
    }
  } catch (...) {
    if (from != rows.data()) std::copy(from, from + n, rows.data());
    throw;
  }
  if (from != rows.data()) std::copy(from, from + n, rows.data());
}

bool SameHint(const TSortHint& a, const TSortHint& b) { return a.cls == b.cls && a.key == b.key && a.key2 == b.key2; }

}  // namespace

void VUraRazuduVova::InitSortXRef() {
  sortXRef_.Clear();
  for (int i = 0; i < RowCount(); ++i) sortXRef_.Add(i);
}

void VUraRazuduVova::SwapSortedRows(int ARow1, int ARow2) {
  ++sortSwaps_;
  if (std::max(ARow1, ARow2) < sortXRef_.Count()) {
    const int entry1 = sortXRef_.GetInteger(ARow1);
    sortXRef_.SetInteger(ARow1, sortXRef_.GetInteger(ARow2));
    sortXRef_.SetInteger(ARow2, entry1);
  }
  if (sortSettings_.SingleColumn) {
    const int c = sortSettings_.Column;
    if (c == 0) NodesChanged();  // node cells may change rows
    const std::string text1 = Cells(c, ARow1);
    platform::TObject* object1 = Objects(c, ARow1);
    SetCells(c, ARow1, Cells(c, ARow2));
    SetObjects(c, ARow1, Objects(c, ARow2));
    SetCells(c, ARow2, text1);
    SetObjects(c, ARow2, object1);
    return;
  }
  SortSwapRows(ARow1, ARow2);
  if (trackedRow_ == ARow1)
    trackedRow_ = ARow2;
  else if (trackedRow_ == ARow2)
    trackedRow_ = ARow1;
}

void VUraRazuduVova::SortRows(int first, int last, const std::function<int(int, int)>& compare, SortFrame frame,
                              int HintCol) {
  SortRowRanges({{first, last}}, compare, frame, HintCol);
}

void VUraRazuduVova::SortRowRanges(std::vector<std::pair<int, int>> ranges,
                                   const std::function<int(int, int)>& compare, SortFrame frame, int HintCol) {
  HideInplaceEdit();
  for (auto& [first, last] : ranges) {
    first = std::max(first, 0);
    last = std::min(last, RowCount() - 1);
  }
  std::optional<UpdateGuard> lock;
  if (frame != SortFrame::Plain) lock.emplace(*this);
  InitSortXRef();
  std::vector<std::string> column0;
  const bool keepColumn0 = (frame == SortFrame::KeepColumn0 || frame == SortFrame::Groups) &&
                           sortSettings_.NormalCellsOnly && FixedCols() > 0;
  trackedRow_ = Row();
  // Rows move among shown rows only, and a moving node row moves alone: contracted nodes in the ranges
  // give up their holds before any row moves, and their rows show once the sort is over.
  std::vector<int> held;
  for (const auto& [first, last] : ranges) {
    const std::vector<int> rows = GiveUpNodeHoldsIn(first, last);
    held.insert(held.end(), rows.begin(), rows.end());
  }
  try {
    for (const auto& [first, last] : ranges) {
      if (last <= first) continue;
      if (keepColumn0) {
        column0.clear();
        for (int r = first; r <= last; ++r) column0.push_back(Cells(0, r));
      }
      SortRange(first, last, compare, HintCol);
      if (keepColumn0)
        for (int r = first; r <= last; ++r) SetCells(0, r, column0[r - first]);
    }
  } catch (...) {
    ShowNodeRows(held);
    throw;
  }
  const bool follow = frame == SortFrame::Groups || (frame != SortFrame::Plain && navigation_.MoveRowOnSort);
  if (follow && trackedRow_ != Row()) FocusCell(Col(), trackedRow_, true);
  ShowNodeRows(held);
}

void VUraRazuduVova::SortRange(int first, int last, const std::function<int(int, int)>& compare, int HintCol) {
  std::vector<int> order(last - first + 1);
  std::iota(order.begin(), order.end(), first);
  {
    // The cells' keys are made over these rows, a column at its first comparison, while the order is found.
    sortFirst_ = first;
    sortLast_ = last;
    // Every cell of a merged block has a property object in its row.
    sortPlainCells_ = !OnGetDisplText && RowsWithObjects(first, last).empty();
    sortKeys_.assign(StorageColCount(), {});
    struct EndOfSort {
      VUraRazuduVova& grid;
      ~EndOfSort() {
        grid.sortFirst_ = grid.sortLast_ = -1;
        grid.sortPlainCells_ = false;
        grid.sortKeys_.clear();
      }
    } endOfSort{*this};
    std::vector<TSortHint> hints = HintCol >= 0 && HintCol < StorageColCount() ? SortHints(HintCol)
                                                                                : std::vector<TSortHint>{};
    std::vector<int> scratch;
    if (hints.empty()) {
      MergeSortRows(std::span(order), scratch, compare);
    } else {
      // Hints order the rows as the comparison would wherever they differ, so the order is the same
      // when the rows are sorted by their hints alone and then each run of equal hints by the
      // comparison. A run of rows that all tie then takes about one comparison a row.
      const int sign = sortSign_;
      std::vector<TSortHint> hintScratch;
      MergeSortRows(std::span(hints), hintScratch, [sign](const TSortHint& a, const TSortHint& b) {
        if (a.cls != b.cls) return a.cls < b.cls ? -sign : sign;
        if (a.key != b.key) return a.key < b.key ? -sign : sign;
        if (a.key2 != b.key2) return a.key2 < b.key2 ? -sign : sign;
        return 0;
      });
      for (size_t k = 0; k < hints.size(); ++k) order[k] = hints[k].row;
      for (size_t run = 0; run < hints.size();) {
        size_t end = run + 1;
        while (end < hints.size() && SameHint(hints[end], hints[run])) ++end;
        if (end - run > 1) MergeSortRows(std::span(order).subspan(run, end - run), scratch, compare);
        run = end;
      }
    }
  }
  if (!sortSettings_.SingleColumn) {
    ApplySortOrder(first, order);
    return;
  }
  // SingleColumn: along the cycles of the permutation: `at` holds the original row (relative to first) now standing
  // at each place, `where` the place of each original row.
  const size_t n = order.size();
  std::vector<size_t> at(n), where(n);
  std::iota(at.begin(), at.end(), size_t{0});
  std::iota(where.begin(), where.end(), size_t{0});
  for (size_t k = 0; k < n; ++k) {
    const size_t wanted = order[k] - first, from = where[wanted];
    if (from == k) continue;
    SwapSortedRows(first + static_cast<int>(k), first + static_cast<int>(from));
    at[from] = at[k];
    where[at[from]] = from;
    at[k] = wanted;
    where[wanted] = k;
  }
}

void VUraRazuduVova::ApplySortOrder(int first, const std::vector<int>& order) {
  const int n = static_cast<int>(order.size());
  // Applied along its cycles, each cycle would take one swap less than it has rows.
  bool anyMoved = false;
  std::vector<bool> visited(n);
  for (int k = 0; k < n; ++k) {
    if (visited[k] || order[k] == first + k) continue;
    anyMoved = true;
    int length = 0;
    for (int j = k; !visited[j]; j = order[j] - first, ++length) visited[j] = true;
    sortSwaps_ += length - 1;
  }
  if (!anyMoved) return;
  if (first + n <= sortXRef_.Count()) {
    std::vector<int> entries(n);
    for (int k = 0; k < n; ++k) entries[k] = sortXRef_.GetInteger(order[k]);
    for (int k = 0; k < n; ++k) sortXRef_.SetInteger(first + k, entries[k]);
  }
  if (trackedRow_ >= first && trackedRow_ < first + n)
    trackedRow_ = first + static_cast<int>(std::find(order.begin(), order.end(), trackedRow_) - order.begin());
  SortPermuteRows(first, order);
}

void VUraRazuduVova::SortPermuteRows(int AFirst, const std::vector<int>& AOrder) { PermuteRows(AFirst, AOrder); }

void VUraRazuduVova::RowsPermuted(int First, const std::vector<int>& Order) {
  // The marks move with their rows; none past the end of the list.
  if (rowSelect_.size() > static_cast<size_t>(First)) {
    rowSelect_.resize(std::max(rowSelect_.size(), First + Order.size()), 0);
    rowSelect_.permute(First, Order);
  }
  NodesChanged();
  TBaseGrid::RowsPermuted(First, Order);
}

bool VUraRazuduVova::SortLine(int ACol, int ARow1, int ARow2) {
  sortSign_ = sortSettings_.Direction == TSortDirection::sdAscending ? 1 : -1;
  if (CompareLine(ACol, ARow1, ARow2) * sortSign_ <= 0) return false;
  SwapSortedRows(ARow1, ARow2);
  return true;
}

void VUraRazuduVova::SortByColumn(int ACol) {
  if (RowCount() < 2) return;
  sortSign_ = sortSettings_.Direction == TSortDirection::sdAscending ? 1 : -1;
  SortRows(FixedRows(), RowCount() - 1 - FixedFooters(),
           [&](int a, int b) { return sortSign_ * Compare(ACol, a, b); }, SortFrame::Locked, ACol);
}

void VUraRazuduVova::QuickSort(int ACol, int Left, int Right) {
  sortSign_ = sortSettings_.Direction == TSortDirection::sdAscending ? 1 : -1;
  SortRows(Left, Right, [&](int a, int b) { return sortSign_ * CompareLine(ACol, a, b); }, SortFrame::Plain, ACol);
}

void VUraRazuduVova::QuickSortIndexed(int Left, int Right) {
  SortRows(Left, Right, [&](int a, int b) { return CompareLineIndexed(0, a, b); }, SortFrame::Plain);
}

void VUraRazuduVova::QSort() {
  sortIndexes_.Clear();
  sortSign_ = sortSettings_.Direction == TSortDirection::sdAscending ? 1 : -1;
  const int col = sortSettings_.Column;
  SortRows(FixedRows(), RowCount() - 1 - FixedFooters(),
           [&](int a, int b) { return sortSign_ * CompareLine(col, a, b); }, SortFrame::KeepColumn0, col);
}

void VUraRazuduVova::QSortIndexed() {
  if (sortIndexes_.Count() == 0) throw EDovAdizError("No indexes specified for indexed sort");
  SortRows(FixedRows(), RowCount() - 1 - FixedFooters(),
           [&](int a, int b) { return CompareLineIndexed(0, a, b); }, SortFrame::Locked);
}

void VUraRazuduVova::QSortGroup() {
  sortSign_ = sortSettings_.Direction == TSortDirection::sdAscending ? 1 : -1;
  const int col = sortSettings_.Column;
  // The groups in display rows: the rows shown after each node row shown, before the next one.
  std::vector<std::pair<int, int>> ranges;
  const int lastData = RowCount() - 1 - FixedFooters();
  for (int node : NodeRows()) {
    if (IsHiddenRow(node)) continue;
    const int row = DisplRowIndex(node);
    if (row > lastData) break;
    if (!ranges.empty()) ranges.back().second = row - 1;
    ranges.emplace_back(row + 1, lastData);
  }
  SortRowRanges(std::move(ranges), [&](int a, int b) { return sortSign_ * CompareLine(col, a, b); },
                SortFrame::Groups, col);
}

void VUraRazuduVova::HeaderClickSort(int ACol) {
  if (sortSettings_.IndexShow)
    QSortIndexed();
  else if (HasNodes())
    QSortGroup();
  else
    QSort();
}

void VUraRazuduVova::ClickSort(int ACol, bool Shift) {
  const int col = RealColIndex(ACol);
  if (!sortSettings_.Show || RowCount() <= 2 || (ACol < FixedCols() && !sortSettings_.FixedCols)) return;
  const TGuard alive(*this);
  bool doSort = true;
  if (OnCanSort) OnCanSort(this, col, doSort);
  if (alive.Gone() || !doSort) return;
  HideCellEdit();
  if (alive.Gone()) return;
  if (sortSettings_.AutoColumnMerge) UndoColumnMerge();
  const uint32_t started = platform::GetTickCount();
  if (sortSettings_.IndexShow) {
    const int at = sortIndexes_.FindIndex(col);
    if (Shift && at < 0)
      sortIndexes_.AddIndex(col, true);
    else if (Shift || (at == 0 && sortIndexes_.Count() == 1))
      sortIndexes_.ToggleIndex(col);
    else {
      sortIndexes_.Clear();
      sortIndexes_.AddIndex(col, true);
    }
    sortSettings_.Column = col;
  } else {
    if (sortSettings_.Column != col) {
      sortSettings_.Column = col;
      sortSettings_.Direction = TSortDirection::sdAscending;
    } else {
      sortSettings_.Direction = sortSettings_.Direction == TSortDirection::sdAscending
                                    ? TSortDirection::sdDescending
                                    : TSortDirection::sdAscending;
    }
  }
  HeaderClickSort(col);
  if (alive.Gone()) return;
  sortTimeMs_ = static_cast<int>(platform::GetTickCount() - started);
  if (sortSettings_.AutoColumnMerge) ApplyColumnMerge();
  if (OnClickSort && alive.Alive()) OnClickSort(this, sortSettings_.Column);
}

}  // namespace velmora
