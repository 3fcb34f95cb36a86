// The reads the service makes from HostList.ini at every check of a host, through TIniFile (each value
// opens, reads and closes the file), against the same reads with Python's configparser on the same file
// of 1000 hosts. The configparser rows run bench/configparser_reads.py, which times its own checks; their
// counter "x_TIniFile" is how many times longer a check takes there than with TIniFile. The TMemIniFile rows
// read and write the host sections of 10 000 to 100 000 hosts as the configurator does.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "BenchSupport.h"
#include "platform/core/Files.h"
#include "platform/core/IniFile.h"
#include "platform/core/Paths.h"

namespace {

using platform::TIniFile;

constexpr int kHosts = 1000;
const char* const kHostSections[] = {"WaitForStatusChange", "Show", "RunOnConnected", "RunOnDisconnected",
                                     "Enabled"};

std::string HostName(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "host%04d.example.net", index);
  return name;
}

// The checked host: one in the middle of the list, as the service meets them on average.
const std::string kHost = HostName(kHosts / 2);

// HostList.ini as the configurator saves it: the six host sections with every host in list order, then
// the options.
std::string HostListText(int hosts = kHosts) {
  std::string text;
  auto section = [&](const char* name, auto value) {
    text += "[" + std::string(name) + "]\r\n";
    for (int i = 0; i < hosts; ++i) text += HostName(i) + "=" + value(i) + "\r\n";
  };
  section("Hosts", [](int) { return std::string(); });
  section("Enabled", [](int i) { return std::string(i % 7 == 0 ? "0" : "1"); });
  section("WaitForStatusChange", [](int i) { return std::string(i % 2 == 0 ? "1" : "0"); });
  section("Show", [](int i) { return std::to_string(i % 4 == 0 ? 0 : 1); });
  section("RunOnConnected", [](int i) { return "/opt/velmora/commands/" + HostName(i) + "-up.sh"; });
  section("RunOnDisconnected", [](int i) { return "/opt/velmora/commands/" + HostName(i) + "-down.sh"; });
  text += "[Options]\r\nLogPanel=280\r\nIntervall=120\r\nLogging=1\r\nWebStatus=0\r\n"
          "StatusHTMLFilename=index.htm\r\nStatusHTMLDir=/opt/velmora/\r\n";
  return text;
}

std::string hostListFile;    // set up by main
double iniSecondsPerCheck;  // the last TIniFile measurement, for the ratio

// One check's reads, typed as the service reads them.
struct HostSettings {
  int interval;
  bool waitForStatusChange;
  int show;
  std::string runOnConnected;
  std::string runOnDisconnected;
  bool enabled;
};

HostSettings ReadHostSettings(const TIniFile& ini, const std::string& host) {
  return {ini.ReadInteger("Options", "Intervall", 30),   ini.ReadBool("WaitForStatusChange", host, false),
          ini.ReadInteger("Show", host, 1),              ini.ReadString("RunOnConnected", host, ""),
          ini.ReadString("RunOnDisconnected", host, ""), ini.ReadBool("Enabled", host, true)};
}

// The six values as text, in the order the Python script prints them.
std::string ValuesAsText(const TIniFile& ini, const std::string& host) {
  std::string values = ini.ReadString("Options", "Intervall", "30");
  for (const char* section : kHostSections) values += "|" + ini.ReadString(section, host, "");
  return values;
}

void BM_TIniFileHostCheck(benchmark::State& state) {
  TIniFile ini(hostListFile);
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) benchmark::DoNotOptimize(ReadHostSettings(ini, kHost));
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  iniSecondsPerCheck = elapsed.count() / static_cast<double>(state.iterations());
  state.counters["file_KiB"] = static_cast<double>(std::filesystem::file_size(hostListFile)) / 1024;
}
BENCHMARK(BM_TIniFileHostCheck)->Name("TIniFile, file read per value (per check)")->Unit(benchmark::kMicrosecond);

// Runs the script once; it reports its own mean time per check, which becomes this row's time.
void BM_ConfigParserHostCheck(benchmark::State& state, const char* mode) {
  std::string command = "/usr/bin/python3 '" + platform::ExeDir() + "configparser_reads.py' '" + hostListFile +
                        "' '" + kHost + "' " + mode + " 1.0";
  for (auto _ : state) {
    const std::optional<std::string> output = CommandOutput(command);
    size_t tab = output ? output->find('\t') : std::string::npos;
    if (tab == std::string::npos) {
      state.SkipWithError(("configparser_reads.py failed: " + output.value_or("(did not run)")).c_str());
      return;
    }
    std::string values = output->substr(tab + 1);
    while (!values.empty() && values.back() == '\n') values.pop_back();
    if (values != ValuesAsText(TIniFile(hostListFile), kHost)) {
      state.SkipWithError(("configparser read other values: " + values).c_str());
      return;
    }
    double secondsPerCheck = std::strtod(output->c_str(), nullptr);
    state.SetIterationTime(secondsPerCheck);
    if (iniSecondsPerCheck > 0) state.counters["x_TIniFile"] = secondsPerCheck / iniSecondsPerCheck;
  }
}
BENCHMARK_CAPTURE(BM_ConfigParserHostCheck, parse_per_value, "per-value")
    ->Name("configparser, file parsed per value (per check)")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ConfigParserHostCheck, parse_per_check, "per-check")
    ->Name("configparser, file parsed once per check")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMicrosecond);

// The configurator's side of a list of 10 000 and 100 000 hosts: every host's five values looked up
// in a TMemIniFile, and the six host sections written whole with one replace of the file. Both grow
// linearly with the list.
const char* const kAllHostSections[] = {"Hosts", "RunOnConnected", "RunOnDisconnected", "Show", "Enabled",
                                        "WaitForStatusChange"};

void BM_TMemIniFileReadEveryHost(benchmark::State& state) {
  const int hosts = static_cast<int>(state.range(0));
  const std::string file = hostListFile + ".big";
  platform::WriteFileAtomic(file, HostListText(hosts));
  for (auto _ : state) {
    const platform::TMemIniFile ini(file);
    size_t bytes = 0;
    for (int i = 0; i < hosts; ++i) {
      const std::string host = HostName(i);
      for (const char* section : kHostSections) bytes += ini.ReadString(section, host, "").size();
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["ns_per_host"] = benchmark::Counter(static_cast<double>(hosts), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TMemIniFileReadEveryHost)->Name("TMemIniFile, five values of every host")->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TMemIniFileWriteHostSections(benchmark::State& state) {
  const int hosts = static_cast<int>(state.range(0));
  const std::string file = hostListFile + ".written";
  std::vector<std::pair<std::string, std::string>> values;
  for (int i = 0; i < hosts; ++i) values.emplace_back(HostName(i), std::to_string(i % 2));
  for (auto _ : state) {
    platform::TMemIniFile ini(file);
    for (const char* section : kAllHostSections) ini.WriteSection(section, values);
    ini.UpdateFile();
  }
}
BENCHMARK(BM_TMemIniFileWriteHostSections)->Name("TMemIniFile, six host sections written whole")->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return RunBenchmarksInFolder(argc, argv, "ini_bench", [](const std::string& folder) {
    hostListFile = folder + "/HostList.ini";
    platform::WriteFileAtomic(hostListFile, HostListText());
  });
}
