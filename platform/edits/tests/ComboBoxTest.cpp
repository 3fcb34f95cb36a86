#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/Png.h"
#include "platform/edits/ComboBox.h"
#include "platform/ui/DropDownWindow.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/ScrollBars.h"
#include "platform/ui/StdCtrls.h"
#include "platform/edits/Edit.h"
#include "platform/edits/EditClasses.h"
#include "platform/ui/tests/TypingFixture.h"

namespace platform {
namespace {

const std::vector<std::string> kModes = {"hide", "maximize", "minimize", "normal"};

// A combo on the test form (test font: rows 16 high, the control 24) that counts its events.
class ComboTest : public TypingTestBase {
protected:
  TComboBox* PlaceCombo(TComboBoxStyle style, const std::vector<std::string>& items, TRect bounds = Rect(10, 10, 160, 34)) {
    auto* combo = Place<TComboBox>(bounds);
    combo->SetStyle(style);
    combo->SetItems(items);
    combo->OnChange = [this](TObject*) { ++changes; };
    combo->OnDropDown = [this](TObject*) { ++dropDowns; };
    combo->OnCloseUp = [this](TObject*) { ++closeUps; };
    Settle();
    return combo;
  }
  // The screen point of a row of the open list.
  TPoint RowPoint(TComboBox& combo, int row) {
    const TRect list = combo.DropDownRect();
    return {list.Left + 10, list.Top + 1 + row * combo.ItemHeight() + combo.ItemHeight() / 2};
  }
  // The form with the pop-ups open over it, as on the screen, as artefacts/ui/NAME.png.
  void SaveSheet(const std::string& name) {
    const std::string folder = UI_ARTEFACTS;
    std::filesystem::create_directories(folder);
    std::vector<TBackendWindow> windows = Input().Windows();
    TBitmap sheet(360, 260);
    sheet.Canvas().Brush().SetColor(clWhite);
    sheet.Canvas().FillRect(Rect(0, 0, 360, 260));
    // The form and any open pop-up, each at its place on the screen, relative to the form.
    const TRect formBounds = Input().Info(form->BackendWindow()).bounds;
    for (TBackendWindow window : windows) {
      const auto& info = Input().Info(window);
      if (!info.visible) continue;
      const TRect at = Bounds(info.bounds.Left - formBounds.Left, info.bounds.Top - formBounds.Top,
                              info.shown.Width(), info.shown.Height());
      sheet.Canvas().CopyRect(at, const_cast<TBitmap&>(info.shown).Canvas(), Rect(0, 0, at.Width(), at.Height()));
    }
    SavePngFile(sheet, folder + "/" + name + ".png");
  }

