#pragma once

#include <string_view>

#include "platform/ui/CursorImage.h"

namespace platform {

// The cursor of the program's CURSOR resource of that name (a .cur file, drawn in black, white and
// transparent pixels), made once and kept for the program's life, for TScreen::SetCursors; null when
// the program has no such resource. Pixels are taken as black or white by their brightness. Raises
// EInvalidGraphic "Cursor image is not valid" for a resource that is no cursor.
HCURSOR LoadCursor(std::string_view name);

}  // namespace platform
