#include <optional>

#include "X11Fixture.h"
#include "X11ShownCursor.h"

namespace platform::test {
namespace {

// A picture of the program's own, set on a window, is the cursor that the server shows over it, with
// its hot spot; a shape set afterwards replaces it.
TEST_F(X11Test, AProgramCursorShowsItsPictureOverTheWindow) {
  const TBackendWindow window = ShowForm("Zeiger");
  static const CursorImage picture{3, 1, {"   ##   ", "  #..#  ", " #....# ", "#......#", " ###### "}};
  backend_->SetCursorImage(window, picture);
  RunPeer({"xdotool", "mousemove", "150", "150"}, Display());
  std::optional<CursorImage> shown;
  ASSERT_TRUE(PumpUntil([&] {
    shown = ShownCursor(Display());
    return shown && shown->rows == picture.rows;
  })) << (shown ? ::testing::PrintToString(shown->rows) : "no XFixes");
  EXPECT_EQ(shown->hotX, 3);
  EXPECT_EQ(shown->hotY, 1);

  backend_->SetCursor(window, TBackendCursor::Cross);
  ASSERT_TRUE(PumpUntil([&] {
    shown = ShownCursor(Display());
    return shown && shown->rows != picture.rows;
  }));
}

}  // namespace
}  // namespace platform::test
