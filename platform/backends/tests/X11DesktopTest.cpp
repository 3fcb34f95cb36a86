// The desktop's conventions on the backend's windows, read back as a desktop reads them: xprop for the
// properties, xdotool's search by process, and the window manager's ping and a launcher's watch played
// by the desktop peer.
#include <sys/utsname.h>

#include <cstdlib>
#include <thread>

#include "platform/core/Paths.h"
#include "X11Fixture.h"

namespace platform::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string Properties(const std::string& display, TBackendWindow window) {
  return RunPeer({"xprop", "-id", std::to_string(static_cast<unsigned long long>(window))}, display);
}

// The window manager's ping of a window, answered while the thread's loop runs: the peer's verdict
// ("answered <ms>" or "no answer").
std::string Ping(const std::string& display, TBackendWindow window) {
  PeerProcess peer({ExeDir() + "platform_backends_desktop_peer", "ping",
                    std::to_string(static_cast<unsigned long long>(window))},
                   display);
  PumpUntil([&] { return peer.Ended(); });
  return peer.Output();
}

// Milliseconds of an answered ping, or a large number.
int PingMs(const std::string& verdict) {
  return verdict.rfind("answered ", 0) == 0 ? std::atoi(verdict.c_str() + 9) : 1 << 20;
}

TEST_F(X11Test, AFormSaysWhoseItIsAndAnswersPings) {
  const TBackendWindow form = ShowForm("Wessen");
  utsname node{};
  ASSERT_EQ(::uname(&node), 0);
  const std::string shown = Properties(Display(), form);
  EXPECT_THAT(shown, HasSubstr("_NET_WM_PID(CARDINAL) = " + std::to_string(::getpid()) + "\n"));
  EXPECT_THAT(shown, HasSubstr("WM_CLIENT_MACHINE(STRING) = \"" + std::string(node.nodename) + "\"\n"));
  EXPECT_THAT(shown, HasSubstr("WM_PROTOCOLS(ATOM): protocols  WM_DELETE_WINDOW, _NET_WM_PING\n"));
  EXPECT_THAT(shown, Not(HasSubstr("_NET_STARTUP_ID"))) << "the tests are not launched with an id";
  EXPECT_THAT(RunPeer({"xdotool", "search", "--pid", std::to_string(::getpid())}, Display()),
              HasSubstr(Id(form) + "\n"));
  const std::string verdict = Ping(Display(), form);
  EXPECT_LE(PingMs(verdict), 100) << verdict;
}

// A handler that runs a loop of its own (a modal form, a wait for another thread): the backend's
// events, the pings among them, are handled within that loop.
class NestedLoopSink : public RecordingSink {
public:
  // Runs once, from within the handler of the first key press.
  std::function<void()> onFirstKey;

  void BackendKeyDown(int virtualKey, unsigned shift, bool repeat) override {
    RecordingSink::BackendKeyDown(virtualKey, shift, repeat);
    if (const std::function<void()> call = std::exchange(onFirstKey, nullptr)) call();
  }
};

TEST_F(X11Test, PingsAreAnsweredWhileAHandlerRunsANestedLoop) {
  std::string verdict;
  NestedLoopSink sink;
  TBackendWindowParams params;
  params.caption = "Verschachtelt";
  params.bounds = Bounds(100, 100, 200, 100);
  const TBackendWindow form = backend_->CreateWindow(params, sink);
  sink.onFirstKey = [&] { verdict = Ping(Display(), form); };  // runs the thread's loop until the peer ends
  backend_->ShowWindow(form, true);
  backend_->Activate(form);
  ASSERT_TRUE(PumpUntil([&] { return sink.Has("activate"); }));
  PeerProcess key({"xdotool", "key", "--window", Id(form), "x"}, Display());
  ASSERT_TRUE(PumpUntil([&] { return !verdict.empty(); }, 10000)) << ::testing::PrintToString(sink.events);
  EXPECT_LE(PingMs(verdict), 100) << verdict;
  key.Wait();
}

// A ping that comes while the backend waits for another client's answer (a clipboard read from an
// owner that takes its time) is answered within the wait.
TEST_F(X11Test, PingsAreAnsweredWhileTheClipboardWaitsForItsOwner) {
  const TBackendWindow form = ShowForm("Wartend");
  PeerProcess owner({ExeDir() + "platform_backends_desktop_peer", "silent-owner"}, Display());
  ASSERT_TRUE(Says(owner, "owner")) << owner.Output();
  PeerProcess ping({ExeDir() + "platform_backends_desktop_peer", "ping", Id(form)}, Display());
  const int64_t start = MonotonicMs();
  EXPECT_FALSE(backend_->HasClipboardFormat(kClipboardText));
  EXPECT_GE(MonotonicMs() - start, 1000) << "the read did not wait for the owner";
  ping.Wait();
  EXPECT_LE(PingMs(ping.Output()), 100) << ping.Output();
}

// The server going away while the backend waits inside a call (a clipboard read) is reported as soon
// as the call returns to the loop, as it is from the loop itself.
TEST_F(X11Test, TheServerGoingAwayDuringAWaitIsReported) {
  ShowForm("Verloren");
  PeerProcess owner({ExeDir() + "platform_backends_desktop_peer", "silent-owner"}, Display());
  ASSERT_TRUE(Says(owner, "owner")) << owner.Output();
  std::thread stop([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    server_.Stop();
  });
  EXPECT_FALSE(backend_->HasClipboardFormat(kClipboardText));
  stop.join();
  EXPECT_TRUE(PumpUntil([&] { return !lost_.empty(); }, 2000)) << "the lost connection was never reported";
  EXPECT_EQ(lost_, "the connection to the X server " + Display() + " was lost");
}

