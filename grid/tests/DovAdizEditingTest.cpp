#include <functional>
#include <string>
#include <vector>

#include "grid/DovAdizEditLink.h"
#include "platform/app/Application.h"
#include "grid/tests/DovAdizEditingFixture.h"
#include "platform/core/Utf8.h"
#include "platform/ui/Clipbrd.h"

namespace velmora::testing {
namespace {

using namespace platform;

// Every editor kind opened over a cell of known text (and over a merged 2 x 2 block): the one control
// shown is visible, enabled, focused, placed over the whole block less the line at its right and
// bottom, and prepared from the cell; closed untouched it is hidden again and the cell is unchanged.
TEST_F(DovAdizEditingTest, EveryKindOpensOverItsCellAndClosesWithoutChangingIt) {
  for (const char* item : {"hide", "maximize", "minimize", "normal"}) grid_->AddComboString(item);
  grid_->MergeCells(2, 2, 2, 2);
  using Value = std::function<std::string()>;
  struct Case {
    TEditorType kind;
    std::string cell;
    std::function<TWinControl*()> control;  // null: no control
    Value prepared;
    std::string expected;
  } cases[] = {
      {TEditorType::edSpinEdit, "42", [&] { return grid_->SpinEditor(); }, [&] { return grid_->SpinEditor()->Text(); }, "42"},
      {TEditorType::edSpinEdit, "abc", [&] { return grid_->SpinEditor(); }, [&] { return grid_->SpinEditor()->Text(); }, "0"},
      {TEditorType::edFloatSpinEdit, "1.5", [&] { return grid_->SpinEditor(); }, [&] { return grid_->SpinEditor()->Text(); }, "1.5"},
      {TEditorType::edFloatSpinEdit, "x", [&] { return grid_->SpinEditor(); }, [&] { return grid_->SpinEditor()->Text(); }, "0"},
      {TEditorType::edTimeSpinEdit, "10:30:00", [&] { return grid_->SpinEditor(); }, [&] { return grid_->SpinEditor()->Text(); }, "10:30:00"},
      {TEditorType::edDateSpinEdit, "24.12.2026", [&] { return grid_->SpinEditor(); }, [&] { return grid_->SpinEditor()->Text(); }, "24.12.2026"},
      {TEditorType::edDateSpinEdit, "x", [&] { return grid_->SpinEditor(); }, nullptr, ""},
      {TEditorType::edComboEdit, "free text", [&] { return grid_->ComboEditor(); }, [&] { return grid_->ComboEditor()->Text(); }, "free text"},
      {TEditorType::edComboList, "normal", [&] { return grid_->ComboEditor(); }, [&] { return grid_->ComboEditor()->Text(); }, "normal"},
      {TEditorType::edComboList, "maximiert", [&] { return grid_->ComboEditor(); }, [&] { return grid_->ComboEditor()->Text(); }, "hide"},
      {TEditorType::edEditBtn, "<b>host</b> a<c>b", [&] { return grid_->EditBtnEditor(); }, [&] { return grid_->EditBtnEditor()->Text(); }, "host ab"},
      {TEditorType::edNumericEditBtn, "-7", [&] { return grid_->EditBtnEditor(); }, [&] { return grid_->EditBtnEditor()->Text(); }, "-7"},
      {TEditorType::edFloatEditBtn, "2,5", [&] { return grid_->EditBtnEditor(); }, [&] { return grid_->EditBtnEditor()->Text(); }, "2,5"},
      {TEditorType::edUnitEditBtn, "12a3 kg", [&] { return grid_->UnitEditBtnEditor(); },
       [&] { return grid_->UnitEditBtnEditor()->Text() + "|" + grid_->UnitEditBtnEditor()->UnitID(); }, "12|a3 kg"},
      {TEditorType::edUnitEditBtn, "-1.5mm", [&] { return grid_->UnitEditBtnEditor(); },
       [&] { return grid_->UnitEditBtnEditor()->Text() + "|" + grid_->UnitEditBtnEditor()->UnitID(); }, "-1.5|mm"},
      {TEditorType::edCheckBox, "Check", [&] { return grid_->CheckBoxEditor(); },
       [&] { return grid_->CheckBoxEditor()->Caption() + (grid_->CheckBoxEditor()->Checked() ? "+" : "-"); }, "Check-"},
      {TEditorType::edDateEdit, "24.12.2026", [&] { return grid_->GetDateTimePicker(); },
       [&] { return DateToStr(grid_->GetDateTimePicker()->Date()); }, "24.12.2026"},
      {TEditorType::edDateEditUpDown, "x", [&] { return grid_->GetDateTimePicker(); }, nullptr, ""},
      {TEditorType::edTimeEdit, "08:15:00", [&] { return grid_->GetDateTimePicker(); },
       [&] { return TimeToStr(grid_->GetDateTimePicker()->Time()); }, "08:15:00"},
      {TEditorType::edButton, "Go", [&] { return grid_->ButtonEditor(); }, [&] { return grid_->ButtonEditor()->Caption(); }, "Go"},
      {TEditorType::edRichEdit, "plain", [&] { return grid_->RichEditor(); }, [&] { return grid_->RichEditor()->Text(); }, "plain"},
      {TEditorType::edDataCheckBox, "Y", nullptr, nullptr, ""},
      {TEditorType::edCustom, "linkless", nullptr, nullptr, ""},
      {TEditorType::edNormal, "<i>text</i>", [&] { return grid_->GetInplaceEditor(); },
       [&] { return grid_->GetInplaceEditor()->Text(); }, "text"},
      {TEditorType::edNumeric, "12", [&] { return grid_->GetInplaceEditor(); }, [&] { return grid_->GetInplaceEditor()->Text(); }, "12"},
      {TEditorType::edPassword, "secret", [&] { return grid_->GetInplaceEditor(); }, [&] { return grid_->GetInplaceEditor()->Text(); }, "secret"},
  };
  for (const Case& c : cases) {
    for (const TPoint at : {TPoint{1, 1}, TPoint{2, 2}}) {
      SCOPED_TRACE(::testing::Message() << static_cast<int>(c.kind) << " '" << c.cell << "' at " << at.X << "," << at.Y);
      const TPoint base = grid_->BaseCell(at.X, at.Y);
      Kind = c.kind;
      grid_->SetCells(base.X, base.Y, c.cell);
      Edit(at.X, at.Y);
      TWinControl* expected = c.control ? c.control() : nullptr;
      EXPECT_EQ(Shown(), expected);
      EXPECT_EQ(grid_->EditActive(), expected != nullptr);
      if (expected) {
        EXPECT_TRUE(expected->Enabled());
        EXPECT_TRUE(expected->Focused());
        const TRect cell = grid_->CellRect(base.X, base.Y);
        EXPECT_EQ(expected->Left(), cell.Left);
        EXPECT_EQ(expected->Top(), cell.Top);
        EXPECT_EQ(expected->Width(), cell.Width() - 1);
        if (c.kind != TEditorType::edComboList && c.kind != TEditorType::edComboEdit && c.kind != TEditorType::edDateEdit &&
            c.kind != TEditorType::edDateEditUpDown) {
          EXPECT_EQ(expected->Height(), cell.Height() - 1);
        }
        if (c.prepared) {
          EXPECT_EQ(c.prepared(), c.expected);
        }
      }
      grid_->HideInplaceEdit();
      Settle();
      EXPECT_EQ(Shown(), nullptr);
      EXPECT_FALSE(grid_->EditActive());
      EXPECT_TRUE(grid_->Focused());
      EXPECT_EQ(grid_->Cells(base.X, base.Y), c.cell);
    }
  }
}

// HideCellEdit ends every control editor with the grid focused and nothing shown, so that F2 opens
// the cell's editor again at once.
TEST_F(DovAdizEditingTest, HideCellEditLeavesTheGridFocusedForTheNextEdit) {
  grid_->AddComboString("a");
  for (const TEditorType kind :
       {TEditorType::edEditBtn, TEditorType::edNumericEditBtn, TEditorType::edUnitEditBtn, TEditorType::edSpinEdit,
        TEditorType::edComboEdit, TEditorType::edComboList, TEditorType::edDateEdit, TEditorType::edTimeEdit,
        TEditorType::edCheckBox, TEditorType::edButton, TEditorType::edRichEdit}) {
    SCOPED_TRACE(static_cast<int>(kind));
    Kind = kind;
    Edit(1, 1);
    TWinControl* control = Shown();
    ASSERT_NE(control, nullptr);
    grid_->HideCellEdit();
    Settle();
    EXPECT_EQ(Shown(), nullptr);
    EXPECT_FALSE(grid_->EditActive());
    EXPECT_TRUE(grid_->Focused());
    Press(VK_F2);
    EXPECT_EQ(Shown(), control);
    grid_->HideCellEdit();
    Settle();
  }
}

// A changed value goes back to the base cell of the block at its real column, in the control's form;
// with a hidden column before it the real column differs from the display one.
TEST_F(DovAdizEditingTest, AChangedValueIsWrittenToTheRealBaseCell) {
  grid_->SetColCount(6);
  grid_->HideColumn(1);  // display column 1 shows real column 2
  grid_->MergeCells(3, 2, 2, 2);
  struct Case {
    TEditorType kind;
    TPoint at;  // display cell
    std::string cell;
    std::function<void()> change;
    TPoint written;  // real base cell
    std::string expected;
  } cases[] = {
      {TEditorType::edEditBtn, {1, 1}, "old", [&] { grid_->EditBtnEditor()->SetText("new"); }, {2, 1}, "new"},
      {TEditorType::edSpinEdit, {2, 3}, "5", [&] { Press(VK_PRIOR); }, {3, 2}, "6"},
      {TEditorType::edUnitEditBtn, {2, 2}, "3 kg", [&] { grid_->UnitEditBtnEditor()->SetText("4"); }, {3, 2}, "4 kg"},
      {TEditorType::edFloatSpinEdit, {1, 4}, "1.25", [&] { grid_->SpinEditor()->SetFloatValue(2.5); }, {2, 4}, "2.50"},
      {TEditorType::edComboList, {1, 5}, "b", [&] { grid_->ComboEditor()->SetItemIndex(2); }, {2, 5}, "c"},
  };
  for (const char* item : {"a", "b", "c"}) grid_->AddComboString(item);
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    Kind = c.kind;
    grid_->SetCells(c.written.X, c.written.Y, c.cell);
    Edit(c.at.X, c.at.Y);
    ASSERT_NE(Shown(), nullptr);
    c.change();
    grid_->HideCellEdit();
    EXPECT_EQ(grid_->Cells(c.written.X, c.written.Y), c.expected);
    // A second hide, with nothing open, writes nothing.
    grid_->SetCells(c.written.X, c.written.Y, "kept");
    grid_->HideCellEdit();
    EXPECT_EQ(grid_->Cells(c.written.X, c.written.Y), "kept");
    grid_->HideInplaceEdit();
  }
  // With real row 1 hidden, display row 1 is real row 2.
  grid_->UnHideColumn(1);
  grid_->SetCellsEx(1, 1, "hidden");
  grid_->SetCellsEx(1, 2, "shown");
  grid_->HideRow(1);
  Kind = TEditorType::edEditBtn;
  Edit(1, 1);
  EXPECT_EQ(grid_->EditBtnEditor()->Text(), "shown");
  Press(VK_END);
  Type("!");
  Press(VK_RETURN);
  EXPECT_EQ(grid_->GetCellsEx(1, 2), "shown!");
  EXPECT_EQ(grid_->GetCellsEx(1, 1), "hidden");
}

// Hiding a column, the edited one or another before it, ends every kind of editor with its text in the
// real cell it edited, and the grid keeps the focus.
TEST_F(DovAdizEditingTest, HidingAColumnEndsTheOpenEditorWithItsText) {
  for (const char* item : {"a", "b", "c"}) grid_->AddComboString(item);
  struct Case {
    TEditorType kind;
    std::function<void()> change;
    std::string expected;
  } cases[] = {
      {TEditorType::edNormal, [&] { Press(VK_END); Type("!"); }, "b!"},
      {TEditorType::edEditBtn, [&] { grid_->EditBtnEditor()->SetText("new"); }, "new"},
      {TEditorType::edSpinEdit, [&] { Press(VK_PRIOR); }, "2"},
      {TEditorType::edComboList, [&] { grid_->ComboEditor()->SetItemIndex(2); }, "c"},
  };
  for (const int hidden : {1, 2}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(static_cast<int>(c.kind)) + " hiding " + std::to_string(hidden));
      grid_->UnHideColumnsAll();
      Kind = c.kind;
      grid_->SetCells(2, 1, c.kind == TEditorType::edSpinEdit ? "1" : "b");
      Edit(2, 1);
      ASSERT_NE(Shown(), nullptr);
      c.change();
      grid_->HideColumn(hidden);
      EXPECT_EQ(Shown(), nullptr);
      EXPECT_FALSE(grid_->EditorMode());
      EXPECT_EQ(grid_->Cells(2, 1), c.expected);
      EXPECT_TRUE(grid_->Focused());
    }
  }
}

