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
  }
  std::vector<void*>& objects = *r.objects;
  if (objects.size() <= static_cast<size_t>(col)) {
    if (!object) return;
    Lengthen(objects, col + 1, colCount_);
  }
  objects[col] = object;
}

bool GridCells::HasObjects(int row) const {
  const Row* r = row >= 0 && row < RowCount() ? rows_[row].get() : nullptr;
  return r && r->objects && !r->objects->empty();
}

void GridCells::MoveRow(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= RowCount() || to >= RowCount()) return;
  rows_.move(from, to);
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
}

void GridCells::DeleteRows(int at, int count) {
  if (at < 0 || at >= RowCount() || count <= 0) return;
  rows_.erase(at, std::min(count, RowCount() - at));
}

void GridCells::SwapRows(int a, int b) {
  if (a == b || a < 0 || b < 0 || a >= RowCount() || b >= RowCount()) return;
  std::swap(rows_[a], rows_[b]);
}

GridCells::StoredRow GridCells::TakeRow(int row) {
  if (row < 0 || row >= RowCount()) return nullptr;
  StoredRow taken = std::move(rows_[row]);
  rows_.erase(row);
  return taken;
}

void GridCells::PutRow(int at, StoredRow row) {
  if (at < 0 || at > RowCount()) return;
  if (row) CutToWidth(*row, colCount_);
  rows_.insert(at, std::move(row));
}

std::vector<GridCells::StoredRow> GridCells::TakeRows(const std::vector<int>& rows) { return rows_.extract(rows); }

void GridCells::PutRows(const std::vector<int>& positions, std::vector<StoredRow> rows) {
  for (StoredRow& row : rows)
    if (row) CutToWidth(*row, colCount_);
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
