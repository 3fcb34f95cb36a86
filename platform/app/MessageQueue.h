#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/app/Messages.h"

namespace platform {

class MessageQueue;

// Keeps a descriptor registered with a thread's queue; unregisters it when destroyed. Move-only.
class WaitRegistration {
public:
  WaitRegistration() = default;
  WaitRegistration(std::weak_ptr<MessageQueue> queue, int id) : queue_(std::move(queue)), id_(id) {}
  WaitRegistration(WaitRegistration&& other) noexcept;
  WaitRegistration& operator=(WaitRegistration&& other) noexcept;
  ~WaitRegistration();

  void Reset();
  // True from the registration until Reset.
  bool Active() const { return id_ != 0; }

private:
  std::weak_ptr<MessageQueue> queue_;
  int id_ = 0;
};

// The message queue of one GUI thread: posted messages in order, sent messages from other threads,
// window timers, and descriptors that other layers register (sockets, the window station). Created at
// the thread's first use of it; closed when the thread ends, after which posting to it fails.
//
// Posting, sending, timers and registrations work from any thread; taking messages (Peek, Wait,
// DispatchReadyHandles) is for the owning thread. Waits go through the platform clock, so on the
// virtual clock a thread with nothing to do lets time jump to its next timer.
class MessageQueue : public std::enable_shared_from_this<MessageQueue> {
public:
  // The calling thread's queue.
  static MessageQueue& Current();
  // The queue of a thread by its id; null when that thread has none or has ended.
  static std::shared_ptr<MessageQueue> ForThread(DWORD threadId);

  MessageQueue();
  ~MessageQueue();
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  DWORD ThreadId() const { return threadId_; }

  // Appends a message; never blocks. False when the queue is closed or holds kMaxPosted messages.
  bool Post(const MSG& msg);

  // Calls `handler` on the owning thread (the next time it takes messages) and waits for it, serving
  // messages sent to the calling thread meanwhile. False when the queue is closed before it ran.
  bool Send(std::function<void()> handler);

  // Window timers by window and id: SetTimer (re)arms the timer to fire elapseMs from now and then every
  // elapseMs; KillTimer returns false when there was no such timer.
  void SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs);
  bool KillTimer(HWND hwnd, UINT_PTR id);
  void KillTimers(HWND hwnd);

  // Registers a descriptor: whenever the thread takes messages and the descriptor is ready for `events`
  // (kWaitReadable, kWaitWritable), the callback runs on the owning thread with the readiness it found.
  // The callback must consume what made the descriptor ready, or it is called again at once.
  WaitRegistration RegisterWaitHandle(int fd, unsigned events, std::function<void(unsigned revents)> callback,
                                      VirtualTimeHold hold = VirtualTimeHold::Hold);

  // Owning thread. Serves messages sent by other threads, then takes the next posted message or, when
  // none is posted, a WM_TIMER of the earliest due timer (which re-arms it). False when there is none.
  bool Peek(MSG& msg);
  // Owning thread. Runs the callbacks of the registered descriptors that are ready now; true when one ran.
  bool DispatchReadyHandles();
  // Owning thread. Waits on the clock until a message is posted or sent, a timer is due, a registered
  // descriptor is ready, or the clock reaches deadlineMs. Runs nothing.
  void Wait(int64_t deadlineMs = kNoDeadline);

  // Marks the queue closed: later posts fail, waiting senders are released.
  void Close();

  static constexpr size_t kMaxPosted = 10000;

private:
  friend class WaitRegistration;
  struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT elapseMs;
    int64_t dueMs;
    uint64_t order;  // arming order, to keep timers that are due together in a stable order
  };
  struct Handle {
    int id;
    int fd;
    unsigned events;
    VirtualTimeHold hold;
    std::shared_ptr<std::function<void(unsigned)>> callback;
  };
  struct SentCall {
    std::function<void()> handler;
    bool done = false;  // done and ran are guarded by the receiving queue's mutex
    bool ran = false;
    MessageQueue* sender;
  };

  void Unregister(int id);
  bool ServeSent();
  bool HasWork();  // under mutex_: something to take without waiting

  const DWORD threadId_;
  ClockWakeup wakeup_;
  std::mutex mutex_;
  bool closed_ = false;
  std::deque<MSG> posted_;
  std::deque<std::shared_ptr<SentCall>> sent_;
  std::vector<Timer> timers_;
  uint64_t timerOrder_ = 0;
  std::vector<Handle> handles_;
  int nextHandleId_ = 1;
};

// The calling thread's id (as the thread functions below and PostThreadMessage use it).
DWORD GetCurrentThreadId();

// Posts a message with no window to a thread's queue; false when the thread has no queue.
bool PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);

// Posts WM_QUIT to the calling thread's queue.
void PostQuitMessage(int exitCode);

}  // namespace platform
