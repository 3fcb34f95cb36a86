#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "configurator/HostListFile.h"
#include "configurator/tests/HostListTestSupport.h"
#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"

namespace configurator::testing {
namespace {

struct SaveCase {
  const char* name;
  std::optional<std::string> before;  // none: no file yet
  std::vector<THostEntry> rows;
  std::string after;
};

// The host sections go, wherever and however often they stand; the new ones follow the sections that the
// file keeps, in the order a row writes them, with the keys in row order and the file's line ends.
TEST(SaveHostEntriesTest, WritesExactlyTheseBytes) {
  const std::vector<SaveCase> cases{
      {"new file",
       std::nullopt,
       {Host("alpha", "down.sh", "up.sh", 6, true, false), Host("beta", "", "up.sh", 0, false, true)},
       "[Hosts]\r\nalpha=\r\nbeta=\r\n"
       "[RunOnConnected]\r\nalpha=up.sh\r\nbeta=up.sh\r\n"
       "[RunOnDisconnected]\r\nalpha=down.sh\r\nbeta=\r\n"
       "[Show]\r\nalpha=6\r\nbeta=0\r\n"
       "[Enabled]\r\nalpha=1\r\nbeta=0\r\n"
       "[WaitForStatusChange]\r\nalpha=0\r\nbeta=1\r\n"},
      {"other sections keep their bytes",
       "; HostList\n[Options]\nIntervall = 60 \nisEnglish=1\n\n[Hosts]\nold=\n[Show]\nold=3\n"
       "[Window]\nLeft=10\n; kept\n[ hosts ]\nother=\n[GridSize]\nCol0=120\nodd line\n",
       {Host("gamma", "d", "", 3)},
       "; HostList\n[Options]\nIntervall = 60 \nisEnglish=1\n\n"
       "[Window]\nLeft=10\n; kept\n[GridSize]\nCol0=120\nodd line\n"
       "[Hosts]\ngamma=\n[RunOnConnected]\ngamma=\n[RunOnDisconnected]\ngamma=d\n[Show]\ngamma=3\n"
       "[Enabled]\ngamma=1\n[WaitForStatusChange]\ngamma=1\n"},
      {"no rows leave no host section",
       "[Options]\r\nLogging=0\r\n[Hosts]\r\nold=\r\n[Enabled]\r\nold=1\r\n[RunOnConnected]\r\nold=x\r\n"
       "[RunOnDisconnected]\r\n[WaitForStatusChange]\r\nold=1\r\n[Show]\r\nold=1\r\n",
       {},
       "[Options]\r\nLogging=0\r\n"},
      {"trimmed hosts, normal for odd codes, values the reader would change quoted",
       "\xEF\xBB\xBF[Options]\r\nLogging=1\r\n",
       {Host("  padded\t", "\"/opt/x y/down\"", " lead", 2), Host("q", "'single'", "\"a\" b \"c\"", 5),
        Host("r", "\"", "trail ", -4), Host("s", "a=b \"c\"", "\"\"", 1)},
       "\xEF\xBB\xBF[Options]\r\nLogging=1\r\n"
       "[Hosts]\r\npadded=\r\nq=\r\nr=\r\ns=\r\n"
       "[RunOnConnected]\r\npadded=\" lead\"\r\nq=\"\"a\" b \"c\"\"\r\nr=\"trail \"\r\ns=\"\"\"\"\r\n"
       "[RunOnDisconnected]\r\npadded=\"\"/opt/x y/down\"\"\r\nq=\"'single'\"\r\nr=\"\r\ns=a=b \"c\"\r\n"
       "[Show]\r\npadded=1\r\nq=1\r\nr=1\r\ns=1\r\n"
       "[Enabled]\r\npadded=1\r\nq=1\r\nr=1\r\ns=1\r\n"
       "[WaitForStatusChange]\r\npadded=1\r\nq=1\r\nr=1\r\ns=1\r\n"},
  };
  for (const SaveCase& c : cases) {
    platform::TempFolder folder;
    const std::string path = folder.File("HostList.ini");
    if (c.before) platform::WriteFileAtomic(path, *c.before, platform::Durability::Unflushed);
    SaveHostEntries(path, c.rows);
    EXPECT_EQ(platform::ReadFileBytes(path), c.after) << c.name;
  }
}

// What Save writes reads back as it was typed (hosts trimmed), through the reader that the service uses.
TEST(SaveHostEntriesTest, EveryValueReadsBackAsWritten) {
  platform::TempFolder folder;
  const std::string path = folder.File("HostList.ini");
  std::vector<THostEntry> rows;
  int index = 0;
  // Strings, not pointers: the long command's temporary would be gone before the loop reads it.
  const std::vector<std::string> commands{"", " ", "\t", "\"", "\"\"", "''", "'", "\"x\"", "'x'", "\"x'", " \"x\" ",
                                          "x y", "\"/opt/my tools/ping me\" --now", "größer.sh", "a=b",
                                          "; not a comment", "[not a section]", std::string(4000, 'l')};
  for (const std::string& command : commands) {
    const int show = std::vector<int>{0, 1, 3, 6}[index % 4];
    rows.push_back(Host("host" + std::to_string(index), command, std::string("up ") + command, show,
                        index % 2 == 0, index % 3 == 0));
    ++index;
  }
  SaveHostEntries(path, rows);
  EXPECT_EQ(ReadHostEntries(path), rows);
}

}  // namespace
}  // namespace configurator::testing
