#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/TestFont.h"
#include "platform/grids/Grids.h"
#include "platform/ui/ScrollBars.h"
#include "platform/ui/TopLevelWindow.h"
#include "platform/ui/tests/FormFixture.h"
#include "platform/ui/tests/LookFixture.h"

namespace platform {
namespace {

// A string grid that counts its moves of TopRow and LeftCol.
class CountingGrid : public TStringGrid {
public:
  using TStringGrid::TStringGrid;
  int topLeftChanges = 0;

protected:
  void TopLeftChanged() override {
    ++topLeftChanges;
    TStringGrid::TopLeftChanged();
  }
};

// A grid of 10 columns and 1000 rows with one fixed column and row (columns 64 + 1 pixels, rows 24 + 1),
// 300 x 266 pixels with both bars: a client area of 284 x 250, which shows the fixed row and 9 rows, so
// the last top row is 991; and the fixed column and 3 columns, so the last left column is 7.
class GridScrollTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form = ShowForm(500, 600);
    grid = new CountingGrid(form.get());
    grid->SetParent(form.get());
    grid->SetColCount(10);
    grid->SetRowCount(1000);
    grid->SetBounds(0, 0, 300, 266);
    Settle();
  }
  void TearDown() override {
    form.reset();
    FormTest::TearDown();
  }
  void Scroll(UINT msg, WORD code, int pos = 0) {
    grid->Perform(msg, code | (static_cast<WPARAM>(pos) << 16), 0);
  }
  int Range(int bar) {
    int min = 0, max = 0;
    GetScrollRange(grid->Handle(), bar, min, max);
    return max;
  }

  std::unique_ptr<TForm> form;
  CountingGrid* grid = nullptr;
};

TEST_F(GridScrollTest, ThePositionRangeIsShortAndMapsBothEndsOfTheRows) {
  ASSERT_EQ(grid->ClientHeight(), 250);
  ASSERT_EQ(grid->VisibleRowCount(), 9);
  EXPECT_EQ(Range(SB_VERT), 127);
  EXPECT_EQ(Range(SB_HORZ), 127);
  // TopRow to the bar's position, (TopRow - 1) * 127 / (last top row - 1) rounded, and the thumb's
  // position to TopRow, 1 + position * (last top row - 1) / 127 rounded: near both ends, for 1000 rows
  // (the last top row 991) and for 100 000 (99 991), where one position stands for 787 rows.
  const struct {
    int rowCount;
    std::vector<std::pair<int, int>> rowsToPositions, positionsToRows;
  } counts[] = {
      {1000, {{1, 0}, {2, 0}, {5, 1}, {987, 126}, {990, 127}, {991, 127}}, {{0, 1}, {1, 9}, {64, 500}, {126, 983}, {127, 991}}},
      {100000,
       {{1, 0}, {394, 0}, {395, 1}, {99597, 126}, {99598, 127}, {99991, 127}},
       {{0, 1}, {1, 788}, {63, 49602}, {64, 50390}, {126, 99204}, {127, 99991}}},
  };
  for (const auto& count : counts) {
    SCOPED_TRACE(count.rowCount);
    grid->SetRowCount(count.rowCount);
    for (const auto& [topRow, position] : count.rowsToPositions) {
      SCOPED_TRACE(topRow);
      grid->SetTopRow(topRow);
      EXPECT_EQ(GetScrollPos(grid->Handle(), SB_VERT), position);
    }
    for (const auto& [position, topRow] : count.positionsToRows) {
      SCOPED_TRACE(position);
      Scroll(WM_VSCROLL, SB_THUMBPOSITION, position);
      EXPECT_EQ(grid->TopRow(), topRow);
    }
  }
  // The columns the same way, over 1 .. 7.
  const struct {
    int position, leftCol;
  } positionsToCols[] = {{0, 1}, {11, 2}, {64, 4}, {127, 7}};
  for (const auto& c : positionsToCols) {
    SCOPED_TRACE(c.position);
    Scroll(WM_HSCROLL, SB_THUMBPOSITION, c.position);
    EXPECT_EQ(grid->LeftCol(), c.leftCol);
    EXPECT_EQ(GetScrollPos(grid->Handle(), SB_HORZ), MulDiv(c.leftCol - 1, 127, 6));
  }
}

TEST_F(GridScrollTest, LinePageAndEndCodesMoveTopRowAndReportEveryMove) {
  grid->SetRowHeights(5, 0);
  const struct {
    const char* what;
    int from;
    WORD code;
    int to;
  } cases[] = {
      {"line down", 1, SB_LINEDOWN, 2},
      {"line down over a hidden row", 4, SB_LINEDOWN, 6},
      {"line up at the top", 1, SB_LINEUP, 1},
      {"line down at the bottom", 991, SB_LINEDOWN, 991},
      {"page down: the last whole row becomes the top one", 10, SB_PAGEDOWN, 18},
      {"page up: the top row becomes the last whole one", 18, SB_PAGEUP, 10},
      {"page up near the top", 3, SB_PAGEUP, 1},
      {"page down near the bottom", 988, SB_PAGEDOWN, 991},
      {"bottom", 1, SB_BOTTOM, 991},
      {"top", 500, SB_TOP, 1},
      {"tracking without goThumbTracking", 1, SB_THUMBTRACK, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    grid->SetTopRow(c.from);
    const int before = grid->topLeftChanges;
    Scroll(WM_VSCROLL, c.code, 127);
    EXPECT_EQ(grid->TopRow(), c.to);
    EXPECT_EQ(grid->topLeftChanges - before, c.to == c.from ? 0 : 1);
  }
  grid->SetOptions(grid->Options() + TGridOption::goThumbTracking);
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 127);
  EXPECT_EQ(grid->TopRow(), 991);
}

