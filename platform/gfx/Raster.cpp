#include "platform/gfx/Raster.h"

#include <algorithm>

namespace platform {

namespace {

// Fills n pixels with one value: one by one up to a 16-byte boundary, then four 16-byte stores a step,
// which runs at the speed of memory.
void FillPixels(uint32_t* p, size_t n, uint32_t value) {
  using Quad = uint32_t __attribute__((vector_size(16)));
  for (; n > 0 && reinterpret_cast<uintptr_t>(p) % sizeof(Quad) != 0; --n) *p++ = value;
  const Quad quad = {value, value, value, value};
  auto* q = reinterpret_cast<Quad*>(p);
  for (; n >= 16; n -= 16, q += 4) q[0] = q[1] = q[2] = q[3] = quad;
  for (p = reinterpret_cast<uint32_t*>(q); n > 0; --n) *p++ = value;
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
  region.ForEachRect([&](const TRect& r) {
    const int top = std::max(r.Top, 0), bottom = std::min(r.Bottom, t.height);
    if (rop == R2_COPYPEN && !t.clip && r.Left <= 0 && r.Right >= t.width) {
      // Whole rows lie one after another: one fill for all of them.
      if (top < bottom) FillPixels(t.Row(top), static_cast<size_t>(bottom - top) * t.width, pixel);
      return;
    }
    for (int y = top; y < bottom; ++y) FillSpan(t, y, r.Left, r.Right, pixel, rop);
  });
}

void BlendMask(const RasterTarget& t, int x, int y, const uint8_t* coverage, int width, int height,
               uint32_t pixel) {
  // Red and blue blend together in one word, green in another; coverage 0..255 is taken as 0..256.
  const uint32_t srb = pixel & 0xFF00FF, sg = pixel & 0x00FF00;
  for (int row = 0; row < height; ++row) {
    const uint8_t* mask = coverage + static_cast<ptrdiff_t>(row) * width;
    t.Visible(y + row, x, x + width, [&](int a, int b) {
      uint32_t* dst = t.Row(y + row);
      for (int px = a; px < b; ++px) {
        const uint32_t c = mask[px - x];
        if (c == 0) continue;
        if (c == 255) {
          dst[px] = pixel;
          continue;
        }
        const uint32_t w = c + (c >> 7), iw = 256 - w, d = dst[px];
        const uint32_t rb = ((srb * w + (d & 0xFF00FF) * iw) >> 8) & 0xFF00FF;
        const uint32_t g = ((sg * w + (d & 0x00FF00) * iw) >> 8) & 0x00FF00;
        dst[px] = 0xFF000000u | rb | g;
      }
    });
  }
}

}  // namespace platform