  int changes = 0;
  int selects = 0;
  int dropDowns = 0;
  int closeUps = 0;
};

TEST(DropDownBounds, BelowAboveAndInsideTheScreen) {
  const TRect screen = Rect(0, 0, 1024, 768);
  struct Case {
    const char* what;
    TRect owner;
    TSize size;
    TRect expected;
  };
  const Case cases[] = {
      {"below, left edges aligned", Rect(100, 100, 250, 124), {150, 130}, Rect(100, 124, 250, 254)},
      {"just fits below", Rect(100, 614, 250, 638), {150, 130}, Rect(100, 638, 250, 768)},
      {"one pixel short below: above", Rect(100, 615, 250, 639), {150, 130}, Rect(100, 485, 250, 615)},
      {"fits neither way: the side with more room, cut to it", Rect(100, 300, 250, 324), {150, 500}, Rect(100, 324, 250, 768)},
      {"fits neither way, more room above", Rect(100, 500, 250, 524), {150, 600}, Rect(100, 0, 250, 500)},
      {"past the right edge: moved left", Rect(950, 100, 1010, 124), {200, 50}, Rect(824, 124, 1024, 174)},
      {"wider than the screen: at its left edge", Rect(10, 100, 60, 124), {1100, 50}, Rect(0, 124, 1100, 174)},
  };
  for (const Case& c : cases) EXPECT_EQ(DropDownBounds(c.owner, c.size, screen), c.expected) << c.what;
}

TEST_F(ComboTest, DropDownGeometryFollowsCountItemHeightAndDroppedWidth) {
  struct Case {
    const char* what;
    int items;
    int dropDownCount;
    int itemHeight;  // 0: the font's (16)
    int droppedWidth;
    TRect combo;     // on the form, whose client area starts at screen (100, 100)
    TRect expected;  // on the screen
  };
  const Case cases[] = {
      {"fewer items than DropDownCount", 3, 8, 0, 0, Rect(10, 10, 160, 34), Rect(110, 134, 260, 134 + 3 * 16 + 2)},
      {"DropDownCount rows", 20, 8, 0, 0, Rect(10, 10, 160, 34), Rect(110, 134, 260, 134 + 8 * 16 + 2)},
      {"ItemHeight set", 20, 5, 20, 0, Rect(10, 10, 160, 34), Rect(110, 134, 260, 134 + 5 * 20 + 2)},
      {"empty list: one row", 0, 8, 0, 0, Rect(10, 10, 160, 34), Rect(110, 134, 260, 134 + 16 + 2)},
      {"DroppedWidth wider", 3, 8, 0, 240, Rect(10, 10, 160, 34), Rect(110, 134, 350, 184)},
      {"DroppedWidth narrower: as wide as the combo", 3, 8, 0, 90, Rect(10, 10, 160, 34), Rect(110, 134, 260, 184)},
  };
  for (const Case& c : cases) {
    std::vector<std::string> items;
    for (int i = 0; i < c.items; ++i) items.push_back("item " + std::to_string(i));
    TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDownList, items, c.combo);
    combo->SetDropDownCount(c.dropDownCount);
    if (c.itemHeight) combo->Perform(CB_SETITEMHEIGHT, 0, c.itemHeight);
    combo->Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(c.droppedWidth));
    combo->SetDroppedDown(true);
    Settle();
    EXPECT_EQ(combo->DropDownRect(), c.expected) << c.what;
    delete combo;
    Settle();
  }
}

TEST_F(ComboTest, ListOpensAboveAtTheScreensBottom) {
  form->SetBounds(100, 600, 300, 150);
  Settle();
  TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDownList, kModes, Rect(10, 100, 160, 124));
  combo->SetDroppedDown(true);
  Settle();
  const TRect shown = Input().Info(Input().Windows().back()).bounds;
  const TRect comboOnScreen = ScreenBounds(*combo);
  EXPECT_EQ(shown.Bottom, comboOnScreen.Top);
  EXPECT_EQ(shown.Height(), 4 * 16 + 2);
}

TEST_F(ComboTest, SelectionFieldHeightSetsTheControlsHeight) {
  TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDown, kModes);
  EXPECT_EQ(combo->Height(), 16 + 2 + 6);
  // The grid asks for the list's height in the old way, then sizes the field to its cell.
  combo->SetHeight(combo->ItemHeight() * (combo->DropDownCount() + 1) + 20);
  EXPECT_EQ(combo->Height(), 24);
  combo->Perform(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 20 - 6);
  EXPECT_EQ(combo->Height(), 20);
  EXPECT_EQ(combo->Perform(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)), 14);
  EXPECT_EQ(combo->Perform(CB_SETITEMHEIGHT, 0, 0), CB_ERR);
}

