#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/TestFont.h"
#include "platform/gfx/tests/CanvasStateText.h"
#include "platform/gfx/tests/PixelArt.h"

namespace platform {
namespace {

// A state with every part set, the brush changed after the canvas last selected it.
void Prepare(TCanvas& c) {
  c.Pen().SetColor(clRed);
  c.Font().SetName(kTestFontName);
  c.Font().SetHeight(-8);
  c.Font().SetColor(clBlack);
  SetViewportOrgEx(c.Handle(), 1, 1);
  IntersectClipRect(&c, 0, 0, 12, 7);
  c.Brush().SetColor(clBlue);
}

// Draws with the pen, the brush and the font, under the origin and the clip.
void Probe(TCanvas& c) {
  c.Rectangle(-1, -1, 6, 5);
  c.TextOut(6, 0, "xy");
}

void Whiten(TBitmap& b) {
  for (int y = 0; y < b.Height(); ++y) std::fill(b.ScanLine(y), b.ScanLine(y) + b.Width(), 0xFFFFFFFF);
}

TEST(CanvasStateGuardTest, PutsBackWhatItsScopeChanged) {
  struct Case {
    const char* name;
    std::function<void(TCanvas&)> change;
  };
  const std::vector<Case> cases = {
      {"pen", [](TCanvas& c) { c.Pen().SetColor(clGreen); c.Pen().SetWidth(3); c.Pen().SetStyle(TPenStyle::psDot); c.Pen().SetMode(TPenMode::pmXor); }},
      {"brush", [](TCanvas& c) { c.Brush().SetColor(clYellow); c.Brush().SetStyle(TBrushStyle::bsClear); }},
      {"font", [](TCanvas& c) { c.Font().SetHeight(-16); c.Font().SetColor(clRed); c.Font().SetStyle({TFontStyle::fsBold}); }},
      {"origin", [](TCanvas& c) { SetViewportOrgEx(&c, 4, 3); }},
      {"clip", [](TCanvas& c) { IntersectClipRect(&c, 2, 2, 4, 4); }},
      {"device context", [](TCanvas& c) {
         TLogFont wide;
         wide.FaceName = kTestFontName;
         wide.Height = -20;
         SelectFont(&c, wide);
         SetTextColor(&c, clLime);
         SetBkMode(&c, TRANSPARENT);
       }},
      {"a save left open", [](TCanvas& c) { SaveDC(&c); ExcludeClipRect(&c, 0, 0, 12, 3); }},
  };
  TBitmap reference(16, 10);
  Prepare(reference.Canvas());
  const std::string before = test::CanvasStateText(reference.Canvas());
  Probe(reference.Canvas());
  for (const Case& row : cases) {
    TBitmap b(16, 10);
    TCanvas& c = b.Canvas();
    Prepare(c);
    {
      CanvasStateGuard guard(c);
      row.change(c);
      Probe(c);  // selects the changed objects into the device context
    }
    EXPECT_EQ(test::CanvasStateText(c), before) << row.name;
    Whiten(b);
    Probe(c);
    EXPECT_EQ(test::Art(b), test::Art(reference)) << row.name;
  }
}

TEST(CanvasStateGuardTest, NestedGuardsEachRestoreTheirOwnLevel) {
  TBitmap b(8, 8);
  TCanvas& c = b.Canvas();
  {
    CanvasStateGuard outer(c);
    IntersectClipRect(&c, 0, 0, 6, 6);
    c.Pen().SetColor(clRed);
    {
      CanvasStateGuard inner(c);
      IntersectClipRect(&c, 0, 0, 2, 2);
      c.Pen().SetColor(clBlue);
    }
    EXPECT_EQ(c.ClipRect(), Rect(0, 0, 6, 6));
    EXPECT_EQ(c.Pen().Color(), clRed);
  }
  EXPECT_EQ(c.ClipRect(), Rect(0, 0, 8, 8));
  EXPECT_EQ(c.Pen().Color(), clBlack);
  EXPECT_FALSE(RestoreDC(&c, -1));  // nothing left on the save stack
}

}  // namespace
}  // namespace platform
