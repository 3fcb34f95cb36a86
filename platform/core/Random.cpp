#include "platform/core/Random.h"

#include <sys/random.h>
#include <unistd.h>

#include <chrono>

namespace platform {

namespace {

// The finaliser of splitmix64: every input bit reaches every output bit.
uint64_t Mix(uint64_t value) {
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
  return value ^ (value >> 31);
}

}  // namespace

uint32_t UnpredictableNumber() {
  uint32_t number = 0;
  if (::getrandom(&number, sizeof number, GRND_NONBLOCK) == sizeof number) return number;
  const uint64_t nanoseconds = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  return static_cast<uint32_t>(Mix(nanoseconds ^ (static_cast<uint64_t>(::getpid()) << 32)));
}

}  // namespace platform
