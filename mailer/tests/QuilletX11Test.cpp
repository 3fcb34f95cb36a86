// The real quillet on an X display of the test's own (Xvfb): its window as the desktop sees it, and its
// end when the display goes away.
#include <gmock/gmock.h>

#include <filesystem>
#include <thread>

#include "X11TestSupport.h"
#include "mailer/tests/QuilletRun.h"
#include "platform/core/Clock.h"
#include "platform/core/Paths.h"

namespace quillet::test {
namespace {

using platform::test::Eventually;
using platform::test::PeerProcess;
using platform::test::XvfbServer;
using ::testing::HasSubstr;

std::string RunTool(const std::vector<std::string>& argv, const std::string& display) {
  PeerProcess tool(argv, display);
  tool.Wait();
  return tool.Output();
}

// Quillet without enough parameters: its window shows the usage text until it is closed.
class QuilletX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(server_.Display().empty()) << "Xvfb did not start";
    quillet_ = std::make_unique<PeerProcess>(std::vector<std::string>{platform::ExeDir() + "quillet"},
                                             server_.Display());
    ASSERT_TRUE(Eventually([&] {
      window_ = RunTool({"xdotool", "search", "--pid", std::to_string(quillet_->Pid())}, server_.Display());
      return !window_.empty() || quillet_->Ended();
    })) << "quillet showed no window: " << quillet_->Output();
    window_ = window_.substr(0, window_.find('\n'));
  }

  XvfbServer server_;
  std::unique_ptr<PeerProcess> quillet_;
  std::string window_;
};

TEST_F(QuilletX11Test, ItsWindowIsFoundByItsProcessShowsItsIconAndAnswersPings) {
  const std::string properties = RunTool({"xprop", "-id", window_}, server_.Display());
  EXPECT_THAT(properties, HasSubstr("_NET_WM_NAME(UTF8_STRING) = \"Quillet\"\n"));
  EXPECT_THAT(properties, HasSubstr("_NET_WM_PID(CARDINAL) = " + std::to_string(quillet_->Pid()) + "\n"));
  EXPECT_THAT(properties, HasSubstr("WM_CLIENT_MACHINE(STRING) = \""));
  EXPECT_THAT(properties, HasSubstr("protocols  WM_DELETE_WINDOW, _NET_WM_PING\n"));
  for (const char* size : {"Icon (16 x 16):", "Icon (32 x 32):", "Icon (48 x 48):"})
    EXPECT_THAT(properties, HasSubstr(size));
  const std::string verdict =
      RunTool({platform::ExeDir() + "platform_backends_desktop_peer", "ping", window_}, server_.Display());
  ASSERT_THAT(verdict, ::testing::MatchesRegex("answered [0-9]+\n"));
  EXPECT_LE(std::stoi(verdict.substr(9)), 100);
}

TEST_F(QuilletX11Test, TheServerGoingAwayEndsItWithAMessage) {
  const int64_t start = platform::MonotonicMs();
  server_.Stop();
  EXPECT_TRUE(Eventually([&] { return quillet_->Ended(); }, 1000)) << "quillet still runs";
  EXPECT_LE(platform::MonotonicMs() - start, 1000);
  EXPECT_EQ(quillet_->Wait(), 1);
  EXPECT_EQ(quillet_->Output(), "quillet: the connection to the X server " + server_.Display() + " was lost\n");
}

// With a display, an error that fehler.log cannot take (here a folder of that name) goes to standard
// error as a line of its own.
TEST(QuilletX11UnloggedTest, AnErrorTheLogCannotTakeGoesToStandardErrorAsALine) {
  XvfbServer server;
  ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
  const std::string root = std::filesystem::temp_directory_path() / ("quillet-x11-" + std::to_string(::getpid()));
  QuilletFolder folder(root);
  std::filesystem::create_directory(folder.File("fehler.log"));
  PeerProcess quillet({folder.Program(), "-a", "x", "-s", "y", "-btxt", "/nonexistent/body.txt"}, server.Display());
  const std::string text = "Cannot open file \"/nonexistent/body.txt\". No such file or directory";
  EXPECT_TRUE(Eventually([&] { return quillet.Output().size() > text.size(); })) << quillet.Output();
  EXPECT_THAT(quillet.Output(), ::testing::StartsWith(text + "\n"));
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace quillet::test
