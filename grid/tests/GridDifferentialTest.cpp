// The grid's row and column model against a plain reference model: seeded random operations, and after
// every step every real cell, every index mapping, the merge encoding, the property objects and the
// row marks compared. A failure prints the seed, the step and the operations so far for a replay.
// VELMORA_GRID_DIFF_STEPS sets the steps per seed and VELMORA_GRID_DIFF_SEED adds a seed, for runs by
// hand.

#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "grid/tests/BaseGridFixture.h"
#include "grid/tests/DovAdizFixture.h"
#include "grid/tests/GridModel.h"
#include "grid/tests/GridOperations.h"

namespace velmora::testing {

namespace {

// The operations the grid carries out so far; the others stay out of the draw.
const std::set<GridOpKind> kEnabled = {
    GridOpKind::SetText,       GridOpKind::SetObject,        GridOpKind::SetColor,
    GridOpKind::MergeCells,    GridOpKind::SetRowSelect,     GridOpKind::HideRows,
    GridOpKind::UnHideRows,    GridOpKind::UnHideRowsAll,    GridOpKind::HideSelectedRows,
    GridOpKind::HideColumns,   GridOpKind::UnHideColumns,    GridOpKind::InsertRows,
    GridOpKind::RemoveRows,    GridOpKind::InsertCols,       GridOpKind::RemoveCols,
    GridOpKind::SwapRows,      GridOpKind::MoveRow,          GridOpKind::SwapColumns,
    GridOpKind::MoveColumn,    GridOpKind::SetRowCount,      GridOpKind::ClearRect,
    GridOpKind::MergeCols,     GridOpKind::RemoveSelectedRows, GridOpKind::FilterOn,
    GridOpKind::FilterOff,     GridOpKind::AddNode,          GridOpKind::RemoveNode,
    GridOpKind::ContractNode,  GridOpKind::ExpandNode,       GridOpKind::ContractAll,
    GridOpKind::ExpandAll,
};

// The row operations that change what contracted nodes reach, with the nodes' own, drawn more often.
const std::set<GridOpKind> kNodeKinds = {
    GridOpKind::SetText,      GridOpKind::HideRows,     GridOpKind::UnHideRows,  GridOpKind::UnHideRowsAll,
    GridOpKind::InsertRows,   GridOpKind::RemoveRows,   GridOpKind::SwapRows,    GridOpKind::MoveRow,
    GridOpKind::SetRowCount,  GridOpKind::ClearRect,    GridOpKind::FilterOn,    GridOpKind::FilterOff,
    GridOpKind::AddNode,      GridOpKind::RemoveNode,   GridOpKind::ContractNode, GridOpKind::ExpandNode,
    GridOpKind::ContractAll,  GridOpKind::ExpandAll,
};

constexpr int kObjectCount = 6;
constexpr int kFixedRows = 1;

int EnvironmentNumber(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::atoi(value) : fallback;
}

// The first difference between grid and model, with what was looked at.
class Differences {
public:
  template <class Actual, class Expected, class What>
  void Same(const Actual& actual, const Expected& expected, What what) {
    if (!first_.empty() || actual == expected) return;
    std::ostringstream text;
    text << what() << ": the grid has " << actual << ", the model " << expected;
    first_ = text.str();
  }
  bool Found() const { return !first_.empty(); }
  const std::string& First() const { return first_; }

private:
  std::string first_;
};

std::string Call(const char* what, int a, int b = -1) {
  return std::string(what) + "(" + std::to_string(a) + (b >= 0 ? ", " + std::to_string(b) : "") + ")";
}

class GridDifferentialTest : public DovAdizTest {
protected:
  // Runs `steps` operations of the seed on a grid of cols x rows (at most maxRealCols real columns);
  // stops at the first difference.
  void Run(uint32_t seed, int cols, int rows, int steps, int maxRealCols,
           const std::set<GridOpKind>& kinds = kEnabled);
  // The same with the operations given.
  void RunScript(int cols, int rows, const std::vector<GridOp>& script);

private:
  void Start(int cols, int rows, bool disjunctRowSelect);
  // Applies the operation to grid and model and compares them.
  void Step(GridModel& model, const GridOp& op, const std::string& context);
  void ApplyToGrid(const GridOp& op);
  platform::TObject* Object(int index) const { return index ? objects_[index - 1].get() : nullptr; }
  void CompareCounts(const GridModel& model, Differences& diff);
  void CompareCells(const GridModel& model, Differences& diff);
  // The property object of a shown cell: its identity kept since the model made it, its place, colour,
  // user object and merge encoding.
  void CompareProperties(const GridModel& model, const std::vector<GridModel::Block>& blocks, int col, int real,
                         const TCellProperties* props, Differences& diff);