// Keys on a focused drop-down list of the four window modes, starting from "minimize" (2).
TEST_F(ComboTest, KeyboardOfTheListStyle) {
  struct Step {
    int key;
    unsigned shift;
    const char* typed;
  };
  struct Case {
    const char* what;
    std::vector<Step> keys;
    int index;
    bool dropped;
    int changes;
  };
  const Case cases[] = {
      {"Down", {{VK_DOWN, 0, ""}}, 3, false, 1},
      {"Down at the end stays", {{VK_DOWN, 0, ""}, {VK_DOWN, 0, ""}}, 3, false, 1},
      {"Up", {{VK_UP, 0, ""}}, 1, false, 1},
      {"Right and Left step like Down and Up", {{VK_RIGHT, 0, ""}, {VK_LEFT, 0, ""}, {VK_LEFT, 0, ""}}, 1, false, 3},
      {"Home", {{VK_HOME, 0, ""}}, 0, false, 1},
      {"End", {{VK_END, 0, ""}}, 3, false, 1},
      {"Page Up by DropDownCount - 1, kept in the list", {{VK_PRIOR, 0, ""}}, 0, false, 1},
      {"F4 opens", {{VK_F4, 0, ""}}, 2, true, 0},
      {"F4 twice closes", {{VK_F4, 0, ""}, {VK_F4, 0, ""}}, 2, false, 0},
      {"Alt+Down opens", {{VK_DOWN, bsAlt, ""}}, 2, true, 0},
      {"Alt+Up closes", {{VK_DOWN, bsAlt, ""}, {VK_UP, bsAlt, ""}}, 2, false, 0},
      {"Down in the open list moves and keeps it open", {{VK_F4, 0, ""}, {VK_DOWN, 0, ""}}, 3, true, 1},
      {"Enter takes the item", {{VK_F4, 0, ""}, {VK_UP, 0, ""}, {VK_RETURN, 0, "\r"}}, 1, false, 1},
      {"Escape brings back the item from before",
       {{VK_F4, 0, ""}, {VK_UP, 0, ""}, {VK_UP, 0, ""}, {VK_ESCAPE, 0, "\x1b"}},
       2,
       false,
       3},
      {"a letter finds the next item beginning with it", {{'N', 0, "n"}}, 3, false, 1},
      {"the same letter again goes on to the next", {{'M', 0, "m"}}, 1, false, 1},
      {"a letter with no item changes nothing", {{'Z', 0, "z"}}, 2, false, 0},
      {"typed in a row: a longer prefix", {{'M', 0, "m"}, {'I', 0, "i"}}, 2, false, 2},
      {"typing in the open list", {{VK_F4, 0, ""}, {'H', 0, "h"}}, 0, true, 1},
  };
  for (const Case& c : cases) {
    TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDownList, kModes);
    combo->SetItemIndex(2);
    combo->SetFocus();
    changes = 0;
    Settle();
    for (const Step& step : c.keys) {
      Input().PressKey(step.key, step.shift, step.typed);
      Settle();
    }
    EXPECT_EQ(combo->ItemIndex(), c.index) << c.what;
    EXPECT_EQ(combo->Text(), kModes[static_cast<size_t>(c.index)]) << c.what;
    EXPECT_EQ(combo->DroppedDown(), c.dropped) << c.what;
    EXPECT_EQ(changes, c.changes) << c.what;
    delete combo;
    Settle();
  }
}

TEST_F(ComboTest, TypedPrefixStartsAnewAfterAPause) {
  TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDownList, {"alpha", "beta", "berta", "gamma"});
  combo->SetFocus();
  Type("be");
  EXPECT_EQ(combo->ItemIndex(), 1);
  Type("r");
  EXPECT_EQ(combo->ItemIndex(), 2);
  AdvanceVirtualClock(2000);
  Type("g");
  EXPECT_EQ(combo->Text(), "gamma");
}

TEST_F(ComboTest, EventsOfOpeningClosingAndChoosing) {
  TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDownList, kModes);
  combo->SetFocus();
  Press(VK_F4);
  EXPECT_EQ(dropDowns, 1);
  EXPECT_EQ(closeUps, 0);
  Press(VK_DOWN);
  Press(VK_RETURN);
  EXPECT_EQ(closeUps, 1);
  // Without OnSelect the choice runs OnChange; with it, OnSelect.
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(selects, 0);
  combo->OnSelect = [this](TObject*) { ++selects; };
  Press(VK_DOWN);
  EXPECT_EQ(selects, 1);
  EXPECT_EQ(changes, 1);
  // The program's own changes run no events.
  combo->SetItemIndex(3);
  combo->SetText("hide");
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(changes + selects, 2);
}

