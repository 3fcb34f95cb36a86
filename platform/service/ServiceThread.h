#pragma once

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/core/Clock.h"
#include "platform/service/ControlSignals.h"

namespace platform {

class TService;

// The thread on which a service runs: it calls the start handler, then the execute handler (or, without
// one, serves requests until terminated), then serves what is still queued, and ends. Control requests
// are queued here from any thread and served only when the service thread asks for them in
// ProcessRequests. Owned by its service.
class TServiceThread {
public:
  explicit TServiceThread(TService& service);
  TServiceThread(const TServiceThread&) = delete;
  TServiceThread& operator=(const TServiceThread&) = delete;
  ~TServiceThread();

  // Processes what is pending for the calling thread. On the service thread: serves the queued control
  // requests, each through the service's stop, pause or continue handling. On any other thread (the main
  // thread in a timer tick) control requests are never served: the thread's messages are handled through
  // the application instead (Application.h), hooks included.
  // WaitForMessage false: handles what is pending and returns at once. WaitForMessage true: waits and
  // handles until the service thread is terminated.
  void ProcessRequests(bool WaitForMessage);

  // Set once a stop was accepted; the execute handler ends when it sees it. Safe from any thread.
  bool Terminated() const { return terminated_.load(); }
  void Terminate();

  // True on the service thread itself.
  bool IsCurrentThread() const;

  // Framework side: starts the thread; onEnd runs on it as its last step. The thread takes part in the
  // virtual clock from its first instruction, so virtual time cannot run ahead before it first waits.
  template <class OnEnd>
  void Start(OnEnd onEnd) {
    thread_ = StartThread([this, onEnd] {
      id_.store(std::this_thread::get_id());
      Execute();
      onEnd();
    });
  }
  void Post(ServiceControl control);
  // True while a stop or pause request waits in the queue to be served. Safe from any thread.
  bool StopOrPauseQueued();
  void WaitFor();
  // True when the start was refused or a handler raised out of start or execute.
  bool Failed() const { return failed_.load(); }

private:
  void Execute();
  std::optional<ServiceControl> TakeRequest();
  void Serve(ServiceControl control);

  TService& service_;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> failed_{false};
  std::mutex mutex_;  // guards requests_
  std::deque<ServiceControl> requests_;
  ClockWakeup wakeup_;  // ends a wait for requests: one is posted or the thread is terminated
  std::atomic<std::thread::id> id_;  // set by the thread itself: it may run before thread_ is assigned
  std::thread thread_;
};

}  // namespace platform
