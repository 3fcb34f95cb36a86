#include <gtest/gtest.h>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/tests/PixelArt.h"

namespace platform {
namespace {

using test::Art;
using test::Rows;

// A 7 x 6 bitmap with a red brush and a black one-pixel pen.
struct Figure : TBitmap {
  Figure() : TBitmap(7, 6) { Canvas().Brush().SetColor(clRed); }
};

TEST(CanvasFiguresTest, RectangleOutlineAndFillInsets) {
  Figure b;
  b.Canvas().Rectangle(1, 1, 6, 5);
  EXPECT_EQ(Art(b), Rows(".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", "......."));
}

TEST(CanvasFiguresTest, RectangleWithoutPenIsOnePixelSmaller) {
  Figure b;
  b.Canvas().Pen().SetStyle(TPenStyle::psClear);
  b.Canvas().Rectangle(1, 1, 6, 5);
  EXPECT_EQ(Art(b), Rows(".......", ".rrrr..", ".rrrr..", ".rrrr..", ".......", "......."));
}

TEST(CanvasFiguresTest, RectangleWithClearBrushDrawsOnlyTheOutline) {
  Figure b;
  b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
  b.Canvas().Rectangle(Rect(1, 1, 6, 5));
  EXPECT_EQ(Art(b), Rows(".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."));
}

TEST(CanvasFiguresTest, WidePenIsCentredOnTheOutlineOrInsideTheFrame) {
  TBitmap b(8, 8);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(clRed);
  c.Pen().SetWidth(2);
  c.Rectangle(2, 2, 6, 6);
  EXPECT_EQ(Art(b), Rows("........", ".######.", ".######.", ".##rr##.", ".##rr##.", ".######.", ".######.",
                         "........"));
  TBitmap inside(8, 8);
  inside.Canvas().Brush().SetColor(clRed);
  inside.Canvas().Pen().SetWidth(2);
  inside.Canvas().Pen().SetStyle(TPenStyle::psInsideFrame);
  inside.Canvas().Rectangle(1, 1, 7, 7);
  EXPECT_EQ(Art(inside), Rows("........", ".######.", ".######.", ".##rr##.", ".##rr##.", ".######.", ".######.",
                              "........"));
}

TEST(CanvasFiguresTest, FillRectAndFrameRectUseTheBrushWithinTheRectangle) {
  Figure b;
  TCanvas& c = b.Canvas();
  c.FillRect(Rect(0, 0, 3, 2));
  c.Brush().SetColor(clBlack);
  c.FrameRect(Rect(3, 1, 7, 6));
  c.FillRect(Rect(5, 0, 4, 1));  // right of left: nothing
  EXPECT_EQ(Art(b), Rows("rrr....", "rrr####", "...#..#", "...#..#", "...#..#", "...####"));
}

TEST(CanvasFiguresTest, EllipseFillsTheInscribedEllipseSymmetrically) {
  TBitmap b(8, 8);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(clRed);
  c.Ellipse(0, 0, 8, 8);
  EXPECT_EQ(Art(b), Rows("..####..", ".#rrrr#.", "#rrrrrr#", "#rrrrrr#", "#rrrrrr#", "#rrrrrr#", ".#rrrr#.",
                         "..####.."));
}

TEST(CanvasFiguresTest, RoundRectRoundsOnlyItsCorners) {
  TBitmap b(9, 6);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(clRed);
  c.RoundRect(0, 0, 9, 6, 4, 4);
  EXPECT_EQ(Art(b), Rows(".#######.", "#rrrrrrr#", "#rrrrrrr#", "#rrrrrrr#", "#rrrrrrr#", ".#######."));
}

TEST(CanvasFiguresTest, PolygonFillsInsideAndOutlinesThroughEveryPoint) {
  TBitmap b(7, 6);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(clRed);
  const TPoint triangle[] = {{0, 0}, {6, 0}, {0, 5}};
  c.Polygon(triangle);
  // The fill takes the pixels whose centres lie inside; the pen's line rounds to its own pixels.
  EXPECT_EQ(Art(b), Rows("#######", "#rrr.#.", "#rr.#..", "#r##...", "##.....", "#......"));
}

TEST(CanvasFiguresTest, XorFigureDrawnTwiceRestoresThePixels) {
  TBitmap b(10, 10);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(clBlue);
  c.FillRect(Rect(0, 0, 5, 10));
  const std::string before = Art(b);
  c.Pen().SetMode(TPenMode::pmXor);
  c.Pen().SetColor(clRed);
  c.Brush().SetColor(clSilver);
  c.Pen().SetStyle(TPenStyle::psDot);
  c.Ellipse(1, 1, 9, 9);
  c.Rectangle(0, 2, 8, 7);
  const TPoint star[] = {{0, 0}, {9, 9}, {9, 0}, {0, 9}};
  c.Polygon(star);
  EXPECT_NE(Art(b), before);
  c.Polygon(star);
  c.Rectangle(0, 2, 8, 7);
  c.Ellipse(1, 1, 9, 9);
  EXPECT_EQ(Art(b), before);
}

TEST(CanvasFiguresTest, FocusRectangleDrawnTwiceLeavesTheBitmapUnchanged) {
  TBitmap b(6, 5);
  TCanvas& c = b.Canvas();
  c.DrawFocusRect(Rect(0, 0, 6, 5));
  EXPECT_EQ(Art(b), Rows("#.#.#.", ".....#", "#.....", ".....#", "#.#.#."));
  c.DrawFocusRect(Rect(0, 0, 6, 5));
  EXPECT_EQ(Art(b), Rows("......", "......", "......", "......", "......"));
  c.DrawFocusRect(Rect(1, 2, 5, 3));  // one row high: each pixel once
  EXPECT_EQ(Art(b), Rows("......", "......", "..#.#.", "......", "......"));
}

TEST(CanvasFiguresTest, PixelsReadAndWriteThroughTheCanvas) {
  TBitmap b(2, 2);
  b.Canvas().SetPixels(1, 0, clRed);
  EXPECT_EQ(b.Canvas().Pixels(1, 0), clRed);
  EXPECT_EQ(b.Canvas().Pixels(0, 0), clWhite);
  EXPECT_EQ(b.Canvas().Pixels(2, 0), CLR_INVALID);
  EXPECT_EQ(b.ScanLine(0)[1], 0xFFFF0000u);
}

}  // namespace
}  // namespace platform
