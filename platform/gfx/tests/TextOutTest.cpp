#include <gtest/gtest.h>

#include <memory>

#include "platform/gfx/FontEngine.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/TestFont.h"
#include "platform/gfx/tests/TextTestFont.h"

namespace platform {
namespace {

using test::Art;
using test::Rows;
using test::TextBitmap;

TEST(TextOutTest, TestFontMetricsFollowTheEmHeight) {
  struct Case {
    int height, ascent, descent, externalLeading, advance;
  };
  const Case cases[] = {{-16, 12, 4, 2, 8}, {16, 12, 4, 2, 8}, {-11, 9, 2, 1, 5}, {-1, 1, 0, 0, 1}, {0, 9, 3, 1, 6}};
  for (const Case& c : cases) {
    TextBitmap b(1, 1);
    b.Canvas().Font().SetHeight(c.height);
    TTextMetric m;
    ASSERT_TRUE(GetTextMetrics(b.Canvas().Handle(), m));
    EXPECT_EQ(m.tmHeight, c.ascent + c.descent) << c.height;
    EXPECT_EQ(m.tmAscent, c.ascent) << c.height;
    EXPECT_EQ(m.tmDescent, c.descent) << c.height;
    EXPECT_EQ(m.tmInternalLeading, 0);
    EXPECT_EQ(m.tmExternalLeading, c.externalLeading) << c.height;
    EXPECT_EQ(m.tmAveCharWidth, c.advance) << c.height;
    EXPECT_TRUE(m.tmPitchAndFamily & TMPF_TRUETYPE);
    EXPECT_EQ(b.Canvas().TextExtent("abc"), (TSize{3 * c.advance, c.ascent + c.descent})) << c.height;
  }
}

TEST(TextOutTest, SizeInPointsAtTheCanvasResolution) {
  TextBitmap b(1, 1);
  b.Canvas().Font().SetSize(12);
  EXPECT_EQ(b.Canvas().Font().Height(), -16);
  EXPECT_EQ(b.Canvas().TextHeight("x"), 16);
  TCanvas printer(b, 300);
  EXPECT_EQ(GetDeviceCaps(printer.Handle(), LOGPIXELSY), 300);
  printer.Font().SetSize(12);
  EXPECT_EQ(printer.Font().Height(), -50);
  EXPECT_EQ(GetDeviceCaps(b.Canvas().Handle(), LOGPIXELSX), 96);
}

TEST(TextOutTest, GlyphsAreBoxesFromTheCellTopToTheBaseline) {
  TextBitmap b(30, 18);
  b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
  b.Canvas().TextOut(2, 1, "a b");
  EXPECT_EQ(b.Ink(), Rect(2, 1, 25, 13));
  EXPECT_EQ(test::PixelAt(b, 8, 5), clBlack);   // last ink column of "a"
  EXPECT_EQ(test::PixelAt(b, 9, 5), clWhite);   // the gap before the next cell
  EXPECT_EQ(test::PixelAt(b, 12, 5), clWhite);  // the blank has no ink
  EXPECT_EQ(b.Canvas().PenPos(), (TPoint{2 + 24, 1}));
}

TEST(TextOutTest, FontsTooLargeForGlyphImagesDrawTheirOutlinesWithinTheBitmap) {
  // An em of 600 pixels is drawn from outlines; one of 2^24 pixels costs no more than the bitmap.
  TextBitmap b(40, 30);
  b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
  b.Canvas().Font().SetHeight(-600);
  b.Canvas().TextOut(-280, -440, "a");  // the box spans x -280..18 (299 columns), y -440..9 (450 rows)
  EXPECT_EQ(b.Ink(), Rect(0, 0, 19, 10));
  b.Canvas().Font().SetHeight(-(1 << 24));
  b.Canvas().TextOut(20, 20, "b");
  EXPECT_EQ(test::PixelAt(b, 39, 29), clBlack);
  EXPECT_EQ(test::PixelAt(b, 19, 29), clWhite);
}

TEST(TextOutTest, OpaqueBackgroundFillsTheTextCellTransparentLeavesIt) {
  TextBitmap b(10, 18);
  b.Canvas().Brush().SetColor(clRed);
  b.Canvas().TextOut(0, 0, "a");
  EXPECT_EQ(test::PixelAt(b, 7, 0), clRed);
  EXPECT_EQ(test::PixelAt(b, 0, 15), clRed);
  EXPECT_EQ(test::PixelAt(b, 0, 16), clWhite);
  EXPECT_EQ(test::PixelAt(b, 8, 0), clWhite);
  HDC dc = b.Canvas().Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, clBlue);  // holds until the canvas selects its font again
  TRect r = Rect(0, 0, 10, 18);
  DrawText(dc, "b", r, DT_SINGLELINE | DT_BOTTOM);
  EXPECT_EQ(test::PixelAt(b, 0, 2), clBlue);
  EXPECT_EQ(test::PixelAt(b, 7, 17), clWhite);
}

TEST(TextOutTest, UnderlineAndStrikeOutRows) {
  TextBitmap b(10, 16);
  b.Canvas().Font().SetStyle({TFontStyle::fsUnderline, TFontStyle::fsStrikeOut});
  b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
  b.Canvas().TextOut(0, 0, " ");
  EXPECT_EQ(Art(b), Rows("..........", "..........", "..........", "..........", "..........", "..........",
                         "########..", "..........", "..........", "..........", "..........", "..........",
                         "..........", "..........", "########..", ".........."));
}

TEST(TextOutTest, TextRectClipsToItsRectangleAndFillsIt) {
  TextBitmap b(12, 16);
  b.Canvas().Brush().SetColor(clRed);
  b.Canvas().TextRect(Rect(2, 2, 6, 10), 0, 0, "ab");
  EXPECT_EQ(b.Ink(), Rect(2, 2, 6, 10));
  EXPECT_EQ(test::PixelAt(b, 2, 2), clBlack);
  EXPECT_EQ(b.Canvas().ClipRect(), Rect(0, 0, 12, 16));
}

TEST(TextOutTest, RotatedTextLiesInTheTurnedCell) {
  TextBitmap b(40, 40);
  b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
  b.Canvas().Font().SetOrientation(900);
  b.Canvas().TextOut(20, 20, "AB");
  // At 90 degrees the baseline runs upwards and the cell's top edge is on the left.
  EXPECT_EQ(b.Ink(), Rect(20, 5, 32, 20));
  EXPECT_EQ(test::PixelAt(b, 25, 12), clWhite);  // between the two boxes
  EXPECT_EQ(b.Canvas().TextWidth("AB"), 16);     // extents are not turned
}

TEST(TextOutTest, TextInAPathBecomesAClipOrAnOutline) {
  TextBitmap b(20, 16);
  TCanvas& c = b.Canvas();
  HDC dc = c.Handle();
  SaveDC(dc);
  BeginPath(dc);
  c.TextOut(0, 0, "ab");
  EndPath(dc);
  EXPECT_EQ(test::PixelAt(b, 1, 1), clWhite);  // recorded, not drawn
  ASSERT_TRUE(SelectClipPath(dc));
  c.Brush().SetColor(clRed);
  c.FillRect(Rect(0, 0, 20, 16));
  EXPECT_EQ(b.Ink(), Rect(0, 0, 15, 12));
  EXPECT_EQ(test::PixelAt(b, 7, 1), clWhite);
  RestoreDC(dc, -1);

  TextBitmap outline(20, 16);
  HDC odc = outline.Canvas().Handle();
  BeginPath(odc);
  outline.Canvas().TextOut(0, 0, "a");
  EndPath(odc);
  ASSERT_TRUE(StrokePath(odc));
  EXPECT_EQ(outline.Ink(), Rect(0, 0, 8, 13));
  EXPECT_EQ(test::PixelAt(outline, 3, 5), clWhite);  // only the outline
  EXPECT_FALSE(StrokePath(odc));                     // the path was consumed
}

// Faces are kept for reuse, each with its glyph cache, but not one for every size ever asked for: a
// program that zooms its text would otherwise hold them all.
TEST(TextOutTest, FacesOfSizesNoLongerDrawnAreLetGo) {
  TLogFont font;
  font.FaceName = kTestFontName;
  font.Height = -10;
  const std::weak_ptr<FontFace> first = ResolveFont(font);
  for (int height = 11; height <= 1010; ++height) {
    font.Height = -height;
    ResolveFont(font);
  }
  EXPECT_TRUE(first.expired());
}

}  // namespace
}  // namespace platform
