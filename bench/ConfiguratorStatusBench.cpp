// The configurator's main window (headless backend) with 1 000 and 10 000 hosts beside a running
// service: RefreshStatus from a status.ini of every host, beside the bare read of that file into an INI
// object (its floor); and the log panel's load of a service's events.log of 1 000 lines and of a foreign
// one of 64 MiB, of which it shows the last 4 MiB. Both grow linearly: ten times the hosts cost about
// ten times the time, and the foreign log costs what its shown end costs, not its size.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchSupport.h"
#include "configurator/VelmoraConf.h"
#include "configurator/einstellungen.h"
#include "platform/app/Application.h"
#include "platform/app/Window.h"
#include "platform/core/Files.h"
#include "platform/core/IniFile.h"
#include "platform/core/Paths.h"
#include "platform/ui/HeadlessBackend.h"

namespace {

std::string folder;  // the program folder of the benchmarks

std::string HostName(int i) { return "host" + std::to_string(i) + ".example.org"; }

// HostList.ini and status.ini of `hosts` hosts, every third one down.
void WriteFiles(int hosts) {
  std::string list = "[Hosts]\r\n", down = "[RunOnDisconnected]\r\n", up = "[RunOnConnected]\r\n";
  std::string states = "[Hosts]\r\n", trips = "[RoundTrip]\r\n";
  for (int i = 0; i < hosts; ++i) {
    list += HostName(i) + "=\r\n";
    down += HostName(i) + "=down.sh\r\n";
    up += HostName(i) + "=up.sh\r\n";
    states += HostName(i) + (i % 3 ? "=1\r\n" : "=0\r\n");
    trips += HostName(i) + (i % 3 ? "=" + std::to_string(i % 50) + "\r\n" : "=-1\r\n");
  }
  platform::WriteFileAtomic(folder + "HostList.ini", list + down + up);
  platform::WriteFileAtomic(folder + "status.ini", states + trips);
}

// The main form beside a stand-in of the service's window, as the program shows it.
struct ShownConfigurator {
  explicit ShownConfigurator(int hosts) {
    WriteFiles(hosts);
    form = new configurator::TForm1(nullptr);
    form->AfterConstruction();
    settings = new configurator::TfrmSettings(nullptr);
    settings->AfterConstruction();
    form->Show();
    platform::Application().ProcessMessages();
  }
  ~ShownConfigurator() {
    delete settings;
    delete form;
  }
  platform::WindowHandle service{"TApplication", "velmora", platform::WindowKind::TopLevel, [](platform::TMessage&) {}};
  configurator::TForm1* form;
  configurator::TfrmSettings* settings;
};

void BM_RefreshStatus(benchmark::State& state) {
  ShownConfigurator shown(static_cast<int>(state.range(0)));
  for (auto _ : state) shown.form->RefreshStatus();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReadStatusIniAlone(benchmark::State& state) {
  WriteFiles(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    platform::TMemIniFile status(folder + "status.ini");
    benchmark::DoNotOptimize(status.ReadInteger("Hosts", HostName(0), 999));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Log lines as the service writes them.
void WriteLog(size_t bytes) {
  std::string log;
  for (int i = 0; log.size() < bytes; ++i) log += "2024-03-01 12:00:00 => " + HostName(i % 10000) + " connected\r\n";
  platform::WriteFileAtomic(folder + "events.log", log);
}

// The log panel's load, as a log line's status message asks for it.
void BM_LoadLogPanel(benchmark::State& state) {
  ShownConfigurator shown(10);
  WriteLog(static_cast<size_t>(state.range(0)));
  const platform::UINT message = platform::RegisterWindowMessage("4E0D112F-5444-4876-AD3C-6BA23D58CA70");
  for (auto _ : state) {
    platform::PostMessage(shown.form->Handle(), message, 1, 0);
    platform::Application().ProcessMessages();
  }
  state.counters["lines"] = shown.form->LogFile->Lines().Count();
}

BENCHMARK(BM_RefreshStatus)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadStatusIniAlone)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
// 1 000 lines of a service's log (about 60 kB), and 64 MiB.
BENCHMARK(BM_LoadLogPanel)->Arg(60 * 1000)->Arg(64 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return RunBenchmarksInFolder(argc, argv, "configurator_status_bench", [](const std::string& made) {
    folder = made + "/";
    platform::OverrideExeFileName(folder + "ordelin");
    platform::SetBackend(std::make_unique<platform::THeadlessBackend>());
  });
}
