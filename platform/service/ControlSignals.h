#pragma once

#include <optional>

#include "platform/core/UniqueFd.h"

namespace platform {

// The control requests that reach a service. Reload asks it to read its settings again.
enum class ServiceControl { Stop, Pause, Continue, Reload };

// Blocks the control signals (SIGTERM, SIGINT, SIGUSR1, SIGUSR2, SIGHUP) in the calling thread; threads
// it creates afterwards inherit the mask. Called before any other thread exists, it keeps every thread
// from taking them, so they wait for ControlSignals to read them.
void BlockControlSignals();

// Ignores SIGPIPE in the whole process, so that a write to a closed pipe or socket (standard error read
// by nobody any more) fails with EPIPE instead of ending the process. Programs started later get the
// default back (Launcher.h).
void IgnoreBrokenPipes();

// Receives the control signals through a signalfd, never in signal-handler context: SIGTERM and SIGINT
// ask to stop, SIGUSR1 to pause, SIGUSR2 to continue, SIGHUP to reload (the daemons' convention). Fd()
// becomes readable when one is pending; the owner's loop then calls Read until it returns nothing.
class ControlSignals {
public:
  // Blocks the signals in the calling thread and opens the descriptor; raises Exception when it cannot.
  ControlSignals();
  ControlSignals(const ControlSignals&) = delete;
  ControlSignals& operator=(const ControlSignals&) = delete;

  int Fd() const { return fd_.Descriptor(); }

  // The request of the next pending signal, or nothing when none is pending. Never blocks.
  std::optional<ServiceControl> Read();

private:
  UniqueFd fd_;
};

}  // namespace platform
