#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/grids/GapVector.h"

namespace platform {

// The cells of a string grid: a text and an untyped, non-owning object per cell.
//
// Rows are kept apart, each made on its first write and holding only the columns up to the last one
// written (and object slots only once an object is stored), with room for no more than the store's
// columns, so an empty grid of any size costs one
// pointer per row and a filled cell little more than its text. The rows stand in a gap vector: moving,
// inserting or deleting rows moves row pointers, never cells, and a loop of insertions or deletions at
// one place is linear. Columns are moved within each row. The rows that hold object slots are also kept
// in an index of their own, in step with every move of the rows, so a walk over the objects visits only
// them and a change of the rows costs the rows with objects it moves, not the rows it passes.
class GridCells {
  struct Row;

public:
  // A row taken out of the store whole, with its texts and objects; null for a row never written.
  using StoredRow = std::unique_ptr<Row>;

  int ColCount() const { return colCount_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Cells outside the new size are dropped; new cells are empty.
  void SetSize(int colCount, int rowCount);

  // Reads outside the grid give "" and null; writes outside it are ignored.
  const std::string& Text(int col, int row) const;
  void SetText(int col, int row, std::string text);
  void* Object(int col, int row) const;
  void SetObject(int col, int row, void* object);
  // Whether an object was ever stored in the row (false means every object of it is null).
  bool HasObjects(int row) const;
  // The rows of first..last for which HasObjects holds, in increasing order; in time of the rows given
  // back (and a logarithm of the rows with objects).
  std::vector<int> ObjectRows(int first, int last) const;

  // The cell at `from` goes to `to`, those between shift by one towards `from`.
  void MoveRow(int from, int to);
  void MoveColumn(int from, int to);
  // Removes a row or column; the count drops by one.
  void DeleteRow(int row);
  void DeleteColumn(int col);
  // Rows inserted empty before `at` (0 .. RowCount()) and rows deleted from `at` on, each with one move
  // of the gap; counts reaching past the store are clamped.
  void InsertRows(int at, int count);
  void DeleteRows(int at, int count);
  // Exchanges two rows in constant time.
  void SwapRows(int a, int b);
  // Row first + k takes the row that stood at order[k], for order a permutation of first .. first +
  // order.size() - 1 within the store (the caller checks it); in time of the rows permuted (and a
  // logarithm of the rows with objects among them).
  void PermuteRows(int first, const std::vector<int>& order);
  // Takes row `row` out (the rows after it move up) and puts a taken row back before `at` (0 ..
  // RowCount()); cells of it past the store's width are dropped.
  StoredRow TakeRow(int row);
  void PutRow(int at, StoredRow row);
  // The same for sets of rows, each in one pass over the rows from the first index to the last: TakeRows
  // takes out the rows at the strictly increasing `rows` (each below RowCount()) and returns them in that
  // order; PutRows puts rows[j] back at positions[j] (strictly increasing, each below RowCount() +
  // rows.size()), each cut to the store's width. The caller checks the indices.
  std::vector<StoredRow> TakeRows(const std::vector<int>& rows);
  void PutRows(const std::vector<int>& positions, std::vector<StoredRow> rows);
  // A taken row's cells, read and written while it is out ("" and null past its columns).
  static const std::string& StoredText(const StoredRow& row, int col);
  static void* StoredObject(const StoredRow& row, int col);
  static void SetStoredText(StoredRow& row, int col, std::string text);
  static void SetStoredObject(StoredRow& row, int col, void* object);
  // Whether an object was ever stored in the taken row.
  static bool StoredHasObjects(const StoredRow& row) { return row && row->objects; }

private:
  struct Row {
    std::vector<std::string> texts;  // up to the last column written
    // Made when the first object is stored: a row without objects is kept the smaller by it.
    std::unique_ptr<std::vector<void*>> objects;
  };

  // An entry of the index of rows with objects. The index is only ever shifted as a whole from one
  // row on, which keeps its order, so its entries are moved in place.
  struct ObjectRow {
    mutable int row;
    bool operator<(const ObjectRow& other) const { return row < other.row; }
  };
  using ObjectRowSet = std::set<ObjectRow>;

  bool Inside(int col, int row) const { return col >= 0 && row >= 0 && col < colCount_ && row < RowCount(); }
  Row& RowForWrite(int row);
  static void CutToWidth(Row& row, int colCount);
  // The index after `count` rows were inserted before `at`, or the rows at..at+count-1 deleted.
  void IndexInserted(int at, int count);
  void IndexDeleted(int at, int count);
  // The index after a row was written at `row`: listed when it holds objects, else not.
  void IndexRow(int row);

  GapVector<std::unique_ptr<Row>> rows_;
  ObjectRowSet objectRows_;  // the rows whose Row has an object slot vector
  int colCount_ = 0;
};

}  // namespace platform