// What typing into the text kinds and the edit with button does: the characters taken, converted or
// refused, and the beeps.
TEST_F(DovAdizEditingTest, TypingPassesTheFilterOfTheKind) {
  struct Case {
    TEditorType kind;
    std::string cell;
    std::vector<int> keys;  // pressed after the editor opened; none selects the whole text
    std::string typed;      // one character at a time
    std::string expected;
    int beeps;
  } cases[] = {
      {TEditorType::edNumeric, "12", {VK_END}, "-", "12", 1},
      {TEditorType::edNumeric, "12", {VK_HOME}, "-", "-12", 0},
      {TEditorType::edNumeric, "-12", {VK_HOME}, "-", "-12", 1},
      {TEditorType::edNumeric, "", {}, "4a2", "42", 1},
      {TEditorType::edPositiveNumeric, "", {}, "-3x", "3", 2},
      {TEditorType::edFloat, "1.5", {VK_END}, ".,7", "1.57", 0},
      {TEditorType::edFloat, "1.5", {}, ",", ",", 0},
      {TEditorType::edFloat, "", {}, "-1-", "-1", 1},
      {TEditorType::edCapital, "", {}, "straße ä", "STRAßE Ä", 0},
      {TEditorType::edUpperCase, "", {}, "äb", "ÄB", 0},
      {TEditorType::edLowerCase, "", {}, "ÄB", "äb", 0},
      {TEditorType::edMixedCase, "", {}, "john mcdonald", "John McDonald", 0},
      {TEditorType::edPassword, "", {}, "pw", "pw", 0},
      {TEditorType::edNumericEditBtn, "", {}, "1x-", "1", 2},
      {TEditorType::edFloatEditBtn, "", {}, "1.2.3", "1.23", 0},
      {TEditorType::edEditBtn, "", {}, "h\xC3\xB6st", "h\xC3\xB6st", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    Kind = c.kind;
    grid_->SetCells(1, 1, c.cell);
    Edit(1, 1);
    auto* edit = dynamic_cast<TCustomEdit*>(Shown());
    ASSERT_NE(edit, nullptr);
    if (c.keys.empty()) edit->SelectAll();
    for (int key : c.keys) Press(key);
    const int beeps = Input().Beeps();
    Type(c.typed);
    EXPECT_EQ(edit->Text(), c.expected);
    EXPECT_EQ(Input().Beeps() - beeps, c.beeps);
    grid_->HideInplaceEdit();
    Settle();
  }
}

// A character typed on a cell starts its edit with that character, a whole code point, whichever
// control edits the cell.
TEST_F(DovAdizEditingTest, TheCharacterThatStartsAnEditReachesTheControl) {
  for (const TEditorType kind : {TEditorType::edNormal, TEditorType::edEditBtn, TEditorType::edComboEdit,
                                 TEditorType::edUnitEditBtn}) {
    SCOPED_TRACE(static_cast<int>(kind));
    Kind = kind;
    grid_->SetCells(1, 1, "");
    grid_->SetCol(1);
    grid_->SetRow(1);
    Settle();
    Type("\xC3\xA4");
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(Shown()->Text(), "\xC3\xA4");
    grid_->HideInplaceEdit();
    Settle();
    EXPECT_EQ(grid_->Cells(1, 1), "\xC3\xA4");
  }
}

// The length limit counts characters: a full text refuses more unless a part is selected, while
// Backspace still works.
TEST_F(DovAdizEditingTest, TheLengthLimitRefusesCharactersOfAFullText) {
  grid_->SetMaxEditLength(3);
  grid_->SetCells(1, 1, "\xC3\xA4" "bc");
  Edit(1, 1);
  Press(VK_END);
  Type("d");
  EXPECT_EQ(grid_->GetInplaceEditor()->Text(), "\xC3\xA4" "bc");
  Press(VK_BACK);
  Type("x");
  EXPECT_EQ(grid_->Cells(1, 1), "\xC3\xA4" "bx");
  // A new limit holds in the open editor at once.
  grid_->SetMaxEditLength(4);
  Type("y");
  EXPECT_EQ(grid_->Cells(1, 1), "\xC3\xA4" "bxy");
  Type("z");
  EXPECT_EQ(grid_->Cells(1, 1), "\xC3\xA4" "bxy");
  // A full text takes Enter only when Enter advances.
  Press(VK_RETURN);
  EXPECT_TRUE(grid_->EditActive());
  grid_->Navigation().AdvanceOnEnter = true;
  Press(VK_RETURN);
  EXPECT_FALSE(grid_->EditActive());
  EXPECT_EQ(grid_->Col(), 2);
  // The limit stays within what the editor can hold.
  grid_->SetMaxEditLength(40000);
  EXPECT_EQ(grid_->MaxEditLength(), 32767);
  EXPECT_EQ(grid_->GetInplaceEditor()->MaxLength(), 32767);
  grid_->SetMaxEditLength(-1);
  EXPECT_EQ(grid_->MaxEditLength(), 0);
}

// Pasting into the text editor: the whole result must fit the limit and the kind.
TEST_F(DovAdizEditingTest, PasteTakesOnlyWhatTheKindAndLimitAllow) {
  struct Case {
    TEditorType kind;
    int limit;
    std::string cell;
    std::string clip;
    std::string expected;  // the whole text was selected
  } cases[] = {
      {TEditorType::edNumeric, 0, "1", "-42", "-42"},
      {TEditorType::edNumeric, 0, "1", "4.2", "1"},
      {TEditorType::edPositiveNumeric, 0, "1", "x", "1"},
      {TEditorType::edFloat, 0, "1", "1,234.5", "1,234.5"},
      {TEditorType::edFloat, 0, "1", "1.2.3", "1"},
      {TEditorType::edUpperCase, 0, "", "m\xC3\xBC" "de", "M\xC3\x9C" "DE"},
      {TEditorType::edMixedCase, 0, "", "ANNA", "Anna"},
      {TEditorType::edNormal, 3, "", "four", ""},
      {TEditorType::edNormal, 4, "", "four", "four"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clip);
    Kind = c.kind;
    grid_->SetMaxEditLength(c.limit);
    grid_->SetCells(1, 1, c.cell);
    Edit(1, 1);
    grid_->GetInplaceEditor()->SelectAll();
    Clipboard().SetAsText(c.clip);
    grid_->GetInplaceEditor()->Perform(WM_PASTE);
    EXPECT_EQ(grid_->GetInplaceEditor()->Text(), c.expected);
    grid_->HideInplaceEdit();
    Settle();
  }
  bool allowed = false;
  grid_->OnClipboardPaste = [&](TObject*, bool& Allow) { Allow = allowed; };
  Kind = TEditorType::edNormal;
  grid_->SetMaxEditLength(0);
  grid_->SetCells(1, 1, "old");
  Edit(1, 1);
  grid_->GetInplaceEditor()->Perform(WM_PASTE);
  EXPECT_EQ(grid_->Cells(1, 1), "old");
}

// The grid keys of each editor control: Enter and Down store the value and validate it (a refused
// value keeps the editor open with the cell's text), Escape leaves the cell as it was, and the key
// then reaches the grid, which moves its cursor.
TEST_F(DovAdizEditingTest, GridKeysStoreValidateAndHandTheKeyBack) {
  for (const char* item : {"hide", "maximize", "minimize", "normal"}) grid_->AddComboString(item);
  int validations = 0;
  bool refuseNext = false;
  grid_->OnCellValidate = [&](TObject*, int, int, std::string& Value, bool& Valid) {
    ++validations;
    if (std::exchange(refuseNext, false)) Valid = false;
  };
  struct Case {
    TEditorType kind;
    std::function<void()> change;
    std::string expected;  // the cell after the change and the key that was not refused
  } cases[] = {
      {TEditorType::edEditBtn, [&] { Type("x"); }, "x"},
      {TEditorType::edUnitEditBtn, [&] { Type("7"); }, "7"},
      {TEditorType::edSpinEdit, [&] { Press(VK_PRIOR); }, "2"},
      {TEditorType::edComboList, [&] { grid_->ComboEditor()->SetItemIndex(1); }, "maximize"},
      {TEditorType::edComboEdit, [&] { Type("n"); }, "n"},
      {TEditorType::edDateEdit, [&] { grid_->GetDateTimePicker()->SetDate(EncodeDate(2027, 1, 2)); }, "02.01.2027"},
      {TEditorType::edNormal, [&] { Type("t"); }, "t"},
  };
  for (const Case& c : cases) {
    for (const int key : {VK_RETURN, VK_DOWN, VK_ESCAPE}) {
      // The picker steps with Down, and a list moves through its items.
      if (key == VK_DOWN && (c.kind == TEditorType::edDateEdit || c.kind == TEditorType::edComboList)) continue;
      SCOPED_TRACE(::testing::Message() << static_cast<int>(c.kind) << " key " << key);
      Kind = c.kind;
      const std::string before = c.kind == TEditorType::edComboList ? "hide" :
                                 c.kind == TEditorType::edDateEdit   ? "01.01.2027" :
                                 c.kind == TEditorType::edSpinEdit   ? "1" : "";
      grid_->SetCells(1, 2, before);
      Edit(1, 2);
      ASSERT_NE(Shown(), nullptr);
      c.change();
      validations = 0;
      // The text editor validates when it loses the focus, after Down has moved the cursor.
      if (key != VK_ESCAPE && !(key == VK_DOWN && c.kind == TEditorType::edNormal)) {
        refuseNext = true;
        Press(key);
        EXPECT_EQ(validations, 1);
        EXPECT_EQ(grid_->Cells(1, 2), before) << "a refused value is put back";
        ASSERT_NE(Shown(), nullptr) << "the editor stays open";
        EXPECT_EQ(grid_->Row(), 2);
        c.change();
      }
      Press(key);
      EXPECT_EQ(Shown(), nullptr);
      EXPECT_EQ(grid_->Cells(1, 2), key == VK_ESCAPE ? before : c.expected);
      EXPECT_EQ(grid_->Row(), key == VK_DOWN ? 3 : 2);
    }
  }
}

// A value that OnCellValidate refuses when a click on another cell ends the edit is put back, and the
// edited cell is current again, with its editor open there, for the text editor and an editor control;
// once Escape has given a refused value up, the cursor moves again.
TEST_F(DovAdizEditingTest, ARefusedValueAfterAClickElsewhereReturnsToTheCell) {
  bool refuse = false;
  grid_->OnCellValidate = [&](TObject*, int, int, std::string&, bool& Valid) { Valid = !std::exchange(refuse, false); };
  for (const TEditorType kind : {TEditorType::edNormal, TEditorType::edEditBtn}) {
    SCOPED_TRACE(static_cast<int>(kind));
    Kind = kind;
    grid_->SetCells(1, 2, "old");
    Edit(1, 2);
    Type("x");
    refuse = true;
    const TRect other = grid_->CellRect(3, 4);
    Input().Click(grid_->ClientToScreen({(other.Left + other.Right) / 2, (other.Top + other.Bottom) / 2}));
    Settle();
    EXPECT_FALSE(refuse) << "validated";
    EXPECT_EQ(grid_->Cells(1, 2), "old");
    EXPECT_EQ((TPoint{grid_->Col(), grid_->Row()}), (TPoint{1, 2}));
    TWinControl* shown = Shown();
    ASSERT_NE(shown, nullptr);
    TRect overlap;
    EXPECT_TRUE(IntersectRect(overlap, shown->BoundsRect(), grid_->CellRect(1, 2)));
    Press(VK_ESCAPE);
    // A value refused at Enter and given up with Escape holds the cursor no longer.
    Edit(1, 2);
    Type("y");
    refuse = true;
    Press(VK_RETURN);
    Press(VK_ESCAPE);
    Press(VK_DOWN);
    EXPECT_EQ(grid_->Row(), 3);
  }
}

// A handler that raises while an editor hands its key back leaves the navigation settings as they were;
// a date picker on a cell that is no date closes with Escape without raising.
TEST_F(DovAdizEditingTest, AHandlerThatRaisesLeavesTheSettingsAndNoEditorBehind) {
  std::vector<std::string> errors;
  Application().OnException = [&](const Exception& E) { errors.push_back(E.Message()); };
  grid_->Navigation().AdvanceOnEnter = true;
  grid_->Navigation().AlwaysEdit = true;
  grid_->OnCellChanging = [](TObject*, int, int, int, int, bool&) { throw Exception("refused"); };
  Kind = TEditorType::edEditBtn;
  Edit(1, 1);
  Press(VK_RETURN);
  EXPECT_EQ(errors, std::vector<std::string>{"refused"});
  EXPECT_TRUE(grid_->Navigation().AlwaysEdit);
  grid_->OnCellChanging = nullptr;
  grid_->HideInplaceEdit();
  EXPECT_FALSE(grid_->EditActive());

  Kind = TEditorType::edDateEdit;
  grid_->SetCells(2, 2, "x");
  Edit(2, 2);
  Press(VK_ESCAPE);
  EXPECT_FALSE(grid_->EditActive());
  EXPECT_EQ(grid_->Cells(2, 2), "x");
  EXPECT_EQ(errors.size(), 1u);
  Application().OnException = nullptr;
}

// The check box toggles with Space and leaves without validation; the push button passes its caption
// through OnEllipsClick, and Escape on it puts the cell back.
TEST_F(DovAdizEditingTest, CheckBoxAndButtonKeys) {
  grid_->Navigation().AdvanceOnEnter = true;
  int validations = 0;
  grid_->OnCellValidate = [&](TObject*, int, int, std::string&, bool&) { ++validations; };
  Kind = TEditorType::edCheckBox;
  grid_->SetCells(1, 1, "Check");
  Edit(1, 1);
  Input().PressKey(VK_SPACE, 0, " ");
  Settle();
  EXPECT_TRUE(grid_->CheckBoxEditor()->Checked());
  // Enter moves on and opens the next cell's editor, unchecked again.
  Press(VK_RETURN);
  EXPECT_EQ(grid_->Col(), 2);
  EXPECT_EQ(Shown(), grid_->CheckBoxEditor());
  EXPECT_FALSE(grid_->CheckBoxEditor()->Checked());
  EXPECT_EQ(grid_->Cells(1, 1), "Check");
  EXPECT_EQ(validations, 0);
  grid_->HideInplaceEdit();

  Kind = TEditorType::edButton;
  grid_->OnEllipsClick = [](TObject*, int, int, std::string& S) { S += "!"; };
  grid_->SetCells(1, 2, "Go");
  Edit(1, 2);
  Input().PressKey(VK_SPACE, 0, " ");
  Settle();
  EXPECT_EQ(grid_->ButtonEditor()->Caption(), "Go!");
  Press(VK_ESCAPE);
  EXPECT_FALSE(grid_->EditActive());
  EXPECT_EQ(grid_->Cells(1, 2), "Go");
  Edit(1, 2);
  Press(VK_DOWN);
  EXPECT_FALSE(grid_->EditActive());
  EXPECT_EQ(grid_->Row(), 3);
}

// The rich editor writes rich text back when its text changed, and Down goes on to the grid.
TEST_F(DovAdizEditingTest, RichEditorWritesRichTextAndHandsDownToTheGrid) {
  Kind = TEditorType::edRichEdit;
  grid_->SetCells(1, 1, "plain");
  Edit(1, 1);
  Press(VK_END);
  Type("er");
  Press(VK_DOWN);
  EXPECT_FALSE(grid_->EditActive());
  EXPECT_EQ(grid_->Row(), 2);
  EXPECT_TRUE(grid_->Cells(1, 1).starts_with("{\\rtf"));
  auto* rich = new TRichEdit(form_.get());
  rich->SetParent(form_.get());
  grid_->CellToRich(1, 1, *rich);
  EXPECT_EQ(rich->Text(), "plainer");
}

// The spin editor's page keys step only while the result stays within the bounds, also at the
// integer limits; End and Home set the minimum and the maximum.
TEST_F(DovAdizEditingTest, SpinPageKeysStayWithinTheBounds) {
  Kind = TEditorType::edSpinEdit;
  struct Case {
    int min, max, increment;
    std::string cell;
    int key;
    std::string expected;
  } cases[] = {
      {0, 10, 5, "8", VK_PRIOR, "8"},
      {0, 10, 5, "3", VK_NEXT, "3"},
      {0, 10, 5, "3", VK_PRIOR, "8"},
      {0, 10, 5, "3", VK_END, "0"},
      {0, 10, 5, "3", VK_HOME, "10"},
      {0, 2147483647, 1000, "2147483000", VK_PRIOR, "2147483000"},
      {-2147483647 - 1, 0, 1000, "-2147483000", VK_NEXT, "-2147483000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell);
    TGridSpin* spin = grid_->SpinEditor();
    spin->SetMinValue(c.min);
    spin->SetMaxValue(c.max);
    spin->SetIncrement(c.increment);
    grid_->SetCells(1, 1, c.cell);
    Edit(1, 1);
    Press(c.key);
    EXPECT_EQ(spin->Text(), c.expected);
    Press(VK_ESCAPE);
  }
  // The page keys and the buttons tell the grid; Up is a grid key, which moves the cursor.
  TGridSpin* spin = grid_->SpinEditor();
  std::vector<std::string> clicks;
  grid_->OnSpinClick = [&](TObject*, int ACol, int ARow, int AValue, bool UpDown) {
    clicks.push_back(std::to_string(AValue) + (UpDown ? "+" : "-"));
  };
  spin->SetMinValue(0);
  spin->SetMaxValue(100);
  spin->SetIncrement(1);
  grid_->SetCells(1, 2, "5");
  Edit(1, 2);
  Press(VK_PRIOR);
  spin->UpClick(spin);
  EXPECT_EQ(clicks, (std::vector<std::string>{"6-", "7+"}));
  Press(VK_UP);
  EXPECT_EQ(grid_->Cells(1, 2), "7");
  EXPECT_EQ(grid_->Row(), 1);
}

// The combo editor: type-ahead completes from the items, the wheel steps within the list and an
// empty list does nothing; the grid hears of every choice.
TEST_F(DovAdizEditingTest, ComboTypeAheadWheelAndChangeEvents) {
  std::vector<std::string> changes;
  grid_->OnComboChange = [&](TObject*, int ACol, int ARow, int AItemIndex, const std::string& ASelection) {
    changes.push_back(std::to_string(AItemIndex) + ":" + ASelection);
  };
  Kind = TEditorType::edComboList;
  grid_->SetCells(1, 1, "");
  Edit(1, 1);
  const TPoint over = grid_->ComboEditor()->ClientToScreen({5, 5});
  Input().MouseWheel(-120, over);
  Settle();
  EXPECT_EQ(grid_->ComboEditor()->ItemIndex(), -1);
  EXPECT_TRUE(changes.empty());
  Press(VK_ESCAPE);

  const std::string longItem = "m" + std::string(300, 'x');
  for (const std::string& item : {std::string("hide"), std::string("maximize"), std::string("\xC3\xA4rger"), longItem})
    grid_->AddComboString(item);
  Edit(1, 1);
  for (int delta : {-120, -120, -120, -120, 120}) Input().MouseWheel(delta, over);
  Settle();
  EXPECT_EQ(changes, (std::vector<std::string>{"1:maximize", "2:\xC3\xA4rger", "3:" + longItem, "2:\xC3\xA4rger"}));
  Press(VK_ESCAPE);
  EXPECT_EQ(grid_->Cells(1, 1), "");

  grid_->Lookup = true;
  Kind = TEditorType::edComboEdit;
  for (const auto& [typed, expected] : std::vector<std::pair<std::string, std::string>>{
           {"m", "maximize"}, {"\xC3\x84", "\xC3\x84rger"}, {"mx", "mx" + std::string(299, 'x')}}) {
    SCOPED_TRACE(typed);
    Edit(1, 1);
    grid_->ComboEditor()->SetText("");
    Type(typed);
    EXPECT_EQ(grid_->ComboEditor()->Text(), expected);
    EXPECT_EQ(grid_->ComboEditor()->SelLength(), static_cast<int>(CodePointCount(expected) - CodePointCount(typed)));
    Press(VK_ESCAPE);
  }
}

// An edit with button passes its text through OnEllipsClick on F4 and takes the answer selected.
TEST_F(DovAdizEditingTest, EllipsisButtonAsksTheGridWithTheCurrentText) {
  std::string asked;
  grid_->OnEllipsClick = [&](TObject*, int ACol, int ARow, std::string& S) {
    asked = S + "@" + std::to_string(ACol) + "," + std::to_string(ARow);
    S = "picked";
  };
  Kind = TEditorType::edEditBtn;
  grid_->SetCells(2, 3, "typed");
  Edit(2, 3);
  Press(VK_F4);
  EXPECT_EQ(asked, "typed@2,3");
  EXPECT_EQ(grid_->EditBtnEditor()->Text(), "picked");
  EXPECT_EQ(grid_->EditBtnEditor()->SelLength(), 6);
  Press(VK_RETURN);
  EXPECT_EQ(grid_->Cells(2, 3), "picked");

  // A handler that opens a form of its own (a file dialog) and takes the focus there: the editor
  // keeps the edit and the answer.
  std::unique_ptr<TForm> dialog;
  grid_->OnEllipsClick = [&](TObject*, int, int, std::string& S) {
    dialog = ShowForm(120, 60);
    auto* name = new TEdit(dialog.get());
    name->SetParent(dialog.get());
    name->SetFocus();
    Settle();
    S = "C:\\chosen.bat";
  };
  Edit(2, 3);
  Press(VK_F4);
  dialog.reset();
  Settle();
  EXPECT_EQ(Shown(), grid_->EditBtnEditor());
  EXPECT_EQ(grid_->EditBtnEditor()->Text(), "C:\\chosen.bat");
  grid_->HideCellEdit();
  EXPECT_EQ(grid_->Cells(2, 3), "C:\\chosen.bat");
}

// Leaving the editor for another form writes the value once; hiding again afterwards writes nothing,
// and the grid never holds an editor that is shown but not tracked.
TEST_F(DovAdizEditingTest, HidingWhileAnotherFormHasTheFocusWritesOnce) {
  Kind = TEditorType::edEditBtn;
  grid_->SetCells(1, 1, "old");
  Edit(1, 1);
  Type("n");
  auto other = ShowForm(100, 60);
  auto* edit = new TEdit(other.get());
  edit->SetParent(other.get());
  edit->SetFocus();
  Settle();
  grid_->HideCellEdit();
  EXPECT_EQ(grid_->Cells(1, 1), "n");
  EXPECT_FALSE(grid_->EditActive());
  grid_->SetCells(1, 1, "changed since");
  grid_->HideCellEdit();
  grid_->HideInplaceEdit();
  form_->Show();
  Settle();
  EXPECT_EQ(grid_->Cells(1, 1), "changed since");
  EXPECT_EQ(Shown(), nullptr);
}

// A handler that hides the edit from inside the edit's own end (an exit or validation handler) does
// not write a second time or recurse.
TEST_F(DovAdizEditingTest, HideInsideHideWritesOnce) {
  Kind = TEditorType::edEditBtn;
  int written = 0;
  grid_->OnCellValidate = [&](TObject*, int, int, std::string&, bool&) {
    ++written;
    grid_->HideInplaceEdit();
    grid_->HideCellEdit();
  };
  grid_->SetCells(1, 1, "a");
  Edit(1, 1);
  Type("b");
  Press(VK_RETURN);
  EXPECT_EQ(written, 1);
  EXPECT_EQ(grid_->Cells(1, 1), "b");
  EXPECT_FALSE(grid_->EditActive());
}

// A link whose control is an edit, in place or in a pop-up form.
class TestLink : public TEditLink {
public:
  using TEditLink::TEditLink;
  TWinControl* GetEditControl() override { return edit_; }
  void CreateEditor(TWinControl* AParent) override {
    if (!edit_) {
      edit_ = new TEdit(AParent);
      edit_->OnExit = [this](TObject* Sender) { EditExit(Sender); };
      edit_->OnKeyDown = [this](TObject* Sender, WORD& Key, TShiftState Shift) { EditKeyDown(Sender, Key, Shift); };
    }
    edit_->SetParent(AParent);
  }
  std::string GetEditorValue() override { return edit_ ? edit_->Text() : std::string(); }
  void SetEditorValue(const std::string& S) override { edit_->SetText(S); }
  void Forget() { edit_ = nullptr; }

  TEdit* edit_ = nullptr;
};

// The grid goes while an editor control has the focus, and while a link's edit is open.
TEST_F(DovAdizEditingTest, TheGridGoesWithAnEditOpen) {
  std::vector<std::string> changes;
  grid_->OnRowChanging = [&](TObject*, int, int, bool&) { changes.push_back("row"); };
  Kind = TEditorType::edComboEdit;
  Edit(1, 1);
  Type("x");
  ASSERT_TRUE(grid_->EditActive());
  delete grid_;
  grid_ = nullptr;
  Settle();
  EXPECT_TRUE(changes.empty());
}

// Grid and link hear of each other's end: a link whose grid went forgets it.
TEST_F(DovAdizEditingTest, ALinkForgetsItsGridWhenTheGridGoes) {
  TestLink link(nullptr);
  grid_->SetEditLink(&link);
  Kind = TEditorType::edCustom;
  Edit(1, 1);
  ASSERT_EQ(link.Grid(), grid_);
  delete grid_;
  grid_ = nullptr;
  link.Forget();  // its edit was the grid's child
  EXPECT_EQ(link.Grid(), nullptr);
  link.HideEditor();
  EXPECT_EQ(link.GetCellValue(), "");
}

TEST_F(DovAdizEditingTest, EditLinkInPlaceWritesBackAndEscapeRestores) {
  Kind = TEditorType::edCustom;
  auto link = std::make_unique<TestLink>(nullptr);
  grid_->SetEditLink(link.get());
  grid_->SetCells(1, 1, "<b>x</b>");
  Edit(1, 1);
  ASSERT_NE(link->edit_, nullptr);
  EXPECT_TRUE(link->edit_->Visible());
  EXPECT_EQ(link->edit_->Text(), "x");
  EXPECT_TRUE(grid_->EditActive());
  grid_->HideInplaceEdit();
  EXPECT_EQ(grid_->Cells(1, 1), "<b>x</b>") << "an untouched link writes nothing";
  EXPECT_FALSE(link->edit_->Visible());

  Edit(1, 1);
  link->edit_->SetText("typed");
  Press(VK_RETURN);
  EXPECT_EQ(grid_->Cells(1, 1), "typed");
  EXPECT_FALSE(grid_->EditActive());

  Edit(1, 1);
  link->edit_->SetText("dropped");
  Press(VK_ESCAPE);
  EXPECT_EQ(grid_->Cells(1, 1), "typed");
  EXPECT_FALSE(grid_->EditActive());

  // The link goes while the grid refers to it: the grid forgets it and shows nothing for the cell.
  link->Forget();
  link.reset();
  EXPECT_EQ(grid_->EditLink(), nullptr);
  Edit(1, 1);
  EXPECT_FALSE(grid_->EditActive());
}

TEST_F(DovAdizEditingTest, PopupLinkReleasesItsFormAfterTheEdit) {
  Kind = TEditorType::edCustom;
  TestLink link(nullptr);
  link.EditStyle = TEditStyle::esPopup;
  link.PopupWidth = 120;
  link.PopupHeight = 40;
  grid_->SetEditLink(&link);
  grid_->SetCells(1, 1, "p");
  Edit(1, 1);
  ASSERT_NE(link.PopupForm(), nullptr);
  const TComponent::TGuard formAlive(*link.PopupForm());
  const TPoint cell = grid_->ClientToScreen(grid_->CellRect(1, 1).TopLeft());
  EXPECT_EQ(link.PopupForm()->Left(), cell.X);
  EXPECT_EQ(link.PopupForm()->Top(), cell.Y);
  EXPECT_EQ(link.edit_->Width(), 119);
  link.edit_->SetText("q");
  // A click on the grid's form deactivates the pop-up form, which ends the edit from inside its control.
  Input().Click(grid_->ClientToScreen({grid_->CellRect(3, 4).Left + 4, grid_->CellRect(3, 4).Top + 4}));
  Settle();
  EXPECT_EQ(grid_->Cells(1, 1), "q");
  EXPECT_EQ(link.PopupForm(), nullptr);
  EXPECT_TRUE(formAlive.Gone());
  link.Forget();
  grid_->SetEditLink(nullptr);
}

// AdvanceEdit as a table: directions, the grid's ends, merged blocks, read-only cells and a grid
// without any editable cell.
TEST_F(DovAdizEditingTest, AdvanceEditFindsTheNextEditableCell) {
  grid_->Navigation().AdvanceOnEnter = true;
  struct Case {
    const char* name;
    TAdvanceDirection direction;
    bool forward;
    TPoint from;
    TPoint expected;
    std::function<void()> setup;
  } cases[] = {
      {"right", TAdvanceDirection::adLeftRight, true, {1, 1}, {2, 1}, [] {}},
      {"row end", TAdvanceDirection::adLeftRight, true, {4, 1}, {1, 2}, [] {}},
      {"grid end wraps", TAdvanceDirection::adLeftRight, true, {4, 5}, {1, 1}, [] {}},
      {"down", TAdvanceDirection::adTopBottom, true, {2, 2}, {2, 3}, [] {}},
      {"column end", TAdvanceDirection::adTopBottom, true, {2, 5}, {3, 1}, [] {}},
      {"left", TAdvanceDirection::adLeftRight, false, {2, 2}, {1, 2}, [] {}},
      {"row start", TAdvanceDirection::adLeftRight, false, {1, 2}, {4, 1}, [] {}},
      {"up", TAdvanceDirection::adTopBottom, false, {2, 3}, {2, 2}, [] {}},
      {"column start", TAdvanceDirection::adTopBottom, false, {2, 1}, {1, 5}, [] {}},
      {"into a block", TAdvanceDirection::adLeftRight, true, {1, 1}, {2, 1}, [&] { grid_->MergeCells(2, 1, 2, 2); }},
      {"back over a block", TAdvanceDirection::adLeftRight, false, {4, 1}, {2, 1}, [&] { grid_->MergeCells(2, 1, 2, 2); }},
      {"out of a block", TAdvanceDirection::adLeftRight, true, {2, 1}, {4, 1}, [&] { grid_->MergeCells(2, 1, 2, 2); }},
      {"down over a block", TAdvanceDirection::adTopBottom, true, {2, 1}, {2, 3}, [&] { grid_->MergeCells(2, 1, 2, 2); }},
      {"read-only skipped", TAdvanceDirection::adLeftRight, true, {1, 1}, {3, 1},
       [&] { grid_->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& CanEdit) { CanEdit = ACol != 2; }; }},
      {"right fixed column", TAdvanceDirection::adLeftRight, true, {3, 1}, {1, 2}, [&] { grid_->SetFixedRightCols(1); }},
      {"nothing editable", TAdvanceDirection::adLeftRight, true, {2, 2}, {2, 2},
       [&] { grid_->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; }; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->OnCanEditCell = nullptr;
    grid_->SetFixedRightCols(0);
    for (int r = 1; r < 6; ++r)
      for (int col = 1; col < 5; ++col) grid_->SplitCells(col, r);
    c.setup();
    grid_->Navigation().AdvanceDirection = c.direction;
    grid_->SetCol(c.from.X);
    grid_->SetRow(c.from.Y);
    grid_->AdvanceEdit(c.from.X, c.from.Y, c.forward, false, false);
    EXPECT_EQ(grid_->Col(), c.expected.X);
    EXPECT_EQ(grid_->Row(), c.expected.Y);
    EXPECT_EQ(grid_->RowCount(), 6);
  }
}

// With AdvanceInsert the end of the grid adds one row per advance, unless OnCanAddRow refuses; a
// grid without an editable cell never grows.
TEST_F(DovAdizEditingTest, AdvanceInsertAddsAtMostOneRow) {
  grid_->Navigation().AdvanceOnEnter = true;
  grid_->Navigation().AdvanceInsert = true;
  std::vector<int> added;
  grid_->OnAutoAddRow = [&](TObject*, int ARow) { added.push_back(ARow); };
  grid_->SetCol(4);
  grid_->SetRow(5);
  grid_->AdvanceEdit(4, 5, true, false, false);
  EXPECT_EQ(grid_->RowCount(), 7);
  EXPECT_EQ((std::vector<int>{grid_->Col(), grid_->Row()}), (std::vector<int>{1, 6}));
  EXPECT_EQ(added, std::vector<int>{6});

  grid_->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
  grid_->AdvanceEdit(1, 6, true, false, false);
  EXPECT_LE(grid_->RowCount(), 8);
  EXPECT_EQ(grid_->Row(), 6);

  grid_->OnCanEditCell = nullptr;
  grid_->OnCanAddRow = [](TObject*, bool& CanAdd) { CanAdd = false; };
  const int rows = grid_->RowCount();
  grid_->SetCol(4);
  grid_->SetRow(rows - 1);
  grid_->AdvanceEdit(4, rows - 1, true, false, false);
  EXPECT_EQ(grid_->RowCount(), rows);
  EXPECT_EQ(grid_->Col(), 4);
}

// Enter with AdvanceOnEnter walks a row through its editors; Tab with goTabs moves on too.
TEST_F(DovAdizEditingTest, EnterAndTabWalkThroughARow) {
  grid_->Navigation().AdvanceOnEnter = true;
  grid_->SetOptions(grid_->Options() + TGridOption::goTabs);
  KindAt[{2, 1}] = TEditorType::edEditBtn;
  KindAt[{3, 1}] = TEditorType::edSpinEdit;
  grid_->SetCells(3, 1, "0");
  Edit(1, 1);
  Type("a");
  Press(VK_RETURN);
  EXPECT_EQ(grid_->Col(), 2);
  Type("b");  // the editor of the cell reached is closed: typing opens it
  EXPECT_EQ(Shown(), grid_->EditBtnEditor());
  Press(VK_TAB);
  EXPECT_EQ(grid_->Col(), 3);
  Press(VK_F2);
  EXPECT_EQ(Shown(), grid_->SpinEditor());
  Press(VK_PRIOR);
  Press(VK_RETURN);
  EXPECT_EQ(grid_->Cells(1, 1), "a");
  EXPECT_EQ(grid_->Cells(2, 1), "b");
  EXPECT_EQ(grid_->Cells(3, 1), "1");
  EXPECT_EQ(grid_->Col(), 4);
}

// The text editor's navigation settings: walking out of the text with the arrows, the lookup of typed
// text with its history, and always-edit mode.
TEST_F(DovAdizEditingTest, TextEditorWalksLooksUpAndAlwaysEdits) {
  grid_->Navigation().CursorWalkEditor = true;
  grid_->Navigation().AdvanceDirection = TAdvanceDirection::adTopBottom;
  grid_->SetCells(1, 1, "ab");
  grid_->SetCells(2, 1, "cd");
  Edit(1, 1);
  Press(VK_RIGHT);
  EXPECT_EQ(grid_->Col(), 2);
  EXPECT_EQ(grid_->Row(), 1);
  EXPECT_TRUE(grid_->EditActive());
  EXPECT_EQ(grid_->Navigation().AdvanceDirection, TAdvanceDirection::adTopBottom);
  grid_->GetInplaceEditor()->SetSelStart(0);
  Press(VK_LEFT);
  EXPECT_EQ(grid_->Col(), 1);
  grid_->HideInplaceEdit();
  grid_->Navigation().CursorWalkEditor = false;

  grid_->Lookup = true;
  grid_->LookupHistory = true;
  grid_->LookupItems().SetText("hide\r\nmaximize\r\n");
  grid_->SetCells(1, 2, "");
  Edit(1, 2);
  Type("m");
  EXPECT_EQ(grid_->GetInplaceEditor()->Text(), "maximize");
  EXPECT_EQ(grid_->GetInplaceEditor()->SelLength(), 7);
  Press(VK_BACK);
  Type("x");
  EXPECT_EQ(grid_->GetInplaceEditor()->Text(), "mx");
  grid_->HideInplaceEdit();
  EXPECT_EQ(grid_->LookupItems().IndexOf("mx"), 2);

  grid_->Navigation().AlwaysEdit = true;
  Press(VK_DOWN);
  EXPECT_EQ(grid_->Row(), 3);
  EXPECT_TRUE(grid_->EditActive());
}

// Escape on the grid restores a cell only while its edit is open.
TEST_F(DovAdizEditingTest, EscapeOnTheGridRestoresOnlyAnOpenEdit) {
  grid_->SetCells(1, 1, "before");
  Edit(1, 1);
  Type("x");
  EXPECT_EQ(grid_->Cells(1, 1), "beforex");
  Press(VK_ESCAPE);
  EXPECT_EQ(grid_->Cells(1, 1), "before");
  grid_->SetCells(1, 1, "set by the program");
  Press(VK_ESCAPE);
  EXPECT_EQ(grid_->Cells(1, 1), "set by the program");
}

// A read-only cell takes goEditing away while it is current; the next editable cell gives it back.
TEST_F(DovAdizEditingTest, ReadOnlyCellRemovesEditingUntilTheNextEditableOne) {
  grid_->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& CanEdit) { CanEdit = ARow != 2; };
  grid_->SetCol(1);
  grid_->SetRow(2);
  EXPECT_FALSE(grid_->Options().Contains(TGridOption::goEditing));
  EXPECT_FALSE(grid_->IsEditable(1, 2));
  grid_->SetRow(3);
  EXPECT_TRUE(grid_->Options().Contains(TGridOption::goEditing));
  EXPECT_TRUE(grid_->IsEditable(1, 3));
}

TEST_F(DovAdizEditingTest, ComboItemList) {
  for (const char* item : {"hide", "normal"}) grid_->AddComboString(item);
  EXPECT_FALSE(grid_->RemoveComboString("maximize"));
  EXPECT_EQ(grid_->GetComboCount(), 2);
  EXPECT_TRUE(grid_->SetComboSelectionString("normal"));
  EXPECT_FALSE(grid_->SetComboSelectionString("gone"));
  EXPECT_EQ(grid_->ComboSelection(), 1);
  Kind = TEditorType::edComboList;
  grid_->SetCells(1, 1, "maximiert");
  Edit(1, 1);
  EXPECT_EQ(grid_->ComboEditor()->Text(), "normal");
  grid_->HideInplaceEdit();
  EXPECT_EQ(grid_->Cells(1, 1), "maximiert");
  // A selection past the list's end is kept within it; Up moves through the list, Right leaves it.
  grid_->SetComboSelection(9);
  Edit(1, 1);
  EXPECT_EQ(grid_->ComboEditor()->ItemIndex(), 1);
  Press(VK_UP);
  EXPECT_EQ(grid_->ComboEditor()->Text(), "hide");
  EXPECT_EQ(grid_->Row(), 1);
  Press(VK_RIGHT);
  EXPECT_EQ(grid_->Cells(1, 1), "hide");
  EXPECT_EQ(grid_->Col(), 2);
  EXPECT_FALSE(grid_->EditActive());
  // An open list: the arrows move through it, Enter takes the item and ends the edit.
  for (const TEditorType kind : {TEditorType::edComboList, TEditorType::edComboEdit}) {
    Kind = kind;
    grid_->SetCells(1, 3, "hide");
    Edit(1, 3);
    Press(VK_F4);
    ASSERT_TRUE(grid_->ComboEditor()->DroppedDown());
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_FALSE(grid_->EditActive());
    EXPECT_EQ(grid_->Cells(1, 3), "normal");
    EXPECT_EQ(grid_->Row(), 3);
  }
  EXPECT_TRUE(grid_->RemoveComboString("hide"));
  grid_->ClearComboString();
  EXPECT_EQ(grid_->GetComboCount(), 0);
}

// A check box or radio cell is edited by clicking: entering it leaves goEditing as it is.
TEST_F(DovAdizEditingTest, AStaticControlCellKeepsTheEditingOption) {
  grid_->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
  grid_->AddCheckBox(2, grid_->Row(), true, false);
  grid_->SetCol(2);
  EXPECT_TRUE(grid_->Options().Contains(TGridOption::goEditing));
  grid_->SetCol(3);
  EXPECT_FALSE(grid_->Options().Contains(TGridOption::goEditing));
  grid_->OnCanEditCell = nullptr;
}

// A cell that the grid reports fixed never becomes the current cell.
TEST_F(DovAdizEditingTest, AFixedCellRefusesTheCursor) {
  grid_->OnIsFixedCell = [](TObject*, int ARow, int ACol, bool& IsFixed) { IsFixed = ACol == 3; };
  grid_->SetCol(2);
  grid_->SetCol(3);
  EXPECT_EQ(grid_->Col(), 2);
  grid_->OnIsFixedCell = nullptr;
  grid_->SetCol(3);
  EXPECT_EQ(grid_->Col(), 3);
}

}  // namespace
}  // namespace velmora::testing
