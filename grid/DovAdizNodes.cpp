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

void VUraRazuduVova::ContractNode(int ARow) {
  TCellGraphic* node = NodeAtReal(ARow);
  if (!node || node->State) return;
  SetEditorMode(false);
  node->State = true;
  NodeStatesChanged();
  std::vector<int> rows;
  for (int r = ARow + 1; r <= NodeEnd(ARow, *node); ++r) rows.push_back(r);
  HideRowSet(rows, HideCause::Node);
}

void VUraRazuduVova::ExpandNode(int ARow) {
  TCellGraphic* node = NodeAtReal(ARow);
  if (!node || !node->State) return;
  node->State = false;
  NodeStatesChanged();
  // The rows of an inner node that is contracted stay hidden, as do those that the filter or the
  // program hid.
  std::vector<int> rows;
  const int end = NodeEnd(ARow, *node);
  for (int r = ARow + 1; r <= end; ++r) {
    rows.push_back(r);
    if (const TCellGraphic* inner = NodeAtReal(r); inner && inner->State) r = NodeEnd(r, *inner);
  }
  ShowNodeRows(rows);
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
  const std::vector<int> nodes = NodeRows();
  std::vector<int> rows;
  for (int node : nodes) {
    TCellGraphic& graphic = *NodeAtReal(node);
    if (graphic.State) continue;
    graphic.State = true;
    // Rows already hidden (an inner node's) are passed over by the batch.
    for (int r = node + 1, end = NodeEnd(node, graphic); r <= end; ++r) rows.push_back(r);
  }
  NodeStatesChanged();
  HideRowSet(rows, HideCause::Node);
}

void VUraRazuduVova::ExpandAll() {
  if (nodeCount_ == 0) return;
  UpdateGuard lock(*this);
  const std::vector<int> nodes = NodeRows();
  std::vector<int> rows;
  for (int node : nodes) {
    TCellGraphic& graphic = *NodeAtReal(node);
    if (!graphic.State) continue;
    graphic.State = false;
    for (int r = node + 1, end = NodeEnd(node, graphic); r <= end; ++r) rows.push_back(r);
  }
  NodeStatesChanged();
  ShowNodeRows(rows);
}

void VUraRazuduVova::ShowNodeRows(const std::vector<int>& realRows) {
  // A row that an outer node still holds contracted stays hidden.
  const std::vector<std::pair<int, int>> contracted = ContractedRanges();
  const auto held = [&](int r) {
    const auto range = std::lower_bound(contracted.begin(), contracted.end(), r,
                                        [](const std::pair<int, int>& range, int row) { return range.second < row; });
    return range != contracted.end() && range->first <= r;
  };
  std::vector<int> shown;
  for (int r : realRows)
    if (const TGridItem* item = HiddenRow(r); item && item->Cause == HideCause::Node && !held(r)) shown.push_back(r);
  UnHideRowSet(shown);
  if (!filterActive_) return;
  std::vector<int> refused;
  for (int r : shown)
    if (!MatchFilter(DisplRowIndex(r))) refused.push_back(r);
  HideRowSet(refused, HideCause::Filter);
}

std::vector<std::pair<int, int>> VUraRazuduVova::ContractedRanges() const {
  std::vector<std::pair<int, int>> ranges;
  for (int node : NodeRows()) {
    const TCellGraphic& graphic = *NodeAtReal(node);
    if (!graphic.State) continue;
    const int first = node + 1, last = NodeEnd(node, graphic);
    if (last < first) continue;
    if (!ranges.empty() && first <= ranges.back().second + 1)
      ranges.back().second = std::max(ranges.back().second, last);
    else
      ranges.emplace_back(first, last);
  }
  return ranges;
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