TEST_F(X11Test, TheSizeHintsHoldTheFormsConstraints) {
  TBackendWindowParams params;
  params.caption = "Grenzen";
  params.bounds = Bounds(100, 100, 300, 200);
  params.minSize = {200, 150};
  params.maxSize = {600, 0};
  const TBackendWindow form = backend_->CreateWindow(params, sink_);
  std::string hints = Properties(Display(), form);
  EXPECT_THAT(hints, HasSubstr("program specified minimum size: 200 by 150\n"));
  EXPECT_THAT(hints, HasSubstr("program specified maximum size: 600 by 32767\n"));

  backend_->SetSizeLimits(form, {0, 120}, {0, 0});
  hints = Properties(Display(), form);
  EXPECT_THAT(hints, HasSubstr("program specified minimum size: 1 by 120\n"));
  EXPECT_THAT(hints, Not(HasSubstr("maximum size")));
  backend_->SetBounds(form, Bounds(100, 100, 320, 220));  // a resize keeps the limits
  EXPECT_THAT(Properties(Display(), form), HasSubstr("program specified minimum size: 1 by 120\n"));

  // A border that does not size fixes the size, whatever the constraints say.
  params.border = TBackendBorder::Dialog;
  RecordingSink dialogSink;
  const std::string dialog = Properties(Display(), backend_->CreateWindow(params, dialogSink));
  EXPECT_THAT(dialog, HasSubstr("program specified minimum size: 300 by 200\n"));
  EXPECT_THAT(dialog, HasSubstr("program specified maximum size: 300 by 200\n"));
}

// The time of the latest key or button press is the window's user time, and a window made after it
// starts with it.
TEST_F(X11Test, InputSetsTheUserTime) {
  const TBackendWindow form = ShowForm("Zeit");
  EXPECT_THAT(Properties(Display(), form), Not(HasSubstr("_NET_WM_USER_TIME")));
  PeerProcess click({"xdotool", "mousemove", "--window", Id(form), "20", "20", "click", "1"}, Display());
  ASSERT_TRUE(PumpUntil([&] { return !sink_.Starting("press").empty(); }));
  click.Wait();
  PumpFor(100);
  const std::string shown = Properties(Display(), form);
  const size_t at = shown.find("_NET_WM_USER_TIME(CARDINAL) = ");
  ASSERT_NE(at, std::string::npos) << shown;
  const std::string time = shown.substr(at + 30, shown.find('\n', at) - at - 30);
  EXPECT_NE(time, "0");

  RecordingSink laterSink;
  TBackendWindowParams params;
  params.caption = "Später";
  params.bounds = Bounds(300, 300, 100, 100);
  const TBackendWindow later = backend_->CreateWindow(params, laterSink);
  EXPECT_THAT(Properties(Display(), later), HasSubstr("_NET_WM_USER_TIME(CARDINAL) = " + time + "\n"));
}

// A program that a launcher started with a startup id: its first windows carry the id (and the launch's
// time as their user time), and showing the first one ends the launcher's busy cursor with "remove".
TEST(X11StartupTest, TheFirstWindowShownEndsTheLaunchersNotification) {
  XvfbServer server;
  ASSERT_FALSE(server.Display().empty());
  PeerProcess watch({ExeDir() + "platform_backends_desktop_peer", "startup"}, server.Display());
  ASSERT_TRUE(Says(watch, "watching")) << watch.Output();

  ::setenv("DESKTOP_STARTUP_ID", "launcher-7 \"quoted\"_TIME4242", 1);
  std::string error;
  std::unique_ptr<TBackend> backend = OpenX11Backend(server.Display(), error, nullptr);
  ASSERT_NE(backend, nullptr) << error;
  EXPECT_EQ(std::getenv("DESKTOP_STARTUP_ID"), nullptr) << "programs started later must not inherit the id";

  RecordingSink sink;
  TBackendWindowParams params;
  params.caption = "Gestartet";
  params.bounds = Bounds(100, 100, 200, 100);
  const TBackendWindow first = backend->CreateWindow(params, sink);
  const std::string shown = Properties(server.Display(), first);
  EXPECT_THAT(shown, HasSubstr("_NET_STARTUP_ID(UTF8_STRING) = \"launcher-7 \\\"quoted\\\"_TIME4242\"\n"));
  EXPECT_THAT(shown, HasSubstr("_NET_WM_USER_TIME(CARDINAL) = 4242\n"));
  backend->ShowWindow(first, true);
  EXPECT_EQ(watch.Wait(), 0);
  EXPECT_EQ(watch.Output(), "watching\nremove: ID=\"launcher-7 \\\"quoted\\\"_TIME4242\"\n");

  RecordingSink laterSink;
  const TBackendWindow later = backend->CreateWindow(params, laterSink);
  EXPECT_THAT(Properties(server.Display(), later), Not(HasSubstr("_NET_STARTUP_ID")));
}

}  // namespace
}  // namespace platform::test
