#include "platform/grids/GridCells.h"

#include <algorithm>

namespace platform {
namespace {

const std::string kEmpty;

// Lengthens v to n elements (n up to `width`). The first growth past its room makes room for the whole
// width at once, so a filled row holds exactly one slot per column, not the next power of two.
template <typename T>
void Lengthen(std::vector<T>& v, size_t n, int width) {
  if (v.capacity() < n) v.reserve(std::max(n, static_cast<size_t>(width)));
  v.resize(n);
}

// Drops the elements of v past `width`, and the room for them.
template <typename T>
void CutTo(std::vector<T>& v, int width) {
  if (v.size() > static_cast<size_t>(width)) v.resize(width);
  if (v.capacity() > static_cast<size_t>(width)) v.shrink_to_fit();
}

// Moves element `from` of v to `to` (both below `width`); elements past the end of v count as default
// ones.
template <typename T>
void MoveWithin(std::vector<T>& v, int from, int to, int width) {
  if (v.size() <= static_cast<size_t>(std::min(from, to))) return;  // only unwritten cells move
  Lengthen(v, std::max(v.size(), static_cast<size_t>(std::max(from, to)) + 1), width);
  if (from < to)
    std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
  else
    std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
}

// Erases element i of v, if it has one, in a store now `width` wide.
template <typename T>
void EraseAt(std::vector<T>& v, int i, int width) {
  if (static_cast<size_t>(i) < v.size()) v.erase(v.begin() + i);
  CutTo(v, width);
}

}  // namespace

void GridCells::SetSize(int colCount, int rowCount) {
  colCount = std::max(colCount, 0);
  rowCount = std::max(rowCount, 0);
  if (colCount < colCount_)
    for (size_t r = 0; r < rows_.size(); ++r)
      if (Row* row = rows_[r].get()) CutToWidth(*row, colCount);
  colCount_ = colCount;
  if (rowCount < RowCount()) objectRows_.erase(objectRows_.lower_bound({rowCount}), objectRows_.end());
  rows_.resize(rowCount);
}

const std::string& GridCells::Text(int col, int row) const {
  if (!Inside(col, row)) return kEmpty;
  const Row* r = rows_[row].get();
  return r && static_cast<size_t>(col) < r->texts.size() ? r->texts[col] : kEmpty;
}

void GridCells::SetText(int col, int row, std::string text) {
  if (!Inside(col, row)) return;
  Row& r = RowForWrite(row);
  if (r.texts.size() <= static_cast<size_t>(col)) {
    if (text.empty()) return;
    Lengthen(r.texts, col + 1, colCount_);
  }
  r.texts[col] = std::move(text);
}

void* GridCells::Object(int col, int row) const {
  if (!Inside(col, row)) return nullptr;
  const Row* r = rows_[row].get();
  return r && r->objects && static_cast<size_t>(col) < r->objects->size() ? (*r->objects)[col] : nullptr;
}

void GridCells::SetObject(int col, int row, void* object) {
  if (!Inside(col, row)) return;
  Row& r = RowForWrite(row);
  if (!r.objects) {
    if (!object) return;
    r.objects = std::make_unique<std::vector<void*>>();
    objectRows_.insert({row});
  }
  std::vector<void*>& objects = *r.objects;
  if (objects.size() <= static_cast<size_t>(col)) {
    if (!object) return;
    Lengthen(objects, col + 1, colCount_);
  }
  objects[col] = object;
}

bool GridCells::HasObjects(int row) const { return row >= 0 && row < RowCount() && StoredHasObjects(rows_[row]); }

std::vector<int> GridCells::ObjectRows(int first, int last) const {
  std::vector<int> rows;
  for (auto it = objectRows_.lower_bound({first}); it != objectRows_.end() && it->row <= last; ++it)
    rows.push_back(it->row);
  return rows;
}

void GridCells::IndexInserted(int at, int count) {
  // From the last entry down, so that each moved entry stays above those not moved yet.
  const auto first = objectRows_.lower_bound({at});
  for (auto it = objectRows_.end(); it != first;) (--it)->row += count;
}

void GridCells::IndexDeleted(int at, int count) {
  auto it = objectRows_.erase(objectRows_.lower_bound({at}), objectRows_.lower_bound({at + count}));
  for (; it != objectRows_.end(); ++it) it->row -= count;
}

void GridCells::IndexRow(int row) {
  if (StoredHasObjects(rows_[row]))
    objectRows_.insert({row});
  else
    objectRows_.erase({row});
}

void GridCells::MoveRow(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= RowCount() || to >= RowCount()) return;
  rows_.move(from, to);
  // The rows between close the gap at `from` and open one at `to`.
  const bool listed = objectRows_.erase({from}) > 0;
  if (from < to) {
    for (auto it = objectRows_.lower_bound({from + 1}); it != objectRows_.end() && it->row <= to; ++it) --it->row;
  } else {
    const auto first = objectRows_.lower_bound({to});
    for (auto it = objectRows_.lower_bound({from}); it != first;) ++(--it)->row;
  }
  if (listed) objectRows_.insert({to});
}

void GridCells::MoveColumn(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= colCount_ || to >= colCount_) return;
  for (size_t r = 0; r < rows_.size(); ++r) {
    if (Row* row = rows_[r].get()) {
      MoveWithin(row->texts, from, to, colCount_);
      if (row->objects) MoveWithin(*row->objects, from, to, colCount_);
    }
  }
}

void GridCells::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  rows_.erase(row);
  IndexDeleted(row, 1);
}

