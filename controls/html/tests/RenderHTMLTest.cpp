#include <gtest/gtest.h>

#include "controls/html/tests/RenderFixture.h"

namespace controls {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

// Layout on the test font: characters 8 wide, lines 16 high; the rectangle's first pixel column is
// left free, so a rectangle 2 + 8n wide holds n characters with room to spare.
struct LayoutCase {
  const char* text;
  int width;  // of the rectangle
  bool wordWrap;
  int xSize, ySize;
  Lines cells;  // characters inked per line, from x = 1
};

void CheckLayout(const LayoutCase& c) {
  MarkupBitmap b;
  Render r;
  r.rect = Rect(0, 0, c.width, 100);
  r.wordWrap = c.wordWrap;
  r.Run(b.Canvas(), c.text);
  EXPECT_EQ(r.xSize, c.xSize) << c.text;
  EXPECT_EQ(r.ySize, c.ySize) << c.text;
  EXPECT_EQ(b.Cells(0, 1), c.cells) << c.text;
}

TEST(RenderHTMLTest, EntitiesDecodeToTheirCharacters) {
  const LayoutCase cases[] = {
      {"a&amp;b", 200, true, 24, 16, {"XXX"}},
      {"a&AMP;b", 200, true, 24, 16, {"XXX"}},
      {"&permil;", 200, true, 8, 16, {"X"}},
      {"&euro;&copy;&reg;&trade;&sect;&para;", 200, true, 48, 16, {"XXXXXX"}},
      {"&lt;b&gt;", 200, true, 24, 16, {"XXX"}},
      {"a&nbsp;b", 200, true, 24, 16, {"X X"}},
      {"&amp;amp;", 200, true, 8, 16, {"X"}},  // decoded twice: three ampersands show as one
  };
  for (const LayoutCase& c : cases) CheckLayout(c);
  MarkupBitmap b;
  Render r;
  r.checkHeight = true;  // one pass per line: the runs once
  r.Run(b.Canvas(), "&permil;&quot;");
  EXPECT_EQ(r.stripVal, "\xE2\x80\xB0\"");
}

TEST(RenderHTMLTest, LineBreaks) {
  const LayoutCase cases[] = {
      {"aa<BR>bb", 200, true, 16, 32, {"XX", "XX"}},
      {"aa\r\nbb", 200, true, 16, 32, {"XX", "XX"}},
      {"aa\rbb", 200, true, 16, 32, {"XX", "XX"}},
      {"aa\nbb", 200, true, 32, 16, {"XXXX"}},
      {"", 200, true, 0, 16, {}},
      {"aa</P>bb", 200, true, 16, 32, {"XX", "XX"}},
  };
  for (const LayoutCase& c : cases) CheckLayout(c);
}

TEST(RenderHTMLTest, RunsFitWithAndWithoutWordWrap) {
  // Width 41 leaves 40 pixels: a line fits while it stays below 40.
  const LayoutCase cases[] = {
      {"aa bb", 41, true, 16, 32, {"XX", "XX"}},
      {"aa bb", 42, true, 40, 16, {"XX XX"}},
      {"aa bbbbbbbbbb cc", 41, true, 104, 32, {"XX XX", "XX"}},  // a word that can never fit stays on its line
      {"aa<b>bb</b>bb", 41, true, 48, 16, {"XXXXX"}},              // runs glued into one word do not break
      {"aaaaaaaaaa", 41, false, 80, 16, {"XXXXX"}},                // cut with an ellipsis
      {"aa <b>bbbb</b>cc", 41, false, 56, 16, {"XX XX"}},          // the run that did not fit ends the text
      {"aa bb<BR>cc", 41, false, 40, 32, {"XX XX", "XX"}},
  };
  for (const LayoutCase& c : cases) CheckLayout(c);
}

TEST(RenderHTMLTest, AlignmentAndIndentHoldUntilTheNextParagraphSetsThem) {
  MarkupBitmap b;
  Render r;
  r.rect = Rect(0, 0, 101, 100);
  // P does not end a line, so the last P of a line decides its place.
  r.Run(b.Canvas(), "<P align=\"right\">ab<BR>cd</P><P align=\"center\">ef</P><P align=\"left\" indent=\"10\">gh<BR>ij");
  EXPECT_EQ(InkLeft(b, 0, 16), 85);   // 101 - 16
  EXPECT_EQ(InkLeft(b, 16, 32), 85);  // still right
  EXPECT_EQ(InkLeft(b, 32, 48), 43);  // 1 + (100 - 16) / 2
  EXPECT_EQ(InkLeft(b, 48, 64), 11);
  EXPECT_EQ(InkLeft(b, 64, 80), 11);
  EXPECT_EQ(r.ySize, 80);
}

TEST(RenderHTMLTest, HorizontalRuleEndsTheLineAndDrawsBelowIt) {
  MarkupBitmap b;
  Render r;
  r.rect = Rect(0, 0, 50, 100);
  r.Run(b.Canvas(), "aa<HR>bb");
  EXPECT_EQ(r.ySize, 32);
  for (int x : {1, 25, 49}) EXPECT_EQ(platform::test::PixelAt(b, x, 17), clBlack) << x;  // run bottom + 1
  EXPECT_EQ(platform::test::PixelAt(b, 40, 17), clBlack);
}

TEST(RenderHTMLTest, FontSizesFacesAndTheirEnd) {
  struct Case {
    const char* text;
    int xSize, ySize;
  };
  // The canvas font is 12 points (em 16). SIZE 1..5 are 8..16 points; other numbers are points.
  const Case cases[] = {
      {"<FONT size=\"1\">a</FONT>b", 5 + 8, 16},      // 8 pt: em 11
      {"<FONT size=\"3\">a</FONT>b", 8 + 8, 16},      // 12 pt
      {"<FONT size=\"5\">a</FONT>b", 10 + 8, 21},     // 16 pt: em 21
      {"<FONT size=\"20\">a</FONT>b", 13 + 8, 27},    // 20 pt: em 27
      {"<FONT size=\"5\"><FONT size=\"1\">a</FONT>b", 5 + 8, 16},  // the end returns to the canvas font
      {"<FONT size=\"x\">a", 6, 16},                  // no number: size 0, the default em 12
  };
  for (const Case& c : cases) {
    MarkupBitmap b;
    Render r;
    r.Run(b.Canvas(), c.text);
    EXPECT_EQ(r.xSize, c.xSize) << c.text;
    EXPECT_EQ(r.ySize, c.ySize) << c.text;
  }
}

TEST(RenderHTMLTest, FontColoursFromNamesAndHexValues) {
  struct Case {
    const char* text;
    TColor color;
  };
  const Case cases[] = {
      {"<FONT color=\"clred\">a</FONT>", clRed},
      {"<FONT color=\"#FF0000\">a</FONT>", clRed},
      {"<font color=\"clBlue\">a</font>", clBlue},
      {"<FONT color=\"unknown\">a</FONT>", clBlack},
  };
  for (const Case& c : cases) {
    MarkupBitmap b;
    Render r;
    r.Run(b.Canvas(), c.text);
    EXPECT_EQ(platform::test::PixelAt(b, 2, 2), c.color) << c.text;
  }
  MarkupBitmap b;
  Render r;
  r.selected = true;  // the markup's colours are ignored
  r.Run(b.Canvas(), "<FONT color=\"clred\" bgcolor=\"clblue\">a</FONT>");
  EXPECT_EQ(platform::test::PixelAt(b, 2, 2), clBlack);
  EXPECT_FALSE(HasColor(b, Rect(0, 0, 20, 16), clBlue));
}

TEST(RenderHTMLTest, ListItemsTakeALineEachIndentedPerLevel) {
  MarkupBitmap b;
  Render r;
  r.Run(b.Canvas(), "<UL><LI>one<LI>two<UL><LI>three</UL></UL><BR>x");
  EXPECT_EQ(r.ySize, 64);
  EXPECT_EQ(r.xSize, 24 + 40);  // level 2: 24 pixels and five characters
  MarkupBitmap single;
  r.Run(single.Canvas(), "<UL><LI>one</UL>x");  // a list does not end a line by itself
  EXPECT_EQ(r.ySize, 16);
  // Text after the bullet starts 12 pixels per level in.
  EXPECT_EQ(platform::test::PixelAt(b, 14, 2), clBlack);  // "one" from x = 13
  EXPECT_EQ(platform::test::PixelAt(b, 14, 18), clBlack);
  EXPECT_EQ(platform::test::PixelAt(b, 26, 34), clBlack);  // "three" from x = 25
  EXPECT_EQ(platform::test::PixelAt(b, 2, 50), clBlack);   // "x" after the list, at the line's start
}

TEST(RenderHTMLTest, HiddenTextIsNeitherMeasuredNorDrawn) {
  const LayoutCase cases[] = {
      {"a<Z>bbb</Z>c", 200, true, 16, 16, {"XX"}},
      {"a<Z>bbb<BR>bb</Z>c", 200, true, 8, 32, {"X", "X"}},
      {"<Z>hidden", 200, true, 0, 16, {}},
  };
  for (const LayoutCase& c : cases) CheckLayout(c);
}

TEST(RenderHTMLTest, LinesBelowTheRectangleAreLeftOutUnlessCheckHeight) {
  MarkupBitmap b;
  Render r;
  r.rect = Rect(0, 0, 100, 20);
  r.Run(b.Canvas(), "a<BR>b<BR>c<BR>dddddd");
  EXPECT_EQ(r.ySize, 32);  // the second line starts inside, the third below
  EXPECT_EQ(r.xSize, 8);
  r.checkHeight = true;
  MarkupBitmap untouched;
  r.Run(untouched.Canvas(), "a<BR>b<BR>c<BR>dddddd");
  EXPECT_EQ(r.ySize, 64);
  EXPECT_EQ(r.xSize, 48);
  EXPECT_EQ(untouched.Ink(), TRect{});  // measuring only
}

TEST(RenderHTMLTest, SubAndSupRaiseTheLineAndStayInsideIt) {
  MarkupBitmap b;
  Render r;
  r.Run(b.Canvas(), "a<SUB>b</SUB><SUP>c</SUP>");
  EXPECT_EQ(r.ySize, 16 + 4 + 4);
  const TRect ink = b.Ink();
  EXPECT_GE(ink.Top, 0);
  EXPECT_LE(ink.Bottom, 24);
  // Text sits on the run's bottom with the font's external leading (2) above it: the normal text's
  // ink starts at row 20 - 18 = 2, only the superscript's (16 - 18) reaches the rows above.
  EXPECT_EQ(InkLeft(b, 0, 2), 17);
  EXPECT_EQ(InkLeft(b, 14, 24), 9);  // the subscript (rows 6..17) reaches below the normal text (2..13)
}

TEST(RenderHTMLTest, CanvasStateIsRestored) {
  MarkupBitmap b;
  TCanvas& canvas = b.Canvas();
  canvas.Brush().SetColor(clYellow);
  canvas.Pen().SetColor(clGreen);
  Render r;
  r.Run(canvas, "<B><FONT face=\"Arial\" size=\"5\" color=\"clred\" bgcolor=\"clblue\">a<P bgcolor=\"clred\">b<R a=\"90\">c");
  EXPECT_EQ(canvas.Font().Name(), kTestFontName);
  EXPECT_EQ(canvas.Font().Height(), -16);
  EXPECT_EQ(canvas.Font().Color(), clBlack);
  EXPECT_TRUE(canvas.Font().Style().Empty());
  EXPECT_EQ(canvas.Brush().Color(), clYellow);
  EXPECT_EQ(canvas.Brush().Style(), TBrushStyle::bsSolid);
  EXPECT_EQ(canvas.Pen().Color(), clGreen);
  EXPECT_EQ(GetBkMode(canvas.Handle()), TRANSPARENT);
}

TEST(RenderHTMLTest, MalformedMarkupEndsCleanly) {
  const LayoutCase cases[] = {
      {"ab<", 200, true, 16, 16, {"XX"}},
      {"ab<b", 200, true, 16, 16, {"XX"}},
      {"ab<b c", 200, true, 16, 16, {"XX"}},  // an unclosed tag drops the rest
      {"a<>b</>c<1>d", 200, true, 32, 16, {"XXXX"}},
      {"<#a>b", 200, true, 24, 16, {"XXX"}},  // "<#...>" shows without its brackets
      {"</R></R>a", 200, true, 8, 16, {"X"}},
  };
  for (const LayoutCase& c : cases) CheckLayout(c);
}

}  // namespace
}  // namespace controls
