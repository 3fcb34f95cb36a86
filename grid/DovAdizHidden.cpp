// Hidden rows: each hidden row is out of the string grid whole, in an item of hiddenRows_ (sorted by
// real index). Hiding and showing go in one batch through the string grid's taken row sets.

#include <algorithm>
#include <unordered_set>

#include "grid/DovAdiz.h"

using namespace platform;

namespace velmora {

namespace {

// Tells the property objects of a hidden row their real row.
void RenumberItem(TGridItem& item, int width) {
  if (!platform::TStringGrid::TakenHasObjects(item.Row)) return;
  for (int c = 0; c < width; ++c)
    if (auto* props = static_cast<TCellProperties*>(item.Object(c))) props->Row = item.Idx;
}

}  // namespace

void VUraRazuduVova::HideRows(int AFrom, int ATo) {
  std::vector<int> rows;
  const int last = std::min(ATo, RowCount() + NumHiddenRows() - 1);
  for (int r = std::max(AFrom, 0); r <= last; ++r) rows.push_back(r);
  HideRowSet(rows, HideCause::User);
}

void VUraRazuduVova::HideRowSet(const std::vector<int>& realRows, HideCause Cause) {
  std::vector<int> rows(realRows);
  if (!std::is_sorted(rows.begin(), rows.end())) std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  const int realCount = RowCount() + NumHiddenRows();
  std::erase_if(rows, [realCount](int r) { return r < 0 || r >= realCount; });
  std::vector<THideCauses> causes(1);
  causes[0].Add(Cause);
  HoldRows(rows, std::move(causes));
}

void VUraRazuduVova::HoldRows(const std::vector<int>& realRows, std::vector<THideCauses> causes) {
  const bool same = causes.size() == 1;
  std::vector<int> visible;
  std::vector<THideCauses> visibleCauses;
  const auto byIdx = [](const TGridItem& item, int row) { return item.Idx < row; };
  auto item = hiddenRows_.begin();
  for (size_t j = 0; j < realRows.size(); ++j) {
    THideCauses& more = causes[same ? 0 : j];
    item = std::lower_bound(item, hiddenRows_.end(), realRows[j], byIdx);
    if (item != hiddenRows_.end() && item->Idx == realRows[j]) {
      item->Causes.Join(more);
    } else {
      visible.push_back(realRows[j]);
      if (!same) visibleCauses.push_back(std::move(more));
    }
  }
  HideRealRows(visible, same ? std::move(causes) : std::move(visibleCauses));
}

void VUraRazuduVova::HideSelectedRows() {
  std::vector<int> rows;
  for (int r = FixedRows(); r < RowCount() && r < static_cast<int>(rowSelect_.size()); ++r)
    if (rowSelect_[r] == 1) rows.push_back(RealRowIndex(r));
  std::vector<THideCauses> causes(1);
  causes[0].Add(HideCause::User);
  HideRealRows(rows, std::move(causes));
}

void VUraRazuduVova::HideRealRows(const std::vector<int>& realRows, std::vector<THideCauses> causes) {
  if (realRows.empty()) return;
  std::vector<int> display(realRows.size());
  for (size_t j = 0; j < realRows.size(); ++j) display[j] = DisplRowIndex(realRows[j]);
  std::vector<TGridItem> items(realRows.size());
  for (size_t j = 0; j < realRows.size(); ++j) {
    items[j].Idx = realRows[j];
    items[j].Causes = causes.size() == 1 ? causes[0] : std::move(causes[j]);
    items[j].Marked = display[j] < static_cast<int>(rowSelect_.size()) && rowSelect_[display[j]] == 1;
  }
  std::vector<TTakenRow> taken = TakeRows(display);
  RemoveDisplayRowMarks(display);
  const int width = StoredColCount();
  for (size_t j = 0; j < items.size(); ++j) {
    items[j].Row = std::move(taken[j]);
    RenumberItem(items[j], width);
  }
  std::vector<TGridItem> merged;
  merged.reserve(hiddenRows_.size() + items.size());
  std::merge(std::make_move_iterator(hiddenRows_.begin()), std::make_move_iterator(hiddenRows_.end()),
             std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()),
             std::back_inserter(merged), [](const TGridItem& a, const TGridItem& b) { return a.Idx < b.Idx; });
  hiddenRows_ = std::move(merged);
  Invalidate();
}