void GridCells::DeleteColumn(int col) {
  if (col < 0 || col >= colCount_) return;
  --colCount_;
  for (size_t r = 0; r < rows_.size(); ++r) {
    if (Row* row = rows_[r].get()) {
      EraseAt(row->texts, col, colCount_);
      if (row->objects) EraseAt(*row->objects, col, colCount_);
    }
  }
}

void GridCells::InsertRows(int at, int count) {
  if (at < 0 || at > RowCount() || count <= 0) return;
  rows_.insert(at, count);
  IndexInserted(at, count);
}

void GridCells::DeleteRows(int at, int count) {
  if (at < 0 || at >= RowCount() || count <= 0) return;
  count = std::min(count, RowCount() - at);
  rows_.erase(at, count);
  IndexDeleted(at, count);
}

void GridCells::SwapRows(int a, int b) {
  if (a == b || a < 0 || b < 0 || a >= RowCount() || b >= RowCount()) return;
  std::swap(rows_[a], rows_[b]);
  if (StoredHasObjects(rows_[a]) == StoredHasObjects(rows_[b])) return;
  IndexRow(a);
  IndexRow(b);
}

void GridCells::PermuteRows(int first, const std::vector<int>& order) {
  if (order.empty()) return;
  const int last = first + static_cast<int>(order.size()) - 1;
  // The index entries of the permuted rows go to the places their rows take.
  const std::vector<int> listed = ObjectRows(first, last);
  rows_.permute(first, order);
  if (listed.empty()) return;
  objectRows_.erase(objectRows_.lower_bound({first}), objectRows_.upper_bound({last}));
  std::vector<int> place(order.size());
  for (size_t k = 0; k < order.size(); ++k) place[order[k] - first] = first + static_cast<int>(k);
  for (int row : listed) objectRows_.insert({place[row - first]});
}

GridCells::StoredRow GridCells::TakeRow(int row) {
  if (row < 0 || row >= RowCount()) return nullptr;
  StoredRow taken = std::move(rows_[row]);
  rows_.erase(row);
  IndexDeleted(row, 1);
  return taken;
}

void GridCells::PutRow(int at, StoredRow row) {
  if (at < 0 || at > RowCount()) return;
  if (row) CutToWidth(*row, colCount_);
  rows_.insert(at, std::move(row));
  IndexInserted(at, 1);
  IndexRow(at);
}

std::vector<GridCells::StoredRow> GridCells::TakeRows(const std::vector<int>& rows) {
  if (rows.empty()) return {};
  // A kept entry moves up by the taken rows before it; the taken rows' entries go.
  size_t before = 0;
  for (auto it = objectRows_.lower_bound({rows.front()}); it != objectRows_.end();) {
    while (before < rows.size() && rows[before] < it->row) ++before;
    if (before < rows.size() && rows[before] == it->row) {
      it = objectRows_.erase(it);
      continue;
    }
    it->row -= static_cast<int>(before);
    ++it;
  }
  return rows_.extract(rows);
}

void GridCells::PutRows(const std::vector<int>& positions, std::vector<StoredRow> rows) {
  if (rows.empty()) return;
  // Old row k moves down by the new rows that go before it (the j-th goes before old row positions[j]
  // - j); from the last entry down, so that each moved entry stays above those not moved yet.
  const auto first = objectRows_.lower_bound({positions.front()});
  size_t after = positions.size();
  for (auto it = objectRows_.end(); it != first;) {
    --it;
    while (after > 0 && positions[after - 1] - static_cast<int>(after - 1) > it->row) --after;
    it->row += static_cast<int>(after);
  }
  for (size_t j = 0; j < rows.size(); ++j) {
    if (!rows[j]) continue;
    CutToWidth(*rows[j], colCount_);
    if (rows[j]->objects) objectRows_.insert({positions[j]});
  }
  rows_.insert(positions, std::move(rows));
}

void GridCells::CutToWidth(Row& row, int colCount) {
  CutTo(row.texts, colCount);
  if (row.objects) CutTo(*row.objects, colCount);
}

GridCells::Row& GridCells::RowForWrite(int row) {
  std::unique_ptr<Row>& r = rows_[row];
  if (!r) r = std::make_unique<Row>();
  return *r;
}

const std::string& GridCells::StoredText(const StoredRow& row, int col) {
  static const std::string empty;
  return row && col >= 0 && col < static_cast<int>(row->texts.size()) ? row->texts[col] : empty;
}

void* GridCells::StoredObject(const StoredRow& row, int col) {
  return row && row->objects && col >= 0 && col < static_cast<int>(row->objects->size()) ? (*row->objects)[col]
                                                                                          : nullptr;
}

void GridCells::SetStoredText(StoredRow& row, int col, std::string text) {
  if (col < 0) return;
  if (!row) {
    if (text.empty()) return;
    row = std::make_unique<Row>();
  }
  if (col >= static_cast<int>(row->texts.size())) {
    if (text.empty()) return;
    row->texts.resize(col + 1);
  }
  row->texts[col] = std::move(text);
}

void GridCells::SetStoredObject(StoredRow& row, int col, void* object) {
  if (col < 0) return;
  if (!row || !row->objects || col >= static_cast<int>(row->objects->size())) {
    if (!object) return;
    if (!row) row = std::make_unique<Row>();
    if (!row->objects) row->objects = std::make_unique<std::vector<void*>>();
    row->objects->resize(col + 1, nullptr);
  }
  (*row->objects)[col] = object;
}

}  // namespace platform
