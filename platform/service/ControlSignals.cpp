#include "platform/service/ControlSignals.h"

#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/Eintr.h"
#include "platform/core/Exception.h"

namespace platform {

namespace {

sigset_t ControlSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig : {SIGTERM, SIGINT, SIGUSR1, SIGUSR2, SIGHUP}) sigaddset(&set, sig);
  return set;
}

}  // namespace

void BlockControlSignals() {
  sigset_t set = ControlSignalSet();
  ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void IgnoreBrokenPipes() { ::signal(SIGPIPE, SIG_IGN); }

ControlSignals::ControlSignals() {
  BlockControlSignals();
  sigset_t set = ControlSignalSet();
  fd_ = UniqueFd(::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC));
  if (!fd_.IsValid()) throw Exception(std::string("Cannot receive the control signals: ") + std::strerror(errno));
}

std::optional<ServiceControl> ControlSignals::Read() {
  for (;;) {
    signalfd_siginfo info{};
    ssize_t n = RetryOnEintr([&] { return ::read(fd_.Descriptor(), &info, sizeof info); });
    if (n != static_cast<ssize_t>(sizeof info)) return std::nullopt;
    switch (info.ssi_signo) {
      case SIGTERM:
      case SIGINT: return ServiceControl::Stop;
      case SIGUSR1: return ServiceControl::Pause;
      case SIGUSR2: return ServiceControl::Continue;
      case SIGHUP: return ServiceControl::Reload;
      default: break;
    }
  }
}

}  // namespace platform
