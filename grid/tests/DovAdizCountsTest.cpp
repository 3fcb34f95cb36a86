#include <string>

#include "grid/tests/DovAdizFixture.h"

namespace velmora::testing {
namespace {

// Counts set through the grid with the Always flags: what the inherited fixed count becomes and what
// the grid reports.
struct CountCase {
  const char* name;
  bool always;
  int fixedBefore;
  int count;
  int inheritedFixedAfter;
  int reportedFixed;
};

TEST_F(DovAdizTest, CountsKeepAFixedRowAndColumnWithTheAlwaysFlags) {
  const CountCase cases[] = {
      {"without the flag nothing is added", false, 0, 5, 0, 0},
      {"more than one: one fixed", true, 0, 5, 1, 1},
      {"one alone: left as it was, reported as one", true, 0, 1, 0, 1},
      {"more fixed ones are kept", true, 2, 5, 2, 2},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->FixedRowAlways = grid_->FixedColAlways = false;
    grid_->SetRowCount(6);
    grid_->SetColCount(6);
    grid_->SetFixedRows(c.fixedBefore);
    grid_->SetFixedCols(c.fixedBefore);
    grid_->FixedRowAlways = grid_->FixedColAlways = c.always;
    grid_->SetRowCount(c.count);
    grid_->SetColCount(c.count);
    EXPECT_EQ(grid_->TBaseGrid::FixedRows(), c.inheritedFixedAfter);
    EXPECT_EQ(grid_->TBaseGrid::FixedCols(), c.inheritedFixedAfter);
    EXPECT_EQ(grid_->FixedRows(), c.reportedFixed);
    EXPECT_EQ(grid_->FixedCols(), c.reportedFixed);
    EXPECT_EQ(grid_->RowCount(), c.count);
    EXPECT_EQ(grid_->DisplRowLimit, c.count);
  }
}

TEST_F(DovAdizTest, FixedSizesCoverEveryFixedRowAndColumn) {
  grid_->SetFixedCols(2);
  grid_->SetFixedRows(2);
  grid_->SetFixedColWidth(30);
  grid_->SetFixedRowHeight(40);
  EXPECT_EQ(grid_->ColWidths(1), 30);
  EXPECT_EQ(grid_->RowHeights(1), 40);
  EXPECT_EQ(grid_->FixedColWidth(), 30);
  EXPECT_EQ(grid_->FixedRowHeight(), 40);
  EXPECT_NE(grid_->ColWidths(2), 30);
  EXPECT_NE(grid_->RowHeights(2), 40);
}

TEST_F(DovAdizTest, DefaultRowHeightIsTheFloatingFootersToo) {
  EXPECT_EQ(grid_->DefaultRowHeight(), 21);
  EXPECT_EQ(grid_->FloatingFooter().Height(), 21);
  grid_->SetDefaultRowHeight(30);
  EXPECT_EQ(grid_->RowHeights(3), 30);
  EXPECT_EQ(grid_->FloatingFooter().Height(), 30);
}

TEST_F(DovAdizTest, AddRowAppendsAnEmptyRowAboveTheFooterRows) {
  grid_->SetRowCount(3);
  grid_->SetCells(1, 1, "data");
  grid_->SetCells(1, 2, "sum");
  grid_->AddRow();
  ASSERT_EQ(grid_->RowCount(), 4);
  EXPECT_EQ(grid_->Cells(1, 3), "");
  grid_->SetFixedFooters(1);
  grid_->AddRow();
  ASSERT_EQ(grid_->RowCount(), 5);
  EXPECT_EQ(grid_->Cells(1, 4), "");
  EXPECT_EQ(grid_->Cells(1, 3), "");
  EXPECT_EQ(grid_->Cells(1, 2), "sum");
  grid_->SetCells(1, 4, "footer");
  grid_->AddRow();
  EXPECT_EQ(grid_->Cells(1, 5), "footer");
  EXPECT_EQ(grid_->Cells(1, 4), "");
}

TEST_F(DovAdizTest, InsertedColumnsAndRowsAreEmptyAndMoveTheOthers) {
  grid_->SetCells(1, 1, "b");
  grid_->SetCells(4, 1, "e");
  grid_->InsertCols(1, 2);
  ASSERT_EQ(grid_->ColCount(), 7);
  EXPECT_EQ(grid_->Cells(1, 1), "");
  EXPECT_EQ(grid_->Cells(3, 1), "b");
  EXPECT_EQ(grid_->Cells(6, 1), "e");
  grid_->AddColumn();
  ASSERT_EQ(grid_->ColCount(), 8);
  EXPECT_EQ(grid_->Cells(7, 1), "");

  // Rows after the insertion keep their marks and the display text.
  grid_->SetRowSelect(3, true);
  grid_->OnGetDisplText = [](platform::TObject*, int, int, std::string& value) { value = "[" + value + "]"; };
  grid_->InsertRows(2, 2);
  EXPECT_EQ(grid_->RowCount(), 8);
  EXPECT_TRUE(grid_->RowSelect(5));
  EXPECT_FALSE(grid_->RowSelect(3));
  EXPECT_EQ(grid_->Cells(1, 7), "[]");
  // A place past the end is the end; no count, no rows.
  grid_->InsertRows(9, 1);
  EXPECT_EQ(grid_->RowCount(), 9);
  grid_->InsertRows(2, 0);
  EXPECT_EQ(grid_->RowCount(), 9);
}

TEST_F(DovAdizTest, ZoomStaysWithinTenStepsEachWay) {
  const int width = grid_->ColWidths(1), height = grid_->RowHeights(1);
  grid_->Zoom(11);
  EXPECT_EQ(grid_->ColWidths(1), width);
  for (int i = 0; i < 10; ++i) grid_->Zoom(1);
  EXPECT_EQ(grid_->ColWidths(1), width + 10);
  EXPECT_EQ(grid_->RowHeights(1), height + 10);
  grid_->Zoom(1);
  EXPECT_EQ(grid_->ColWidths(1), width + 10);
  grid_->Zoom(-20);
  EXPECT_EQ(grid_->ColWidths(1), width - 10);
  // A size would drop to 0: that one stays, the others follow.
  grid_->Zoom(10);
  grid_->SetColWidths(2, 3);
  grid_->Zoom(-5);
  EXPECT_EQ(grid_->ColWidths(2), 3);
  EXPECT_EQ(grid_->ColWidths(1), width - 5);
}

}  // namespace
}  // namespace velmora::testing
