#include "grid/tests/DovAdizFixture.h"
#include "platform/gfx/Bitmap.h"

namespace velmora::testing {
namespace {

// The test font at 8 points is 11 pixels high and advances 5 pixels a character.
class DovAdizAutoSizeRowsTest : public DovAdizTest {
protected:
  int LineHeight() {
    grid_->Canvas().Font().Assign(grid_->Font());
    return grid_->Canvas().TextHeight("gh");
  }
};

TEST_F(DovAdizAutoSizeRowsTest, RowsFollowTheirMostLinesOrTheirWrappedText) {
  const int h = LineHeight();
  grid_->SetCells(1, 1, "one\r\ntwo\r\nthree");
  grid_->SetCells(3, 1, "a\r\nb");
  grid_->SetCells(2, 2, "single");
  grid_->SetRowHeights(0, 30);
  grid_->AutoSizeRows(false, 2);
  EXPECT_EQ(grid_->RowHeights(0), 30);  // fixed
  EXPECT_EQ(grid_->RowHeights(1), (h + h / 4) * 3 + 2);
  EXPECT_EQ(grid_->RowHeights(2), (h + h / 4) + 2);
  grid_->SizeToLines(3, 0, 7);
  EXPECT_EQ(grid_->RowHeights(3), 7);
  grid_->AutoSizeRows(true, 0);
  EXPECT_EQ(grid_->RowHeights(0), h + h / 4);

  // Wrapped: 12 words of 4 characters in a column of 64 pixels (60, 12 characters, for the text) break
  // 2 words a line.
  grid_->SetWordWrap(true);
  grid_->SetColWidths(2, 64);
  grid_->SetCells(2, 3, "abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd");
  grid_->AutoSizeRow(3);
  EXPECT_EQ(grid_->RowHeights(3), 6 * h + 4);
  // A short text keeps the default height; so does a block over several rows.
  grid_->AutoSizeRow(2);
  EXPECT_EQ(grid_->RowHeights(2), grid_->DefaultRowHeight());
  grid_->MergeCells(2, 3, 1, 2);
  grid_->AutoSizeRow(3);
  EXPECT_EQ(grid_->RowHeights(3), grid_->DefaultRowHeight());
  // 120 pixels take 5 words a line, exactly; markup is measured by the renderer.
  grid_->SplitCells(2, 3);
  grid_->SetColWidths(2, 124);
  grid_->AutoSizeRow(3);
  EXPECT_EQ(grid_->RowHeights(3), 3 * h + 4);
  grid_->SetCells(2, 4, "<b>abcd</b> abcd abcd abcd abcd");
  grid_->AutoSizeRow(4);
  EXPECT_GT(grid_->RowHeights(4), grid_->DefaultRowHeight());
}

TEST_F(DovAdizAutoSizeRowsTest, AutoSizeCellsSkipsTheFixedCellsOnlyWithItsFlag) {
  grid_->SetColWidths(0, 33);
  grid_->SetRowHeights(0, 33);
  grid_->SetCells(1, 1, "abcdef");
  grid_->SetCells(1, 2, "ab");
  grid_->SetCells(2, 2, "x\r\ny");
  grid_->AutoSizeCells(true, 3, 1);
  EXPECT_EQ(grid_->ColWidths(0), 33);
  EXPECT_EQ(grid_->RowHeights(0), 33);
  EXPECT_EQ(grid_->ColWidths(1), 30 + 3);
  EXPECT_EQ(grid_->ColWidths(2), grid_->GetCellTextSize(2, 2).cx + 3);
  EXPECT_EQ(grid_->RowHeights(2), grid_->GetCellTextSize(2, 2).cy + 1);
  grid_->AutoSizeCells(false, 0, 0);
  EXPECT_EQ(grid_->ColWidths(0), grid_->GetCellTextSize(0, 0).cx);
  EXPECT_FALSE(grid_->GetLockFlag());
}

// A cell's graphic counts: a row is at least as high as its tallest graphic, and AutoSizeCells adds the
// graphic's size to the text's.
TEST_F(DovAdizAutoSizeRowsTest, ACellsGraphicCountsInTheRowAndCellSizes) {
  static platform::TBitmap tall(7, 40);  // borrowed: it must outlive the grid's last paint
  grid_->SetCells(2, 1, "ab");
  grid_->AddBitmap(2, 1, &tall, false, TCellHAlign::haBeforeText, TCellVAlign::vaTop);
  grid_->AutoSizeRow(1);
  EXPECT_EQ(grid_->RowHeights(1), 40 + 4);
  grid_->AutoSizeCells(true, 2, 1);
  EXPECT_EQ(grid_->ColWidths(2), grid_->GetCellTextSize(2, 1).cx + 7 + 2);
  EXPECT_EQ(grid_->RowHeights(1), grid_->GetCellTextSize(2, 1).cy + 40 + 1);
}

}  // namespace
}  // namespace velmora::testing
