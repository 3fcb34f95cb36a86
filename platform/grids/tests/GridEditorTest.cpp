#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/gfx/TestFont.h"
#include "platform/grids/Grids.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

// A string grid that records the cells it paints.
class Grid : public TStringGrid {
public:
  using TStringGrid::InvalidateCol;
  using TStringGrid::InvalidateRow;
  using TStringGrid::TStringGrid;
  std::vector<TGridCoord> drawn;

protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
    drawn.push_back({ACol, ARow});
    TStringGrid::DrawCell(ACol, ARow, ARect, AState);
  }
};

// The 6 x 20 grid of the grid tests (columns 64 wide, rows 24 high, one fixed column and row) with
// editing on, focused, and cell (c, r) holding "c,r"; an edit beside it to take the focus away.
class GridEditorTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form = ShowForm(400, 300);
    form->Font().SetName(kTestFontName);
    grid = new Grid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(0, 0, 261, 121);
    grid->SetColCount(6);
    grid->SetRowCount(20);
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    for (int row = 0; row < 20; ++row)
      for (int col = 0; col < 6; ++col) grid->SetCells(col, row, std::to_string(col) + "," + std::to_string(row));
    other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(0, 200, 100, 21);
    grid->SetFocus();
    Settle();
  }
  void TearDown() override {
    form.reset();
    FormTest::TearDown();
  }

  void Type(const std::string& text) {
    for (char c : text) Input().Char(std::string(1, c));
    Settle();
  }
  TInplaceEdit* Editor() const { return grid->InplaceEditor(); }
  bool Editing() const { return Editor() && Editor()->Visible(); }
  TGridCoord Current() const { return {grid->Col(), grid->Row()}; }

  std::unique_ptr<TForm> form;
  Grid* grid = nullptr;
  TEdit* other = nullptr;
};

