#include "platform/core/Clock.h"

#include <atomic>
#include <ctime>
#include <mutex>
#include <thread>

namespace platform {

namespace {

struct VirtualClock {
  std::mutex mutex;
  std::atomic<bool> enabled{false};
  int64_t monotonicMs = 0;
  int64_t unixMs = 0;
};

VirtualClock& Virtual() {
  static VirtualClock clock;
  return clock;
}

int64_t ReadClockMs(clockid_t id) {
  timespec ts{};
  clock_gettime(id, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
}

}  // namespace

int64_t MonotonicMs() {
  VirtualClock& v = Virtual();
  if (v.enabled) {
    std::lock_guard lock(v.mutex);
    return v.monotonicMs;
  }
  return ReadClockMs(CLOCK_MONOTONIC);
}

uint32_t GetTickCount() { return static_cast<uint32_t>(MonotonicMs()); }

int64_t UnixTimeMs() {
  VirtualClock& v = Virtual();
  if (v.enabled) {
    std::lock_guard lock(v.mutex);
    return v.unixMs;
  }
  return ReadClockMs(CLOCK_REALTIME);
}

void Sleep(uint32_t ms) { SleepUntil(MonotonicMs() + ms); }

void SleepUntil(int64_t deadlineMs) {
  VirtualClock& v = Virtual();
  if (v.enabled) {
    std::lock_guard lock(v.mutex);
    if (deadlineMs > v.monotonicMs) {
      v.unixMs += deadlineMs - v.monotonicMs;
      v.monotonicMs = deadlineMs;
    }
    return;
  }
  int64_t remaining = deadlineMs - ReadClockMs(CLOCK_MONOTONIC);
  if (remaining > 0) std::this_thread::sleep_for(std::chrono::milliseconds(remaining));
}

void UseVirtualClock(int64_t startUnixMs, int64_t startMonotonicMs) {
  VirtualClock& v = Virtual();
  std::lock_guard lock(v.mutex);
  v.unixMs = startUnixMs;
  v.monotonicMs = startMonotonicMs;
  v.enabled = true;
}

void UseRealClock() { Virtual().enabled = false; }

bool IsVirtualClock() { return Virtual().enabled; }

void AdvanceVirtualClock(int64_t ms) {
  VirtualClock& v = Virtual();
  if (!v.enabled || ms <= 0) return;
  std::lock_guard lock(v.mutex);
  v.monotonicMs += ms;
  v.unixMs += ms;
}

}  // namespace platform
