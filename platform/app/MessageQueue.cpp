#include "platform/app/MessageQueue.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <utility>

namespace platform {

namespace {

struct QueueDirectory {
  std::mutex mutex;
  std::map<DWORD, std::weak_ptr<MessageQueue>> queues;
};

// Never destroyed: queues close at thread exit, possibly during static destruction.
QueueDirectory& Directory() {
  static QueueDirectory* directory = new QueueDirectory;
  return *directory;
}

// Owns the calling thread's queue and closes it when the thread ends.
struct ThreadQueue {
  std::shared_ptr<MessageQueue> queue = std::make_shared<MessageQueue>();
  ThreadQueue() {
    QueueDirectory& d = Directory();
    std::lock_guard lock(d.mutex);
    d.queues[queue->ThreadId()] = queue;
  }
  ~ThreadQueue() {
    queue->Close();
    QueueDirectory& d = Directory();
    std::lock_guard lock(d.mutex);
    d.queues.erase(queue->ThreadId());
  }
};

}  // namespace

WaitRegistration::WaitRegistration(WaitRegistration&& other) noexcept
    : queue_(std::move(other.queue_)), id_(std::exchange(other.id_, 0)) {}

WaitRegistration& WaitRegistration::operator=(WaitRegistration&& other) noexcept {
  if (this != &other) {
    Reset();
    queue_ = std::move(other.queue_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

WaitRegistration::~WaitRegistration() { Reset(); }

void WaitRegistration::Reset() {
  if (id_ == 0) return;
  if (auto queue = queue_.lock()) queue->Unregister(id_);
  id_ = 0;
  queue_.reset();
}

MessageQueue& MessageQueue::Current() {
  thread_local ThreadQueue self;
  return *self.queue;
}

std::shared_ptr<MessageQueue> MessageQueue::ForThread(DWORD threadId) {
  QueueDirectory& d = Directory();
  std::lock_guard lock(d.mutex);
  auto it = d.queues.find(threadId);
  return it == d.queues.end() ? nullptr : it->second.lock();
}

MessageQueue::MessageQueue() : threadId_(static_cast<DWORD>(::gettid())) {}

MessageQueue::~MessageQueue() = default;

bool MessageQueue::Post(const MSG& msg) {
  {
    std::lock_guard lock(mutex_);
    if (closed_ || posted_.size() >= kMaxPosted) return false;
    posted_.push_back(msg);
  }
  wakeup_.Wake();
  return true;
}

bool MessageQueue::Send(std::function<void()> handler) {
  MessageQueue& sender = Current();
  auto call = std::make_shared<SentCall>();
  call->handler = std::move(handler);
  call->sender = &sender;
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    sent_.push_back(call);
  }
  wakeup_.Wake();
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (call->done) return call->ran;
    }
    if (!sender.ServeSent()) WaitOnClock(kNoDeadline, &sender.wakeup_, {});
  }
}

// Runs the calls other threads sent to this queue; each sender is released also when its handler throws.
bool MessageQueue::ServeSent() {
  bool served = false;
  for (;;) {
    std::shared_ptr<SentCall> call;
    {
      std::lock_guard lock(mutex_);
      if (sent_.empty()) return served;
      call = sent_.front();
      sent_.pop_front();
    }
    served = true;
    struct Release {
      MessageQueue& queue;
      SentCall& call;
      ~Release() {
        {
          std::lock_guard lock(queue.mutex_);
          call.done = true;
          call.ran = true;
        }
        call.sender->wakeup_.Wake();
      }
    } release{*this, *call};
    call->handler();
  }
}

void MessageQueue::SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) {
  int64_t due = MonotonicMs() + elapseMs;
  {
    std::lock_guard lock(mutex_);
    auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers_.end()) {
      timers_.push_back({hwnd, id, elapseMs, due, timerOrder_++});
    } else {
      it->elapseMs = elapseMs;
      it->dueMs = due;
      it->order = timerOrder_++;
    }
  }
  wakeup_.Wake();
}

bool MessageQueue::KillTimer(HWND hwnd, UINT_PTR id) {
  std::lock_guard lock(mutex_);
  return std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; }) > 0;
}

