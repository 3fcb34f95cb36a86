#include <gtest/gtest.h>

#include <vector>

#include "platform/gfx/Raster.h"

namespace platform {
namespace {

// One pixel blended the plain way: coverage 0 keeps it, 255 gives the source, any other mixes red and
// blue in one word and green in another, with coverage 0..255 taken as 0..256, and makes it opaque.
uint32_t Reference(uint32_t source, uint32_t d, uint32_t c) {
  if (c == 0) return d;
  if (c == 255) return source;
  const uint32_t w = c + (c >> 7), iw = 256 - w;
  const uint32_t rb = (((source & 0xFF00FF) * w + (d & 0xFF00FF) * iw) >> 8) & 0xFF00FF;
  const uint32_t g = (((source & 0x00FF00) * w + (d & 0x00FF00) * iw) >> 8) & 0x00FF00;
  return 0xFF000000u | rb | g;
}

// Every coverage value over destinations of every kind (translucent ones too), in masks of widths that
// leave every remainder after groups of four, placed across the bitmap's edges and through clips of one
// rectangle and of several spans: each pixel as the plain blend gives it, and only where the mask lands
// inside the clip.
TEST(BlendMaskTest, GivesThePlainBlendOfEveryPixelWithinBitmapAndClip) {
  constexpr int kW = 23, kH = 9;
  const uint32_t source = 0xFF1E90C8;
  Region spans = Region(Rect(0, 0, 5, kH));
  spans.Unite(Region(Rect(9, 2, 17, 7)));
  const Region& twoSpans = spans;
  const Region rect(Rect(3, 1, 20, 8));
  for (const Region* clip : {static_cast<const Region*>(nullptr), &rect, &twoSpans})
    for (int width = 1; width <= 9; ++width)
      for (const TPoint at : {TPoint{-2, -1}, TPoint{4, 2}, TPoint{kW - width + 2, kH - 3}}) {
        std::vector<uint32_t> pixels(kW * kH), expected;
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 0x9E3779B1u);
        expected = pixels;
        const int height = 5;
        std::vector<uint8_t> coverage(static_cast<size_t>(width * height));
        for (size_t i = 0; i < coverage.size(); ++i) coverage[i] = static_cast<uint8_t>(i * 37 + width);
        for (int y = 0; y < height; ++y)
          for (int x = 0; x < width; ++x) {
            const int px = at.X + x, py = at.Y + y;
            if (px < 0 || py < 0 || px >= kW || py >= kH || (clip && !clip->Contains(px, py))) continue;
            uint32_t& e = expected[static_cast<size_t>(py * kW + px)];
            e = Reference(source, e, coverage[static_cast<size_t>(y * width + x)]);
          }
        const RasterTarget target{pixels.data(), kW, kH, clip};
        BlendMask(target, at.X, at.Y, coverage.data(), width, height, source);
        ASSERT_EQ(pixels, expected) << "width " << width << " at " << at.X << "," << at.Y;
      }
}

// Every coverage value against the same destinations, so that no value is missed by the pattern above.
TEST(BlendMaskTest, EveryCoverageValueBlendsAsThePlainWay) {
  std::vector<uint8_t> coverage(256);
  for (int c = 0; c < 256; ++c) coverage[static_cast<size_t>(c)] = static_cast<uint8_t>(c);
  for (const uint32_t d : {0x00000000u, 0x80FFFFFFu, 0xFF102030u, 0x7F00FF00u}) {
    std::vector<uint32_t> pixels(256, d);
    BlendMask(RasterTarget{pixels.data(), 256, 1, nullptr}, 0, 0, coverage.data(), 256, 1, 0xFFFF8000u);
    for (uint32_t c = 0; c < 256; ++c) ASSERT_EQ(pixels[c], Reference(0xFFFF8000u, d, c)) << "coverage " << c;
  }
}

// Masks with stretches of no coverage where a glyph has no ink: whole rows, groups of four and the last
// one to three pixels. Those pixels keep their value, alpha included; the rest blend as ever.
TEST(BlendMaskTest, PixelsUnderNoCoverageKeepTheirValue) {
  constexpr int kW = 11, kH = 4;
  const uint8_t coverage[kH][kW] = {
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, 0, 9, 0, 255, 0, 0, 0, 0},
      {40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 77},
      {0, 0, 0, 0, 0, 0, 0, 0, 128, 0, 0},
  };
  std::vector<uint32_t> pixels(kW * kH), expected;
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 0x9E3779B1u) & 0x7FFFFFFFu;
  expected = pixels;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      uint32_t& e = expected[static_cast<size_t>(y * kW + x)];
      e = Reference(0xFF336699u, e, coverage[y][x]);
    }
  BlendMask(RasterTarget{pixels.data(), kW, kH, nullptr}, 0, 0, &coverage[0][0], kW, kH, 0xFF336699u);
  EXPECT_EQ(pixels, expected);
}

}  // namespace
}  // namespace platform
