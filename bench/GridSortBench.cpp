// The grid object's sorts at 10 000 and 100 000 rows x 8 columns: QSort by a text column of host names
// and by a numeric column (keys shuffled before every pass), SortByColumn, and AutoSizeColumns over
// 10 000 x 8 markup cells. Peers on the same keys: Python's sorted (bench/sort_peer.py, which times its
// own passes; for the numbers also with the empty columns that ties go on to) and coreutils sort for
// the text keys (the whole process timed). Counters: comparisons and swaps per sort, and comparisons
// over n log2 n. Then the thumb of the vertical scroll bar dropped from the top to the end, which
// should paint in the same time at both sizes.

#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <random>
#include <string>

#include "BenchSupport.h"
#include "ShownGrid.h"
#include "grid/DovAdiz.h"
#include "platform/app/Messages.h"
#include "platform/core/Paths.h"
#include "platform/ui/ScrollInfo.h"

namespace {

constexpr int kCols = 8;
std::string folder;  // set up by main

std::vector<std::string> Keys(int rows, bool numbers) {
  std::mt19937 random(rows);
  std::vector<std::string> keys;
  for (int r = 0; r < rows; ++r) {
    const unsigned n = random() % 1000000;
    keys.push_back(numbers ? std::to_string(n % 5000) + "." + std::to_string(n % 100) : "host" + std::to_string(n) + ".lan");
  }
  return keys;
}

std::string KeyFile(int rows, bool numbers) {
  const std::string file = folder + "/keys" + std::to_string(rows) + (numbers ? "n" : "t") + ".txt";
  std::ofstream out(file);
  for (const std::string& k : Keys(rows, numbers)) out << k << '\n';
  return file;
}

void BM_GridSort(benchmark::State& state, bool numbers, bool byColumn) {
  const int rows = static_cast<int>(state.range(0));
  ShownGridOf<velmora::VUraRazuduVova> shown(kCols, rows + 1, kCols);
  velmora::VUraRazuduVova& grid = *shown.grid;
  grid.SetFixedRows(1);
  grid.SortSettings().Column = 1;
  std::vector<std::string> keys = Keys(rows, numbers);
  std::mt19937 random(1);
  int compares = 0, swaps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::shuffle(keys.begin(), keys.end(), random);
    for (int r = 0; r < rows; ++r) grid.SetCells(1, r + 1, keys[r]);
    const int c0 = grid.SortCompares(), s0 = grid.SortSwaps();
    state.ResumeTiming();
    if (byColumn)
      grid.SortByColumn(1);
    else
      grid.QSort();
    compares = grid.SortCompares() - c0;
    swaps = grid.SortSwaps() - s0;
  }
  state.counters["compares"] = compares;
  state.counters["swaps"] = swaps;
  state.counters["compares_per_nlog2n"] = compares / (rows * std::log2(rows));
}
BENCHMARK_CAPTURE(BM_GridSort, text, false, false)->Name("grid QSort, host names")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GridSort, numbers, true, false)->Name("grid QSort, numbers")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GridSort, bycolumn, false, true)->Name("grid SortByColumn, host names")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PythonSorted(benchmark::State& state, const std::string& mode) {
  const int rows = static_cast<int>(state.range(0));
  const bool numbers = mode != "text";
  const std::string command = "/usr/bin/python3 '" + platform::ExeDir() + "sort_peer.py' " + mode +
                              " '" + KeyFile(rows, numbers) + "' 1.0";
  for (auto _ : state) {
    const std::optional<std::string> output = CommandOutput(command);
    const size_t tab = output ? output->find('\t') : std::string::npos;
    if (tab == std::string::npos || std::atoi(output->c_str() + tab + 1) != rows) {
      state.SkipWithError(("sort_peer.py failed: " + output.value_or("(did not run)")).c_str());
      return;
    }
    state.SetIterationTime(std::strtod(output->c_str(), nullptr));
  }
}
BENCHMARK_CAPTURE(BM_PythonSorted, text, "text")->Name("Python sorted, host names")->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PythonSorted, numbers, "number")->Name("Python sorted, numbers")->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
// The grid with Full goes on to the next columns on a tie: this peer compares the same rows.
BENCHMARK_CAPTURE(BM_PythonSorted, rows, "number-rows")->Name("Python sorted, numbers with their tie columns")->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CoreutilsSort(benchmark::State& state) {
  const std::string command = "LC_ALL=C sort -k1,1 '" + KeyFile(static_cast<int>(state.range(0)), false) + "' > /dev/null";
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!CommandOutput(command)) state.SkipWithError("sort failed");
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}
BENCHMARK(BM_CoreutilsSort)->Name("coreutils sort -k, host names (process)")->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_AutoSizeColumns(benchmark::State& state) {
  const int rows = 10000;
  ShownGridOf<velmora::VUraRazuduVova> shown(kCols, rows + 1);
  velmora::VUraRazuduVova& grid = *shown.grid;
  grid.SetFixedRows(1);
  for (int r = 1; r <= rows; ++r)
    for (int c = 0; c < kCols; ++c)
      grid.SetCells(c, r, c < 4 ? "<b>" + std::to_string(c) + "</b> <i>" + (r % 3 == 0 ? "up" : "down") + "</i>"
                                : "host" + std::to_string(r % 50));
  for (auto _ : state) grid.AutoSizeColumns(false, 5);
}
BENCHMARK(BM_AutoSizeColumns)->Name("grid AutoSizeColumns, 10 000 x 8 markup cells")->Unit(benchmark::kMillisecond);

// The vertical thumb dropped at positions from the top to the end, 8 apart, one drop and its paint an
// iteration: the time per paint should not depend on the rows.
void BM_ThumbToTheEnd(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ShownGridOf<velmora::VUraRazuduVova> shown(kCols, rows, kCols);
  int position = 0;
  for (auto _ : state) {
    shown.grid->Perform(platform::WM_VSCROLL, platform::SB_THUMBPOSITION | (position << 16), 0);
    shown.grid->Update();
    position = position >= 127 ? 0 : std::min(position + 8, 127);
  }
  state.counters["top_row_at_end"] = shown.grid->TopRow();
}
BENCHMARK(BM_ThumbToTheEnd)->Name("grid thumb from the top to the end, per paint")->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return RunBenchmarksInFolder(argc, argv, "grid_sort_bench", [](const std::string& f) { folder = f; });
}
