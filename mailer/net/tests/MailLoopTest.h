#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "gtest/gtest.h"
#include "platform/core/Clock.h"
#include "platform/core/Paths.h"
#include "platform/core/tests/TempFolder.h"
#include "platform/app/Window.h"

namespace mailnet::test {

// A test of the message-driven socket layer: on the virtual clock, in the time zone UTC (for the
// Date header), with the executables' folder in a temporary folder (the windows of the layer's timers
// never meet those of other tests), and leaving the thread's queue empty.
class MailLoopTest : public ::testing::Test {
protected:
  void SetUp() override {
    platform::OverrideExeFileName(folder_.File("program"));
    platform::UseVirtualClock(1'709'647'387'000);  // Tue, 05 Mar 2024 14:03:07 UTC
    const char* zone = std::getenv("TZ");
    savedZone_ = zone != nullptr ? std::optional<std::string>(zone) : std::nullopt;
    setenv("TZ", "UTC0", 1);
    tzset();
  }
  void TearDown() override {
    platform::MSG msg;
    while (platform::PeekMessage(msg)) {
    }
    if (savedZone_) {
      setenv("TZ", savedZone_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
    platform::UseRealClock();
    platform::OverrideExeFileName("");
  }

  platform::TempFolder folder_;

private:
  std::optional<std::string> savedZone_;
};

}  // namespace mailnet::test
