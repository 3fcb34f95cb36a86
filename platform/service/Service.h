#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/service/ServiceThread.h"
#include "platform/app/Component.h"

namespace platform {

enum class TCurrentStatus { csStopped, csStartPending, csStopPending, csRunning, csContinuePending, csPausePending, csPaused };

// stAuto: started at boot (the unit is enabled); stManual: installed only; stDisabled: installed, not enabled.
enum class TStartType { stAuto, stManual, stDisabled };

// A service of the service framework: its registration properties, its handlers and its state. The
// program derives its service class from it, sets the properties (the component's Name is the service
// name) and assigns the handlers in its constructor; the service application (ServiceApplication.h) owns
// it and runs it. Its components (timers and the like) are created with it, on the main thread.
//
// Threads: OnStart, OnExecute, and OnStop, OnPause, OnContinue as served by the execute handler's
// ServiceThread()->ProcessRequests run on the service thread. DoStop, the service's request to stop
// itself, runs OnStop at once on whichever thread calls it (main or service thread). The service thread
// has ended before the service is destroyed (Run waits for it).
class TService : public TComponent {
public:
  explicit TService(TComponent* AOwner);
  ~TService() override;

  // Registration properties; the service name (Name) is the name of its systemd unit.
  std::string DisplayName;
  std::vector<std::string> Dependencies;  // services that must run first (see ServiceUnit.h)
  TStartType StartType = TStartType::stAuto;
  bool AllowStop = true;
  bool AllowPause = true;
  bool Interactive = false;  // kept for the program's sake; a systemd service has no desktop
  int WaitHint = 5000;       // ms; kept, systemd has its own time-outs

  std::function<void(TService* Sender, bool& Started)> OnStart;
  std::function<void(TService* Sender)> OnExecute;
  std::function<void(TService* Sender, bool& Stopped)> OnStop;
  std::function<void(TService* Sender, bool& Paused)> OnPause;
  std::function<void(TService* Sender, bool& Continued)> OnContinue;
  // Asked to read its settings again (SIGHUP). Runs at once on the thread that reads the control
  // signals, the main thread, and is not queued: a service that takes its time does so itself.
  std::function<void(TService* Sender)> OnReload;

  TServiceThread* ServiceThread() { return &thread_; }
  bool Terminated() const { return thread_.Terminated(); }
  TCurrentStatus Status() const { return status_.load(); }

  // Stops the service from inside: runs OnStop at once on the calling thread and, when it accepts,
  // marks the service thread terminated, so the execute handler ends. A service that is already stopping
  // is not stopped twice. Returns whether the stop was accepted.
  bool DoStop();

  // Writes a line to the system's log for services (standard error, which systemd's journal keeps).
  void LogMessage(const std::string& message) const;

  // Framework side: hands a control request to the service thread (ignored when the service does not
  // accept it: stop without AllowStop, pause and continue without AllowPause); runs OnReload for Reload.
  void Controller(ServiceControl control);

protected:
  virtual bool DoStart();
  virtual void DoExecute();
  virtual bool DoPause();
  virtual bool DoContinue();

private:
  friend class TServiceThread;

  // Runs the handler, and sets the status to `done` when it accepts, back to `previous` when not.
  bool RunHandler(const std::function<void(TService*, bool&)>& handler, TCurrentStatus pending,
                  TCurrentStatus done, TCurrentStatus previous);

  std::atomic<TCurrentStatus> status_{TCurrentStatus::csStopped};
  std::atomic<bool> stopping_{false};
  TServiceThread thread_{*this};
};

}  // namespace platform
