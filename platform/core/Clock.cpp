#include "platform/core/Clock.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <mutex>
#include <vector>

#include "platform/core/Eintr.h"

namespace platform {

namespace {

int64_t ReadClockMs(clockid_t id) {
  timespec ts{};
  clock_gettime(id, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
}

UniqueFd NewEventFd() { return UniqueFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)); }

void SignalEventFd(const UniqueFd& fd) {
  uint64_t one = 1;
  RetryOnEintr([&] { return ::write(fd.Descriptor(), &one, sizeof one); });
}

// Consumes the eventfd's count; true when it had one.
bool DrainEventFd(int fd) {
  uint64_t count = 0;
  return ::read(fd, &count, sizeof count) == sizeof count;
}

}  // namespace

// One thread as the clock sees it. Created at the thread's first wait, unlinked when the thread ends.
struct ClockThread {
  ClockThread();
  ~ClockThread();
  UniqueFd wakeFd;          // signalled when the thread is to run on (time reached, lock handed over)
  bool joined = false;      // takes part in the virtual clock
  bool waiting = false;     // counts as waiting for the virtual clock's rule
  int64_t deadline = kNoDeadline;
  bool holdsIo = false;     // waits on descriptors that hold virtual time
  pid_t tid = 0;             // the kernel's id of the thread, for its state in /proc
  bool hasCpuClock = false;  // cpuClock measures this thread's processor time
  clockid_t cpuClock{};
  int64_t cpuSampleNs = -1;  // processor time at the last stall check; -1 when not sampled since it ran on
};

