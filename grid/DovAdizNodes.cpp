// Tree nodes in column 0: adding and removing them, contracting and expanding the rows they hold.

#include <algorithm>
#include <vector>

#include "grid/DovAdiz.h"

using namespace platform;

namespace velmora {

namespace {

constexpr int kNodeIndent = 16;

}  // namespace

TCellGraphic* VUraRazuduVova::NodeAtReal(int ARealRow) const {
  const TCellGraphic* graphic = nullptr;
  if (const TGridItem* item = HiddenRow(ARealRow)) {
    if (const auto* props = static_cast<const TCellProperties*>(item->Object(0)))
      graphic = static_cast<const TCellGraphic*>(props->GraphicObject);
  } else if (ARealRow >= 0) {
    graphic = GraphicOf(0, DisplRowIndex(ARealRow));
  }
  return graphic && graphic->CellType() == TCellType::ctNode ? const_cast<TCellGraphic*>(graphic) : nullptr;
}

int VUraRazuduVova::NodeEnd(int ANode, const TCellGraphic& node) const {
  const int lastData = LastDataRealRow();
  if (node.NodeSpan > 0) return std::min(ANode + node.NodeSpan, lastData);
  const std::vector<int>& rows = NodeRows();
  const auto next = std::upper_bound(rows.begin(), rows.end(), ANode);
  return next == rows.end() ? lastData : std::min(*next - 1, lastData);
}

void VUraRazuduVova::AddNode(int ARow, int Span) {
  const bool first = nodeCount_ == 0;
  TCellGraphic* node = MakeCellGraphic(0, ARow, TCellType::ctNode);
  if (!node) return;
  node->NodeSpan = Span;
  node->HAlign = TCellHAlign::haBeforeText;
  node->VAlign = TCellVAlign::vaCenter;
  if (first) RepaintCol(0);
  if (Col() == 0 && ColCount() > 1) SetCol(1);
}

bool VUraRazuduVova::IsNode(int ARow) const { return NodeAtReal(RealRowIndex(ARow)) != nullptr; }

bool VUraRazuduVova::GetNodeState(int ARow) const {
  const TCellGraphic* node = NodeAtReal(RealRowIndex(ARow));
  return node && node->State;
}

int VUraRazuduVova::GetNodeSpan(int ARow) const {
  const TCellGraphic* node = NodeAtReal(RealRowIndex(ARow));
  return node ? node->NodeSpan : -1;
}

bool VUraRazuduVova::RemoveNode(int ARow) {
  if (!IsNode(ARow)) return false;
  ExpandNode(RealRowIndex(ARow));
  return RemoveCellGraphic(0, ARow, TCellType::ctNode);
}

// Each contracted node holds every row it spans, hidden already or not, and expanding gives up those
// holds: a row comes back only when no other node, the filter or the program still holds it.
void VUraRazuduVova::ContractNode(int ARow) {
  TCellGraphic* node = NodeAtReal(ARow);
  if (!node || node->State) return;
  SetEditorMode(false);
  node->State = true;
  node->NodeHold = ++lastNodeHold_;
  NodeStatesChanged();
  std::vector<std::pair<int, int>> holds;
  for (int r : NodeHeldRows(ARow, *node)) holds.emplace_back(r, node->NodeHold);
  HoldNodeRows(std::move(holds));
}

void VUraRazuduVova::ExpandNode(int ARow) {
  TCellGraphic* node = NodeAtReal(ARow);
  if (!node || !node->State) return;
  const int hold = node->NodeHold;
  node->State = false;
  node->NodeHold = 0;
  NodeStatesChanged();
  // The rows it holds lie after it: a node row that moves gives up its holds first.
  ShowNodeRows({hold}, ARow + 1);
}

std::vector<int> VUraRazuduVova::NodeHeldRows(int ANode, const TCellGraphic& node) const {
  std::vector<int> rows;
  const int end = NodeEnd(ANode, node);
  for (int r = ANode + 1; r <= end; ++r) rows.push_back(r);
  return rows;
}

std::vector<int> VUraRazuduVova::GiveUpNodeHolds(const std::vector<int>& nodeRealRows) {
  if (nodeCount_ == 0) return {};
  std::vector<int> holds;
  for (int r : nodeRealRows) {
    TCellGraphic* node = NodeAtReal(r);
    if (!node || !node->State) continue;
    holds.push_back(node->NodeHold);
    node->State = false;
    node->NodeHold = 0;
  }
  if (!holds.empty()) NodeStatesChanged();
  return holds;
}

std::vector<int> VUraRazuduVova::GiveUpNodeHoldsIn(int AFrom, int ATo) {
  if (nodeCount_ == 0) return {};
  std::vector<int> nodes;
  for (int r : RowsWithObjects(std::max(AFrom, 0), std::min(ATo, RowCount() - 1))) {
    const TCellGraphic* graphic = GraphicOf(0, r);
    if (graphic && graphic->CellType() == TCellType::ctNode && graphic->State) nodes.push_back(RealRowIndex(r));
  }
  return GiveUpNodeHolds(nodes);
}

std::vector<int> VUraRazuduVova::GiveUpAllNodeHolds() {
  if (nodeCount_ == 0) return {};
  return GiveUpNodeHolds(NodeRows());
}

void VUraRazuduVova::SetNodeState(int ARow, bool Contracted) {
  if (Contracted)
    ContractNode(ARow);
  else
    ExpandNode(ARow);
}

// Both in one batch over every node; the result is that of contracting each node from the last row
// up (or expanding each from the first row down).
void VUraRazuduVova::ContractAll() {
  if (nodeCount_ == 0) return;
  UpdateGuard lock(*this);
  SetEditorMode(false);
  std::vector<std::pair<int, int>> holds;
  for (int node : NodeRows()) {
    if (node == 0) continue;  // both start at the second real row
    TCellGraphic& graphic = *NodeAtReal(node);
    if (graphic.State) continue;
    graphic.State = true;
    graphic.NodeHold = ++lastNodeHold_;
    // A row of nested nodes takes a hold of each.
    for (int r : NodeHeldRows(node, graphic)) holds.emplace_back(r, graphic.NodeHold);
  }
  NodeStatesChanged();
  HoldNodeRows(std::move(holds));
}

void VUraRazuduVova::ExpandAll() {
  if (nodeCount_ == 0) return;
  UpdateGuard lock(*this);
  std::vector<int> holds;
  int first = -1;
  for (int node : NodeRows()) {
    if (node == 0) continue;  // both start at the second real row
    TCellGraphic& graphic = *NodeAtReal(node);
    if (!graphic.State) continue;
    if (first < 0) first = node;
    holds.push_back(graphic.NodeHold);
    graphic.State = false;
    graphic.NodeHold = 0;
  }
  NodeStatesChanged();
  ShowNodeRows(holds, first + 1);
}

void VUraRazuduVova::HoldNodeRows(std::vector<std::pair<int, int>> holds) {
  // One node's rows, or nodes that do not nest, come in order already.
  if (!std::is_sorted(holds.begin(), holds.end())) std::sort(holds.begin(), holds.end());
  const int realCount = RowCount() + NumHiddenRows();
  std::vector<int> rows;
  std::vector<THideCauses> causes;
  for (const auto& [row, hold] : holds) {
    if (row < 0 || row >= realCount) continue;
    if (rows.empty() || rows.back() != row) {
      rows.push_back(row);
      causes.emplace_back();
    }
    causes.back().Nodes.push_back(hold);
  }
  HoldRows(rows, std::move(causes));
}

void VUraRazuduVova::ShowNodeRows(const std::vector<int>& holds, int AFrom) {
  if (holds.empty() || hiddenRows_.empty()) return;
  std::vector<int> ids(holds);
  std::sort(ids.begin(), ids.end());
  const auto byIdx = [](const TGridItem& item, int row) { return item.Idx < row; };
  std::vector<size_t> items;
  std::vector<int> shown;
  for (size_t k = std::lower_bound(hiddenRows_.begin(), hiddenRows_.end(), AFrom, byIdx) - hiddenRows_.begin();
       k < hiddenRows_.size(); ++k) {
    TGridItem& item = hiddenRows_[k];
    if (item.Causes.Nodes.empty() || !item.Causes.ReleaseHolds(ids) || item.Causes.Any()) continue;
    items.push_back(k);
    shown.push_back(item.Idx);
  }
  ShowItems(items);
  if (!filterActive_) return;
  std::vector<int> refused;
  for (int r : shown)
    if (!MatchFilter(DisplRowIndex(r))) refused.push_back(r);
  HideRowSet(refused, HideCause::Filter);
}

int VUraRazuduVova::NodeIndent(int ARow) {
  if (nodeCount_ == 0 || ARow < 1) return 0;
  const int real = RealRowIndex(ARow);
  const int above = NodeAbove(real);
  if (above < 0 || NodeRows()[above] == real) return 0;
  return std::min(Nodes().reach[above], LastDataRealRow()) >= real ? kNodeIndent : 0;
}

int VUraRazuduVova::GetNodeSpanType(int ARow) const {
  if (nodeCount_ == 0) return 0;
  const int real = RealRowIndex(ARow);
  const int above = NodeAbove(real);
  if (above < 0 || NodeRows()[above] == real) return 0;
  if (ARow == RowCount() - 1 - FixedFooters()) return 1;
  const int nodeRow = NodeRows()[above];
  const TCellGraphic& node = *NodeAtReal(nodeRow);
  return !node.State && NodeEnd(nodeRow, node) == real ? 1 : 2;
}

}  // namespace velmora
