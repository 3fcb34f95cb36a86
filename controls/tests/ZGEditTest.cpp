#include "controls/ZGEdit.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls/EditorClasses.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/MenuWindows.h"
#include "platform/ui/VirtualKeys.h"
#include "controls/tests/LabelFixture.h"

namespace controls {
namespace {

using namespace platform;

// Edits with button on a shown form in the test font (every character 8 pixels wide), beside a plain
// edit that holds the focus at the start.
class ZgEditTest : public test::LabelTest {
protected:
  void SetUp() override {
    LabelTest::SetUp();
    Show(260, 120);
    form_->SetColor(clBtnFace);
    form_->Font().SetName(kTestFontName);
    form_->Font().SetHeight(-16);
    other_ = new TEdit(form_.get());
    other_->SetParent(form_.get());
    other_->SetBounds(150, 80, 60, 24);
    other_->SetFocus();
  }
  void TearDown() override {
    CloseMenus();
    LabelTest::TearDown();
  }
  template <class T>
  T& Make(int top = 20) {
    auto* edit = new T(form_.get());
    edit->SetParent(form_.get());
    edit->SetBounds(20, top, 120, 24);
    edit->OnClickBtn = [this](TObject* sender) { clicks_.push_back(sender); };
    Settle();
    return *edit;
  }
  TPoint AtButton(const TZgEditBtn& edit) { return At(edit.Button(), 5, 5); }
  TRect TextRect(TZgEditBtn& edit) {
    TRect r;
    edit.Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }

