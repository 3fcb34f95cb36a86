#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/core/Clock.h"
#include "platform/core/Paths.h"
#include "platform/app/Window.h"

namespace platform {

// Runs a test on the virtual clock with the executables' folder in a temporary folder of its own, so
// the windows it lists never meet those of other tests, and leaves the thread's queue empty. The test
// thread takes part in the virtual clock from the start (through a wait that ends at once), so a thread
// it starts cannot run time ahead before the test's own loop first waits.
class LoopTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/velmora-ui-XXXXXX";
    folder_ = ::mkdtemp(pattern);
    OverrideExeFileName(folder_ + "/program");
    UseVirtualClock(1'700'000'000'000, 0);
    WaitOnClock(MonotonicMs(), nullptr, {});
  }
  void TearDown() override {
    MSG msg;
    while (PeekMessage(msg)) {
    }
    UseRealClock();
    OverrideExeFileName("");
    std::filesystem::remove_all(folder_);
  }

  std::string folder_;
};

}  // namespace platform
