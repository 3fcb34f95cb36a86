#include "platform/service/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>

#include "platform/core/Eintr.h"

namespace platform {

InstanceLock::InstanceLock(const std::string& path) {
  fd_ = UniqueFd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  // A lock file made by another user (the service as root) still locks when we may only read it.
  if (!fd_.IsValid() && errno == EACCES) fd_ = UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd_.IsValid()) {
    error_ = std::strerror(errno);
    return;
  }
  if (RetryOnEintr([&] { return ::flock(fd_.Descriptor(), LOCK_EX | LOCK_NB); }) == 0) {
    held_ = true;
    return;
  }
  heldElsewhere_ = errno == EWOULDBLOCK;
  error_ = std::strerror(errno);
}

}  // namespace platform
