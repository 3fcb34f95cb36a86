#include "platform/core/Spawn.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"

namespace platform {
namespace {

SpawnRequest Shell(const std::string& script, std::vector<std::string> environment = {}) {
  return {"sh", {"-c", script}, "", std::move(environment)};
}

TEST(SpawnTest, WaitsForTheExitCodeAndReportsFailedStarts) {
  TempFolder folder;
  std::string script = folder.File("noshebang");
  WriteFileAtomic(script, "exit 7\n");
  ::chmod(script.c_str(), 0755);
  struct Case {
    SpawnRequest request;
    SpawnResult expected;
  } cases[] = {
      {Shell("exit 3"), {0, 3}},                               // found through PATH
      {Shell("kill -KILL $$"), {0, -1}},                      // ended by a signal
      {{script, {}, "", {}}, {0, 7}},                          // run bit but no interpreter line
      {{"velmora-no-such-program", {}, "", {}}, {ENOENT, -1}},
      {{folder.File("missing"), {}, "", {}}, {ENOENT, -1}},
      {{"sh", {"-c", "true"}, folder.File("no-folder"), {}}, {ENOENT, -1}},
  };
  for (const Case& c : cases) {
    SpawnResult result = SpawnAndWait(c.request);
    EXPECT_EQ(result.error, c.expected.error) << c.request.program;
    if (c.expected.error == 0) {
      EXPECT_EQ(result.exitCode, c.expected.exitCode) << c.request.program;
    }
  }
}

TEST(SpawnTest, EnvironmentEntriesReplaceTheCallersAndWorkingFolderIsSet) {
  TempFolder folder;
  ::setenv("VELMORA_SPAWN_TEST", "caller", 1);
  SpawnResult result = SpawnAndWait(
      {"sh", {"-c", "test \"$VELMORA_SPAWN_TEST\" = child && test \"$(pwd -P)\" = \"$(cd \"$0\" && pwd -P)\"",
              folder.File("")},
       folder.File(""), {"VELMORA_SPAWN_TEST=child"}});
  ::unsetenv("VELMORA_SPAWN_TEST");
  EXPECT_EQ(result.error, 0);
  EXPECT_EQ(result.exitCode, 0);
}

}  // namespace
}  // namespace platform
