// One line of events.log as the service writes it: TEventLog adds it at the end of the log, against the
// rewrite of the whole log that every line cost before (read the log, add the line, replace the file
// atomically with a flush to disk). The logs live in a temporary folder on the disk of /var/tmp; the
// appends run through whole rotations of 1000 lines.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/core/Files.h"
#include "service/EventLog.h"

namespace {

const std::string kLine = "2024-03-01 12:00:00 => Watching Enabled host0500.example.net";

// A fresh folder of the benchmark, removed with the object.
class BenchFolder {
public:
  BenchFolder() {
    char name[] = "/var/tmp/event_log_bench.XXXXXX";
    path_ = std::string(::mkdtemp(name)) + "/";
  }
  ~BenchFolder() { std::filesystem::remove_all(path_); }
  const std::string& Path() const { return path_; }

private:
  std::string path_;
};

void BM_AppendLine(benchmark::State& state) {
  BenchFolder folder;
  velmora::TEventLog log;
  for (auto _ : state) benchmark::DoNotOptimize(log.Append(folder.Path(), kLine, "new Logfile was created", false));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendLine);

// The former way, on a log of 500 lines: half of the limit, the average between two rotations.
void BM_RewriteWholeLog(benchmark::State& state) {
  BenchFolder folder;
  const std::string path = folder.Path() + velmora::kLogFileName;
  std::string text;
  for (int i = 0; i < 500; ++i) text += kLine + "\r\n";
  platform::WriteFileAtomic(path, text);
  for (auto _ : state)
    platform::WriteFileAtomic(path, platform::ReadFileBytes(path).substr(0, text.size()) + kLine + "\r\n");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RewriteWholeLog);

}  // namespace

BENCHMARK_MAIN();