void VUraRazuduVova::RemoveDisplayRowMarks(const std::vector<int>& rows) {
  // Display rows that go: the marks of the rows after them move up, and the display text's limit with them.
  const auto marked = std::lower_bound(rows.begin(), rows.end(), static_cast<int>(rowSelect_.size()));
  rowSelect_.extract(std::vector<int>(rows.begin(), marked));
  DisplRowLimit -= static_cast<int>(std::lower_bound(rows.begin(), rows.end(), DisplRowLimit) - rows.begin());
}

void VUraRazuduVova::InsertDisplayRowMarks(const std::vector<int>& positions, const std::vector<bool>& marks) {
  // positions[j] is where the j-th new row stands afterwards; it stood before old row positions[j] - j.
  int before = 0;
  for (size_t j = 0; j < positions.size(); ++j)
    if (positions[j] - static_cast<int>(j) <= DisplRowLimit) ++before;
  DisplRowLimit += before;
  const bool anyMark = std::find(marks.begin(), marks.end(), true) != marks.end();
  if (!anyMark && (positions.empty() || positions.front() >= static_cast<int>(rowSelect_.size()))) return;
  // Every new row stands within the marks afterwards.
  const size_t count = positions.size();
  rowSelect_.resize(std::max(rowSelect_.size(), positions.back() + 1 - count), 0);
  std::vector<int32_t> newMarks(count);
  for (size_t j = 0; j < count; ++j) newMarks[j] = j < marks.size() && marks[j] ? 1 : 0;
  rowSelect_.insert(positions, std::move(newMarks));
}

void VUraRazuduVova::UnHideRows(int AFrom, int ATo) {
  const auto byIdx = [](const TGridItem& item, int row) { return item.Idx < row; };
  const size_t first = std::lower_bound(hiddenRows_.begin(), hiddenRows_.end(), AFrom, byIdx) - hiddenRows_.begin();
  std::vector<size_t> items;
  for (size_t k = first; k < hiddenRows_.size() && hiddenRows_[k].Idx <= ATo; ++k) items.push_back(k);
  ShowItems(items);
}

void VUraRazuduVova::UnHideRowSet(const std::vector<int>& realRows) {
  std::vector<int> rows(realRows);
  std::sort(rows.begin(), rows.end());
  std::vector<size_t> items;
  size_t k = 0;
  for (int row : rows) {
    while (k < hiddenRows_.size() && hiddenRows_[k].Idx < row) ++k;
    if (k < hiddenRows_.size() && hiddenRows_[k].Idx == row) items.push_back(k++);
  }
  ShowItems(items);
}

void VUraRazuduVova::UnHideFilteredRows() {
  std::vector<size_t> items;
  for (size_t k = 0; k < hiddenRows_.size(); ++k)
    if (ReleaseHideCause(hiddenRows_[k], HideCause::Filter)) items.push_back(k);
  ShowItems(items);
}

bool VUraRazuduVova::ReleaseHideCause(TGridItem& item, HideCause Cause) {
  if (!item.Causes.Has(Cause)) return false;
  item.Causes.Release(Cause);
  return !item.Causes.Any();
}

void VUraRazuduVova::UnHideRowsAll() {
  std::vector<size_t> items(hiddenRows_.size());
  for (size_t k = 0; k < items.size(); ++k) items[k] = k;
  ShowItems(items);
}

