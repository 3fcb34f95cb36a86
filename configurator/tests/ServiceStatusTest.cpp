// The service's status in the main window: the state and round-trip columns from status.ini, what
// counts as a running service, the status messages and the log panel.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "configurator/tests/OpenCounter.h"
#include "configurator/tests/ServiceFixture.h"
#include "platform/edits/EditMessages.h"

namespace configurator::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(ServiceFormTest, RefreshStatusShowsEachHostFromStatusIni) {
  WriteHosts({"alpha", "beta", "gamma", "delta", "Epsilon"});
  const std::string status =
      "[Hosts]\r\nalpha=1\r\nbeta=0\r\ndelta=5\r\nepsilon=1\r\n"
      "[RoundTrip]\r\nalpha=0\r\nbeta=-1\r\ndelta=12\r\nEPSILON=7\r\n";
  const struct {
    const char* name;
    bool statusFile, serviceWindow;
    std::vector<std::string> states, roundTrips;
    bool running;
  } cases[] = {
      {"running", true, true,
       {kAnswering, kNotAnswering, kUnknown, kUnknown, kAnswering},
       {"0 ms", "X", "X", "12 ms", "7 ms"},
       true},
      {"no status.ini", false, true, {kUnknown, kUnknown, kUnknown, kUnknown, kUnknown}, {"?", "?", "?", "?", "?"}, false},
      // A service killed hard leaves its status.ini behind, but not its window.
      {"stale status.ini", true, false, {kUnknown, kUnknown, kUnknown, kUnknown, kUnknown}, {"?", "?", "?", "?", "?"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.statusFile) WriteStatus(status);
    if (c.serviceWindow) RunService();
    Start();
    std::vector<std::string> states, roundTrips;
    for (int row = 1; row <= 5; ++row) {
      states.push_back(StatusCell(row));
      roundTrips.push_back(RoundTripCell(row));
    }
    EXPECT_EQ(states, c.states);
    EXPECT_EQ(roundTrips, c.roundTrips);
    EXPECT_EQ(Panel(1).Text(), c.running ? kRunningIcon : kNotRunningIcon);
    EXPECT_EQ(form_->Servicestarten1->Enabled(), !c.running);
    EXPECT_EQ(form_->Servicestoppen1->Enabled(), c.running);
    Stop();
    StopService();
    platform::DeleteFile(platform::ExeDir() + kStatusFileName);
  }
}

// A row without a host name gets the unknown image closed by "</p>" and keeps its round-trip text.
TEST_F(ServiceFormTest, ARowWithoutHostKeepsItsRoundTripWhileTheServiceRuns) {
  WriteHosts({"alpha"});
  WriteStatus("[Hosts]\r\nalpha=1\r\n[RoundTrip]\r\nalpha=3\r\n");
  RunService();
  Start();
  Grid().SetRowCount(3);
  Grid().SetCells(7, 2, "old");
  form_->RefreshStatus();
  EXPECT_EQ(StatusCell(2), StateCell(6, "</p>"));
  EXPECT_EQ(RoundTripCell(2), "old");
  EXPECT_EQ(RoundTripCell(1), "3 ms");
}

// status.ini is read once per refresh, whatever the number of hosts, and the status messages that
// queue up meanwhile cost one refresh.
TEST_F(ServiceFormTest, StatusMessagesRefreshOnceForABurstAndEndTheWait) {
  WriteHosts({"alpha", "beta", "gamma"});
  WriteStatus("[Hosts]\r\nalpha=1\r\n");
  RunService();
  Start();
  ASSERT_EQ(StatusCell(1), kAnswering);
  WriteStatus("[Hosts]\r\nalpha=0\r\nbeta=1\r\ngamma=1\r\n[RoundTrip]\r\nalpha=-1\r\nbeta=4\r\ngamma=5\r\n");
  OpenCounter statusReads(platform::ExeDir() + kStatusFileName);
  for (int i = 0; i < 100; ++i) PostStatus(0);
  Settle();
  EXPECT_EQ(statusReads.Take(), 1);
  EXPECT_THAT((std::vector<std::string>{StatusCell(1), StatusCell(2), StatusCell(3)}),
              ElementsAre(kNotAnswering, kAnswering, kAnswering));
  EXPECT_EQ(RoundTripCell(2), "4 ms");
  // The next message, after the burst was served, refreshes again.
  PostStatus(0);
  Settle();
  EXPECT_EQ(statusReads.Take(), 1);
  // The timer refreshes every 120 seconds.
  RunFor(120'000);
  EXPECT_EQ(statusReads.Take(), 1);
}

TEST_F(ServiceFormTest, TheLogPanelShowsEventsLogAndReloadsOnceForABurstOfLogMessages) {
  WriteProgramFile(kEventLogFileName, "2024-03-01 12:00:00 => first\r\n2024-03-01 12:00:01 => second\r\n");
  Start("ENG");
  EXPECT_THAT(form_->LogFile->Lines().Strings(1), "2024-03-01 12:00:01 => second");
  EXPECT_EQ(form_->LogFile->Lines().Count(), 2);
  std::string log;
  for (int i = 0; i < 300; ++i) log += "2024-03-01 12:00:02 => line " + std::to_string(i) + "\r\n";
  WriteProgramFile(kEventLogFileName, log);
  OpenCounter logReads(platform::ExeDir() + kEventLogFileName);
  for (int i = 0; i < 100; ++i) PostStatus(1);
  Settle();
  EXPECT_EQ(logReads.Take(), 1);
  ASSERT_EQ(form_->LogFile->Lines().Count(), 300);
  EXPECT_EQ(form_->LogFile->Lines().Strings(299), "2024-03-01 12:00:02 => line 299");
  // The last line is in view: the memo cannot scroll further down.
  const platform::LRESULT top = form_->LogFile->Perform(platform::EM_GETFIRSTVISIBLELINE);
  EXPECT_GT(top, 250);
  form_->LogFile->Perform(platform::EM_LINESCROLL, 0, 10);
  EXPECT_EQ(form_->LogFile->Perform(platform::EM_GETFIRSTVISIBLELINE), top);
  platform::DeleteFile(platform::ExeDir() + kEventLogFileName);
  PostStatus(1);
  Settle();
  EXPECT_EQ(form_->LogFile->Lines().Text(), "Eventlog was not found\r\n");
}

// A foreign events.log of many MiB shows its last whole lines only.
TEST_F(ServiceFormTest, AHugeEventsLogShowsOnlyItsEnd) {
  const std::string line(1023, 'x');
  std::string log;
  for (int i = 0; i < 6 * 1024; ++i) log += line + "\n";
  log += "last line\n";
  WriteProgramFile(kEventLogFileName, log);
  Start();
  const platform::TStringList& lines = form_->LogFile->Lines();
  ASSERT_GT(lines.Count(), 1000);
  EXPECT_LT(lines.Count(), 4 * 1024 + 2);
  EXPECT_EQ(lines.Strings(0), line) << "no part of a line";
  EXPECT_EQ(lines.Strings(lines.Count() - 1), "last line");
}

TEST_F(ServiceFormTest, AnEventsLogThatIsNoFileShowsTheNotice) {
  ASSERT_EQ(::mkdir((platform::ExeDir() + kEventLogFileName).c_str(), 0755), 0);
  Start();
  EXPECT_EQ(form_->LogFile->Lines().Text(), "Eventlog wurde nicht gefunden\r\n");
}

}  // namespace
}  // namespace configurator::testing
