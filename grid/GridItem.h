#pragma once

#include <cstdint>

#include "platform/grids/Grids.h"

namespace velmora {

// Who hides a row: the program (HideRows and the like), the filter or a contracted node.
enum class HideCause : uint8_t { User, Filter, Node };

// Every cause that holds a hidden row; the row stays hidden while any of them does. Nodes counts the
// contracted nodes whose rows it lies in, so an inner node and its outer one, or two overlapping
// ones, each keep it hidden until both are expanded.
struct THideCauses {
  bool User = false;
  bool Filter = false;
  int Nodes = 0;

  bool Any() const { return User || Filter || Nodes > 0; }
  bool Has(HideCause Cause) const {
    return Cause == HideCause::User ? User : Cause == HideCause::Filter ? Filter : Nodes > 0;
  }
  void Add(HideCause Cause) {
    switch (Cause) {
      case HideCause::User: User = true; break;
      case HideCause::Filter: Filter = true; break;
      case HideCause::Node: ++Nodes; break;
    }
  }
  // Drops one hold of Cause (one node's for HideCause::Node).
  void Release(HideCause Cause) {
    switch (Cause) {
      case HideCause::User: User = false; break;
      case HideCause::Filter: Filter = false; break;
      case HideCause::Node: Nodes = Nodes > 0 ? Nodes - 1 : 0; break;
    }
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
