#include <gtest/gtest.h>

#include <filesystem>

#include "controls/html/tests/ImageFixtures.h"
#include "controls/html/tests/RenderFixture.h"
#include "platform/gfx/Png.h"

namespace controls {
namespace {

using namespace test;
using platform::test::PixelAt;

// Renders representative markup on the test font and keeps each picture as a PNG artefact of the
// build (artefacts/markup/), so a person can look at what the assertions cover.
struct PixelTest : ::testing::Test {
  MarkupBitmap bitmap{240, 64};
  Render render;

  void Draw(const std::string& text) {
    render.rect = Rect(0, 0, bitmap.Width(), bitmap.Height());
    render.Run(bitmap.Canvas(), text);
    std::filesystem::create_directories(MARKUP_ARTEFACTS);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    SavePngFile(bitmap, std::string(MARKUP_ARTEFACTS) + "/" + info->name() + ".png");
  }
};

TEST_F(PixelTest, StylesColoursAndShadow) {
  render.shadowOffset = 2;
  Draw("<B>Bold</B> <FONT color=\"clred\" bgcolor=\"#00FF00\">red</FONT> <SHAD>sh</SHAD><BR><S>x</S><U>u</U>");
  EXPECT_EQ(PixelAt(bitmap, 42, 2), clRed);              // "red" from x = 41
  EXPECT_EQ(PixelAt(bitmap, 48, 2), clLime);             // its background between the characters
  EXPECT_EQ(PixelAt(bitmap, 76, 11), clGray);            // the shadow, 2 down and right of "sh" (x 73)
  EXPECT_EQ(PixelAt(bitmap, 74, 2), clBlack);
  EXPECT_EQ(PixelAt(bitmap, 7, 20), clBlack);            // strike-out row beside the "x" box
  EXPECT_EQ(PixelAt(bitmap, 15, 28), clBlack);           // underline under "u"
}

TEST_F(PixelTest, ParagraphBandHighlightAndErrorMark) {
  Draw("<P bgcolor=\"clsilver\">band</P><HI>hi</HI> <E>err</E>");
  EXPECT_EQ(PixelAt(bitmap, 200, 8), clSilver);   // the band runs across the whole rectangle
  EXPECT_EQ(PixelAt(bitmap, 200, 24), clWhite);   // and ends with the paragraph
  EXPECT_EQ(PixelAt(bitmap, 8, 20), ColorToRGB(clHighlight));
  EXPECT_EQ(PixelAt(bitmap, 2, 20), ColorToRGB(clHighlightText));
  bool zigzag = false;  // red dots along the bottom of "err" (x 25..48)
  for (int y = 29; y <= 33; ++y) zigzag = zigzag || HasColor(bitmap, Rect(25, y, 49, y + 1), clRed);
  EXPECT_TRUE(zigzag);
}

TEST_F(PixelTest, ListAnchorAndImage) {
  const auto list = ColorList(12, 12, {clFuchsia});
  render.images = list.get();
  render.focusLink = 0;
  Draw("<UL><LI><A href=\"go\">link</A> <IMG src=\"idx:0\"><LI>two</UL>");
  EXPECT_EQ(PixelAt(bitmap, 14, 2), clBlue);
  EXPECT_EQ(PixelAt(bitmap, 60, 5), clFuchsia);  // after "link " (13 + 40)
  EXPECT_EQ(PixelAt(bitmap, 14, 18), clBlack);
  EXPECT_EQ(render.focusAnchor, "go");
}

// Runs that the clip hides are not drawn; those whose shadow or error mark reaches into it are.
TEST_F(PixelTest, AClipShowsWhatAnUnclippedDrawingShowsWithin) {
  render.shadowOffset = 6;
  const std::string text = "<SHAD>shadow</SHAD> plain<BR><E>error</E> more<BR><SHAD>low</SHAD> last";
  Draw(text);
  for (const TRect band : {Rect(0, 19, 240, 22), Rect(0, 32, 240, 34), Rect(60, 0, 240, 64)}) {
    SCOPED_TRACE(testing::Message() << band.Top << " " << band.Left);
    MarkupBitmap clipped{240, 64};
    IntersectClipRect(clipped.Canvas().Handle(), band.Left, band.Top, band.Right, band.Bottom);
    render.Run(clipped.Canvas(), text);
    bool inked = false;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 240; ++x) {
        const bool inside = x >= band.Left && x < band.Right && y >= band.Top && y < band.Bottom;
        EXPECT_EQ(PixelAt(clipped, x, y), inside ? PixelAt(bitmap, x, y) : clWhite) << x << "," << y;
        inked = inked || (inside && PixelAt(clipped, x, y) != clWhite);
      }
    EXPECT_TRUE(inked);
  }
}

// The system icons by number: the built-in document, folder and program, small then large.
TEST_F(PixelTest, SystemIcons) {
  Draw("<IMG src=\"ssys:0\"><IMG src=\"ssys:1\"><IMG src=\"ssys:2\"> <IMG src=\"lsys:0\"><IMG src=\"lsys:1\">"
       "<IMG src=\"lsys:2\">");
  EXPECT_EQ(render.xSize, 3 * 16 + 8 + 3 * 32);
  EXPECT_EQ(PixelAt(bitmap, 1 + 16 + 8, 9), RGB(240, 200, 80));           // the small folder
  EXPECT_EQ(PixelAt(bitmap, 1 + 32 + 8, 3), clNavy);                       // the small program's title bar
  EXPECT_EQ(PixelAt(bitmap, 1 + 56 + 32 + 16, 18), RGB(240, 200, 80));     // the large folder
  EXPECT_EQ(PixelAt(bitmap, 1 + 56 + 64 + 16, 6), clNavy);
}

}  // namespace
}  // namespace controls
