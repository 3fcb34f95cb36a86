#pragma once

#include <cstdint>

namespace platform {

// The one clock of the system. Every wait and every reading of time goes through it, so tests can switch
// the process to a virtual clock on which sleeping advances time at once and no test waits for real.
//
// Real clock: MonotonicMs is CLOCK_MONOTONIC, UnixTimeMs is CLOCK_REALTIME.
// Virtual clock: both start at the values given to UseVirtualClock and advance only when a thread
// sleeps or waits on the clock, or when a test calls AdvanceVirtualClock. All functions are thread-safe.

// Milliseconds since an arbitrary origin; never goes backwards.
int64_t MonotonicMs();

// The system's tick count: the low 32 bits of MonotonicMs, wrapping after about 49.7 days.
uint32_t GetTickCount();

// Wall-clock time in milliseconds since 1970-01-01 00:00 UTC.
int64_t UnixTimeMs();

// Blocks the calling thread for ms milliseconds; on the virtual clock it advances time instead.
void Sleep(uint32_t ms);

// Blocks until MonotonicMs() >= deadlineMs; on the virtual clock it advances time to the deadline.
void SleepUntil(int64_t deadlineMs);

// Switches the process to the virtual clock, starting at the given wall-clock and monotonic readings.
void UseVirtualClock(int64_t startUnixMs, int64_t startMonotonicMs = 0);
void UseRealClock();
bool IsVirtualClock();

// Moves virtual time forward by ms (no effect on the real clock).
void AdvanceVirtualClock(int64_t ms);

}  // namespace platform
