#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Png.h"
#include "platform/gfx/TestFont.h"
#include "platform/grids/Grids.h"
#include "platform/grids/tests/GridFixture.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

// A string grid whose hooks the tests reach and watch.
class Grid : public TStringGrid {
public:
  using TStringGrid::KeyDown;
  using TStringGrid::TStringGrid;

  struct Drawn {
    int col, row;
    TGridDrawState state;
  };
  std::vector<Drawn> drawn;
  int topLeftChanges = 0;

protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
    drawn.push_back({ACol, ARow, AState});
    TStringGrid::DrawCell(ACol, ARow, ARect, AState);
  }
  void TopLeftChanged() override {
    ++topLeftChanges;
    TStringGrid::TopLeftChanged();
  }
};

// A 6 x 20 grid with one fixed column and row: columns 64 wide, rows 24 high, lines 1 wide; the client
// area 261 x 121 (without scroll bars) shows the fixed items and three whole columns and four whole rows.
class GridTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form = ShowForm(400, 300);
    grid = PlaceTestGrid<Grid>(*form);
    Settle();
  }
  void Key(WORD key, TShiftState shift = {}) { grid->KeyDown(key, shift); }
  TGridCoord Current() const { return {grid->Col(), grid->Row()}; }

  std::unique_ptr<TForm> form;
  Grid* grid = nullptr;
};

TEST_F(GridTest, CountsKeepFixedPartsAndCurrentCellInside) {
  EXPECT_EQ(grid->VisibleColCount(), 3);
  EXPECT_EQ(grid->VisibleRowCount(), 3);
  grid->SetFixedRows(3);
  EXPECT_EQ(grid->FixedRows(), 3);
  EXPECT_EQ(grid->Row(), 3);  // the current cell left the fixed rows
  EXPECT_EQ(grid->TopRow(), 3);
  grid->SetRowCount(3);  // to the fixed rows: they drop to count - 1
  EXPECT_EQ(grid->FixedRows(), 2);
  EXPECT_EQ(grid->Row(), 2);
  grid->SetFixedCols(10);
  EXPECT_EQ(grid->FixedCols(), 5);
  grid->SetColCount(0);
  EXPECT_EQ(grid->FixedCols(), 0);
  grid->SetColCount(4);
  grid->SetCells(3, 1, "kept");
  grid->SetColCount(3);
  grid->SetColCount(4);
  EXPECT_EQ(grid->Cells(3, 1), "");  // cells outside a lowered count are gone
}

TEST_F(GridTest, SizesAndLinesPlaceCellsAndHits) {
  grid->SetColWidths(1, 30);
  grid->SetRowHeights(0, 10);
  EXPECT_EQ(grid->CellRect(1, 1), (TRect{65, 11, 95, 35}));
  EXPECT_EQ(grid->CellRect(2, 2), (TRect{96, 36, 160, 60}));
  // A line belongs to the cell before it.
  struct Case {
    int x, y, col, row;
  } cases[] = {{0, 0, 0, 0},   {64, 10, 0, 0},    {65, 11, 1, 1},   {95, 35, 1, 1},
               {96, 36, 2, 2}, {260, 120, 4, 5},  {261, 5, -1, -1}, {-1, 5, -1, -1}};
  for (const Case& c : cases) {
    int col = 0, row = 0;
    grid->MouseToCell(c.x, c.y, col, row);
    EXPECT_EQ(col, c.col) << c.x << "," << c.y;
    EXPECT_EQ(row, c.row) << c.x << "," << c.y;
  }
  grid->SetGridLineWidth(3);
  EXPECT_EQ(grid->CellRect(1, 1), (TRect{67, 13, 97, 37}));
  grid->SetDefaultColWidth(20);  // replaces every column's own width
  EXPECT_EQ(grid->ColWidths(1), 20);
}

