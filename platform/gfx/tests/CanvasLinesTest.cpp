#include <gtest/gtest.h>

#include <memory>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/tests/PixelArt.h"

namespace platform {
namespace {

using test::Art;
using test::Rows;

TEST(CanvasLinesTest, OnePixelLinesLeaveOutTheirEndPoint) {
  struct Case {
    TPoint from, to;
    std::string art;
  };
  const Case cases[] = {
      {{0, 1}, {5, 1}, Rows(".....", "#####", ".....", ".....", ".....")},
      {{4, 3}, {0, 3}, Rows(".....", ".....", ".....", ".####", ".....")},
      {{2, 0}, {2, 4}, Rows("..#..", "..#..", "..#..", "..#..", ".....")},
      {{0, 0}, {4, 4}, Rows("#....", ".#...", "..#..", "...#.", ".....")},
      {{4, 0}, {0, 4}, Rows("....#", "...#.", "..#..", ".#...", ".....")},
      {{0, 0}, {4, 2}, Rows("#....", ".##..", "...#.", ".....", ".....")},
      {{2, 2}, {2, 2}, Rows(".....", ".....", ".....", ".....", ".....")},
  };
  for (const Case& c : cases) {
    TBitmap b(5, 5);
    b.Canvas().MoveTo(c.from.X, c.from.Y);
    b.Canvas().LineTo(c.to.X, c.to.Y);
    EXPECT_EQ(Art(b), c.art) << c.from.X << "," << c.from.Y << " -> " << c.to.X << "," << c.to.Y;
    EXPECT_EQ(b.Canvas().PenPos(), c.to);
  }
}

TEST(CanvasLinesTest, PolylineDrawsEveryJointOnceSoXorKeepsThem) {
  TBitmap b(5, 4);
  TCanvas& c = b.Canvas();
  c.Pen().SetMode(TPenMode::pmXor);
  c.Pen().SetColor(clWhite);
  const TPoint points[] = {{0, 0}, {4, 0}, {4, 3}, {0, 3}, {0, 0}};
  c.Polyline(points);
  EXPECT_EQ(Art(b), Rows("#####", "#...#", "#...#", "#####"));
  c.Polyline(points);
  EXPECT_EQ(Art(b), Rows(".....", ".....", ".....", "....."));
}

TEST(CanvasLinesTest, DottedPenInOpaqueModeFillsItsGapsWithTheBackground) {
  TBitmap b(8, 2);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(clRed);
  c.Pen().SetStyle(TPenStyle::psDot);
  c.MoveTo(0, 0);
  c.LineTo(8, 0);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.MoveTo(0, 1);
  c.LineTo(8, 1);
  EXPECT_EQ(Art(b), Rows("###rrr##", "###...##"));
}

TEST(CanvasLinesTest, XorDottedLineDrawnTwiceLeavesNothing) {
  TBitmap b(3, 40);
  TCanvas& c = b.Canvas();
  c.FillRect(Rect(0, 0, 3, 40));
  c.Pen().SetStyle(TPenStyle::psDot);
  c.Pen().SetMode(TPenMode::pmXor);
  c.Pen().SetColor(clWhite);
  const std::string before = Art(b);
  c.MoveTo(1, 0);
  c.LineTo(1, 40);
  EXPECT_NE(Art(b), before);
  c.MoveTo(1, 0);
  c.LineTo(1, 40);
  EXPECT_EQ(Art(b), before);
}

TEST(CanvasLinesTest, WidePenCoversItsWidthAndRoundEnds) {
  TBitmap b(9, 7);
  TCanvas& c = b.Canvas();
  c.Pen().SetWidth(3);
  c.MoveTo(2, 3);
  c.LineTo(6, 3);
  // Three rows centred on the line; the round ends reach the pixels whose centres lie within 1.5.
  EXPECT_EQ(Art(b), Rows(".........", ".........", ".#######.", ".#######.", ".#######.", ".........",
                         "........."));
}

TEST(CanvasLinesTest, WidePenCoversTheSamePixelsWhereverTheFigureIsMoved) {
  // A pixel centre here lies exactly on the edge of the 4-pixel pen; it must fall the same way at
  // every position.
  const TPoint outline[] = {{24, 29}, {-26, -7}, {-9, 16}, {-21, 21}};
  auto draw = [&](int size, int origin) {
    auto b = std::make_unique<TBitmap>(size, size);
    TCanvas& c = b->Canvas();
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Pen().SetWidth(4);
    SetViewportOrgEx(c.Handle(), origin, origin);
    c.Polygon(outline);
    return b;
  };
  const auto near = draw(64, 30), far = draw(64 + 1000, 30 + 1000);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      ASSERT_EQ(test::PixelAt(*near, x, y), test::PixelAt(*far, x + 1000, y + 1000)) << x << "," << y;
}

}  // namespace
}  // namespace platform
