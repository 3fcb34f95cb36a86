#pragma once

#include <vector>

#include "platform/shell/Launcher.h"

namespace platform {

// The shell's launcher in tests: records every program it is asked to start, starts none, and answers
// with `result` (0: started, else an errno value).
class RecordingLauncher : public Launcher {
public:
  int Launch(const LaunchRequest& request) override {
    requests.push_back(request);
    return result;
  }
  std::vector<LaunchRequest> requests;
  int result = 0;
};

}  // namespace platform
