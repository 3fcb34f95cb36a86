#include "platform/shell/Launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

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

std::vector<std::string> ChildEnvironment(int showCode) {
  std::string prefix = std::string(kShowCodeVariable) + "=";
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    if (std::strncmp(*e, prefix.c_str(), prefix.size()) != 0) env.emplace_back(*e);
  }
  env.push_back(prefix + std::to_string(showCode));
  return env;
}

void ReportErrno(int pipeFd, int error) {
  ssize_t ignored = ::write(pipeFd, &error, sizeof error);
  (void)ignored;
}

// Runs in the grandchild, where only async-signal-safe calls are allowed: it leaves our session, takes
// back the default signal dispositions and an empty signal mask (the service host blocks its control
// signals), keeps no descriptor of ours past exec, and executes the program. A file with the run bit
// but no interpreter line (ENOEXEC) runs through /bin/sh, as a shell would do.
[[noreturn]] void ExecChild(const LaunchRequest& request, const ArgvArray& argv, const ArgvArray& shellArgv,
                            const ArgvArray& env, int pipeFd) {
  ::setsid();
  struct sigaction defaultAction{};
  defaultAction.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig) ::sigaction(sig, &defaultAction, nullptr);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
  if (!request.directory.empty() && ::chdir(request.directory.c_str()) != 0) {
    ReportErrno(pipeFd, errno);
    ::_exit(127);
  }
  ::execve(request.program.c_str(), argv.Get(), env.Get());
  if (errno == ENOEXEC) ::execve("/bin/sh", shellArgv.Get(), env.Get());
  ReportErrno(pipeFd, errno);
  ::_exit(127);
}

// Starts each program as a grandchild: the intermediate child exits at once and is reaped here, so the
// program belongs to init (never a zombie of ours) and the caller never waits for it. A close-on-exec
// pipe carries the errno of a failed exec back; end of file on it means the program runs.
class ProcessLauncher : public Launcher {
public:
  int Launch(const LaunchRequest& request) override {
    std::vector<std::string> args{request.program};
    args.insert(args.end(), request.arguments.begin(), request.arguments.end());
    std::vector<std::string> shellArgs{"/bin/sh"};
    shellArgs.insert(shellArgs.end(), args.begin(), args.end());
    ArgvArray argv(std::move(args));
    ArgvArray shellArgv(std::move(shellArgs));
    ArgvArray env(ChildEnvironment(request.showCode));

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return errno;
    // No handler of ours may run in the children before they reset the dispositions.
    sigset_t all, previous;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    pid_t middle = ::fork();
    if (middle == 0) {
      ::close(pipeFds[0]);
      pid_t child = ::fork();
      if (child == 0) ExecChild(request, argv, shellArgv, env, pipeFds[1]);
      if (child < 0) ReportErrno(pipeFds[1], errno);
      ::_exit(0);
    }
    int forkError = errno;
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(pipeFds[1]);
    if (middle < 0) {
      ::close(pipeFds[0]);
      return forkError;
    }
    while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n;
    do {
      n = ::read(pipeFds[0], &error, sizeof error);
    } while (n < 0 && errno == EINTR);
    ::close(pipeFds[0]);
    return n == static_cast<ssize_t>(sizeof error) ? error : 0;
  }
};

ProcessLauncher& TheProcessLauncher() {
  static ProcessLauncher launcher;
  return launcher;
}

std::atomic<Launcher*> installedLauncher{nullptr};

}  // namespace

Launcher& CurrentLauncher() {
  Launcher* launcher = installedLauncher.load();
  return launcher ? *launcher : TheProcessLauncher();
}

void SetLauncher(Launcher* launcher) { installedLauncher.store(launcher); }

}  // namespace platform
