// The keys of editing around cells that open no editor: check-box cells, and typing on a grid that is
// not editing, which positions a sorted grid by the text typed.
#include <string>
#include <vector>

#include "grid/tests/DovAdizEditingFixture.h"
#include "grid/xpvs/ExXPVS.h"

namespace velmora::testing {
namespace {

using namespace platform;

// A check-box cell is edited by Space alone: F2 and Enter open no editor over it, Enter from the cell
// before it lands on it with AdvanceOnEnter, and Enter there moves on.
TEST_F(DovAdizEditingTest, ACheckBoxCellOpensNoEditorAndEnterWalksOverIt) {
  grid_->AddCheckBox(2, 1, false, false);
  Edit(2, 1);
  EXPECT_EQ(Shown(), nullptr);
  Press(VK_RETURN);
  EXPECT_EQ(Shown(), nullptr);
  EXPECT_EQ(grid_->Col(), 2);

  grid_->Navigation().AdvanceOnEnter = true;
  Edit(1, 1);
  Type("a");
  Press(VK_RETURN);
  EXPECT_EQ(grid_->Cells(1, 1), "a");
  EXPECT_EQ(grid_->Col(), 2);
  EXPECT_EQ(Shown(), nullptr);
  Input().PressKey(VK_SPACE, 0, " ");
  Settle();
  bool checked = false;
  ASSERT_TRUE(grid_->GetCheckBoxState(2, 1, checked));
  EXPECT_TRUE(checked);
  EXPECT_EQ(Shown(), nullptr);
  Press(VK_RETURN);
  EXPECT_EQ(grid_->Col(), 3);
  EXPECT_EQ(Shown(), nullptr);
}

// With LineFeedOnEnter Enter types a line break into a multi-line cell, and Ctrl+Enter ends the edit.
TEST_F(DovAdizEditingTest, LineFeedOnEnterLeavesCtrlEnterToEndTheEdit) {
  grid_->Multilinecells = true;
  grid_->Navigation().LineFeedOnEnter = true;
  grid_->SetCells(1, 1, "");
  Edit(1, 1);
  Type("a");
  Press(VK_RETURN);
  Type("b");
  EXPECT_EQ(grid_->Cells(1, 1), "a\r\nb");
  ASSERT_TRUE(grid_->EditActive());
  Press(VK_RETURN, bsCtrl);
  EXPECT_FALSE(grid_->EditActive());
  EXPECT_EQ(grid_->Cells(1, 1), "a\r\nb");
  EXPECT_EQ(grid_->Row(), 1);
}

// With SizeWhileTyping.Height in multi-line cells, Ctrl+Enter fits the row to the editor's lines at the
// key, whether or not Enter types line breaks.
TEST_F(DovAdizEditingTest, CtrlEnterFitsTheRowToTheEditorsLines) {
  grid_->Multilinecells = true;
  grid_->SizeWhileTyping().Height = true;
  grid_->SizeToLines(3, 3, 0);
  const int threeLines = grid_->RowHeights(3);
  for (const bool lineFeedOnEnter : {true, false}) {
    SCOPED_TRACE(lineFeedOnEnter);
    grid_->Navigation().LineFeedOnEnter = lineFeedOnEnter;
    grid_->SetRowHeights(1, grid_->DefaultRowHeight());
    Edit(1, 1);
    // Text set without a key: no key-up has sized the row.
    grid_->GetInplaceEditor()->SetText("a\r\nb\r\nc");
    Press(VK_RETURN, bsCtrl);
    EXPECT_FALSE(grid_->EditActive());
    EXPECT_EQ(grid_->RowHeights(1), threeLines);
  }
}

// Typed characters on a grid that is not editing make the first row whose search text begins with
// them (in any case) current: added up with AutoGotoIncremental, where Backspace takes one back and a
// cursor key starts anew, one at a time otherwise; the sort column is searched when it shows.
TEST_F(DovAdizEditingTest, TypingPositionsASortedGrid) {
  const std::vector<std::string> names{"", "alpha", "Beta", "bEtter", "gamma", "delta"};
  for (int r = 1; r < 6; ++r) {
    grid_->SetCells(1, r, names[static_cast<size_t>(r)]);
    grid_->SetCells(2, r, std::string(1, static_cast<char>('v' - r)));
  }
  grid_->SetOptions(grid_->Options() - TGridOption::goEditing);
  grid_->Navigation().AutoGotoWhenSorted = true;
  grid_->Navigation().AutoGotoIncremental = true;
  grid_->SetRow(1);
  struct Step {
    const char* typed;
    int key;  // pressed after typing, 0 for none
    int row;
  } steps[] = {
      {"b", 0, 2}, {"e", 0, 2}, {"tt", 0, 3}, {"", VK_BACK, 2}, {"x", 0, 2}, {"", VK_DOWN, 3}, {"d", 0, 5},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.typed) + "/" + std::to_string(step.key));
    Type(step.typed);
    if (step.key != 0) Press(step.key);
    EXPECT_EQ(grid_->Row(), step.row);
  }
  EXPECT_EQ(grid_->Search("GAM"), 4);
  EXPECT_EQ(grid_->Search("zeta"), -1);

  grid_->Navigation().AutoGotoIncremental = false;
  Type("ga");
  EXPECT_EQ(grid_->Row(), 1);
  grid_->SortSettings().Show = true;
  grid_->SortSettings().Column = 2;
  Type("s");
  EXPECT_EQ(grid_->Row(), 3);

  // Typing on an editing grid edits the cell instead.
  grid_->SetOptions(grid_->Options() + TGridOption::goEditing);
  grid_->SetRow(1);
  Type("t");
  EXPECT_EQ(grid_->Row(), 1);
  EXPECT_TRUE(grid_->EditActive());
}

// The combo and the spin editor draw their buttons through the theme when the grid found one in force.
TEST_F(DovAdizEditingTest, TheComboAndSpinTakeTheGridsTheme) {
  EXPECT_FALSE(grid_->SpinEditor()->IsWinXP());
  EXPECT_FALSE(grid_->ComboEditor()->ThemedButton());
  xpvs::IsThemeActive = []() -> xpvs::BOOL { return 1; };
  auto* themed = new TEditingGrid(form_.get());
  xpvs::IsThemeActive = nullptr;
  EXPECT_TRUE(themed->SpinEditor()->IsWinXP());
  EXPECT_TRUE(themed->ComboEditor()->ThemedButton());
}

}  // namespace
}  // namespace velmora::testing
