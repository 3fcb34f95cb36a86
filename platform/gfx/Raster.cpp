#include "platform/gfx/Raster.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// Fills n pixels with one value: a few by hand, then by doubling copies of what is already filled,
// which run at memcpy's speed.
void FillPixels(uint32_t* p, size_t n, uint32_t value) {
  size_t filled = std::min<size_t>(n, 16);
  std::fill(p, p + filled, value);
  while (filled < n) {
    const size_t chunk = std::min(filled, n - filled);
    std::memcpy(p + filled, p, chunk * sizeof *p);
    filled += chunk;
  }
}

}  // namespace

void FillSpan(const RasterTarget& t, int y, int x0, int x1, uint32_t pixel, int rop) {
  t.Visible(y, x0, x1, [&](int a, int b) {
    uint32_t* row = t.Row(y);
    if (rop == R2_COPYPEN) {
      FillPixels(row + a, static_cast<size_t>(b - a), pixel);
    } else {
      for (int x = a; x < b; ++x) row[x] = ApplyRop2(rop, pixel, row[x]);
    }
  });
}

void PlotPixel(const RasterTarget& t, int x, int y, uint32_t pixel, int rop) {
  if (!t.IsVisible(x, y)) return;
  uint32_t& d = t.Row(y)[x];
  d = rop == R2_COPYPEN ? pixel : ApplyRop2(rop, pixel, d);
}

void PaintRegion(const RasterTarget& t, const Region& region, uint32_t pixel, int rop) {
  region.ForEachSpan([&](int y, int x0, int x1) { FillSpan(t, y, x0, x1, pixel, rop); });
}

void BlendMask(const RasterTarget& t, int x, int y, const uint8_t* coverage, int width, int height,
               uint32_t pixel) {
  const uint32_t sr = (pixel >> 16) & 0xFF, sg = (pixel >> 8) & 0xFF, sb = pixel & 0xFF;
  for (int row = 0; row < height; ++row) {
    const uint8_t* mask = coverage + static_cast<ptrdiff_t>(row) * width;
    t.Visible(y + row, x, x + width, [&](int a, int b) {
      uint32_t* dst = t.Row(y + row);
      for (int px = a; px < b; ++px) {
        unsigned c = mask[px - x];
        if (c == 0) continue;
        if (c == 255) {
          dst[px] = pixel;
          continue;
        }
        uint32_t d = dst[px];
        auto mix = [c](uint32_t s, uint32_t v) { return (s * c + v * (255 - c) + 127) / 255; };
        dst[px] = 0xFF000000u | (mix(sr, (d >> 16) & 0xFF) << 16) | (mix(sg, (d >> 8) & 0xFF) << 8) |
                  mix(sb, d & 0xFF);
      }
    });
  }
}

}  // namespace platform