TEST_F(ComboTest, ListStyleRefusesATextThatIsNoItem) {
  TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDownList, kModes);
  combo->SetItemIndex(0);
  combo->SetText("Normal");
  EXPECT_EQ(combo->ItemIndex(), 3);
  combo->SetText("sideways");
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(combo->Text(), "Normal");
  combo->SetItemIndex(-1);
  EXPECT_EQ(combo->Text(), "");
  combo->SetItemIndex(7);
  EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(ComboTest, SelectionFollowsItsItemWhenTheItemsChange) {
  for (TComboBoxStyle style : {TComboBoxStyle::csDropDownList, TComboBoxStyle::csDropDown}) {
    TComboBox* combo = PlaceCombo(style, kModes);
    combo->SetItemIndex(2);
    combo->Items().Insert(0, "first");
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(combo->Text(), "minimize");
    combo->Items().Delete(3);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), style == TComboBoxStyle::csDropDown ? "minimize" : "");
    combo->Items().Clear();
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 0);
    delete combo;
  }
}

TEST_F(ComboTest, MouseOpensHoversChoosesAndClosesOutside) {
  TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDown, kModes);
  Input().Click(At(*combo, combo->ButtonRect().Left + 4, 8));
  Settle();
  ASSERT_TRUE(combo->DroppedDown());
  EXPECT_TRUE(combo->Focused());
  // Hovering moves the highlight only.
  Input().MouseMove(RowPoint(*combo, 1));
  Settle();
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(changes, 0);
  Input().Click(RowPoint(*combo, 2));
  Settle();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), "minimize");
  EXPECT_EQ(changes, 1);
  // A press outside closes the list and chooses nothing.
  Input().Click(At(*combo, combo->ButtonRect().Left + 4, 8));
  Settle();
  ASSERT_TRUE(combo->DroppedDown());
  Input().MouseMove(RowPoint(*combo, 0));
  Input().Click(At(*form, 250, 150));
  Settle();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(closeUps, 2);
}

TEST_F(ComboTest, LosingTheFocusClosesTheList) {
  TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDownList, kModes);
  auto* other = Place<TEdit>(Rect(10, 60, 100, 84));
  combo->SetFocus();
  Press(VK_F4);
  ASSERT_TRUE(combo->DroppedDown());
  other->SetFocus();
  Settle();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(closeUps, 1);
}

TEST_F(ComboTest, EditStyleTypesIntoItsEdit) {
  TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDown, kModes);
  combo->SetFocus();
  Type("nor");
  EXPECT_EQ(combo->Text(), "nor");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(changes, 3);
  Type("mal");
  EXPECT_EQ(combo->ItemIndex(), 3);
  // Home and End move the caret; the arrows choose items and select their text.
  Press(VK_HOME);
  EXPECT_EQ(combo->SelStart(), 0);
  EXPECT_EQ(combo->ItemIndex(), 3);
  Press(VK_UP);
  EXPECT_EQ(combo->Text(), "minimize");
  EXPECT_EQ(combo->SelLength(), 8);
  // The edit messages reach the edit.
  combo->Perform(CB_SETEDITSEL, 0, (8 << 16) | 3);
  EXPECT_EQ(combo->SelStart(), 3);
  EXPECT_EQ(combo->SelLength(), 5);
  combo->SetMaxLength(4);
  combo->SelectAll();
  Type("abcdef");
  EXPECT_EQ(combo->Text(), "abcd");
}

TEST_F(ComboTest, ParentHearsSelectionAndEditChanges) {
  struct TListener : TPanel {
    using TPanel::TPanel;
    std::vector<WORD> codes;
    void Dispatch(TMessage& Message) override {
      if (Message.Msg == WM_COMMAND) codes.push_back(static_cast<WORD>(Message.WParam >> 16));
      TPanel::Dispatch(Message);
    }
  };
  auto* panel = Place<TListener>(Rect(0, 0, 300, 100));
  auto* combo = new TComboBox(form.get());
  combo->SetParent(panel);
  combo->SetItems(kModes);
  combo->SetBounds(10, 10, 150, 24);
  Settle();
  combo->SetFocus();
  Press(VK_DOWN);
  Type("x");
  EXPECT_EQ(panel->codes, (std::vector<WORD>{CBN_SELCHANGE, CBN_EDITCHANGE}));
}

