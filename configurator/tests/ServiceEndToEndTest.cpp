// The configurator's main window beside the real velmora program in a folder of the test, both on the
// real clock: the hand-over after a save, the status column, the log panel, a service that stops or is
// killed, and the sample start and stop scripts. Only loopback and the test's own namespaces are pinged.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "configurator/VelmoraConf.h"
#include "configurator/einstellungen.h"
#include "configurator/tests/ServiceFixture.h"
#include "platform/app/FormLanguage.h"
#include "platform/app/tests/PumpUntil.h"
#include "platform/core/tests/FileAccessAs.h"
#include "platform/core/tests/TempFolder.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/ui/HeadlessBackend.h"
#include "service/icmp/tests/TestNetworks.h"
#include "service/tests/VelmoraProcess.h"

namespace configurator::testing {
namespace {

using ::testing::ElementsAre;
using Lines = std::vector<std::string>;
using platform::PumpUntil;

// Runs body in a child process as the user uid of the group gid, without supplementary groups, and
// returns what body returned, or why the child could not run it. The caller must be root.
std::string InChildAs(uid_t uid, gid_t gid, const std::function<std::string()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    // Nothing may leave the child but through _exit: it would run on in the parent's test.
    std::string report = "cannot switch user";
    try {
      if (::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0) report = body();
    } catch (const std::exception& e) {
      report = std::string("raised: ") + e.what();
    } catch (...) {
      report = "raised";
    }
    const bool written = ::write(fds[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
    ::_exit(written ? 0 : 1);
  }
  ::close(fds[1]);
  std::string report;
  char buffer[512];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<size_t>(n));
  ::close(fds[0]);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    report += " (the child failed)";
  return report;
}

class ServiceEndToEndTest : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string bin = platform::ExeDir();
    velmora_ = std::make_unique<velmora::testing::VelmoraProcess>(folder_.File(""));
    for (const char* script : {kStartScript, kStopScript})
      std::filesystem::copy_file(bin + script, folder_.File(script));
    // From here this process is a configurator in the service's folder, on the headless backend.
    platform::OverrideExeFileName(folder_.File("ordelin"));
    platform::SetBackend(std::make_unique<platform::THeadlessBackend>());
    platform::SetLauncher(&launcher_);
  }
  void TearDown() override {
    delete settings_;
    delete form_;
    platform::SetResourceLanguage("");
    velmora_.reset();
    platform::Application().ProcessMessages();
    platform::SetLauncher(nullptr);
    platform::OverrideExeFileName("");
  }

  // HostList.ini with these hosts, each with a command that does nothing, and these [Options] (by
  // default English, checked every 5 s).
  void WriteHosts(const Lines& hosts, const std::string& options = "isEnglish=1\r\nIntervall=5\r\n") {
    platform::WriteFileAtomic(folder_.File("noop.sh"), "#!/bin/sh\n");
    ::chmod(folder_.File("noop.sh").c_str(), 0755);
    std::string text = "[Options]\r\n" + options + "[Hosts]\r\n";
    for (const std::string& host : hosts) text += host + "=\r\n";
    for (const char* section : {"[RunOnDisconnected]\r\n", "[RunOnConnected]\r\n"}) {
      text += section;
      for (const std::string& host : hosts) text += host + "=noop.sh\r\n";
    }
    platform::WriteFileAtomic(folder_.File("HostList.ini"), text);
  }
  void StartForm() {
    platform::SetResourceLanguage("ENG");
    form_ = new TForm1(nullptr);
    form_->AfterConstruction();
    settings_ = new TfrmSettings(nullptr);
    settings_->AfterConstruction();
    form_->SetBounds(0, 0, 1000, 600);
    form_->Show();
    platform::Application().ProcessMessages();
  }
  // Saves with the reset question answered Yes; returns how long Save took, its wait included.
  std::chrono::steady_clock::duration SaveAnsweringYes() {
    form_->btnSave->SetEnabled(true);
    dialogs_.AnswerMessage(platform::mbYes);
    const auto saved = std::chrono::steady_clock::now();
    form_->btnSaveClick(form_->btnSave);
    return std::chrono::steady_clock::now() - saved;
  }
  std::string WaitPanel() const { return form_->StatusBar->Panels().Items(6)->Text(); }
  std::string StatusCell(int row) const { return form_->Grid->Cells(6, row); }
  std::string LastLogLine() const {
    const Lines log = velmora_->Lines(kEventLogFileName);
    return log.empty() ? "" : log.back();
  }
  std::string LastPanelLine() const {
    const platform::TStringList& lines = form_->LogFile->Lines();
    return lines.Count() == 0 ? "" : lines.Strings(lines.Count() - 1);
  }
  // What the form shows once it painted, with the status columns in view.
  void Screenshot(const std::string& name) {
    platform::Application().ProcessMessages();
    std::filesystem::create_directories(CONFIGURATOR_ARTEFACTS);
    platform::HeadlessBackend().SaveScreenshot(form_->BackendWindow(),
                                               std::string(CONFIGURATOR_ARTEFACTS) + "/" + name + ".png");
  }

