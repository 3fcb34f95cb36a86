#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Backend.h"

namespace platform {

// The pictures of the drag cursors, drawn by the project: the arrow with a dashed box (move), the box
// with a plus (copy), and the no-drop sign. Each row is a string of pixels: '#' black, '.' white, ' '
// transparent. Backends that make their own cursor shapes (X11) take them from here.
struct CursorImage {
  int hotX = 0;
  int hotY = 0;
  std::vector<std::string> rows;  // all of one width
};

// The picture of a drag cursor (DragMove, DragCopy, NoDrop); none for the other shapes.
std::optional<CursorImage> DragCursorImage(TBackendCursor cursor);

}  // namespace platform
