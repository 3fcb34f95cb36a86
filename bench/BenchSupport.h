#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// What the benchmark programs that compare with a Python peer share.

// The standard output of a shell command; none when it cannot start or exits other than 0.
inline std::optional<std::string> CommandOutput(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string output;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  if (::pclose(pipe) != 0) return std::nullopt;
  return output;
}

// Runs the benchmarks with a fresh folder of their own, which setUp prepares and which is removed
// afterwards; the exit code of main.
inline int RunBenchmarksInFolder(int argc, char** argv, const char* program,
                                 const std::function<void(const std::string& folder)>& setUp) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::string folder = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) {
    std::perror((std::string(program) + ": mkdtemp").c_str());
    return 1;
  }
  setUp(folder);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}