TEST_F(ComboTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheirOwner) {
  TComboBox* combo = PlaceCombo(TComboBoxStyle::csOwnerDrawVariable, kModes);
  combo->OnMeasureItem = [](TWinControl*, int index, int& height) { height = 10 + 4 * index; };
  std::vector<std::pair<int, bool>> drawn;  // index, drawn as the selection field
  combo->OnDrawItem = [&](TWinControl* control, int index, TRect rect, TOwnerDrawState state) {
    drawn.emplace_back(index, state.Contains(TOwnerDrawStateFlag::odComboBoxEdit));
    TCanvas& canvas = static_cast<TComboBox*>(control)->Canvas();
    canvas.Brush().SetColor(state.Contains(TOwnerDrawStateFlag::odSelected) ? clNavy : TColor(0x00C0FFC0));
    canvas.FillRect(rect);
    canvas.Brush().SetColor(TColor(0x0000FF) + index * 0x3000);
    canvas.FillRect(Rect(rect.Left + 2, rect.Top + 2, rect.Left + 2 + rect.Height() - 4, rect.Bottom - 2));
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.TextOut(rect.Left + rect.Height() + 2, rect.Top, static_cast<TComboBox*>(control)->Items().Strings(index));
  };
  combo->SetItemIndex(1);
  combo->SetFocus();
  Settle();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back(), std::make_pair(1, true));
  drawn.clear();
  Press(VK_F4);
  EXPECT_EQ(combo->DropDownRect().Height(), 10 + 14 + 18 + 22 + 2);
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), std::make_pair(2, false)), 1);
  EXPECT_EQ(std::count_if(drawn.begin(), drawn.end(), [](auto d) { return !d.second; }), 4);
  SaveSheet("combo-owner-drawn");
  // A click hits the row of its measured height.
  Input().Click({combo->DropDownRect().Left + 5, combo->DropDownRect().Top + 1 + 10 + 14 + 3});
  Settle();
  EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST_F(ComboTest, LongListScrollsByKeysAndWheel) {
  std::vector<std::string> items;
  for (int i = 0; i < 30; ++i) items.push_back("host " + std::to_string(i));
  TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDownList, items);
  combo->SetItemIndex(0);
  combo->SetFocus();
  Press(VK_F4);
  Press(VK_NEXT);
  EXPECT_EQ(combo->ItemIndex(), 7);
  Press(VK_NEXT);
  EXPECT_EQ(combo->ItemIndex(), 14);
  // The chosen row is in view: a click on the last shown row takes it.
  Input().Click(RowPoint(*combo, 7));
  Settle();
  EXPECT_EQ(combo->ItemIndex(), 14);
  Press(VK_F4);
  Input().MouseWheel(-120, RowPoint(*combo, 0));
  Settle();
  Input().Click(RowPoint(*combo, 0));
  Settle();
  EXPECT_EQ(combo->ItemIndex(), 10);
}

