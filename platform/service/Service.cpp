#include "platform/service/Service.h"

#include <cstdio>

namespace platform {

TService::TService(TComponent* AOwner) : TComponent(AOwner) {}

TService::~TService() = default;

bool TService::RunHandler(const std::function<void(TService*, bool&)>& handler, TCurrentStatus pending,
                          TCurrentStatus done, TCurrentStatus previous) {
  status_.store(pending);
  bool accepted = true;
  try {
    if (handler) handler(this, accepted);
  } catch (...) {
    status_.store(previous);
    throw;
  }
  status_.store(accepted ? done : previous);
  return accepted;
}

bool TService::DoStart() {
  return RunHandler(OnStart, TCurrentStatus::csStartPending, TCurrentStatus::csRunning, TCurrentStatus::csStopped);
}

void TService::DoExecute() {
  if (OnExecute) {
    OnExecute(this);
  } else {
    thread_.ProcessRequests(true);
  }
}

bool TService::DoStop() {
  // One stop at a time and only one that is accepted: the main thread may ask while the service thread
  // serves a stop signal.
  bool expected = false;
  if (!stopping_.compare_exchange_strong(expected, true)) return true;
  TCurrentStatus previous = status_.load();
  bool stopped = false;
  try {
    stopped = RunHandler(OnStop, TCurrentStatus::csStopPending, TCurrentStatus::csStopPending, previous);
  } catch (...) {
    stopping_.store(false);
    throw;
  }
  if (stopped) {
    thread_.Terminate();
  } else {
    stopping_.store(false);
  }
  return stopped;
}

bool TService::DoPause() {
  if (status_.load() != TCurrentStatus::csRunning) return false;
  return RunHandler(OnPause, TCurrentStatus::csPausePending, TCurrentStatus::csPaused, TCurrentStatus::csRunning);
}

bool TService::DoContinue() {
  if (status_.load() != TCurrentStatus::csPaused) return false;
  return RunHandler(OnContinue, TCurrentStatus::csContinuePending, TCurrentStatus::csRunning,
                    TCurrentStatus::csPaused);
}

void TService::Controller(ServiceControl control) {
  if (control == ServiceControl::Reload) {
    if (OnReload && !thread_.Terminated()) OnReload(this);
    return;
  }
  bool accepted = control == ServiceControl::Stop ? AllowStop : AllowPause;
  if (accepted) thread_.Post(control);
}

void TService::LogMessage(const std::string& message) const {
  std::fprintf(stderr, "%s: %s\n", (DisplayName.empty() ? Name() : DisplayName).c_str(), message.c_str());
}

}  // namespace platform
