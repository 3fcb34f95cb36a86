#include "controls/zgspin.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "controls/DisplayClasses.h"
#include "controls/EditorClasses.h"
#include "controls/ExSpin.h"
#include "controls/tests/LabelFixture.h"
#include "controls/tests/StandInTheme.h"
#include "platform/core/tests/TextTestSettings.h"
#include "platform/gfx/Bitmap.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/Forms.h"
#include "platform/ui/VirtualKeys.h"

namespace controls::zgspin {
namespace {

// A grid spin edit of 80 x 24 at (20, 20) on a shown form, focused, with German separators.
class ZgSpinTest : public test::LabelTest {
protected:
  void SetUp() override {
    LabelTest::SetUp();
    platform::FormatSettings() = platform::testing::GermanSettings();
    Show(200, 80);
    spin_ = new TZgSpinEdit(form_.get());
    spin_->SetParent(form_.get());
    spin_->SetBounds(20, 20, 80, 24);
    spin_->SetFocus();
    Settle();
  }
  void TearDown() override {
    LabelTest::TearDown();
    platform::ResetFormatSettings();
  }

  TZgSpinEdit* spin_ = nullptr;
};

TEST_F(ZgSpinTest, AFloatSpinStaysUntilIncrementFloatIsSet) {
  spin_->SetSpinType(sptFloat);
  spin_->SetFloatValue(2.5);
  EXPECT_EQ(spin_->Text(), "2,5");
  Press(platform::VK_UP);
  EXPECT_EQ(spin_->Text(), "2,5");
  spin_->SetIncrementFloat(0.25);
  Press(platform::VK_UP);
  EXPECT_EQ(spin_->Text(), "2,75");
  spin_->DownClick(nullptr);
  spin_->DownClick(nullptr);
  EXPECT_EQ(spin_->Text(), "2,25");
}

TEST_F(ZgSpinTest, SeparatorsAtPrecisionZeroAndInTimes) {
  spin_->SetSpinType(sptFloat);
  spin_->SetText("");
  const int beeps = Input().Beeps();
  Type("1.5,");  // the thousand separator becomes the decimal one; a second one is refused
  EXPECT_EQ(spin_->Text(), "1,5");
  EXPECT_EQ(Input().Beeps(), beeps + 1);
  spin_->SetSpinType(sptTime);
  spin_->SetText("");
  Type("12:30:15:");
  EXPECT_EQ(spin_->Text(), "12:30:15");
  EXPECT_EQ(Input().Beeps(), beeps + 2);
}

TEST_F(ZgSpinTest, UpAndDownStepAtKeyDownBeforeOnKeyDown) {
  int keyDowns = 0;
  spin_->OnKeyDown = [&](platform::TObject*, platform::WORD&, platform::TShiftState) { ++keyDowns; };
  spin_->SetValue(5);
  Press(platform::VK_UP);
  Press(platform::VK_UP);
  Press(platform::VK_DOWN);
  EXPECT_EQ(spin_->Text(), "6");
  EXPECT_EQ(keyDowns, 0);
  Press(platform::VK_PRIOR);  // no meaning here
  EXPECT_EQ(spin_->Text(), "6");
  EXPECT_EQ(keyDowns, 1);
}

TEST_F(ZgSpinTest, ButtonPairBoundsWithAndWithoutBorder) {
  struct Case {
    platform::TBorderStyle border;
    TSpinDirection direction;
    platform::TRect button;
  };
  using platform::TBorderStyle;
  for (const Case& c : {Case{TBorderStyle::bsSingle, spVertical, platform::Bounds(60, 0, 15, 19)},
                        Case{TBorderStyle::bsNone, spVertical, platform::Bounds(64, 0, 15, 23)},
                        Case{TBorderStyle::bsSingle, spHorizontal, platform::Bounds(55, 0, 20, 19)}}) {
    spin_->SetBorderStyle(c.border);
    spin_->SetDirection(c.direction);
    spin_->SetBounds(20, 20, 80, 24);
    EXPECT_EQ(spin_->Button().BoundsRect(), c.button) << static_cast<int>(c.border) << " " << c.direction;
  }
}

// The grid's handlers may free its editor: a value stepped by a key or a button, the focus coming or
// going, a key the edit goes on to handle.
TEST_F(ZgSpinTest, HandlersMayFreeTheEdit) {
  auto* other = new platform::TEdit(form_.get());
  other->SetParent(form_.get());
  other->SetBounds(120, 20, 60, 24);
  auto freeSpin = [this](platform::TObject*) { delete std::exchange(spin_, nullptr); };
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"OnChange, Up", [&] { spin_->OnChange = freeSpin; Press(platform::VK_UP); }},
      {"OnChange, Up without EditorEnabled",
       [&] {
         spin_->SetEditorEnabled(false);
         spin_->OnChange = freeSpin;
         Press(platform::VK_UP);
       }},
      {"OnChange, the up button",
       [&] {
         spin_->OnChange = freeSpin;
         Input().Click(At(spin_->Button().UpButton(), 3, 3));
       }},
      {"OnExit", [&] { spin_->OnExit = freeSpin; other->SetFocus(); }},
      {"OnEnter",
       [&] {
         other->SetFocus();
         spin_->OnEnter = freeSpin;
         spin_->SetFocus();
       }},
      {"OnKeyDown, Enter with ReturnIsTab",
       [&] {
         spin_->SetReturnIsTab(true);
         spin_->OnKeyDown = [&](platform::TObject* sender, platform::WORD&, platform::TShiftState) { freeSpin(sender); };
         Press(platform::VK_RETURN);
       }},
  };
  for (const auto& [what, act] : cases) {
    SCOPED_TRACE(what);
    if (!spin_) {
      spin_ = new TZgSpinEdit(form_.get());
      spin_->SetParent(form_.get());
      spin_->SetBounds(20, 20, 80, 24);
    }
    spin_->SetFocus();
    Settle();
    act();
    Settle();
    EXPECT_EQ(spin_, nullptr);
  }
}

