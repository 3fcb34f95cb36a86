#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/Paths.h"
#include "platform/core/StringList.h"
#include "platform/core/tests/TempFolder.h"
#include "platform/shell/tests/RecordingLauncher.h"
#include "platform/app/Application.h"
#include "platform/app/MessageQueue.h"
#include "platform/app/Timer.h"
#include "service/Unit1.h"
#include "service/icmp/ScriptedIcmpResponder.h"

namespace velmora::testing {

using Lines = std::vector<std::string>;
using Answer = ScriptedIcmpResponder::Answer;
// A host that answers after ms, and one that does not answer.
inline Answer Echo(uint32_t ms = 3) { return ScriptedIcmpResponder::EchoAfter(ms); }
inline Answer Silent() { return ScriptedIcmpResponder::Silence(); }

// The service in a temporary folder of its own, on the virtual clock, with a scripted network and the
// shell's launcher replaced by a recorder. The test thread is the service's main thread: it runs the
// message loop in RunFor and Stop. The clock starts at 2024-03-01 12:00:00 UTC and log lines carry
// ISO dates and 24-hour times, so every line of events.log can be compared as text.
class TarvonexTest : public ::testing::Test {
protected:
  static constexpr int64_t kStartUnixMs = 1'709'294'400'000;  // 2024-03-01 12:00:00 UTC

  void SetUp() override {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    platform::FormatSettings() = platform::TFormatSettings{};
    platform::UseVirtualClock(kStartUnixMs, 0);
    // The test thread takes part in the virtual clock from its first wait on it: one that ends at once.
    platform::WaitOnClock(platform::MonotonicMs(), nullptr, {});
    platform::OverrideExeFileName(folder.File("velmora"));
    mainThread = platform::GetCurrentThreadId();
    service = std::make_unique<TTarvonex>(nullptr);
    auto responder = std::make_unique<ScriptedIcmpResponder>();
    network = responder.get();
    service->icmp->SetTransport(std::move(responder));
  }

  void TearDown() override {
    if (started && !ended) Stop();
    service.reset();
    platform::OverrideExeFileName("");
    platform::UseRealClock();
    platform::ResetFormatSettings();
  }

  // Writes HostList.ini; lines are joined with CR LF.
  void WriteHostList(const std::vector<std::string>& lines) const {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    platform::WriteFileAtomic(folder.File("HostList.ini"), text);
  }

  // Creates an executable file in the folder, for the host list to name as a command.
  std::string Command(const std::string& name) const {
    platform::WriteFileAtomic(folder.File(name), "#!/bin/sh\n");
    ::chmod(folder.File(name).c_str(), 0755);
    return name;
  }

  // HostList.ini with one host "alpha", commands "down" and "up" (shown minimised), English texts.
  void WriteOneHost(const std::string& waitForStatusChange, const std::vector<std::string>& options = {}) {
    Lines lines = {"[Options]", "isEnglish=1"};
    lines.insert(lines.end(), options.begin(), options.end());
    Lines rest = {"[Hosts]", "alpha=", "[RunOnDisconnected]", "alpha=" + Command("down"), "[RunOnConnected]",
                  "alpha=" + Command("up"), "[Show]", "alpha=6", "[WaitForStatusChange]",
                  "alpha=" + waitForStatusChange};
    lines.insert(lines.end(), rest.begin(), rest.end());
    WriteHostList(lines);
  }
  // The commands of that host, as Started() shows them.
  std::string DownCommand() const { return folder.File("down") + " alpha"; }
  std::string UpCommand() const { return folder.File("up") + " alpha"; }

  // The log lines of a start with that host answering at once, up to "Service Execute".
  static Lines StartLines(int seconds = 0) {
    return {At(seconds) + "---------------------------Service is Starting up---------------------------",
            At(seconds) + "Watching Enabled alpha", At(seconds) + "Service Execute"};
  }
  static Lines Plus(Lines lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
  }

  // Starts the service thread, as the service host does when the service is started.
  void Start() {
    started = true;
    service->ServiceThread()->Start([this] {
      ended = true;
      platform::PostThreadMessage(mainThread, platform::WM_NULL, 0, 0);  // wakes the loop to see it
    });
  }

  // Runs the message loop for ms of virtual time, or until the service ended. A check that is running
  // then ends first.
  void RunFor(uint32_t ms) {
    bool due = false;
    platform::TTimer alarm(nullptr);
    alarm.SetInterval(ms);
    alarm.OnTimer = [&](platform::TObject*) { due = true; };
    platform::Application().HandleMessagesUntil([&] { return due || ended.load(); });
  }

  // Runs the loop until the clock shows ms since the start; at once when it shows that already (a test
  // that finds itself late then fails on what it sees instead of running for days of virtual time).
  void RunUntil(int64_t ms) {
    const int64_t now = platform::MonotonicMs();
    if (ms > now) RunFor(static_cast<uint32_t>(ms - now));
  }

  // Runs the loop until the service ended by itself.
  void RunUntilEnded() {
    platform::Application().HandleMessagesUntil([&] { return ended.load(); });
  }

  // Asks the service to stop, as SIGTERM does, and runs the loop until it ended.
  void Stop() {
    service->Controller(platform::ServiceControl::Stop);
    RunUntilEnded();
    service->ServiceThread()->WaitFor();
  }

  // The seconds since the start of the virtual clock, as a log line's time stamp shows them.
  static std::string At(int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "2024-03-01 %02d:%02d:%02d => ", 12 + seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
  }

  std::vector<std::string> LogLines() const { return FileLines("events.log"); }

  std::vector<std::string> FileLines(const std::string& name) const {
    std::vector<std::string> lines;
    if (!platform::FileExists(folder.File(name))) return lines;
    platform::TStringList list;
    list.LoadFromFile(folder.File(name));
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
    return lines;
  }

  // The commands started: the program and its arguments, blank-separated.
  std::vector<std::string> Started() const {
    std::vector<std::string> commands;
    for (const platform::LaunchRequest& request : launcher.requests) {
      std::string command = request.program;
      for (const std::string& argument : request.arguments) command += " " + argument;
      commands.push_back(command);
    }
    return commands;
  }

  platform::TempFolder folder;
  platform::RecordingLauncher launcher;  // the shell's launcher while the test runs
  std::unique_ptr<TTarvonex> service;
  ScriptedIcmpResponder* network = nullptr;  // owned by the service's ICMP client
  platform::DWORD mainThread = 0;
  bool started = false;
  std::atomic<bool> ended{false};
};

}  // namespace velmora::testing
