#include <functional>
#include <string>
#include <vector>

#include "grid/tests/DovAdizFixture.h"

namespace velmora::testing {
namespace {

using NodeIndexTest = DovAdizTest;

// The node at a real row, shown or hidden.
const TCellGraphic* NodeAt(TTestDovAdiz& grid, int ARealRow) {
  const TCellGraphic* graphic = nullptr;
  if (const TGridItem* item = grid.HiddenRow(ARealRow)) {
    if (const auto* props = static_cast<const TCellProperties*>(item->Object(0)))
      graphic = static_cast<const TCellGraphic*>(props->GraphicObject);
  } else {
    graphic = grid.GetCellGraphic(0, grid.DisplRowIndex(ARealRow));
  }
  return graphic && graphic->CellType() == TCellType::ctNode ? graphic : nullptr;
}

// The indent a row gets by its definition, searched over every node above it: 16 when an expanded
// node above reaches the row (its span, or up to the next node when the span is 0, never past the
// last data row), 0 for node rows and rows outside every node.
int IndentByDefinition(TTestDovAdiz& grid, int ARow) {
  if (ARow < 1) return 0;
  const int realRows = grid.RowCount() + grid.NumHiddenRows();
  const int lastData = realRows - 1 - grid.FixedFooters();
  const int real = grid.RealRowIndex(ARow);
  std::vector<int> nodes;
  for (int r = 0; r < realRows; ++r)
    if (NodeAt(grid, r)) nodes.push_back(r);
  if (NodeAt(grid, real)) return 0;
  for (size_t k = 0; k < nodes.size() && nodes[k] < real; ++k) {
    const TCellGraphic& node = *NodeAt(grid, nodes[k]);
    if (node.State) continue;
    const int end = node.NodeSpan > 0 ? nodes[k] + node.NodeSpan : k + 1 < nodes.size() ? nodes[k + 1] - 1 : lastData;
    if (std::min(end, lastData) >= real) return 16;
  }
  return 0;
}

// The indents follow every change of the rows: each step is checked on every row against the
// definition, so an index that missed a change shows.
TEST_F(NodeIndexTest, IndentsFollowEveryChangeOfTheRows) {
  grid_->SetRowCount(16);
  grid_->SetFixedFooters(1);
  for (int r = 1; r < 16; ++r) grid_->SetCells(1, r, std::to_string(100 - r));
  grid_->AddNode(1, 12);  // an outer node holding an inner one
  grid_->AddNode(3, 2);
  grid_->AddNode(9, 0);
  const auto contractSpanOf = [&](int span) {
    for (int r = 1; r < grid_->RowCount(); ++r)
      if (grid_->GetNodeSpan(r) == span) return grid_->ContractNode(grid_->RealRowIndex(r));
  };
  const std::vector<std::pair<std::string, std::function<void()>>> steps = {
      {"nested", [] {}},
      {"insert", [&] { grid_->InsertRows(2, 2); }},      // nodes at 1, 5, 11
      {"swap", [&] { grid_->SwapRows(5, 7); }},          // the inner node to 7
      {"move", [&] { grid_->MoveRow(11, 3); }},          // the last node to 3
      {"contract inner", [&] { contractSpanOf(2); }},
      {"hide", [&] { grid_->HideRow(13); }},
      {"contract outer", [&] { contractSpanOf(12); }},
      {"sort", [&] { grid_->SortSettings().Column = 1, grid_->QSort(); }},
      {"contract all", [&] { grid_->ContractAll(); }},
      {"expand all", [&] { grid_->ExpandAll(); }},
      {"remove", [&] { grid_->RemoveRows(1, 2); }},
      {"add node", [&] { grid_->AddNode(12, 1); }},
      {"remove node", [&] { grid_->RemoveNode(3); }},
      {"footers", [&] { grid_->SetFixedFooters(3); }},
  };
  for (const auto& [name, step] : steps) {
    SCOPED_TRACE(name);
    step();
    for (int r = 0; r < grid_->RowCount(); ++r) EXPECT_EQ(grid_->NodeIndent(r), IndentByDefinition(*grid_, r)) << r;
  }
}

TEST_F(NodeIndexTest, RowsAfterAnInnerNodeStayIndentedByTheOuterOne) {
  grid_->SetRowCount(10);
  grid_->AddNode(1, 7);  // rows 2..8
  grid_->AddNode(3, 2);  // rows 4, 5
  const int indents[] = {0, 0, 16, 0, 16, 16, 16, 16, 16, 0};
  for (int r = 0; r < 10; ++r) EXPECT_EQ(grid_->NodeIndent(r), indents[r]) << r;
  // The span type follows the nearest node: row 5 ends the inner node, row 8 the outer.
  EXPECT_EQ(grid_->GetNodeSpanType(5), 1);
  EXPECT_EQ(grid_->GetNodeSpanType(6), 2);
}

}  // namespace
}  // namespace velmora::testing
