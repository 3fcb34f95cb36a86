#pragma once

#include <string_view>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Geometry.h"

namespace platform {

// A cursor file (.cur): an icon file of type 2 whose directory entries hold the hot spot in place of an
// icon's planes and bit count. Its first image becomes the picture (alpha defined by the mask); returns
// the hot spot. Raises EInvalidGraphic "Cursor image is not valid".
TPoint DecodeCursorFile(std::string_view data, TBitmap& picture);

}  // namespace platform
