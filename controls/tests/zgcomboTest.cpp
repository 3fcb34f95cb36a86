#include "controls/zgcombo.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>

#include "controls/EditorClasses.h"
#include "controls/tests/LabelFixture.h"
#include "controls/tests/StandInTheme.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/ScrollBars.h"

namespace controls {
namespace {

using namespace platform;

class ZGComboTest : public test::LabelTest {
protected:
  TZGComboBox& MakeCombo() {
    Show(220, 80);
    form_->SetColor(clBtnFace);
    auto* combo = new TZGComboBox(form_.get());
    combo->SetParent(form_.get());
    combo->SetBounds(20, 20, 150, 0);
    combo->Items().Add("Alpha");
    combo->Items().Add("Beta");
    combo->Items().Add("Gamma");
    combo->SetItemIndex(1);
    auto* other = new TEdit(form_.get());  // takes the focus away from the combo
    other->SetParent(form_.get());
    other->SetBounds(20, 50, 60, 20);
    other->SetFocus();
    Settle();
    return *combo;
  }
};

TEST_F(ZGComboTest, StartsFlatWithAScrollBarWideButton) {
  TZGComboBox& combo = MakeCombo();
  EXPECT_TRUE(combo.Flat());
  EXPECT_FALSE(combo.Etched());
  EXPECT_FALSE(combo.FocusBorder());
  EXPECT_FALSE(combo.AutoFocus());
  EXPECT_EQ(combo.ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 2);
  EXPECT_EQ(combo.ButtonRect().Width(), combo.ButtonWidth());
}

TEST_F(ZGComboTest, ButtonWidthTakesOnly14To32) {
  TZGComboBox& combo = MakeCombo();
  struct Case {
    int value;
    int expected;
  } cases[] = {{14, 14}, {13, 14}, {32, 32}, {33, 32}, {0, 32}, {20, 20}};
  for (const Case& c : cases) {
    combo.SetButtonWidth(c.value);
    EXPECT_EQ(combo.ButtonWidth(), c.expected) << c.value;
    EXPECT_EQ(combo.ButtonRect().Width(), c.expected) << c.value;  // the press area follows
  }
}

TEST_F(ZGComboTest, DropWidthZeroLeavesTheListAsWideAsTheCombo) {
  TZGComboBox& combo = MakeCombo();
  struct Case {
    int dropWidth;
    int listWidth;
  } cases[] = {{0, 150}, {240, 240}, {0, 240}};  // 0 does not touch a width set before
  for (const Case& c : cases) {
    combo.SetDropWidth(c.dropWidth);
    EXPECT_EQ(combo.DropWidth(), c.dropWidth);
    EXPECT_EQ(combo.DropDownRect().Width(), c.listWidth) << c.dropWidth;
  }
}

TEST_F(ZGComboTest, DisablingShowsTheParentsColourAndEnablingBringsBackItsOwn) {
  TZGComboBox& combo = MakeCombo();
  combo.SetColor(clYellow);
  Settle();
  const TPoint field{120, 30};  // a form client point in the combo's field, right of its text
  EXPECT_EQ(Pixel(field.X, field.Y), ColorToRGB(clYellow));
  combo.SetEnabled(false);
  EXPECT_TRUE(combo.ParentColor());
  EXPECT_EQ(Pixel(field.X, field.Y), ColorToRGB(clBtnFace));
  combo.SetEnabled(true);
  EXPECT_FALSE(combo.ParentColor());
  EXPECT_EQ(combo.Color(), clYellow);
  EXPECT_EQ(Pixel(field.X, field.Y), ColorToRGB(clYellow));

  combo.SetFlat(false);  // without the flat look the colour stays
  combo.SetEnabled(false);
  EXPECT_EQ(combo.Color(), clYellow);
}

TEST_F(ZGComboTest, HoverAndFocusRaiseTheButtonAndWithFocusBorderTheFrame) {
  TZGComboBox& combo = MakeCombo();
  combo.SetFocusBorder(true);
  const TRect frame = Bounds(20, 20, combo.Width(), combo.Height());
  const int shadowBefore = Count(clBtnShadow, frame);
  Screenshot("zgcombo_flat");

  Input().MouseMove(At(combo, 20, 5));
  Settle();
  EXPECT_TRUE(combo.MouseInside());
  const int shadowHot = Count(clBtnShadow, frame);
  EXPECT_GT(shadowHot, shadowBefore);
  Screenshot("zgcombo_hover");

  Input().MouseMove(At(*form_, 5, 5));
  Settle();
  EXPECT_FALSE(combo.MouseInside());
  EXPECT_EQ(Count(clBtnShadow, frame), shadowBefore);

  combo.SetFocus();
  Settle();
  EXPECT_EQ(Count(clBtnShadow, frame), shadowHot);
  Screenshot("zgcombo_focused");
}

TEST_F(ZGComboTest, AutoFocusTakesTheFocusWhenTheMouseEnters) {
  TZGComboBox& combo = MakeCombo();
  combo.SetAutoFocus(true);
  Input().MouseMove(At(combo, 20, 5));
  Settle();
  EXPECT_TRUE(combo.Focused());
}

// The grid's handlers may free its combo editor as the focus comes or goes or the mouse enters.
TEST_F(ZGComboTest, HandlersMayFreeTheCombo) {
  TZGComboBox* combo = nullptr;
  auto freeCombo = [&combo](TObject*) { delete std::exchange(combo, nullptr); };
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"OnEnter", [&] { combo->OnEnter = freeCombo; combo->SetFocus(); }},
      {"OnExit",
       [&] {
         combo->SetFocus();
         combo->OnExit = freeCombo;
         auto* next = new TEdit(form_.get());
         next->SetParent(form_.get());
         next->SetFocus();
       }},
      {"OnMouseEnter",
       [&] {
         combo->OnMouseEnter = freeCombo;
         Input().MouseMove(At(*combo, combo->ClientWidth() - 5, 5));
       }},
  };
  for (const auto& [what, act] : cases) {
    SCOPED_TRACE(what);
    combo = &MakeCombo();
    act();
    Settle();
    EXPECT_EQ(combo, nullptr);
    Input().MouseMove(At(*form_, 5, 5));
    Settle();
  }
}

