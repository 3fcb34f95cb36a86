#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "grid/tests/GridModel.h"

namespace velmora::testing {

// The operations of the differential test of the grid's row and column model. Each names its
// arguments as the grid takes them: real indices for hiding, display indices for the rest, real
// columns with display rows for the cell writes and ClearRect, real columns for MergeCols.
enum class GridOpKind : uint8_t {
  SetText,        // col, row, text
  SetObject,      // col, row, object (1-based index of the test's objects)
  SetColor,       // col, row, colour
  MergeCells,     // col, row, nx, ny
  SetRowSelect,   // row, mark
  HideRows,       // from, to
  UnHideRows,     // from, to
  UnHideRowsAll,
  HideSelectedRows,
  HideColumns,    // from, to
  UnHideColumns,  // from, to
  InsertRows,     // row, count
  RemoveRows,     // row, count
  InsertCols,     // col, count
  RemoveCols,     // col, count
  SwapRows,       // row1, row2
  MoveRow,        // from, to
  SwapColumns,    // col1, col2
  MoveColumn,     // from, to
  SetRowCount,    // count
  ClearRect,      // col1, row1, col2, row2
  MergeCols,      // col1, col2
  RemoveSelectedRows,
  FilterOn,       // conditions
  FilterOff,
  AddNode,        // row, span
  RemoveNode,     // row
  ContractNode,   // real row
  ExpandNode,     // real row
  ContractAll,
  ExpandAll,
};

struct GridOp {
  GridOpKind kind = GridOpKind::SetText;
  int a = 0, b = 0, c = 0, d = 0;
  std::string text;
  std::vector<std::pair<int, std::string>> conditions;  // FilterOn: real column and text prefix
};

// The call as a line of the replay log.
std::string Describe(const GridOp& op);

// Applies the operation to the model.
void Apply(GridModel& model, const GridOp& op);

// Draws operations that keep the grid within the bounds the test works in: at least two rows and
// three columns shown, nodes on data rows, the fixed row and its row 0 never hidden, MergeCols over columns without merged
// cells. Only the enabled kinds are drawn.
class GridOpGenerator {
public:
  GridOpGenerator(uint32_t seed, std::set<GridOpKind> enabled, int maxRealCols, int objectCount);

  GridOp Next(const GridModel& model);

private:
  int Below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool Chance(int percent) { return Below(100) < percent; }
  // An index of 0 .. count - 1, drawn more often at the edges.
  int Index(int count);
  // A count of 0, 1 .. 3, or one past the end of `room`.
  int Count(int room);
  bool Draw(GridOpKind kind, const GridModel& model, GridOp& op);
  // A real row that holds a node (a contracted one, when there is one and `contracted`), most of the
  // time, else any real row.
  int NodeRow(const GridModel& model, bool contracted = false);
  // A row within a contracted node's reach or right after it, shown (its display row) or hidden (its
  // real row); -1 when there is none.
  int ReachRow(const GridModel& model, bool shown);

  std::mt19937 random_;
  std::vector<GridOpKind> enabled_;
  int maxRealCols_;
  int objectCount_;
};

}  // namespace velmora::testing
