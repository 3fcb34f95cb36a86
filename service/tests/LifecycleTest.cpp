#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/app/Window.h"
#include "service/tests/TarvonexFixture.h"

namespace velmora::testing {
namespace {

const std::string kStopped = "---------------------------Service stopped---------------------------";

TEST_F(TarvonexTest, WithoutHostListTheServiceStopsItselfInGerman) {
  Start();
  RunUntilEnded();
  EXPECT_EQ(LogLines(), (Lines{
                            At(0) + "---------------------------Dienst startet---------------------------",
                            At(0) + "Nichts zu überwachen, Service wird gestoppt",
                            At(0) + "Der Dienst muß nach Änderung der Konfiguration neu gestartet werden.",
                            At(0) + "---------------------------Dienst Stoppt---------------------------",
                            At(0) + "kein Eintrag in der Liste (END)",
                        }));
  EXPECT_TRUE(network->Pinged().empty());
}

TEST_F(TarvonexTest, DisabledHostsAreDroppedInListOrder) {
  WriteHostList({"[Options]", "isEnglish=1", "[Hosts]", "alpha=", "beta=", "gamma=", "[Enabled]", "alpha=0",
                 "beta=1", "gamma=0"});
  network->Script("beta", {Echo()});
  Start();
  RunFor(1000);
  EXPECT_EQ(LogLines(), (Lines{At(0) + "---------------------------Service is Starting up---------------------------",
                               At(0) + "Watching Disabled alpha", At(0) + "Watching Disabled gamma",
                               At(0) + "Watching Enabled beta", At(0) + "Service Execute"}));
}

TEST_F(TarvonexTest, AHostNameWithANulByteIsRefusedNotCutShort) {
  WriteHostList({"[Options]", "isEnglish=1", "[Hosts]", "alpha=", std::string("a\0b=", 4), "beta=", "[Enabled]",
                 "alpha=0"});
  network->Script("beta", {Echo()});
  network->Script("a", {Echo()});
  Start();
  RunFor(6000);
  EXPECT_EQ(LogLines(), (Lines{At(0) + "---------------------------Service is Starting up---------------------------",
                               At(0) + "Watching Disabled alpha", At(0) + "Host name with a NUL byte refused: a\\0b",
                               At(0) + "Watching Enabled beta", At(0) + "Service Execute",
                               At(5) + "beta connected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>"}));
  EXPECT_EQ(network->Pinged(), (Lines{"beta", "beta"}));
}

TEST_F(TarvonexTest, WithEveryHostDisabledTheServiceStopsItself) {
  WriteHostList({"[Options]", "isEnglish=1", "[Hosts]", "alpha=", "beta=", "[Enabled]", "alpha=0", "beta=0"});
  Start();
  RunUntilEnded();
  EXPECT_EQ(LogLines(), (Lines{At(0) + "---------------------------Service is Starting up---------------------------",
                               At(0) + "Watching Disabled alpha", At(0) + "Watching Disabled beta",
                               At(0) + "Not so much to watch",
                               At(0) + "To start the Service again => You have to start it on the NT-ServiceManager",
                               At(0) + kStopped, At(0) + "Nothing to watch (END)"}));
}

TEST_F(TarvonexTest, PauseStopsTheChecksUntilContinueAndStopRemovesTheStatusFile) {
  WriteOneHost("1", {"Intervall=5"});
  network->Script("alpha", {Echo()});
  Start();
  RunFor(6000);
  // Control requests are served once a second by the service thread, whose steps end at n.003 s.
  service->Controller(platform::ServiceControl::Pause);
  RunFor(60000);
  const size_t pings = network->Pinged().size();
  service->Controller(platform::ServiceControl::Continue);
  RunFor(4000);
  EXPECT_EQ(network->Pinged().size(), pings);
  RunFor(2000);
  EXPECT_EQ(network->Pinged().size(), pings + 1);
  EXPECT_TRUE(platform::FileExists(folder.File("status.ini")));
  Stop();
  EXPECT_EQ(LogLines(), Plus(StartLines(), {At(5) + "alpha connected", At(6) + "Service paused",
                                            At(66) + "Service continued", At(72) + kStopped}));
  EXPECT_EQ(network->Pinged().size(), pings + 1);
  EXPECT_FALSE(platform::FileExists(folder.File("status.ini")));
}

// A stop or pause does not wait for the start-up pass: with eight silent hosts it took 40 s, and a stop
// then ended in SIGKILL. Now the pass serves the request within about a second and is given up.
class ControlDuringStartupPassTest : public TarvonexTest,
                                     public ::testing::WithParamInterface<platform::ServiceControl> {};

TEST_P(ControlDuringStartupPassTest, TakesEffectWithinASecond) {
  Lines lines = {"[Options]", "isEnglish=1", "Intervall=60", "[Hosts]"};
  for (int i = 1; i <= 8; ++i) {
    const std::string host = "silent" + std::to_string(i);
    lines.push_back(host + "=");
    network->Script(host, {Silent()});
  }
  WriteHostList(lines);
  Start();
  RunFor(2000);  // within the first ping's time-out
  service->Controller(GetParam());
  if (GetParam() == platform::ServiceControl::Stop) {
    RunUntilEnded();
    EXPECT_LE(platform::MonotonicMs(), 3200);
    EXPECT_EQ(LogLines().back(), At(2) + kStopped);
    EXPECT_EQ(network->Pinged().size(), 1u);
    return;
  }
  RunFor(1200);
  const Lines log = LogLines();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(Lines(log.end() - 2, log.end()), (Lines{At(2) + "Service paused", At(2) + "Service Execute"}));
  RunUntil(60000);
  EXPECT_EQ(network->Pinged().size(), 1u);
  // After continue the pass is done again, and the first round follows it.
  service->Controller(platform::ServiceControl::Continue);
  RunUntil(60000 + 3000 + 40000 + 5000 + 5600);
  EXPECT_EQ(network->Pinged().size(), 1u + 8u + 1u);
}

INSTANTIATE_TEST_SUITE_P(Control, ControlDuringStartupPassTest,
                         ::testing::Values(platform::ServiceControl::Pause, platform::ServiceControl::Stop));

// A reload (SIGHUP) or the configurator's reset request that comes during the start-up pass must not
// hold up the main loop, which reads the stop signal that follows, until the pass has ended.
TEST_F(TarvonexTest, AResetRequestDuringTheStartupPassLeavesStopPrompt) {
  Lines lines = {"[Options]", "isEnglish=1", "[Hosts]"};
  for (int i = 1; i <= 8; ++i) {
    lines.push_back("silent" + std::to_string(i) + "=");
    network->Script("silent" + std::to_string(i), {Silent()});
  }
  WriteHostList(lines);
  Start();
  RunFor(1000);
  service->Controller(platform::ServiceControl::Reload);
  platform::PostMessage(platform::Application().Handle(),
                        platform::RegisterWindowMessage(TTarvonex::ResetRequestMessage), 0, 0);
  RunFor(1000);
  service->Controller(platform::ServiceControl::Stop);
  RunUntilEnded();
  EXPECT_LE(platform::MonotonicMs(), 3200);
  EXPECT_EQ(network->Pinged().size(), 1u);
  // The requests are logged all the same, before the stop.
  const Lines log = LogLines();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(Lines(log.end() - 3, log.end()),
            (Lines{At(2) + "Service is resetting", At(2) + "Service is resetting", At(2) + kStopped}));
}

TEST_F(TarvonexTest, AResetRequestWhilePausedIsServedAtTheFirstTickAfterContinue) {
  WriteOneHost("1", {"Intervall=5"});
  network->Script("alpha", {Echo()});
  Start();
  RunFor(6000);
  service->Controller(platform::ServiceControl::Pause);
  RunFor(2000);
  platform::PostMessage(platform::Application().Handle(),
                        platform::RegisterWindowMessage(TTarvonex::ResetRequestMessage), 0, 0);
  RunFor(10000);
  service->Controller(platform::ServiceControl::Continue);
  // Continued at 18.003 s; the tick at 23.003 s reloads the settings and starts a first round again.
  RunUntil(24000);
  EXPECT_FALSE(platform::FileExists(folder.File("status.ini")));
  RunUntil(29000);
  EXPECT_EQ(LogLines(),
            Plus(Plus(StartLines(), {At(5) + "alpha connected", At(6) + "Service paused", At(8) + "Service is resetting",
                                     At(18) + "Service continued", At(23) + "Read new Settings",
                                     At(23) + "---------------------------Service is Starting up---------------------------",
                                     At(23) + "Watching Enabled alpha"}),
                 {At(28) + "alpha connected"}));
  EXPECT_EQ(Started(), (Lines{UpCommand(), UpCommand()}));
}

TEST_F(TarvonexTest, AResetThatFindsNothingToWatchStopsTheService) {
  WriteOneHost("0");
  network->Script("alpha", {Echo()});
  Start();
  RunFor(6000);
  WriteHostList({"[Options]", "isEnglish=1"});
  platform::PostMessage(platform::Application().Handle(),
                        platform::RegisterWindowMessage(TTarvonex::ResetRequestMessage), 0, 0);
  RunUntilEnded();
  Lines log = LogLines();
  ASSERT_GE(log.size(), 6u);
  EXPECT_EQ(Lines(log.end() - 6, log.end()),
            (Lines{At(6) + "Service is resetting", At(35) + "Read new Settings",
                   At(35) + "---------------------------Service is Starting up---------------------------",
                   At(35) + "Not so much to watch",
                   At(35) + "To start the Service again => You have to start it on the NT-ServiceManager",
                   At(35) + kStopped}));
  EXPECT_FALSE(platform::FileExists(folder.File("status.ini")));
}

TEST_F(TarvonexTest, TheLineAfterTheThousandthRotatesTheLog) {
  std::string old;
  for (int i = 1; i <= 1000; ++i) old += "old line " + std::to_string(i) + "\r\n";
  platform::WriteFileAtomic(folder.File("events.log"), old);
  WriteOneHost("0");
  network->Script("alpha", {Echo()});
  Start();
  RunFor(1000);
  Lines oldLog = FileLines("events_old.log");
  ASSERT_EQ(oldLog.size(), 1001u);
  EXPECT_EQ(oldLog[999], "old line 1000");
  EXPECT_EQ(oldLog[1000], StartLines()[0]);
  // The rotation line has its date and time like every other.
  EXPECT_EQ(LogLines(), (Lines{At(0) + "new Logfile was created", StartLines()[1], StartLines()[2]}));
}

// The German lines of the lifecycle that the check cycle's German test does not reach.
TEST_F(TarvonexTest, GermanTextsOfTheLifecycle) {
  std::string old;
  for (int i = 1; i <= 1000; ++i) old += "old line\r\n";
  platform::WriteFileAtomic(folder.File("events.log"), old);
  WriteHostList({"[Options]", "isEnglish=0", "Intervall=60", "WebStatus=1", "[Hosts]", "alpha=", "beta=", "gamma=",
                 "[Enabled]", "beta=0", "[RunOnConnected]", "alpha=missing.sh", "[WaitForStatusChange]", "alpha=1"});
  platform::WriteFileAtomic(folder.File("status1.vdr"), "a page without rows");  // status2.vdr is missing
  network->Script("alpha", {Echo()});
  network->Script("gamma", {ScriptedIcmpResponder::Raising(ENxSocketError(11001))});
  Start();
  RunUntil(11500);  // alpha's check at 5 s, gamma's at 10.5 s
  service->Controller(platform::ServiceControl::Pause);
  RunUntil(12500);
  platform::PostMessage(platform::Application().Handle(),
                        platform::RegisterWindowMessage(TTarvonex::ResetRequestMessage), 0, 0);
  RunUntil(13500);
  service->Controller(platform::ServiceControl::Continue);
  RunUntil(75000);  // continued at 14 s, with the interval of 60 s that the first round's end set
  Stop();
  const std::string missingRow = folder.File("status2.vdr") + " existiert nicht";
  EXPECT_EQ(LogLines(),
            (Lines{At(0) + "neue Log-Datei wurde generiert", At(0) + "Überwachung AUS: beta", At(0) + "Überwachung EIN: alpha",
                   At(0) + "Überwachung EIN: gamma", At(0) + missingRow, At(0) + "Dienst ausführen",
                   At(5) + "missing.sh konnte nicht gestartet werden", At(5) + "alpha verbunden",
                   At(11) + "gamma nicht verbunden, aber es wird keine Aktion ausgeführt, wegen Schalter <STATUSÄNDERUNG>",
                   At(12) + "Dienst Pause", At(12) + "Dienst wird neu Initialisiert", At(14) + "Dienst weiter ausführen!",
                   At(74) + "Neue Einstellungen lesen!",
                   At(74) + "---------------------------Dienst startet---------------------------",
                   At(74) + "Überwachung AUS: beta", At(74) + "Überwachung EIN: alpha", At(74) + "Überwachung EIN: gamma",
                   At(74) + missingRow, At(75) + "---------------------------Dienst Stoppt---------------------------"}));
}

TEST_F(TarvonexTest, WithLoggingOffNoLogIsWrittenAndTheChecksGoOn) {
  WriteOneHost("1", {"Logging=0"});
  network->Script("alpha", {Echo()});
  Start();
  RunFor(6000);
  Stop();
  EXPECT_FALSE(platform::FileExists(folder.File("events.log")));
  EXPECT_EQ(Started(), Lines{UpCommand()});
}

}  // namespace
}  // namespace velmora::testing
