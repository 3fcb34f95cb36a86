#include "platform/grids/GridCells.h"

#include <algorithm>

namespace platform {
namespace {

const std::string kEmpty;

// Moves element `from` of v to `to`; elements past the end of v count as default ones.
template <typename T>
void MoveWithin(std::vector<T>& v, int from, int to) {
  if (v.size() <= static_cast<size_t>(std::min(from, to))) return;  // only unwritten cells move
  v.resize(std::max(v.size(), static_cast<size_t>(std::max(from, to)) + 1));
  if (from < to)
    std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
  else
    std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
}

template <typename T>
void EraseAt(std::vector<T>& v, int i) {
  if (static_cast<size_t>(i) < v.size()) v.erase(v.begin() + i);
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
    r.texts.resize(col + 1);
  }
  r.texts[col] = std::move(text);
}

void* GridCells::Object(int col, int row) const {
  if (!Inside(col, row)) return nullptr;
  const Row* r = rows_[row].get();
  return r && static_cast<size_t>(col) < r->objects.size() ? r->objects[col] : nullptr;
}

void GridCells::SetObject(int col, int row, void* object) {
  if (!Inside(col, row)) return;
  Row& r = RowForWrite(row);
  if (r.objects.size() <= static_cast<size_t>(col)) {
    if (!object) return;
    r.objects.resize(col + 1);
  }
  r.objects[col] = object;
}

bool GridCells::HasObjects(int row) const {
  const Row* r = row >= 0 && row < RowCount() ? rows_[row].get() : nullptr;
  return r && !r->objects.empty();
}

void GridCells::MoveRow(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= RowCount() || to >= RowCount()) return;
  rows_.move(from, to);
}

void GridCells::MoveColumn(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= colCount_ || to >= colCount_) return;
  for (size_t r = 0; r < rows_.size(); ++r) {
    if (Row* row = rows_[r].get()) {
      MoveWithin(row->texts, from, to);
      MoveWithin(row->objects, from, to);
    }
  }
}

void GridCells::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  rows_.erase(row);
}

void GridCells::DeleteColumn(int col) {
  if (col < 0 || col >= colCount_) return;
  for (size_t r = 0; r < rows_.size(); ++r) {
    if (Row* row = rows_[r].get()) {
      EraseAt(row->texts, col);
      EraseAt(row->objects, col);
    }
  }
  --colCount_;
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
  if (row.texts.size() > static_cast<size_t>(colCount)) row.texts.resize(colCount);
  if (row.objects.size() > static_cast<size_t>(colCount)) row.objects.resize(colCount);
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
  return row && col >= 0 && col < static_cast<int>(row->objects.size()) ? row->objects[col] : nullptr;
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
  if (col < 0 || !row || col >= static_cast<int>(row->objects.size())) {
    if (!object || col < 0) return;
    if (!row) row = std::make_unique<Row>();
    row->objects.resize(col + 1, nullptr);
  }
  row->objects[col] = object;
}

}  // namespace platform