void MessageQueue::KillTimers(HWND hwnd) {
  std::lock_guard lock(mutex_);
  std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd; });
}

WaitRegistration MessageQueue::RegisterWaitHandle(int fd, unsigned events, std::function<void(unsigned)> callback,
                                                  VirtualTimeHold hold) {
  int id;
  {
    std::lock_guard lock(mutex_);
    id = nextHandleId_++;
    handles_.push_back({id, fd, events, hold, std::make_shared<std::function<void(unsigned)>>(std::move(callback))});
  }
  wakeup_.Wake();
  return WaitRegistration(weak_from_this(), id);
}

void MessageQueue::Unregister(int id) {
  std::lock_guard lock(mutex_);
  std::erase_if(handles_, [id](const Handle& h) { return h.id == id; });
}

bool MessageQueue::Peek(MSG& msg) {
  ServeSent();
  std::lock_guard lock(mutex_);
  if (!posted_.empty()) {
    msg = posted_.front();
    posted_.pop_front();
    return true;
  }
  int64_t now = MonotonicMs();
  Timer* due = nullptr;
  for (Timer& t : timers_)
    if (t.dueMs <= now && (!due || t.dueMs < due->dueMs || (t.dueMs == due->dueMs && t.order < due->order))) due = &t;
  if (!due) return false;
  msg = MSG{due->hwnd, WM_TIMER, due->id, 0, static_cast<DWORD>(now)};
  due->dueMs = now + due->elapseMs;
  due->order = timerOrder_++;
  return true;
}

bool MessageQueue::DispatchReadyHandles() {
  std::vector<Handle> handles;
  {
    std::lock_guard lock(mutex_);
    if (handles_.empty()) return false;
    handles = handles_;
  }
  std::vector<WaitFd> fds;
  for (const Handle& h : handles) fds.push_back({h.fd, h.events, h.hold, 0});
  if (!PollReady(fds)) return false;
  bool ran = false;
  for (size_t i = 0; i < handles.size(); ++i) {
    if (fds[i].revents == 0) continue;
    {
      std::lock_guard lock(mutex_);  // an earlier callback may have unregistered it
      if (std::none_of(handles_.begin(), handles_.end(), [&](const Handle& h) { return h.id == handles[i].id; })) continue;
    }
    ran = true;
    if (fds[i].revents & kWaitError && ::fcntl(handles[i].fd, F_GETFD) < 0) {
      Unregister(handles[i].id);  // closed while registered: it can never become ready again
      continue;
    }
    (*handles[i].callback)(fds[i].revents);
  }
  return ran;
}

bool MessageQueue::HasWork() {
  if (!posted_.empty() || !sent_.empty()) return true;
  int64_t now = MonotonicMs();
  return std::any_of(timers_.begin(), timers_.end(), [now](const Timer& t) { return t.dueMs <= now; });
}

void MessageQueue::Wait(int64_t deadlineMs) {
  std::vector<WaitFd> fds;
  int64_t until = deadlineMs;
  {
    std::lock_guard lock(mutex_);
    if (HasWork()) return;
    for (const Timer& t : timers_) until = std::min(until, t.dueMs);
    for (const Handle& h : handles_) fds.push_back({h.fd, h.events, h.hold, 0});
  }
  WaitOnClock(until, &wakeup_, fds);
}

void MessageQueue::Close() {
  std::deque<std::shared_ptr<SentCall>> pending;
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    posted_.clear();
    timers_.clear();
    handles_.clear();
    pending.swap(sent_);
  }
  for (auto& call : pending) {
    {
      std::lock_guard lock(mutex_);
      call->done = true;
    }
    call->sender->wakeup_.Wake();
  }
}

DWORD GetCurrentThreadId() { return static_cast<DWORD>(::gettid()); }

bool PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto queue = MessageQueue::ForThread(threadId);
  return queue && queue->Post(MSG{HWND{}, msg, wParam, lParam, GetTickCount()});
}

void PostQuitMessage(int exitCode) {
  MessageQueue::Current().Post(MSG{HWND{}, WM_QUIT, static_cast<WPARAM>(exitCode), 0, GetTickCount()});
}

}  // namespace platform
