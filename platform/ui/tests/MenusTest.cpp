#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/MenuWindows.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

// A form with a check box that records the keys it sees, a main menu "&File" (&Open, a separator,
// &Save Ctrl+S, &Recent with items, a disabled &Print Ctrl+P) and "&View" (&Grid), and a pop-up menu
// on the check box.
class MenusTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form = ShowForm(300, 200);
    box = new TCheckBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(10, 40, 100, 17);
    box->OnKeyDown = [this](TObject*, WORD& key, TShiftState) { seen.push_back("key " + std::to_string(key)); };
    box->OnKeyPress = [this](TObject*, char32_t& key) { seen.push_back("char " + std::to_string(key)); };
    menu = new TMainMenu(form.get());
    file = Item(menu->Items(), "&File");
    open = Item(file, "&Open");
    Item(file, "-");
    save = Item(file, "&Save", ShortCut('S', {TShiftStateFlag::ssCtrl}));
    recent = Item(file, "&Recent");
    first = Item(recent, "&1 hosts.ini");
    print = Item(file, "&Print", ShortCut('P', {TShiftStateFlag::ssCtrl}));
    print->SetEnabled(false);
    view = Item(menu->Items(), "&View");
    grid = Item(view, "&Grid");
    SetMainMenu(*form, menu);
    popup = new TPopupMenu(form.get());
    copy = Item(popup->Items(), "&Copy", ShortCut('C', {TShiftStateFlag::ssCtrl}));
    box->SetPopupMenu(popup);
    box->SetFocus();
    Settle();
  }
  void TearDown() override {
    CloseMenus();
    form.reset();
    FormTest::TearDown();
  }
  TMenuItem* Item(TMenuItem* parent, const std::string& caption, TShortCut shortCut = 0) {
    auto* item = new TMenuItem(form.get());
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    item->OnClick = [this, caption](TObject*) { seen.push_back("click " + caption); };
    parent->Add(item);
    return item;
  }
  TMenuBar& Bar() {
    for (int i = 0; i < form->ControlCount(); ++i)
      if (auto* bar = dynamic_cast<TMenuBar*>(form->Controls(i))) return *bar;
    throw Exception("no menu bar");
  }
  TMenuWindow* Open(size_t depth) { return OpenMenuWindows().size() > depth ? OpenMenuWindows()[depth] : nullptr; }
  void Press(int key, unsigned shift = 0, std::string_view text = {}) {
    Input().PressKey(key, shift, text);
    Settle();
  }
  TPoint AtItem(TMenuWindow& window, int index) {
    const TRect r = window.ItemRect(index);
    return window.ClientToScreen({r.Left + 5, (r.Top + r.Bottom) / 2});
  }

  std::unique_ptr<TForm> form;
  TCheckBox* box = nullptr;
  TMainMenu* menu = nullptr;
  TPopupMenu* popup = nullptr;
  TMenuItem *file, *open, *save, *recent, *first, *print, *view, *grid, *copy;
  std::vector<std::string> seen;
};

TEST_F(MenusTest, ShortcutsReachTheItemBeforeTheFocusedControl) {
  Press('S', bsCtrl, "\x13");
  Press('C', bsCtrl, "\x03");  // the focused control's pop-up menu
  EXPECT_EQ(seen, (std::vector<std::string>{"click &Save", "click &Copy"}));
  // A disabled item, or one without the shortcut, leaves the key to the control.
  seen.clear();
  Press('P', bsCtrl);
  Press('S');
  EXPECT_EQ(seen, (std::vector<std::string>{"key 80", "key 83"}));
  // A hidden parent hides its items' shortcuts.
  seen.clear();
  file->SetVisible(false);
  Press('S', bsCtrl);
  EXPECT_EQ(seen, (std::vector<std::string>{"key 83"}));
}

