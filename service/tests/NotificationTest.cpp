#include <gtest/gtest.h>

#include "service/tests/ConfiguratorWindow.h"
#include "service/tests/TarvonexFixture.h"

namespace velmora::testing {
namespace {

// Start, one check, pause, continue and stop.
class NotificationTest : public TarvonexTest {
protected:
  void RunOneCheckPauseContinueStop() {
    network->Script("alpha", {Echo()});
    Start();
    RunFor(6000);
    service->Controller(platform::ServiceControl::Pause);
    RunFor(2000);
    service->Controller(platform::ServiceControl::Continue);
    RunFor(2000);
    Stop();
    platform::Application().ProcessMessages();
  }
};

TEST_F(NotificationTest, EveryLogLineSendsOneAndEveryStatusWriteZero) {
  WriteOneHost("1");
  ConfiguratorWindow configurator("Velmora - Configurator");
  RunOneCheckPauseContinueStop();
  // Three start lines; the check's status write and its line; pause, continue and stop, each a line and a
  // status write.
  EXPECT_EQ(configurator.received, (std::vector<int>{1, 1, 1, 0, 1, 1, 0, 1, 0, 1, 0}));
}

TEST_F(NotificationTest, WithLoggingOffOnlyStatusWritesAreNotified) {
  WriteOneHost("1", {"Logging=0"});
  ConfiguratorWindow configurator("Velmora - Configurator");
  RunOneCheckPauseContinueStop();
  EXPECT_EQ(configurator.received, (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(NotificationTest, TheGermanCaptionIsLookedForFirst) {
  WriteOneHost("1");
  ConfiguratorWindow english("Velmora - Configurator");
  ConfiguratorWindow german("Velmora - Konfigurator");
  RunOneCheckPauseContinueStop();
  EXPECT_EQ(german.received.size(), 11u);
  EXPECT_TRUE(english.received.empty());
}

}  // namespace
}  // namespace velmora::testing
