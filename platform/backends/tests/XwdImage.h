#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/core/Paths.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Png.h"

namespace platform::test {

// A window dump as xwd writes it (ZPixmap, 32 bits per pixel, or 16 with 5 bits red, 6 green and 5
// blue, each widened to 8 bits by repeating its high bits) as a bitmap; null when it is not one. The
// header is 25 big-endian 32-bit fields, then the window's name, the colour map and the pixels.
inline std::unique_ptr<TBitmap> ReadXwd(const std::string& bytes) {
  const auto field = [&](size_t index) -> uint32_t {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + index * 4;
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
  };
  if (bytes.size() < 100) return nullptr;
  const uint32_t headerSize = field(0), format = field(2), width = field(4), height = field(5);
  const uint32_t byteOrder = field(7), bitsPerPixel = field(11), bytesPerLine = field(12), colours = field(19);
  const size_t start = headerSize + colours * 12;
  if (format != 2 || (bitsPerPixel != 32 && bitsPerPixel != 16) ||
      bytes.size() < start + size_t{bytesPerLine} * height)
    return nullptr;
  const uint32_t pixelBytes = bitsPerPixel / 8;
  auto bitmap = std::make_unique<TBitmap>(static_cast<int>(width), static_cast<int>(height));
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + start + y * bytesPerLine + x * pixelBytes;
      uint32_t value = 0;
      for (uint32_t i = 0; i < pixelBytes; ++i) value |= uint32_t{p[byteOrder == 0 ? i : pixelBytes - 1 - i]} << (8 * i);
      if (bitsPerPixel == 16) {
        const uint32_t r = value >> 11 & 31, g = value >> 5 & 63, b = value & 31;
        value = (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
      }
      bitmap->ScanLine(static_cast<int>(y))[x] = 0xFF000000 | (value & 0xFFFFFF);
    }
  return bitmap;
}

// Keeps the real window's picture and the headless backend's picture of the same form in the artefacts
// folder beside the test binary (under the two names given) and expects them equal pixel for pixel.
inline void ExpectSamePicture(const TBitmap& real, const TBitmap& headless, const std::string& realName,
                              const std::string& headlessName) {
  std::filesystem::create_directories(ExeDir() + "artefacts");
  SavePngFile(real, ExeDir() + "artefacts/" + realName);
  SavePngFile(headless, ExeDir() + "artefacts/" + headlessName);
  ASSERT_EQ(real.Width(), headless.Width());
  ASSERT_EQ(real.Height(), headless.Height());
  int differences = 0;
  for (int y = 0; y < headless.Height(); ++y)
    for (int x = 0; x < headless.Width(); ++x)
      differences += (real.ScanLine(y)[x] & 0xFFFFFF) != (headless.ScanLine(y)[x] & 0xFFFFFF);
  EXPECT_EQ(differences, 0);
}

}  // namespace platform::test
