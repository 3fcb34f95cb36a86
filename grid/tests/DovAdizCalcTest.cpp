#include "grid/tests/DovAdizFixture.h"

namespace velmora::testing {
namespace {

using platform::TGridOption;

TEST_F(DovAdizTest, RunsOfCellsSumAverageAndBound) {
  // Column 1, rows 1..5; row 2 of the grid also holds the row run over columns 1..4.
  const char* column[] = {"", "3", "", "-1.5", "10", "(12)"};
  for (int r = 1; r < 6; ++r) grid_->SetCells(1, r, column[r]);
  for (int c = 2; c < 5; ++c) grid_->SetCells(c, 2, std::to_string(c));
  struct Case {
    const char* name;
    double got, expected;
  };
  const Case cases[] = {
      {"ColumnSum", grid_->ColumnSum(1, 1, 5), 3 - 1.5 + 10 - 12},
      {"ColumnAvg", grid_->ColumnAvg(1, 1, 5), (3 - 1.5 + 10 - 12) / 5},
      {"ColumnMin", grid_->ColumnMin(1, 1, 5), -12},
      {"ColumnMax", grid_->ColumnMax(1, 1, 5), 10},
      {"empty ColumnSum", grid_->ColumnSum(1, 5, 4), 0},
      {"empty ColumnAvg", grid_->ColumnAvg(1, 5, 4), 0},
      {"empty ColumnMin", grid_->ColumnMin(1, 5, 4), -12},
      {"empty ColumnMax", grid_->ColumnMax(1, 4, 3), 10},
      {"RowSum", grid_->RowSum(2, 1, 4), 2 + 3 + 4},
      {"RowAvg divides by the cells", grid_->RowAvg(2, 1, 4), 9.0 / 4},
      {"RowMin", grid_->RowMin(2, 1, 4), 0},
      {"RowMax", grid_->RowMax(2, 1, 4), 4},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(c.got, c.expected) << c.name;

  grid_->SetCells(1, 3, "abc");
  EXPECT_THROW(grid_->ColumnSum(1, 1, 5), EDovAdizError);
  EXPECT_THROW(grid_->ColumnSum(1, 1, 6), EDovAdizError);   // past the last row
  EXPECT_THROW(grid_->ColumnMin(1, -1, 2), EDovAdizError);  // before the first
  EXPECT_THROW(grid_->RowSum(2, 0, 5), EDovAdizError);      // past the last column
  EXPECT_THROW(grid_->ColumnSum(5, 1, 2), EDovAdizError);   // no such column
  EXPECT_THROW(grid_->RowMax(6, 1, 2), EDovAdizError);      // no such row
}

TEST_F(DovAdizTest, RunsReadNumbersInTheLocalesSeparators) {
  platform::FormatSettings().DecimalSeparator = ',';
  platform::FormatSettings().ThousandSeparator = '.';
  grid_->SetCells(2, 1, "1.234,50");
  grid_->SetCells(2, 2, "(12)");
  EXPECT_DOUBLE_EQ(grid_->ColumnSum(2, 1, 3), 1222.5);
}

TEST_F(DovAdizTest, AutoNumberingSkipsFixedAndFooterCells) {
  grid_->SetFixedFooters(1);
  grid_->SetFixedRightCols(1);
  grid_->AutoNumberCol(2);
  grid_->AutoNumberRow(3);
  std::vector<std::string> column, row;
  for (int r = 0; r < 6; ++r) column.push_back(grid_->Cells(2, r));
  for (int c = 0; c < 5; ++c) row.push_back(grid_->Cells(c, 3));
  EXPECT_EQ(column, (std::vector<std::string>{"", "1", "2", "2", "4", ""}));  // row 3 numbered last
  EXPECT_EQ(row, (std::vector<std::string>{"", "1", "2", "3", ""}));
}

TEST_F(DovAdizTest, SelectedTextIsTabSeparatedLines) {
  grid_->SetCells(1, 1, "a");
  grid_->SetCells(2, 1, "b");
  grid_->SetCells(1, 2, "c");
  grid_->SetCells(2, 2, "d\r\ne");
  grid_->SelectRange(1, 2, 1, 2);
  EXPECT_TRUE(grid_->IsSelected(2, 2));
  EXPECT_FALSE(grid_->IsSelected(3, 2));
  EXPECT_FALSE(grid_->IsSelected(-1, 1));
  EXPECT_EQ(grid_->SelectedText(), "a\tb\r\nc\td\r\ne\r\n");
  grid_->Multilinecells = true;
  grid_->ClipboardCSVMultiLine = true;
  EXPECT_EQ(grid_->SelectedText(), "a\tb\r\nc\t\"d\ne\"\r\n");

  grid_->SetOptions(grid_->Options() + TGridOption::goRowSelect);
  grid_->DragDropSettings().OleEntireRows = true;
  grid_->SetCells(0, 1, "h");
  grid_->SelectRange(1, 2, 1, 1);
  EXPECT_EQ(grid_->SelectedText(), "h\ta\tb\t\t\r\n");

  grid_->MouseActions().DisjunctRowSelect = true;
  EXPECT_EQ(grid_->SelectedText(), "");
  EXPECT_FALSE(grid_->IsSelected(1, 1));
  grid_->SetRowSelect(2, true);
  EXPECT_TRUE(grid_->IsSelected(4, 2));
  EXPECT_EQ(grid_->SelectedText(), "\tc\t\"d\ne\"\t\t\r\n");
}

TEST_F(DovAdizTest, AutoSizeFitsTheWidestTextWithTheMargins) {
  // The test font at 8 points (11 pixels) advances 5 pixels a character; the margins are 2 lines
  // and 4 pixels.
  grid_->FixedFont().SetName(platform::kTestFontName);
  grid_->SetColWidths(0, 40);
  grid_->SetCells(0, 1, "a long row header");
  grid_->SetCells(1, 1, "abcd");
  grid_->SetCells(1, 2, "ab");
  grid_->SetCells(1, 3, "abcd");
  grid_->SetCells(3, 1, "<b>abc</b>");
  grid_->AutoSizeColumns(false, 5);
  EXPECT_EQ(grid_->ColWidths(0), 40);
  EXPECT_EQ(grid_->ColWidths(1), 2 + 20 + 4 + 5);
  EXPECT_EQ(grid_->ColWidths(2), 2 + 4 + 5);  // empty
  EXPECT_EQ(grid_->ColWidths(3), 2 + grid_->GetCellTextSize(3, 1).cx + 4 + 5);

  grid_->SetColWidths(1, 100);
  grid_->SizeToWidth(1, true);
  EXPECT_EQ(grid_->ColWidths(1), 100);
  grid_->AutoSizeCol(1);
  EXPECT_EQ(grid_->ColWidths(1), 26);
  grid_->MergeCells(1, 4, 3, 1);
  grid_->SetCells(1, 4, "a much longer text in a merged block");
  grid_->AutoSizeCol(1);
  EXPECT_EQ(grid_->ColWidths(1), 26);
  grid_->AutoSizeColumns(true, 0);
  EXPECT_EQ(grid_->ColWidths(0), 2 + 17 * 5 + 4);
}

}  // namespace
}  // namespace velmora::testing