// A handler may free the combo while its list closes: by a click on a row, Enter, Escape, a click
// outside or the focus moving on.
TEST_F(ComboTest, HandlersMayFreeTheComboAsItsListCloses) {
  auto* other = Place<TEdit>(Rect(10, 60, 100, 84));
  struct Case {
    const char* what;
    bool inCloseUp;  // else in OnChange
    std::function<void(TPoint row)> close;
  };
  const Case cases[] = {
      {"a click on a row, OnCloseUp", true, [this](TPoint row) { Input().Click(row); }},
      {"a click on a row, OnChange", false, [this](TPoint row) { Input().Click(row); }},
      {"Enter, OnCloseUp", true, [this](TPoint) { Press(VK_RETURN); }},
      {"Escape, OnCloseUp", true, [this](TPoint) { Press(VK_ESCAPE); }},
      {"a click outside, OnCloseUp", true, [this](TPoint) { Input().Click(At(*form, 250, 150)); }},
      {"the focus moving on, OnCloseUp", true, [other](TPoint) { other->SetFocus(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDownList, kModes);
    combo->SetFocus();
    Press(VK_F4);
    ASSERT_TRUE(combo->DroppedDown());
    const TPoint row = RowPoint(*combo, 2);
    auto free = [&combo](TObject*) { delete std::exchange(combo, nullptr); };
    if (c.inCloseUp)
      combo->OnCloseUp = free;
    else
      combo->OnChange = free;
    c.close(row);
    Settle();
    EXPECT_EQ(combo, nullptr);
    delete combo;
  }
}

// Pictures for a person to look at, in a real sans face (nothing here depends on its metrics).
TEST_F(ComboTest, LongListScrollsByItsBarAndStaysOpenUntilAPressOutside) {
  std::vector<std::string> items;
  for (int i = 0; i < 30; ++i) items.push_back("host " + std::to_string(i));
  TComboBox* combo = PlaceCombo(TComboBoxStyle::csDropDownList, items);
  combo->SetFocus();
  Press(VK_F4);
  const TRect list = combo->DropDownRect();
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  // Two presses on the down arrow, one on the track below the thumb (a page of 7 rows).
  const TPoint downArrow{list.Right - 1 - bar / 2, list.Bottom - 1 - bar / 2};
  Input().Click(downArrow);
  AdvanceVirtualClock(1000);
  Input().Click(downArrow);
  Settle();
  ASSERT_TRUE(combo->DroppedDown());
  AdvanceVirtualClock(1000);
  Input().Click({downArrow.X, list.Bottom - 1 - bar - 4});
  Settle();
  AdvanceVirtualClock(1000);
  SaveSheet("combo-long-list");
  Input().Click(RowPoint(*combo, 0));
  Settle();
  EXPECT_EQ(combo->ItemIndex(), 9);
  // After the bar let go, the list holds the mouse again: a press outside closes it.
  Press(VK_F4);
  Input().Click(downArrow);
  Settle();
  Input().Click(At(*form, 250, 150));
  Settle();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 9);
}

TEST_F(ComboTest, Screenshots) {
  form->Font().SetName("Tahoma");
  form->Font().SetSize(8);
  auto* label = Place<TLabel>(Rect(10, 60, 200, 80));
  label->SetCaption("Fenstermodus:");
  TComboBox* edit = PlaceCombo(TComboBoxStyle::csDropDown, kModes, Rect(10, 10, 160, 34));
  edit->SetText("normal");
  TComboBox* list = PlaceCombo(TComboBoxStyle::csDropDownList, kModes, Rect(10, 80, 160, 104));
  list->SetItemIndex(1);
  list->SetFocus();
  Settle();
  SaveSheet("combo-closed");
  Press(VK_F4);
  Input().MouseMove(RowPoint(*list, 2));
  Settle();
  SaveSheet("combo-dropped");
  EXPECT_TRUE(list->DroppedDown());
}

TEST_F(ComboTest, LoadsFromAFormResource) {
  PublishEditClasses();
  TForm loaded(nullptr);
  ReadFormText(loaded, R"(
Form1: TForm {
  Modes: TComboBox {
    Left = 8  Top = 8  Width = 120  Style = csDropDownList  DropDownCount = 4  DroppedWidth = 200
    Items = list("normal", "hide")  Sorted = True  ItemIndex = 1
  }
}
)",
               "TFORM1.DE", TFormMethods{});
  auto& combo = dynamic_cast<TComboBox&>(*loaded.FindComponent("Modes"));
  EXPECT_EQ(combo.Style(), TComboBoxStyle::csDropDownList);
  EXPECT_EQ(combo.Items().Strings(0), "hide");
  EXPECT_EQ(combo.Text(), "normal");
  EXPECT_EQ(combo.DropDownCount(), 4);
  EXPECT_EQ(combo.DroppedWidth(), 200);
}

}  // namespace
}  // namespace platform
