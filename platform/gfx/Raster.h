#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gfx/Colors.h"
#include "platform/gfx/Region.h"

namespace platform {

// Pixel writing for the canvas (internal to platform/gfx). Pixels are 32-bit 0xAARRGGBB values;
// every write here goes through the target's bounds and clip, so a primitive only has to say which
// pixels it covers.

constexpr uint32_t PixelFromColor(TColor rgb) {
  return 0xFF000000u | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
constexpr TColor ColorFromPixel(uint32_t p) {
  return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}

// Binary raster operations (the pen modes), as numbered by the device context.
enum : int {
  R2_BLACK = 1, R2_NOTMERGEPEN, R2_MASKNOTPEN, R2_NOTCOPYPEN, R2_MASKPENNOT, R2_NOT, R2_XORPEN,
  R2_NOTMASKPEN, R2_MASKPEN, R2_NOTXORPEN, R2_NOP, R2_MERGENOTPEN, R2_COPYPEN, R2_MERGEPENNOT,
  R2_MERGEPEN, R2_WHITE
};

// The result of raster operation `rop` on pen pixel p and destination d (colour bits only; the
// result is opaque).
inline uint32_t ApplyRop2(int rop, uint32_t p, uint32_t d) {
  unsigned t = static_cast<unsigned>(rop - 1);
  uint32_t r = ((t & 8) ? (p & d) : 0) | ((t & 4) ? (p & ~d) : 0) | ((t & 2) ? (~p & d) : 0) |
               ((t & 1) ? (~p & ~d) : 0);
  return 0xFF000000u | (r & 0xFFFFFF);
}

struct RasterTarget {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  const Region* clip = nullptr;  // device coordinates; null: the whole target

  // Calls f(x0, x1) for the visible parts of [x0, x1) on row y.
  template <class F>
  void Visible(int y, int x0, int x1, F&& f) const {
    if (y < 0 || y >= height) return;
    if (x0 < 0) x0 = 0;
    if (x1 > width) x1 = width;
    if (x0 >= x1) return;
    if (clip)
      clip->ClipSpan(y, x0, x1, f);
    else
      f(x0, x1);
  }
  bool IsVisible(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height && (!clip || clip->Contains(x, y));
  }
  uint32_t* Row(int y) const { return pixels + static_cast<ptrdiff_t>(y) * width; }
};

void FillSpan(const RasterTarget& t, int y, int x0, int x1, uint32_t pixel, int rop);
void PlotPixel(const RasterTarget& t, int x, int y, uint32_t pixel, int rop);
void PaintRegion(const RasterTarget& t, const Region& region, uint32_t pixel, int rop);

// Blends an opaque `pixel` into the target through an 8-bit coverage mask whose top-left pixel lands
// at (x, y): coverage 0 leaves a pixel alone, any other makes it opaque.
void BlendMask(const RasterTarget& t, int x, int y, const uint8_t* coverage, int width, int height,
               uint32_t pixel);

}  // namespace platform
