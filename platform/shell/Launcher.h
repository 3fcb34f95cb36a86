#pragma once

#include <string>
#include <vector>

#include "platform/core/Spawn.h"

namespace platform {

// What the shell asks its launcher to start: one program by its full path, with its arguments, detached
// from the caller. The program never passes through a shell command line.
struct LaunchRequest {
  std::string program;                 // full path of the file to execute; also the child's argv[0]
  std::vector<std::string> arguments;  // argv[1] on
  std::string directory;               // working directory of the child; empty keeps the caller's
  int showCode = 1;                    // window show code, handed to the child (see kShowCodeVariable)
};

// The child finds the show code it was started with in this environment variable, so that a program of
// ours started hidden (show code 0) shows no window.
inline constexpr const char* kShowCodeVariable = "VELMORA_SHOW_CODE";

// Starts programs for the shell. Tests replace the process launcher with a recorder (SetLauncher).
class Launcher {
public:
  virtual ~Launcher() = default;

  // Starts the program without waiting for it. Returns 0 once the program runs, else the errno value of
  // the failure (the program missing, not executable, the directory missing, no resources).
  virtual int Launch(const LaunchRequest& request) = 0;
};

// The launcher that the shell uses: the process launcher unless SetLauncher installed another.
Launcher& CurrentLauncher();

// Installs a launcher (not owned, must outlive its use); nullptr restores the process launcher.
void SetLauncher(Launcher* launcher);

// The standard streams that the process launcher gives its programs: the caller's by default; their
// own in a service, whose commands must neither hold its streams open after it stopped nor fill them.
void SetLaunchedStreams(ChildStreams streams);

}  // namespace platform
