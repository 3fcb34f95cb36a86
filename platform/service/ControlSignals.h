#pragma once

#include <optional>

#include "platform/core/UniqueFd.h"

namespace platform {

// The control requests that reach a service.
enum class ServiceControl { Stop, Pause, Continue };

// Blocks the control signals (SIGTERM, SIGINT, SIGUSR1, SIGUSR2) in the calling thread; threads it
// creates afterwards inherit the mask. Called before any other thread exists, it keeps every thread
// from taking them, so they wait for ControlSignals to read them.
void BlockControlSignals();

// Receives the control signals through a signalfd, never in signal-handler context: SIGTERM and SIGINT
// ask to stop, SIGUSR1 to pause, SIGUSR2 to continue. Fd() becomes readable when one is pending; the
// owner's loop then calls Read until it returns nothing.
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
