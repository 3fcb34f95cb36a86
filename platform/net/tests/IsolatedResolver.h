#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace platform::test {

// Runs body in a child process whose resolver knows only the hosts file given (no DNS, no network to
// ask) and returns what body returned, or a text that says why the child could not be set up. Needs root
// (a mount and a network namespace of the child's own); the machine's files are untouched.
inline std::string InIsolatedResolver(const std::string& hostsFile, const std::function<std::string()>& body) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    // Writes text to a new temporary file and binds it over target in the child's own mount namespace.
    auto bindOver = [](const char* target, const std::string& text) {
      char name[] = "/tmp/velmora-resolver-XXXXXX";
      const int file = ::mkstemp(name);
      const bool bound = file >= 0 && ::write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                         ::mount(name, target, nullptr, MS_BIND, nullptr) == 0;
      if (file >= 0) {
        ::close(file);
        ::unlink(name);
      }
      return bound;
    };
    const bool isolated = ::unshare(CLONE_NEWNS | CLONE_NEWNET) == 0 &&
                          ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                          bindOver("/etc/nsswitch.conf", "hosts: files\n") && bindOver("/etc/hosts", hostsFile);
    const std::string result = isolated ? body() : "cannot isolate the resolver";
    const ssize_t written = ::write(pipeEnds[1], result.data(), result.size());
    ::_exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
  }
  ::close(pipeEnds[1]);
  std::string result;
  char chunk[256];
  for (ssize_t n; (n = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;) result.append(chunk, static_cast<size_t>(n));
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return result;
}

}  // namespace platform::test
