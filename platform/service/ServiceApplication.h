#pragma once

#include <exception>
#include <memory>
#include <string>

#include "platform/service/Service.h"

namespace platform {

// The service program's application: it holds the program's one service and runs it, taking the place
// of the service control manager. A service program's main:
//
//   ServiceApplication()->Initialize(argc, argv);
//   ServiceApplication()->CreateForm(Tarvonex);
//   return ServiceApplication()->Run();
//
// Run prints to stdout and stderr: they are the service program's user interface (the confirmations and
// errors of INSTALL and UNINSTALL, a refused start).
class TServiceApplication {
public:
  TServiceApplication();
  TServiceApplication(const TServiceApplication&) = delete;
  TServiceApplication& operator=(const TServiceApplication&) = delete;
  ~TServiceApplication();

  // Takes the command line (ParamStr), blocks the control signals and ignores SIGPIPE. Call it first,
  // before any thread of the program starts, so that no thread takes those signals.
  void Initialize(int argc, const char* const* argv);

  // Creates the program's service, of a class derived from TService, and keeps it; `reference` points to
  // it until the application ends. An exception out of the constructor is kept and reported by Run.
  template <class T>
  void CreateForm(T*& reference) {
    try {
      auto service = std::make_unique<T>(nullptr);
      reference = service.get();
      AddService(std::move(service));
    } catch (...) {
      KeepCreationError(std::current_exception());
    }
  }

  // With INSTALL or UNINSTALL (ServiceSwitches.h) writes or removes the service's systemd unit; else runs
  // the service in the foreground until it stops. Returns the process's exit code: 0 on success.
  int Run();

private:
  void AddService(std::unique_ptr<TService> service);
  void KeepCreationError(std::exception_ptr error);
  int RunService();  // the switch's action, or the service in the foreground
  int RunInForeground();

  std::unique_ptr<TService> service_;
  std::string creationError_;
};

// The process's service application.
TServiceApplication* ServiceApplication();

}  // namespace platform
