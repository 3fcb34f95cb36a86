#pragma once

#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

namespace platform::test {

// The colour of a bitmap's pixel, whatever its canvas's clip and origin.
inline TColor PixelAt(const TBitmap& bitmap, int x, int y) {
  const uint32_t p = bitmap.ScanLine(y)[x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A small bitmap as text, one line per row: '.' white, '#' black, 'r' red, 'g' gray, 's' silver,
// 'b' blue, '?' any other colour. Pixel-exact tests compare drawings as pictures.
inline std::string Art(const TBitmap& bitmap) {
  std::string out;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      switch (PixelAt(bitmap, x, y)) {
        case clWhite: out += '.'; break;
        case clBlack: out += '#'; break;
        case clRed: out += 'r'; break;
        case clGray: out += 'g'; break;
        case clSilver: out += 's'; break;
        case clBlue: out += 'b'; break;
        default: out += '?';
      }
    }
    out += '\n';
  }
  return out;
}

// Joins rows given one per argument into the text Art produces.
template <class... Texts>
std::string Rows(Texts... rows) {
  return ((std::string(rows) + '\n') + ...);
}

}  // namespace platform::test
