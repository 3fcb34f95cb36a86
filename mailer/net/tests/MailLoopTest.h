#pragma once

#include "gtest/gtest.h"
#include "platform/core/Clock.h"
#include "platform/core/Paths.h"
#include "platform/core/tests/TempFolder.h"
#include "platform/ui/Window.h"

namespace mailnet::test {

// A test of the message-driven socket layer: on the virtual clock, with the executables' folder in a
// temporary folder (the windows of the layer's timers never meet those of other tests), and leaving the
// thread's queue empty.
class MailLoopTest : public ::testing::Test {
protected:
  void SetUp() override {
    platform::OverrideExeFileName(folder_.File("program"));
    platform::UseVirtualClock(1'709'647'387'000);  // Tue, 05 Mar 2024 14:03:07 UTC
  }
  void TearDown() override {
    platform::MSG msg;
    while (platform::PeekMessage(msg)) {
    }
    platform::UseRealClock();
    platform::OverrideExeFileName("");
  }

  platform::TempFolder folder_;
};

}  // namespace mailnet::test
