#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace mailnet::test {

// A helper process of a test (a Python peer or reference script) with its standard output on a pipe.
// The destructor ends it (by its own pid) and reaps it.
class ChildProcess {
public:
  explicit ChildProcess(const std::vector<std::string>& argv) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out_ = ::fdopen(fds[0], "r");
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    if (pid_ > 0 && !reaped_) {
      ::kill(pid_, SIGTERM);
      Wait();
    }
    if (out_ != nullptr) std::fclose(out_);
  }

  bool Started() const { return pid_ > 0 && out_ != nullptr; }

  // The next line of its output without the line end; empty at the end of the output.
  std::string ReadLine() {
    std::string line;
    for (int c; out_ != nullptr && (c = std::fgetc(out_)) != EOF && c != '\n';) line += static_cast<char>(c);
    return line;
  }

  // The rest of its output, through its end.
  std::string ReadAll() {
    std::string text;
    for (int c; out_ != nullptr && (c = std::fgetc(out_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

  // The descriptor of its output, for a reader that waits on it with a deadline (and then reads the
  // descriptor only).
  int OutputDescriptor() const { return out_ != nullptr ? fileno(out_) : -1; }

  // Ends it at once.
  void Kill() {
    if (pid_ > 0 && !reaped_) ::kill(pid_, SIGKILL);
  }

  // Waits for the process to end (usage, when given, gets the resources it used); its exit code, or -1
  // when it did not exit normally.
  int Wait(rusage* usage = nullptr) {
    int status = 0;
    if (pid_ <= 0 || ::wait4(pid_, &status, 0, usage) != pid_) return -1;
    reaped_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
  bool reaped_ = false;
};

inline constexpr const char* kPython = "/usr/bin/python3";

inline std::string TestScript(const std::string& name) { return std::string(MAILNET_TEST_DIR) + name; }

}  // namespace mailnet::test
