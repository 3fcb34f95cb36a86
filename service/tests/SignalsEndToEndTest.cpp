// The real velmora program and the signals it gets from systemd and from the shell.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"
#include "service/icmp/tests/TestNetworks.h"
#include "service/tests/VelmoraProcess.h"

namespace velmora::testing {
namespace {

const std::string kStopped = "---------------------------Service stopped---------------------------";

// SIGTERM waited for the start-up pass (with 18 silent hosts longer than systemd's stop time-out, which
// ends in SIGKILL). Now it takes effect within about a second.
TEST(SignalsEndToEndTest, SigtermDuringTheStartupPassOfSilentHostsEndsTheServiceWithinASecond) {
  const std::string unavailable = TestNetworks::Unavailable();
  if (!unavailable.empty()) GTEST_SKIP() << "network namespaces: " << unavailable;
  TestNetworks networks;
  platform::TempFolder folder;
  // The far end ignores echo requests; the other addresses of its network have nobody to answer.
  std::string hosts;
  for (int i = 2; i <= 9; ++i) hosts += "192.0.2." + std::to_string(i) + "=\r\n";
  platform::WriteFileAtomic(folder.File("HostList.ini"), "[Options]\r\nisEnglish=1\r\n[Hosts]\r\n" + hosts);
  VelmoraProcess velmora(folder.File(""));
  networks.RunInNear([&] { velmora.Start(); });
  ASSERT_GE(velmora.WaitForMessage("Watching Enabled 192.0.2.9", 0, 10000), 0) << velmora.Output();
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));

  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(velmora.Terminate(), 0) << velmora.Output();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(2500));
  EXPECT_EQ(velmora.LogMessages().back(), kStopped);
}

// Each line of the start ("Watching Enabled" per host) rewrote the whole log and flushed it, and no stop
// was served until all were written: with 100 000 hosts SIGTERM took 41.5 s. Lines are now added at
// the log's end, and a stop is served at any point of the start within about a second.
TEST(SignalsEndToEndTest, SigtermWhileTheStartLogsAHundredThousandHostsEndsTheServiceWithinASecond) {
  platform::TempFolder folder;
  std::string hostList = "[Options]\r\nisEnglish=1\r\n[Hosts]\r\n";
  for (int i = 0; i < 100'000; ++i)
    hostList += "127.0." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1) + "=\r\n";
  platform::WriteFileAtomic(folder.File("HostList.ini"), hostList);
  VelmoraProcess velmora(folder.File(""));
  velmora.Start();
  ASSERT_GE(velmora.WaitForLines("events.log", 2).size(), 2u) << velmora.Output();

  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(velmora.Terminate(), 0) << velmora.Output();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(1500));
  // The start may have logged enough lines for the stop line to be the one that rotated the log: then
  // it ends events_old.log, and events.log holds only its first line.
  std::vector<std::string> messages = velmora.LogMessages();
  if (messages.size() == 1 && messages.back() == "new Logfile was created") {
    const std::vector<std::string> old = velmora.Lines("events_old.log");
    ASSERT_FALSE(old.empty());
    EXPECT_NE(old.back().find(kStopped), std::string::npos) << old.back();
  } else {
    EXPECT_EQ(messages.back(), kStopped);
  }
}

// A FIFO as HostList.ini blocked the start for ever, and no stop was served. The start now fails at
// once, naming the file.
TEST(SignalsEndToEndTest, AFifoAsTheHostListEndsTheStartWithAnErrorNamingIt) {
  platform::TempFolder folder;
  ASSERT_EQ(::mkfifo(folder.File("HostList.ini").c_str(), 0600), 0);
  VelmoraProcess velmora(folder.File(""));
  velmora.Start();
  for (int i = 0; i < 100 && velmora.Output().find("HostList.ini") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_NE(velmora.Output().find("HostList.ini\". It is not a regular file."), std::string::npos) << velmora.Output();
  EXPECT_EQ(velmora.Terminate(5000), 1) << velmora.Output();
}

// SIGHUP ended the daemon with no stop line and left status.ini behind; SIGPIPE from a standard error
// that nobody reads any more killed it. SIGHUP now asks for a reset, as the configurator does, and a
// write to the closed pipe fails quietly.
TEST(SignalsEndToEndTest, SighupResetsTheServiceAndAClosedStandardErrorDoesNotEndIt) {
  platform::TempFolder folder;
  platform::WriteFileAtomic(folder.File("HostList.ini"), "[Options]\r\nisEnglish=1\r\nIntervall=5\r\n[Hosts]\r\n127.0.0.1=\r\n");
  // status.ini cannot be written: the service says so on standard error at its first check.
  ASSERT_EQ(::mkdir(folder.File("status.ini").c_str(), 0755), 0);
  VelmoraProcess velmora(folder.File(""));
  velmora.Start(VelmoraProcess::RunAs::Caller, VelmoraProcess::Output::ClosedPipe);
  const int failure = velmora.WaitForMessage("127.0.0.1 connected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>", 0, 20000);
  ASSERT_GE(failure, 0);
  velmora.Signal(SIGHUP);
  const int reset = velmora.WaitForMessage("Service is resetting", static_cast<size_t>(failure), 5000);
  ASSERT_GE(reset, 0);
  ASSERT_GE(velmora.WaitForMessage("Read new Settings", static_cast<size_t>(reset), 20000), 0);
  EXPECT_EQ(velmora.Terminate(), 0);
  EXPECT_EQ(velmora.LogMessages().back(), kStopped);
}

}  // namespace
}  // namespace velmora::testing
