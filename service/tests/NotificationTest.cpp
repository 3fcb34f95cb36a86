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

// The configurator waits for an answer to its reset request: it comes at once, also with Logging off
// and while the start-up pass holds the service lock.
class ResetAnswerTest : public NotificationTest {
protected:
  // What the configurator receives within 200 ms of a reset request made at atMs.
  std::vector<int> AnswerToAReset(uint32_t atMs) {
    ConfiguratorWindow configurator("Velmora - Configurator");
    Start();
    RunFor(atMs);
    configurator.received.clear();
    platform::PostMessage(platform::Application().Handle(),
                          platform::RegisterWindowMessage(TTarvonex::ResetRequestMessage), 0, 0);
    RunFor(200);
    return configurator.received;
  }
};

TEST_F(ResetAnswerTest, WithLoggingOff) {
  WriteOneHost("1", {"Logging=0"});
  network->Script("alpha", {Echo()});
  EXPECT_EQ(AnswerToAReset(6000), std::vector<int>{0});
}

TEST_F(ResetAnswerTest, WhileTheStartupPassHoldsTheLock) {
  Lines lines = {"[Options]", "isEnglish=1", "[Hosts]"};
  for (int i = 1; i <= 8; ++i) {  // 40 s of silent pings
    lines.push_back("silent" + std::to_string(i) + "=");
    network->Script("silent" + std::to_string(i), {Silent()});
  }
  WriteHostList(lines);
  EXPECT_EQ(AnswerToAReset(1000), std::vector<int>{0});
}

}  // namespace
}  // namespace velmora::testing
