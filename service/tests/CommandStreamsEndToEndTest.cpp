// The real velmora program and the standard streams of the commands it starts.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"
#include "service/tests/VelmoraProcess.h"

namespace velmora::testing {
namespace {

// What the service's own output may hold at most: a command's output must never reach it.
constexpr size_t kOutputBound = 64 * 1024;

// The service in a folder, with standard output and error on a pipe that the test reads, and a host
// list whose one host (this machine) runs the script at the first check.
class CommandStreamsEndToEndTest : public ::testing::Test {
protected:
  void StartWithCommand(const std::string& script) {
    platform::WriteFileAtomic(folder.File("command.sh"), "#!/bin/sh\ncd \"$(dirname \"$0\")\"\n" + script);
    ASSERT_EQ(::chmod(folder.File("command.sh").c_str(), 0755), 0);
    platform::WriteFileAtomic(folder.File("HostList.ini"),
                              "[Options]\r\nisEnglish=1\r\n[Hosts]\r\n127.0.0.1=\r\n[RunOnConnected]\r\n127.0.0.1=" +
                                  folder.File("command.sh") + "\r\n[WaitForStatusChange]\r\n127.0.0.1=1\r\n");
    velmora.Start(VelmoraProcess::RunAs::Caller, VelmoraProcess::Output::Pipe);
  }

  // Reads the service's output for at most ms, until the file appears in the folder (or, with "", until
  // the pipe is closed) or the output passes kOutputBound; true when that file appeared or the pipe closed.
  bool ReadOutputUntil(const std::string& file, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end && output.size() <= kOutputBound) {
      if (!file.empty() && platform::FileExists(folder.File(file))) return true;
      pollfd ready{velmora.OutputPipe(), POLLIN, 0};
      if (::poll(&ready, 1, 50) <= 0) continue;
      char buffer[65536];
      const ssize_t n = ::read(velmora.OutputPipe(), buffer, sizeof buffer);
      if (n <= 0) return file.empty();
      output.append(buffer, static_cast<size_t>(n));
    }
    return false;
  }

  platform::TempFolder folder;
  VelmoraProcess velmora{folder.File("")};
  std::string output;
};

// A daemon that a command started kept the service's output open after the service stopped, and a
// command read the service's standard input. A command now gets /dev/null as input and output (the
// service's errors go to no journal here), and what it starts outlives the service.
TEST_F(CommandStreamsEndToEndTest, ADaemonThatACommandStartsHoldsNoneOfTheServicesStreams) {
  StartWithCommand(
      "s=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2) && echo \"$s\" > streams\n"
      "sleep 300 &\n"
      "echo $! > daemon.part && mv daemon.part daemon\n");
  ASSERT_TRUE(ReadOutputUntil("daemon", 20000)) << output;
  const pid_t daemon = std::atoi(platform::ReadFileBytes(folder.File("daemon")).c_str());
  ASSERT_GT(daemon, 0);
  EXPECT_EQ(velmora.Terminate(), 0);
  EXPECT_TRUE(ReadOutputUntil("", 3000)) << "the service's output is still open";
  EXPECT_EQ(::kill(daemon, 0), 0) << "the daemon did not outlive the service";
  ::kill(daemon, SIGKILL);
  EXPECT_EQ(platform::ReadFileBytes(folder.File("streams")), "/dev/null\n/dev/null\n/dev/null\n");
}

// A command's output went into the service's. A command that prints 1 GB on each stream now leaves the
// service's output as small as it was.
TEST_F(CommandStreamsEndToEndTest, ACommandThatPrintsAGigabyteLeavesTheServicesOutputSmall) {
  StartWithCommand(
      "head -c 1073741824 /dev/zero\n"
      "head -c 1073741824 /dev/zero >&2\n"
      "touch printed\n");
  EXPECT_TRUE(ReadOutputUntil("printed", 40000)) << output.size() << " bytes of output";
  EXPECT_EQ(velmora.Terminate(), 0);
  EXPECT_TRUE(ReadOutputUntil("", 3000));
  EXPECT_LE(output.size(), kOutputBound);
}

}  // namespace
}  // namespace velmora::testing