namespace {

struct VirtualClock {
  std::mutex mutex;
  std::atomic<bool> enabled{false};
  int64_t monotonicMs = 0;
  int64_t unixMs = 0;
  std::vector<ClockThread*> participants;
  int64_t allWaitingSinceRealMs = -1;  // when the I/O grace began; -1 while not every participant waits
  int64_t lastChangeRealMs = 0;        // when a participant last began or ended a wait
  int starting = 0;                    // threads started by StartThread that have not joined yet
  int ioGraceMs = 100;
  int64_t stallMs = 500;
  VirtualClockMode mode = VirtualClockMode::Strict;
  std::atomic<int64_t> computingChecks{0};  // read without the lock by a thread that computes
};

// A participant that neither begins nor ends a wait for the stall time while others wait, has used no
// processor time in that span and sleeps, is taken to be blocked elsewhere (a join, a foreign lock): the
// strict clock ends the process, the lenient one lets it leave until its next wait. One that used the
// processor is computing, and one in a disk wait (a file flushed to disk) is working, however slowly a
// loaded machine lets it: both keep time still.
constexpr int64_t kComputingNs = 1'000'000;

// Never destroyed: threads may end (and unlink themselves) after static destruction has begun.
VirtualClock& Virtual() {
  static VirtualClock* clock = new VirtualClock;
  return *clock;
}

ClockThread& Self() {
  thread_local ClockThread self;
  return self;
}

// The clock's lock is held by the caller of every function below.

void Changed(VirtualClock& v) {
  v.allWaitingSinceRealMs = -1;
  v.lastChangeRealMs = ReadClockMs(CLOCK_MONOTONIC);
}

void MarkRunning(VirtualClock& v, ClockThread& t) {
  if (t.waiting) {
    t.waiting = false;
    Changed(v);
  }
  SignalEventFd(t.wakeFd);
}

void Join(VirtualClock& v, ClockThread& t) {
  if (t.joined) return;
  t.joined = true;
  v.participants.push_back(&t);
  Changed(v);
}

// True when the running thread t used the processor since the last check (or was not checked since it
// ran on); takes a new sample.
bool UsedProcessor(ClockThread& t) {
  timespec ts{};
  if (!t.hasCpuClock || clock_gettime(t.cpuClock, &ts) != 0) return false;
  int64_t ns = static_cast<int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
  bool used = t.cpuSampleNs < 0 || ns - t.cpuSampleNs >= kComputingNs;
  t.cpuSampleNs = ns;
  return used;
}

// True when the kernel has the thread running or in a disk wait, not sleeping on something.
bool Working(const ClockThread& t) {
  std::ifstream stat("/proc/self/task/" + std::to_string(t.tid) + "/stat");
  std::string text;
  std::getline(stat, text);
  size_t end = text.rfind(')');
  if (end == std::string::npos || end + 2 >= text.size()) return false;
  char state = text[end + 2];
  return state == 'R' || state == 'D';
}

// Lets the participants that have neither waited nor computed for kStallMs leave; returns the real ms
// until the next check, or -1 when every participant waits.
int LetStalledLeave(VirtualClock& v) {
  bool running = std::any_of(v.participants.begin(), v.participants.end(), [](const ClockThread* t) { return !t->waiting; });
  if (!running) return -1;
  int64_t realNow = ReadClockMs(CLOCK_MONOTONIC);
  int64_t rest = v.lastChangeRealMs + v.stallMs - realNow;
  if (rest > 0) return static_cast<int>(rest);
  bool computing = false;
  for (ClockThread* t : v.participants) {
    if (!t->waiting && (UsedProcessor(*t) || Working(*t))) computing = true;
  }
  if (computing) {
    ++v.computingChecks;
    v.lastChangeRealMs = realNow;
    return static_cast<int>(v.stallMs);
  }
  if (v.mode == VirtualClockMode::Strict) {
    for (const ClockThread* t : v.participants) {
      if (t->waiting) continue;
      std::fprintf(stderr,
                   "virtual clock: thread %d blocked off the clock for %lld ms of real time while the others wait "
                   "(wrap the block in OffClock or use RecursiveClockMutex)\n",
                   static_cast<int>(t->tid), static_cast<long long>(v.stallMs));
    }
    std::abort();
  }
  std::erase_if(v.participants, [](ClockThread* t) {
    if (t->waiting) return false;
    t->joined = false;
    return true;
  });
  Changed(v);
  return -1;
}

void MoveTimeTo(VirtualClock& v, int64_t monotonicMs) {
  if (monotonicMs > v.monotonicMs) {
    v.unixMs += monotonicMs - v.monotonicMs;
    v.monotonicMs = monotonicMs;
  }
  for (ClockThread* t : v.participants)
    if (t->waiting && t->deadline <= v.monotonicMs) MarkRunning(v, *t);
}

// Applies the rule: when every participant waits, time jumps to the earliest deadline. Returns the real
// time in ms after which the caller should try again (the rest of the I/O grace), or -1.
int TryAdvance(VirtualClock& v) {
  if (v.starting > 0) return -1;  // a new thread runs; its start signals the waiters
  if (int rest = LetStalledLeave(v); rest >= 0) return rest;
  if (v.participants.empty()) return -1;
  int64_t earliest = kNoDeadline;
  bool holdsIo = false;
  for (const ClockThread* t : v.participants) {
    earliest = std::min(earliest, t->deadline);
    holdsIo = holdsIo || t->holdsIo;
  }
  if (earliest == kNoDeadline) return -1;
  if (holdsIo) {
    int64_t realNow = ReadClockMs(CLOCK_MONOTONIC);
    if (v.allWaitingSinceRealMs < 0) v.allWaitingSinceRealMs = realNow;
    int64_t rest = v.allWaitingSinceRealMs + v.ioGraceMs - realNow;
    if (rest > 0) return static_cast<int>(rest);
  }
  MoveTimeTo(v, earliest);
  return -1;
}

void SetWaiting(VirtualClock& v, ClockThread& t, int64_t deadline, bool holdsIo) {
  t.waiting = true;
  t.cpuSampleNs = -1;
  t.deadline = deadline;
  t.holdsIo = holdsIo;
  Changed(v);
}

void StopWaiting(VirtualClock& v, ClockThread& t) {
  if (t.waiting) {
    t.waiting = false;
    Changed(v);
  }
}

short ToPollEvents(unsigned events) {
  short result = 0;
  if (events & kWaitReadable) result |= POLLIN;
  if (events & kWaitWritable) result |= POLLOUT;
  return result;
}

unsigned FromPollEvents(short revents) {
  unsigned result = 0;
  if (revents & (POLLIN | POLLPRI)) result |= kWaitReadable;
  if (revents & POLLOUT) result |= kWaitWritable;
  if (revents & POLLHUP) result |= kWaitHangUp;
  if (revents & (POLLERR | POLLNVAL)) result |= kWaitError;
  return result;
}

// Polls [first..., fds...]; copies the descriptors' readiness into fds and returns true when one is ready.
bool PollAll(std::vector<pollfd>& set, size_t first, std::span<WaitFd> fds, int timeoutMs) {
  int n = ::poll(set.data(), set.size(), timeoutMs);
  if (n <= 0) return false;
  bool ready = false;
  for (size_t i = 0; i < fds.size(); ++i) {
    fds[i].revents = FromPollEvents(set[first + i].revents);
    ready = ready || fds[i].revents != 0;
  }
  return ready;
}

std::vector<pollfd> PollSet(std::initializer_list<int> firstFds, std::span<WaitFd> fds) {
  std::vector<pollfd> set;
  set.reserve(firstFds.size() + fds.size());
  for (int fd : firstFds) set.push_back({fd, POLLIN, 0});
  for (WaitFd& w : fds) {
    w.revents = 0;
    set.push_back({w.fd, ToPollEvents(w.events), 0});
  }
  return set;
}

}  // namespace

