#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "grid/ExUtil.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/TestFont.h"
#include "platform/ui/tests/FormFixture.h"

namespace velmora::testing {
namespace {

// Error underlines in the test font (every character 8 pixels wide at height 16) on a bitmap.
class ErrorLinesTest : public platform::FormTest {
protected:
  struct Extent {
    int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;
  };
  // Draws the underline of a run of "abcdef" in the rectangle (10, 5)-(200, 25) with the line at 14
  // pixels from its top, and gives the extent of the red pixels.
  Extent Underline(int first, int length) {
    auto form = ShowForm();
    platform::TBitmap bitmap(220, 40);
    bitmap.Canvas().Font().SetName(platform::kTestFontName);
    bitmap.Canvas().Font().SetHeight(-16);
    DrawErrorLines(*form, bitmap.Canvas(), "abcdef", {10, 5, 200, 25}, first, length, 14);
    Extent e;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x)
        if (bitmap.Canvas().Pixels(x, y) == platform::clRed) {
          e = {std::min(e.left, x), std::max(e.right, x), std::min(e.top, y), std::max(e.bottom, y)};
        }
    EXPECT_EQ(form->ControlCount(), 0);  // the hidden edit is gone
    return e;
  }
};

TEST_F(ErrorLinesTest, TheZigZagSpansTheRunBelowTheText) {
  // The text starts 1 pixel inside the rectangle: "bcd" lies from 19 to 43.
  const Extent inner = Underline(2, 3);
  EXPECT_EQ(inner.left, 18);
  EXPECT_EQ(inner.right, 43);
  EXPECT_EQ(inner.top, 19);     // 0 pixels down from the line
  EXPECT_EQ(inner.bottom, 22);  // 3 pixels down
  // A run to the end of the text ends 4 pixels past its last character's start ("f" at 51).
  const Extent toEnd = Underline(5, 10);
  EXPECT_EQ(toEnd.left, 42);
  EXPECT_EQ(toEnd.right, 55);
  // Nothing for a run outside the text or of no length.
  EXPECT_EQ(Underline(7, 1).right, -1);
  EXPECT_EQ(Underline(1, 0).right, -1);
}

}  // namespace
}  // namespace velmora::testing
