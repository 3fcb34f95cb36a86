// The sorted index of the node rows: real rows of the node cells and how far the expanded ones reach,
// rebuilt once after a change so that every query is a binary search.

#include <algorithm>
#include <climits>

#include "grid/DovAdiz.h"

namespace velmora {

const std::vector<int>& VUraRazuduVova::NodeRows() const {
  NodeIndex& index = nodeIndex_;
  if (!index.rowsStale) return index.rows;
  index.rows.clear();
  if (nodeCount_ > 0) {
    // Shown rows through the string grid's rows with objects, hidden ones through their items.
    for (int r : RowsWithObjects(0, RowCount() - 1)) {
      const TCellGraphic* graphic = GraphicOf(0, r);
      if (graphic && graphic->CellType() == TCellType::ctNode) index.rows.push_back(RealRowIndex(r));
    }
    for (const TGridItem& item : hiddenRows_)
      if (NodeAtReal(item.Idx)) index.rows.push_back(item.Idx);
    std::sort(index.rows.begin(), index.rows.end());
  }
  index.rowsStale = false;
  index.reachStale = true;
  return index.rows;
}

const VUraRazuduVova::NodeIndex& VUraRazuduVova::Nodes() const {
  NodeIndex& index = nodeIndex_;
  const std::vector<int>& rows = NodeRows();
  if (!index.reachStale) return index;
  index.reach.clear();
  int reach = -1;
  for (size_t k = 0; k < rows.size(); ++k) {
    const TCellGraphic& node = *NodeAtReal(rows[k]);
    if (!node.State) {
      const int end = node.NodeSpan > 0    ? rows[k] + node.NodeSpan
                      : k + 1 < rows.size() ? rows[k + 1] - 1
                                            : INT_MAX;
      reach = std::max(reach, end);
    }
    index.reach.push_back(reach);
  }
  index.reachStale = false;
  return index;
}

int VUraRazuduVova::NodeAbove(int ARealRow) const {
  const std::vector<int>& rows = NodeRows();
  return static_cast<int>(std::upper_bound(rows.begin(), rows.end(), ARealRow) - rows.begin()) - 1;
}

// Real rows change their places in these; hiding and showing rows moves them whole and keeps them.
void VUraRazuduVova::ColumnMoved(int FromIndex, int ToIndex) {
  NodesChanged();
  TBaseGrid::ColumnMoved(FromIndex, ToIndex);
}

void VUraRazuduVova::RowMoved(int FromIndex, int ToIndex) {
  NodesChanged();
  TBaseGrid::RowMoved(FromIndex, ToIndex);
}

void VUraRazuduVova::RowsInserted(int At, int Count) {
  NodesChanged();
  TBaseGrid::RowsInserted(At, Count);
}

void VUraRazuduVova::RowsDeleted(int At, int Count) {
  NodesChanged();
  TBaseGrid::RowsDeleted(At, Count);
}

void VUraRazuduVova::RowsSwapped(int ARow1, int ARow2) {
  NodesChanged();
  TBaseGrid::RowsSwapped(ARow1, ARow2);
}

void VUraRazuduVova::RowSetDeleted(const std::vector<int>& Rows) {
  if (!MovingRowWhole()) NodesChanged();
  TBaseGrid::RowSetDeleted(Rows);
}

void VUraRazuduVova::RowSetInserted(const std::vector<int>& Positions) {
  if (!MovingRowWhole()) NodesChanged();
  TBaseGrid::RowSetInserted(Positions);
}

}  // namespace velmora
