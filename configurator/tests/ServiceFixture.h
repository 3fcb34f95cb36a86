#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "configurator/ServiceLink.h"
#include "configurator/tests/ConfFormFixture.h"
#include "platform/app/Timer.h"
#include "platform/app/Window.h"
#include "platform/shell/tests/RecordingLauncher.h"

namespace configurator::testing {

// The main form beside a stand-in for the service in this process: its application window (which
// records the reset requests it receives), status.ini and events.log in the program folder, and the
// status messages that it posts to the form. The shell's launcher records what it is asked to start.
class ServiceFormTest : public ConfFormTest {
protected:
  void SetUp() override {
    ConfFormTest::SetUp();
    platform::SetLauncher(&launcher_);
  }
  void TearDown() override {
    timers_.clear();
    serviceWindow_.Reset();
    ConfFormTest::TearDown();
    platform::SetLauncher(nullptr);
  }

  // The service's application window appears in the window station.
  void RunService() {
    serviceWindow_ = platform::WindowHandle(kServiceWindowClass, kServiceWindowCaption, platform::WindowKind::TopLevel,
                                            [this](platform::TMessage& message) {
                                              if (message.Msg == platform::RegisterWindowMessage(kResetRequestMessageName))
                                                ++resetRequests_;
                                            });
  }
  void StopService() { serviceWindow_.Reset(); }

  static void WriteProgramFile(const std::string& name, const std::string& text) {
    platform::WriteFileAtomic(platform::ExeDir() + name, text, platform::Durability::Unflushed);
  }
  static void WriteStatus(const std::string& text) { WriteProgramFile(kStatusFileName, text); }
  // HostList.ini with these hosts, each with both commands.
  static void WriteHosts(const std::vector<std::string>& hosts) {
    std::string text = "[Hosts]\r\n";
    for (const std::string& host : hosts) text += host + "=\r\n";
    text += "[RunOnDisconnected]\r\n";
    for (const std::string& host : hosts) text += host + "=down.sh\r\n";
    text += "[RunOnConnected]\r\n";
    for (const std::string& host : hosts) text += host + "=up.sh\r\n";
    WriteIni(text);
  }

  // The status message as the service posts it.
  void PostStatus(platform::WPARAM wParam) {
    platform::PostMessage(form_->Handle(), platform::RegisterWindowMessage(kStatusNotifyMessageName), wParam, 0);
  }
  // Runs `action` once, atMs of virtual time from now, in whatever loop runs then.
  void After(platform::UINT atMs, std::function<void()> action) {
    auto timer = std::make_unique<platform::TTimer>(nullptr);
    timer->SetInterval(atMs);
    platform::TTimer* raw = timer.get();
    timer->OnTimer = [raw, action = std::move(action)](platform::TObject*) {
      raw->SetEnabled(false);
      action();
    };
    timers_.push_back(std::move(timer));
  }

  // Runs the loop for ms of virtual time.
  void RunFor(platform::UINT ms) {
    bool due = false;
    platform::TTimer alarm(nullptr);
    alarm.SetInterval(ms);
    alarm.OnTimer = [&](platform::TObject*) { due = true; };
    platform::Application().HandleMessagesUntil([&] { return due; });
  }

  std::string StatusCell(int row) { return Grid().Cells(6, row); }
  std::string RoundTripCell(int row) { return Grid().Cells(7, row); }
  controls::TMarkupStatusPanel& Panel(int index) { return *form_->StatusBar->Panels().Items(index); }

  // What the launcher was asked to start, as "program argument ...".
  std::vector<std::string> Launched() const {
    std::vector<std::string> commands;
    for (const platform::LaunchRequest& request : launcher_.requests) {
      std::string command = request.program;
      for (const std::string& argument : request.arguments) command += " " + argument;
      commands.push_back(command);
    }
    return commands;
  }

  platform::RecordingLauncher launcher_;
  int resetRequests_ = 0;
  std::vector<std::unique_ptr<platform::TTimer>> timers_;

private:
  platform::WindowHandle serviceWindow_;
};

// The cells of the state column.
inline std::string StateCell(int image, const char* end = "</center>") {
  return "<p align=\"center\"><IMG src=\"idx:" + std::to_string(image) + "\" align=\"center\">" + end;
}
inline const std::string kUnknown = StateCell(6), kNotAnswering = StateCell(7), kAnswering = StateCell(8);
inline const std::string kRunningIcon = "<p align=\"center\"><IMG src=\"idx:9\">";
inline const std::string kNotRunningIcon = "<p align=\"center\"><IMG src=\"idx:10\">";

}  // namespace configurator::testing
