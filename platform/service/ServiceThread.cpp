#include "platform/service/ServiceThread.h"

#include <algorithm>

#include "platform/service/Service.h"
#include "platform/app/Application.h"

namespace platform {

namespace {

const char* ControlName(ServiceControl control) {
  switch (control) {
    case ServiceControl::Stop: return "stop";
    case ServiceControl::Pause: return "pause";
    case ServiceControl::Continue: return "continue";
    case ServiceControl::Reload: return "reload";
  }
  return "control";
}

}  // namespace

TServiceThread::TServiceThread(TService& service) : service_(service) {}

TServiceThread::~TServiceThread() { WaitFor(); }

void TServiceThread::Terminate() {
  terminated_.store(true);
  wakeup_.Wake();
}

bool TServiceThread::IsCurrentThread() const { return std::this_thread::get_id() == id_.load(); }

void TServiceThread::Post(ServiceControl control) {
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(control);
  }
  wakeup_.Wake();
}

bool TServiceThread::StopOrPauseQueued() {
  std::lock_guard lock(mutex_);
  return std::any_of(requests_.begin(), requests_.end(),
                     [](ServiceControl c) { return c == ServiceControl::Stop || c == ServiceControl::Pause; });
}

void TServiceThread::WaitFor() {
  if (!thread_.joinable() || IsCurrentThread()) return;
  OffClock off;  // the service thread may still wait on the clock before it ends
  thread_.join();
}

std::optional<ServiceControl> TServiceThread::TakeRequest() {
  std::lock_guard lock(mutex_);
  if (requests_.empty()) return std::nullopt;
  ServiceControl control = requests_.front();
  requests_.pop_front();
  return control;
}

// The wait is a wait on the platform clock, so a service on the virtual clock lets time go on.
void TServiceThread::ProcessRequests(bool WaitForMessage) {
  if (!IsCurrentThread()) {
    if (WaitForMessage) {
      Application().HandleMessagesUntil([this] { return terminated_.load(); });
    } else {
      Application().ProcessMessages();
    }
    return;
  }
  for (;;) {
    if (std::optional<ServiceControl> control = TakeRequest()) {
      Serve(*control);
    } else if (WaitForMessage && !terminated_.load()) {
      WaitOnClock(kNoDeadline, &wakeup_, {});
    } else {
      return;
    }
  }
}

// A handler that raises is logged; the service keeps its previous state and goes on.
void TServiceThread::Serve(ServiceControl control) {
  try {
    switch (control) {
      case ServiceControl::Stop: service_.DoStop(); break;
      case ServiceControl::Pause: service_.DoPause(); break;
      case ServiceControl::Continue: service_.DoContinue(); break;
      case ServiceControl::Reload: break;  // never queued (TService::Controller)
    }
  } catch (const std::exception& e) {
    service_.LogMessage(std::string("The ") + ControlName(control) + " handler failed: " + e.what());
  } catch (...) {
    service_.LogMessage(std::string("The ") + ControlName(control) + " handler failed: unknown exception");
  }
}

void TServiceThread::Execute() {
  try {
    if (!service_.DoStart()) {
      service_.LogMessage("The service did not start.");
      failed_.store(true);
    } else {
      service_.DoExecute();
      ProcessRequests(false);
    }
  } catch (const std::exception& e) {
    service_.LogMessage(std::string("The service failed: ") + e.what());
    failed_.store(true);
  } catch (...) {
    service_.LogMessage("The service failed: unknown exception");
    failed_.store(true);
  }
  service_.status_.store(TCurrentStatus::csStopped);
}

}  // namespace platform