// The least height is the font's text height, a quarter of the smaller of it and the system font's,
// 2 pixels and 4 for a border.
TEST_F(ZgSpinTest, TheMinimumHeightTakesAQuarterOfTheSmallerFont) {
  platform::TBitmap measure;
  measure.Canvas().Font().Assign(platform::TFont());
  const int system = measure.Canvas().TextHeight("0");
  ASSERT_LT(system, 32);
  struct Case {
    int fontHeight;
    platform::TBorderStyle border;
    int minHeight;
  };
  using platform::TBorderStyle;
  for (const Case& c : {Case{32, TBorderStyle::bsSingle, 32 + system / 4 + 6},
                        Case{32, TBorderStyle::bsNone, 32 + system / 4 + 2},
                        Case{8, TBorderStyle::bsSingle, 8 + 8 / 4 + 6}}) {
    spin_->Font().SetName(platform::kTestFontName);
    spin_->Font().SetHeight(-c.fontHeight);
    spin_->SetBorderStyle(c.border);
    spin_->SetHeight(1);
    EXPECT_EQ(spin_->Height(), c.minHeight) << c.fontHeight << " " << static_cast<int>(c.border);
  }
}

// A value pasted with its line break (as copied from a line of text) keeps its first line only.
TEST_F(ZgSpinTest, APastedLineBreakDoesNotGetIntoTheValue) {
  platform::Clipboard().SetAsText("34\r\n");
  platform::Backend().SetPrimarySelection("5\n6");
  spin_->SetText("12");
  Press(platform::VK_END);
  spin_->PasteFromClipboard();
  Input().Click(At(*spin_, 50, 10), platform::TMouseButtonKind::Middle);
  Settle();
  EXPECT_EQ(spin_->Text(), "12345");
  EXPECT_EQ(spin_->Value(), 12345);
  Press(platform::VK_RETURN);
  EXPECT_EQ(spin_->Text(), "12345");
}

TEST_F(ZgSpinTest, IsWinXPReachesBothButtons) {
  spin_->SetIsWinXP(true);
  auto& button = static_cast<TZgSpinButton&>(spin_->Button());
  EXPECT_TRUE(button.IsWinXP());
  EXPECT_TRUE(static_cast<TExTimerSpeedButton&>(button.UpButton()).IsWinXP());
  EXPECT_TRUE(static_cast<TExTimerSpeedButton&>(button.DownButton()).IsWinXP());
}

