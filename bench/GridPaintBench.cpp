// One 800 x 600 page of the shown grid object painted: 150 000 real rows of 10 columns of which every
// third is hidden (50 000), so 100 000 rows show; bands, a tiled background bitmap and markup in one
// column. The page at TopRow 100 and at TopRow 90 000 must cost the same: painting reads only the rows
// shown. The plain string grid painting the same page (its own cells only) is the peer.
// A second page holds cell graphics on each of 100 000 rows: a check box, a progress bar, and a group
// node every 10 rows with its tree lines; at TopRow 100 and 90 000 it must cost the same too.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "ShownGrid.h"
#include "grid/DovAdiz.h"
#include "platform/grids/Grids.h"

namespace {

constexpr int kCols = 10;
constexpr int kRealRows = 150000;

struct PaintedGrid : ShownGridOf<velmora::VUraRazuduVova> {
  PaintedGrid() : ShownGridOf(kCols, kRealRows, 2) {
    for (int r = 1; r < kRealRows; r += 97) grid->SetCells(2, r, "<b>host</b> <i>" + std::to_string(r) + "</i>");
    grid->Bands().SetActive(true);
    grid->Bands().SetPrimaryLength(2);
    platform::TBitmap tile(32, 32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) tile.Canvas().SetPixels(x, y, (x / 16 + y / 16) % 2 ? 0xFFF0E0 : 0xE0F0FF);
    grid->BackGround().SetBitmap(tile);
    std::vector<int> hidden;
    for (int r = 2; r < kRealRows; r += 3) hidden.push_back(r);
    grid->HideRowSet(hidden, velmora::HideCause::User);
    platform::Application().ProcessMessages();
  }
};

// Paints the page of a shown grid at TopRow range(0) again and again.
template <class Shown>
void PaintAtTopRow(benchmark::State& state, Shown& shown) {
  shown.grid->SetTopRow(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    shown.grid->Invalidate();
    shown.grid->Update();
  }
}

void BM_PaintPage(benchmark::State& state) {
  PaintedGrid shown;
  PaintAtTopRow(state, shown);
  state.counters["rows_shown"] = shown.grid->RowCount();
}

constexpr int kGraphicRows = 100000;

struct GraphicsGrid : ShownGridOf<velmora::VUraRazuduVova> {
  GraphicsGrid() : ShownGridOf(kCols, kGraphicRows, 2) {
    for (int r = 1; r < kGraphicRows; ++r) {
      grid->AddCheckBox(3, r, r % 2 == 0, false);
      grid->AddProgress(4, r, platform::clNavy, platform::clWhite);
      grid->SetCells(4, r, std::to_string(r % 101));
    }
    grid->CellNode().SetShowTree(true);
    for (int r = 1; r + 10 <= kGraphicRows; r += 10) grid->AddNode(r, 10);
    platform::Application().ProcessMessages();
  }
};

void BM_PaintGraphicsPage(benchmark::State& state) {
  GraphicsGrid shown;
  PaintAtTopRow(state, shown);
}

void BM_StringGridPage(benchmark::State& state) {
  ShownGridOf<platform::TStringGrid> shown(kCols, kRealRows - kRealRows / 3, 2);
  PaintAtTopRow(state, shown);
}

}  // namespace

BENCHMARK(BM_PaintPage)->Arg(100)->Arg(90000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintGraphicsPage)->Arg(100)->Arg(90000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringGridPage)->Arg(100)->Arg(90000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
