#include <gtest/gtest.h>

#include "platform/core/Files.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Resources.h"
#include "platform/gfx/tests/PixelArt.h"

// The test binary embeds pal8.bmp and rle8.bmp as bitmaps and frames.gif as data (CMakeLists.txt).
namespace platform {
namespace {

TEST(ResourcesTest, EmbeddedFilesAreFoundByTypeAndNameInAnyCase) {
  const std::string gif = ReadFileBytes(std::string(GFX_FIXTURES) + "/frames.gif");
  for (const char* name : {"FRAMES", "frames", "Frames"}) {
    auto data = FindResource(RT_RCDATA, name);
    ASSERT_TRUE(data) << name;
    EXPECT_EQ(*data, gif);
  }
  EXPECT_TRUE(FindResource("rcdata", "frames"));
  EXPECT_FALSE(FindResource(RT_BITMAP, "FRAMES"));  // another type
  EXPECT_FALSE(FindResource(RT_RCDATA, "FRAMES.GIF"));
  EXPECT_EQ(LoadGraphicFromBytes(*FindResource(RT_RCDATA, "FRAMES"))->Width(), 4);
}

TEST(ResourcesTest, BitmapsLoadFromResourcesAndAMissingOneRaises) {
  TBitmap b;
  b.LoadFromResourceName("rle8");
  EXPECT_EQ(test::Art(b), test::Rows("#b#.", "rrrr"));
  try {
    b.LoadFromResourceName("ZGCHK01");
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource ZGCHK01 not found");
  }
  EXPECT_EQ(b.Width(), 4);
}

}  // namespace
}  // namespace platform
