// The string grid at 100 000 rows by 10 columns: filling every cell (in the cell storage and through
// the grid on a shown form), reading them all back, inserting 1000 rows in the middle the way the grid
// does it (one more row, then the last row moved to its place), and painting a full visible page of an
// 800 x 600 grid scrolled to the middle on the headless backend. Times are per whole operation;
// "cells/s" and "rows/s" give the rate, "cells" the cells one page paints.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "ShownGrid.h"
#include "platform/grids/GridCells.h"
#include "platform/grids/Grids.h"

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

// A shown 800 x 600 form filled by a string grid of 100 000 x 10 cells, with one fixed row and column.
struct ShownGrid : ShownGridOf<platform::TStringGrid> {
  ShownGrid() : ShownGridOf(kCols, kRows) {}
  void Fill() {
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) grid->SetCells(c, r, CellText(c, r));
  }
};

void BM_FillThroughTheGrid100000x10(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto shown = std::make_unique<ShownGrid>();
    state.ResumeTiming();
    shown->Fill();
    benchmark::DoNotOptimize(shown->grid->Cells(kCols - 1, kRows - 1));
    state.PauseTiming();
    shown.reset();
    state.ResumeTiming();
  }
  state.counters["cells/s"] = benchmark::Counter(double(kCols) * kRows, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Insert1000RowsThroughTheGrid(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto shown = std::make_unique<ShownGrid>();
    shown->Fill();
    state.ResumeTiming();
    platform::TStringGrid& grid = *shown->grid;
    for (int i = 0; i < 1000; ++i) {
      grid.SetRowCount(grid.RowCount() + 1);
      grid.MoveRow(grid.RowCount() - 1, kRows / 2);
      grid.SetCells(0, kRows / 2, "new");
    }
    benchmark::DoNotOptimize(grid.Cells(0, kRows / 2));
    state.PauseTiming();
    shown.reset();
    state.ResumeTiming();
  }
  state.counters["rows/s"] = benchmark::Counter(1000, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_PaintVisiblePage(benchmark::State& state) {
  ShownGrid shown;
  shown.Fill();
  shown.grid->SetTopRow(kRows / 2);
  platform::Application().ProcessMessages();
  for (auto _ : state) {
    shown.grid->Invalidate();
    shown.grid->Update();
  }
  state.counters["cells"] = double(shown.grid->VisibleRowCount() + 2) * (shown.grid->VisibleColCount() + 2);
}

BENCHMARK(BM_Fill100000x10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillThroughTheGrid100000x10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBack100000x10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Insert1000RowsInTheMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Insert1000RowsThroughTheGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintVisiblePage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
