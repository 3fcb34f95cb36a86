#pragma once

#include "platform/backends/X11Connection.h"
#include "platform/ui/CursorImage.h"

namespace platform {

// A two-colour X cursor (a pixmap cursor) made from a picture of the program: black and white pixels
// with the transparent ones masked out, pointing at the picture's hot spot. 0 for an empty picture.
unsigned long CreateImageCursor(X11Connection& connection, const CursorImage& image);

}  // namespace platform
