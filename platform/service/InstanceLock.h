#pragma once

#include <string>

#include "platform/core/UniqueFd.h"

namespace platform {

// Holds an exclusive lock (flock) on a lock file for the life of the object, so that a second process
// asking for the same file is refused. The file is the opener's own (mode 0600): no other user may open
// it, so none can hold the lock to keep the owner out. The lock ends with the object or the process, also when the
// process is killed; the descriptor is close-on-exec, so programs we start never keep the lock.
class InstanceLock {
public:
  explicit InstanceLock(const std::string& path);
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  bool Held() const { return held_; }
  // True when another process holds the lock (as opposed to a lock file that could not be opened).
  bool HeldElsewhere() const { return heldElsewhere_; }
  // Why the lock is not held (the system's error text), empty when it is.
  const std::string& Error() const { return error_; }

private:
  UniqueFd fd_;
  bool held_ = false;
  bool heldElsewhere_ = false;
  std::string error_;
};

}  // namespace platform
