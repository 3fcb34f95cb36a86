#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/TestFont.h"
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

// Each would build its pixels over 2^27 rows if it were not cut to the bitmap first.
TEST(CanvasLimitsTest, FiguresReachingFarBeyondTheBitmapDrawOnlyWhatShows) {
  constexpr int kFar = 1 << 26;
  const TPoint triangle[] = {{-kFar, -kFar}, {kFar, 0}, {-kFar, kFar}};
  struct Case {
    const char* what;
    std::function<void(TCanvas&)> draw;
    std::string art;
  };
  const Case cases[] = {
      {"fill", [](TCanvas& c) { c.FillRect(Rect(1, -kFar, 3, kFar)); }, Rows(".rr.....", ".rr.....", ".rr.....")},
      {"line", [](TCanvas& c) { c.MoveTo(2, -kFar), c.LineTo(2, kFar); }, Rows("..#.....", "..#.....", "..#.....")},
      {"diagonal", [](TCanvas& c) { c.MoveTo(-kFar, -kFar), c.LineTo(kFar, kFar); },
       Rows("#.......", ".#......", "..#.....")},
      // The dots keep their phase from the far start: 2^26 = 4 (mod 6), so x is on where (x + 4) mod 6 < 3;
      // the gaps show the background colour, the brush's.
      {"dots", [](TCanvas& c) { c.Pen().SetStyle(TPenStyle::psDot), c.MoveTo(-kFar, 1), c.LineTo(kFar, 1); },
       Rows("........", "rr###rrr", "........")},
      {"wide line", [](TCanvas& c) { c.Pen().SetWidth(3), c.MoveTo(5, -kFar), c.LineTo(5, kFar); },
       Rows("....###.", "....###.", "....###.")},
      {"rectangle", [](TCanvas& c) { c.Rectangle(-kFar, -kFar, kFar, kFar); }, Rows("rrrrrrrr", "rrrrrrrr", "rrrrrrrr")},
      {"wide rectangle", [](TCanvas& c) { c.Pen().SetWidth(5), c.Rectangle(-kFar, 4, kFar, kFar); },
       Rows("........", "........", "########")},
      {"ellipse", [](TCanvas& c) { c.Ellipse(-kFar, -kFar, kFar, kFar); }, Rows("rrrrrrrr", "rrrrrrrr", "rrrrrrrr")},
      {"round rectangle", [](TCanvas& c) { c.RoundRect(-kFar, -kFar, kFar, kFar, kFar, kFar); },
       Rows("rrrrrrrr", "rrrrrrrr", "rrrrrrrr")},
      {"polygon", [&](TCanvas& c) { c.Polygon(triangle); }, Rows("rrrrrrrr", "rrrrrrrr", "rrrrrrrr")},
      {"focus rectangle", [](TCanvas& c) { c.DrawFocusRect(Rect(-kFar, -kFar, kFar, kFar)); },
       Rows("........", "........", "........")},
      {"edge", [](TCanvas& c) {
         TRect r = Rect(-kFar, -kFar, kFar, kFar);
         DrawEdge(c.Handle(), r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
       },
       Rows("ssssssss", "ssssssss", "ssssssss")},
      {"radio button", [](TCanvas& c) {
         TRect r = Rect(-kFar, -kFar, kFar, kFar);
         DrawFrameControl(c.Handle(), r, DFC_BUTTON, DFCS_BUTTONRADIO);
       },
       Rows("........", "........", "........")},
      {"scroll button", [](TCanvas& c) {
         TRect r = Rect(-kFar, -kFar, kFar, kFar);
         DrawFrameControl(c.Handle(), r, DFC_SCROLL, DFCS_SCROLLLEFT);  // the middle of its arrow
       },
       Rows("########", "########", "########")},
      {"stretch", [](TCanvas& c) {
         TBitmap source(2, 2);
         source.Canvas().SetPixels(1, 1, clBlue);
         c.StretchDraw(Rect(-kFar, -kFar, kFar, kFar), source);
       },
       Rows("bbbbbbbb", "bbbbbbbb", "bbbbbbbb")},
  };
  for (const Case& c : cases) {
    TBitmap b(8, 3);
    b.Canvas().Brush().SetColor(clRed);
    c.draw(b.Canvas());
    EXPECT_EQ(Art(b), c.art) << c.what;
  }
}

// The device context keeps device coordinates within 2^27 of the origin, as its own arithmetic needs;
// figures reaching further are drawn as if they ended there.
TEST(CanvasLimitsTest, CoordinatesAtTheIntegerLimitsDrawWithoutOverflow) {
  constexpr int kMin = INT_MIN, kMax = INT_MAX;
  const TPoint triangle[] = {{kMin, kMin}, {kMax, 0}, {kMin, kMax}};
  struct Case {
    const char* what;
    std::function<void(TCanvas&)> draw;
    std::string art;
  };
  const Case cases[] = {
      {"line", [](TCanvas& c) { c.MoveTo(kMin, 1), c.LineTo(kMax, 1); }, Rows("........", "########", "........")},
      {"rectangle", [](TCanvas& c) { c.Pen().SetWidth(3), c.Rectangle(kMin, kMin, kMax, kMax); },
       Rows("rrrrrrrr", "rrrrrrrr", "rrrrrrrr")},
      {"widest pen", [](TCanvas& c) { c.Pen().SetWidth(kMax), c.MoveTo(kMin, kMin), c.LineTo(kMax, kMax); },
       Rows("########", "########", "########")},
      {"ellipse", [](TCanvas& c) { c.Ellipse(kMin, kMin, kMax, kMax); }, Rows("rrrrrrrr", "rrrrrrrr", "rrrrrrrr")},
      {"polygon", [&](TCanvas& c) { c.Polygon(triangle); }, Rows("rrrrrrrr", "rrrrrrrr", "rrrrrrrr")},
      {"edge", [](TCanvas& c) {
         TRect r = Rect(kMin, kMin, kMax, kMax);
         DrawEdge(c.Handle(), r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
       },
       Rows("ssssssss", "ssssssss", "ssssssss")},
      {"stretch", [](TCanvas& c) {
         TBitmap source(2, 2);
         source.Canvas().SetPixels(1, 1, clBlue);
         c.StretchDraw(Rect(kMin, kMin, kMax, kMax), source);
       },
       Rows("bbbbbbbb", "bbbbbbbb", "bbbbbbbb")},
      {"centred text", [](TCanvas& c) {
         c.Font().SetName(kTestFontName), c.Font().SetHeight(-16), c.Font().SetColor(clBlack);
         TRect r = Rect(kMin, kMin, kMax, kMax);  // "ab" lands 8 pixels left of and above the origin
         DrawText(c.Handle(), "ab", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
       },
       Rows("#######r", "#######r", "#######r")},
      {"check box", [](TCanvas& c) {
         TRect r = Rect(kMin, kMin, kMax, kMax);
         DrawFrameControl(c.Handle(), r, DFC_BUTTON, DFCS_BUTTONCHECK);
       },
       Rows("........", "........", "........")},
      {"moved origin", [](TCanvas& c) {
         SetViewportOrgEx(c.Handle(), 5, 1);
         c.FillRect(Rect(kMin, 0, kMax, 1));
         c.MoveTo(-5, kMax), c.LineTo(-5, kMin);
       },
       Rows("#.......", "#rrrrrrr", "#.......")},
  };
  for (const Case& c : cases) {
    TBitmap b(8, 3);
    b.Canvas().Brush().SetColor(clRed);
    c.draw(b.Canvas());
    EXPECT_EQ(Art(b), c.art) << c.what;
  }
}

}  // namespace
}  // namespace platform
