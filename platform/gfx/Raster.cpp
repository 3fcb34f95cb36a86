#include "platform/gfx/Raster.h"

#include <algorithm>
#include <cstring>

#include <emmintrin.h>

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

namespace {

// Every channel in a 16-bit lane: a channel is (s * w + d * (256 - w)) / 256, at most 255 * 256, so no
// lane overflows. Colour channels take coverage 0..255 as w = 0..256; the alpha channel takes w = 256
// where the coverage is not 0 (the pixel becomes opaque) and 0 where it is (the pixel stays as it
// was), so no pixel needs a branch. `c` holds the coverage in all four lanes of each of two pixels,
// `source` and `d` their pixels.
__m128i BlendLanes(__m128i c, __m128i d, __m128i source) {
  const __m128i alpha = _mm_set1_epi64x(static_cast<long long>(0xFFFF000000000000ull)), full = _mm_set1_epi16(256);
  const __m128i covered = _mm_andnot_si128(_mm_cmpeq_epi16(c, _mm_setzero_si128()), full);
  const __m128i w = _mm_or_si128(_mm_andnot_si128(alpha, _mm_add_epi16(c, _mm_srli_epi16(c, 7))),
                                 _mm_and_si128(alpha, covered));
  const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(source, w), _mm_mullo_epi16(d, _mm_sub_epi16(full, w)));
  return _mm_srli_epi16(sum, 8);
}

// Blends four pixels with their four coverage bytes.
inline __attribute__((always_inline)) void BlendQuad(uint32_t* dst, uint32_t coverage, __m128i source) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i pairs = _mm_cvtsi32_si128(static_cast<int>(coverage));
  const __m128i quads = _mm_unpacklo_epi8(_mm_unpacklo_epi8(pairs, pairs), _mm_unpacklo_epi8(pairs, pairs));
  const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
  const __m128i low = BlendLanes(_mm_unpacklo_epi8(quads, zero), _mm_unpacklo_epi8(pixels, zero), source);
  const __m128i high = BlendLanes(_mm_unpackhi_epi8(quads, zero), _mm_unpackhi_epi8(pixels, zero), source);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(low, high));
}

// Blends one row of coverage into dst[0, n) four pixels at a time; the last one to three go through a
// quad of their own. Where the coverage is 0 the pixels stay as they are and are not touched.
inline __attribute__((always_inline)) void BlendRow(uint32_t* dst, const uint8_t* mask, int n, __m128i source) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    uint32_t coverage;
    std::memcpy(&coverage, mask + i, 4);
    if (coverage != 0) BlendQuad(dst + i, coverage, source);
  }
  // Spelt out rather than looped: a loop here becomes a call to memcpy, which costs more than the blend.
  const int rest = n - i;
  if (rest == 0) return;
  dst += i;
  mask += i;
  uint32_t coverage = mask[0], pixels[4] = {dst[0], 0, 0, 0};
  if (rest > 1) coverage |= uint32_t{mask[1]} << 8, pixels[1] = dst[1];
  if (rest > 2) coverage |= uint32_t{mask[2]} << 16, pixels[2] = dst[2];
  if (coverage == 0) return;
  BlendQuad(pixels, coverage, source);
  dst[0] = pixels[0];
  if (rest > 1) dst[1] = pixels[1];
  if (rest > 2) dst[2] = pixels[2];
}

}  // namespace

void BlendMask(const RasterTarget& t, int x, int y, const uint8_t* coverage, int width, int height,
               uint32_t pixel) {
  const __m128i source = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(pixel)), _mm_setzero_si128());
  // The mask cut to the bitmap, and to the clip when that is one rectangle: then every row is one span
  // and the clip is not looked up per row.
  TRect box{std::max(x, 0), std::max(y, 0), std::min(x + width, t.width), std::min(y + height, t.height)};
  const bool oneRect = !t.clip || t.clip->IsRect();
  if (t.clip && oneRect) {
    const TRect clip = t.clip->Box();
    box = {std::max(box.Left, clip.Left), std::max(box.Top, clip.Top), std::min(box.Right, clip.Right),
           std::min(box.Bottom, clip.Bottom)};
  }
  if (box.Left >= box.Right || box.Top >= box.Bottom) return;
  for (int row = box.Top; row < box.Bottom; ++row) {
    const uint8_t* mask = coverage + static_cast<ptrdiff_t>(row - y) * width;
    uint32_t* dst = t.Row(row);
    if (oneRect)
      BlendRow(dst + box.Left, mask + (box.Left - x), box.Right - box.Left, source);
    else
      t.clip->ClipSpan(row, box.Left, box.Right, [&](int a, int b) { BlendRow(dst + a, mask + (a - x), b - a, source); });
  }
}

}  // namespace platform
