// The grid object's CSV save and load of 100 000 rows x 10 columns (quoted fields, umlauts, empty
// cells and a multi-line cell in every tenth row) against Python's csv module writing and reading the
// same file. The Python rows run bench/csv_peer.py, which times its own passes; their counter
// "x_grid" is how many times longer a pass takes there than in the grid.

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "BenchSupport.h"
#include "ShownGrid.h"
#include "grid/DovAdiz.h"
#include "platform/core/Paths.h"

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;

std::string csvFile;                  // set up by main
double gridSaveSeconds = 0, gridLoadSeconds = 0;

std::string CellText(int c, int r) {
  switch (c) {
    case 0: return "host" + std::to_string(r) + ".example.net";
    case 1: return "/opt/velmora/run.sh \"" + std::to_string(r) + "\"; echo up";
    case 2: return r % 10 == 0 ? "line one\r\nline two" : "K\xC3\xBChlraum " + std::to_string(r % 97);
    case 3: return r % 3 == 0 ? "" : std::to_string(r * 7);
    default: return "value " + std::to_string(c) + "," + std::to_string(r);
  }
}

velmora::VUraRazuduVova& Grid() {
  static ShownGridOf<velmora::VUraRazuduVova> shown(kCols, kRows);
  static bool filled = false;
  if (!filled) {
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) shown.grid->SetCells(c, r, CellText(c, r));
    shown.grid->FieldDelimiter = ';';
    filled = true;
  }
  return *shown.grid;
}

double MeanSeconds(benchmark::State& state, auto pass) {
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) pass();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / static_cast<double>(state.iterations());
}

void BM_GridSaveToCSV(benchmark::State& state) {
  velmora::VUraRazuduVova& grid = Grid();
  gridSaveSeconds = MeanSeconds(state, [&] { grid.SaveToCSV(csvFile); });
  state.counters["file_MiB"] = static_cast<double>(std::filesystem::file_size(csvFile)) / (1024 * 1024);
}
BENCHMARK(BM_GridSaveToCSV)->Name("grid SaveToCSV, 100 000 x 10")->Unit(benchmark::kMillisecond);

void BM_GridLoadFromCSV(benchmark::State& state) {
  velmora::VUraRazuduVova& grid = Grid();
  grid.SaveToCSV(csvFile);
  gridLoadSeconds = MeanSeconds(state, [&] { grid.LoadFromCSV(csvFile); });
  if (grid.RowCount() != kRows || grid.Cells(2, 10) != CellText(2, 10)) state.SkipWithError("the load read other cells");
}
BENCHMARK(BM_GridLoadFromCSV)->Name("grid LoadFromCSV, 100 000 x 10")->Unit(benchmark::kMillisecond);

// Runs the script once; its mean time per pass becomes this row's time.
void BM_PythonCsv(benchmark::State& state, const char* mode, const double* gridSeconds) {
  const std::string command = "/usr/bin/python3 '" + platform::ExeDir() + "csv_peer.py' " + mode + " '" + csvFile + "' 2.0";
  for (auto _ : state) {
    const std::optional<std::string> output = CommandOutput(command);
    const size_t tab = output ? output->find('\t') : std::string::npos;
    if (tab == std::string::npos || std::atoi(output->c_str() + tab + 1) != kRows) {
      state.SkipWithError(("csv_peer.py failed: " + output.value_or("(did not run)")).c_str());
      return;
    }
    const double seconds = std::strtod(output->c_str(), nullptr);
    state.SetIterationTime(seconds);
    if (*gridSeconds > 0) state.counters["x_grid"] = seconds / *gridSeconds;
  }
}
BENCHMARK_CAPTURE(BM_PythonCsv, write, "write", &gridSaveSeconds)
    ->Name("Python csv.writer, same rows")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PythonCsv, read, "read", &gridLoadSeconds)
    ->Name("Python csv.reader, same file")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return RunBenchmarksInFolder(argc, argv, "grid_csv_bench", [](const std::string& folder) { csvFile = folder + "/hosts.csv"; });
}
