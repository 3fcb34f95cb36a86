#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "controls/MarkupHint.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/TestFont.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/tests/FormFixture.h"

namespace controls {
namespace {

using platform::Application;
using platform::ApplicationHints;
using platform::Rect;
using platform::TControl;
using platform::TForm;
using platform::TRect;

const TRect kScreen = Rect(0, 0, 1024, 768);

class MarkupHintTest : public platform::FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    Input().SetScreen(kScreen, kScreen);
    platform::Screen().HintFont().SetName(platform::kTestFontName);
    // The main form, whose TMarkupHint serves the hints.
    form_.reset(Application().CreateForm<TForm>());
    ASSERT_EQ(Application().MainForm(), form_.get());
    form_->SetBounds(100, 100, 300, 200);
    form_->Show();
    Settle();
    box_ = new platform::TButton(form_.get());
    box_->SetParent(form_.get());
    box_->SetBounds(20, 20, 120, 30);
    box_->SetCaption("Service");
    box_->SetShowHint(true);
  }
  void TearDown() override {
    form_.reset();
    ApplicationHints().SetHintWindowClass({});
    ApplicationHints().OnShowHint = nullptr;
    FormTest::TearDown();
  }

  TMarkupHint& AddHint() {
    auto* hint = new TMarkupHint(form_.get());
    hint->HintFont().SetName(platform::kTestFontName);
    hint->HintFont().SetSize(10);
    return *hint;
  }
  // Shows the hint of the box with the mouse at the screen point, at once.
  platform::THintWindow& ShowHintAt(const std::string& hint, platform::TPoint mouse) {
    box_->SetHint(hint);
    Input().MouseMove(mouse);
    Settle();
    ApplicationHints().ActivateHint(mouse);
    Settle();
    platform::THintWindow* window = ApplicationHints().HintWindow();
    EXPECT_TRUE(window && window->Visible());
    return *window;
  }
  platform::THintWindow& ShowHint(const std::string& hint) { return ShowHintAt(hint, At(*box_, 10, 10)); }
  // The size of text in the hint font, bold or not.
  platform::TSize Extent(TMarkupHint& hint, const std::string& text, bool bold) {
    platform::TBitmap bitmap;
    bitmap.SetSize(1, 1);
    bitmap.Canvas().Font().Assign(hint.HintFont());
    if (bold) bitmap.Canvas().Font().SetStyle({platform::TFontStyle::fsBold});
    return bitmap.Canvas().TextExtent(text);
  }

  std::unique_ptr<TForm> form_;
  platform::TButton* box_ = nullptr;
};

TEST_F(MarkupHintTest, TheHintWindowIsSizedToTheMarkupPlusItsFrameAndMargins) {
  TMarkupHint& hint = AddHint();
  const platform::TSize bold = Extent(hint, "Status", true);
  const platform::TSize plain = Extent(hint, "of the service", false);
  struct Case {
    const char* text;
    int margin;
    int width;
    int height;
  };
  const Case cases[] = {
      {"of the service", 0, plain.cx + 16, plain.cy + 4},
      {"<b>Status</b><br>of the service", 0, std::max(bold.cx, plain.cx) + 16, 2 * plain.cy + 4},
      {"<b>Status</b><br>of the service", 5, std::max(bold.cx, plain.cx) + 26, 2 * plain.cy + 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + std::string(" margin ") + std::to_string(c.margin));
    hint.XMargin = hint.YMargin = c.margin;
    platform::THintWindow& window = ShowHint(c.text);
    EXPECT_TRUE(dynamic_cast<TMarkupHintWindow*>(&window));
    EXPECT_EQ(window.Width(), c.width);
    EXPECT_EQ(window.Height(), c.height);
    const platform::TPoint mouse = At(*box_, 10, 10);
    EXPECT_EQ(window.BoundsRect().TopLeft(), (platform::TPoint{mouse.X, mouse.Y + 16}));
  }
}

