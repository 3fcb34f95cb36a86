// The string grid's cell storage at 100 000 rows by 10 columns: filling every cell, reading them all
// back, and inserting 1000 rows in the middle the way the grid does it (one more row, then the last row
// moved to its place). Times are per whole operation; "cells/s" and "rows/s" give the rate.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/ui/GridCells.h"

namespace {

constexpr int kCols = 10;
constexpr int kRows = 100000;

std::string CellText(int col, int row) { return "r" + std::to_string(row) + "c" + std::to_string(col); }

void Fill(platform::GridCells& cells) {
  cells.SetSize(kCols, kRows);
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) cells.SetText(c, r, CellText(c, r));
}

void BM_Fill100000x10(benchmark::State& state) {
  for (auto _ : state) {
    platform::GridCells cells;
    Fill(cells);
    benchmark::DoNotOptimize(cells.Text(kCols - 1, kRows - 1));
  }
  state.counters["cells/s"] = benchmark::Counter(double(kCols) * kRows, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ReadBack100000x10(benchmark::State& state) {
  platform::GridCells cells;
  Fill(cells);
  for (auto _ : state) {
    size_t bytes = 0;
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) bytes += cells.Text(c, r).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["cells/s"] = benchmark::Counter(double(kCols) * kRows, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Insert1000RowsInTheMiddle(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto cells = std::make_unique<platform::GridCells>();
    Fill(*cells);
    state.ResumeTiming();
    for (int i = 0; i < 1000; ++i) {
      cells->SetSize(kCols, cells->RowCount() + 1);
      cells->MoveRow(cells->RowCount() - 1, kRows / 2);
      cells->SetText(0, kRows / 2, "new");
    }
    benchmark::DoNotOptimize(cells->Text(0, kRows / 2));
    state.PauseTiming();
    cells.reset();  // freeing the cells is not part of the insertion
    state.ResumeTiming();
  }
  state.counters["rows/s"] = benchmark::Counter(1000, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_Fill100000x10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBack100000x10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Insert1000RowsInTheMiddle)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