TEST_F(ZGComboTest, TheDropButtonOpensTheListAndItsEdgeFollows) {
  TZGComboBox& combo = MakeCombo();
  Input().Click(At(combo, combo.ClientWidth() - 5, 5));
  Settle();
  ASSERT_TRUE(combo.DroppedDown());
  Screenshot("zgcombo_dropped_list");  // the open list is the last window
  form_->Invalidate();
  Settle();
  Input().SaveScreenshot(Input().Windows().front(), std::string(CONTROLS_ARTEFACTS) + "/zgcombo_dropped.png");
}

// The drop button's rectangle in the combo's client coordinates, where the theme draws its part.
TRect DropButton(const TZGComboBox& combo) {
  TRect button = Rect(combo.ClientWidth() - combo.ButtonWidth(), 0, combo.ClientWidth(), combo.ClientHeight());
  InflateRect(button, -1, -1);
  return button;
}

TEST_F(ZGComboTest, ThemedButtonDrawsTheComboboxDropButtonPressedWhileTheMouseIsDown) {
  using namespace velmora::xpvs;
  using test::StandInTheme;
  TZGComboBox& combo = MakeCombo();
  StandInTheme theme;
  combo.SetThemedButton(true);
  Settle();
  Screenshot("zgcombo_themed");
  const TRect button = DropButton(combo);
  TRect inside = button;  // the button's edge is drawn over the part
  InflateRect(inside, -1, -1);
  EXPECT_EQ(Count(StandInTheme::Marker(CP_DROPDOWNBUTTON), OnForm(combo, inside)), inside.Width() * inside.Height());

  auto expectDraw = [&](int state) {
    const StandInTheme::Draw* draw = theme.LastDraw(CP_DROPDOWNBUTTON);
    ASSERT_NE(draw, nullptr);
    EXPECT_EQ(draw->themeClass, "combobox");
    EXPECT_EQ(draw->window, combo.Handle());
    EXPECT_EQ(draw->rect, button);
    EXPECT_EQ(draw->state, state);
  };
  expectDraw(CBXS_NORMAL);
  const TPoint onButton = At(combo, combo.ClientWidth() - 5, 5);
  Input().MouseDown(TMouseButtonKind::Left, onButton);  // drops the list, which repaints the button
  Settle();
  ASSERT_TRUE(combo.DroppedDown());
  expectDraw(CBXS_PRESSED);
  Input().MouseUp(TMouseButtonKind::Left, onButton);
  combo.Invalidate();
  Settle();
  expectDraw(CBXS_NORMAL);
  combo.SetDroppedDown(false);
  Settle();
  EXPECT_EQ(theme.OpenThemes(), 0);
  EXPECT_EQ(theme.BadCloses(), 0);
}

TEST_F(ZGComboTest, WithoutThemedButtonOrAThemeTheDropButtonDrawsClassic) {
  using test::StandInTheme;
  using Library = StandInTheme::Library;
  TZGComboBox& combo = MakeCombo();
  const TRect buttonOnForm = OnForm(combo, DropButton(combo));
  const std::vector<uint32_t> classic = Pixels(buttonOnForm);
  struct Case {
    bool themedButton;
    Library library;
    bool opens;
  } cases[] = {{false, Library::Opening, false}, {true, Library::Absent, false}, {true, Library::FailingToOpen, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "themed " << c.themedButton << " library " << int(c.library));
    const std::optional<StandInTheme> theme = StandInTheme::For(c.library);
    combo.SetThemedButton(c.themedButton);
    combo.Invalidate();
    EXPECT_EQ(Pixels(buttonOnForm), classic);
    if (theme) {
      EXPECT_EQ(theme->Opens() > 0, c.opens);
      EXPECT_TRUE(theme->Draws().empty());
    }
  }
}

TEST(EditorClassesTest, FormResourcesMakeTheComboWithItsProperties) {
  PublishEditorClasses();
  TForm form(nullptr);
  ReadFormText(form,
               "F: TForm { C: TZGComboBox { Items = list(\"a\", \"b\") ButtonWidth = 20 Flat = false Etched = true"
               " FocusBorder = true AutoFocus = true DropWidth = 200 } }",
               "editors", {});
  auto& combo = dynamic_cast<TZGComboBox&>(*form.FindComponent("C"));
  EXPECT_EQ(combo.Items().Count(), 2);
  EXPECT_EQ(combo.ButtonWidth(), 20);
  EXPECT_FALSE(combo.Flat());
  EXPECT_TRUE(combo.Etched());
  EXPECT_TRUE(combo.FocusBorder());
  EXPECT_TRUE(combo.AutoFocus());
  EXPECT_EQ(combo.DropWidth(), 200);
}

}  // namespace
}  // namespace controls
