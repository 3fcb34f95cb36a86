#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "grid/VovUra.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/TestFont.h"
#include "platform/ui/tests/FormFixture.h"

namespace velmora::testing {
namespace {

using platform::TPoint;

class PopupWindowsTest : public platform::FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form_ = ShowForm(200, 150);
  }
  // The backend window of a pop-up control once it shows.
  const platform::THeadlessBackend::WindowInfo& Shown(platform::TWinControl& popup) {
    Settle();
    return Input().Info(popup.BackendWindow());
  }
  std::unique_ptr<platform::TForm> form_;
};

// Each arrow is a pop-up above the form in the lime colour, shaped to its outline, and starts hidden.
TEST_F(PopupWindowsTest, ArrowsAreShapedPopups) {
  struct Case {
    TArrowDirection direction;
    TPoint tip;  // the outline's point that sticks out furthest in the arrow's direction
  };
  const Case cases[] = {{TArrowDirection::arrUp, {5, 0}},
                        {TArrowDirection::arrDown, {5, 8}},
                        {TArrowDirection::arrLeft, {8, 5}},
                        {TArrowDirection::arrRight, {0, 5}}};
  for (const Case& c : cases) {
    auto* arrow = new TArrowWindow(form_.get(), c.direction);
    EXPECT_FALSE(arrow->Visible());
    EXPECT_EQ(arrow->Color(), platform::clLime);
    EXPECT_NE(std::ranges::find(arrow->Outline(), c.tip), arrow->Outline().end());
    arrow->SetBounds(150, 160, arrow->Width(), arrow->Height());
    arrow->SetVisible(true);
    const auto& info = Shown(*arrow);
    EXPECT_TRUE(info.visible);
    EXPECT_EQ(info.params.kind, platform::TBackendWindowKind::Popup);
    EXPECT_EQ(info.params.owner, form_->BackendWindow());
    EXPECT_EQ(info.bounds, platform::Bounds(150, 160, arrow->Width(), arrow->Height()));
    EXPECT_EQ(info.shape, std::vector<TPoint>(arrow->Outline().begin(), arrow->Outline().end()));
  }
}

TEST_F(PopupWindowsTest, PopupButtonShowsItsCaptionCentredInAFrame) {
  auto* button = new TPopupButton(form_.get());
  EXPECT_FALSE(button->Visible());
  button->Font().SetName(platform::kTestFontName);
  button->Font().SetHeight(-12);
  button->SetCaption("Round trip");
  button->SetBounds(300, 300, 80, 22);
  button->SetVisible(true);
  const auto& info = Shown(*button);
  EXPECT_EQ(info.params.kind, platform::TBackendWindowKind::Popup);
  EXPECT_EQ(info.params.owner, form_->BackendWindow());
  std::filesystem::create_directories(GRID_ARTEFACTS);
  platform::SavePngFile(info.shown, std::string(GRID_ARTEFACTS) + "/popup_button.png");

  // Window pixels: the thin black border, then the raised frame, then the caption in black.
  auto pixel = [&](int x, int y) { return info.shown.ScanLine(y)[x] & 0xFFFFFF; };
  const int width = info.shown.Width(), height = info.shown.Height();
  EXPECT_EQ(pixel(0, 0), 0x000000u);
  EXPECT_EQ(pixel(1, 1), 0xFFFFFFu);
  EXPECT_EQ(pixel(width - 2, height - 2), 0x808080u);
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 2; y < height - 2; ++y) {
    for (int x = 2; x < width - 2; ++x) {
      if (pixel(x, y) != 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  ASSERT_LT(left, right);
  EXPECT_LE(std::abs((left - 2) - (width - 3 - right)), 1) << "centred across";
  EXPECT_GT(top, 2);
  EXPECT_LT(bottom, height - 3);

  button->SetFlat(true);
  EXPECT_NE(Shown(*button).shown.ScanLine(1)[1] & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace
}  // namespace velmora::testing
