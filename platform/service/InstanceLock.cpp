#include "platform/service/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/core/Eintr.h"

namespace platform {

namespace {

// Why the lock file cannot be opened: a missing one that may not be created names its folder.
std::string OpenError(const std::string& path, int error) {
  std::string text = std::strerror(error);
  struct stat st{};
  if (error == EACCES && ::lstat(path.c_str(), &st) != 0) {
    text += " (its folder " + path.substr(0, path.rfind('/') + 1) + " may not be written by this user)";
  }
  return text;
}

}  // namespace

InstanceLock::InstanceLock(const std::string& path) {
  // Whoever may open the file may lock it (flock needs no write access), and so keep the service from
  // starting: only its own user may open it. An older lock file open to others is closed to them.
  fd_ = UniqueFd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!fd_.IsValid()) {
    error_ = OpenError(path, errno);
    return;
  }
  ::fchmod(fd_.Descriptor(), 0600);
  if (RetryOnEintr([&] { return ::flock(fd_.Descriptor(), LOCK_EX | LOCK_NB); }) == 0) {
    held_ = true;
    return;
  }
  heldElsewhere_ = errno == EWOULDBLOCK;
  error_ = std::strerror(errno);
}

}  // namespace platform
