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
  const int lastData = RowCount() + NumHiddenRows() - 1 - FixedFooters();
  if (node.NodeSpan > 0) return std::min(ANode + node.NodeSpan, lastData);
  int end = ANode + 1;
  while (end <= lastData && !NodeAtReal(end)) ++end;
  return end - 1;
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

// Each contracted node holds every row it spans, hidden already or not, and expanding releases those
// holds: a row comes back only when no other node, the filter or the program still holds it.
void VUraRazuduVova::ContractNode(int ARow) {
  TCellGraphic* node = NodeAtReal(ARow);
  if (!node || node->State) return;
  SetEditorMode(false);
  node->State = true;
  HideRowSet(NodeRows(ARow, *node), HideCause::Node);
}

void VUraRazuduVova::ExpandNode(int ARow) {
  TCellGraphic* node = NodeAtReal(ARow);
  if (!node || !node->State) return;
  node->State = false;
  UnHideRowSet(NodeRows(ARow, *node), HideCause::Node);
}

std::vector<int> VUraRazuduVova::NodeRows(int ANode, const TCellGraphic& node) const {
  std::vector<int> rows;
  const int end = NodeEnd(ANode, node);
  for (int r = ANode + 1; r <= end; ++r) rows.push_back(r);
  return rows;
}

void VUraRazuduVova::SetNodeState(int ARow, bool Contracted) {
  if (Contracted)
    ContractNode(ARow);
  else
    ExpandNode(ARow);
}

void VUraRazuduVova::ContractAll() {
  UpdateGuard lock(*this);
  for (int r = RowCount() + NumHiddenRows() - 1; r >= 1; --r) ContractNode(r);
}

void VUraRazuduVova::ExpandAll() {
  UpdateGuard lock(*this);
  for (int r = 1; r < RowCount() + NumHiddenRows(); ++r) ExpandNode(r);
}

int VUraRazuduVova::NodeAbove(int ARow) const {
  if (nodeCount_ == 0) return -1;
  for (int r = std::min(ARow, RowCount() - 1); r >= 1; --r)
    if (GraphicOf(0, r) && GraphicOf(0, r)->CellType() == TCellType::ctNode) return r;
  return -1;
}

int VUraRazuduVova::NodeIndent(int ARow) {
  const int above = NodeAbove(ARow);
  if (above < 1 || above == ARow) return 0;
  const TCellGraphic& node = *GraphicOf(0, above);
  return !node.State && RealRowIndex(ARow) <= NodeEnd(RealRowIndex(above), node) ? kNodeIndent : 0;
}

int VUraRazuduVova::GetNodeSpanType(int ARow) const {
  const int above = NodeAbove(ARow);
  if (above < 0 || above == ARow) return 0;
  if (ARow == RowCount() - 1 - FixedFooters()) return 1;
  const TCellGraphic& node = *GraphicOf(0, above);
  return !node.State && NodeEnd(RealRowIndex(above), node) == RealRowIndex(ARow) ? 1 : 2;
}

}  // namespace velmora