TEST_F(GridScrollTest, DraggingTheThumbMovesTheGridAtReleaseOrWhileDraggingWithThumbTracking) {
  // The vertical bar at x 284..300 has a track of 218 pixels with a square thumb: 202 pixels for
  // positions 0..127. Dragging the thumb down by 101 pixels reaches position 64, row 500.
  for (bool tracking : {false, true}) {
    SCOPED_TRACE(tracking ? "goThumbTracking" : "without");
    grid->SetOptions(tracking ? grid->Options() + TGridOption::goThumbTracking
                              : grid->Options() - TGridOption::goThumbTracking);
    grid->SetTopRow(1);
    Settle();
    Input().MouseDown(TMouseButtonKind::Left, At(*grid, 292, 20));
    Input().MouseMove(At(*grid, 292, 121), bsLeft);
    Settle();
    EXPECT_EQ(grid->TopRow(), tracking ? 500 : 1);
    Input().MouseUp(TMouseButtonKind::Left, At(*grid, 292, 121));
    Settle();
    EXPECT_EQ(grid->TopRow(), 500);
    EXPECT_EQ(GetScrollPos(grid->Handle(), SB_VERT), 64);
  }
}

TEST_F(GridScrollTest, BarsFollowTheCountsTheSizesAndTheClientArea) {
  grid->SetRowCount(5);  // the rows fit: the vertical bar goes and the client area widens
  EXPECT_EQ(Range(SB_VERT), 0);
  EXPECT_EQ(grid->ClientWidth(), 300);
  EXPECT_EQ(grid->ClientHeight(), 250);
  grid->SetRowCount(1000);
  EXPECT_EQ(Range(SB_VERT), 127);
  EXPECT_EQ(grid->ClientWidth(), 284);

  grid->SetTopRow(991);
  const int before = grid->topLeftChanges;
  grid->SetHeight(516);  // 19 rows show: the last top row is now 981, and the grid moves up to it
  EXPECT_EQ(grid->TopRow(), 981);
  EXPECT_EQ(grid->topLeftChanges, before + 1);
  EXPECT_EQ(GetScrollPos(grid->Handle(), SB_VERT), 127);

  grid->SetDefaultColWidth(20);  // the columns fit: the horizontal bar goes
  EXPECT_EQ(Range(SB_HORZ), 0);
  EXPECT_EQ(grid->ClientHeight(), 516);
  grid->SetColWidths(3, 300);
  EXPECT_EQ(Range(SB_HORZ), 127);

  grid->SetScrollBars(TScrollStyle::ssNone);
  Settle();
  EXPECT_EQ(grid->ClientWidth(), 300);
  EXPECT_EQ(grid->ClientHeight(), 516);
}

TEST_F(GridScrollTest, ABarThatGoesMayTakeTheOtherWithIt) {
  // Three columns of 65 after the fixed one need 260 pixels: more than the 254 beside the vertical
  // bar, no more than the whole width of 270.
  grid->SetWidth(270);
  grid->SetColCount(4);
  EXPECT_EQ(Range(SB_HORZ), 127);
  grid->SetRowCount(5);  // the vertical bar goes, and the columns fit
  EXPECT_EQ(Range(SB_VERT), 0);
  EXPECT_EQ(Range(SB_HORZ), 0);
  EXPECT_EQ(grid->ClientWidth(), 270);
  EXPECT_EQ(grid->ClientHeight(), 266);
}

TEST_F(GridScrollTest, TheWheelMovesTheCurrentRowAndTheBarFollows) {
  grid->SetFocus();
  grid->SetRow(9);  // the last whole row shown
  Input().MouseWheel(-120, At(*grid, 100, 100));
  Settle();
  EXPECT_EQ(grid->Row(), 10);
  EXPECT_EQ(grid->TopRow(), 2);
  for (int i = 0; i < 1000; ++i) Input().MouseWheel(-120, At(*grid, 100, 100));
  Settle();
  EXPECT_EQ(grid->Row(), 999);
  EXPECT_EQ(GetScrollPos(grid->Handle(), SB_VERT), 127);
}

TEST_F(GridScrollTest, AScrolledGridLooksRight) {
  grid->Font().SetName(kTestFontName);
  grid->Font().SetHeight(-16);
  for (int row = 0; row < 1000; ++row)
    for (int col = 0; col < 10; ++col) grid->SetCells(col, row, std::to_string(col * 1000 + row));
  grid->SetTopRow(500);
  grid->SetLeftCol(4);
  Settle();
  TBitmap shot;
  shot.SetSize(grid->Width(), grid->Height());
  shot.Canvas().CopyRect(Rect(0, 0, grid->Width(), grid->Height()),
                         const_cast<TBitmap&>(Input().Info(form->BackendWindow()).shown).Canvas(),
                         grid->BoundsRect());
  ExpectPictureLike(shot, "string_grid_scrolled");
}

}  // namespace
}  // namespace platform
