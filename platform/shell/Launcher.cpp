#include "platform/shell/Launcher.h"

#include <atomic>

#include "platform/core/Spawn.h"

namespace platform {

namespace {

std::atomic<ChildStreams> launchedStreams{ChildStreams::Inherited};

// Starts each program detached, with the show code in its environment.
class ProcessLauncher : public Launcher {
public:
  int Launch(const LaunchRequest& request) override {
    return SpawnDetached({request.program, request.arguments, request.directory,
                          {std::string(kShowCodeVariable) + "=" + std::to_string(request.showCode)},
                          launchedStreams.load()});
  }
};

ProcessLauncher& TheProcessLauncher() {
  static ProcessLauncher launcher;
  return launcher;
}

std::atomic<Launcher*> installedLauncher{nullptr};

}  // namespace

Launcher& CurrentLauncher() {
  Launcher* launcher = installedLauncher.load();
  return launcher ? *launcher : TheProcessLauncher();
}

void SetLauncher(Launcher* launcher) { installedLauncher.store(launcher); }

void SetLaunchedStreams(ChildStreams streams) { launchedStreams.store(streams); }

}  // namespace platform
