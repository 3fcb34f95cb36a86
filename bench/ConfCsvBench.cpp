// The configurator's main window with 10 000 and 40 000 hosts: the CSV export and import through its
// menu items (the import with its copy of the list for a failure, the emptied rows, the auto-sized
// columns and the reset state column) beside Python's csv module on the same file, the grid's own
// LoadFromCSV alone, a sort by a mouse click on the host column's header beside Python's sorted on
// the same names, and "fit the grid" (AutoSizeColumns(false, 5)). Counter "x_ordelin": how many times
// longer the Python pass takes.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "BenchSupport.h"
#include "configurator/HostListFile.h"
#include "configurator/VelmoraConf.h"
#include "platform/app/Application.h"
#include "platform/app/FormLanguage.h"
#include "platform/core/Paths.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/ui/HeadlessBackend.h"

namespace {

std::string folder;    // set up by main
std::string programs;  // the folder of this program and the Python peers, before the window's folder replaces it

std::string HostName(int n) { return "host" + std::to_string(n) + ".lan"; }

// The main window on a fresh headless backend, its grid holding `hosts` rows as the user would have them.
struct ShownConfigurator {
  explicit ShownConfigurator(int hosts) {
    platform::SetBackend(std::make_unique<platform::THeadlessBackend>());
    form = std::make_unique<configurator::TForm1>(nullptr);
    form->AfterConstruction();
    velmora::VUraRazuduVova& grid = *form->Grid;
    grid.SetRowCount(hosts + 1);
    for (int r = 1; r <= hosts; ++r) {
      grid.SetCells(0, r, HostName((r * 7919) % hosts));
      grid.SetCells(1, r, "/opt/velmora/scripts/notify-down.sh");
      grid.SetCells(2, r, r % 3 ? "/opt/velmora/scripts/notify-up.sh --to \"ops;admins\"" : "");
      grid.SetCells(3, r, r % 4 ? "normal" : "minimiert");
      grid.SetCells(4, r, configurator::SwitchCellText(r % 5 != 0));
      grid.SetCells(5, r, configurator::SwitchCellText(r % 2 == 0));
      grid.SetCells(6, r, configurator::StateCellText(r % 7 ? 8 : 7));
      grid.SetCells(7, r, std::to_string(r % 90));
    }
    form->SetBounds(0, 0, 800, 600);
    form->Show();
    platform::Application().ProcessMessages();
  }

