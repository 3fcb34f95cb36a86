#include <gtest/gtest.h>

#include "service/tests/TarvonexFixture.h"

namespace velmora::testing {
namespace {

// One host "alpha" with commands "down" and "up" (shown minimised), English texts.
using OneHostTest = TarvonexTest;

TEST_F(OneHostTest, FirstRoundWithoutWaitForStatusChangeOnlyLogs) {
  WriteOneHost("0");
  network->Script("alpha", {Silent()});
  Start();
  RunFor(6000);
  // Down at start (5 s ping time-out), then 5 s to the first check and its 5 s time-out.
  EXPECT_EQ(LogLines(), Plus(Lines{At(0) + "---------------------------Service is Starting up---------------------------",
                                   At(0) + "Watching Enabled alpha", At(5) + "Service Execute"},
                             {}));
  RunFor(10000);
  EXPECT_EQ(LogLines().back(), At(15) + "alpha disconnected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>");
  EXPECT_EQ(FileLines("status.ini"), (Lines{"[Hosts]", "alpha=0", "[RoundTrip]", "alpha=-1"}));
  EXPECT_TRUE(Started().empty());
}

TEST_F(OneHostTest, FirstRoundWithWaitForStatusChangeActsAtOnce) {
  WriteOneHost("1");
  network->Script("alpha", {Silent()});
  Start();
  RunFor(16000);
  // No confirmation: the command starts right after the status write of the first check (at 15.5 s),
  // and a second status write follows it.
  EXPECT_EQ(LogLines().back(), At(16) + "alpha disconnected");
  EXPECT_EQ(Started(), Lines{DownCommand()});
  EXPECT_EQ(launcher.requests[0].showCode, 6);
}

TEST_F(OneHostTest, AHostThatChangedBetweenStartAndFirstCheckIsQuiet) {
  WriteOneHost("1");
  network->Script("alpha", {Echo(), Silent()});
  Start();
  RunFor(20000);
  EXPECT_EQ(LogLines(), StartLines());
  EXPECT_EQ(FileLines("status.ini"), (Lines{"[Hosts]", "alpha=0", "[RoundTrip]", "alpha=-1"}));
  EXPECT_TRUE(Started().empty());
}

TEST_F(OneHostTest, ALastingChangeIsConfirmedAfterTenSecondsAndRunsItsCommand) {
  WriteOneHost("1");
  network->Script("alpha", {Echo(3)});
  Start();
  RunFor(6000);
  EXPECT_EQ(LogLines(), Plus(StartLines(), {At(5) + "alpha connected"}));
  EXPECT_EQ(Started(), Lines{UpCommand()});
  EXPECT_EQ(FileLines("status.ini"), (Lines{"[Hosts]", "alpha=1", "[RoundTrip]", "alpha=3"}));

  // Intervall absent: the next check 30 s after the first one ended (5.5 s), a 5 s time-out, the status
  // write, 10 s to the second ping and its time-out, the second status write.
  network->Script("alpha", {Silent()});
  RunFor(60000);
  EXPECT_EQ(LogLines(), Plus(StartLines(), {At(5) + "alpha connected",
                                            At(41) + "Status of alpha changed => checking again in 10 Sec.",
                                            At(56) + "alpha disconnected"}));
  EXPECT_EQ(Started(), (Lines{UpCommand(), DownCommand()}));
  EXPECT_EQ(FileLines("status.ini"), (Lines{"[Hosts]", "alpha=0", "[RoundTrip]", "alpha=-1"}));
}

TEST_F(OneHostTest, ADisturbanceWithinTenSecondsRunsNothingAndKeepsTheKnownState) {
  WriteOneHost("1", {"Intervall=10"});
  network->Script("alpha", {Echo()});
  Start();
  RunFor(6000);
  // Second check at 15.5 s: no answer until 20.5 s; at 31 s the host answers again.
  network->Script("alpha", {Silent(), Echo()});
  RunFor(40000);
  EXPECT_EQ(LogLines(), Plus(StartLines(), {At(5) + "alpha connected",
                                            At(21) + "Status of alpha changed => checking again in 10 Sec.",
                                            At(31) + "disturbance, no action"}));
  EXPECT_EQ(Started(), Lines{UpCommand()});
  // The checks after it find the host as it was known: connected, nothing to log.
  EXPECT_EQ(FileLines("status.ini"), (Lines{"[Hosts]", "alpha=1", "[RoundTrip]", "alpha=3"}));
}

TEST_F(OneHostTest, AnEmptyCommandStartsNothingButTheChangeIsLogged) {
  WriteHostList({"[Options]", "isEnglish=1", "[Hosts]", "alpha=", "[RunOnConnected]", "alpha=",
                 "[WaitForStatusChange]", "alpha=1"});
  network->Script("alpha", {Echo()});
  Start();
  RunFor(6000);
  EXPECT_EQ(LogLines().back(), At(5) + "alpha connected");
  EXPECT_TRUE(Started().empty());
}

TEST_F(OneHostTest, ACommandThatCannotBeStartedIsLoggedAndTheCheckGoesOn) {
  WriteHostList({"[Options]", "isEnglish=1", "[Hosts]", "alpha=", "[RunOnConnected]", "alpha=missing.sh",
                 "[WaitForStatusChange]", "alpha=1"});
  network->Script("alpha", {Echo()});
  Start();
  RunFor(6000);
  EXPECT_EQ(LogLines(), Plus(StartLines(), {At(5) + "missing.sh could not be started", At(5) + "alpha connected"}));
}

TEST_F(OneHostTest, OnlyAnEchoReplyIsAnAnswer) {
  WriteOneHost("1");
  // A router reports the host unreachable; a lookup fails.
  network->Script("alpha", {ScriptedIcmpResponder::UnreachableAfter(2)});
  Start();
  RunFor(6000);
  EXPECT_EQ(LogLines(), Plus(StartLines(), {At(6) + "alpha disconnected"}));
  EXPECT_EQ(FileLines("status.ini"), (Lines{"[Hosts]", "alpha=0", "[RoundTrip]", "alpha=-1"}));
  EXPECT_EQ(Started(), Lines{DownCommand()});
}

TEST_F(OneHostTest, APingThatRaisesCountsAsNoAnswerAndLogsNothingOfIt) {
  WriteOneHost("0");
  network->Script("alpha", {Echo(), ScriptedIcmpResponder::Raising(ENxSocketError(11001))});
  Start();
  RunFor(6000);
  EXPECT_EQ(LogLines(), StartLines());
  EXPECT_EQ(FileLines("status.ini"), (Lines{"[Hosts]", "alpha=0", "[RoundTrip]", "alpha=-1"}));
}

TEST_F(OneHostTest, AServiceThatMayNotPingSaysSoOnceOnItsStandardError) {
  WriteOneHost("0");
  network->Script("alpha", {ScriptedIcmpResponder::Raising(ENxSocketError(10013))});
  ::testing::internal::CaptureStderr();
  Start();
  RunFor(20000);
  const std::string stderrText = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(network->Pinged().size(), 2u);  // the start-up ping and the first check
  EXPECT_EQ(stderrText,
            "Velmora: Cannot ping alpha: Socket Error # 10013 Access denied. A service that runs as a user other "
            "than root pings only when net.ipv4.ping_group_range allows its group.\n");
  // The log shows the host as not answering, as for any ping that fails.
  EXPECT_EQ(LogLines().back(), At(5) + "alpha disconnected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>");
}

TEST_F(OneHostTest, AFailingCheckIsLoggedAndTheSameHostIsCheckedAgain) {
  WriteOneHost("1");
  network->Script("alpha", {Echo()});
  ASSERT_EQ(::mkdir(folder.File("status.ini").c_str(), 0755), 0);  // status.ini cannot be written
  Start();
  RunFor(11000);
  Lines lines = LogLines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3].substr(0, At(5).size()), At(5));
  EXPECT_NE(lines[3].find("status.ini"), std::string::npos);
  EXPECT_EQ(lines[4].substr(0, At(10).size()), At(10));
  EXPECT_NE(lines[4].find("status.ini"), std::string::npos);
  ASSERT_EQ(::rmdir(folder.File("status.ini").c_str()), 0);
  RunFor(5000);
  EXPECT_EQ(LogLines().back(), At(15) + "alpha connected");
}

