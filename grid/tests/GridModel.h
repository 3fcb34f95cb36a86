#pragma once

#include <optional>
#include <string>
#include <vector>

#include "grid/GridItem.h"
#include "platform/gfx/Colors.h"

namespace velmora::testing {

// A plain reference model of the grid object's data under hiding, inserting, removing and moving rows
// and columns: a vector of real rows of real cells, with hidden flags for rows and columns. Display
// indices are derived by counting, so the model holds no index structure that could go wrong.
//
// Its rules:
// - A hidden row keeps its whole row (texts, objects, property objects, its one-row blocks and its mark)
//   and comes back at its own real place. Rows inserted at display row d stand right before the row
//   shown at d (after the hidden rows above it); at the end they follow every hidden row. Lowering the
//   row count drops the hidden rows after the last row that stays.
// - Column insert, remove, swap and move take display indices, MergeCols and ClearRect real columns;
//   each acts on the real columns and applies alike to hidden rows.
// - Shown rows move and swap among the places of shown rows: a hidden row keeps its real index. A moved
//   column goes to the real place of the column shown at the target.
// - A merged block is a set of cells with one block id over real columns and display rows; a hidden row
//   keeps only the blocks within itself, and a hidden column lies only in blocks one column wide. An operation that would leave a
//   block's cells other than the full rectangle it had splits it: the cells keep their property
//   objects and lose only the merge.
// - A row is hidden while anything holds it: the program, the filter, or a contracted node (each
//   contracted node counts). Showing a range or all rows drops every hold; the filter going off and a
//   node expanding drop only their own. A node is a cell of real column 0 with a span; contracting, it
//   holds the rows after it up to its span, or with span 0 up to the next node, within the real rows.
// - A contracted node keeps the holds it took, whatever rows or nodes come, go or move after it
//   meanwhile, and expanding gives up exactly those.
// - A contracted node whose cell goes (cleared, replaced by a new node, its column removed or moved,
//   columns inserted before it) or whose row moves (swapped, moved, or shifted by a move of another row, sorted, removed) gives up its
//   holds first and counts as expanded; the rows it held show once the change is over, unless something
//   else holds them.
class GridModel {
public:
  struct Cell {
    std::string text;
    int object = 0;  // 1-based index of the test's user object, 0 for none
    int props = 0;   // id of the cell's property object, 0 for none
    platform::TColor color = platform::clNone;
    int block = 0;   // id of the merged block, 0 for none
    int nodeSpan = -1;  // a node's span, -1 for none
    bool contracted = false;
    int hold = 0;  // a contracted node's hold id
  };
  struct Row {
    std::vector<Cell> cells;
    bool hidden = false;  // something below holds it
    bool byUser = false;
    bool byFilter = false;
    std::vector<int> byNodes;  // the hold ids of the contracted nodes that hold it
    bool mark = false;
  };
  struct Block {
    int left, top, right, bottom;  // real columns, display rows
  };

  GridModel(int cols, int rows, int fixedRows);

  // Sizes and the index mappings.
  int RealRowCount() const { return static_cast<int>(rows_.size()); }
  int RealColCount() const { return static_cast<int>(colHidden_.size()); }
  int RowCount() const;
  int ColCount() const;
  int FixedRows() const { return fixedRows_; }
  int NumHiddenRows() const { return RealRowCount() - RowCount(); }
  int NumHiddenColumns() const { return RealColCount() - ColCount(); }
  bool IsHiddenRow(int real) const { return real >= 0 && real < RealRowCount() && rows_[real].hidden; }
  bool IsHiddenColumn(int real) const { return real >= 0 && real < RealColCount() && colHidden_[real]; }
  // Display to real: past the end, the index plus the hidden count.
  int RealRowIndex(int displ) const;
  int RealColIndex(int displ) const;
  // Real to display: the index minus the hidden items before it.
  int DisplRowIndex(int real) const;
  int DisplColIndex(int real) const;

  const Row& RealRow(int real) const { return rows_[real]; }
  const Cell& RealCell(int col, int row) const { return rows_[row].cells[col]; }
  // The blocks by id (an empty rectangle for an id no cell holds); a block of hidden real row r has
  // the display row -1 - r.
  std::vector<Block> Blocks() const;
  // The block of a cell (within its own row for a hidden row, whose display row is where it would
  // stand); false for a cell outside every block.
  bool BlockOf(int col, int real, const std::vector<Block>& blocks, Block& block) const;
  // The text that Cells shows: a merged cell shows its block's base text.
  std::string ShownText(int col, int real, const std::vector<Block>& blocks) const;

