// Grid-cell markup through RenderHTML, 100 000 times each: a centred image from an image list; a bold
// word and a coloured word; a two-line wrapped paragraph with an anchor. Every call measures the cell
// (CheckHeight, as a grid does for its row heights) and then draws it, in "Tahoma" at 8 points into a
// 100 x 36 cell; the time of one iteration is the time per cell. A visible grid of 320 cells should paint well inside a 16 ms frame: aim under 20 us.
//
// Long texts of 1 000 to 1 000 000 characters (words with every 25th in bold) beside Pango (pangocairo
// on a cairo image surface) with the same markup, face (DejaVu Sans, which "Tahoma" maps to, at 11
// pixels em) and width (480 pixels, wrapped at words): measuring and drawing with a fresh layout, and
// drawing again with the layout kept (ours from the renderer's cache). The whole text is laid out and
// drawn; the 480 x 360 surface clips what lies below it. "per_1000_chars" should stay flat across the
// sizes; the table at the end gives Pango's time over ours (above 1: ours is faster).
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <map>
#include <string>

#include "controls/html/MarkupLayoutCache.h"
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

constexpr int kWidth = 480, kHeight = 360;

std::string LongText(size_t characters) {
  static constexpr const char* kWords[] = {"host", "answers", "after", "a", "timeout", "of", "three", "seconds;",
                                           "the", "service", "checks", "192.168.1.20", "again", "and", "writes",
                                           "its", "status", "page"};
  std::string text;
  for (size_t i = 0;; ++i) {
    const std::string word = kWords[i % std::size(kWords)];
    const std::string piece = i % 25 == 0 ? "<b>" + word + "</b> " : word + " ";
    if (text.size() + piece.size() > characters) return text;
    text += piece;
  }
}

void PerThousandCharacters(benchmark::State& state, const std::string& text) {
  state.counters["per_1000_chars"] =
      benchmark::Counter(text.size() / 1000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Our side: the whole text in one rectangle as tall as it needs.
struct OurText {
  TBitmap bitmap{kWidth, kHeight};
  std::string anchor, stripped, focus;
  int xSize = 0, ySize = 0, links = 0, mouse = 0;
  TRect hover{};

  OurText() {
    bitmap.Canvas().Font().SetName("Tahoma");
    bitmap.Canvas().Font().SetSize(8);
  }
  void Render(const std::string& text, bool measure) {
    RenderHTML(bitmap.Canvas(), text, Rect(0, 0, kWidth, 1 << 24), nullptr, -1, -1, -1, -1, 1, false, measure,
               false, false, true, false, true, 1.0, clBlue, clNone, clNone, clGray, anchor, stripped, focus, xSize,
               ySize, links, mouse, hover, nullptr, nullptr);
    benchmark::DoNotOptimize(ySize);
  }
};

void OurMeasure(benchmark::State& state) {
  OurText ours;
  const std::string text = LongText(state.range(0));
  for (auto _ : state) {
    markup::ThreadLayoutCache().Clear();
    ours.Render(text, true);
  }
  PerThousandCharacters(state, text);
}

void OurDraw(benchmark::State& state) {
  OurText ours;
  const std::string text = LongText(state.range(0));
  for (auto _ : state) {
    markup::ThreadLayoutCache().Clear();
    ours.Render(text, false);
  }
  PerThousandCharacters(state, text);
}

void OurRedraw(benchmark::State& state) {
  OurText ours;
  const std::string text = LongText(state.range(0));
  ours.Render(text, false);
  for (auto _ : state) ours.Render(text, false);
  PerThousandCharacters(state, text);
}

// Pango's side: layouts of one context on a cairo image surface.
struct PangoText {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  PangoContext* context = pango_cairo_create_context(cr);
  PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");

  PangoText() { pango_font_description_set_absolute_size(font, 11 * PANGO_SCALE); }
  ~PangoText() {
    pango_font_description_free(font);
    g_object_unref(context);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  PangoLayout* NewLayout(const std::string& text) {
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_width(layout, kWidth * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    pango_layout_set_markup(layout, text.data(), static_cast<int>(text.size()));
    return layout;
  }
  void Draw(PangoLayout* layout) {
    cairo_move_to(cr, 0, 0);
    pango_cairo_show_layout(cr, layout);
  }
};

void PangoMeasure(benchmark::State& state) {
  PangoText pango;
  const std::string text = LongText(state.range(0));
  for (auto _ : state) {
    PangoLayout* layout = pango.NewLayout(text);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    benchmark::DoNotOptimize(height);
    g_object_unref(layout);
  }
  PerThousandCharacters(state, text);
}

void PangoDraw(benchmark::State& state) {
  PangoText pango;
  const std::string text = LongText(state.range(0));
  for (auto _ : state) {
    PangoLayout* layout = pango.NewLayout(text);
    pango.Draw(layout);
    g_object_unref(layout);
  }
  PerThousandCharacters(state, text);
}

void PangoKeptDraw(benchmark::State& state) {
  PangoText pango;
  const std::string text = LongText(state.range(0));
  PangoLayout* layout = pango.NewLayout(text);
  pango.Draw(layout);
  for (auto _ : state) pango.Draw(layout);
  g_object_unref(layout);
  PerThousandCharacters(state, text);
}

// The console's table, then Pango's time over ours for each pair and size, in processor time (both
// sides run on the calling thread alone, so a loaded machine disturbs that figure least).
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration) times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    static constexpr std::pair<const char*, const char*> kPairs[] = {
        {"OurMeasure", "PangoMeasure"}, {"OurDraw", "PangoDraw"}, {"OurRedraw", "PangoKeptDraw"}};
    std::printf("\n%-28s %12s %12s %12s %12s\n", "Pango / ours", "1000", "10000", "100000", "1000000");
    for (const auto& [ours, peer] : kPairs) {
      std::printf("%-28s", (std::string(peer) + " / " + ours).c_str());
      for (const char* size : {"1000", "10000", "100000", "1000000"}) {
        const auto our = times_.find(std::string(ours) + "/" + size), their = times_.find(std::string(peer) + "/" + size);
        if (our == times_.end() || their == times_.end())
          std::printf(" %12s", "-");
        else
          std::printf(" %12.2f", their->second / our->second);
      }
      std::printf("\n");
    }
  }

private:
  std::map<std::string, double> times_;
};

BENCHMARK(CentredImage)->Iterations(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BoldAndColouredWord)->Iterations(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(WrappedParagraphWithAnchor)->Iterations(100000)->Unit(benchmark::kMicrosecond);

void LongTextSizes(benchmark::internal::Benchmark* b) {
  b->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
}
BENCHMARK(OurMeasure)->Apply(LongTextSizes);
BENCHMARK(PangoMeasure)->Apply(LongTextSizes);
BENCHMARK(OurDraw)->Apply(LongTextSizes);
BENCHMARK(PangoDraw)->Apply(LongTextSizes);
BENCHMARK(OurRedraw)->Apply(LongTextSizes);
BENCHMARK(PangoKeptDraw)->Apply(LongTextSizes);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
}