  platform::TempFolder folder_;
  std::unique_ptr<velmora::testing::VelmoraProcess> velmora_;
  platform::TScriptedDialogService dialogs_;
  platform::RecordingLauncher launcher_;
  TForm1* form_ = nullptr;
  TfrmSettings* settings_ = nullptr;
};

TEST_F(ServiceEndToEndTest, SaveHandsOverToTheServiceWhichReReadsAndAnswersInTime) {
  WriteHosts({"127.0.0.1", "localhost"});
  velmora_->Start();
  // Both first checks, 5.5 s apart, with time for a loaded machine.
  ASSERT_TRUE(PumpUntil([&] { return velmora_->Lines(kStatusFileName).size() == 6; }, 20000)) << velmora_->Output();
  StartForm();
  EXPECT_LT(SaveAnsweringYes(), std::chrono::seconds(2)) << "the service answers the request at once";
  ASSERT_EQ(dialogs_.Messages().size(), 1u) << "no time-out";
  EXPECT_EQ(WaitPanel(), "Wait for Service");
  EXPECT_TRUE(form_->Enabled());

  // The service re-reads HostList.ini at its next tick and checks both hosts again.
  ASSERT_TRUE(PumpUntil([&] { return velmora_->WaitForMessage("Read new Settings", 0, 0) >= 0; }, 15000))
      << velmora_->Output();
  const size_t reset = static_cast<size_t>(velmora_->WaitForMessage("Service is resetting", 0, 0));
  EXPECT_LT(reset, static_cast<size_t>(velmora_->WaitForMessage("Read new Settings", 0, 0)));
  ASSERT_TRUE(PumpUntil(
      [&] {
        return velmora_->Lines(kStatusFileName).size() == 6 && StatusCell(1) == kAnswering &&
               StatusCell(2) == kAnswering;
      },
      25000))
      << velmora_->Output();
  EXPECT_THAT(form_->Grid->Cells(7, 1), ::testing::EndsWith(" ms"));
  EXPECT_EQ(form_->StatusBar->Panels().Items(1)->Text(), kRunningIcon);
  // The log panel follows events.log line by line.
  ASSERT_TRUE(PumpUntil([&] { return !LastLogLine().empty() && LastPanelLine() == LastLogLine(); }, 10000))
      << LastPanelLine() << " / " << LastLogLine();
  Screenshot("e2e_after_save");
  EXPECT_EQ(velmora_->Terminate(), 0) << velmora_->Output();
}

TEST_F(ServiceEndToEndTest, AHostTakenDownShowsAsNotAnsweringAfterTheConfirmation) {
  const std::string unavailable = velmora::testing::TestNetworks::Unavailable();
  if (!unavailable.empty()) GTEST_SKIP() << "network namespaces: " << unavailable;
  velmora::testing::TestNetworks networks;
  networks.SetEchoAnswered(velmora::testing::TestNetworks::Side::Far, true);
  const std::string host = velmora::testing::TestNetworks::SilentHost;
  WriteHosts({host});
  networks.RunInNear([&] { velmora_->Start(); });
  StartForm();
  ASSERT_TRUE(PumpUntil([&] { return StatusCell(1) == kAnswering; }, 20000)) << velmora_->Output();
  Screenshot("e2e_host_up");
  networks.RunInFar([] { ASSERT_EQ(std::system("ip link set vfar down"), 0); });
  // The next check's time-out, the 10 s to the second ping and its time-out: about 26 s.
  ASSERT_TRUE(PumpUntil([&] { return velmora_->WaitForMessage(host + " disconnected", 0, 0) >= 0; }, 40000))
      << velmora_->Output();
  ASSERT_TRUE(PumpUntil([&] { return StatusCell(1) == kNotAnswering; }, 5000));
  EXPECT_EQ(form_->Grid->Cells(7, 1), "X");
  ASSERT_TRUE(PumpUntil([&] { return LastPanelLine() == LastLogLine(); }, 5000));
  Screenshot("e2e_host_down");
  EXPECT_EQ(velmora_->Terminate(), 0) << velmora_->Output();
}

