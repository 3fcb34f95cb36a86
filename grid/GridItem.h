#pragma once

#include <cstdint>

#include "platform/grids/Grids.h"

namespace velmora {

// Who hid a row: the program (HideRows and the like), the filter or a contracted node; the filter and
// a node that expands show again only the rows they hid themselves.
enum class HideCause : uint8_t { User, Filter, Node };

// A hidden row of the grid object: the storage row taken out of the string grid whole (texts and
// objects of every real column, property objects included, and its height), its row-select mark and
// its real index. The grid owns its items; an item owns its row's property objects while it exists.
struct TGridItem {
  int Idx = 0;  // the real row index
  HideCause Cause = HideCause::User;
  bool Marked = false;  // the row's entry of the row-select list
  platform::TStringGrid::TTakenRow Row;

  const std::string& Cell(int ACol) const { return platform::TStringGrid::TakenText(Row, ACol); }
  void* Object(int ACol) const { return platform::TStringGrid::TakenObject(Row, ACol); }
};

}  // namespace velmora
