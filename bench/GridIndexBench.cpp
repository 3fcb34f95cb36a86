// The grid object's row and column operations on a shown 800 x 600 form (headless backend), 10 columns
// filled with the row number, at 10 000 and 100 000 rows; each operation is one batch: removing every
// other row as selected, hiding every other row and showing them all, 1 000 single inserts at the top,
// 100 000 AddRow from an empty grid, hiding and showing a column, 100 000 swaps, and the lookups
// RealRowIndex and IsHiddenRow with half the rows hidden (per call).

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "ShownGrid.h"
#include "grid/DovAdiz.h"

namespace {

constexpr int kCols = 10;

using ShownGrid = ShownGridOf<velmora::VUraRazuduVova>;

std::vector<int> EveryOtherRow(int rows) {
  std::vector<int> result;
  for (int r = 1; r < rows; r += 2) result.push_back(r);
  return result;
}

void BM_RemoveEveryOtherRowAsSelected(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto shown = std::make_unique<ShownGrid>(kCols, rows, kCols);
    shown->grid->MouseActions().DisjunctRowSelect = true;
    for (int r : EveryOtherRow(rows)) shown->grid->SetRowSelect(r, true);
    state.ResumeTiming();
    shown->grid->RemoveSelectedRows();
    state.PauseTiming();
    shown.reset();
    state.ResumeTiming();
  }
}

void BM_HideEveryOtherRowAndUnhideAll(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ShownGrid shown(kCols, rows, kCols);
  const std::vector<int> hide = EveryOtherRow(rows);
  for (auto _ : state) {
    shown.grid->HideRowSet(hide, velmora::HideCause::User);
    shown.grid->UnHideRowsAll();
  }
}

void BM_ThousandInsertsAtTheTop(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ShownGrid shown(kCols, rows, kCols);
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) shown.grid->InsertRows(1, 1);
    state.PauseTiming();
    shown.grid->SetRowCount(rows);
    state.ResumeTiming();
  }
}

// One row at a time near the top, 1 000 times: each costs what it changes, whatever lies below. A busy
// grid also has a coloured cell, a hidden row and a marked row at its end and a fixed row of its own
// height, which every one of these must pass without walking the rows between.
enum class SingleRowOp { Insert, Remove, Move, HideAndShow };

void BM_ThousandSingleRowOpsAtTheTop(benchmark::State& state, SingleRowOp op, bool busy) {
  const int rows = static_cast<int>(state.range(0));
  ShownGrid shown(kCols, rows, kCols);
  velmora::VUraRazuduVova& grid = *shown.grid;
  if (busy) {
    grid.SetRowHeights(0, 30);
    grid.MouseActions().DisjunctRowSelect = true;
    grid.SetRowSelect(rows - 1, true);
    grid.SetColors(1, rows - 2, platform::clYellow);
    grid.HideRow(rows - 3);
  }
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      switch (op) {
        case SingleRowOp::Insert: grid.InsertRows(1, 1); break;
        case SingleRowOp::Remove: grid.RemoveRows(1, 1); break;
        case SingleRowOp::Move: grid.MoveRow(1, 2); break;
        case SingleRowOp::HideAndShow:
          grid.HideRow(1);
          grid.UnHideRow(1);
          break;
      }
    }
    state.PauseTiming();
    if (op == SingleRowOp::Insert) grid.RemoveRows(1, 1000);
    if (op == SingleRowOp::Remove) grid.InsertRows(1, 1000);
    state.ResumeTiming();
  }
}

void BM_AddRowFromEmpty(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ShownGrid shown(kCols, 1);
  for (auto _ : state) {
    for (int i = 1; i < rows; ++i) shown.grid->AddRow();
    state.PauseTiming();
    shown.grid->SetRowCount(1);
    state.ResumeTiming();
  }
}

void BM_HideAndShowAColumn(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ShownGrid shown(kCols, rows, kCols);
  for (auto _ : state) {
    shown.grid->HideColumn(5);
    shown.grid->UnHideColumn(5);
  }
}

void BM_HundredThousandSwaps(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ShownGrid shown(kCols, rows, kCols);
  for (auto _ : state) {
    unsigned seed = 1;
    for (int i = 0; i < 100000; ++i) {
      seed = seed * 1103515245u + 12345u;
      const int a = static_cast<int>(seed % rows);
      seed = seed * 1103515245u + 12345u;
      shown.grid->SwapRows(a, static_cast<int>(seed % rows));
    }
  }
}

void BM_LookupsWithHalfTheRowsHidden(benchmark::State& state) {
  ShownGrid shown(kCols, 100000, 1);
  shown.grid->HideRowSet(EveryOtherRow(100000), velmora::HideCause::User);
  int i = 0, sink = 0;
  for (auto _ : state) {
    sink += shown.grid->RealRowIndex(i % 50000) + shown.grid->IsHiddenRow(i % 100000);
    ++i;
  }
  benchmark::DoNotOptimize(sink);
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_RemoveEveryOtherRowAsSelected)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HideEveryOtherRowAndUnhideAll)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ThousandInsertsAtTheTop)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_ThousandSingleRowOpsAtTheTop, Insert, SingleRowOp::Insert, false)
    ->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_ThousandSingleRowOpsAtTheTop, InsertBusy, SingleRowOp::Insert, true)
    ->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_ThousandSingleRowOpsAtTheTop, Remove, SingleRowOp::Remove, false)
    ->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_ThousandSingleRowOpsAtTheTop, RemoveBusy, SingleRowOp::Remove, true)
    ->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_ThousandSingleRowOpsAtTheTop, Move, SingleRowOp::Move, false)
    ->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_ThousandSingleRowOpsAtTheTop, MoveBusy, SingleRowOp::Move, true)
    ->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_ThousandSingleRowOpsAtTheTop, HideAndShow, SingleRowOp::HideAndShow, false)
    ->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_ThousandSingleRowOpsAtTheTop, HideAndShowBusy, SingleRowOp::HideAndShow, true)
    ->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AddRowFromEmpty)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HideAndShowAColumn)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HundredThousandSwaps)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LookupsWithHalfTheRowsHidden)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
