#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <set>
#include <string>

#include "platform/core/IniFile.h"
#include "platform/core/StringList.h"
#include "platform/core/tests/TempFolder.h"

namespace platform {
namespace {

constexpr int kHosts = 100;
constexpr int kRewrites = 40;
const char* const kHostSections[] = {"Hosts", "Enabled", "WaitForStatusChange", "Show", "RunOnConnected",
                                     "RunOnDisconnected"};

std::string Host(int index) { return "host" + std::to_string(index) + ".example"; }

// Reads the whole file at once, as a TMemIniFile does, and checks that it is one generation: every value of
// every host section equals [Options] Intervall and no host is missing. Returns the generation, -1 when
// the file is not one whole generation.
int ReadGeneration(const std::string& name) {
  TMemIniFile ini(name);
  std::string generation = ini.ReadString("Options", "Intervall", "");
  TStringList values;
  for (const char* section : kHostSections) {
    ini.ReadSectionValues(section, values);
    if (values.Count() != kHosts) return -1;
    for (int i = 0; i < kHosts; ++i) {
      if (values.Strings(i) != Host(i) + "=" + generation) return -1;
    }
  }
  return generation.empty() ? -1 : std::stoi(generation);
}

// The child: reads the file over and over until it has seen the last generation, then writes what it saw
// ("<reads> <distinct generations> <bad reads>") to `report` and ends with exit code 0.
[[noreturn]] void ReadUntilLastGeneration(const std::string& name, int report) {
  int reads = 0, bad = 0;
  std::set<int> seen;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  for (;;) {
    int generation = -1;
    try {
      generation = ReadGeneration(name);
    } catch (...) {
    }
    ++reads;
    if (generation < 0) ++bad;
    else seen.insert(generation);
    if (reads == 1 && ::write(report, "R", 1) != 1) ::_exit(2);
    if (generation == kRewrites || std::chrono::steady_clock::now() > deadline) break;
  }
  std::string summary = std::to_string(reads) + " " + std::to_string(seen.size()) + " " + std::to_string(bad);
  ::_exit(::write(report, summary.data(), summary.size()) == static_cast<ssize_t>(summary.size()) ? 0 : 2);
}

// The service reads HostList.ini while the configurator rewrites it: each rewrite changes every value at
// once, and the reader in another process must only ever see a whole file.
TEST(IniFileCrossProcessTest, AReaderNeverSeesAPartialFile) {
  TempFolder folder;
  std::string name = folder.File("HostList.ini");
  TMemIniFile writer(name);
  auto writeGeneration = [&](int generation) {
    std::string value = std::to_string(generation);
    writer.WriteString("Options", "Intervall", value);
    for (const char* section : kHostSections) {
      for (int i = 0; i < kHosts; ++i) writer.WriteString(section, Host(i), value);
    }
    writer.UpdateFile();
  };
  writeGeneration(0);

  int report[2];
  ASSERT_EQ(::pipe(report), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(report[0]);
    ReadUntilLastGeneration(name, report[1]);
  }
  ::close(report[1]);
  char ready = 0;
  ASSERT_EQ(::read(report[0], &ready, 1), 1);  // the child has read once: rewrite while it reads
  for (int generation = 1; generation <= kRewrites; ++generation) writeGeneration(generation);

  std::string summary;
  char buffer[64];
  for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;) summary.append(buffer, static_cast<size_t>(n));
  ::close(report[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

  int reads = 0, distinct = 0, bad = -1;
  ASSERT_EQ(std::sscanf(summary.c_str(), "%d %d %d", &reads, &distinct, &bad), 3) << summary;
  EXPECT_EQ(bad, 0) << reads << " reads";
  EXPECT_GE(distinct, 2) << "the reader saw the first and the last generation";
}

}  // namespace
}  // namespace platform
