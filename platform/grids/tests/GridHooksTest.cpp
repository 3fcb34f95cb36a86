#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/TestFont.h"
#include "platform/grids/Grids.h"
#include "platform/grids/tests/GridFixture.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

// A string grid with a footer of its own height, that records the states it paints, the cancelled
// edits and the writes of the editor, and leaves a cancelled cell to the test.
class Grid : public TStringGrid {
public:
  using TStringGrid::PermuteRows;
  using TStringGrid::SizingIndex;
  using TStringGrid::TStringGrid;

  int footer = 0;
  std::vector<TGridDrawState> states;
  std::vector<std::string> written, canceled;

protected:
  int FooterHeight() const override { return footer; }
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
    if (ACol >= FixedCols() && ARow >= FixedRows()) states.push_back(AState);
    TStringGrid::DrawCell(ACol, ARow, ARect, AState);
  }
  void SetEditText(int ACol, int ARow, const std::string& Value) override {
    written.push_back(Value);
    TStringGrid::SetEditText(ACol, ARow, Value);
  }
  void EditCanceled(int ACol, int ARow, const std::string& OriginalText) override {
    canceled.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + ":" + OriginalText);
  }
};

// The grid of the grid tests, focused.
class GridHooksTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form = ShowForm(400, 300);
    form->Font().SetName(kTestFontName);
    grid = PlaceTestGrid<Grid>(*form);
    grid->SetFocus();
    Settle();
  }
  void TearDown() override {
    form.reset();
    FormTest::TearDown();
  }
  // Column 1 holds "r<row>"; the editor is open on the given row.
  void EditRow(int row) {
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    for (int r = 0; r < 20; ++r) grid->SetCells(1, r, "r" + std::to_string(r));
    grid->SetRow(row);
    Input().PressKey(VK_RETURN, 0, "\r");
    Settle();
  }
  int SelectedPainted() {
    grid->states.clear();
    grid->Invalidate();
    Settle();
    int selected = 0;
    for (TGridDrawState state : grid->states) selected += state.Contains(TGridDrawStateFlag::gdSelected);
    return selected;
  }

  std::unique_ptr<TForm> form;
  Grid* grid = nullptr;
};

TEST_F(GridHooksTest, AClickFiresOnClickOnce) {
  int clicks = 0;
  grid->OnClick = [&](TObject*) { ++clicks; };
  const TPoint cells[] = {{70, 30}, {140, 55}, {10, 10}, {70, 5}};  // scrolling, another, fixed corner, fixed row
  for (const TPoint& at : cells) {
    Input().Click(At(*grid, at.X, at.Y));
    Settle();
  }
  EXPECT_EQ(clicks, 4);
}

TEST_F(GridHooksTest, AHiddenSelectionPaintsNoCellSelectedAndShowsAgain) {
  grid->SetSelection({1, 1, 3, 2});
  EXPECT_EQ(SelectedPainted(), 6);
  grid->SetSelectionShown(false);
  EXPECT_EQ(SelectedPainted(), 0);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 3, 2}));  // kept
  grid->SetSelectionShown(true);
  EXPECT_EQ(SelectedPainted(), 6);
}

TEST_F(GridHooksTest, RowsStayAboveTheFooter) {
  struct Case {
    int footer;
    int visibleRows, topForLast;
  };
  // Above a footer of 50 the rows have 71 pixels: the fixed row and one whole row of 25.
  for (const Case& c : {Case{0, 3, 17}, Case{50, 1, 19}}) {
    SCOPED_TRACE(c.footer);
    grid->footer = c.footer;
    grid->SetRow(1);
    EXPECT_EQ(grid->VisibleRowCount(), c.visibleRows);
    grid->SetRow(19);
    EXPECT_EQ(grid->TopRow(), c.topForLast);
    const TRect last = grid->CellRect(1, 19);
    EXPECT_LE(last.Bottom, 121 - c.footer);
    EXPECT_EQ(grid->MouseCoord(70, last.Bottom - 1).Y, 19);
  }
  EXPECT_EQ(grid->MouseCoord(70, 80).Y, -1);  // in the footer
}

TEST_F(GridHooksTest, TheSizedColumnOrRowIsKnownWhileTheMouseSizesIt) {
  grid->SetOptions(grid->Options() + TGridOption::goColSizing + TGridOption::goRowSizing);
  struct Case {
    TPoint press;
    TGridState state;
    int index;
  };
  const Case cases[] = {{{129, 5}, TGridState::gsColSizing, 1}, {{10, 49}, TGridState::gsRowSizing, 1},
                        {{100, 40}, TGridState::gsSelecting, -1}};
  for (const Case& c : cases) {
    Input().MouseDown(TMouseButtonKind::Left, At(*grid, c.press.X, c.press.Y));
    Settle();
    EXPECT_EQ(grid->GridState(), c.state);
    EXPECT_EQ(grid->SizingIndex(), c.index);
    Input().MouseUp(TMouseButtonKind::Left, At(*grid, c.press.X, c.press.Y));
    Settle();
    EXPECT_EQ(grid->SizingIndex(), -1);
  }
}

TEST_F(GridHooksTest, EscapeHandsTheOriginalTextToTheCancelHookOnly) {
  grid->SetOptions(grid->Options() + TGridOption::goEditing);
  grid->SetCells(1, 1, "<b>bold</b>");
  Input().PressKey(VK_RETURN, 0, "\r");
  Settle();
  for (char c : std::string("x")) Input().Char(std::string(1, c));
  Settle();
  grid->written.clear();
  Input().PressKey(VK_ESCAPE, 0, "\x1b");
  Settle();
  EXPECT_EQ(grid->canceled, (std::vector<std::string>{"1,1:<b>bold</b>"}));
  EXPECT_TRUE(grid->written.empty());  // the editor's restored text is not written back
  EXPECT_EQ(grid->Cells(1, 1), "x");   // the hook here leaves the cell alone
}

TEST_F(GridHooksTest, AnEditorWhoseRowIsDeletedTakesTheRowThatTakesItsPlace) {
  EditRow(3);
  ASSERT_EQ(grid->InplaceEditor()->Text(), "r3");
  grid->DeleteRows(2, 2);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->InplaceEditor()->Text(), "r4");
  Input().Char("x");
  Settle();
  EXPECT_EQ(grid->Cells(1, 2), "x");
  grid->InsertRows(0, 3);  // the editor stays on its row as it moves down
  EXPECT_EQ(grid->Row(), 5);
  Input().Char("y");
  Settle();
  EXPECT_EQ(grid->Cells(1, 5), "xy");
}

TEST_F(GridHooksTest, AnEditorWhoseRowIsPermutedTakesTheRowThatComesToIt) {
  EditRow(3);
  ASSERT_EQ(grid->InplaceEditor()->Text(), "r3");
  grid->PermuteRows(6, {7, 6});  // not the editor's row
  EXPECT_EQ(grid->InplaceEditor()->Text(), "r3");
  grid->PermuteRows(2, {3, 5, 2, 4});
  EXPECT_EQ(grid->Row(), 3);
  EXPECT_EQ(grid->InplaceEditor()->Text(), "r5");
  Input().Char("x");
  Settle();
  EXPECT_EQ(grid->Cells(1, 3), "x");
  EXPECT_EQ(grid->Cells(1, 4), "r2");
}

}  // namespace
}  // namespace platform
