#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/TestFont.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

class StdControlsTest : public FormTest {
protected:
  std::unique_ptr<TForm> TestForm() {
    auto form = ShowForm(300, 200);
    form->Font().SetName(kTestFontName);
    form->Font().SetHeight(-16);  // test font: advance 8, height 16
    return form;
  }
  template <class T>
  T* Make(TWinControl* parent, TRect bounds, const std::string& caption = {}) {
    auto* control = new T(parent);
    control->SetParent(parent);
    control->SetBoundsRect(bounds);
    if (!caption.empty()) control->SetCaption(caption);
    return control;
  }
};

TEST_F(StdControlsTest, LabelSizesItselfToItsTextKeepingTheAnchoredSide) {
  auto form = TestForm();
  struct Case {
    TAlignment alignment;
    std::string caption;
    int left, width, height;
  } cases[] = {
      {TAlignment::taLeftJustify, "Host", 100, 32, 16},
      {TAlignment::taRightJustify, "Host", 100 + 65 - 32, 32, 16},  // the right edge stays
      {TAlignment::taCenter, "Hosts", 100 + (65 - 40) / 2, 40, 16},
      {TAlignment::taLeftJustify, "&Save", 100, 32, 16},  // the "&" takes no room
      {TAlignment::taLeftJustify, "", 100, 8, 16},        // an empty label keeps a line's height
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetBounds(100, 10, 65, 17);
    label->SetAlignment(c.alignment);
    label->SetCaption("x");
    label->SetBounds(100, 10, 65, 17);
    label->SetCaption(c.caption);
    EXPECT_EQ(label->Left(), c.left);
    EXPECT_EQ(label->Width(), c.width);
    EXPECT_EQ(label->Height(), c.height);
    delete label;
  }
}

TEST_F(StdControlsTest, WordWrappedLabelKeepsItsWidthAndGrowsDown) {
  auto form = TestForm();
  auto* label = Make<TLabel>(form.get(), Bounds(0, 0, 80, 17));
  label->SetWordWrap(true);
  label->SetCaption("one two three four");  // 8 px a character: "one two" fits in 80, then "three four"
  EXPECT_EQ(label->Width(), 80);
  EXPECT_EQ(label->Height(), 32);
  label->SetAutoSize(false);
  label->SetCaption("one");
  EXPECT_EQ(label->Height(), 32);
}