TEST_F(OneHostTest, GermanTexts) {
  WriteHostList({"[Options]", "isEnglish=0", "Intervall=5", "[Hosts]", "alpha=", "[RunOnConnected]",
                 "alpha=" + Command("up")});
  network->Script("alpha", {Echo()});
  Start();
  RunFor(6000);
  network->Script("alpha", {Silent(), Echo()});
  RunFor(20000);
  network->Script("alpha", {Silent()});
  RunFor(30000);
  EXPECT_EQ(LogLines(),
            (Lines{At(0) + "---------------------------Dienst startet---------------------------",
                   At(0) + "Überwachung EIN: alpha", At(0) + "Dienst ausführen",
                   At(5) + "alpha verbunden, aber es wird keine Aktion ausgeführt, wegen Schalter <STATUSÄNDERUNG>",
                   At(16) + "Status von alpha hat sich geändert => neue Prüfung in 10 Sekunden.",
                   At(26) + "kurze Störung keine Aktion",
                   At(36) + "Status von alpha hat sich geändert => neue Prüfung in 10 Sekunden.",
                   At(52) + "alpha nicht verbunden"}));
}

// Intervall as written in HostList.ini ("" for none) and the seconds between checks after the first round.
struct IntervalCase {
  std::string option;
  int seconds;
};