TEST_F(MenusTest, AltSelectsTheMenuBarAndTheArrowsWalkIt) {
  Input().KeyDown(VK_MENU, bsAlt);
  Input().KeyUp(VK_MENU);
  Settle();
  seen.clear();  // the control saw Alt go down, as controls do
  EXPECT_EQ(Bar().Selected(), 0);
  EXPECT_EQ(Open(0), nullptr);
  Press(VK_RIGHT);
  EXPECT_EQ(Bar().Selected(), 1);
  Press(VK_RIGHT);  // wraps
  EXPECT_EQ(Bar().Selected(), 0);
  Press(VK_DOWN);  // opens "File" with its first item selected
  ASSERT_NE(Open(0), nullptr);
  EXPECT_EQ(Open(0)->ParentItem(), file);
  EXPECT_EQ(Open(0)->Selected(), 0);
  Press(VK_DOWN);  // past the separator
  EXPECT_EQ(Open(0)->Selected(), 2);
  Press(VK_DOWN);
  Press(VK_RIGHT);  // into "Recent"
  ASSERT_NE(Open(1), nullptr);
  EXPECT_EQ(Open(1)->ParentItem(), recent);
  Press(VK_LEFT);  // back out of it
  EXPECT_EQ(Open(1), nullptr);
  Press(VK_LEFT);  // the previous entry of the bar (wrapping), opened
  EXPECT_EQ(Open(0)->ParentItem(), view);
  Press(VK_RETURN);
  EXPECT_EQ(seen, (std::vector<std::string>{"click &Grid"}));
  EXPECT_EQ(Open(0), nullptr);
  EXPECT_FALSE(Bar().Active());
  // Escape steps back: the open menu closes, then the bar lets go; no key reached the control.
  Press(VK_F10);
  Press(VK_DOWN);
  Press(VK_ESCAPE);
  EXPECT_EQ(Open(0), nullptr);
  EXPECT_TRUE(Bar().Active());
  Press(VK_ESCAPE);
  EXPECT_FALSE(Bar().Active());
  EXPECT_EQ(seen, (std::vector<std::string>{"click &Grid"}));
}

TEST_F(MenusTest, AltWithAMnemonicOpensTheEntryAndLettersChooseItems) {
  Press('F', bsAlt);
  ASSERT_NE(Open(0), nullptr);
  EXPECT_EQ(Open(0)->ParentItem(), file);
  Press('R', 0, "r");  // opens the sub-menu
  ASSERT_NE(Open(1), nullptr);
  Press('1', 0, "1");
  EXPECT_EQ(seen, (std::vector<std::string>{"click &1 hosts.ini"}));  // no character reached the box
  EXPECT_EQ(Open(0), nullptr);
  // A disabled item's mnemonic does nothing.
  Press('F', bsAlt);
  Press('P', 0, "p");
  EXPECT_NE(Open(0), nullptr);
  EXPECT_EQ(seen.size(), 1u);
}

TEST_F(MenusTest, MouseOpensTheBarsEntriesAndAPressOutsideClosesThem) {
  const TRect entry = Bar().EntryRect(0);
  Input().Click(Bar().ClientToScreen({entry.Left + 3, entry.Top + 3}));
  Settle();
  ASSERT_NE(Open(0), nullptr);
  Input().MouseMove(AtItem(*Open(0), 3));  // "Recent" opens on hover
  Settle();
  ASSERT_NE(Open(1), nullptr);
  Input().Click(AtItem(*Open(1), 0));
  Settle();
  EXPECT_EQ(seen, (std::vector<std::string>{"click &1 hosts.ini"}));
  EXPECT_EQ(Open(0), nullptr);

  Input().Click(Bar().ClientToScreen({entry.Left + 3, entry.Top + 3}));
  Settle();
  Input().Click(form->ClientToScreen({250, 150}));
  Settle();
  EXPECT_EQ(Open(0), nullptr);
  EXPECT_EQ(seen.size(), 1u);  // the press that closed the menu reached nothing
}

TEST_F(MenusTest, AComposedCharacterAfterKeysTheMenuTookReachesTheControl) {
  Press(VK_F10);   // the bar takes the keyboard
  Press(VK_DOWN);  // and opens "File"; neither key makes a character
  ASSERT_NE(Open(0), nullptr);
  Input().Click(form->ClientToScreen({250, 150}));  // closed by the mouse
  Settle();
  seen.clear();
  Input().Char("\xC3\xA4");  // a character without a key of its own, as an input method composes it
  Settle();
  EXPECT_EQ(seen, (std::vector<std::string>{"char 228"}));
}

