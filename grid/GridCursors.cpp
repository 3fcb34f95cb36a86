#include "grid/GridCursors.h"

#include <string>

#include "platform/ui/Forms.h"
#include "platform/ui/ProgramCursors.h"

using namespace platform;

namespace velmora {

void RegisterGridCursors() {
  static const bool registered = [] {
    for (TCursor number : {crPanNeutral, crPanDown, crPanLeft, crPanRight, crPanUp, crPanUpRight, crPanUpLeft,
                           crPanDownRight, crPanDownLeft, crSelectRow, crSelectColumn, crSelectAll})
      Screen().SetCursors(number, LoadCursor(std::to_string(number)));
    return true;
  }();
  (void)registered;
}

}  // namespace velmora
