// The canvas beside cairo on the same work: filling a 1920 x 1080 bitmap, 10 000 short text runs and
// 10 000 one-pixel lines. Both draw into 32-bit pixels without antialiasing except for text, and both
// text paths use the same installed face (Liberation Sans, through fontconfig and FreeType) at 13
// pixels. Compare the times of each pair.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <random>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

namespace {

using namespace platform;

constexpr int kWidth = 1920, kHeight = 1080, kRuns = 10000;

struct Segment {
  int x0, y0, x1, y1;
};

// The same pseudo-random lines (up to 40 pixels in each direction) and text positions for both.
const std::vector<Segment>& Segments() {
  static const std::vector<Segment> segments = [] {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> x(40, kWidth - 120), y(40, kHeight - 60), d(-40, 40);
    std::vector<Segment> s;
    for (int i = 0; i < kRuns; ++i) {
      const int ax = x(random), ay = y(random);
      s.push_back({ax, ay, ax + d(random), ay + d(random)});
    }
    return s;
  }();
  return segments;
}

struct CairoTarget {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  CairoTarget() { cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE); }
  ~CairoTarget() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
};

void BM_FillCanvas(benchmark::State& state) {
  TBitmap b(kWidth, kHeight);
  TCanvas& c = b.Canvas();
  bool red = false;
  for (auto _ : state) {
    c.Brush().SetColor((red = !red) ? clRed : clBlue);
    c.FillRect(Rect(0, 0, kWidth, kHeight));
    benchmark::DoNotOptimize(b.ScanLine(0)[0]);
  }
}
BENCHMARK(BM_FillCanvas)->Unit(benchmark::kMicrosecond);

void BM_FillCairo(benchmark::State& state) {
  CairoTarget t;
  bool red = false;
  for (auto _ : state) {
    red = !red;
    cairo_set_source_rgb(t.cr, red ? 1 : 0, 0, red ? 0 : 1);
    cairo_rectangle(t.cr, 0, 0, kWidth, kHeight);
    cairo_fill(t.cr);
    cairo_surface_flush(t.surface);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(t.surface)[0]);
  }
}
BENCHMARK(BM_FillCairo)->Unit(benchmark::kMicrosecond);

void BM_TextCanvas(benchmark::State& state) {
  TBitmap b(kWidth, kHeight);
  TCanvas& c = b.Canvas();
  c.Font().SetName("Arial");
  c.Font().SetHeight(-13);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  for (auto _ : state)
    for (const Segment& s : Segments()) c.TextOut(s.x0, s.y0, "Host 42 up");
  state.SetItemsProcessed(state.iterations() * kRuns);
}
BENCHMARK(BM_TextCanvas)->Unit(benchmark::kMillisecond);

void BM_TextCairo(benchmark::State& state) {
  CairoTarget t;
  cairo_set_antialias(t.cr, CAIRO_ANTIALIAS_GRAY);
  cairo_select_font_face(t.cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(t.cr, 13);
  cairo_set_source_rgb(t.cr, 0, 0, 0);
  for (auto _ : state) {
    for (const Segment& s : Segments()) {
      cairo_move_to(t.cr, s.x0, s.y0 + 12);
      cairo_show_text(t.cr, "Host 42 up");
    }
    cairo_surface_flush(t.surface);
  }
  state.SetItemsProcessed(state.iterations() * kRuns);
}
BENCHMARK(BM_TextCairo)->Unit(benchmark::kMillisecond);

void BM_LinesCanvas(benchmark::State& state) {
  TBitmap b(kWidth, kHeight);
  TCanvas& c = b.Canvas();
  for (auto _ : state) {
    for (const Segment& s : Segments()) {
      c.MoveTo(s.x0, s.y0);
      c.LineTo(s.x1, s.y1);
    }
  }
  state.SetItemsProcessed(state.iterations() * kRuns);
}
BENCHMARK(BM_LinesCanvas)->Unit(benchmark::kMillisecond);

void BM_LinesCairo(benchmark::State& state) {
  CairoTarget t;
  cairo_set_line_width(t.cr, 1);
  cairo_set_source_rgb(t.cr, 0, 0, 0);
  for (auto _ : state) {
    for (const Segment& s : Segments()) {
      cairo_move_to(t.cr, s.x0 + 0.5, s.y0 + 0.5);
      cairo_line_to(t.cr, s.x1 + 0.5, s.y1 + 0.5);
      cairo_stroke(t.cr);
    }
    cairo_surface_flush(t.surface);
  }
  state.SetItemsProcessed(state.iterations() * kRuns);
}
BENCHMARK(BM_LinesCairo)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
