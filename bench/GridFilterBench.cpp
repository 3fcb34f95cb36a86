// The grid object's filter on a shown 800 x 600 form (headless backend) of 10 000 and 100 000 rows of
// 10 columns, every other data row failing its one condition: the filter turned on (every row tested,
// the failing half hidden in one batch) and off again (that half shown). Each is one pass over the
// rows, so the time at 100 000 rows should be about ten times the one at 10 000.

#include <benchmark/benchmark.h>

#include "ShownGrid.h"
#include "grid/DovAdiz.h"

namespace {

constexpr int kCols = 10;

struct FilteredGrid : ShownGridOf<velmora::VUraRazuduVova> {
  explicit FilteredGrid(int rows) : ShownGridOf(kCols, rows, kCols) {
    for (int r = grid->FixedRows(); r < rows; ++r) grid->SetCells(1, r, r % 2 ? "fails" : "passes");
    velmora::TFilterData* condition = grid->Filter().Add();
    condition->Column = 1;
    condition->Condition = "passes";
  }
};

void BM_FilterOnAndOffEveryOtherRowFailing(benchmark::State& state) {
  FilteredGrid shown(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    shown.grid->SetFilterActive(true);
    shown.grid->SetFilterActive(false);
  }
}

void BM_FilterOnEveryOtherRowFailing(benchmark::State& state) {
  FilteredGrid shown(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    shown.grid->SetFilterActive(true);
    state.PauseTiming();
    shown.grid->SetFilterActive(false);
    state.ResumeTiming();
  }
}

void GridSizes(benchmark::internal::Benchmark* b) { b->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(0.2); }

BENCHMARK(BM_FilterOnAndOffEveryOtherRowFailing)->Apply(GridSizes);
BENCHMARK(BM_FilterOnEveryOtherRowFailing)->Apply(GridSizes);

}  // namespace

BENCHMARK_MAIN();