// Gives the functions below access to the private state of the clock's classes.
struct ClockAccess {
  static WaitResult RealWait(int64_t deadlineMs, ClockWakeup* wakeup, std::span<WaitFd> fds);
  static WaitResult VirtualWait(int64_t deadlineMs, ClockWakeup* wakeup, std::span<WaitFd> fds);
  static int WakeupFd(ClockWakeup* wakeup) { return wakeup ? wakeup->fd_.Descriptor() : -1; }
};

ClockThread::ClockThread() : wakeFd(NewEventFd()) {
  tid = static_cast<pid_t>(::syscall(SYS_gettid));
  hasCpuClock = pthread_getcpuclockid(pthread_self(), &cpuClock) == 0;
}

ClockThread::~ClockThread() {
  VirtualClock& v = Virtual();
  {
    std::lock_guard lock(v.mutex);
    if (joined) {
      std::erase(v.participants, this);
      Changed(v);
      TryAdvance(v);  // the threads left may all be waiting now
    }
  }
}

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
  while (MonotonicMs() < deadlineMs) WaitOnClock(deadlineMs, nullptr, {});
}

WaitResult WaitOnClock(int64_t deadlineMs, ClockWakeup* wakeup, std::span<WaitFd> fds) {
  if (Virtual().enabled) return ClockAccess::VirtualWait(deadlineMs, wakeup, fds);
  return ClockAccess::RealWait(deadlineMs, wakeup, fds);
}

bool PollReady(std::span<WaitFd> fds) {
  std::vector<pollfd> set = PollSet({}, fds);
  return PollAll(set, 0, fds, 0);
}

WaitResult ClockAccess::RealWait(int64_t deadlineMs, ClockWakeup* wakeup, std::span<WaitFd> fds) {
  int wakeFd = WakeupFd(wakeup);
  std::vector<pollfd> set = PollSet({wakeFd}, fds);
  for (;;) {
    if (wakeFd >= 0 && DrainEventFd(wakeFd)) return WaitResult::Woken;
    int64_t now = ReadClockMs(CLOCK_MONOTONIC);
    if (now >= deadlineMs) return WaitResult::TimedOut;
    int64_t rest = deadlineMs == kNoDeadline ? -1 : std::min<int64_t>(deadlineMs - now, 1'000'000);
    if (PollAll(set, 1, fds, static_cast<int>(rest))) return WaitResult::Ready;
    if (!Virtual().enabled) continue;
    return WaitResult::Woken;  // switched to the virtual clock meanwhile
  }
}

WaitResult ClockAccess::VirtualWait(int64_t deadlineMs, ClockWakeup* wakeup, std::span<WaitFd> fds) {
  VirtualClock& v = Virtual();
  ClockThread& self = Self();
  int wakeupFd = WakeupFd(wakeup);
  std::vector<pollfd> set = PollSet({self.wakeFd.Descriptor(), wakeupFd}, fds);
  bool holdsIo = std::any_of(fds.begin(), fds.end(), [](const WaitFd& w) { return w.hold == VirtualTimeHold::Hold; });

  bool readyNow = !fds.empty() && PollAll(set, 2, fds, 0);
  // From here to SetWaiting and waiter_ under one hold of the lock, so no Wake can fall in between.
  std::unique_lock lock(v.mutex);
  Join(v, self);
  if (readyNow) return WaitResult::Ready;
  if (wakeupFd >= 0 && DrainEventFd(wakeupFd)) return WaitResult::Woken;
  if (v.monotonicMs >= deadlineMs) return WaitResult::TimedOut;
  SetWaiting(v, self, deadlineMs, holdsIo);
  if (wakeup) wakeup->waiter_ = &self;
  bool ready = false;
  for (;;) {
    int retryMs = TryAdvance(v);
    if (!self.waiting || !self.joined || !v.enabled) break;
    if (holdsIo && retryMs < 0) retryMs = v.ioGraceMs;  // a waiter on I/O re-applies the rule now and then
    lock.unlock();
    ready = PollAll(set, 2, fds, retryMs);
    lock.lock();
    DrainEventFd(self.wakeFd.Descriptor());
    if (ready || (set[1].revents & POLLIN)) break;
  }
  StopWaiting(v, self);
  if (wakeup) wakeup->waiter_ = nullptr;
  if (ready) return WaitResult::Ready;
  if (wakeupFd >= 0 && DrainEventFd(wakeupFd)) return WaitResult::Woken;
  if (v.enabled && v.monotonicMs >= deadlineMs) return WaitResult::TimedOut;
  return WaitResult::Woken;
}

