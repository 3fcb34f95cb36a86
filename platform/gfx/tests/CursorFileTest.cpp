#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/core/Files.h"
#include "platform/gfx/CursorFile.h"
#include "platform/gfx/Graphic.h"

namespace platform {
namespace {

// The icon fixture (4 x 2 pixels, a mask) made a cursor file: its type and its first entry's hot spot.
std::string CursorFile(uint16_t type, uint16_t hotX, uint16_t hotY) {
  std::string file = ReadFileBytes(std::string(GFX_FIXTURES) + "/icon4.ico");
  auto put = [&](size_t at, uint16_t value) {
    file[at] = static_cast<char>(value & 0xFF);
    file[at + 1] = static_cast<char>(value >> 8);
  };
  put(2, type);
  put(10, hotX);
  put(12, hotY);
  return file;
}

// The image decodes as an icon's does, with the hot spot of its entry; an icon file, a hot spot outside
// the image and a file cut short are refused.
TEST(CursorFileTest, DecodesTheImageWithItsHotSpotAndRefusesOthers) {
  TBitmap picture;
  EXPECT_EQ(DecodeCursorFile(CursorFile(2, 3, 1), picture), (TPoint{3, 1}));
  ASSERT_EQ(picture.Width(), 4);
  ASSERT_EQ(picture.Height(), 2);
  EXPECT_EQ(picture.ScanLine(0)[0], 0xFFFF0000u);
  EXPECT_EQ(picture.ScanLine(1)[0] >> 24, 0u);  // masked out
  for (const std::string& bad : {CursorFile(1, 0, 0), CursorFile(2, 4, 0), CursorFile(2, 0, 2),
                                 CursorFile(2, 0, 0).substr(0, 40)})
    EXPECT_THROW(DecodeCursorFile(bad, picture), EInvalidGraphic);
}

}  // namespace
}  // namespace platform
