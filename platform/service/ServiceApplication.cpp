#include "platform/service/ServiceApplication.h"

#include <cstdio>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Paths.h"
#include "platform/service/ControlSignals.h"
#include "platform/service/InstanceLock.h"
#include "platform/service/ServiceSwitches.h"
#include "platform/service/ServiceUnit.h"
#include "platform/shell/Launcher.h"
#include "platform/app/Application.h"
#include "platform/app/MessageQueue.h"

namespace platform {

namespace {

std::string MessageOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown error";
  }
}

std::vector<std::string> Arguments() {
  std::vector<std::string> arguments;
  for (int i = 1; i <= ParamCount(); ++i) arguments.push_back(ParamStr(i));
  return arguments;
}

void PrintLine(std::FILE* stream, const std::string& text) {
  std::fprintf(stream, "%s\n", text.c_str());
  std::fflush(stream);
}

}  // namespace

TServiceApplication::TServiceApplication() = default;

TServiceApplication::~TServiceApplication() = default;

void TServiceApplication::Initialize(int argc, const char* const* argv) {
  SetCommandLine(argc, argv);
  BlockControlSignals();
  IgnoreBrokenPipes();
}

void TServiceApplication::AddService(std::unique_ptr<TService> service) {
  if (service_) {
    creationError_ = "A service program holds one service; \"" + service->Name() + "\" is one too many.";
    return;
  }
  service_ = std::move(service);
}

void TServiceApplication::KeepCreationError(std::exception_ptr error) { creationError_ = MessageOf(error); }

int TServiceApplication::Run() {
  if (!creationError_.empty() || !service_) {
    PrintLine(stderr, creationError_.empty() ? "The program creates no service." : creationError_);
    return 1;
  }
  int exitCode = RunService();
  // The service and its components go now, while the process-wide objects they leave (the application,
  // the socket stack) still exist, not when this object is destroyed at process exit.
  service_.reset();
  return exitCode;
}

int TServiceApplication::RunService() {
  ServiceSwitches switches = ParseServiceSwitches(Arguments());
  if (switches.action == ServiceAction::Run) return RunInForeground();
  ServiceSetupResult result = switches.action == ServiceAction::Install ? InstallService(*service_, ExeFileName())
                                                                        : UninstallService(*service_);
  if (!result.ok) {
    PrintLine(stderr, result.message);
    return 1;
  }
  if (!switches.silent) PrintLine(stdout, result.message);
  return 0;
}

int TServiceApplication::RunInForeground() {
  TService& service = *service_;
  std::string lockPath = ExeDir() + "." + service.Name() + ".lock";
  InstanceLock lock(lockPath);
  if (!lock.Held()) {
    std::string title = service.DisplayName.empty() ? service.Name() : service.DisplayName;
    PrintLine(stderr, lock.HeldElsewhere()
                          ? "The service " + title + " is already running from " + ExeDir() + "; this instance ends."
                          : "Cannot start the service " + title + ": its lock file " + lockPath +
                                " cannot be opened: " + lock.Error());
    return 1;
  }
  std::unique_ptr<ControlSignals> signals;
  try {
    signals = std::make_unique<ControlSignals>();
  } catch (const Exception& e) {
    PrintLine(stderr, e.Message());
    return 1;
  }

  // Signals are read on the main thread, in its loop, and handed to the service thread as requests.
  WaitRegistration signalWait = MessageQueue::Current().RegisterWaitHandle(
      signals->Fd(), kWaitReadable,
      [&](unsigned) {
        while (std::optional<ServiceControl> control = signals->Read()) service.Controller(*control);
      },
      VirtualTimeHold::Background);
  // As under a service control manager, the service's commands get no console: none of its standard
  // streams, which a daemon started by a command would hold open after the service stopped.
  SetLaunchedStreams(ChildStreams::Own);
  Application().Initialize();
  service.ServiceThread()->Start([] { Application().Terminate(); });
  Application().Run();

  // The loop also ends when the program terminates the application: the service is then stopped too.
  service.ServiceThread()->Post(ServiceControl::Stop);
  service.ServiceThread()->WaitFor();
  return service.ServiceThread()->Failed() ? 1 : 0;
}

TServiceApplication* ServiceApplication() {
  static TServiceApplication application;
  return &application;
}

}  // namespace platform
