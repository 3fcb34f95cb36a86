#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "service/tests/TarvonexFixture.h"

namespace velmora::testing {
namespace {

const std::string kServiceStopped = "---------------------------Service stopped---------------------------";

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

// The number of lines of text that hold `part`.
size_t LinesHolding(const Lines& lines, const std::string& part) {
  return static_cast<size_t>(
      std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(part) != std::string::npos; }));
}

Lines SplitAtNewlines(const std::string& text) {
  Lines lines;
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// A status.ini that could not be written stopped the checks for good: the same host was checked at every
// tick, no command ran, and its line was logged every time. Now the check goes on to its confirmation and
// command, and the failure is reported once (standard error and log) until a write succeeds again.
TEST_F(OneHostTest, AStatusFileThatCannotBeWrittenIsReportedOnceAndTheChecksGoOn) {
  WriteOneHost("1", {"Intervall=5"});
  network->Script("alpha", {Echo()});
  ASSERT_EQ(::mkdir(folder.File("status.ini").c_str(), 0755), 0);
  ::testing::internal::CaptureStderr();
  Start();
  RunFor(6000);
  network->Script("alpha", {Silent()});
  RunUntil(36000);  // checked at 10.5 s, confirmed by the ping from 26 s
  EXPECT_EQ(Started(), (Lines{UpCommand(), DownCommand()}));
  EXPECT_EQ(LogLines().back(), At(31) + "alpha disconnected");
  EXPECT_EQ(LinesHolding(LogLines(), "status.ini"), 1u);

  ASSERT_EQ(::rmdir(folder.File("status.ini").c_str()), 0);
  RunUntil(43000);  // the check at 36.5 s writes it
  EXPECT_EQ(FileLines("status.ini"), (Lines{"[Hosts]", "alpha=0", "[RoundTrip]", "alpha=-1"}));
  ASSERT_TRUE(platform::DeleteFile(folder.File("status.ini")));
  ASSERT_EQ(::mkdir(folder.File("status.ini").c_str(), 0755), 0);
  RunUntil(53000);  // the check at 47 s fails anew: reported again
  EXPECT_EQ(LinesHolding(SplitAtNewlines(::testing::internal::GetCapturedStderr()), "status.ini"), 2u);
  EXPECT_EQ(LinesHolding(LogLines(), "status.ini"), 2u);
}

// A host name was split into arguments by the command-line rules ("a b c" gave three).
TEST_F(TarvonexTest, TheHostNameIsTheCommandsOneArgumentWhateverItHolds) {
  const std::string host = "a \"b\" --help\\";
  WriteHostList({"[Options]", "isEnglish=1", "[Hosts]", host + "=", "[RunOnConnected]", host + "=" + Command("up"),
                 "[WaitForStatusChange]", host + "=1"});
  network->Script(host, {Echo()});
  Start();
  RunFor(6000);
  ASSERT_EQ(launcher.requests.size(), 1u);
  EXPECT_EQ(launcher.requests[0].arguments, Lines{host});
}

// Only IPv4 is pinged. An IPv6 address (or a name with only IPv6 addresses) counts as disconnected, and
// the log says why once; a host whose lookup fails for another reason is not taken for one.
struct OnlyIpv6Case {
  bool isEnglish;
  std::string line;
};

class OnlyIpv6Test : public TarvonexTest, public ::testing::WithParamInterface<OnlyIpv6Case> {};

TEST_P(OnlyIpv6Test, IsLoggedOnceAndTheHostCountsAsDisconnected) {
  WriteHostList({"[Options]", std::string("isEnglish=") + (GetParam().isEnglish ? "1" : "0"), "Intervall=5", "[Hosts]",
                 "::1=", "192.0.2.1="});
  // The scripted network knows neither: "::1" is not found, as an IPv4 lookup finds no IPv6 address.
  network->Script("192.0.2.1", {ScriptedIcmpResponder::Raising(ENxSocketError(11001))});
  Start();
  RunFor(60000);
  EXPECT_GE(network->Pinged().size(), 8u);
  const Lines log = LogLines();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[3], At(0) + "::1" + GetParam().line);
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& line) { return line.find("IPv6") != line.npos; }), 1);
  EXPECT_EQ(FileLines("status.ini"), (Lines{"[Hosts]", "::1=0", "192.0.2.1=0", "[RoundTrip]", "::1=-1", "192.0.2.1=-1"}));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, OnlyIpv6Test,
    ::testing::Values(OnlyIpv6Case{true, " has only IPv6 addresses => only IPv4 is pinged"},
                      OnlyIpv6Case{false, " hat nur IPv6-Adressen => nur IPv4 wird angepingt"}),
    [](const ::testing::TestParamInfo<OnlyIpv6Case>& info) { return info.param.isEnglish ? "English" : "German"; });

// A stop or pause that came during a confirmation waited for it (a stop one second in took 15 s) and
// the command was started after the stop. Now it takes effect within about a second, and the check is
// given up without its command.
class ControlDuringConfirmationTest : public TarvonexTest,
                                      public ::testing::WithParamInterface<platform::ServiceControl> {};

TEST_P(ControlDuringConfirmationTest, TakesEffectWithinASecondAndNoCommandStarts) {
  WriteOneHost("1", {"Intervall=5"});
  network->Script("alpha", {Echo()});
  Start();
  RunFor(6000);
  network->Script("alpha", {Silent()});
  // The check at 10.5 s gets no answer by 15.5 s and waits from 16 s to confirm it; the request comes at 17 s.
  platform::TTimer request(nullptr);
  request.SetInterval(11000);
  request.OnTimer = [&](platform::TObject*) {
    request.SetEnabled(false);
    service->Controller(GetParam());
  };
  const std::string line = GetParam() == platform::ServiceControl::Stop ? kServiceStopped : "Service paused";
  // The service thread serves requests once a second: at 18.003 s.
  RunUntil(18200);
  EXPECT_EQ(LogLines().back(), At(18) + line);
  RunUntil(60000);
  EXPECT_EQ(Started(), Lines{UpCommand()});
  if (GetParam() == platform::ServiceControl::Stop) {
    EXPECT_TRUE(ended);
    return;
  }
  // After continue (at 60 s) the host is checked anew: the change is seen and confirmed.
  const size_t pings = network->Pinged().size();
  service->Controller(platform::ServiceControl::Continue);
  RunUntil(87000);
  EXPECT_EQ(network->Pinged().size(), pings + 2);
  EXPECT_EQ(Started(), (Lines{UpCommand(), DownCommand()}));
}

INSTANTIATE_TEST_SUITE_P(Control, ControlDuringConfirmationTest,
                         ::testing::Values(platform::ServiceControl::Pause, platform::ServiceControl::Stop));

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
