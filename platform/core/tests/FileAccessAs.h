#pragma once

#include <sys/syscall.h>
#include <unistd.h>

#include <functional>
#include <thread>

namespace platform {

// The user and group nobody.
inline constexpr uid_t kNobodyUid = 65534;
inline constexpr gid_t kNobodyGid = 65534;

// Runs body on a thread of its own whose file accesses are checked as those of the user uid and group
// gid (the file-system ids are per thread), so that a test run as root sees what another user may do
// with a file. Returns false without running it when the process may not switch them (not root).
inline bool RunWithFileAccessOf(uid_t uid, gid_t gid, const std::function<void()>& body) {
  if (::geteuid() != 0) return false;
  std::thread worker([&] {
    ::syscall(SYS_setfsgid, gid);
    ::syscall(SYS_setfsuid, uid);
    body();
  });
  worker.join();
  return true;
}

}  // namespace platform
