#include <gtest/gtest.h>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/tests/PixelArt.h"

// Figures far larger than the bitmap they are drawn on.
namespace platform {
namespace {

using test::Art;
using test::Rows;

TEST(CanvasLimitsTest, EllipseTensOfThousandsOfPixelsWideStillCoversTheBitmap) {
  for (int radius : {1000, 40000}) {
    TBitmap b(12, 3);
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().Ellipse(0, 1 - radius, 2 * radius, 2 + radius);  // its leftmost point lies on row 1
    EXPECT_EQ(Art(b), Rows("#rrrrrrrrrrr", "#rrrrrrrrrrr", "#rrrrrrrrrrr")) << radius;
  }
}

}  // namespace
}  // namespace platform
