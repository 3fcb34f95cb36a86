#pragma once

#include <optional>

#include "platform/ui/Backend.h"
#include "platform/ui/CursorImage.h"

namespace platform {

// The pictures of the drag cursors, drawn by the project: the arrow with a dashed box (move), the box
// with a plus (copy), and the no-drop sign. Backends that make their own cursor shapes (X11) take them
// from here. The picture of a drag cursor (DragMove, DragCopy, NoDrop); none for the other shapes.
std::optional<CursorImage> DragCursorImage(TBackendCursor cursor);

}  // namespace platform
