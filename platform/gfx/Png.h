#pragma once

#include <string>
#include <string_view>

#include "platform/gfx/Bitmap.h"

namespace platform {

// A bitmap as a PNG file (RGB, or RGBA when its alpha format is defined), for screenshots, and the
// PNG files of icon themes as bitmaps.
std::string PngBytes(const TBitmap& bitmap);
// Raises EInvalidGraphic for an empty bitmap, EFCreateError when the file cannot be written.
void SavePngFile(const TBitmap& bitmap, const std::string& fileName);
// The PNG data as the bitmap's content, its alpha format defined. Raises EInvalidGraphic "PNG image is
// not valid" for data that is no PNG image.
void LoadPngBytes(TBitmap& bitmap, std::string_view data);

}  // namespace platform
