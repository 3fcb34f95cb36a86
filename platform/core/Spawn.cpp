#include "platform/core/Spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <array>
#include <span>

#include "platform/core/Clock.h"
#include "platform/core/Eintr.h"
#include "platform/core/JournalStream.h"
#include "platform/core/UniqueFd.h"

extern char** environ;

namespace platform {

namespace {

// A vector of strings as the NULL-terminated char* array that execve takes; the strings stay owned here.
class ArgvArray {
public:
  explicit ArgvArray(std::vector<std::string> strings) : strings_(std::move(strings)) {
    for (std::string& s : strings_) pointers_.push_back(s.data());
    pointers_.push_back(nullptr);
  }
  char* const* Get() const { return pointers_.data(); }

private:
  std::vector<std::string> strings_;
  std::vector<char*> pointers_;
};

// Everything the child needs, prepared before the fork: after it only async-signal-safe calls are allowed.
struct PreparedChild {
  std::string path;  // empty when the program was not found
  std::string directory;
  ArgvArray argv;
  ArgvArray shellArgv;
  ArgvArray env;
};

bool IsExecutableFile(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string ProgramPath(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* variable = std::getenv("PATH");
  std::string_view path = variable ? variable : "/usr/local/bin:/usr/bin:/bin";
  for (;;) {
    size_t colon = path.find(':');
    std::string folder(path.substr(0, colon));
    std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return {};
    path.remove_prefix(colon + 1);
  }
}

// The caller's environment with the request's entries in place of those of the same name.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& entries) {
  auto replaced = [&](const char* existing) {
    for (const std::string& entry : entries) {
      size_t equals = entry.find('=');
      if (equals != std::string::npos && std::strncmp(existing, entry.c_str(), equals + 1) == 0) return true;
    }
    return false;
  };
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    if (!replaced(*e)) env.emplace_back(*e);
  }
  env.insert(env.end(), entries.begin(), entries.end());
  return env;
}

PreparedChild Prepare(const SpawnRequest& request) {
  std::vector<std::string> args{request.program};
  args.insert(args.end(), request.arguments.begin(), request.arguments.end());
  std::string path = ProgramPath(request.program);
  std::vector<std::string> shellArgs{"/bin/sh", path};
  shellArgs.insert(shellArgs.end(), request.arguments.begin(), request.arguments.end());
  return {path, request.directory, ArgvArray(std::move(args)), ArgvArray(std::move(shellArgs)),
          ArgvArray(ChildEnvironment(request.environment))};
}

void ReportErrno(int pipeFd, int error) {
  ssize_t ignored = ::write(pipeFd, &error, sizeof error);
  (void)ignored;
}

enum class Session { Inherit, New };

// The descriptors that become the child's standard input, output and error; -1 keeps the caller's.
struct ChildStdio {
  int input = -1;
  int output = -1;
  int error = -1;
};

[[noreturn]] void ExecChild(const PreparedChild& child, Session session, int pipeFd, ChildStdio stdio = {}) {
  if (session == Session::New) ::setsid();
  if (stdio.input >= 0) ::dup2(stdio.input, 0);
  if (stdio.output >= 0) ::dup2(stdio.output, 1);
  if (stdio.error >= 0) ::dup2(stdio.error, 2);
  struct sigaction defaultAction{};
  defaultAction.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig) ::sigaction(sig, &defaultAction, nullptr);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
  if (!child.directory.empty() && ::chdir(child.directory.c_str()) != 0) {
    ReportErrno(pipeFd, errno);
    ::_exit(127);
  }
  ::execve(child.path.c_str(), child.argv.Get(), child.env.Get());
  if (errno == ENOEXEC) ::execve("/bin/sh", child.shellArgv.Get(), child.env.Get());
  ReportErrno(pipeFd, errno);
  ::_exit(127);
}

// Forks with every signal blocked, so that no handler of ours runs in the child before it resets the
// dispositions; `inChild` runs in the child and never returns.
template <typename InChild>
pid_t ForkBlocked(InChild&& inChild) {
  sigset_t all, previous;
  sigfillset(&all);
  ::pthread_sigmask(SIG_SETMASK, &all, &previous);
  pid_t pid = ::fork();
  if (pid == 0) inChild();
  int error = errno;
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  errno = error;
  return pid;
}

// The errno that the child reported through the close-on-exec pipe; 0 at end of file (the exec worked).
int ReadReportedErrno(const UniqueFd& readEnd) {
  int error = 0;
  ssize_t n = RetryOnEintr([&] { return ::read(readEnd.Descriptor(), &error, sizeof error); });
  return n == static_cast<ssize_t>(sizeof error) ? error : 0;
}

