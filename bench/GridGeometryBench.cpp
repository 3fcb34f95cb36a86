// The string grid's geometry at 10 000, 100 000 and 1 000 000 rows of 10 columns on a shown 800 x 600
// form (headless backend): moving the current cell to the last row, Ctrl+End, the scroll bar's thumb
// dropped in the middle followed by a paint, 1000 rows inserted and deleted in the middle (in one batch
// and one by one), 100 000 swaps of random row pairs, and a coloured cell on every row of the base
// grid. Column 0 holds a text per row, so the row operations move data. Times are per whole
// operation; every figure should grow at most linearly with the rows. The moves to the end and the
// thumb include the move back to the top-left cell.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "ShownGrid.h"
#include "grid/BaseGrid.h"
#include "platform/grids/Grids.h"
#include "platform/app/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/ScrollInfo.h"
#include "platform/ui/VirtualKeys.h"

namespace {

constexpr int kCols = 10;
constexpr int kBlock = 1000;

class Grid : public platform::TStringGrid {
public:
  using platform::TStringGrid::KeyDown;
  using platform::TStringGrid::TStringGrid;
};

struct ShownGrid : ShownGridOf<Grid> {
  explicit ShownGrid(int rows) : ShownGridOf(kCols, rows, 1) {}
  // Back to the top-left cell, unpainted: a constant cost beside the measured move.
  void Home() { grid->SetRow(1); }
};

void BM_SetRowLast(benchmark::State& state) {
  ShownGrid shown(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    shown.grid->SetRow(shown.grid->RowCount() - 1);
    shown.Home();
  }
}

void BM_CtrlEnd(benchmark::State& state) {
  ShownGrid shown(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    platform::WORD key = platform::VK_END;
    shown.grid->KeyDown(key, {platform::TShiftStateFlag::ssCtrl});
    shown.Home();
  }
}

void BM_ThumbToTheMiddleAndPaint(benchmark::State& state) {
  ShownGrid shown(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    shown.grid->Perform(platform::WM_VSCROLL, platform::SB_THUMBPOSITION | (64 << 16), 0);
    shown.grid->Update();
    shown.Home();
  }
}

// Times `change` on a shown grid of the benchmark's rows, with `undo` run untimed after each.
template <typename Change, typename Undo>
void TimeWithUndo(benchmark::State& state, Change change, Undo undo) {
  ShownGrid shown(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    change(*shown.grid);
    state.PauseTiming();
    undo(*shown.grid);
    state.ResumeTiming();
  }
}

void InsertOneByOne(Grid& grid) {
  const int middle = grid.RowCount() / 2;
  for (int i = 0; i < kBlock; ++i) {
    grid.SetRowCount(grid.RowCount() + 1);
    grid.MoveRow(grid.RowCount() - 1, middle);
  }
}

void DeleteOneByOne(Grid& grid) {
  const int middle = grid.RowCount() / 2;
  for (int i = 0; i < kBlock; ++i) grid.DeleteRow(middle);
}

void InsertBatch(Grid& grid) { grid.InsertRows(grid.RowCount() / 2, kBlock); }
void DeleteBatch(Grid& grid) { grid.DeleteRows(grid.RowCount() / 2, kBlock); }

void BM_Insert1000OneByOne(benchmark::State& state) {
  TimeWithUndo(state, InsertOneByOne, [](Grid& grid) { grid.SetRowCount(grid.RowCount() - kBlock); });
}
void BM_Delete1000OneByOne(benchmark::State& state) {
  TimeWithUndo(state, DeleteOneByOne, [](Grid& grid) { grid.SetRowCount(grid.RowCount() + kBlock); });
}
void BM_Insert1000Batch(benchmark::State& state) { TimeWithUndo(state, InsertBatch, DeleteBatch); }
void BM_Delete1000Batch(benchmark::State& state) { TimeWithUndo(state, DeleteBatch, InsertBatch); }

void BM_Swap100000RandomPairs(benchmark::State& state) {
  ShownGrid shown(static_cast<int>(state.range(0)));
  Grid& grid = *shown.grid;
  std::mt19937 random(1);
  std::uniform_int_distribution<int> row(1, grid.RowCount() - 1);
  for (auto _ : state)
    for (int i = 0; i < 100000; ++i) grid.SwapRows(row(random), row(random));
}

// Every row of the system's base grid gets a coloured cell while the first rows are shown: each
// colour repaints its cell, which must not measure the rows between it and the view.
void BM_ColourEveryRow(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ShownGridOf<velmora::TBaseGrid> shown(kCols, rows);
  for (auto _ : state)
    for (int r = 1; r < rows; ++r)
      shown.grid->GetCellProperties(1, r)->SetBrushColor(r % 2 ? platform::clYellow : platform::clAqua);
}

void GridSizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(0.2);
}

BENCHMARK(BM_SetRowLast)->Apply(GridSizes);
BENCHMARK(BM_CtrlEnd)->Apply(GridSizes);
BENCHMARK(BM_ThumbToTheMiddleAndPaint)->Apply(GridSizes);
BENCHMARK(BM_Insert1000OneByOne)->Apply(GridSizes);
BENCHMARK(BM_Delete1000OneByOne)->Apply(GridSizes);
BENCHMARK(BM_Insert1000Batch)->Apply(GridSizes);
BENCHMARK(BM_Delete1000Batch)->Apply(GridSizes);
BENCHMARK(BM_Swap100000RandomPairs)->Apply(GridSizes);
BENCHMARK(BM_ColourEveryRow)->Apply(GridSizes);

}  // namespace

BENCHMARK_MAIN();