TEST_F(ZgSpinTest, WithIsWinXPEachButtonPaintsItsSpinPartPressedWhileDown) {
  using namespace velmora::xpvs;
  using test::StandInTheme;
  StandInTheme theme;
  spin_->SetIsWinXP(true);
  struct Case {
    TSpinDirection direction;
    bool up;
    int part;
  } cases[] = {{spVertical, true, SPNP_UP},
               {spVertical, false, SPNP_DOWN},
               {spHorizontal, true, SPNP_UPHORZ},
               {spHorizontal, false, SPNP_DOWNHORZ}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.direction << (c.up ? " up" : " down"));
    spin_->SetDirection(c.direction);
    Settle();
    Screenshot(c.direction == spVertical ? "zgspin_themed_vertical" : "zgspin_themed_horizontal");
    TSpinButtonPair& pair = spin_->Button();
    TSpinRepeatButton& button = c.up ? pair.UpButton() : pair.DownButton();
    const StandInTheme::Draw* draw = theme.LastDraw(c.part);
    ASSERT_NE(draw, nullptr);
    EXPECT_EQ(draw->themeClass, "spin");
    EXPECT_EQ(draw->window, pair.Handle());  // the button has no window: its parent's
    EXPECT_EQ(draw->rect, button.ClientRect());
    EXPECT_EQ(draw->state, UPS_NORMAL);
    EXPECT_EQ(Count(StandInTheme::Marker(c.part), OnForm(button)), button.Width() * button.Height());

    Input().MouseDown(platform::TMouseButtonKind::Left, At(button, 3, 3));
    Settle();
    EXPECT_EQ(theme.LastDraw(c.part)->state, UPS_PRESSED);
    Input().MouseUp(platform::TMouseButtonKind::Left, At(button, 3, 3));
    Settle();
    EXPECT_EQ(theme.LastDraw(c.part)->state, UPS_NORMAL);
  }
  EXPECT_EQ(theme.OpenThemes(), 0);
  EXPECT_EQ(theme.BadCloses(), 0);
}

TEST_F(ZgSpinTest, WithoutIsWinXPOrAThemeTheButtonsDrawClassic) {
  using test::StandInTheme;
  using Library = StandInTheme::Library;
  struct Case {
    bool isWinXP;
    Library library;
    bool opens;
  } cases[] = {{false, Library::Opening, false}, {true, Library::Absent, false}, {true, Library::FailingToOpen, true}};
  for (TSpinDirection direction : {spVertical, spHorizontal}) {
    spin_->SetIsWinXP(false);
    spin_->SetDirection(direction);
    Settle();
    Screenshot(direction == spVertical ? "zgspin_classic_vertical" : "zgspin_classic_horizontal");
    const platform::TRect pairOnForm = OnForm(spin_->Button());
    const std::vector<uint32_t> classic = Pixels(pairOnForm);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << direction << " XP " << c.isWinXP << " library " << int(c.library));
      const std::optional<StandInTheme> theme = StandInTheme::For(c.library);
      spin_->SetIsWinXP(c.isWinXP);
      spin_->Button().Invalidate();
      EXPECT_EQ(Pixels(pairOnForm), classic);
      if (theme) {
        EXPECT_EQ(theme->Opens() > 0, c.opens);
        EXPECT_TRUE(theme->Draws().empty());
      }
    }
  }
}

TEST(SpinClassesTest, BothUnitsMaskSpinEditsLoadByTheirUnitsNames) {
  PublishDisplayClasses();
  PublishEditorClasses();
  platform::TForm form(nullptr);
  platform::ReadFormText(form,
                         "F: TForm {\n"
                         "  X: ExSpin.TExMaskSpinEdit { SpinType = sptHex HexValue = 63 }\n"
                         "  Z: zgspin.TExMaskSpinEdit { SpinType = sptTime EditMask = \"!90:00;1;_\" }\n"
                         "  P: TZgSpinEdit { SpinType = sptDate }\n"
                         "}\n",
                         "spins", {});
  auto& ex = dynamic_cast<exspin::TExMaskSpinEdit&>(*form.FindComponent("X"));
  EXPECT_EQ(ex.Text(), "0x3F");
  auto& zg = dynamic_cast<TExMaskSpinEdit&>(*form.FindComponent("Z"));
  EXPECT_EQ(zg.SpinType(), sptTime);
  EXPECT_EQ(zg.EditMask(), "!90:00;1;_");
  EXPECT_EQ(dynamic_cast<TZgSpinEdit&>(*form.FindComponent("P")).SpinType(), sptDate);
}

}  // namespace
}  // namespace controls::zgspin
