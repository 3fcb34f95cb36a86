#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/core/tests/TempFolder.h"
#include "platform/shell/ShellApi.h"
#include "platform/shell/tests/RecordingLauncher.h"
#include "service/HostCommand.h"

namespace velmora::testing {
namespace {

// A command is a file name as it stands, else a command line whose first argument is the file; the host
// name is always the last argument, one argument whatever it holds.
TEST(HostCommandTest, AFileAsItStandsElseTheFirstArgumentOfACommandLine) {
  platform::TempFolder folder;
  platform::OverrideExeFileName(folder.File("velmora"));
  platform::RecordingLauncher launcher;
  std::filesystem::create_directory(folder.File("my tools"));
  for (const char* name : {"plain", "my tools/up ä.sh", "with blank"}) {
    platform::WriteFileAtomic(folder.File(name), "#!/bin/sh\n");
    ::chmod(folder.File(name).c_str(), 0755);
  }
  const std::string host = "srv \"ä\" 1";
  struct Case {
    std::string command;
    std::string program;  // empty: nothing starts
    std::vector<std::string> arguments;
  };
  const std::string up = folder.File("my tools/up ä.sh");
  const std::vector<Case> cases{
      {folder.File("plain"), folder.File("plain"), {host}},
      {"plain", folder.File("plain"), {host}},
      {folder.File("with blank"), folder.File("with blank"), {host}},
      {up, up, {host}},
      {"\"" + up + "\"", up, {host}},
      {"\"" + up + "\" arg \"two words\" \"say \"\"hi\"\"\"", up, {"arg", "two words", "say \"hi\"", host}},
      {folder.File("plain") + " --now  -x", folder.File("plain"), {"--now", "-x", host}},
      {"plain \"\"", folder.File("plain"), {"", host}},
      {"\"" + folder.File("missing file") + "\" arg", "", {}},
      {folder.File("missing"), "", {}},
      {"\"\"", "", {}},
  };
  for (const Case& c : cases) {
    launcher.requests.clear();
    const int result = StartHostCommand(c.command, host, 3);
    if (c.program.empty()) {
      EXPECT_EQ(result, platform::ERROR_FILE_NOT_FOUND) << c.command;
      EXPECT_TRUE(launcher.requests.empty()) << c.command;
      continue;
    }
    EXPECT_GT(result, 32) << c.command;
    ASSERT_EQ(launcher.requests.size(), 1u) << c.command;
    EXPECT_EQ(launcher.requests[0].program, c.program) << c.command;
    EXPECT_EQ(launcher.requests[0].arguments, c.arguments) << c.command;
    EXPECT_EQ(launcher.requests[0].showCode, 3) << c.command;
  }
  platform::OverrideExeFileName("");
}

}  // namespace
}  // namespace velmora::testing