int WaitForExit(pid_t pid) {
  int status = 0;
  if (RetryOnEintr([&] { return ::waitpid(pid, &status, 0); }) < 0) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The descriptors of ChildStreams::Own, opened before the fork; 0 or the errno of a failed open.
struct OwnStreams {
  UniqueFd input;
  UniqueFd output;
};
int OpenOwnStreams(const std::string& program, OwnStreams& streams) {
  streams.input = UniqueFd(::open("/dev/null", O_RDONLY | O_CLOEXEC));
  if (IsJournalStream(2)) streams.output = OpenJournalStream(program.substr(program.rfind('/') + 1));
  if (!streams.output.IsValid()) streams.output = UniqueFd(::open("/dev/null", O_WRONLY | O_CLOEXEC));
  return streams.input.IsValid() && streams.output.IsValid() ? 0 : errno;
}

struct Pipe {
  UniqueFd readEnd;
  UniqueFd writeEnd;
  int error = 0;
};

Pipe OpenPipe() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return {{}, {}, errno};
  return {UniqueFd(fds[0]), UniqueFd(fds[1])};
}

}  // namespace

int SpawnDetached(const SpawnRequest& request) {
  PreparedChild child = Prepare(request);
  if (child.path.empty()) return ENOENT;
  OwnStreams own;
  ChildStdio stdio;
  if (request.streams == ChildStreams::Own) {
    if (int error = OpenOwnStreams(child.path, own); error != 0) return error;
    stdio = {own.input.Descriptor(), own.output.Descriptor(), own.output.Descriptor()};
  }
  Pipe pipe = OpenPipe();
  if (pipe.error != 0) return pipe.error;
  // The intermediate child exits at once and is reaped here, so the program belongs to init.
  pid_t middle = ForkBlocked([&] {
    pid_t grandchild = ForkBlocked([&] { ExecChild(child, Session::New, pipe.writeEnd.Descriptor(), stdio); });
    if (grandchild < 0) ReportErrno(pipe.writeEnd.Descriptor(), errno);
    ::_exit(0);
  });
  int forkError = errno;
  pipe.writeEnd.Close();
  if (middle < 0) return forkError;
  WaitForExit(middle);
  return ReadReportedErrno(pipe.readEnd);
}

SpawnResult SpawnAndWait(const SpawnRequest& request) {
  PreparedChild child = Prepare(request);
  if (child.path.empty()) return {ENOENT};
  Pipe pipe = OpenPipe();
  if (pipe.error != 0) return {pipe.error};
  pid_t pid = ForkBlocked([&] { ExecChild(child, Session::Inherit, pipe.writeEnd.Descriptor()); });
  int forkError = errno;
  pipe.writeEnd.Close();
  if (pid < 0) return {forkError};
  int error = ReadReportedErrno(pipe.readEnd);
  int exitCode = WaitForExit(pid);
  return {error, exitCode};
}

SpawnCapture SpawnAndCapture(const SpawnRequest& request, std::chrono::milliseconds timeout) {
  SpawnCapture result;
  PreparedChild child = Prepare(request);
  if (child.path.empty()) {
    result.error = ENOENT;
    return result;
  }
  Pipe report = OpenPipe(), output = OpenPipe(), errors = OpenPipe();
  for (const Pipe* p : {&report, &output, &errors}) {
    if (p->error != 0) {
      result.error = p->error;
      return result;
    }
  }
  UniqueFd nothing(::open("/dev/null", O_RDONLY | O_CLOEXEC));
  const ChildStdio stdio{nothing.Descriptor(), output.writeEnd.Descriptor(), errors.writeEnd.Descriptor()};
  pid_t pid = ForkBlocked([&] { ExecChild(child, Session::Inherit, report.writeEnd.Descriptor(), stdio); });
  int forkError = errno;
  report.writeEnd.Close();
  output.writeEnd.Close();
  errors.writeEnd.Close();
  if (pid < 0) {
    result.error = forkError;
    return result;
  }
  result.error = ReadReportedErrno(report.readEnd);
  // Both streams are read as they come, so that a chatty program never blocks on a full pipe.
  const int64_t deadline = MonotonicMs() + timeout.count();
  std::array<std::string*, 2> into{&result.standardOutput, &result.standardError};
  std::array<UniqueFd*, 2> from{&output.readEnd, &errors.readEnd};
  for (;;) {
    std::vector<WaitFd> fds;
    std::vector<size_t> which;
    for (size_t i = 0; i < from.size(); ++i) {
      if (from[i]->Descriptor() >= 0) {
        fds.push_back({from[i]->Descriptor(), kWaitReadable});
        which.push_back(i);
      }
    }
    if (fds.empty()) break;
    if (WaitOnClock(deadline, nullptr, fds) == WaitResult::TimedOut) {
      result.timedOut = true;
      ::kill(pid, SIGKILL);
      break;
    }
    for (size_t k = 0; k < fds.size(); ++k) {
      if (fds[k].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = RetryOnEintr([&] { return ::read(fds[k].fd, buffer, sizeof buffer); });
      if (n > 0)
        into[which[k]]->append(buffer, static_cast<size_t>(n));
      else
        from[which[k]]->Close();
    }
  }
  result.exitCode = WaitForExit(pid);
  if (result.timedOut) result.exitCode = -1;
  return result;
}

}  // namespace platform
