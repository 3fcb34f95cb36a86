#pragma once

#include <string>
#include <vector>

#include "platform/shell/Launcher.h"

namespace platform {

// A launcher for tests: records what the shell asked it to start, starts nothing, and answers `result`
// (0 for started, else the errno value of a failure). While it lives it is the shell's launcher.
class RecordingLauncher : public Launcher {
public:
  RecordingLauncher() { SetLauncher(this); }
  ~RecordingLauncher() override { SetLauncher(nullptr); }
  RecordingLauncher(const RecordingLauncher&) = delete;
  RecordingLauncher& operator=(const RecordingLauncher&) = delete;

  int Launch(const LaunchRequest& request) override {
    requests.push_back(request);
    return result;
  }

  // What each request opened, in order: the document or URL that the shell handed to its opener (the
  // last argument), or the program itself when it was started without arguments.
  std::vector<std::string> Opened() const {
    std::vector<std::string> opened;
    for (const LaunchRequest& request : requests) {
      opened.push_back(request.arguments.empty() ? request.program : request.arguments.back());
    }
    return opened;
  }

  std::vector<LaunchRequest> requests;
  int result = 0;
};

}  // namespace platform
