#include <gmock/gmock.h>

#include <sstream>
#include <thread>

#include "platform/core/Paths.h"
#include "X11TestSupport.h"

namespace platform::test {
namespace {

using ::testing::HasSubstr;

// The window helper on a display; Ready waits (polling its output, at most 10 s) for its shown window.
class WindowHelper : public PeerProcess {
public:
  explicit WindowHelper(const std::string& display)
      : PeerProcess({ExeDir() + "platform_backends_window_helper"}, display) {}
  bool Ready() {
    for (int i = 0; i < 200 && !Ended(); ++i) {
      if (Output().find("ready") != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
};

// User and system CPU time of a process, in clock ticks.
long CpuTicks(pid_t pid) {
  const std::string stat = ReadFileBytes("/proc/" + std::to_string(pid) + "/stat");
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  long user = 0, system = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) user = std::stol(field);
    if (i == 15) system = std::stol(field);
  }
  return user + system;
}

// The loop sleeps on the connection: a shown window costs nothing while nobody touches it.
TEST(X11ProcessTest, ShownWindowUsesNoCpuWhileIdle) {
  XvfbServer server;
  WindowHelper helper(server.Display());
  ASSERT_TRUE(helper.Ready()) << helper.Output();
  const long before = CpuTicks(helper.Pid());
  std::this_thread::sleep_for(std::chrono::seconds(10));
  const long used = CpuTicks(helper.Pid()) - before;
  const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
  EXPECT_LE(used * 1000 / ticksPerSecond, 20) << "milliseconds of CPU over 10 s of idling";
}

TEST(X11ProcessTest, ServerGoingAwayEndsTheProgramWithAMessage) {
  XvfbServer server;
  WindowHelper helper(server.Display());
  ASSERT_TRUE(helper.Ready()) << helper.Output();
  server.Stop();
  EXPECT_EQ(helper.Wait(), 1);
  EXPECT_THAT(helper.Output(), HasSubstr("platform_backends_window_helper: the connection to the X server " +
                                         server.Display() + " was lost\n"));
}

TEST(X11ProcessTest, ADisplayThatCannotBeServedIsSaidAndTheProgramStaysHeadless) {
  XvfbServer server(8);
  WindowHelper helper(server.Display());
  EXPECT_EQ(helper.Wait(), 2);
  EXPECT_EQ(helper.Output(), "platform_backends_window_helper: the X display " + server.Display() +
                                 " shows 8-bit colour; windows need 24-bit or 16-bit true colour; no window is shown\n"
                                 "headless\n");
}

TEST(X11ProcessTest, WithoutDisplayOrServerTheProgramStaysHeadless) {
  // Servers of parallel tests take display numbers from 0 upwards: none has this one.
  for (const std::string& display : {std::string(), std::string(":59999")}) {
    WindowHelper helper(display);
    EXPECT_EQ(helper.Wait(), 2) << display;
    EXPECT_EQ(helper.Output(), "headless\n") << display;
  }
}

}  // namespace
}  // namespace platform::test
