#include <gtest/gtest.h>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/tests/PixelArt.h"

namespace platform {
namespace {

using test::Art;
using test::Rows;

void FillBlack(TCanvas& c, const TRect& r) {
  c.Brush().SetColor(clBlack);
  c.FillRect(r);
}

TEST(ClipAndCopyTest, IntersectAndExcludeNarrowTheClipAndRestoreDcWidensIt) {
  TBitmap b(6, 4);
  TCanvas& c = b.Canvas();
  HDC dc = c.Handle();
  EXPECT_EQ(c.ClipRect(), Rect(0, 0, 6, 4));
  const int saved = SaveDC(dc);
  EXPECT_EQ(IntersectClipRect(dc, 1, 0, 5, 4), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(dc, 2, 1, 4, 3), COMPLEXREGION);
  EXPECT_EQ(c.ClipRect(), Rect(1, 0, 5, 4));
  FillBlack(c, Rect(0, 0, 6, 4));
  EXPECT_EQ(Art(b), Rows(".####.", ".#..#.", ".#..#.", ".####."));
  EXPECT_TRUE(RestoreDC(dc, saved));
  FillBlack(c, Rect(2, 1, 3, 2));
  EXPECT_EQ(Art(b), Rows(".####.", ".##.#.", ".#..#.", ".####."));
  EXPECT_FALSE(RestoreDC(dc, -1));  // nothing saved any more
}

TEST(ClipAndCopyTest, ClipOfNothingDrawsNothingAndReportsAnEmptyBox) {
  TBitmap b(3, 3);
  TCanvas& c = b.Canvas();
  EXPECT_EQ(IntersectClipRect(c.Handle(), 5, 5, 9, 9), NULLREGION);
  EXPECT_EQ(c.ClipRect(), TRect{});
  FillBlack(c, Rect(0, 0, 3, 3));
  c.Rectangle(0, 0, 3, 3);
  c.TextOut(0, 0, "x");
  EXPECT_EQ(Art(b), Rows("...", "...", "..."));
  EXPECT_EQ(c.Pixels(1, 1), CLR_INVALID);
}

TEST(ClipAndCopyTest, RestoreDcToALevelPopsEveryLaterSave) {
  TBitmap b(4, 1);
  HDC dc = b.Canvas().Handle();
  const int first = SaveDC(dc);
  IntersectClipRect(dc, 0, 0, 1, 1);
  SaveDC(dc);
  IntersectClipRect(dc, 0, 0, 0, 0);
  EXPECT_EQ(SaveDC(dc), 3);
  EXPECT_TRUE(RestoreDC(dc, first));
  EXPECT_EQ(b.Canvas().ClipRect(), Rect(0, 0, 4, 1));
  EXPECT_FALSE(RestoreDC(dc, 1));
}

TEST(ClipAndCopyTest, ViewportOriginMovesDrawingAndClip) {
  TBitmap b(5, 3);
  TCanvas& c = b.Canvas();
  HDC dc = c.Handle();
  SetViewportOrgEx(dc, 2, 1);
  IntersectClipRect(dc, 0, 0, 2, 2);
  EXPECT_EQ(c.ClipRect(), Rect(0, 0, 2, 2));
  FillBlack(c, Rect(-2, -1, 5, 5));
  EXPECT_EQ(Art(b), Rows(".....", "..##.", "..##."));
  EXPECT_EQ(c.Pixels(0, 0), clBlack);
}

TEST(ClipAndCopyTest, TransparentDrawLeavesOutTheKeyColour) {
  TBitmap glyph(3, 2);
  glyph.Canvas().SetPixels(1, 0, clBlack);
  glyph.Canvas().SetPixels(2, 1, clRed);
  glyph.SetTransparent(true);  // tmAuto: the bottom-left pixel's colour, white
  TBitmap b(4, 3);
  b.Canvas().Brush().SetColor(clBlue);
  b.Canvas().FillRect(Rect(0, 0, 4, 3));
  b.Canvas().Draw(1, 1, glyph);
  EXPECT_EQ(Art(b), Rows("bbbb", "bb#b", "bbbr"));
  glyph.SetTransparentColor(clBlack);
  b.Canvas().Draw(0, 0, glyph);
  EXPECT_EQ(Art(b), Rows(".b.b", "..rb", "bbbr"));
}

TEST(ClipAndCopyTest, StretchDrawAndCopyRectScaleByNearestPixel) {
  TBitmap src(2, 2);
  src.Canvas().SetPixels(0, 0, clBlack);
  src.Canvas().SetPixels(1, 1, clRed);
  TBitmap b(4, 4);
  b.Canvas().StretchDraw(Rect(0, 0, 4, 4), src);
  EXPECT_EQ(Art(b), Rows("##..", "##..", "..rr", "..rr"));
  TBitmap shrunk(2, 2);
  shrunk.Canvas().CopyRect(Rect(0, 0, 2, 1), b.Canvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(Art(shrunk), Rows(".r", ".."));  // the pixels under the centres
  // Onto itself, overlapping: reads the pixels as they were.
  b.Canvas().CopyRect(Rect(1, 0, 4, 4), b.Canvas(), Rect(0, 0, 3, 4));
  EXPECT_EQ(Art(b), Rows("###.", "###.", "...r", "...r"));
}

TEST(ClipAndCopyTest, AlphaBitmapsBlendByTheirAlpha) {
  TBitmap overlay(2, 1);
  overlay.ScanLine(0)[0] = 0x00000000;  // fully transparent
  overlay.ScanLine(0)[1] = 0x80000000;  // half black
  overlay.SetAlphaFormat(TAlphaFormat::afDefined);
  TBitmap b(2, 1);
  b.Canvas().Draw(0, 0, overlay);
  EXPECT_EQ(b.Canvas().Pixels(0, 0), clWhite);
  EXPECT_EQ(b.Canvas().Pixels(1, 0), RGB(127, 127, 127));
}

}  // namespace
}  // namespace platform