  std::vector<std::unique_ptr<platform::TObject>> objects_;
  // The grid's property object for each of the model's ids, as first seen.
  std::map<int, const TCellProperties*> props_;
  std::string log_;
  int steps_ = 0;
};

GridOp Op(GridOpKind kind, int a = 0, int b = 0, int c = 0, int d = 0, std::string text = {}) {
  GridOp op;
  op.kind = kind;
  op.a = a;
  op.b = b;
  op.c = c;
  op.d = d;
  op.text = std::move(text);
  return op;
}

void GridDifferentialTest::Start(int cols, int rows, bool disjunctRowSelect) {
  objects_.clear();
  for (int i = 0; i < kObjectCount; ++i) objects_.push_back(std::make_unique<platform::TObject>());
  props_.clear();
  log_.clear();
  // A fresh grid each time.
  delete grid_;
  grid_ = new TTestDovAdiz(form_.get());
  grid_->SetParent(form_.get());
  grid_->SetBounds(0, 0, 400, 240);
  grid_->SetColCount(cols);
  grid_->SetRowCount(rows);
  grid_->MouseActions().DisjunctRowSelect = disjunctRowSelect;
}

void GridDifferentialTest::Step(GridModel& model, const GridOp& op, const std::string& context) {
  log_ += "  " + std::to_string(++steps_) + ": " + Describe(op) + "\n";
  ApplyToGrid(op);
  Apply(model, op);
  Differences diff;
  CompareCounts(model, diff);
  if (!diff.Found()) CompareCells(model, diff);
  ASSERT_FALSE(diff.Found()) << context << ", step " << steps_ << ": " << diff.First() << "\noperations:\n" << log_;
  // The base grid's own check walks the displayed columns as stored ones: without hidden columns only.
  if (grid_->NumHiddenColumns() == 0)
    ExpectMergeEncodingValid(*grid_, context + ", step " + std::to_string(steps_) + "\n" + log_);
}

void GridDifferentialTest::Run(uint32_t seed, int cols, int rows, int steps, int maxRealCols,
                               const std::set<GridOpKind>& kinds) {
  // The marks follow their rows whatever the disjunct mode.
  Start(cols, rows, seed % 2 == 1);
  steps_ = 0;
  GridModel model(cols, rows, kFixedRows);
  GridOpGenerator generator(seed, kinds, maxRealCols, kObjectCount);
  const std::string context = "seed " + std::to_string(seed) + ", grid " + std::to_string(cols) + " x " +
                              std::to_string(rows);
  for (int step = 1; step <= steps && !HasFatalFailure(); ++step) Step(model, generator.Next(model), context);
}

void GridDifferentialTest::RunScript(int cols, int rows, const std::vector<GridOp>& script) {
  Start(cols, rows, false);
  steps_ = 0;
  GridModel model(cols, rows, kFixedRows);
  const std::string context = "grid " + std::to_string(cols) + " x " + std::to_string(rows);
  for (size_t i = 0; i < script.size() && !HasFatalFailure(); ++i) Step(model, script[i], context);
}

void GridDifferentialTest::ApplyToGrid(const GridOp& op) {
  VUraRazuduVova& grid = *grid_;
  switch (op.kind) {
    case GridOpKind::SetText: grid.SetCells(op.a, op.b, op.text); break;
    case GridOpKind::SetObject: grid.SetObjects(op.a, op.b, Object(op.c)); break;
    case GridOpKind::SetColor: grid.SetColors(op.a, op.b, static_cast<platform::TColor>(op.c)); break;
    case GridOpKind::MergeCells: grid.MergeCells(op.a, op.b, op.c, op.d); break;
    case GridOpKind::SetRowSelect: grid.SetRowSelect(op.a, op.b != 0); break;
    case GridOpKind::HideRows: grid.HideRows(op.a, op.b); break;
    case GridOpKind::UnHideRows: grid.UnHideRows(op.a, op.b); break;
    case GridOpKind::UnHideRowsAll: grid.UnHideRowsAll(); break;
    case GridOpKind::HideSelectedRows: grid.HideSelectedRows(); break;
    case GridOpKind::HideColumns: grid.HideColumns(op.a, op.b); break;
    case GridOpKind::UnHideColumns: grid.UnHideColumns(op.a, op.b); break;
    case GridOpKind::InsertRows: grid.InsertRows(op.a, op.b); break;
    case GridOpKind::RemoveRows: grid.RemoveRows(op.a, op.b); break;
    case GridOpKind::InsertCols: grid.InsertCols(op.a, op.b); break;
    case GridOpKind::RemoveCols: grid.RemoveCols(op.a, op.b); break;
    case GridOpKind::SwapRows: grid.SwapRows(op.a, op.b); break;
    case GridOpKind::MoveRow: grid.MoveRow(op.a, op.b); break;
    case GridOpKind::SwapColumns: grid.SwapColumns(op.a, op.b); break;
    case GridOpKind::MoveColumn: grid.MoveColumn(op.a, op.b); break;
    case GridOpKind::SetRowCount: grid.SetRowCount(op.a); break;
    case GridOpKind::ClearRect: grid.ClearRect(op.a, op.b, op.c, op.d); break;
    case GridOpKind::MergeCols: grid.MergeCols(op.a, op.b); break;
    case GridOpKind::RemoveSelectedRows: grid.RemoveSelectedRows(); break;
    case GridOpKind::FilterOn:
      grid.Filter().Clear();
      for (const auto& [col, prefix] : op.conditions) {
        TFilterData* condition = grid.Filter().Add();
        condition->Column = static_cast<int16_t>(col);
        condition->Condition = prefix + "*";
      }
      grid.SetFilterActive(true);
      break;
    case GridOpKind::FilterOff: grid.SetFilterActive(false); break;
    case GridOpKind::AddNode: grid.AddNode(op.a, op.b); break;
    case GridOpKind::RemoveNode: grid.RemoveNode(op.a); break;
    case GridOpKind::ContractNode: grid.ContractNode(op.a); break;
    case GridOpKind::ExpandNode: grid.ExpandNode(op.a); break;
    case GridOpKind::ContractAll: grid.ContractAll(); break;
    case GridOpKind::ExpandAll: grid.ExpandAll(); break;
  }
}

void GridDifferentialTest::CompareCounts(const GridModel& model, Differences& diff) {
  const VUraRazuduVova& grid = *grid_;
  diff.Same(grid.RowCount(), model.RowCount(), [] { return std::string("RowCount"); });
  diff.Same(grid.ColCount(), model.ColCount(), [] { return std::string("ColCount"); });
  diff.Same(grid.NumHiddenRows(), model.NumHiddenRows(), [] { return std::string("NumHiddenRows"); });
  diff.Same(grid.FilterActive(), model.FilterActive(), [] { return std::string("FilterActive"); });
  diff.Same(grid.FixedRows(), kFixedRows, [] { return std::string("FixedRows"); });
  diff.Same(grid.NumHiddenColumns(), model.NumHiddenColumns(), [] { return std::string("NumHiddenColumns"); });
  diff.Same(grid.NodeCount(), model.NodeCount(), [] { return std::string("NodeCount"); });
  // The cells are compared only on grids of the model's size.
  if (diff.Found()) return;
  for (int d = 0; d < model.RowCount() + 2; ++d)
    diff.Same(grid.RealRowIndex(d), model.RealRowIndex(d), [d] { return Call("RealRowIndex", d); });
  for (int r = 0; r < model.RealRowCount(); ++r) {
    diff.Same(grid.IsHiddenRow(r), model.IsHiddenRow(r), [r] { return Call("IsHiddenRow", r); });
    diff.Same(grid.DisplRowIndex(r), model.DisplRowIndex(r), [r] { return Call("DisplRowIndex", r); });
  }
  for (int d = 0; d < model.ColCount() + 2; ++d)
    diff.Same(grid.RealColIndex(d), model.RealColIndex(d), [d] { return Call("RealColIndex", d); });
  for (int c = 0; c < model.RealColCount(); ++c) {
    diff.Same(grid.IsHiddenColumn(c), model.IsHiddenColumn(c), [c] { return Call("IsHiddenColumn", c); });
    diff.Same(grid.DisplColIndex(c), model.DisplColIndex(c), [c] { return Call("DisplColIndex", c); });
  }
  for (int d = 0; d < model.RowCount(); ++d)
    diff.Same(grid.RowSelect(d), model.RealRow(model.RealRowIndex(d)).mark, [d] { return Call("RowSelect", d); });
}

void GridDifferentialTest::CompareCells(const GridModel& model, Differences& diff) {
  const VUraRazuduVova& grid = *grid_;
  const std::vector<GridModel::Block> blocks = model.Blocks();
  std::unordered_map<const TCellProperties*, std::string> owners;
  for (int r = 0; r < model.RealRowCount() && !diff.Found(); ++r) {
    const int d = model.DisplRowIndex(r);
    const bool hidden = model.IsHiddenRow(r);
    for (int c = 0; c < model.RealColCount(); ++c) {
      const GridModel::Cell& cell = model.RealCell(c, r);
      const std::string text = model.ShownText(c, r, blocks);
      const TGridItem* item = grid.HiddenRow(r);
      diff.Same(grid.GetCellsEx(c, r), text, [&] { return Call("GetCellsEx", c, r); });
      diff.Same(grid.GetObjectsEx(c, r), Object(cell.object), [&] { return Call("GetObjectsEx", c, r); });
      diff.Same(item != nullptr, hidden, [&] { return Call("HiddenRow", r) + " given"; });
      if (!hidden) diff.Same(grid.Cells(c, d), text, [&] { return Call("Cells", c, d); });
      if (hidden && item) {
        diff.Same(item->Cell(c), cell.text, [&] { return Call("HiddenRow", r) + ".Cell(" + std::to_string(c) + ")"; });
        diff.Same(item->Idx, r, [&] { return Call("HiddenRow", r) + ".Idx"; });
        diff.Same(item->Marked, model.RealRow(r).mark, [&] { return Call("HiddenRow", r) + ".Marked"; });
        const GridModel::Row& row = model.RealRow(r);
        diff.Same(item->Causes.User, row.byUser, [&] { return Call("HiddenRow", r) + ".Causes.User"; });
        diff.Same(item->Causes.Filter, row.byFilter, [&] { return Call("HiddenRow", r) + ".Causes.Filter"; });
        diff.Same(item->Causes.Nodes.size(), row.byNodes.size(), [&] { return Call("HiddenRow", r) + ".Causes.Nodes"; });
      }
      const TCellProperties* props = hidden ? (item ? static_cast<const TCellProperties*>(
                                                          static_cast<platform::TObject*>(item->Object(c)))
                                                    : nullptr)
                                            : grid.GetGridObject(c, d);
      CompareProperties(model, blocks, c, r, props, diff);
      if (props) {
        const auto [owner, fresh] = owners.emplace(props, Call("cell", c, r));
        diff.Same(fresh, true, [&] { return "the property object of real " + Call("cell", c, r) + " also at " + owner->second; });
      }
    }
  }
}

void GridDifferentialTest::CompareProperties(const GridModel& model, const std::vector<GridModel::Block>& blocks,
                                             int col, int real, const TCellProperties* props,
                                             Differences& diff) {
  const GridModel::Cell& cell = model.RealCell(col, real);
  // A property object tells its display row, or its real row while its row is hidden.
  const bool hidden = model.IsHiddenRow(real);
  const int d = hidden ? real : model.DisplRowIndex(real);
  const std::string where = Call("real cell", col, real);
  diff.Same(props != nullptr, cell.props != 0, [&] { return "a property object at " + where; });
  if (!props || !cell.props) return;
  const auto [known, fresh] = props_.emplace(cell.props, props);
  diff.Same(known->second == props, true, [&] { return "the same property object at " + where; });
  diff.Same(props->Col, col, [&] { return "Col of the property object at " + where; });
  diff.Same(props->Row, d, [&] { return "Row of the property object at " + where; });
  diff.Same(props->BrushColor(), cell.color, [&] { return "the colour at " + where; });
  diff.Same(props->ObjectEx, Object(cell.object), [&] { return "the user object at " + where; });
  GridModel::Block block;
  int spanX = -1, spanY = -1;
  bool base = true;
  if (model.BlockOf(col, real, blocks, block)) {
    const int top = hidden ? real : block.top, bottom = hidden ? real : block.bottom;
    base = col == block.left && d == top;
    spanX = base ? block.right - block.left : col - block.left;
    spanY = base ? bottom - top : d - top;
  }
  diff.Same(props->IsBase, base, [&] { return "IsBase at " + where; });
  diff.Same(props->SpanX, spanX, [&] { return "SpanX at " + where; });
  diff.Same(props->SpanY, spanY, [&] { return "SpanY at " + where; });
  const auto* graphic = static_cast<const TCellGraphic*>(props->GraphicObject);
  const bool node = graphic && graphic->CellType() == TCellType::ctNode;
  diff.Same(node, cell.nodeSpan >= 0, [&] { return "a node at " + where; });
  if (!node || cell.nodeSpan < 0) return;
  diff.Same(graphic->NodeSpan, cell.nodeSpan, [&] { return "the node's span at " + where; });
  diff.Same(graphic->State, cell.contracted, [&] { return "the node contracted at " + where; });
}

}  // namespace

TEST_F(GridDifferentialTest, SeededSequencesAgreeWithTheModel) {
  const int steps = EnvironmentNumber("VELMORA_GRID_DIFF_STEPS", 400);
  std::vector<uint32_t> seeds = {1, 2, 3, 4, 5, 6};
  if (const int extra = EnvironmentNumber("VELMORA_GRID_DIFF_SEED", 0)) seeds = {static_cast<uint32_t>(extra)};
  for (uint32_t seed : seeds) {
    Run(seed, 12, 40, steps, 60);
    if (HasFatalFailure()) return;
  }
}

// Nodes made, removed, moved and cleared in and after the rows of contracted ones, nested and
// adjacent, among inserts, removals, single unhides and the filter.
TEST_F(GridDifferentialTest, NodeSequencesAgreeWithTheModel) {
  const int steps = EnvironmentNumber("VELMORA_GRID_DIFF_STEPS", 3000);
  std::vector<uint32_t> seeds = {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
  if (const int extra = EnvironmentNumber("VELMORA_GRID_DIFF_SEED", 0)) seeds = {static_cast<uint32_t>(extra)};
  for (uint32_t seed : seeds) {
    Run(seed, 6, 30, steps, 12, kNodeKinds);
    if (HasFatalFailure()) return;
  }
}

// The edge cases of the model, each a short script compared step by step.
TEST_F(GridDifferentialTest, EdgeCasesAgreeWithTheModel) {
  using K = GridOpKind;
  const struct {
    const char* name;
    std::vector<GridOp> script;
  } cases[] = {
      {"an insertion above a merged block moves it with its row",
       {Op(K::MergeCells, 1, 2, 2, 1), Op(K::SetColor, 3, 2, 0xFF), Op(K::InsertRows, 2, 1)}},
      {"an insertion inside a merged block splits it",
       {Op(K::SetText, 1, 2, 0, 0, "a1"), Op(K::MergeCells, 1, 2, 2, 3), Op(K::InsertRows, 3, 2)}},
      {"a hidden row is read by its real index, not through the row shown in its place",
       {Op(K::SetText, 1, 4, 0, 0, "b2"), Op(K::SetObject, 1, 4, 1), Op(K::HideRows, 3, 3)}},
      {"lowering RowCount frees the hidden rows after the last row that stays",
       {Op(K::HideRows, 5, 5), Op(K::SetText, 1, 5, 0, 0, "a1"), Op(K::SetRowCount, 5), Op(K::UnHideRowsAll)}},
      {"a merged cell of a hidden row reads its block's text by real row",
       {Op(K::SetText, 1, 3, 0, 0, "b2"), Op(K::MergeCells, 1, 3, 2, 1), Op(K::HideRows, 3, 3)}},
      {"column operations keep a block whose display rows have a hidden row between them",
       {Op(K::HideRows, 2, 2), Op(K::SetText, 1, 1, 0, 0, "a1"), Op(K::MergeCells, 1, 1, 2, 2), Op(K::InsertCols, 5, 1),
        Op(K::RemoveCols, 4, 1), Op(K::SwapColumns, 3, 4), Op(K::MoveColumn, 4, 3), Op(K::HideColumns, 4, 4),
        Op(K::MergeCols, 3, 5), Op(K::UnHideColumns, 0, 6), Op(K::UnHideRowsAll)}},
  };
  GridOp filterOn = Op(K::FilterOn);
  filterOn.conditions = {{1, "a"}};
  const struct {
    const char* name;
    std::vector<GridOp> script;
  } nodeCases[] = {
      {"a row the filter hid stays hidden under a node contracted afterwards",
       {Op(K::SetText, 1, 1, 0, 0, "a1"), Op(K::SetText, 1, 2, 0, 0, "b1"), Op(K::SetText, 1, 3, 0, 0, "a2"),
        Op(K::AddNode, 1, 3), filterOn, Op(K::ContractNode, 1), Op(K::FilterOff), Op(K::ExpandNode, 1)}},
      {"overlapping nodes each hold their rows",
       {Op(K::AddNode, 1, 4), Op(K::AddNode, 3, 4), Op(K::ContractNode, 3), Op(K::ContractNode, 1),
        Op(K::ExpandNode, 3), Op(K::ExpandNode, 1)}},
      // A node that goes or moves gives up its holds; an outer contracted node keeps its own.
      {"clearing a contracted node's cell shows its rows",
       {Op(K::AddNode, 2, 2), Op(K::ContractNode, 2), Op(K::ClearRect, 0, 2, 1, 2)}},
      {"clearing an inner contracted node leaves the outer one's rows hidden",
       {Op(K::AddNode, 1, 5), Op(K::AddNode, 3, 1), Op(K::ContractNode, 3), Op(K::ContractNode, 1),
        Op(K::ExpandNode, 1), Op(K::ContractNode, 1), Op(K::ClearRect, 0, 0, 2, 9), Op(K::ExpandNode, 1)}},
      {"removing column 0 shows the rows of every contracted node",
       {Op(K::AddNode, 1, 2), Op(K::AddNode, 5, 0), Op(K::ContractNode, 5), Op(K::ContractNode, 1),
        Op(K::RemoveCols, 0, 1)}},
      {"moving column 0 away shows the rows of every contracted node",
       {Op(K::AddNode, 2, 3), Op(K::ContractNode, 2), Op(K::MoveColumn, 0, 3), Op(K::SwapColumns, 0, 2)}},
      {"a column inserted before column 0 shows the rows of every contracted node",
       {Op(K::AddNode, 2, 3), Op(K::ContractNode, 2), Op(K::InsertCols, 0, 1)}},
      {"a swapped contracted node shows its rows and releases none at its new place",
       {Op(K::AddNode, 2, 2), Op(K::ContractNode, 2), Op(K::HideRows, 6, 7), Op(K::SwapRows, 2, 3),
        Op(K::ContractNode, 5), Op(K::ExpandNode, 5)}},
      {"a moved contracted node and the rows moving past it",
       {Op(K::AddNode, 4, 1), Op(K::ContractNode, 4), Op(K::MoveRow, 4, 7), Op(K::AddNode, 2, 1),
        Op(K::ContractNode, 2), Op(K::MoveRow, 1, 5)}},
      {"a removed contracted node shows its rows closed up over it",
       {Op(K::AddNode, 2, 2), Op(K::ContractNode, 2), Op(K::RemoveRows, 1, 2)}},
      {"a new node over a contracted one shows the old one's rows",
       {Op(K::AddNode, 2, 2), Op(K::ContractNode, 2), Op(K::AddNode, 2, 1), Op(K::ContractNode, 2),
        Op(K::ExpandNode, 2)}},
      // A contracted node gives up only the holds it took, whatever came into its reach or left it.
      {"a contracted node whose next node goes keeps an overlapping node's rows hidden when it expands",
       {Op(K::AddNode, 1, 8), Op(K::AddNode, 3, 0), Op(K::AddNode, 5, 0), Op(K::ContractNode, 3),
        Op(K::RemoveNode, 4), Op(K::ContractNode, 1), Op(K::ExpandNode, 3), Op(K::ExpandNode, 1)}},
      {"adjacent contracted nodes: the first one's reach grows when the second is cleared",
       {Op(K::AddNode, 1, 9), Op(K::AddNode, 2, 0), Op(K::AddNode, 3, 0), Op(K::ContractNode, 3),
        Op(K::ContractNode, 2), Op(K::ClearRect, 0, 3, 0, 3), Op(K::ContractNode, 1), Op(K::ExpandNode, 2),
        Op(K::ExpandNode, 1)}},
      {"a node made among a contracted node's rows leaves none of them hidden once both are expanded",
       {Op(K::AddNode, 2, 0), Op(K::ContractNode, 2), Op(K::UnHideRows, 5, 5), Op(K::AddNode, 3, 0),
        Op(K::ContractNode, 5), Op(K::ExpandNode, 2), Op(K::ExpandNode, 5)}},
      {"rows inserted right after a contracted node's rows do not become its own",
       {Op(K::AddNode, 1, 20), Op(K::AddNode, 2, 0), Op(K::ContractNode, 2), Op(K::InsertRows, 3, 2),
        Op(K::ContractNode, 1), Op(K::ExpandNode, 2), Op(K::ExpandNode, 1)}},
  };
  for (const auto& c : nodeCases) {
    SCOPED_TRACE(c.name);
    RunScript(6, 10, c.script);
    if (HasFatalFailure()) return;
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunScript(6, 10, c.script);
    if (HasFatalFailure()) return;
  }
}

// Past 256 columns no index table may run out.
TEST_F(GridDifferentialTest, WideGridAgreesWithTheModel) {
  const int steps = EnvironmentNumber("VELMORA_GRID_DIFF_STEPS", 400) / 6;
  for (uint32_t seed : {11u, 12u}) {
    Run(seed, 300, 12, steps, 320);
    if (HasFatalFailure()) return;
  }
}

}  // namespace velmora::testing
