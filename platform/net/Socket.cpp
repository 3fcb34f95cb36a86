#include "platform/net/Socket.h"

#include <unistd.h>

namespace platform {

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    Close();
    descriptor_ = other.Release();
  }
  return *this;
}

void Socket::Close() {
  if (descriptor_ >= 0) ::close(Release());
}

int Socket::Release() {
  int descriptor = descriptor_;
  descriptor_ = -1;
  return descriptor;
}

}  // namespace platform