TEST_F(GridTest, TopRowAndLeftColScrollAndReport) {
  grid->SetTopRow(5);
  EXPECT_EQ(grid->TopRow(), 5);
  EXPECT_EQ(grid->topLeftChanges, 1);
  EXPECT_EQ(grid->CellRect(1, 4), TRect{});  // scrolled away
  EXPECT_EQ(grid->CellRect(1, 5), (TRect{65, 25, 129, 49}));
  grid->SetTopRow(5);
  EXPECT_EQ(grid->topLeftChanges, 1);  // no change, no report
  grid->SetTopRow(0);
  EXPECT_EQ(grid->TopRow(), 1);
  grid->SetLeftCol(99);
  EXPECT_EQ(grid->LeftCol(), 5);
}

TEST_F(GridTest, SelectionFollowsAnchorRangeAndRowSelect) {
  grid->SetCol(2);
  grid->SetRow(3);
  Key(VK_RIGHT, {TShiftStateFlag::ssShift});
  Key(VK_DOWN, {TShiftStateFlag::ssShift});
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 3, 3, 4}));
  Key(VK_LEFT, {TShiftStateFlag::ssShift});
  Key(VK_LEFT, {TShiftStateFlag::ssShift});
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 3, 2, 4}));  // the anchor stays at (2, 3)
  Key(VK_UP);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 3, 1, 3}));

  grid->SetOptions(grid->Options() - TGridOption::goRangeSelect);
  Key(VK_DOWN, {TShiftStateFlag::ssShift});
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 4, 1, 4}));
  grid->SetOptions(grid->Options() + TGridOption::goRowSelect);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 4, 5, 4}));

  grid->SetSelection({2, 6, 4, 8});
  grid->SetOptions(grid->Options() + TGridOption::goRangeSelect - TGridOption::goRowSelect);
  grid->SetSelection({2, 6, 4, 8});
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 6, 4, 8}));
  EXPECT_EQ(Current(), (TGridCoord{4, 8}));
  EXPECT_GE(grid->TopRow() + grid->VisibleRowCount() - 1, 8);  // scrolled into view
}

TEST_F(GridTest, SelectCellMayRefuse) {
  std::vector<TGridCoord> asked;
  grid->OnSelectCell = [&](TObject*, int col, int row, bool& can) {
    asked.push_back({col, row});
    can = row != 3;
  };
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(Current(), (TGridCoord{1, 2}));
  EXPECT_EQ(asked, (std::vector<TGridCoord>{{1, 2}, {1, 3}}));
}

TEST_F(GridTest, KeysMoveTheCurrentCellAndStopAtTheEnds) {
  struct Case {
    TGridCoord from;
    int top;
    WORD key;
    TShiftState shift;
    TGridCoord to;
    int toTop;
  } cases[] = {
      {{1, 1}, 1, VK_UP, {}, {1, 1}, 1},
      {{1, 1}, 1, VK_LEFT, {}, {1, 1}, 1},
      {{5, 19}, 17, VK_DOWN, {}, {5, 19}, 17},
      {{5, 19}, 17, VK_RIGHT, {}, {5, 19}, 17},
      {{1, 3}, 1, VK_DOWN, {}, {1, 4}, 2},
      {{2, 2}, 1, VK_NEXT, {}, {2, 5}, 4},
      {{2, 18}, 17, VK_NEXT, {}, {2, 19}, 17},
      {{2, 5}, 4, VK_PRIOR, {}, {2, 2}, 1},
      {{2, 2}, 1, VK_PRIOR, {}, {2, 1}, 1},
      {{3, 6}, 4, VK_HOME, {}, {1, 6}, 4},
      {{3, 6}, 4, VK_END, {}, {5, 6}, 4},
      {{3, 6}, 4, VK_HOME, {TShiftStateFlag::ssCtrl}, {1, 1}, 1},
      {{3, 6}, 4, VK_END, {TShiftStateFlag::ssCtrl}, {5, 19}, 17},
      {{3, 6}, 4, VK_PRIOR, {TShiftStateFlag::ssCtrl}, {3, 4}, 4},
      {{3, 5}, 4, VK_NEXT, {TShiftStateFlag::ssCtrl}, {3, 6}, 4},
      {{3, 6}, 4, VK_DOWN, {TShiftStateFlag::ssCtrl}, {3, 6}, 5},
      {{3, 6}, 4, VK_UP, {TShiftStateFlag::ssCtrl}, {3, 6}, 3},
      {{3, 6}, 4, VK_TAB, {}, {3, 6}, 4},  // without goTabs Tab is not the grid's
  };
  for (const Case& c : cases) {
    grid->SetTopRow(c.top);
    grid->SetCol(c.from.X);
    grid->SetRow(c.from.Y);
    grid->SetTopRow(c.top);
    WORD key = c.key;
    grid->KeyDown(key, c.shift);
    EXPECT_EQ(Current(), c.to) << "key " << c.key << " from " << c.from.X << "," << c.from.Y;
    EXPECT_EQ(grid->TopRow(), c.toTop) << "key " << c.key << " from " << c.from.X << "," << c.from.Y;
  }
}

