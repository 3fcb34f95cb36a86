#include <gtest/gtest.h>

#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/TestFont.h"
#include "platform/gfx/tests/PixelArt.h"

namespace platform {
namespace {

using test::Art;
using test::Rows;

// A device of 720 dpi, as the printer's: one logical unit of 0.1 mm is 720 / 254 = 2.834... pixels.
TEST(MappingModeTest, MetricPointsBecomeDevicePixelsWithYUpward) {
  TBitmap b(1, 1);
  TCanvas c(b, 720);
  HDC dc = c.Handle();
  EXPECT_EQ(GetMapMode(dc), MM_TEXT);
  EXPECT_EQ(SetMapMode(dc, MM_LOMETRIC), MM_TEXT);
  struct Case {
    TPoint logical, device;
  };
  const Case cases[] = {
      {{0, 0}, {0, 0}},         {{1, -1}, {3, 3}},        {{10, -10}, {28, 28}},    {{-5, 5}, {-14, -14}},
      {{254, -254}, {720, 720}}, {{2100, -2970}, {5953, 8419}}, {{100, 200}, {283, -567}},
  };
  for (const Case& k : cases) {
    TPoint p = k.logical;
    ASSERT_TRUE(LPtoDP(dc, &p, 1));
    EXPECT_EQ(p, k.device) << k.logical.X << "," << k.logical.Y;
  }
  // Device to logical rounds to the nearest unit; exact for the pixels that are whole units.
  const Case back[] = {{{0, 0}, {0, 0}}, {{0, 0}, {1, 1}}, {{1, -1}, {3, 3}}, {{254, -254}, {720, 720}},
                       {{-4, 4}, {-10, -10}}};
  for (const Case& k : back) {
    TPoint p = k.device;
    ASSERT_TRUE(DPtoLP(dc, &p, 1));
    EXPECT_EQ(p, k.logical) << k.device.X << "," << k.device.Y;
  }
}

TEST(MappingModeTest, TextModeIsTheIdentityWithTheViewportOrigin) {
  TBitmap b(1, 1);
  TCanvas c(b, 720);
  HDC dc = c.Handle();
  SetViewportOrgEx(dc, 7, -3);
  for (TPoint q : {TPoint{0, 0}, TPoint{5, 9}, TPoint{-100, 1000}}) {
    TPoint p = q;
    LPtoDP(dc, &p, 1);
    EXPECT_EQ(p, (TPoint{q.X + 7, q.Y - 3}));
    DPtoLP(dc, &p, 1);
    EXPECT_EQ(p, q);
  }
  EXPECT_EQ(SetMapMode(dc, 99), 0);
  EXPECT_EQ(GetMapMode(dc), MM_TEXT);
}

// At 508 dpi one unit is exactly two pixels, so rectangles read exactly.
TEST(MappingModeTest, RectanglesAreNormalisedOnTheDevice) {
  struct Case {
    TRect logical;
    std::string art;
  };
  const Case cases[] = {
      {Rect(1, -1, 3, -2), Rows("......", "......", "..####", "..####", "......")},  // top above bottom
      {Rect(1, -2, 3, -1), Rows("......", "......", "..####", "..####", "......")},  // given upside down
      {Rect(3, -1, 1, -2), Rows("......", "......", "..####", "..####", "......")},  // and right to left
      {Rect(0, 0, 1, -1), Rows("##....", "##....", "......", "......", "......")},
  };
  for (const Case& k : cases) {
    TBitmap b(6, 5);
    TCanvas c(b, 508);
    SetMapMode(c.Handle(), MM_LOMETRIC);
    c.Brush().SetColor(clBlack);
    c.FillRect(k.logical);
    EXPECT_EQ(Art(b), k.art) << k.logical.Left << "," << k.logical.Top;
  }
}

// At 254 dpi one unit is one pixel: only y turns round.
TEST(MappingModeTest, FiguresAndLinesFollowTheMapping) {
  TBitmap b(8, 8);
  TCanvas c(b, 254);
  SetMapMode(c.Handle(), MM_LOMETRIC);
  c.Pen().SetColor(clBlack);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Rectangle(0, 0, 8, -8);
  EXPECT_EQ(Art(b), Rows("########", "#......#", "#......#", "#......#", "#......#", "#......#", "#......#",
                         "########"));
  TBitmap l(8, 3);
  TCanvas lc(l, 254);
  SetMapMode(lc.Handle(), MM_LOMETRIC);
  lc.MoveTo(0, -2);
  lc.LineTo(6, -2);  // device (0, 2) to (6, 2), end excluded
  EXPECT_EQ(Art(l), Rows("........", "........", "######.."));
  EXPECT_EQ(lc.PenPos(), (TPoint{6, -2}));
}

// A mapped pen of logical width w draws exactly what an unmapped pen of its device width draws.
TEST(MappingModeTest, PenWidthsAreLogical) {
  struct Case {
    int logical, ppi, device;
  };
  const Case cases[] = {{1, 254, 1}, {1, 508, 2}, {3, 508, 6}, {1, 720, 3}, {10, 720, 28}, {1, 96, 1}, {4, 96, 2}};
  for (const Case& k : cases) {
    TBitmap mapped(120, 40), plain(120, 40);
    TCanvas m(mapped, k.ppi), p(plain, k.ppi);
    SetMapMode(m.Handle(), MM_LOMETRIC);
    m.Pen().SetWidth(k.logical);
    SetViewportOrgEx(m.Handle(), 0, 20);
    m.MoveTo(2, 0);
    m.LineTo(30, -3);
    TPoint ends[] = {{2, 0}, {30, -3}};
    LPtoDP(m.Handle(), ends, 2);
    p.Pen().SetWidth(k.device);
    p.MoveTo(ends[0].X, ends[0].Y);
    p.LineTo(ends[1].X, ends[1].Y);
    EXPECT_EQ(Art(mapped), Art(plain)) << k.logical << " at " << k.ppi;
  }
}

TEST(MappingModeTest, FontHeightsTextExtentsAndMetricsAreLogical) {
  TBitmap b(1, 1);
  TCanvas c(b, 720);
  c.Font().SetName(kTestFontName);
  c.Font().SetHeight(-100);  // 10 mm: 283 pixels at 720 dpi
  SetMapMode(c.Handle(), MM_LOMETRIC);
  // The test font's cell advance is half the em: 141 pixels; two of them are 282 pixels = 99.5 units.
  EXPECT_EQ(c.TextExtent("AB"), (TSize{99, 100}));
  TTextMetric m;
  ASSERT_TRUE(GetTextMetrics(c.Handle(), m));
  EXPECT_EQ(m.tmHeight, 100);
  EXPECT_EQ(m.tmAscent, 75);   // 213 pixels
  EXPECT_EQ(m.tmDescent, 25);  // 70 pixels
  c.TextOut(10, -10, "AB");
  EXPECT_EQ(c.PenPos(), (TPoint{109, -10}));
  SetMapMode(c.Handle(), MM_TEXT);
  EXPECT_EQ(c.TextExtent("AB"), (TSize{100, 100}));  // the same height as pixels now
}

TEST(MappingModeTest, TextIsPlacedAtItsMappedCellCorner) {
  TBitmap b(12, 10);
  TCanvas c(b, 508);
  c.Font().SetName(kTestFontName);
  c.Font().SetHeight(-4);  // 8 pixels: advance 4, ink 3 x 6
  c.Brush().SetStyle(TBrushStyle::bsClear);
  SetMapMode(c.Handle(), MM_LOMETRIC);
  c.TextOut(1, -1, "A");  // cell at device (2, 2)
  EXPECT_EQ(Art(b), Rows("............", "............", "..###.......", "..###.......", "..###.......",
                         "..###.......", "..###.......", "..###.......", "............", "............"));
}

TEST(MappingModeTest, ClipRectanglesAreLogicalBothWays) {
  TBitmap b(20, 20);
  TCanvas c(b, 508);
  HDC dc = c.Handle();
  SetMapMode(dc, MM_LOMETRIC);
  EXPECT_EQ(c.ClipRect(), Rect(0, 0, 10, -10));
  EXPECT_EQ(IntersectClipRect(dc, 1, -1, 4, -3), SIMPLEREGION);  // device (2, 2, 8, 6)
  EXPECT_EQ(c.ClipRect(), Rect(1, -1, 4, -3));
  c.Brush().SetColor(clBlack);
  c.FillRect(Rect(0, 0, 10, -10));
  int black = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) black += test::PixelAt(b, x, y) == clBlack;
  EXPECT_EQ(black, 6 * 4);
  EXPECT_EQ(test::PixelAt(b, 2, 2), clBlack);
  EXPECT_EQ(test::PixelAt(b, 7, 5), clBlack);
  EXPECT_NE(test::PixelAt(b, 8, 5), clBlack);
}

TEST(MappingModeTest, DrawTextLaysOutDownThePageAndCalculatesInUnits) {
  TBitmap b(1, 1);
  TCanvas c(b, 508);
  c.Font().SetName(kTestFontName);
  c.Font().SetHeight(-8);  // 16 pixels: advance 8
  HDC dc = c.Handle();
  SetMapMode(dc, MM_LOMETRIC);
  TRect r = Rect(10, -10, 100, -100);
  EXPECT_EQ(DrawText(dc, "AB\nCDE", r, DT_CALCRECT), 16);  // two lines of 8 units
  EXPECT_EQ(r, Rect(10, -10, 22, -26));
}

TEST(MappingModeTest, SaveDcRestoreDcAndTheStateGuardKeepTheMode) {
  TBitmap b(1, 1);
  TCanvas c(b, 720);
  HDC dc = c.Handle();
  const int saved = SaveDC(dc);
  SetMapMode(dc, MM_LOMETRIC);
  ASSERT_TRUE(RestoreDC(dc, saved));
  EXPECT_EQ(GetMapMode(dc), MM_TEXT);
  {
    CanvasStateGuard guard(c);
    SetMapMode(dc, MM_LOMETRIC);
  }
  EXPECT_EQ(GetMapMode(dc), MM_TEXT);
}

}  // namespace
}  // namespace platform