// With Logging off and a check every minute, the service still answers the reset at once, and its
// answer refreshes the status column; events.log is never written.
TEST_F(ServiceEndToEndTest, WithLoggingOffTheServiceStillAnswersTheResetAndTheHostsShow) {
  WriteHosts({"127.0.0.1", "localhost"}, "isEnglish=1\r\nLogging=0\r\nIntervall=60\r\n");
  velmora_->Start();
  // The first round checks the hosts 5 s apart, whatever the interval.
  ASSERT_TRUE(PumpUntil([&] { return velmora_->Lines(kStatusFileName).size() == 6; }, 20000)) << velmora_->Output();
  // The check's own status message follows its write by half a second: past it, only the reset's answer
  // can end the wait.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  StartForm();
  ASSERT_EQ(StatusCell(1), kAnswering);
  // Cleared, so that only a refresh after the reset fills them again: the timer's comes after 120 s.
  for (const int row : {1, 2}) form_->Grid->SetCells(6, row, "");
  EXPECT_LT(SaveAnsweringYes(), std::chrono::seconds(2)) << "the service answers the request at once";
  ASSERT_EQ(dialogs_.Messages().size(), 1u) << "no time-out";
  EXPECT_EQ(WaitPanel(), "Wait for Service");
  ASSERT_TRUE(PumpUntil([&] { return StatusCell(1) == kAnswering && StatusCell(2) == kAnswering; }, 5000))
      << velmora_->Output();
  EXPECT_EQ(form_->StatusBar->Panels().Items(1)->Text(), kRunningIcon);
  EXPECT_FALSE(platform::FileExists(folder_.File(kEventLogFileName)));
  EXPECT_EQ(LastPanelLine(), "Eventlog was not found");
  EXPECT_EQ(velmora_->Terminate(), 0) << velmora_->Output();
}

// The English window has a caption of its own, under which the service finds it too: the first check
// refreshes the status column, each log line the log panel, and the reset is answered.
TEST_F(ServiceEndToEndTest, TheEnglishWindowGetsTheServicesMessages) {
  WriteHosts({"127.0.0.1"});
  // Open before the service starts: whatever it shows later came with the service's messages.
  StartForm();
  ASSERT_EQ(form_->Caption(), "Velmora - Configurator");
  ASSERT_EQ(StatusCell(1), kUnknown);
  velmora_->Start();
  ASSERT_TRUE(PumpUntil([&] { return StatusCell(1) == kAnswering; }, 20000)) << velmora_->Output();
  EXPECT_EQ(form_->StatusBar->Panels().Items(1)->Text(), kRunningIcon);
  EXPECT_LT(SaveAnsweringYes(), std::chrono::seconds(2)) << "the service answers the request at once";
  ASSERT_EQ(dialogs_.Messages().size(), 1u) << "no time-out";
  EXPECT_EQ(WaitPanel(), "Wait for Service");
  ASSERT_TRUE(PumpUntil([&] { return LastPanelLine() == LastLogLine() && LastLogLine().ends_with("Service is resetting"); },
                        5000))
      << LastPanelLine() << " / " << LastLogLine();
  EXPECT_EQ(velmora_->Terminate(), 0) << velmora_->Output();
}