void VUraRazuduVova::ShowItems(const std::vector<size_t>& items) {
  if (items.empty()) return;
  // An item comes back after the visible rows before it: its real index less the items still hidden
  // before it.
  std::vector<int> positions;
  std::vector<TTakenRow> rows;
  std::vector<bool> marks;
  positions.reserve(items.size());
  rows.reserve(items.size());
  size_t j = 0;
  int staying = 0;
  for (size_t k = 0; k < hiddenRows_.size(); ++k) {
    if (j < items.size() && items[j] == k) {
      positions.push_back(hiddenRows_[k].Idx - staying);
      rows.push_back(std::move(hiddenRows_[k].Row));
      marks.push_back(hiddenRows_[k].Marked);
      ++j;
    } else {
      ++staying;
    }
  }
  PutRows(positions, std::move(rows));
  InsertDisplayRowMarks(positions, marks);
  j = 0;
  size_t out = 0;
  for (size_t k = 0; k < hiddenRows_.size(); ++k) {
    if (j < items.size() && items[j] == k) {
      ++j;
      continue;
    }
    if (out != k) hiddenRows_[out] = std::move(hiddenRows_[k]);
    ++out;
  }
  hiddenRows_.resize(out);
  Invalidate();
}

void VUraRazuduVova::FreeItemProperties(TGridItem& item) {
  std::unordered_set<TCellProperties*> owned;
  for (int c = 0; c < StoredColCount(); ++c) {
    if (auto* props = static_cast<TCellProperties*>(item.Object(c))) {
      owned.insert(props);
      TStringGrid::SetTakenObject(item.Row, c, nullptr);
    }
  }
  for (TCellProperties* props : owned) FreeCellProperties(props);
}

void VUraRazuduVova::FreeHiddenRowsFrom(int ARow) {
  const auto byIdx = [](const TGridItem& item, int row) { return item.Idx < row; };
  const auto first = std::lower_bound(hiddenRows_.begin(), hiddenRows_.end(), ARow, byIdx);
  for (auto item = first; item != hiddenRows_.end(); ++item) FreeItemProperties(*item);
  hiddenRows_.erase(first, hiddenRows_.end());
}

void VUraRazuduVova::ShiftHiddenRowsFrom(int ARow, int N) {
  const int width = StoredColCount();
  for (auto item = hiddenRows_.rbegin(); item != hiddenRows_.rend() && item->Idx >= ARow; ++item) {
    item->Idx += N;
    RenumberItem(*item, width);
  }
}

void VUraRazuduVova::CloseUpHiddenRows(const std::vector<int>& removed) {
  if (removed.empty()) return;
  size_t j = 0;
  const int width = StoredColCount();
  const auto byIdx = [](const TGridItem& item, int row) { return item.Idx < row; };
  for (auto item = std::lower_bound(hiddenRows_.begin(), hiddenRows_.end(), removed.front(), byIdx);
       item != hiddenRows_.end(); ++item) {
    while (j < removed.size() && removed[j] < item->Idx) ++j;
    item->Idx -= static_cast<int>(j);
    RenumberItem(*item, width);
  }
}

void VUraRazuduVova::WithHiddenRowsIn(const std::function<void()>& change) {
  if (hiddenRows_.empty()) {
    change();
    return;
  }
  // The rows come in after the display rows, not at their own places: a block over display rows with a
  // hidden row between them stays whole, and no display row moves. They go out again as the same set,
  // so the marks, the display text's limit and the items' fields stay as they are.
  std::vector<int> positions;
  std::vector<TTakenRow> rows;
  for (size_t k = 0; k < hiddenRows_.size(); ++k) {
    positions.push_back(RowCount() + static_cast<int>(k));
    rows.push_back(std::move(hiddenRows_[k].Row));
  }
  PutRows(positions, std::move(rows));
  std::vector<TTakenRow> taken;
  try {
    change();
  } catch (...) {
    taken = TakeRows(positions);
    for (size_t k = 0; k < taken.size(); ++k) hiddenRows_[k].Row = std::move(taken[k]);
    throw;
  }
  taken = TakeRows(positions);
  const int width = StoredColCount();
  for (size_t k = 0; k < taken.size(); ++k) {
    hiddenRows_[k].Row = std::move(taken[k]);
    RenumberItem(hiddenRows_[k], width);
  }
}

}  // namespace velmora