  platform::TScriptedDialogService dialogs;
  std::unique_ptr<configurator::TForm1> form;
};

std::string CsvFile(int hosts) { return folder + "/hosts" + std::to_string(hosts) + ".csv"; }

double gridExportSeconds[2], gridImportSeconds[2];
double& Slot(double (&seconds)[2], int hosts) { return seconds[hosts > 10000 ? 1 : 0]; }

double MeanSeconds(benchmark::State& state, auto pass) {
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    pass();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  return total / static_cast<double>(state.iterations());
}

void BM_Export(benchmark::State& state) {
  const int hosts = static_cast<int>(state.range(0));
  ShownConfigurator shown(hosts);
  Slot(gridExportSeconds, hosts) = MeanSeconds(state, [&] {
    shown.dialogs.AnswerFile(CsvFile(hosts));
    shown.form->SpeichernalsXLS1Click(nullptr);
  });
}
BENCHMARK(BM_Export)->Name("ordelin Save as CSV")->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

void BM_Import(benchmark::State& state) {
  const int hosts = static_cast<int>(state.range(0));
  ShownConfigurator shown(hosts);
  shown.dialogs.AnswerFile(CsvFile(hosts));
  shown.form->SpeichernalsXLS1Click(nullptr);
  Slot(gridImportSeconds, hosts) = MeanSeconds(state, [&] {
    shown.dialogs.AnswerFile(CsvFile(hosts));
    shown.form->LadenausExcel1Click(nullptr);
  });
  if (shown.form->Grid->RowCount() != hosts + 1 || !shown.dialogs.Messages().empty())
    state.SkipWithError("the import read another list");
}
BENCHMARK(BM_Import)->Name("ordelin Load from CSV")->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

void BM_GridLoad(benchmark::State& state) {
  const int hosts = static_cast<int>(state.range(0));
  ShownConfigurator shown(hosts);
  for (auto _ : state) shown.form->Grid->LoadFromCSV(CsvFile(hosts));
}
BENCHMARK(BM_GridLoad)->Name("grid LoadFromCSV alone, same file")->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

// Runs the script once; its mean time per pass becomes this row's time.
void BM_PythonCsv(benchmark::State& state, const char* mode, double (*ordelin)[2]) {
  const int hosts = static_cast<int>(state.range(0));
  const std::string command =
      "/usr/bin/python3 '" + programs + "csv_peer.py' " + mode + " '" + CsvFile(hosts) + "' 1.0";
  for (auto _ : state) {
    const std::optional<std::string> output = CommandOutput(command);
    const size_t tab = output ? output->find('\t') : std::string::npos;
    if (tab == std::string::npos || std::atoi(output->c_str() + tab + 1) != hosts + 1) {
      state.SkipWithError(("csv_peer.py failed: " + output.value_or("(did not run)")).c_str());
      return;
    }
    const double seconds = std::strtod(output->c_str(), nullptr);
    state.SetIterationTime(seconds);
    if (Slot(*ordelin, hosts) > 0) state.counters["x_ordelin"] = seconds / Slot(*ordelin, hosts);
  }
}
BENCHMARK_CAPTURE(BM_PythonCsv, write, "write", &gridExportSeconds)
    ->Name("Python csv.writer, same rows")->Arg(10000)->Arg(40000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PythonCsv, read, "read", &gridImportSeconds)
    ->Name("Python csv.reader, same file")->Arg(10000)->Arg(40000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// A click on the host column's header, as a user sorts; the names are shuffled before every pass.
void BM_HeaderClickSort(benchmark::State& state) {
  const int hosts = static_cast<int>(state.range(0));
  ShownConfigurator shown(hosts);
  velmora::VUraRazuduVova& grid = *shown.form->Grid;
  grid.SortSettings().Show = true;
  std::vector<std::string> names;
  for (int n = 0; n < hosts; ++n) names.push_back(HostName(n));
  std::mt19937 random(1);
  const platform::TRect header = grid.CellRect(0, 0);
  const platform::TPoint at = grid.ClientToScreen({(header.Left + header.Right) / 2, (header.Top + header.Bottom) / 2});
  for (auto _ : state) {
    state.PauseTiming();
    std::shuffle(names.begin(), names.end(), random);
    for (int r = 1; r <= hosts; ++r) grid.SetCells(0, r, names[static_cast<size_t>(r - 1)]);
    platform::HeadlessBackend().Click(at);
    state.ResumeTiming();
    platform::Application().ProcessMessages();
  }
  if (grid.SortCompares() < hosts) state.SkipWithError("the click did not sort the hosts");
  state.counters["compares_per_click"] = static_cast<double>(grid.SortCompares()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_HeaderClickSort)->Name("ordelin header click sort, host names")->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

void BM_PythonSorted(benchmark::State& state) {
  const int hosts = static_cast<int>(state.range(0));
  const std::string keys = folder + "/names" + std::to_string(hosts) + ".txt";
  std::ofstream out(keys);
  for (int n = 0; n < hosts; ++n) out << HostName(n) << '\n';
  out.close();
  const std::string command = "/usr/bin/python3 '" + programs + "sort_peer.py' text '" + keys + "' 1.0";
  for (auto _ : state) {
    const std::optional<std::string> output = CommandOutput(command);
    if (!output) {
      state.SkipWithError("sort_peer.py failed");
      return;
    }
    state.SetIterationTime(std::strtod(output->c_str(), nullptr));
  }
}
BENCHMARK(BM_PythonSorted)->Name("Python sorted, same names")->Arg(10000)->Arg(40000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FitGrid(benchmark::State& state) {
  ShownConfigurator shown(static_cast<int>(state.range(0)));
  for (auto _ : state) shown.form->Gittergrsseanpassen1Click(nullptr);
}
BENCHMARK(BM_FitGrid)->Name("ordelin fit the grid, AutoSizeColumns(false, 5)")->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return RunBenchmarksInFolder(argc, argv, "conf_csv_bench", [](const std::string& f) {
    folder = f;
    programs = platform::ExeDir();
    platform::OverrideExeFileName(folder + "/ordelin");
    platform::SetResourceLanguage("DE");
  });
}
