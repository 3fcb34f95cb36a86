#pragma once

#include <vector>

#include "platform/shell/Launcher.h"

namespace platform::testing {

// Records what the shell would start and starts nothing. While it lives it is the shell's launcher.
class RecordingLauncher : public Launcher {
public:
  RecordingLauncher() { SetLauncher(this); }
  ~RecordingLauncher() override { SetLauncher(nullptr); }
  RecordingLauncher(const RecordingLauncher&) = delete;
  RecordingLauncher& operator=(const RecordingLauncher&) = delete;

  int Launch(const LaunchRequest& request) override {
    requests.push_back(request);
    return 0;
  }

  std::vector<LaunchRequest> requests;
};

}  // namespace platform::testing