TEST_F(GridTest, TabWalksRowsAndWraps) {
  grid->SetOptions(grid->Options() + TGridOption::goTabs);
  grid->SetCol(5);
  grid->SetRow(19);
  Key(VK_TAB);
  EXPECT_EQ(Current(), (TGridCoord{1, 1}));
  Key(VK_TAB, {TShiftStateFlag::ssShift});
  EXPECT_EQ(Current(), (TGridCoord{5, 19}));
  Key(VK_TAB, {TShiftStateFlag::ssShift});
  EXPECT_EQ(Current(), (TGridCoord{4, 19}));
  EXPECT_EQ(grid->Selection(), (TGridRect{4, 19, 4, 19}));  // Shift+Tab does not extend
  EXPECT_EQ(grid->Perform(WM_GETDLGCODE) & DLGC_WANTTAB, DLGC_WANTTAB);
}

TEST_F(GridTest, RowSelectScrollsColumnsWithLeftAndRight) {
  grid->SetOptions(grid->Options() + TGridOption::goRowSelect);
  Key(VK_RIGHT);
  EXPECT_EQ(Current(), (TGridCoord{1, 1}));
  EXPECT_EQ(grid->LeftCol(), 2);
  Key(VK_END);
  EXPECT_EQ(Current(), (TGridCoord{1, 19}));
}

TEST_F(GridTest, MouseSelectsDragsARangeAndTheWheelMovesTheRow) {
  Input().MouseDown(TMouseButtonKind::Left, At(*grid, 70, 30));
  Input().MouseMove(At(*grid, 140, 80));
  Input().MouseUp(TMouseButtonKind::Left, At(*grid, 140, 80));
  Settle();
  EXPECT_TRUE(grid->Focused());
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 3}));
  Input().MouseWheel(-120, At(*grid, 100, 100));
  Input().MouseWheel(-120, At(*grid, 100, 100));
  Settle();
  EXPECT_EQ(Current(), (TGridCoord{2, 5}));
  EXPECT_EQ(grid->TopRow(), 3);
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 5, 2, 5}));
  Input().PressKey(VK_DOWN);  // the grid wants the arrows for itself
  Settle();
  EXPECT_EQ(Current(), (TGridCoord{2, 6}));
}

TEST_F(GridTest, FixedLinesSizeAndFixedCellsMoveWithTheMouse) {
  grid->SetOptions(grid->Options() + TGridOption::goColSizing + TGridOption::goRowMoving);
  Input().MouseDown(TMouseButtonKind::Left, At(*grid, 128, 10));  // on column 1's right edge
  Input().MouseMove(At(*grid, 100, 10));
  Input().MouseUp(TMouseButtonKind::Left, At(*grid, 100, 10));
  Settle();
  EXPECT_EQ(grid->ColWidths(1), 36);
  EXPECT_EQ(grid->GridState(), TGridState::gsNormal);

  for (int row = 0; row < 20; ++row) grid->SetCells(0, row, std::to_string(row));
  std::vector<std::pair<int, int>> moved;
  grid->OnRowMoved = [&](TObject*, int from, int to) { moved.push_back({from, to}); };
  Input().MouseDown(TMouseButtonKind::Left, At(*grid, 10, 30));  // fixed cell of row 1
  Input().MouseUp(TMouseButtonKind::Left, At(*grid, 10, 80));     // dropped on row 3
  Settle();
  EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{1, 3}}));
  EXPECT_EQ(grid->Cells(0, 1), "2");
  EXPECT_EQ(grid->Cells(0, 3), "1");
}

