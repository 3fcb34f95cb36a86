#include <gtest/gtest.h>

#include "controls/html/tests/RenderFixture.h"

namespace controls {
namespace {

using namespace test;
using platform::test::PixelAt;

// "x" then the anchor's "link": the anchor's text runs from x = 9 to 41 on the first line.
constexpr const char* kLink = "x<A href=\"t1\">link</A>";

TEST(MarkupAnchorsTest, HitTestingFindsTheAnchorUnderThePoint) {
  struct Case {
    const char* text;
    int x, y;
    bool hit;
    const char* anchorVal;
    int mouseLink;
  };
  const Case cases[] = {
      {kLink, 13, 8, true, "t1", 1},
      {kLink, 40, 8, true, "t1", 1},
      {kLink, 4, 8, false, "kept", -1},    // on the "x"
      {kLink, 13, 0, false, "kept", -1},   // the line's top row is not inside
      {"<A>plain</A>", 5, 5, true, "", 1},  // no quoted value: an empty target
      {"a<BR><A href='no'>b</A><A href=\"two\">c</A>", 13, 20, true, "two", 2},
      // The second pass hit-tests at the line's aligned place.
      {"<P align=\"center\">ab<BR><A href=\"u\">cd</A>", 45, 20, true, "u", 1},
  };
  for (const Case& c : cases) {
    MarkupBitmap b;
    Render r;
    r.rect = Rect(0, 0, 101, 100);
    r.checkHotSpot = true;
    r.x = c.x;
    r.y = c.y;
    r.anchorVal = "kept";
    EXPECT_EQ(r.Run(b.Canvas(), c.text), c.hit) << c.text << " at " << c.x << "," << c.y;
    EXPECT_EQ(r.anchorVal, c.anchorVal) << c.text;
    EXPECT_EQ(r.mouseLink, c.mouseLink) << c.text;
    EXPECT_EQ(b.Ink(), TRect{}) << c.text;  // hit-testing draws nothing
  }
}

TEST(MarkupAnchorsTest, CountsAnchorsAndReportsTheHoveredRectangle) {
  MarkupBitmap b;
  Render r;
  r.checkHotSpot = true;
  r.x = 13;
  r.y = 8;
  r.Run(b.Canvas(), std::string(kLink) + " <A href=\"t2\">more</A>");
  EXPECT_EQ(r.hyperLinks, 2);
  EXPECT_EQ(r.mouseLink, 1);
  EXPECT_EQ(r.hoverRect, Rect(9, 0, 41, 16));
  // An anchor that goes on to the next line reports that line's part.
  r.rect = Rect(0, 0, 57, 100);
  r.x = 5;
  r.y = 20;
  EXPECT_TRUE(r.Run(b.Canvas(), "<A href=\"w\">aaa bbb</A>"));
  EXPECT_EQ(r.hoverRect, Rect(1, 16, 25, 32));
}

TEST(MarkupAnchorsTest, ADrawingCallReportsNoTextHit) {
  MarkupBitmap b;
  Render r;
  r.x = 13;
  r.y = 8;
  EXPECT_FALSE(r.Run(b.Canvas(), kLink));
  EXPECT_EQ(PixelAt(b, 10, 2), clBlue);  // URL colour
  EXPECT_EQ(PixelAt(b, 2, 2), clBlack);
}

TEST(MarkupAnchorsTest, FocusLinkGetsAFocusRectangleAndItsTarget) {
  const char* text = "<A href=\"a\">x</A> <A href=\"b\">y</A>";
  MarkupBitmap b;
  Render r;
  r.focusLink = 1;
  r.Run(b.Canvas(), text);
  EXPECT_EQ(r.focusAnchor, "b");
  EXPECT_TRUE(HasColor(b, Rect(16, 0, 17, 16), clBlack));  // the frame's left side, one pixel left of "y"
  EXPECT_TRUE(HasColor(b, Rect(25, 0, 26, 16), clBlack));
  MarkupBitmap none;
  r.focusLink = -1;
  r.Run(none.Canvas(), text);
  EXPECT_EQ(r.focusAnchor, "");
  EXPECT_FALSE(HasColor(none, Rect(16, 0, 17, 16), clBlack));
}

TEST(MarkupAnchorsTest, HoverStyleUnderlinesOnlyTheHoveredAnchor) {
  // The test font's underline lies at baseline + 2: row 12 for text whose cell top is -2.
  const char* text = "<A href=\"a\">aa</A> <A href=\"b\">bb</A>";
  struct Case {
    bool hoverStyle;
    bool first, second;
  };
  for (const Case& c : {Case{true, false, true}, Case{false, true, true}}) {
    MarkupBitmap b;
    Render r;
    r.hoverStyle = c.hoverStyle;
    r.hoverLink = 2;
    r.Run(b.Canvas(), text);
    EXPECT_EQ(PixelAt(b, 8, 12) == clBlue, c.first) << c.hoverStyle;
    EXPECT_EQ(PixelAt(b, 32, 12) == clBlue, c.second) << c.hoverStyle;
  }
}

TEST(MarkupAnchorsTest, HoverColoursApplyToTheHoveredAnchorOnly) {
  MarkupBitmap b;
  Render r;
  r.hoverStyle = true;
  r.hoverLink = 1;
  r.hoverColor = clYellow;
  r.hoverFontColor = clRed;
  r.Run(b.Canvas(), "<A href=\"a\">aa</A><A href=\"b\">bb</A>");
  EXPECT_EQ(PixelAt(b, 2, 2), clRed);
  EXPECT_EQ(PixelAt(b, 8, 2), clYellow);  // the gap between the characters shows the hover background
  EXPECT_EQ(PixelAt(b, 18, 2), clBlue);
  EXPECT_EQ(PixelAt(b, 24, 2), clWhite);
}

}  // namespace
}  // namespace controls
