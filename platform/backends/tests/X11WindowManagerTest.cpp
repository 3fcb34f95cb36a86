#include <thread>

#include "X11Fixture.h"

namespace platform::test {
namespace {

// The same backend under a window manager (openbox): it decorates the forms, hands out the focus and
// closes windows through WM_DELETE_WINDOW.
class X11WindowManagerTest : public X11Test {
protected:
  void SetUp() override {
    X11Test::SetUp();
    // Openbox runs its start-up command once it manages windows; the marker file tells the test so.
    char marker[] = "/tmp/velmora-x11-wm-XXXXXX";
    ::close(::mkstemp(marker));
    ::unlink(marker);
    manager_ = std::make_unique<PeerProcess>(
        std::vector<std::string>{"openbox", "--sm-disable", "--startup", std::string("/usr/bin/touch ") + marker},
        Display());
    for (int i = 0; i < 200 && !FileExists(marker); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    ASSERT_TRUE(FileExists(marker)) << "openbox did not start: " << manager_->Output();
    ::unlink(marker);
  }

  std::unique_ptr<PeerProcess> manager_;
};

TEST_F(X11WindowManagerTest, TheManagerFramesFocusesMaximisesAndClosesForms) {
  const TBackendWindow form = ShowForm("Verwaltet");
  // The reported outer bounds take in the frame around the 300 x 200 client area.
  ASSERT_TRUE(PumpUntil([&] {
    for (const std::string& e : sink_.Starting("bounds")) {
      int left, top, right, bottom;
      if (std::sscanf(e.c_str(), "bounds %d,%d %d,%d", &left, &top, &right, &bottom) == 4 &&
          right - left > 300 && bottom - top > 200)
        return true;
    }
    return false;
  }));

  RecordingSink secondSink;
  TBackendWindowParams params;
  params.caption = "Zweites";
  params.bounds = Bounds(500, 300, 200, 100);
  const TBackendWindow second = backend_->CreateWindow(params, secondSink);
  backend_->ShowWindow(second, true);
  backend_->Activate(second);
  ASSERT_TRUE(PumpUntil([&] { return secondSink.Has("activate") && sink_.Has("deactivate"); }));
  backend_->Activate(form);
  ASSERT_TRUE(PumpUntil([&] { return secondSink.Has("deactivate") && sink_.Starting("activate").size() == 2; }));

  backend_->SetWindowState(form, TBackendWindowState::Maximized);
  ASSERT_TRUE(PumpUntil([&] { return sink_.events.back().rfind("bounds", 0) == 0 && sink_.events.back().back() == '2'; }));
  backend_->SetWindowState(form, TBackendWindowState::Normal);
  ASSERT_TRUE(PumpUntil([&] { return sink_.events.back().rfind("bounds", 0) == 0 && sink_.events.back().back() == '0'; }));

  PeerProcess close({"wmctrl", "-c", "Verwaltet"}, Display());
  ASSERT_TRUE(PumpUntil([&] { return sink_.Has("close"); }));
  close.Wait();
}

}  // namespace
}  // namespace platform::test
