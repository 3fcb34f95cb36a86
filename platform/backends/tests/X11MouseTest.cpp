#include "X11Fixture.h"

namespace platform::test {
namespace {

using ::testing::ElementsAre;

TEST_F(X11Test, ClicksDoubleClicksAndTheWheelArriveInClientCoordinates) {
  const TBackendWindow window = ShowForm("Maus");
  RunPeer({"xdotool", "mousemove", "--window", Id(window), "10", "20", "click", "1"}, Display());
  RunPeer({"xdotool", "click", "--repeat", "3", "--delay", "60", "3"}, Display());
  RunPeer({"xdotool", "click", "4", "click", "5"}, Display());
  ASSERT_TRUE(PumpUntil([&] { return sink_.Starting("wheel").size() == 2; }));
  EXPECT_TRUE(sink_.Has("move 10,20"));
  // A double click is the second press; a third press starts anew.
  EXPECT_THAT(sink_.Starting("press"), ElementsAre("press L 10,20 8", "press R 10,20 16", "press R 10,20 80",
                                                   "press R 10,20 16"));
  EXPECT_EQ(sink_.Starting("release").size(), 4u);
  EXPECT_THAT(sink_.Starting("wheel"), ElementsAre("wheel 120 10,20", "wheel -120 10,20"));
}

TEST_F(X11Test, SlowSecondClickIsNoDoubleClick) {
  ShowForm("Langsam");
  RunPeer({"xdotool", "mousemove", "150", "150", "click", "--repeat", "2", "--delay",
           std::to_string(backend_->DoubleClickTimeMs() + 200), "1"},
          Display());
  ASSERT_TRUE(PumpUntil([&] { return sink_.Starting("release").size() == 2; }));
  EXPECT_THAT(sink_.Starting("press"), ElementsAre("press L 50,50 8", "press L 50,50 8"));
}

TEST_F(X11Test, CaptureKeepsTheMouseBeyondTheWindow) {
  const TBackendWindow window = ShowForm("Fang");
  RunPeer({"xdotool", "mousemove", "150", "150"}, Display());
  ASSERT_TRUE(PumpUntil([&] { return sink_.Has("move 50,50"); }));
  RunPeer({"xdotool", "mousemove", "700", "600"}, Display());
  ASSERT_TRUE(PumpUntil([&] { return sink_.Has("leave"); }));

  RunPeer({"xdotool", "mousemove", "150", "150"}, Display());
  ASSERT_TRUE(PumpUntil([&] { return sink_.Starting("move 50,50").size() == 2; }));
  backend_->SetCapture(window);
  RunPeer({"xdotool", "mousemove", "700", "600", "click", "1"}, Display());
  ASSERT_TRUE(PumpUntil([&] { return sink_.Has("press L 600,500 8"); }));
  EXPECT_TRUE(sink_.Has("move 600,500"));
  EXPECT_EQ(backend_->CursorPos(), Point(700, 600));

  backend_->ReleaseCapture();
  RunPeer({"xdotool", "mousemove", "710", "610"}, Display());
  PumpFor(200);
  EXPECT_FALSE(sink_.Has("move 610,510")) << "after the release the window sees only its own area";
}

}  // namespace
}  // namespace platform::test
