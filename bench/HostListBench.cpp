// The configurator's host list in HostList.ini at 10 000 and 100 000 hosts: the load at start-up
// (ReadHostEntries), Save (SaveHostEntries, with the number of times HostList.ini was replaced per save,
// watched through inotify: one rename onto it and no write into it) and the service's reload of the
// saved list at a reset (one TMemIniFile, the [Hosts] keys, every host's values by name).

#include <benchmark/benchmark.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "configurator/HostListFile.h"
#include "platform/core/IniFile.h"
#include "platform/core/SectionValues.h"
#include "platform/core/StringList.h"

namespace {

std::string folder;  // set up by main

std::vector<configurator::THostEntry> Rows(int hosts) {
  std::vector<configurator::THostEntry> rows;
  rows.reserve(static_cast<size_t>(hosts));
  for (int i = 0; i < hosts; ++i) {
    const std::string host = "host" + std::to_string(i) + ".example.net";
    rows.push_back({host, "/opt/velmora/commands/" + host + "-down.sh", "\"/opt/my tools/up.sh\" " + host,
                    std::vector<int>{0, 1, 3, 6}[static_cast<size_t>(i) % 4], i % 7 != 0, i % 2 == 0});
  }
  return rows;
}

// HostList.ini of `hosts` rows beside the options, saved once.
std::string SavedList(int hosts) {
  const std::string path = folder + "/HostList-" + std::to_string(hosts) + ".ini";
  platform::TMemIniFile options(path);
  options.WriteString("Options", "Intervall", "120");
  options.UpdateFile();
  configurator::SaveHostEntries(path, Rows(hosts));
  return path;
}

void BM_Load(benchmark::State& state) {
  const std::string path = SavedList(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(configurator::ReadHostEntries(path));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Load)->Name("ReadHostEntries (start-up load)")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Counts the events of `mask` for the file `name` read from the inotify descriptor.
int CountEvents(int fd, const std::string& name, uint32_t mask) {
  alignas(inotify_event) char buffer[65536];
  int count = 0;
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
    for (char* at = buffer; at < buffer + n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(at);
      if ((event->mask & mask) != 0 && event->len > 0 && name == event->name) ++count;
      at += sizeof(inotify_event) + event->len;
    }
  }
  return count;
}

void BM_Save(benchmark::State& state) {
  const std::string path = SavedList(static_cast<int>(state.range(0)));
  const std::string name = path.substr(path.rfind('/') + 1);
  const std::vector<configurator::THostEntry> rows = Rows(static_cast<int>(state.range(0)));
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ::inotify_add_watch(watch, folder.c_str(), IN_MOVED_TO | IN_MODIFY | IN_CREATE);
  int replacements = 0, writesInto = 0;
  for (auto _ : state) {
    configurator::SaveHostEntries(path, rows);
    state.PauseTiming();
    replacements += CountEvents(watch, name, IN_MOVED_TO);
    writesInto += CountEvents(watch, name, IN_MODIFY | IN_CREATE);
    state.ResumeTiming();
  }
  ::close(watch);
  const double saves = static_cast<double>(state.iterations());
  state.counters["replacements_per_save"] = replacements / saves;
  state.counters["writes_into_file_per_save"] = writesInto / saves;
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Save)->Name("SaveHostEntries")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ServiceReload(benchmark::State& state) {
  const std::string path = SavedList(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const platform::TMemIniFile ini(path);
    platform::TStringList hosts;
    ini.ReadSection("Hosts", hosts);
    const platform::TSectionValues enabled(ini, "Enabled");
    size_t seen = 0;
    for (int i = 0; i < hosts.Count(); ++i) {
      const std::string& h = hosts.Strings(i);
      seen += enabled.ReadBool(h, true) + ini.ReadBool("WaitForStatusChange", h, false) +
              ini.ReadInteger("Show", h, 1) + ini.ReadString("RunOnConnected", h, "").size() +
              ini.ReadString("RunOnDisconnected", h, "").size();
    }
    benchmark::DoNotOptimize(seen);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ServiceReload)
    ->Name("service reload of the saved list")
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return RunBenchmarksInFolder(argc, argv, "host_list_bench", [](const std::string& made) { folder = made; });
}