TEST_F(MarkupHintTest, AHintThatWouldLeaveTheScreenIsKeptTwoPixelsInsideIt) {
  AddHint();
  struct Case {
    const char* where;
    platform::TPoint mouse;
    bool right;   // pushed in from the right edge
    bool bottom;  // pushed up from the bottom edge
  };
  const Case cases[] = {
      {"middle", {400, 300}, false, false},
      {"right edge", {1015, 300}, true, false},
      {"bottom edge", {400, 760}, false, true},
      {"corner", {1020, 765}, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    form_->SetBounds(c.mouse.X - 30, c.mouse.Y - 30, 300, 200);
    box_->SetBounds(0, 0, 300, 200);
    platform::THintWindow& window = ShowHintAt("<b>Ping</b> every <i>30</i> s", c.mouse);
    const TRect r = window.BoundsRect();
    EXPECT_EQ(r.Right, c.right ? kScreen.Right - 2 : c.mouse.X + r.Width());
    EXPECT_EQ(r.Bottom, c.bottom ? kScreen.Bottom - 2 : c.mouse.Y + 16 + r.Height());
  }
}

TEST_F(MarkupHintTest, TheHintTakesTheComponentsColourAndOnShowHintMayChangeTheText) {
  TMarkupHint& hint = AddHint();
  hint.HintColor = platform::clYellow;
  std::vector<std::string> seen;
  hint.OnShowHint = [&](std::string& text, bool&, platform::THintInfo& info) {
    seen.push_back(text + " for " + info.HintControl->Name());
    text = "<u>" + text + "</u>";
  };
  box_->SetName("Box");
  platform::THintWindow& window = ShowHint("Ping");
  EXPECT_EQ(seen, std::vector<std::string>{"Ping for Box"});
  EXPECT_EQ(window.Caption(), "<u>Ping</u>");
  EXPECT_EQ(hint.HintInfo().HintColor, platform::clYellow);
  const platform::TBitmap& shown = Input().Info(window.BackendWindow()).shown;
  EXPECT_EQ(shown.ScanLine(window.Height() / 2)[2] & 0xFFFFFF, 0xFFFF00u);  // yellow inside the frame
}

TEST_F(MarkupHintTest, ARoundedHintIsShapedWithSixteenPixelCornersAndAGrayEdge) {
  TMarkupHint& hint = AddHint();
  hint.HintStyle = hsRounded;
  platform::THintWindow& window = ShowHint("<b>Rounded</b>");
  const auto& info = Input().Info(window.BackendWindow());
  ASSERT_FALSE(info.shape.empty());
  int minX = 1 << 20, maxX = -1, minY = 1 << 20, maxY = -1;
  for (platform::TPoint p : info.shape) {
    minX = std::min(minX, p.X), maxX = std::max(maxX, p.X);
    minY = std::min(minY, p.Y), maxY = std::max(maxY, p.Y);
    EXPECT_FALSE(p.X == 0 && p.Y == 0);  // the corner is cut
  }
  EXPECT_EQ(Rect(minX, minY, maxX, maxY), Rect(0, 0, window.Width(), window.Height()));
  EXPECT_EQ(info.shown.ScanLine(0)[window.Width() / 2] & 0xFFFFFF, 0x808080u);  // the gray edge

  hint.HintStyle = hsRectangle;  // the same window, square again
  ShowHint("<b>Square</b>");
  EXPECT_TRUE(Input().Info(window.BackendWindow()).shape.empty());
}

TEST_F(MarkupHintTest, DestroyingTheComponentRestoresTheApplicationsHintWindowClassAndHandler) {
  struct Before {
    const char* what;
    bool withHandler;
  };
  for (const Before b : {Before{"the default class and no handler", false}, Before{"a handler", true}}) {
    SCOPED_TRACE(b.what);
    int calls = 0;
    ApplicationHints().SetHintWindowClass({});
    ApplicationHints().OnShowHint = nullptr;
    if (b.withHandler) ApplicationHints().OnShowHint = [&](std::string&, bool&, platform::THintInfo&) { ++calls; };

    auto* hint = &AddHint();
    EXPECT_EQ(*ApplicationHints().HintWindowClass().type, typeid(TMarkupHintWindow));
    EXPECT_TRUE(dynamic_cast<TMarkupHintWindow*>(&ShowHint("<b>x</b>")));
    EXPECT_EQ(calls, 0);  // the component's handler took the application's place

    delete hint;
    EXPECT_EQ(ApplicationHints().HintWindowClass().type, nullptr);
    EXPECT_EQ(static_cast<bool>(ApplicationHints().OnShowHint), b.withHandler);
    platform::THintWindow& window = ShowHint("<b>x</b>");
    EXPECT_EQ(typeid(window), typeid(platform::THintWindow));
    EXPECT_EQ(calls, b.withHandler ? 1 : 0);
  }
}

TEST_F(MarkupHintTest, AMarkupHintWindowWithNoServingComponentShowsPlainText) {
  ApplicationHints().SetHintWindowClass(platform::HintWindowClassOf<TMarkupHintWindow>());
  platform::THintWindow& window = ShowHint("<b>plain</b>");
  EXPECT_TRUE(dynamic_cast<TMarkupHintWindow*>(&window));
  platform::THintWindow plain(nullptr);
  const TRect expected = plain.CalcHintRect(1024, "<b>plain</b>", nullptr);
  EXPECT_EQ(window.Width(), expected.Width());
  EXPECT_EQ(window.Height(), expected.Height() + 4);
}

TEST_F(MarkupHintTest, AFormTakesOneMarkupHint) {
  AddHint();
  try {
    AddHint();
    FAIL() << "a second TMarkupHint was accepted";
  } catch (const EMarkupHintError& e) {
    EXPECT_EQ(e.Message(), "Only one instance of TMarkupHint allowed on form");
  }
  platform::TComponent notAForm(nullptr);
  EXPECT_THROW(TMarkupHint{&notAForm}, EMarkupHintError);
}

// For a person to look at: the configurator's hint (its own font, nothing asserted on the pixels).
TEST_F(MarkupHintTest, Screenshot) {
  auto& hint = *new TMarkupHint(form_.get());
  hint.HintFont().SetSize(9);
  hint.XMargin = 2;
  platform::THintWindow& window =
      ShowHint("<b>Service:</b> running<br>last check <font color=\"clRed\">failed</font> on <u>host1</u>");
  // The form with the hint window over it, as the screen shows them.
  const auto& formInfo = Input().Info(form_->BackendWindow());
  const auto& hintInfo = Input().Info(window.BackendWindow());
  platform::TBitmap screen;
  screen.SetSize(form_->Width() + 40, form_->Height() + 20);
  for (int y = 0; y < formInfo.shown.Height(); ++y)
    std::copy_n(formInfo.shown.ScanLine(y), formInfo.shown.Width(), screen.ScanLine(y));
  const platform::TPoint at = {window.Left() - form_->Left(), window.Top() - form_->Top()};
  for (int y = 0; y < hintInfo.shown.Height() && at.Y + y < screen.Height(); ++y)
    for (int x = 0; x < hintInfo.shown.Width() && at.X + x < screen.Width(); ++x)
      screen.ScanLine(at.Y + y)[at.X + x] = hintInfo.shown.ScanLine(y)[x];
  std::filesystem::create_directories(CONTROLS_ARTEFACTS);
  platform::SavePngFile(screen, std::string(CONTROLS_ARTEFACTS) + "/markup_hint.png");
}

}  // namespace
}  // namespace controls