ClockWakeup::ClockWakeup() : fd_(NewEventFd()) {}

ClockWakeup::~ClockWakeup() = default;

void ClockWakeup::Wake() {
  VirtualClock& v = Virtual();
  std::lock_guard lock(v.mutex);
  SignalEventFd(fd_);
  if (waiter_) MarkRunning(v, *waiter_);
}

void UseVirtualClock(int64_t startUnixMs, int64_t startMonotonicMs, VirtualClockMode mode) {
  VirtualClock& v = Virtual();
  std::lock_guard lock(v.mutex);
  v.mode = mode;
  for (ClockThread* t : v.participants) {
    t->joined = false;
    MarkRunning(v, *t);
  }
  v.participants.clear();
  Changed(v);
  v.unixMs = startUnixMs;
  v.monotonicMs = startMonotonicMs;
  v.enabled = true;
}

void UseRealClock() {
  VirtualClock& v = Virtual();
  std::lock_guard lock(v.mutex);
  v.enabled = false;
  for (ClockThread* t : v.participants) {
    t->joined = false;
    MarkRunning(v, *t);
  }
  v.participants.clear();
}

bool IsVirtualClock() { return Virtual().enabled; }

void AdvanceVirtualClock(int64_t ms) {
  VirtualClock& v = Virtual();
  std::lock_guard lock(v.mutex);
  if (!v.enabled || ms <= 0) return;
  MoveTimeTo(v, v.monotonicMs + ms);
}

void SetVirtualClockIoGraceMs(int ms) {
  VirtualClock& v = Virtual();
  std::lock_guard lock(v.mutex);
  v.ioGraceMs = std::max(ms, 0);
}

void SetVirtualClockStallMs(int ms) {
  VirtualClock& v = Virtual();
  std::lock_guard lock(v.mutex);
  v.stallMs = std::max(ms, 1);
}

int64_t VirtualClockComputingChecks() { return Virtual().computingChecks.load(); }

OffClock::OffClock() {
  VirtualClock& v = Virtual();
  ClockThread& self = Self();
  std::lock_guard lock(v.mutex);
  if (!v.enabled || !self.joined) return;
  SetWaiting(v, self, kNoDeadline, false);
  active_ = true;
  TryAdvance(v);
}

OffClock::~OffClock() {
  if (!active_) return;
  VirtualClock& v = Virtual();
  std::lock_guard lock(v.mutex);
  StopWaiting(v, Self());
}

std::thread StartThread(std::function<void()> body) {
  VirtualClock& v = Virtual();
  bool counted;
  {
    std::lock_guard lock(v.mutex);
    counted = v.enabled;
    if (counted) ++v.starting;
  }
  auto start = [counted, body = std::move(body)] {
    if (counted) {
      VirtualClock& clock = Virtual();
      std::lock_guard lock(clock.mutex);
      --clock.starting;
      if (clock.enabled) Join(clock, Self());
      for (ClockThread* t : clock.participants) SignalEventFd(t->wakeFd);  // they re-apply the rule
    }
    body();
  };
  try {
    return std::thread(std::move(start));
  } catch (...) {
    std::lock_guard lock(v.mutex);
    if (counted) --v.starting;
    throw;
  }
}

void RecursiveClockMutex::lock() {
  VirtualClock& v = Virtual();
  ClockThread& self = Self();
  std::unique_lock lock(v.mutex);
  if (owner_ == &self || owner_ == nullptr) {
    owner_ = &self;
    ++depth_;
    return;
  }
  waiters_.push_back(&self);
  bool counts = v.enabled && self.joined;
  if (counts) {
    SetWaiting(v, self, kNoDeadline, false);
    TryAdvance(v);
  }
  while (owner_ != &self) {
    lock.unlock();
    pollfd p{self.wakeFd.Descriptor(), POLLIN, 0};
    ::poll(&p, 1, -1);
    lock.lock();
    DrainEventFd(self.wakeFd.Descriptor());
  }
  StopWaiting(v, self);
}

bool RecursiveClockMutex::try_lock() {
  VirtualClock& v = Virtual();
  ClockThread& self = Self();
  std::lock_guard lock(v.mutex);
  if (owner_ != &self && owner_ != nullptr) return false;
  owner_ = &self;
  ++depth_;
  return true;
}

void RecursiveClockMutex::unlock() {
  VirtualClock& v = Virtual();
  std::lock_guard lock(v.mutex);
  if (--depth_ > 0) return;
  owner_ = nullptr;
  if (waiters_.empty()) return;
  owner_ = waiters_.front();
  waiters_.pop_front();
  depth_ = 1;
  MarkRunning(v, *owner_);
}

}  // namespace platform