TEST_F(MenusTest, PopupMenuOpensAtTheCursorOnRightClickAndByTheContextKey) {
  TComponent* popupFor = nullptr;
  popup->OnPopup = [&](TObject*) { popupFor = popup->PopupComponent(); };
  const TPoint at = At(*box, 20, 5);
  Input().Click(at, TMouseButtonKind::Right);
  Settle();
  ASSERT_NE(Open(0), nullptr);
  EXPECT_EQ(popupFor, box);
  EXPECT_EQ(Open(0)->BoundsRect().Left, at.X);
  EXPECT_EQ(Open(0)->BoundsRect().Top, at.Y);
  Press(VK_DOWN);
  Press(VK_RETURN);
  EXPECT_EQ(seen, (std::vector<std::string>{"click &Copy"}));
  Press(VK_APPS);
  EXPECT_NE(Open(0), nullptr);
  Press(VK_ESCAPE);
  EXPECT_EQ(Open(0), nullptr);
}

TEST_F(MenusTest, OnContextPopupComesFirstAndHandledShowsNoMenu) {
  std::vector<std::string> asked;
  bool handle = false;
  auto record = [&](const char* who) {
    return [&, who](TObject*, TPoint pos, bool& handled) {
      asked.push_back(std::string(who) + " " + std::to_string(pos.X) + "," + std::to_string(pos.Y));
      handled = handle;
    };
  };
  box->OnContextPopup = record("box");
  form->OnContextPopup = record("form");
  Input().Click(At(*box, 20, 5), TMouseButtonKind::Right);
  Settle();
  EXPECT_NE(Open(0), nullptr);  // not handled: the menu opens
  Press(VK_ESCAPE);
  Press(VK_APPS);
  EXPECT_NE(Open(0), nullptr);
  Press(VK_ESCAPE);
  EXPECT_EQ(asked, (std::vector<std::string>{"box 20,5", "box -1,-1"}));
  asked.clear();
  handle = true;
  Input().Click(At(*box, 20, 5), TMouseButtonKind::Right);
  Press(VK_APPS);
  EXPECT_EQ(Open(0), nullptr);
  EXPECT_EQ(asked, (std::vector<std::string>{"box 20,5", "box -1,-1"}));  // and the form is not asked
  // A control without a pop-up menu raises its event too, then leaves the request to its parent,
  // which sees the point in its own client coordinates.
  asked.clear();
  handle = false;
  box->SetPopupMenu(nullptr);
  Input().Click(At(*box, 20, 5), TMouseButtonKind::Right);
  Settle();
  const TPoint inForm = form->ScreenToClient(At(*box, 20, 5));
  EXPECT_EQ(asked, (std::vector<std::string>{"box 20,5", "form " + std::to_string(inForm.X) + "," +
                                                             std::to_string(inForm.Y)}));
}

TEST_F(MenusTest, APopupMenuDestroyedWhileOpenClosesItsWindows) {
  Input().Click(At(*box, 20, 5), TMouseButtonKind::Right);
  Settle();
  ASSERT_NE(Open(0), nullptr);
  delete popup;
  EXPECT_EQ(Open(0), nullptr);
  Settle();
  Press(VK_DOWN);
  Press(VK_RETURN);
  EXPECT_TRUE(seen.empty() || seen.back().rfind("click", 0) != 0);
}

TEST_F(MenusTest, RadioItemsOfAGroupAreCheckedOneAtATime) {
  TMenuItem* a = Item(view, "A");
  TMenuItem* b = Item(view, "B");
  TMenuItem* other = Item(view, "C");
  for (TMenuItem* item : {a, b, other}) item->SetRadioItem(true);
  other->SetGroupIndex(1);
  other->SetChecked(true);
  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(other->Checked());
}

TEST(ShortCutTextTest, TextAndShortCutsConvertBothWays) {
  const std::pair<std::string, TShortCut> cases[] = {
      {"Ctrl+S", static_cast<TShortCut>(scCtrl | 'S')}, {"Shift+F5", static_cast<TShortCut>(scShift | VK_F5)},
      {"Del", VK_DELETE}, {"Ctrl+Alt+1", static_cast<TShortCut>(scCtrl | scAlt | '1')}};
  for (const auto& [text, shortCut] : cases) {
    EXPECT_EQ(ShortCutToText(shortCut), text);
    EXPECT_EQ(TextToShortCut(text), shortCut);
  }
  EXPECT_EQ(TextToShortCut("ctrl+s"), static_cast<TShortCut>(scCtrl | 'S'));
  EXPECT_EQ(TextToShortCut("Hyper+Q"), 0);
}

}  // namespace
}  // namespace platform