TEST_F(StdControlsTest, AltWithALabelsMnemonicFocusesItsFocusControl) {
  auto form = TestForm();
  auto* first = Make<TButton>(form.get(), Bounds(10, 100, 75, 25), "First");
  auto* target = Make<TCheckBox>(form.get(), Bounds(10, 130, 97, 17), "Target");
  auto* label = Make<TLabel>(form.get(), Bounds(10, 10, 65, 17), "&Name");
  label->SetFocusControl(target);
  first->SetFocus();
  Settle();
  Input().PressKey('N', bsAlt);
  Settle();
  EXPECT_TRUE(target->Focused());
  EXPECT_FALSE(target->Checked());  // the label only moves the focus

  // Without ShowAccelChar the "&" is text and no mnemonic.
  first->SetFocus();
  label->SetShowAccelChar(false);
  Input().PressKey('N', bsAlt);
  Settle();
  EXPECT_TRUE(first->Focused());

  // A destroyed focus control is forgotten.
  delete target;
  label->SetShowAccelChar(true);
  Input().PressKey('N', bsAlt);
  Settle();
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(StdControlsTest, EnterAndEscapePressTheDefaultAndCancelButtons) {
  auto form = TestForm();
  std::vector<std::string> clicks;
  auto* ok = Make<TButton>(form.get(), Bounds(10, 10, 75, 25), "OK");
  auto* cancel = Make<TButton>(form.get(), Bounds(90, 10, 75, 25), "Cancel");
  auto* box = Make<TCheckBox>(form.get(), Bounds(10, 50, 97, 17), "Box");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  ok->OnClick = [&](TObject*) { clicks.push_back("ok"); };
  cancel->OnClick = [&](TObject*) { clicks.push_back("cancel"); };

  box->SetFocus();
  Input().PressKey(VK_RETURN);
  Settle();
  EXPECT_EQ(form->ModalResult(), mrOk);
  form->SetModalResult(mrNone);
  Input().PressKey(VK_ESCAPE);
  Settle();
  EXPECT_EQ(form->ModalResult(), mrCancel);

  // Enter presses the focused button, not the default one.
  form->SetModalResult(mrNone);
  cancel->SetFocus();
  Input().PressKey(VK_RETURN);
  Settle();
  EXPECT_EQ(form->ModalResult(), mrCancel);
  // Space presses the focused button on release; Alt with its mnemonic too.
  Input().PressKey(VK_SPACE, 0, " ");
  Settle();
  EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel", "cancel", "cancel"}));
  ok->SetCaption("&Accept");
  Input().PressKey('A', bsAlt);
  Settle();
  EXPECT_EQ(clicks.back(), "ok");

  // A disabled default button is not pressed.
  ok->SetEnabled(false);
  box->SetFocus();
  form->SetModalResult(mrNone);
  Input().PressKey(VK_RETURN);
  Settle();
  EXPECT_EQ(form->ModalResult(), mrNone);
}

TEST_F(StdControlsTest, ButtonClicksOnlyWhenReleasedOverIt) {
  auto form = TestForm();
  int clicks = 0;
  auto* button = Make<TButton>(form.get(), Bounds(10, 10, 75, 25), "Go");
  button->OnClick = [&](TObject*) { ++clicks; };
  Input().Click(At(*button, 5, 5));
  Settle();
  EXPECT_EQ(clicks, 1);
  Input().MouseDown(TMouseButtonKind::Left, At(*button, 5, 5));
  Input().MouseMove(At(*button, 150, 5));
  Input().MouseUp(TMouseButtonKind::Left, At(*button, 150, 5));
  Settle();
  EXPECT_EQ(clicks, 1);
}

TEST_F(StdControlsTest, CheckBoxCyclesItsStates) {
  auto form = TestForm();
  auto* box = Make<TCheckBox>(form.get(), Bounds(10, 10, 97, 17), "Log");
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  using S = TCheckBoxState;
  struct Case {
    bool allowGrayed;
    std::vector<S> states;  // after each click, from unchecked
  } cases[] = {
      {false, {S::cbChecked, S::cbUnchecked, S::cbChecked}},
      {true, {S::cbChecked, S::cbGrayed, S::cbUnchecked, S::cbChecked}},
  };
  for (const Case& c : cases) {
    box->SetState(S::cbUnchecked);
    box->SetAllowGrayed(c.allowGrayed);
    clicks = 0;
    for (S expected : c.states) {
      Input().Click(At(*box, 3, 8));
      Settle();
      EXPECT_EQ(box->State(), expected);
    }
    EXPECT_EQ(clicks, static_cast<int>(c.states.size()));
  }
  // Space toggles the focused box; setting Checked from code runs OnClick once, and only on a change.
  box->SetState(S::cbUnchecked);
  box->SetFocus();
  Input().PressKey(VK_SPACE, 0, " ");
  Settle();
  EXPECT_TRUE(box->Checked());
  clicks = 0;
  box->SetChecked(true);
  box->SetChecked(false);
  EXPECT_EQ(clicks, 1);
}

TEST_F(StdControlsTest, RadioButtonsOfOneParentExcludeEachOther) {
  auto form = TestForm();
  auto* a = Make<TRadioButton>(form.get(), Bounds(10, 10, 100, 17), "A");
  auto* b = Make<TRadioButton>(form.get(), Bounds(10, 30, 100, 17), "B");
  auto* elsewhere = Make<TRadioButton>(form.get(), Bounds(10, 50, 100, 17), "C");
  auto* panel = new TWinControl(form.get());
  panel->SetParent(form.get());
  elsewhere->SetParent(panel);
  elsewhere->SetChecked(true);
  a->SetChecked(true);
  Input().Click(At(*b, 3, 8));
  Settle();
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(elsewhere->Checked());
  // Clicking the checked one again keeps it checked.
  Input().Click(At(*b, 3, 8));
  Settle();
  EXPECT_TRUE(b->Checked());
}

}  // namespace
}  // namespace platform
