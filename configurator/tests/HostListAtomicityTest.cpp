// Saves of the host list while another process reads it as the service does at a start or reset.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "configurator/HostListFile.h"
#include "configurator/tests/HostListTestSupport.h"
#include "platform/core/IniFile.h"
#include "platform/core/SectionValues.h"
#include "platform/core/StringList.h"
#include "platform/core/tests/TempFolder.h"

namespace configurator::testing {
namespace {

// Every host of HostList.ini with its values, as the service reads them: one TMemIniFile for the whole
// list, the service's defaults for missing values. A list seen whole gives the same text every time.
std::string ServiceView(const std::string& path) {
  const platform::TMemIniFile ini(path);
  platform::TStringList hosts;
  ini.ReadSection("Hosts", hosts);
  const platform::TSectionValues enabled(ini, "Enabled");
  std::string view;
  for (int i = 0; i < hosts.Count(); ++i) {
    const std::string& h = hosts.Strings(i);
    view += h + "|" + ini.ReadString("RunOnDisconnected", h, "") + "|" + ini.ReadString("RunOnConnected", h, "") +
            "|" + std::to_string(ini.ReadInteger("Show", h, 1)) + "|" + (enabled.ReadBool(h, true) ? "1" : "0") +
            "|" + (ini.ReadBool("WaitForStatusChange", h, false) ? "1" : "0") + "\n";
  }
  return view;
}

// Two lists that share their first hosts with other values, so that sections of one mixed with
// sections of the other give neither.
std::vector<THostEntry> List(int hosts, const std::string& tag) {
  std::vector<THostEntry> rows;
  for (int i = 0; i < hosts; ++i) {
    rows.push_back(Host("host" + std::to_string(i) + ".lan", tag + "down" + std::to_string(i) + ".sh",
                        "\"/opt/" + tag + " tools/up.sh\" " + std::to_string(i), tag == "a" ? 0 : 6, tag == "a",
                        tag != "a"));
  }
  return rows;
}

struct ReaderResult {
  long reads = 0, first = 0, second = 0, other = 0;
};

// Reads in a loop until `stop` is closed, then reports through `report`.
[[noreturn]] void ReadUntilStopped(const std::string& path, const std::string& first, const std::string& second,
                                   int stop, int report) {
  ReaderResult result;
  pollfd stopped{stop, POLLIN, 0};
  while (::poll(&stopped, 1, 0) == 0) {
    const std::string view = ServiceView(path);
    ++result.reads;
    if (view == first) {
      ++result.first;
    } else if (view == second) {
      ++result.second;
    } else {
      ++result.other;
    }
  }
  const ssize_t written = ::write(report, &result, sizeof result);
  ::_exit(written == sizeof result ? 0 : 1);
}

TEST(HostListAtomicityTest, AReaderInAnotherProcessSeesOneWholeListAtEveryRead) {
  platform::TempFolder folder;
  const std::string path = folder.File("HostList.ini");
  WriteLines(path, {"[Options]", "Intervall=60"});
  const std::vector<THostEntry> first = List(40, "a"), second = List(60, "b");
  SaveHostEntries(path, first);
  const std::string firstView = ServiceView(path);
  SaveHostEntries(path, second);
  const std::string secondView = ServiceView(path);
  ASSERT_NE(firstView, secondView);

  int stopPipe[2], reportPipe[2];
  ASSERT_EQ(::pipe(stopPipe), 0);
  ASSERT_EQ(::pipe(reportPipe), 0);
  const pid_t reader = ::fork();
  ASSERT_GE(reader, 0);
  if (reader == 0) {
    ::close(stopPipe[1]);
    ReadUntilStopped(path, firstView, secondView, stopPipe[0], reportPipe[1]);
  }
  ::close(stopPipe[0]);
  ::close(reportPipe[1]);
  for (int save = 0; save < 1000; ++save) SaveHostEntries(path, save % 2 == 0 ? first : second);
  ::close(stopPipe[1]);
  ReaderResult result;
  const ssize_t got = ::read(reportPipe[0], &result, sizeof result);
  ::close(reportPipe[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(reader, &status, 0), reader);
  ASSERT_EQ(got, static_cast<ssize_t>(sizeof result));
  EXPECT_EQ(result.other, 0) << "of " << result.reads << " reads";
  EXPECT_GT(result.first, 0);
  EXPECT_GT(result.second, 0);
  std::printf("%ld reads: %ld of the first list, %ld of the second\n", result.reads, result.first, result.second);
}

}  // namespace
}  // namespace configurator::testing
