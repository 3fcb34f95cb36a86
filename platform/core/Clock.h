#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <thread>

#include "platform/core/UniqueFd.h"

namespace platform {

// The one clock of the system. Every wait and every reading of time goes through it, so tests can switch
// the process to a virtual clock on which sleeping advances time at once and no test waits for real.
//
// Real clock: MonotonicMs is CLOCK_MONOTONIC, UnixTimeMs is CLOCK_REALTIME.
// Virtual clock: both start at the values given to UseVirtualClock and advance only when threads wait on
// the clock, or when a test calls AdvanceVirtualClock. All functions are thread-safe.
//
// The virtual clock's rule for several threads. A thread takes part in the virtual clock from its first
// wait on it (Sleep, SleepUntil, WaitOnClock), or from its start when StartThread started it, until it
// ends or the clock is switched. Time stands still while any taking part thread runs. Once every one of them
// waits, time jumps to the earliest deadline among their waits, and exactly the threads whose deadline
// it reached run on. So deadlines are met in time order across threads, a thread's sleep never carries
// time past another thread's earlier deadline, and a thread that computes (or handles a message) holds
// time until it waits again. A wakeup (ClockWakeup::Wake, a RecursiveClockMutex handed over) makes its
// thread run in the same step, so time cannot jump between a post and its handling.
//
// A thread that blocks on anything else while it takes part (a std::mutex held by a waiting thread, a
// thread join, a pipe) holds time too: wrap such a block in OffClock (or use RecursiveClockMutex), which
// lets time go on at once and in a repeatable order. A taking part thread that neither begins nor ends a
// wait for the stall time (half a second of real time) while others wait, and in that span used no
// processor time and sleeps (is not in a disk wait), is taken to be blocked off the clock. The strict
// clock (the default) then ends the process with a message that names the thread, so that the missing
// OffClock shows at once; the lenient clock lets the thread leave until its next wait, as a safety net.
//
// Descriptors that hold virtual time (WaitFd::hold == Hold, such as a socket awaiting a peer's reply)
// delay a jump by the I/O grace (SetVirtualClockIoGraceMs, 100 ms of real time by default): time jumps
// only after every thread has waited that long with none of those descriptors ready. Background
// descriptors (the window station, a display connection) never delay a jump.

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
// Threads that took part in an earlier virtual clock take part again from their next wait.
enum class VirtualClockMode { Strict, Lenient };
void UseVirtualClock(int64_t startUnixMs, int64_t startMonotonicMs = 0,
                     VirtualClockMode mode = VirtualClockMode::Strict);
void UseRealClock();
bool IsVirtualClock();

// Moves virtual time forward by ms (no effect on the real clock); waits whose deadline it reaches end.
void AdvanceVirtualClock(int64_t ms);

// Real time that waits on descriptors which hold virtual time are given before virtual time jumps.
void SetVirtualClockIoGraceMs(int ms);

// The stall time (500 ms by default), and how often the clock has looked for stalled threads and found
// a running one computing: tests of the stall rule use a short stall time and wait for these checks.
void SetVirtualClockStallMs(int ms);
int64_t VirtualClockComputingChecks();

// The deadline of a wait that has none.
constexpr int64_t kNoDeadline = INT64_MAX;

// Readiness of a descriptor, as requested in WaitFd::events and reported in WaitFd::revents.
constexpr unsigned kWaitReadable = 1;
constexpr unsigned kWaitWritable = 2;
constexpr unsigned kWaitHangUp = 4;  // reported only
constexpr unsigned kWaitError = 8;   // reported only

// Whether a descriptor holds virtual time while a thread waits on it (see the I/O grace above).
enum class VirtualTimeHold { Hold, Background };

struct WaitFd {
  int fd = -1;
  unsigned events = kWaitReadable;
  VirtualTimeHold hold = VirtualTimeHold::Hold;
  unsigned revents = 0;  // set by WaitOnClock
};

struct ClockThread;

// Ends another thread's WaitOnClock early. The waiting side owns it (a message queue); Wake is thread-safe,
// never blocks, and is remembered until the next wait that uses this wakeup when nobody waits yet.
class ClockWakeup {
public:
  ClockWakeup();
  ~ClockWakeup();
  ClockWakeup(const ClockWakeup&) = delete;
  ClockWakeup& operator=(const ClockWakeup&) = delete;

  void Wake();

private:
  friend struct ClockAccess;
  UniqueFd fd_;
  ClockThread* waiter_ = nullptr;  // guarded by the clock's lock
};

enum class WaitResult { Woken, Ready, TimedOut };

// Blocks the calling thread until `wakeup` (may be null) is woken, one of `fds` is ready (their revents
// set), or the clock reaches deadlineMs. Returns Ready when a descriptor is ready, else Woken when the
// wakeup was woken (also when the clock was switched meanwhile), else TimedOut.
WaitResult WaitOnClock(int64_t deadlineMs, ClockWakeup* wakeup, std::span<WaitFd> fds);

// Sets the descriptors' revents without waiting (not a wait on the clock); true when one is ready.
bool PollReady(std::span<WaitFd> fds);

// While alive, a taking part thread counts as waiting without a deadline, so the other threads' waits
// advance virtual time while it blocks on something they will release (a lock, a thread join).
class OffClock {
public:
  OffClock();
  ~OffClock();
  OffClock(const OffClock&) = delete;
  OffClock& operator=(const OffClock&) = delete;

private:
  bool active_ = false;
};

// Starts a thread that takes part in the virtual clock from its first instruction: time stands still
// from this call until the new thread first waits. (A thread started otherwise takes part only from its
// first wait, so time may run on before it gets there.) The calling thread, too, takes part only from
// its own first wait: one that must keep step with the new thread (a main loop beside the service
// thread) waits on the clock once before, and a wait that ends at once will do.
std::thread StartThread(std::function<void()> body);

// A re-entrant lock that takes part in the virtual clock: a taking part thread blocked on it counts as
// waiting, and unlocking hands the lock to the longest waiting thread and lets it run in the same step. Use it for a
// lock that is held across waits on the clock (a check that sleeps while holding the service lock).
// Meets the Lockable requirements (std::lock_guard, std::unique_lock).
class RecursiveClockMutex {
public:
  RecursiveClockMutex() = default;
  RecursiveClockMutex(const RecursiveClockMutex&) = delete;
  RecursiveClockMutex& operator=(const RecursiveClockMutex&) = delete;

  void lock();
  bool try_lock();
  void unlock();

private:
  friend struct ClockAccess;
  ClockThread* owner_ = nullptr;  // guarded by the clock's lock, as are the others
  int depth_ = 0;
  std::deque<ClockThread*> waiters_;
};

}  // namespace platform