TEST_F(GridEditorTest, StartKeysOpenTheEditorOverTheCurrentCell) {
  struct Case {
    const char* name;
    int key;
    const char* typed;  // a character typed instead of a key
    TGridOptions removed;
    bool edits;
    std::string text;
    int selStart, selLength;
  } cases[] = {
      {"F2", VK_F2, nullptr, {}, true, "2,3", 3, 0},
      {"Enter", VK_RETURN, nullptr, {}, true, "2,3", 0, 3},
      {"a character", 0, "x", {}, true, "x", 1, 0},
      {"Backspace", VK_BACK, nullptr, {}, true, "", 0, 0},
      {"a letter without goEditing", 0, "x", {TGridOption::goEditing}, false, "", 0, 0},
      {"F2 without goEditing", VK_F2, nullptr, {TGridOption::goEditing}, false, "", 0, 0},
      {"Space", 0, " ", {}, true, " ", 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid->SetOptions(grid->Options() + TGridOption::goEditing - c.removed);
    grid->HideEditor();
    grid->SetCol(2);
    grid->SetRow(3);
    if (c.typed)
      Type(c.typed);
    else
      Press(c.key);
    ASSERT_EQ(Editing(), c.edits);
    if (!c.edits) {
      EXPECT_TRUE(grid->Focused());
      continue;
    }
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_TRUE(Editor()->Focused());
    EXPECT_EQ(Editor()->BoundsRect(), grid->CellRect(2, 3));
    EXPECT_EQ(Editor()->Text(), c.text);
    EXPECT_EQ(grid->Cells(2, 3), c.text);  // every change goes to the cell at once
    EXPECT_EQ(Editor()->SelStart(), c.selStart);
    EXPECT_EQ(Editor()->SelLength(), c.selLength);
  }
}

TEST_F(GridEditorTest, TheEditorHandsTheKeysThatLeaveTheCellToTheGrid) {
  grid->SetOptions(grid->Options() + TGridOption::goTabs);
  struct Case {
    const char* name;
    int key;
    unsigned shift;
    TGridCoord to;
    bool editing;
    std::string cell;  // cell (2, 3) afterwards
  } cases[] = {
      {"Up", VK_UP, 0, {2, 2}, false, "2,3z"},
      {"Down", VK_DOWN, 0, {2, 4}, false, "2,3z"},
      {"Page Down", VK_NEXT, 0, {2, 6}, false, "2,3z"},
      {"Page Up", VK_PRIOR, 0, {2, 1}, false, "2,3z"},
      {"Tab with goTabs", VK_TAB, 0, {3, 3}, false, "2,3z"},
      {"Shift+Tab with goTabs", VK_TAB, bsShift, {1, 3}, false, "2,3z"},
      {"Escape", VK_ESCAPE, 0, {2, 3}, false, "2,3"},
      {"Left stays in the editor", VK_LEFT, 0, {2, 3}, true, "2,3z"},
      {"Right stays in the editor", VK_RIGHT, 0, {2, 3}, true, "2,3z"},
      {"Home stays in the editor", VK_HOME, 0, {2, 3}, true, "2,3z"},
      {"End stays in the editor", VK_END, 0, {2, 3}, true, "2,3z"},
      {"Enter ends editing", VK_RETURN, 0, {2, 3}, false, "2,3z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid->SetCells(2, 3, "2,3");
    grid->SetCol(2);
    grid->SetRow(3);
    Press(VK_F2);
    Type("z");
    Press(c.key, c.shift);
    EXPECT_EQ(Current(), c.to);
    EXPECT_EQ(Editing(), c.editing);
    EXPECT_EQ(grid->EditorMode(), c.editing);
    EXPECT_EQ(grid->Cells(2, 3), c.cell);
    EXPECT_TRUE(c.editing ? Editor()->Focused() : grid->Focused());
  }

  // Without goTabs the editor keeps Tab to itself; the form moves the focus on.
  grid->SetOptions(grid->Options() - TGridOption::goTabs);
  Press(VK_F2);
  Press(VK_TAB);
  EXPECT_EQ(Current(), (TGridCoord{2, 3}));
  EXPECT_EQ(Editor()->Text(), "2,3z");
}

TEST_F(GridEditorTest, EscapeRestoresTheTextFromWhenTheEditorTookTheCell) {
  Press(VK_RETURN);
  Type("new");
  Press(VK_BACK);
  EXPECT_EQ(grid->Cells(1, 1), "ne");
  Press(VK_ESCAPE);
  EXPECT_FALSE(Editing());
  EXPECT_EQ(grid->Cells(1, 1), "1,1");
  Press(VK_ESCAPE);  // nothing left to cancel
  EXPECT_EQ(grid->Cells(1, 1), "1,1");

  // Enter commits: a later Escape does not undo it.
  Press(VK_RETURN);
  Type("kept");
  Press(VK_RETURN);
  Press(VK_ESCAPE);
  EXPECT_EQ(grid->Cells(1, 1), "kept");
}

TEST_F(GridEditorTest, AlwaysShowEditorEditsEveryCellTheCursorReaches) {
  grid->SetOptions(grid->Options() + TGridOption::goAlwaysShowEditor);
  ASSERT_TRUE(Editing());
  EXPECT_TRUE(Editor()->Focused());
  Type("a");
  Press(VK_DOWN);
  EXPECT_EQ(grid->Cells(1, 1), "a");
  EXPECT_TRUE(Editing());
  EXPECT_EQ(Editor()->BoundsRect(), grid->CellRect(1, 2));
  EXPECT_EQ(Editor()->Text(), "1,2");
  Type("b");
  Press(VK_ESCAPE);  // restores, and editing goes on
  EXPECT_EQ(grid->Cells(1, 2), "1,2");
  EXPECT_TRUE(Editing());
  Press(VK_RETURN);  // Enter does not end it
  EXPECT_TRUE(Editing());

  // Leaving the grid keeps the editor on its cell; coming back edits there again.
  other->SetFocus();
  Settle();
  EXPECT_TRUE(Editing());
  grid->SetFocus();
  Settle();
  EXPECT_TRUE(Editor()->Focused());
}

TEST_F(GridEditorTest, TheEditorFollowsScrollingSizingAndMoving) {
  grid->SetRow(2);
  Press(VK_F2);
  grid->SetTopRow(2);
  Settle();
  EXPECT_EQ(Editor()->BoundsRect(), grid->CellRect(1, 2));
  grid->SetColWidths(1, 40);
  grid->SetRowHeights(0, 10);
  Settle();
  EXPECT_EQ(Editor()->BoundsRect(), grid->CellRect(1, 2));

  grid->SetTopRow(5);  // the cell scrolls away: the editor hides and the grid keeps the focus
  Settle();
  EXPECT_FALSE(Editor()->Visible());
  EXPECT_TRUE(grid->EditorMode());
  EXPECT_TRUE(grid->Focused());
  grid->SetTopRow(1);
  Settle();
  EXPECT_TRUE(Editing());
  EXPECT_EQ(Editor()->BoundsRect(), grid->CellRect(1, 2));

  // Moving a column under the editor: it edits what is now the current cell.
  grid->MoveColumn(3, 1);
  Settle();
  EXPECT_EQ(Editor()->Text(), "3,2");
  Type("m");
  EXPECT_EQ(grid->Cells(1, 2), "m");
  EXPECT_EQ(grid->Cells(2, 2), "1,2");

  // A cell the program changes shows in the editor; lowering the counts takes it to the new current
  // cell, or ends editing when none is left.
  grid->SetCells(1, 2, "set");
  EXPECT_EQ(Editor()->Text(), "set");
  grid->SetRowCount(2);
  Settle();
  EXPECT_EQ(Editor()->Text(), "3,1");
  EXPECT_EQ(Editor()->BoundsRect(), grid->CellRect(1, 1));
  grid->SetColCount(0);
  Settle();
  EXPECT_FALSE(Editing());
  EXPECT_FALSE(grid->EditorMode());
}

// Row sets inserted above the editor move it with its cell; deleting its row hands it the row that
// takes the place.
TEST_F(GridEditorTest, TheEditorMovesWithItsCellThroughRowSets) {
  grid->SetRow(2);
  Press(VK_F2);
  grid->InsertRowSet({0, 1});
  Settle();
  EXPECT_EQ(Current(), (TGridCoord{1, 4}));
  EXPECT_EQ(Editor()->Text(), "1,2");
  EXPECT_EQ(Editor()->BoundsRect(), grid->CellRect(1, 4));
  Type("x");
  EXPECT_EQ(grid->Cells(1, 4), "1,2x");

  grid->DeleteRowSet({1, 4});
  Settle();
  EXPECT_EQ(Current(), (TGridCoord{1, 3}));
  EXPECT_EQ(Editor()->Text(), "1,3");
  Type("y");  // goes to the new row
  EXPECT_NE(grid->Cells(1, 3), "1,3");
  EXPECT_EQ(grid->Cells(1, 3), Editor()->Text());
}

TEST_F(GridEditorTest, ClickingTheCurrentCellEditsItAndAnotherCellEndsEditing) {
  Input().Click(At(*grid, 70, 30));  // cell (1, 1), already current
  Settle();
  ASSERT_TRUE(Editing());
  Type("q");
  Input().Click(At(*grid, 140, 55));  // cell (2, 2)
  Settle();
  EXPECT_FALSE(Editing());
  EXPECT_EQ(Current(), (TGridCoord{2, 2}));
  EXPECT_EQ(grid->Cells(1, 1), "q");
  EXPECT_TRUE(grid->Focused());
}

// A grid whose editor hooks are its own: another text, limit and mask, and an editor class of its own.
class HookedGrid : public TStringGrid {
public:
  using TStringGrid::TStringGrid;
  class Editor : public TInplaceEdit {
  public:
    using TInplaceEdit::TInplaceEdit;
  };
  std::vector<std::string> written;
  std::string mask;

protected:
  TInplaceEdit* CreateEditor() override { return new Editor(this); }
  std::string GetEditText(int ACol, int ARow) override { return "<" + Cells(ACol, ARow) + ">"; }
  void SetEditText(int ACol, int ARow, const std::string& Value) override { written.push_back(Value); }
  int GetEditLimit() override { return 4; }
  std::string GetEditMask(int ACol, int ARow) override { return ARow == 2 ? mask : ""; }
};

TEST_F(GridEditorTest, TheEditTextHooksDecideWhatTheEditorHoldsAndWhereItGoes) {
  auto* hooked = new HookedGrid(form.get());
  hooked->SetParent(form.get());
  hooked->SetBounds(0, 130, 261, 60);
  hooked->SetOptions(hooked->Options() + TGridOption::goEditing);
  hooked->SetCells(1, 1, "ab");
  hooked->SetFocus();
  Press(VK_RETURN);
  auto* editor = dynamic_cast<HookedGrid::Editor*>(hooked->InplaceEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->Grid(), hooked);
  EXPECT_EQ(editor->Text(), "<ab>");
  EXPECT_EQ(editor->MaxLength(), 4);
  EXPECT_TRUE(hooked->written.empty());  // loading the editor writes nothing back
  Type("abcde");  // the limit refuses the last character
  EXPECT_EQ(hooked->written, (std::vector<std::string>{"a", "ab", "abc", "abcd"}));
  EXPECT_EQ(hooked->Cells(1, 1), "ab");

  // The cell below has a mask: the editor shows its edit text and hands on the masked text.
  hooked->mask = "99:99;1;_";
  hooked->SetCells(1, 2, "1234");
  hooked->written.clear();
  Press(VK_DOWN);
  Press(VK_RETURN);
  EXPECT_EQ(editor->EditMask(), "99:99;1;_");
  // "<1234>" taken position by position: "<" is no digit, "2" falls on the literal.
  EXPECT_EQ(editor->EditText(), "_1:34");
  EXPECT_TRUE(hooked->written.empty());
  editor->SetEditText("__:__");
  editor->SetSelStart(0);
  hooked->written.clear();
  Type("0945");
  EXPECT_EQ(editor->EditText(), "09:45");
  EXPECT_EQ(hooked->written.back(), "09:45");
  Press(VK_UP);  // back to a cell without a mask: the text is its own, not reformatted
  Press(VK_RETURN);
  EXPECT_EQ(editor->EditMask(), "");
  EXPECT_EQ(editor->Text(), "<ab>");
}

TEST_F(GridEditorTest, AChangedCellRepaintsThatCellOnly) {
  grid->drawn.clear();
  grid->SetCells(2, 2, "changed");
  grid->SetCells(4, 10, "not shown");
  Settle();
  EXPECT_EQ(grid->drawn, (std::vector<TGridCoord>{{2, 2}}));
  // A row or a column: the cells of it that are shown.
  std::vector<TGridCoord> row, column;
  for (int i = 0; i < 20; ++i) {
    if (!IsRectEmpty(grid->CellRect(i, 3))) row.push_back({i, 3});
    if (!IsRectEmpty(grid->CellRect(0, i))) column.push_back({0, i});
  }
  ASSERT_GE(row.size(), 4u);
  ASSERT_GE(column.size(), 4u);
  grid->drawn.clear();
  grid->InvalidateRow(3);
  Settle();
  EXPECT_EQ(grid->drawn, row);
  grid->drawn.clear();
  grid->InvalidateCol(0);
  Settle();
  EXPECT_EQ(grid->drawn, column);
}

TEST_F(GridEditorTest, AnEditorDestroyedEarlyIsForgotten) {
  Press(VK_F2);
  delete Editor();
  EXPECT_EQ(grid->InplaceEditor(), nullptr);
  grid->SetFocus();
  Press(VK_F2);  // a new one is made
  EXPECT_TRUE(Editing());
  EXPECT_EQ(Editor()->Text(), "1,1");
}

TEST_F(GridEditorTest, ColsAndRowsAreTheCellsThemselves) {
  TStringList& column = grid->Cols(2);
  EXPECT_EQ(column.Count(), 20);
  EXPECT_EQ(column.Strings(3), "2,3");
  column.SetStrings(3, "through the column");
  EXPECT_EQ(grid->Cells(2, 3), "through the column");
  grid->SetCells(2, 4, "through the grid");
  EXPECT_EQ(column.Strings(4), "through the grid");
  int marker = 0;
  grid->Rows(5).SetObjects(1, &marker);
  EXPECT_EQ(grid->Objects(1, 5), &marker);
  EXPECT_EQ(&grid->Cols(2), &column);  // one list per column

  grid->SetRowCount(8);
  EXPECT_EQ(column.Count(), 8);
  EXPECT_EQ(grid->Cols(9).Count(), 0);  // outside the grid
  EXPECT_THROW(column.Strings(8), EListError);
  EXPECT_THROW(column.Insert(0, "x"), EListError);
  EXPECT_THROW(column.Delete(0), EListError);
  EXPECT_EQ(column.Count(), 8);

  // Assign fills from the start and keeps the rest; Add takes the first empty cell.
  TStringList source;
  source.Add("a");
  source.AddObject("b", &marker);
  grid->SetRows(6, source);
  EXPECT_EQ(grid->Cells(0, 6), "a");
  EXPECT_EQ(grid->Cells(1, 6), "b");
  EXPECT_EQ(grid->Objects(1, 6), &marker);
  EXPECT_EQ(grid->Cells(2, 6), "2,6");
  TStringList& row = grid->Rows(7);
  row.Clear();
  EXPECT_EQ(grid->Cells(3, 7), "");
  EXPECT_EQ(row.Add("first"), 0);
  EXPECT_EQ(row.Add("second"), 1);
  for (int i = 2; i < 6; ++i) row.Add("more");
  EXPECT_EQ(row.Add("no room"), -1);
  EXPECT_EQ(row.Text(), "first\r\nsecond\r\nmore\r\nmore\r\nmore\r\nmore\r\n");

  // A list stays bound to its index when rows move.
  grid->MoveRow(7, 1);
  EXPECT_EQ(row.Strings(0), "a");
  EXPECT_EQ(grid->Rows(1).Strings(0), "first");
}

}  // namespace
}  // namespace platform