TEST_F(GridTest, MovingAndDeletingCarryCellsObjectsAndSizes) {
  int marker = 0;
  for (int col = 0; col < 6; ++col) grid->SetCells(col, 2, "c" + std::to_string(col));
  grid->SetObjects(4, 2, &marker);
  grid->SetColWidths(4, 40);
  grid->MoveColumn(4, 1);
  EXPECT_EQ(grid->Cells(1, 2), "c4");
  EXPECT_EQ(grid->Objects(1, 2), &marker);
  EXPECT_EQ(grid->ColWidths(1), 40);
  EXPECT_EQ(grid->Cells(2, 2), "c1");
  grid->DeleteColumn(1);
  EXPECT_EQ(grid->ColCount(), 5);
  EXPECT_EQ(grid->Cells(1, 2), "c1");
  EXPECT_EQ(grid->ColWidths(1), 64);
  grid->SetCells(0, 3, "below");
  grid->DeleteRow(2);
  EXPECT_EQ(grid->RowCount(), 19);
  EXPECT_EQ(grid->Cells(0, 2), "below");

}

TEST_F(GridTest, PaintHandsEachShownCellItsState) {
  grid->SetFocus();
  grid->SetSelection({2, 2, 3, 2});
  grid->drawn.clear();
  grid->Repaint();
  ASSERT_EQ(grid->drawn.size(), 5u * 5u);  // the fixed row and column, four columns and rows partly shown
  for (const Grid::Drawn& d : grid->drawn) {
    TGridDrawState expected;
    if (d.col == 0 || d.row == 0) expected = {TGridDrawStateFlag::gdFixed};
    else if (d.col == 2 && d.row == 2) expected = {TGridDrawStateFlag::gdSelected};
    else if (d.col == 3 && d.row == 2) expected = {TGridDrawStateFlag::gdSelected, TGridDrawStateFlag::gdFocused};
    EXPECT_EQ(d.state.Bits(), expected.Bits()) << d.col << "," << d.row;
  }
}

TEST_F(GridTest, ReferenceScreenshotOfFixedRowsAndLines) {
  grid->Font().SetName(kTestFontName);
  grid->SetFixedRows(2);
  grid->SetColWidths(0, 30);
  grid->SetRowHeights(0, 18);
  grid->SetOptions(grid->Options() + TGridOption::goDrawFocusSelected);
  for (int col = 0; col < 6; ++col) grid->SetCells(col, 0, "H" + std::to_string(col));
  for (int row = 1; row < 20; ++row)
    for (int col = 0; col < 6; ++col) grid->SetCells(col, row, std::to_string(col * 100 + row));
  grid->SetFocus();
  grid->SetSelection({1, 3, 2, 4});
  Settle();
  TBitmap shot;
  shot.SetSize(grid->Width(), grid->Height());
  const TBitmap& shown = Input().Info(form->BackendWindow()).shown;
  const TPoint origin = WindowOriginInTop(grid);
  for (int y = 0; y < grid->Height(); ++y)
    std::copy_n(shown.ScanLine(origin.Y + y) + origin.X, grid->Width(), shot.ScanLine(y));

  std::string actual = PngBytes(shot);
  std::string reference = std::string(VELMORA_UI_FIXTURES) + "/string_grid.png";
  std::ifstream file(reference, std::ios::binary);
  std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (actual != expected) {
    std::string saved = ::testing::TempDir() + "string_grid.actual.png";
    std::ofstream(saved, std::ios::binary) << actual;
    FAIL() << "the screenshot differs from " << reference << "; it is saved as " << saved;
  }
}

}  // namespace
}  // namespace platform
