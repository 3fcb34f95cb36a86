#include "platform/service/ServiceThread.h"

#include "platform/core/Exception.h"
#include "platform/service/Service.h"

namespace platform {

namespace {

const char* ControlName(ServiceControl control) {
  switch (control) {
    case ServiceControl::Stop: return "stop";
    case ServiceControl::Pause: return "pause";
    case ServiceControl::Continue: return "continue";
  }
  return "control";
}

std::string MessageOf(const std::exception& e) {
  auto* exception = dynamic_cast<const Exception*>(&e);
  return exception ? exception->Message() : e.what();
}

}  // namespace

TServiceThread::TServiceThread(TService& service) : service_(service) {}

TServiceThread::~TServiceThread() { WaitFor(); }

void TServiceThread::Terminate() {
  {
    std::lock_guard lock(mutex_);
    terminated_.store(true);
  }
  wake_.notify_all();
}

bool TServiceThread::IsCurrentThread() const { return std::this_thread::get_id() == id_.load(); }

void TServiceThread::Post(ServiceControl control) {
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(control);
  }
  wake_.notify_all();
}

void TServiceThread::WaitFor() {
  if (thread_.joinable() && !IsCurrentThread()) thread_.join();
}

void TServiceThread::ProcessRequests(bool WaitForMessage) {
  if (!IsCurrentThread()) return;
  for (;;) {
    ServiceControl control;
    {
      std::unique_lock lock(mutex_);
      if (WaitForMessage) {
        wake_.wait(lock, [this] { return terminated_.load() || !requests_.empty(); });
        if (terminated_.load() && requests_.empty()) return;
      } else if (requests_.empty()) {
        return;
      }
      control = requests_.front();
      requests_.pop_front();
    }
    Serve(control);
  }
}

// A handler that raises is logged; the service keeps its previous state and goes on.
void TServiceThread::Serve(ServiceControl control) {
  try {
    switch (control) {
      case ServiceControl::Stop: service_.DoStop(); break;
      case ServiceControl::Pause: service_.DoPause(); break;
      case ServiceControl::Continue: service_.DoContinue(); break;
    }
  } catch (const std::exception& e) {
    service_.LogMessage(std::string("The ") + ControlName(control) + " handler failed: " + MessageOf(e));
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
    service_.LogMessage(std::string("The service failed: ") + MessageOf(e));
    failed_.store(true);
  }
  service_.status_.store(TCurrentStatus::csStopped);
}

}  // namespace platform
