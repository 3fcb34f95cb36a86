#pragma once

#include <gtest/gtest.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/backends/X11Backend.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/app/MessageQueue.h"

extern char** environ;

namespace platform::test {

// Asks `done` every 50 ms of real time until it holds, at most timeoutMs; what another program does is
// waited for this way.
inline bool Eventually(const std::function<bool()>& done, int timeoutMs = 10000) {
  for (int waited = 0; !done(); waited += 50) {
    if (waited >= timeoutMs) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

// A program that a test runs beside itself (the X server, xdotool, xclip, the window helper), with
// DISPLAY set when given, its standard input read from a string and its standard output and error
// collected in a file. The destructor ends a program that still runs (by its own pid) and reaps it.
class PeerProcess {
public:
  PeerProcess(const std::vector<std::string>& argv, const std::string& display, const std::string& input = {},
              int passFd = -1) {
    char outName[] = "/tmp/velmora-x11-out-XXXXXX";
    char inName[] = "/tmp/velmora-x11-in-XXXXXX";
    const int out = ::mkstemp(outName);
    const int in = ::mkstemp(inName);
    outputFile_ = outName;
    if (out < 0 || in < 0) return;
    (void)!::write(in, input.data(), input.size());
    ::lseek(in, 0, SEEK_SET);
    ::unlink(inName);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDERR_FILENO);
    if (passFd >= 0) posix_spawn_file_actions_adddup2(&actions, passFd, 3);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
      if (std::string_view(*e).substr(0, 8) != "DISPLAY=") env.emplace_back(*e);
    if (!display.empty()) env.push_back("DISPLAY=" + display);
    std::vector<char*> args, envp;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    args.push_back(nullptr);
    envp.push_back(nullptr);
    std::string program = argv[0];
    if (program.find('/') == std::string::npos) program = "/usr/bin/" + program;
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, args.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out);
    ::close(in);
  }
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;
  ~PeerProcess() {
    Kill(SIGTERM);
    ::unlink(outputFile_.c_str());
  }

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }

  // Whether it ended; the exit code is then in ExitCode (-1 after a signal).
  bool Ended() {
    int status = 0;
    if (pid_ > 0 && exitCode_ == kRunning && ::waitpid(pid_, &status, WNOHANG) == pid_)
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exitCode_ != kRunning;
  }
  int ExitCode() const { return exitCode_; }
  // Waits for the end without serving any loop (for peers that need nothing from the test).
  int Wait() {
    int status = 0;
    if (pid_ > 0 && exitCode_ == kRunning && ::waitpid(pid_, &status, 0) == pid_)
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exitCode_;
  }
  // Sends `signal` and reaps the program; one that is still there after 5 s is killed outright, so that
  // a peer hanging in its shutdown cannot hold the test.
  void Kill(int signal) {
    if (pid_ <= 0 || Ended()) return;
    ::kill(pid_, signal);
    for (int i = 0; i < 500 && !Ended(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!Ended()) ::kill(pid_, SIGKILL);
    Wait();
  }
  std::string Output() const { return ReadFileBytes(outputFile_); }

private:
  static constexpr int kRunning = -2;
  pid_t pid_ = -1;
  int exitCode_ = kRunning;
  std::string outputFile_;
};

// Waits (at most 5 s) until a peer has printed `text`, as the desktop peer does once it is in place.
inline bool Says(const PeerProcess& peer, const std::string& text) {
  for (int i = 0; i < 100 && peer.Output().find(text) == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return peer.Output().find(text) != std::string::npos;
}

// Runs a peer to its end; its output, or a test failure when it did not exit with 0.
inline std::string RunPeer(const std::vector<std::string>& argv, const std::string& display, const std::string& input = {}) {
  PeerProcess peer(argv, display, input);
  EXPECT_TRUE(peer.Started()) << argv[0];
  EXPECT_EQ(peer.Wait(), 0) << argv[0] << ": " << peer.Output();
  return peer.Output();
}

// An X server of the test's own (Xvfb, 24-bit colour unless asked otherwise), on a display number that
// the server picks free. A server that names no display within 20 s is ended and started once more.
class XvfbServer {
public:
  explicit XvfbServer(int depth = 24) {
    for (int attempt = 0; attempt < 2 && display_.empty(); ++attempt) Start(depth);
    EXPECT_FALSE(display_.empty()) << "Xvfb named no display: " << (server_ ? server_->Output() : "");
  }
  const std::string& Display() const { return display_; }
  void Stop() { server_->Kill(SIGTERM); }

private:
  void Start(int depth) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    server_ = std::make_unique<PeerProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x" + std::to_string(depth),
                                 "-nolisten", "tcp", "-noreset"},
        "", "", fds[1]);
    ::close(fds[1]);
    std::string number;
    const int64_t deadline = MonotonicMs() + 20000;
    for (char c = 0; c != '\n';) {
      pollfd readable{fds[0], POLLIN, 0};
      const int64_t left = deadline - MonotonicMs();
      if (left <= 0 || ::poll(&readable, 1, static_cast<int>(left)) != 1 || ::read(fds[0], &c, 1) != 1) {
        number.clear();
        break;
      }
      if (c != '\n') number += c;
    }
    ::close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
    else server_->Kill(SIGKILL);
  }

  std::unique_ptr<PeerProcess> server_;
  std::string display_;
};

// A stand-in for a frozen X server (a stopped one, a dead tunnel): it listens on a TCP port of the loopback
// address, so connections to its display succeed, and never answers the connection setup.
class SilentXServer {
public:
  SilentXServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    for (int number = 100; number < 1000 && display_.empty(); ++number) {
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      address.sin_port = htons(static_cast<uint16_t>(6000 + number));
      if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(listener_, 8) == 0)
        display_ = "127.0.0.1:" + std::to_string(number);
    }
  }
  ~SilentXServer() { ::close(listener_); }
  SilentXServer(const SilentXServer&) = delete;
  SilentXServer& operator=(const SilentXServer&) = delete;

  const std::string& Display() const { return display_; }

private:
  int listener_ = -1;
  std::string display_;
};

// Handles the thread's events until `done` holds or timeoutMs of real time passed; done() at the end.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  const int64_t deadline = MonotonicMs() + timeoutMs;
  while (!done()) {
    if (MonotonicMs() >= deadline) return false;
    MessageQueue::Current().DispatchReadyHandles();
    if (!done()) MessageQueue::Current().Wait(std::min(deadline, MonotonicMs() + 20));
  }
  return true;
}

// Handles events for a while, for checks that something did not happen.
inline void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

// Starts openbox on the display and waits until it manages windows.
inline std::unique_ptr<PeerProcess> StartOpenbox(const std::string& display) {
  // Openbox runs its start-up command once it manages windows; the marker file tells the test so.
  char marker[] = "/tmp/velmora-x11-wm-XXXXXX";
  ::close(::mkstemp(marker));
  ::unlink(marker);
  auto manager = std::make_unique<PeerProcess>(
      std::vector<std::string>{"openbox", "--sm-disable", "--startup", std::string("/usr/bin/touch ") + marker},
      display);
  for (int i = 0; i < 200 && !FileExists(marker); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_TRUE(FileExists(marker)) << "openbox did not start: " << manager->Output();
  ::unlink(marker);
  return manager;
}

}  // namespace platform::test
