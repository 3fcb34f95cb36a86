// The office exchange at the grid's scale: 100 000 rows of 10 columns written and read as XLSX, written
// as DOCX and read from SQLite, beside openpyxl (write and read) and Python's sqlite3 on the same data
// (bench/office_peers.py). Each measurement runs in a process of its own, so that its peak memory
// ("peak_MB", the maximum resident set) is its own; "x_ours" is how many times longer the peer takes.
// The run fails a row whose time is over its bound: 3 s for each XLSX direction, 1 s for SQLite.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/StrUtils.h"
#include "platform/office/Database.h"
#include "platform/office/Spreadsheet.h"
#include "platform/office/WordDocument.h"

namespace {

using namespace platform;

constexpr int kRows = 100000, kColumns = 10;

std::string folder;      // set up by main
std::string peerScript;  // office_peers.py beside the program
double oursXlsxWrite = 0, oursXlsxRead = 0, oursSqliteRead = 0;

// The rows of office_peers.py, as the grid holds them: texts.
std::vector<std::vector<std::string>> Rows() {
  std::vector<std::vector<std::string>> rows(kRows);
  char buffer[64];
  for (int r = 0; r < kRows; ++r) {
    std::snprintf(buffer, sizeof buffer, "host%06d.example.net", r);
    std::snprintf(buffer + 32, 32, "%03d", r % 1000);
    rows[static_cast<size_t>(r)] = {buffer,
                                    IntToStr(r),
                                    FloatToStr(r * 0.25),
                                    buffer + 32,
                                    r % 3 ? "up" : "down",
                                    IntToStr(r % 97),
                                    "line " + IntToStr(r),
                                    IntToStr(-r),
                                    std::string(static_cast<size_t>(r % 7), 'x'),
                                    FloatToStr(r / 8.0)};
  }
  return rows;
}

struct Measured {
  double seconds = -1;
  double peakMb = 0;
};

// Runs `work` (which returns its seconds) in a child process and takes its peak memory.
Measured InChild(const std::function<double()>& work) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    double seconds = -1;
    try {
      seconds = work();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "office_bench: %s\n", error.what());
    }
    (void)!write(fds[1], &seconds, sizeof seconds);
    _exit(0);
  }
  close(fds[1]);
  Measured measured;
  if (read(fds[0], &measured.seconds, sizeof measured.seconds) != sizeof measured.seconds) measured.seconds = -1;
  close(fds[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  measured.peakMb = usage.ru_maxrss / 1024.0;
  return measured;
}

// Runs the peer script in a child process; it prints its seconds.
Measured Peer(const std::string& mode, const std::string& file) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    execl("/usr/bin/python3", "python3", peerScript.c_str(), mode.c_str(), file.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string output;
  char buffer[256];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Measured measured;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) measured.seconds = std::atof(output.c_str());
  measured.peakMb = usage.ru_maxrss / 1024.0;
  return measured;
}

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(benchmark::State& state, const Measured& measured, double boundSeconds, double ours = 0) {
  for (auto _ : state) state.SetIterationTime(measured.seconds);
  state.counters["peak_MB"] = measured.peakMb;
  if (ours > 0) state.counters["x_ours"] = measured.seconds / ours;
  if (measured.seconds < 0)
    state.SkipWithError("the measurement failed");
  else if (boundSeconds > 0 && measured.seconds > boundSeconds)
    state.SkipWithError("over its time bound");
}

void BM_XlsxWrite(benchmark::State& state) {
  const Measured measured = InChild([] {
    const auto rows = Rows();
    const auto start = std::chrono::steady_clock::now();
    auto book = Workbook::Add();
    Worksheet& sheet = book->AddWorksheet();
    sheet.SetName("Hosts");
    sheet.SetRangeValue(CellRange{1, 1, kColumns, kRows}, rows);
    book->SaveAs(folder + "/ours.xlsx");
    return Since(start);
  });
  oursXlsxWrite = measured.seconds;
  Report(state, measured, 3.0);
}

