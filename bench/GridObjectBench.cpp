// The grid object's cell writes on a shown 800 x 600 form (headless backend) with the view at the
// top: 100 000 x 10 cells filled through Cells, and every tenth row coloured (each cell of it, a
// property object and a repaint per cell) at 10 000 and 100 000 rows. A write far below the view costs
// the write alone, so the colouring grows linearly with the rows: about ten times the time for ten
// times the rows.

#include <benchmark/benchmark.h>

#include <string>

#include "ShownGrid.h"
#include "grid/DovAdiz.h"

namespace {

constexpr int kCols = 10;

using ShownGrid = ShownGridOf<velmora::VUraRazuduVova>;

void BM_FillThroughCells(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ShownGrid shown(kCols, rows);
  int pass = 0;
  for (auto _ : state) {
    const std::string text = "cell " + std::to_string(pass++);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < kCols; ++c) shown.grid->SetCells(c, r, text);
  }
}

void BM_ColourEveryTenthRow(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ShownGrid shown(kCols, rows);
  int pass = 0;
  for (auto _ : state) {
    const platform::TColor colour = pass++ % 2 ? platform::clYellow : platform::clAqua;
    for (int r = 0; r < rows; r += 10)
      for (int c = 0; c < kCols; ++c) shown.grid->SetColors(c, r, colour);
  }
}

BENCHMARK(BM_FillThroughCells)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ColourEveryTenthRow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace

BENCHMARK_MAIN();
