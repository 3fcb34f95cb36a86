#pragma once

#include <string>

#include "platform/gfx/Bitmap.h"

namespace platform {

// A bitmap as a PNG file (RGB, or RGBA when its alpha format is defined), for screenshots.
std::string PngBytes(const TBitmap& bitmap);
// Raises EInvalidGraphic for an empty bitmap, EFCreateError when the file cannot be written.
void SavePngFile(const TBitmap& bitmap, const std::string& fileName);

}  // namespace platform
