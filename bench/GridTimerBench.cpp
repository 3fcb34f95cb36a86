// One tick of the shown grid's own timer (the blink phase flips and the blinking cells shown are
// repainted), with a blinking cell on every fifth row and a blinking header, at 100 rows and at
// 100 000 rows. A tick looks only at the cells shown, so both must cost the same. The program runs on
// the virtual clock: the 500 ms to the next tick pass at once.

#include <benchmark/benchmark.h>

#include <string>

#include "ShownGrid.h"
#include "grid/DovAdiz.h"
#include "platform/core/Clock.h"

namespace {

constexpr int kCols = 10;

void BM_GridTimerTick(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ShownGridOf<velmora::VUraRazuduVova> shown(kCols, rows, 2);
  shown.grid->SetCells(3, 0, "<blink>State</blink>");
  for (int r = 1; r < rows; r += 5) shown.grid->SetCells(3, r, "<BLINK>down</BLINK>");
  shown.grid->SetTopRow(rows / 2);
  platform::Application().ProcessMessages();
  for (auto _ : state) {
    platform::Sleep(500);
    platform::Application().ProcessMessages();
  }
  state.counters["rows"] = rows;
}

}  // namespace

BENCHMARK(BM_GridTimerTick)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  platform::UseVirtualClock(1'700'000'000'000);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
