// Batch row operations on a shown grid of 10 000 and 100 000 rows of 10 columns (headless backend):
// every other row taken out as one set and put back as one set, and every other row deleted as one set,
// on the string grid (a text in every cell) and on the system's base grid (a property object in every
// row as well). Times are per whole operation; each is one pass over the rows, so the figure at 100 000
// rows should be about ten times the one at 10 000.

#include <benchmark/benchmark.h>

#include <vector>

#include "ShownGrid.h"
#include "grid/BaseGrid.h"
#include "platform/grids/Grids.h"

namespace {

constexpr int kCols = 10;

template <typename Grid>
struct ShownGrid : ShownGridOf<Grid> {
  explicit ShownGrid(int rows) : ShownGridOf<Grid>(kCols, rows, kCols) {}
};

// The odd rows of a grid of `rows` rows, which are also where they stand again when put back.
std::vector<int> EveryOtherRow(int rows) {
  std::vector<int> set;
  for (int r = 1; r < rows; r += 2) set.push_back(r);
  return set;
}

template <typename Grid>
void TakeEveryOtherRowAndPutBack(benchmark::State& state, ShownGrid<Grid>& shown) {
  const std::vector<int> set = EveryOtherRow(shown.grid->RowCount());
  for (auto _ : state) {
    std::vector<platform::TStringGrid::TTakenRow> taken = shown.grid->TakeRows(set);
    shown.grid->PutRows(set, std::move(taken));
  }
}

void BM_TakeEveryOtherRowAndPutBack(benchmark::State& state) {
  ShownGrid<platform::TStringGrid> shown(static_cast<int>(state.range(0)));
  TakeEveryOtherRowAndPutBack(state, shown);
}

void BM_BaseGridTakeEveryOtherRowAndPutBack(benchmark::State& state) {
  ShownGrid<velmora::TBaseGrid> shown(static_cast<int>(state.range(0)));
  for (int r = 0; r < shown.grid->RowCount(); ++r) shown.grid->GetCellProperties(1, r)->SetBrushColor(platform::clYellow);
  TakeEveryOtherRowAndPutBack(state, shown);
}

void BM_DeleteEveryOtherRow(benchmark::State& state) {
  ShownGrid<platform::TStringGrid> shown(static_cast<int>(state.range(0)));
  const std::vector<int> set = EveryOtherRow(shown.grid->RowCount());
  for (auto _ : state) {
    shown.grid->DeleteRowSet(set);
    state.PauseTiming();
    shown.grid->InsertRowSet(set);
    state.ResumeTiming();
  }
}

void GridSizes(benchmark::internal::Benchmark* b) { b->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(0.2); }

BENCHMARK(BM_TakeEveryOtherRowAndPutBack)->Apply(GridSizes);
BENCHMARK(BM_BaseGridTakeEveryOtherRowAndPutBack)->Apply(GridSizes);
BENCHMARK(BM_DeleteEveryOtherRow)->Apply(GridSizes);

}  // namespace

BENCHMARK_MAIN();
