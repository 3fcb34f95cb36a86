#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/PageSink.h"
#include "platform/gfx/Raster.h"
#include "platform/gfx/TestFont.h"
#include "platform/gfx/tests/PixelArt.h"

namespace platform {
namespace {

// Paints what it receives onto a bitmap of the page's size and records the glyph runs and images.
class PaintingSink : public PageSink {
public:
  PaintingSink(int width, int height) : page(width, height) {}

  void FillRegion(const Region& region, TColor color) override {
    RasterTarget t{page.ScanLine(0), page.Width(), page.Height(), nullptr};
    PaintRegion(t, region, PixelFromColor(color), R2_COPYPEN);
    ++regions;
  }
  void GlyphRun(const PageGlyphRun& run) override { runs.push_back(run); }
  void Image(const TRect& dest, const TBitmap& source, const TRect& src, PageImageMode mode, TColor transparent,
             const Region* clip) override {
    images.push_back({dest, src, source.Width(), clip != nullptr});
  }

  struct ImageCall {
    TRect dest, src;
    int sourceWidth;
    bool clipped;
  };
  TBitmap page;
  int regions = 0;
  std::vector<PageGlyphRun> runs;
  std::vector<ImageCall> images;
};

// The same drawing on the page device and on a bitmap, figures without text.
void DrawFigures(TCanvas& c) {
  HDC dc = c.Handle();
  SetMapMode(dc, MM_LOMETRIC);
  c.Brush().SetColor(clRed);
  c.FillRect(Rect(10, -10, 200, -60));
  c.Pen().SetColor(clBlue);
  c.Pen().SetWidth(3);
  c.Rectangle(20, -80, 150, -150);
  c.Pen().SetWidth(1);
  c.Pen().SetStyle(TPenStyle::psDot);
  c.MoveTo(0, -170);
  c.LineTo(250, -190);
  c.Pen().SetStyle(TPenStyle::psSolid);
  IntersectClipRect(dc, 0, 0, 120, -300);
  c.Brush().SetColor(clGreen);
  c.Ellipse(60, -200, 220, -280);
}

TEST(PageSinkTest, ThePageDeviceHandsOnTheGeometryABitmapPaints) {
  const int w = 300, h = 340;  // pixels at 300 dpi
  PaintingSink sink(w, h);
  TCanvas page(sink, {w, h}, 300);
  DrawFigures(page);
  TBitmap direct(w, h);
  TCanvas bitmap(direct, 300);
  DrawFigures(bitmap);
  EXPECT_GT(sink.regions, 4);
  EXPECT_EQ(test::Art(sink.page), test::Art(direct));
  EXPECT_EQ(GetDeviceCaps(page.Handle(), HORZRES), w);
  EXPECT_EQ(GetDeviceCaps(page.Handle(), VERTRES), h);
  EXPECT_EQ(GetDeviceCaps(page.Handle(), LOGPIXELSX), 300);
  EXPECT_EQ(page.Pixels(1, 1), CLR_INVALID);
}

TEST(PageSinkTest, TextBecomesAGlyphRunAtTheRastersPositions) {
  PaintingSink sink(400, 200);
  TCanvas page(sink, {400, 200}, 254);
  page.Font().SetName(kTestFontName);
  page.Font().SetHeight(-20);  // 20 pixels at 254 dpi: advance 10, ascent 15
  page.Font().SetColor(clMaroon);
  page.Font().SetStyle(TFontStyles{TFontStyle::fsUnderline});
  page.Brush().SetStyle(TBrushStyle::bsClear);
  SetMapMode(page.Handle(), MM_LOMETRIC);
  page.TextOut(30, -40, "Ab");
  ASSERT_EQ(sink.runs.size(), 1u);
  const PageGlyphRun& run = sink.runs[0];
  EXPECT_EQ(run.color, ColorToRGB(clMaroon));
  EXPECT_EQ(run.escapement, 0);
  ASSERT_EQ(run.glyphs.size(), 2u);
  EXPECT_EQ(run.glyphs[0].code, U'A');
  EXPECT_DOUBLE_EQ(run.glyphs[0].x, 30);
  EXPECT_DOUBLE_EQ(run.glyphs[0].y, 55);  // the baseline: cell top 40 + ascent 15
  EXPECT_DOUBLE_EQ(run.glyphs[1].x, 40);
  EXPECT_EQ(run.face->Metrics().tmHeight, 20);
  EXPECT_EQ(sink.regions, 1);  // the underline
}

TEST(PageSinkTest, ImagesAndStretchDibitsReachTheSinkWithTheirRectangles) {
  PaintingSink sink(100, 100);
  TCanvas page(sink, {100, 100}, 254);
  TBitmap picture(4, 3);
  SetMapMode(page.Handle(), MM_LOMETRIC);
  EXPECT_EQ(StretchDIBits(page.Handle(), 10, -10, 40, -30, 0, 0, 4, 3, picture), 3);
  page.Draw(50, -50, picture);
  ASSERT_EQ(sink.images.size(), 2u);
  EXPECT_EQ(sink.images[0].dest, Rect(10, 10, 50, 40));
  EXPECT_EQ(sink.images[0].src, Rect(0, 0, 4, 3));
  EXPECT_EQ(sink.images[0].sourceWidth, 4);
  EXPECT_FALSE(sink.images[0].clipped);
}

}  // namespace
}  // namespace platform