  // Cell writes; col is real, row display.
  void SetText(int col, int displ, const std::string& text);
  void SetObject(int col, int displ, int object);
  void SetColor(int col, int displ, platform::TColor color);
  void SetMark(int displ, bool mark);
  // Merges the cells from (col, displ) on, clamped to the grid and ending before a hidden column;
  // nothing from a hidden column.
  void MergeCells(int col, int displ, int nx, int ny);

  // Row operations (real indices for hiding, display indices otherwise).
  void HideRows(int from, int to);
  void UnHideRows(int from, int to);
  void UnHideRowsAll();
  void HideSelectedRows();
  void InsertRows(int displ, int n);
  void RemoveRows(int displ, int n);
  void RemoveSelectedRows();
  void SetRowCount(int n);
  void SwapRows(int displ1, int displ2);
  void MoveRow(int from, int to);
  // Column operations (real indices for hiding, display indices otherwise).
  void HideColumns(int from, int to);
  void UnHideColumns(int from, int to);
  void InsertCols(int displ, int n);
  void RemoveCols(int displ, int n);
  void SwapColumns(int displ1, int displ2);
  void MoveColumn(int from, int to);
  // Real columns, as Cells.
  void MergeCols(int col1, int col2);
  // Nodes: added and removed at display rows, contracted and expanded by real row.
  void AddNode(int displ, int span);
  void RemoveNode(int displ);
  void ContractNode(int real);
  void ExpandNode(int real);
  bool IsNode(int real) const { return real >= 0 && real < RealRowCount() && rows_[real].cells[0].nodeSpan >= 0; }
  // The rows a node holds: real rows node + 1 .. NodeEnd.
  int NodeEnd(int node) const;
  // The node cells in every column and row.
  int NodeCount() const;
  // Columns real, rows display.
  void ClearRect(int col1, int row1, int col2, int row2);
  // The filter: conditions are (real column, prefix) pairs, a row passing when each of its cells starts
  // with its prefix. Activating hides the failing data rows and, when none passes, adds one blank data
  // row; deactivating removes that row and shows the rows the filter hid.
  void SetFilterActive(bool active, const std::vector<std::pair<int, std::string>>& conditions);
  bool FilterActive() const { return filterActive_; }
  bool FilterBlankRow() const { return blankRow_; }

private:
  Row EmptyRow() const;
  Cell& CellAt(int col, int displ) { return rows_[RealRowIndex(displ)].cells[col]; }
  int NewProps(Cell& cell);
  // Splits every block that `torn` names (by its display rectangle, before the change).
  template <class Pred>
  void SplitBlocks(Pred torn);
  void SplitBlock(int id);
  // Splits the blocks whose cells no longer form the full rectangle they had.
  void SettleBlocks();
  std::vector<int> ShownRealRows() const;
  // Every change of colHidden_ calls it.
  void ColumnsChanged();
  bool PassesFilter(int real, const std::vector<Block>& blocks) const;
  void RemoveRealRows(const std::vector<int>& real);
  // Adds the hold (a node's of the id) to the real rows; those shown till now leave.
  void Hold(const std::vector<int>& real, HideCause cause, int hold = 0);
  // Drops the hold from the real rows (User or Filter), or every hold without a cause.
  void Release(const std::vector<int>& real, std::optional<HideCause> cause);
  // Drops the node holds of the ids from every row; while the filter is on, a row that they gave up and
  // that fails the filter stays hidden by it.
  void ReleaseHolds(const std::vector<int>& holds);
  // The contracted nodes at the real rows (at the shown rows from .. to; every one) become expanded;
  // returns their hold ids, to ReleaseHolds afterwards.
  std::vector<int> GiveUpHolds(const std::vector<int>& nodes);
  std::vector<int> GiveUpHoldsShown(int from, int to);
  std::vector<int> GiveUpAllHolds();

  std::vector<Row> rows_;
  std::vector<bool> colHidden_;
  mutable std::vector<int> displCols_;  // shown columns before each real column, and in all
  std::vector<int> blockSize_{0};  // cells of each block when made, by id
  int fixedRows_;
  int nextProps_ = 1;
  int lastHold_ = 0;
  bool filterActive_ = false;
  bool blankRow_ = false;
  std::vector<std::pair<int, std::string>> conditions_;  // the filter's, while it is on
};

}  // namespace velmora::testing
