#include "platform/core/Spawn.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"

namespace platform {
namespace {

SpawnRequest Shell(const std::string& script, std::vector<std::string> environment = {}) {
  return {"sh", {"-c", script}, "", std::move(environment)};
}

TEST(SpawnTest, CaptureCollectsOutputAndErrorApartAndTheExitCode) {
  const SpawnCapture r = SpawnAndCapture(
      Shell("printf 'out line\\n'; printf 'lp: The printer or class does not exist.\\n' >&2; "
            "head -c 100000 /dev/zero | tr '\\0' x; exit 3"),
      std::chrono::seconds(20));
  EXPECT_EQ(r.error, 0);
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.standardOutput.substr(0, 9), "out line\n");
  EXPECT_EQ(r.standardOutput.size(), 9u + 100000u);
  EXPECT_EQ(r.standardError, "lp: The printer or class does not exist.\n");
  EXPECT_EQ(SpawnAndCapture({"/nonexistent/program", {}, "", {}}, std::chrono::seconds(1)).error, ENOENT);
}

TEST(SpawnTest, CaptureKillsAProgramThatOutlivesItsTimeOut) {
  const SpawnCapture r = SpawnAndCapture(Shell("echo started; exec sleep 30"), std::chrono::milliseconds(300));
  EXPECT_TRUE(r.timedOut);
  EXPECT_EQ(r.exitCode, -1);
  EXPECT_EQ(r.standardOutput, "started\n");
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

// A service's command held the service's standard streams. A detached program with streams of its own
// holds none of the caller's: /dev/null in, and out where the caller's errors are no journal stream.
TEST(SpawnTest, ADetachedProgramGetsStreamsOfItsOwnWhenAsked) {
  TempFolder folder;
  const std::string report = folder.File("streams");
  // The shell's own streams, read in a subshell, so that no redirection of the shell's stands between.
  const std::string script =
      "s=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2); echo \"$s\" > \"$0.part\" && mv \"$0.part\" \"$0\"";
  ASSERT_EQ(SpawnDetached({"sh", {"-c", script, report}, "", {}, ChildStreams::Own}), 0);
  for (int i = 0; i < 2000 && !FileExists(report); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(ReadFileBytes(report), "/dev/null\n/dev/null\n/dev/null\n");
}

}  // namespace
}  // namespace platform