void BM_XlsxRead(benchmark::State& state) {
  const Measured measured = InChild([] {
    const auto start = std::chrono::steady_clock::now();
    auto book = Workbook::Open(folder + "/ours.xlsx");
    Worksheet& sheet = book->ActiveSheet();
    const auto values = sheet.RangeValue(sheet.UsedRange());
    std::vector<std::vector<std::string>> texts(values.size());
    for (size_t r = 0; r < values.size(); ++r)
      for (const CellValue& value : values[r]) texts[r].push_back(value.Text());
    if (texts.size() != kRows) return -1.0;
    return Since(start);
  });
  oursXlsxRead = measured.seconds;
  Report(state, measured, 3.0);
}

void BM_DocxWrite(benchmark::State& state) {
  Report(state, InChild([] {
           const auto rows = Rows();
           const auto start = std::chrono::steady_clock::now();
           auto document = WordDocument::Add();
           WordTable& table = document->AddTable(kRows, kColumns);
           for (int r = 1; r <= kRows; ++r)
             for (int c = 1; c <= kColumns; ++c) table.Cell(r, c).InsertAfter(rows[size_t(r - 1)][size_t(c - 1)]);
           document->SaveAs(folder + "/ours.docx");
           return Since(start);
         }),
         0);
}

void BM_SqliteRead(benchmark::State& state) {
  const Measured measured = InChild([] {
    const auto start = std::chrono::steady_clock::now();
    DatabaseConnection connection;
    connection.Open(folder + "/hosts.db");
    RecordSet records;
    records.Open(connection, "SELECT * FROM Hosts");
    std::vector<std::vector<std::string>> texts;
    while (!records.Eof()) {
      texts.emplace_back();
      for (int i = 0; i < records.FieldCount(); ++i) texts.back().push_back(records.FieldText(i));
      records.MoveNext();
    }
    if (texts.size() != kRows) return -1.0;
    return Since(start);
  });
  oursSqliteRead = measured.seconds;
  Report(state, measured, 1.0);
}

void BM_OpenpyxlWrite(benchmark::State& state) {
  Report(state, Peer("openpyxl-write", folder + "/openpyxl.xlsx"), 0, oursXlsxWrite);
}
void BM_OpenpyxlRead(benchmark::State& state) {
  Report(state, Peer("openpyxl-read", folder + "/ours.xlsx"), 0, oursXlsxRead);
}
void BM_PythonSqliteRead(benchmark::State& state) {
  Report(state, Peer("sqlite-read", folder + "/hosts.db"), 0, oursSqliteRead);
}

}  // namespace

BENCHMARK(BM_XlsxWrite)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XlsxRead)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocxWrite)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteRead)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenpyxlWrite)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenpyxlRead)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PythonSqliteRead)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  char pattern[] = "/tmp/office-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  folder = pattern;
  peerScript = (std::filesystem::canonical("/proc/self/exe").parent_path() / "office_peers.py").string();
  // The database of the same rows, made by the sqlite3 tool.
  const std::string sql = folder + "/hosts.sql";
  if (FILE* file = std::fopen(sql.c_str(), "w")) {
    std::fputs(
        "CREATE TABLE Hosts (name TEXT, n INTEGER, quarter REAL, code TEXT, state TEXT, mod INTEGER, "
        "line TEXT, negative INTEGER, xs TEXT, eighth REAL);\n"
        "INSERT INTO Hosts WITH RECURSIVE c(r) AS (SELECT 0 UNION ALL SELECT r + 1 FROM c WHERE r < 99999)\n"
        "SELECT printf('host%06d.example.net', r), r, r * 0.25, printf('%03d', r % 1000), "
        "CASE WHEN r % 3 THEN 'up' ELSE 'down' END, r % 97, 'line ' || r, -r, substr('xxxxxxx', 1, r % 7), "
        "r / 8.0 FROM c;\n",
        file);
    std::fclose(file);
  }
  if (std::system(("sqlite3 " + folder + "/hosts.db < " + sql).c_str()) != 0) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}
