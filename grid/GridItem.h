#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/grids/Grids.h"

namespace velmora {

// Who hides a row: the program (HideRows and the like), the filter or a contracted node.
enum class HideCause : uint8_t { User, Filter, Node };

// Every cause that holds a hidden row; the row stays hidden while any of them does. Nodes names the
// holds of the contracted nodes whose rows it lies in, by hold id (one per contraction): an inner node
// and its outer one, or two overlapping ones, each keep it hidden until both are expanded, and a node
// gives up only the holds it took, whatever nodes come, go or move around it meanwhile.
struct THideCauses {
  bool User = false;
  bool Filter = false;
  std::vector<int> Nodes;

  bool Any() const { return User || Filter || !Nodes.empty(); }
  bool Has(HideCause Cause) const {
    return Cause == HideCause::User ? User : Cause == HideCause::Filter ? Filter : !Nodes.empty();
  }
  // The program's or the filter's hold.
  void Add(HideCause Cause) {
    if (Cause == HideCause::User) User = true;
    if (Cause == HideCause::Filter) Filter = true;
  }
  void Release(HideCause Cause) {
    if (Cause == HideCause::User) User = false;
    if (Cause == HideCause::Filter) Filter = false;
  }
  void Join(const THideCauses& more) {
    User = User || more.User;
    Filter = Filter || more.Filter;
    Nodes.insert(Nodes.end(), more.Nodes.begin(), more.Nodes.end());
  }
  // Drops the node holds whose ids `holds` (sorted) names; true when one was dropped.
  bool ReleaseHolds(const std::vector<int>& holds) {
    return std::erase_if(Nodes, [&](int hold) { return std::binary_search(holds.begin(), holds.end(), hold); }) > 0;
  }
};

// A hidden row of the grid object: the storage row taken out of the string grid whole (texts and
// objects of every real column, property objects included, and its height), its row-select mark and
// its real index. The grid owns its items; an item owns its row's property objects while it exists.
struct TGridItem {
  int Idx = 0;  // the real row index
  THideCauses Causes;
  bool Marked = false;  // the row's entry of the row-select list
  platform::TStringGrid::TTakenRow Row;

  const std::string& Cell(int ACol) const { return platform::TStringGrid::TakenText(Row, ACol); }
  void* Object(int ACol) const { return platform::TStringGrid::TakenObject(Row, ACol); }
};

}  // namespace velmora
