#pragma once

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/core/StringList.h"

namespace velmora::testing {

// The real velmora program, copied with its page templates from the test's own folder into a folder of
// the test, run there in the foreground on the real clock, and stopped with SIGTERM. Its standard output
// and error go to velmora.out in that folder.
class VelmoraProcess {
public:
  enum class RunAs {
    Caller,
    Nobody,  // the user nobody, to whom the folder and its files are handed first (the caller must be root)
  };

  explicit VelmoraProcess(std::string folder) : folder_(std::move(folder)) {
    for (const char* name : {"velmora", "status1.vdr", "status2.vdr"})
      std::filesystem::copy_file(platform::ExeDir() + name, folder_ + name);
  }
  VelmoraProcess(const VelmoraProcess&) = delete;
  VelmoraProcess& operator=(const VelmoraProcess&) = delete;
  ~VelmoraProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (outputPipe_ >= 0) ::close(outputPipe_);
  }

  // Where the program's standard output and error go: velmora.out, a pipe that nobody reads, closed
  // before the program writes to it, or a pipe whose read end the test reads (OutputPipe).
  enum class Output { File, ClosedPipe, Pipe };

  // Starts the program; a thread that joined a network namespace starts it there.
  void Start(RunAs runAs = RunAs::Caller, Output output = Output::File) {
    const std::string program = folder_ + "velmora";
    std::vector<std::string> arguments = {program};
    if (runAs == RunAs::Nobody) {
      ASSERT_EQ(::chown(folder_.c_str(), Nobody, Nobody), 0);
      for (const auto& entry : std::filesystem::directory_iterator(folder_))
        ASSERT_EQ(::chown(entry.path().c_str(), Nobody, Nobody), 0);
      arguments.insert(arguments.begin(), {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int pipeFds[2] = {-1, -1};
    if (output != Output::File) {
      ASSERT_EQ(::pipe2(pipeFds, O_CLOEXEC), 0);
      posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
      if (output == Output::Pipe) outputPipe_ = std::exchange(pipeFds[0], -1);
    } else {
      posix_spawn_file_actions_addopen(&actions, 1, (folder_ + "velmora.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                       0644);
    }
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int failed = posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    for (int fd : pipeFds)
      if (fd >= 0) ::close(fd);
    if (failed != 0) pid_ = -1;
    ASSERT_EQ(failed, 0) << "cannot start " << program;
  }

  void Signal(int signal) const { ::kill(pid_, signal); }

  // The read end of the program's output with Output::Pipe.
  int OutputPipe() const { return outputPipe_; }

  // Sends SIGTERM and waits (at most timeoutMs) for the program to end; returns its exit status, or -1
  // when it did not end in time.
  int Terminate(int timeoutMs = 15000) {
    ::kill(pid_, SIGTERM);
    const Deadline deadline(timeoutMs);
    do {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
    } while (deadline.SleepUnlessPassed(50));
    return -1;
  }

  // The messages of events.log, without their time stamps.
  std::vector<std::string> LogMessages() const {
    std::vector<std::string> messages;
    for (const std::string& line : Lines("events.log")) {
      const size_t arrow = line.find(" => ");
      messages.push_back(arrow == std::string::npos ? line : line.substr(arrow + 4));
    }
    return messages;
  }

  // Waits (polling, at most timeoutMs) until events.log holds a message equal to `message`, counting
  // from message number `from`; returns its number, or -1 on time-out.
  int WaitForMessage(const std::string& message, size_t from, int timeoutMs) const {
    const Deadline deadline(timeoutMs);
    do {
      const std::vector<std::string> messages = LogMessages();
      for (size_t i = from; i < messages.size(); ++i)
        if (messages[i] == message) return static_cast<int>(i);
    } while (deadline.SleepUnlessPassed(100));
    return -1;
  }

  // The lines of a file in the folder once it holds `count` of them, waiting at most timeoutMs.
  std::vector<std::string> WaitForLines(const std::string& name, size_t count, int timeoutMs = 10000) const {
    const Deadline deadline(timeoutMs);
    while (Lines(name).size() < count && deadline.SleepUnlessPassed(50)) {
    }
    return Lines(name);
  }

  // The lines of a file in the folder; none when it is missing.
  std::vector<std::string> Lines(const std::string& name) const {
    std::vector<std::string> lines;
    if (!platform::FileExists(folder_ + name)) return lines;
    platform::TStringList list;
    list.LoadFromFile(folder_ + name);
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
    return lines;
  }

  // What the program wrote to standard output and error, for failure messages.
  std::string Output() const {
    return platform::FileExists(folder_ + "velmora.out") ? platform::ReadFileBytes(folder_ + "velmora.out") : "";
  }

private:
  // A bound on a wait in real time, however slowly the machine polls.
  class Deadline {
  public:
    explicit Deadline(int timeoutMs)
        : end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {}
    // Sleeps ms and returns true, or returns false when the deadline has passed.
    bool SleepUnlessPassed(int ms) const {
      if (std::chrono::steady_clock::now() >= end_) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      return true;
    }

  private:
    std::chrono::steady_clock::time_point end_;
  };

  static constexpr uid_t Nobody = 65534;

  std::string folder_;
  pid_t pid_ = -1;
  int outputPipe_ = -1;
};

}  // namespace velmora::testing
