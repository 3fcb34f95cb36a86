#pragma once

#include <cerrno>

namespace platform {

// Calls `call` (a system call that reports failure as -1 with errno) again for as long as a signal
// interrupts it, and returns its first result that is not such an interruption.
template <typename Call>
auto RetryOnEintr(Call&& call) {
  for (;;) {
    auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}

}  // namespace platform