// The service as root, the window as a user of its own. The user nobody, to whom the folder is given,
// and the service exchange their messages; the user daemon, who may read the folder but not write it,
// is told that HostList.ini cannot be written, and a reset that it posts reaches nobody.
TEST_F(ServiceEndToEndTest, TheServiceAsRootTalksOnlyWithAUserWhoMayWriteTheFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run the window as another user";
  WriteHosts({"127.0.0.1"});
  const std::string folder = folder_.File("");
  ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
  ASSERT_EQ(::chown(folder.c_str(), platform::kNobodyUid, platform::kNobodyGid), 0);
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    ASSERT_EQ(::chown(entry.path().c_str(), platform::kNobodyUid, platform::kNobodyGid), 0);
  velmora_->Start();
  // What the window showed and was asked, a line each; then it closes.
  const auto seen = [&] {
    std::string lines = "status " + StatusCell(1) + "\n";
    for (const platform::TMessageRequest& message : dialogs_.Messages()) lines += message.Text + "\n";
    lines += "panel " + WaitPanel();
    delete settings_;
    delete form_;
    settings_ = nullptr;
    form_ = nullptr;
    return lines;
  };
  const std::string writer = InChildAs(platform::kNobodyUid, platform::kNobodyGid, [&] {
    StartForm();
    PumpUntil([&] { return StatusCell(1) == kAnswering; }, 20000);
    SaveAnsweringYes();
    return seen();
  });
  EXPECT_EQ(writer, "status " + kAnswering + "\nNow you have to reset the Service!\npanel Wait for Service")
      << velmora_->Output();
  ASSERT_GE(velmora_->WaitForMessage("Service is resetting", 0, 5000), 0) << velmora_->Output();

  constexpr uid_t kDaemon = 1;
  const std::string hostList = platform::ReadFileBytes(folder_.File("HostList.ini"));
  const std::string reader = InChildAs(kDaemon, kDaemon, [&] {
    dialogs_.AnswerMessage(platform::mbOK);
    StartForm();
    form_->btnSave->SetEnabled(true);
    form_->btnSaveClick(form_->btnSave);
    platform::PostMessage(platform::HWND_BROADCAST, platform::RegisterWindowMessage(kResetRequestMessageName), 0, 0);
    return seen();
  });
  // The station is closed to this user, so the service's window is not found: it reads as not running.
  EXPECT_EQ(reader, "status " + kUnknown + "\nCannot create file \"" + folder_.File("HostList.ini") +
                        "\". Permission denied\npanel ");
  // A reset would be logged within a second or so, as the first one was.
  std::this_thread::sleep_for(std::chrono::seconds(3));
  const Lines messages = velmora_->LogMessages();
  EXPECT_EQ(std::count(messages.begin(), messages.end(), "Service is resetting"), 1) << velmora_->Output();
  EXPECT_EQ(platform::ReadFileBytes(folder_.File("HostList.ini")), hostList);
  EXPECT_EQ(velmora_->Terminate(), 0) << velmora_->Output();
}

// Stopped, the service removes status.ini; killed, it leaves the file but not its window. Either way it
// reads as not running, and Save offers to start it.
TEST_F(ServiceEndToEndTest, AStoppedOrKilledServiceReadsAsNotRunningAndSaveOffersToStartIt) {
  for (const int signal : {SIGTERM, SIGKILL}) {
    SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGKILL");
    WriteHosts({"127.0.0.1"});
    velmora_->Start();
    if (!form_) StartForm();
    ASSERT_TRUE(PumpUntil([&] { return StatusCell(1) == kAnswering; }, 20000)) << velmora_->Output();
    velmora_->Signal(signal);
    EXPECT_EQ(velmora_->Terminate(), signal == SIGTERM ? 0 : 128 + SIGKILL);
    EXPECT_EQ(platform::FileExists(folder_.File(kStatusFileName)), signal == SIGKILL);
    // The stopping service tells the window; the killed one cannot, and the next refresh finds it gone.
    if (signal == SIGKILL) form_->RefreshStatus();
    ASSERT_TRUE(PumpUntil([&] { return form_->Grid->Cells(7, 1) == "?"; }, 10000));
    EXPECT_EQ(StatusCell(1), kUnknown);
    EXPECT_EQ(form_->StatusBar->Panels().Items(1)->Text(), kNotRunningIcon);
    EXPECT_TRUE(form_->Servicestarten1->Enabled());
    form_->btnSave->SetEnabled(true);
    dialogs_.AnswerMessage(platform::mbYes);
    form_->btnSaveClick(form_->btnSave);
    ASSERT_FALSE(dialogs_.Messages().empty());
    EXPECT_EQ(dialogs_.Messages().back().Text, "Would you like to start the Service now ?");
    ASSERT_EQ(launcher_.requests.size(), 1u);
    EXPECT_EQ(launcher_.requests[0].program, "/bin/sh");
    EXPECT_THAT(launcher_.requests[0].arguments, ElementsAre(folder_.File(kStartScript)));
    launcher_.requests.clear();
    platform::DeleteFile(folder_.File(kStatusFileName));
  }
}

// The sample scripts, run as the configurator runs them, against a systemctl of the test first on PATH.
TEST(ServiceScriptsTest, TheSampleScriptsStartAndStopTheServicesUnit) {
  platform::TempFolder folder;
  platform::WriteFileAtomic(folder.File("systemctl"), "#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/calls\"\n");
  ::chmod(folder.File("systemctl").c_str(), 0755);
  for (const char* script : {kStartScript, kStopScript}) {
    const std::string command =
        "PATH='" + folder.File("") + "':\"$PATH\" /bin/sh '" + platform::ExeDir() + script + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
  }
  EXPECT_EQ(platform::ReadFileBytes(folder.File("calls")), "start Tarvonex.service\nstop Tarvonex.service\n");
}

}  // namespace
}  // namespace configurator::testing