class IntervalTest : public TarvonexTest, public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(IntervalTest, ChecksFollowTheFirstRoundByIntervallSecondsAtLeastFive) {
  Lines lines = {"[Options]"};
  if (!GetParam().option.empty()) lines.push_back("Intervall=" + GetParam().option);
  lines.insert(lines.end(), {"[Hosts]", "alpha="});
  WriteHostList(lines);
  network->Script("alpha", {Echo(3)});
  Start();
  // Start-up ping at 0, first check at 5.003 s ending at 5.506 s, then one every interval after the
  // end of the previous check (each takes 503 ms).
  const int64_t second = 5506 + GetParam().seconds * 1000;
  const int64_t third = second + 503 + GetParam().seconds * 1000;
  for (auto [at, pings] : {std::pair{second - 100, 2u}, {second + 100, 3u}, {third - 100, 3u}, {third + 100, 4u}}) {
    RunUntil(at);
    EXPECT_EQ(network->Pinged().size(), pings) << at;
  }
}

INSTANTIATE_TEST_SUITE_P(Intervall, IntervalTest,
                         ::testing::Values(IntervalCase{"0", 5}, IntervalCase{"3", 5}, IntervalCase{"5", 5},
                                           IntervalCase{"7", 7}, IntervalCase{"", 30}, IntervalCase{"x", 30}));

TEST_F(TarvonexTest, HostsAreCheckedInListOrderFiveSecondsApartInTheFirstRound) {
  WriteHostList({"[Options]", "isEnglish=1", "Intervall=60", "[Hosts]", "alpha=", "beta=", "gamma=",
                 "[WaitForStatusChange]", "alpha=1", "beta=1", "gamma=1"});
  network->Script("alpha", {Echo()});
  network->Script("beta", {Silent()});
  network->Script("gamma", {Echo()});
  Start();
  RunFor(30000);
  // Start-up pass: beta's time-out takes 5 s; then a check every 5 s after the previous one ended (beta's
  // takes 6 s: its time-out and two status writes).
  EXPECT_EQ(LogLines(), (Lines{At(0) + "---------------------------Service is Starting up---------------------------",
                               At(0) + "Watching Enabled alpha", At(0) + "Watching Enabled beta",
                               At(0) + "Watching Enabled gamma", At(5) + "Service Execute", At(10) + "alpha connected",
                               At(21) + "beta disconnected", At(27) + "gamma connected"}));
  EXPECT_EQ(network->Pinged(), (Lines{"alpha", "beta", "gamma", "alpha", "beta", "gamma"}));
  EXPECT_EQ(FileLines("status.ini"),
            (Lines{"[Hosts]", "alpha=1", "beta=0", "gamma=1", "[RoundTrip]", "alpha=3", "beta=-1", "gamma=3"}));
}

}  // namespace
}  // namespace velmora::testing
