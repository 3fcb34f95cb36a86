// Grid-cell markup through RenderHTML, 100 000 times each: a centred image from an image list; a bold
// word and a coloured word; a two-line wrapped paragraph with an anchor. Every call measures the cell
// (CheckHeight, as a grid does for its row heights) and then draws it, in "Tahoma" at 8 points into a
// 100 x 36 cell; the time of one iteration is the time per cell. A visible grid of 320 cells should paint well inside a 16 ms frame: aim under 20 us.
#include <benchmark/benchmark.h>

#include <string>

#include "controls/html/RenderHTML.h"
#include "platform/gfx/Bitmap.h"

namespace {

using namespace platform;
using namespace controls;

void MeasureAndDraw(benchmark::State& state, const std::string& text) {
  TBitmap bitmap(100, 36);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Font().SetName("Tahoma");
  canvas.Font().SetSize(8);
  TImageList images(nullptr);
  TBitmap strip(16, 16);
  strip.Canvas().Brush().SetColor(clRed);
  strip.Canvas().Ellipse(0, 0, 16, 16);
  images.AddMasked(strip, clWhite);
  TMarkupPictureCache cache;
  const TRect cell = Rect(0, 0, 100, 36);
  std::string anchor, stripped, focus;
  int xSize = 0, ySize = 0, links = 0, mouse = 0;
  TRect hover{};
  for (auto _ : state) {
    for (bool measure : {true, false})
      RenderHTML(canvas, text, cell, &images, -1, -1, -1, -1, 1, false, measure, false, false, true, false, true,
                 1.0, clBlue, clNone, clNone, clGray, anchor, stripped, focus, xSize, ySize, links, mouse, hover,
                 &cache, nullptr);
    benchmark::DoNotOptimize(ySize);
  }
}

void CentredImage(benchmark::State& state) { MeasureAndDraw(state, "<P align=\"center\"><IMG src=\"idx:0\"></P>"); }
void BoldAndColouredWord(benchmark::State& state) {
  MeasureAndDraw(state, "<B>Server</B> <FONT color=\"clred\">down</FONT>");
}
void WrappedParagraphWithAnchor(benchmark::State& state) {
  MeasureAndDraw(state, "Host 192.168.1.20 answers again, see <A href=\"log\">the log</A> for details");
}

BENCHMARK(CentredImage)->Iterations(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BoldAndColouredWord)->Iterations(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(WrappedParagraphWithAnchor)->Iterations(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
