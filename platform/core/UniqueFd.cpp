#include "platform/core/UniqueFd.h"

#include <unistd.h>

#include <utility>

namespace platform {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    Close();
    descriptor_ = other.Release();
  }
  return *this;
}

bool UniqueFd::Close() {
  // close is not retried on EINTR: Linux releases the descriptor in every case.
  return descriptor_ < 0 || ::close(Release()) == 0;
}

int UniqueFd::Release() { return std::exchange(descriptor_, -1); }

}  // namespace platform