  TEdit* other_ = nullptr;
  std::vector<TObject*> clicks_;
};

TEST_F(ZgEditTest, TheButtonDocksInsideTheRightEdgeAndTheTextEndsBeforeIt) {
  TZgEditBtn& edit = Make<TZgEditBtn>();
  EXPECT_EQ(edit.Text(), "0");
  struct Case {
    TBorderStyle border;
    int buttonWidth;
    TRect button;  // in the edit's client coordinates
    TRect text;
  } cases[] = {
      // A border takes 2 pixels a side: a client area of 116 x 20.
      {TBorderStyle::bsSingle, 15, Rect(100, 0, 115, 19), Rect(1, 1, 98, 21)},
      {TBorderStyle::bsSingle, 24, Rect(91, 0, 115, 19), Rect(1, 1, 89, 21)},
      {TBorderStyle::bsSingle, 9, Rect(100, 0, 115, 19), Rect(1, 1, 98, 21)},  // never below 15
      {TBorderStyle::bsNone, 15, Rect(103, 0, 118, 22), Rect(2, 2, 102, 25)},
  };
  for (const Case& c : cases) {
    edit.SetBorderStyle(c.border);
    edit.SetButtonWidth(c.buttonWidth);
    Settle();
    EXPECT_EQ(edit.Button().BoundsRect(), c.button) << c.buttonWidth;
    EXPECT_EQ(edit.Button().Button().BoundsRect(), Rect(0, 0, c.button.Width(), c.button.Height()));
    EXPECT_EQ(TextRect(edit), c.text) << c.buttonWidth;
  }
  edit.SetHeight(4);  // raised to what the font needs
  EXPECT_GE(edit.Height(), 16);
}

TEST_F(ZgEditTest, WithoutEditorEnabledTheUserCannotChangeTheTextButTheButtonAndF4Work) {
  TZgEditBtn& edit = Make<TZgEditBtn>();
  edit.SetEditorEnabled(false);
  edit.SetFocus();
  Clipboard().SetAsText("pasted");
  Press(VK_END);
  Type("12");
  Press(VK_BACK);
  Press(VK_HOME);
  Press(VK_DELETE);
  edit.PasteFromClipboard();
  Input().PressKey('V', bsCtrl);
  Backend().SetPrimarySelection("selected");
  Input().Click(At(edit, 10, 10), TMouseButtonKind::Middle);
  edit.SelectAll();
  edit.CutToClipboard();
  Settle();
  EXPECT_EQ(edit.Text(), "0");
  EXPECT_EQ(Clipboard().AsText(), "pasted");
  EXPECT_TRUE(clicks_.empty());
  Press(VK_F4);
  Input().Click(AtButton(edit));
  Settle();
  EXPECT_EQ(clicks_, (std::vector<TObject*>{&edit, &edit.Button()}));

  edit.SetEditorEnabled(true);  // the same keys change the text again
  Press(VK_END);
  Type("12");
  EXPECT_EQ(edit.Text(), "012");
}

TEST_F(ZgEditTest, APressOnTheButtonClicksAtOnceAndFocusesTheEdit) {
  TZgEditBtn& edit = Make<TZgEditBtn>();
  Input().MouseDown(TMouseButtonKind::Left, AtButton(edit));
  Settle();
  EXPECT_EQ(clicks_.size(), 1u);  // before the release
  EXPECT_TRUE(edit.Focused());
  Input().MouseUp(TMouseButtonKind::Left, AtButton(edit));
  Settle();
  EXPECT_EQ(clicks_.size(), 1u);
  EXPECT_EQ(edit.Button().Button().State(), TButtonState::bsUp);

  // A focus control that goes is forgotten.
  auto* target = new TEdit(form_.get());
  edit.Button().SetFocusControl(target);
  delete target;
  EXPECT_EQ(edit.Button().FocusControl(), nullptr);
}

TEST_F(ZgEditTest, TheUnitMenuListsTheUnitsAndTheChoiceBecomesTheUnit) {
  TZgUnitEditBtn& edit = Make<TZgUnitEditBtn>();
  EXPECT_TRUE(edit.RightAlign());
  EXPECT_EQ(edit.UnitSpace(), 20);
  EXPECT_EQ(TextRect(edit), Rect(1, 1, 78, 21));  // the unit's space kept free right of the text
  EXPECT_EQ(LParamX(edit.Perform(EM_POSFROMCHAR, 1)), 77);  // right-aligned text, a pixel for the caret
  edit.Units().SetText("ms\ns\nmin\n");
  Input().Click(AtButton(edit));
  Settle();
  ASSERT_EQ(OpenMenuWindows().size(), 1u);
  TMenuWindow& menu = *OpenMenuWindows()[0];
  EXPECT_EQ(menu.BoundsRect().TopLeft(), edit.ClientToScreen({116 - 15 - 2, 20 - 2}));
  ASSERT_EQ(menu.ParentItem()->Count(), 3);
  std::vector<std::string> captions;
  for (int i = 0; i < 3; ++i) captions.push_back(menu.ParentItem()->Items(i)->Caption());
  EXPECT_EQ(captions, (std::vector<std::string>{"ms", "s", "min"}));
  EXPECT_EQ(edit.Button().Button().State(), TButtonState::bsUp);  // the menu took the mouse

  const TRect second = menu.ItemRect(1);
  Input().Click(menu.ClientToScreen({second.Left + 5, (second.Top + second.Bottom) / 2}));
  Settle();
  EXPECT_TRUE(OpenMenuWindows().empty());
  EXPECT_EQ(edit.UnitID(), "s");
  EXPECT_TRUE(clicks_.empty());  // the unit edit's button opens the menu only
  const TPoint unitArea = form_->ScreenToClient(edit.ClientToScreen({80, 10}));
  EXPECT_GT(Count(clWindowText, Rect(unitArea.X - 2, unitArea.Y - 8, unitArea.X + 18, unitArea.Y + 8)), 10);
  Screenshot("zgedit_unit");
}

TEST_F(ZgEditTest, AUnitMenuCommandIsCheckedAgainstTheUnitsOfTheMomentItIsChosen) {
  TZgUnitEditBtn& edit = Make<TZgUnitEditBtn>();
  edit.SetUnitID("s");
  edit.Units().SetText("ms\ns\nmin\n");
  edit.SetFocus();
  Press(VK_F4);
  ASSERT_EQ(OpenMenuWindows().size(), 1u);
  edit.Units().SetText("ms\n");  // shortened while the menu is open
  Press(VK_UP);                  // the last row, "min", command 3
  Press(VK_RETURN);
  EXPECT_EQ(edit.UnitID(), "s");

  edit.Units().Clear();  // an empty list opens an empty menu
  Press(VK_F4);
  ASSERT_EQ(OpenMenuWindows().size(), 1u);
  EXPECT_EQ(OpenMenuWindows()[0]->ParentItem()->Count(), 0);
  Press(VK_ESCAPE);
}

TEST_F(ZgEditTest, AnEditDestroyedWithItsMenuOpenClosesTheMenu) {
  auto* edit = &Make<TZgUnitEditBtn>();
  edit->Units().Add("ms");
  edit->BtnClick(edit);
  ASSERT_EQ(OpenMenuWindows().size(), 1u);
  delete edit;
  EXPECT_TRUE(OpenMenuWindows().empty());
  Settle();
}

// Pictures for a person to look at, in the user interface's font (nothing is compared).
TEST_F(ZgEditTest, Screenshots) {
  form_->Font().Assign(TFont());
  TZgEditBtn& plain = Make<TZgEditBtn>(10);
  plain.SetButtonCaption("...");
  plain.SetText("C:\\hosts.ini");
  TZgUnitEditBtn& unit = Make<TZgUnitEditBtn>(44);
  unit.SetButtonCaption("...");
  unit.SetText("250");
  unit.SetUnitID("ms");
  unit.Units().SetText("ms\ns\nmin\n");
  Screenshot("zgedit");
  unit.SetFocus();
  Press(VK_F4);
  Screenshot("zgedit_menu");
}

TEST(EditButtonClassesTest, FormResourcesMakeTheEditsWithTheirProperties) {
  PublishEditorClasses();
  TForm form(nullptr);
  ReadFormText(form,
               "F: TForm { E: TZgEditBtn { EditorEnabled = false ButtonWidth = 20 ButtonCaption = \"...\" Text = \"a\" }"
               " U: TZgUnitEditBtn { Units = list(\"ms\", \"s\") UnitID = \"s\" UnitSpace = 30 RightAlign = false } }",
               "editors", {});
  auto& edit = dynamic_cast<TZgEditBtn&>(*form.FindComponent("E"));
  EXPECT_FALSE(edit.EditorEnabled());
  EXPECT_EQ(edit.ButtonWidth(), 20);
  EXPECT_EQ(edit.ButtonCaption(), "...");
  EXPECT_EQ(edit.Text(), "a");
  auto& unit = dynamic_cast<TZgUnitEditBtn&>(*form.FindComponent("U"));
  EXPECT_EQ(unit.Units().Text(), "ms\r\ns\r\n");
  EXPECT_EQ(unit.UnitID(), "s");
  EXPECT_EQ(unit.UnitSpace(), 30);
  EXPECT_FALSE(unit.RightAlign());
}

}  // namespace
}  // namespace controls
