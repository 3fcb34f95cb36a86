#include <filesystem>

#include "grid/tests/DovAdizFixture.h"
#include "platform/gfx/Png.h"

namespace velmora::testing {
namespace {

using platform::clBlue;
using platform::clRed;

// A grid of `rows` rows whose column c of real row r reads "c:r", with one fixed row and column.
class DovAdizIndexTest : public DovAdizTest {
protected:
  void Fill(int rows) {
    grid_->SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < grid_->ColCount(); ++c) grid_->SetCells(c, r, Text(c, r));
  }
  static std::string Text(int c, int r) { return std::to_string(c) + ":" + std::to_string(r); }
  // Column 1 of every display row, top to bottom.
  std::vector<std::string> Column1() const {
    std::vector<std::string> texts;
    for (int r = 0; r < grid_->RowCount(); ++r) texts.push_back(grid_->Cells(1, r));
    return texts;
  }
};

TEST_F(DovAdizIndexTest, HiddenRowsMapRealAndDisplayIndices) {
  Fill(10);
  grid_->HideRows(3, 4);
  ASSERT_EQ(grid_->RowCount(), 8);
  struct Case { int display, real; };
  for (const Case& c : {Case{0, 0}, Case{2, 2}, Case{3, 5}, Case{7, 9}, Case{8, 10}, Case{20, 22}}) {
    EXPECT_EQ(grid_->RealRowIndex(c.display), c.real) << c.display;
    if (c.real < 10) {
      EXPECT_EQ(grid_->DisplRowIndex(c.real), c.display) << c.real;
    }
  }
  EXPECT_EQ(grid_->DisplRowIndex(4), 3);  // a hidden row: the row that took its place
  EXPECT_TRUE(grid_->IsHiddenRow(4));
  EXPECT_FALSE(grid_->IsHiddenRow(5));
  ASSERT_NE(grid_->HiddenRow(4), nullptr);
  EXPECT_EQ(grid_->HiddenRow(4)->Cell(2), "2:4");
  EXPECT_EQ(grid_->GetCellsEx(2, 4), "2:4");

  grid_->HideRow(3);  // hidden already
  EXPECT_EQ(grid_->RowCount(), 8);
  EXPECT_EQ(grid_->NumHiddenRows(), 2);
  grid_->UnHideRows(3, 4);
  EXPECT_EQ(grid_->NumHiddenRows(), 0);
  for (int r = 0; r < 10; ++r) EXPECT_EQ(grid_->Cells(3, r), Text(3, r));
}

TEST_F(DovAdizIndexTest, MixedRangesHideAndShowEachRowAtItsOwnIndex) {
  Fill(10);
  grid_->SetColors(2, 5, clRed);
  grid_->SetRowSelect(6, true);
  grid_->HideRow(2);
  grid_->HideRow(5);
  grid_->HideRows(1, 6);  // 2 and 5 are hidden already
  EXPECT_EQ(grid_->NumHiddenRows(), 6);
  EXPECT_EQ(Column1(), (std::vector<std::string>{"1:0", "1:7", "1:8", "1:9"}));
  // The hidden row owns its property object, which knows its real row.
  auto* props = static_cast<TCellProperties*>(grid_->HiddenRow(5)->Object(2));
  ASSERT_NE(props, nullptr);
  EXPECT_EQ(props->Row, 5);
  EXPECT_EQ(props->BrushColor(), clRed);

  grid_->UnHideRows(4, 8);  // 4, 5, 6 come back; 7 and 8 are shown
  EXPECT_EQ(Column1(), (std::vector<std::string>{"1:0", "1:4", "1:5", "1:6", "1:7", "1:8", "1:9"}));
  EXPECT_EQ(grid_->GetColors(2, 2), clRed);
  EXPECT_EQ(grid_->GetGridObject(2, 2)->Row, 2);
  EXPECT_TRUE(grid_->RowSelect(3));  // real row 6, its mark kept
  EXPECT_EQ(grid_->RowSelectCount(), 1);
  grid_->UnHideRowsAll();
  EXPECT_EQ(Column1()[1], "1:1");
  EXPECT_TRUE(grid_->RowSelect(6));
}

TEST_F(DovAdizIndexTest, TheFilterShowsOnlyTheRowsItHid) {
  Fill(10);
  grid_->HideRowSet({7, 2, 2, 9, 40, -1}, HideCause::Filter);
  grid_->HideRow(4);
  EXPECT_EQ(grid_->NumHiddenRows(), 4);
  grid_->UnHideFilteredRows();
  EXPECT_EQ(grid_->NumHiddenRows(), 1);
  EXPECT_TRUE(grid_->IsHiddenRow(4));
  grid_->HideRowSet({1, 3}, HideCause::Filter);
  grid_->UnHideRowSet({3, 4});
  EXPECT_EQ(grid_->NumHiddenRows(), 1);
  EXPECT_TRUE(grid_->IsHiddenRow(1));
}

TEST_F(DovAdizIndexTest, HiddenColumnsKeepTheirCellsAndWidths) {
  Fill(4);
  grid_->SetColWidths(2, 77);
  grid_->MergeCells(1, 1, 3, 1);  // over the column that goes
  grid_->HideColumn(2);
  ASSERT_EQ(grid_->ColCount(), 4);
  EXPECT_EQ(grid_->StorageColCount(), 5);
  struct Case { int display, real; };
  for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{2, 3}, Case{3, 4}}) {
    EXPECT_EQ(grid_->RealColIndex(c.display), c.real);
    EXPECT_EQ(grid_->DisplColIndex(c.real), c.display);
  }
  EXPECT_TRUE(grid_->IsHiddenColumn(2));
  EXPECT_FALSE(grid_->GetVisibleCol(2));
  EXPECT_EQ(grid_->NumHiddenColumns(), 1);
  EXPECT_EQ(grid_->AllColWidths(2), 77);
  EXPECT_EQ(grid_->Cells(2, 3), "2:3");
  EXPECT_FALSE(grid_->IsMergedCell(1, 1));
  EXPECT_FALSE(grid_->IsMergedCell(3, 1));

  grid_->HideColumns(0, 4);  // one column stays on display
  EXPECT_EQ(grid_->ColCount(), 1);
  grid_->UnHideColumnsAll();
  EXPECT_EQ(grid_->ColCount(), 5);
  EXPECT_EQ(grid_->ColWidths(2), 77);
  EXPECT_EQ(grid_->Cells(4, 2), "4:2");
}

TEST_F(DovAdizIndexTest, ColumnOperationsReachHiddenColumnsAndRows) {
  Fill(5);
  grid_->SetColWidths(3, 55);
  grid_->HideColumn(2);
  grid_->HideRow(3);
  grid_->InsertCols(2, 1);  // before display column 2, which is real column 3
  EXPECT_EQ(grid_->StorageColCount(), 6);
  EXPECT_TRUE(grid_->IsHiddenColumn(2));
  EXPECT_EQ(grid_->Cells(3, 1), "");
  EXPECT_EQ(grid_->Cells(4, 1), "3:1");
  EXPECT_EQ(grid_->AllColWidths(4), 55);
  EXPECT_EQ(grid_->HiddenRow(3)->Cell(4), "3:3");
  EXPECT_EQ(grid_->HiddenRow(3)->Cell(2), "2:3");

  grid_->MoveColumn(1, 3);  // real 1 to where real 4 is
  EXPECT_EQ(grid_->Cells(4, 1), "1:1");
  EXPECT_EQ(grid_->HiddenRow(3)->Cell(4), "1:3");
  EXPECT_TRUE(grid_->IsHiddenColumn(1));  // the hidden column moved one place left

  grid_->RemoveCols(1, 1);  // display 1: real 2
  EXPECT_EQ(grid_->StorageColCount(), 5);
  EXPECT_EQ(grid_->HiddenRow(3)->Cell(2), "3:3");
  grid_->UnHideColumnsAll();
  grid_->UnHideRowsAll();
  std::vector<std::string> row3;
  for (int c = 0; c < grid_->ColCount(); ++c) row3.push_back(grid_->Cells(c, 3));
  EXPECT_EQ(row3, (std::vector<std::string>{"0:3", "2:3", "3:3", "1:3", "4:3"}));
}

TEST_F(DovAdizIndexTest, InsertAndRemoveRowsMoveBlocksMarksAndHiddenRows) {
  Fill(8);
  grid_->MergeCells(1, 2, 2, 1);
  grid_->SetRowSelect(5, true);
  grid_->HideRow(6);
  grid_->InsertRows(2, 1);
  EXPECT_TRUE(grid_->IsMergedCell(1, 3));
  EXPECT_FALSE(grid_->HasCellProperties(1, 2));
  EXPECT_EQ(grid_->GetGridObject(1, 3)->Row, 3);
  EXPECT_TRUE(grid_->RowSelect(6));
  EXPECT_TRUE(grid_->IsHiddenRow(7));
  // No count, no rows; a row past the end: nothing removed.
  grid_->InsertRows(0, 0);
  grid_->RemoveRows(grid_->RowCount(), 1);
  grid_->RemoveRows(1, 0);
  EXPECT_EQ(grid_->RowCount(), 8);

  grid_->RemoveRows(1, 2);
  EXPECT_EQ(Column1()[1], "1:2");
  EXPECT_TRUE(grid_->RowSelect(4));
  EXPECT_TRUE(grid_->IsHiddenRow(5));
  EXPECT_EQ(grid_->HiddenRow(5)->Cell(1), "1:6");
  grid_->SetRowCount(5);  // the hidden row after the last row goes with the rows
  EXPECT_EQ(grid_->NumHiddenRows(), 0);
}

TEST_F(DovAdizIndexTest, RemovingTheLastRowsKeepsTheCurrentRowInTheGrid) {
  Fill(6);
  grid_->FocusCell(1, 5, true);
  grid_->RemoveRows(5, 1);
  EXPECT_EQ(grid_->Row(), 4);
  grid_->RemoveRows(1, 3);
  EXPECT_EQ(grid_->Row(), 1);
  grid_->RemoveRows(1, 1);  // the only data row
  EXPECT_EQ(grid_->RowCount(), 1);
  EXPECT_FALSE(grid_->SelectionShown());
}

TEST_F(DovAdizIndexTest, SelectedRowsAreRemovedOrHiddenExactly) {
  Fill(8);
  for (int r : {2, 5, 6}) grid_->SetRowSelect(r, true);
  grid_->RemoveSelectedRows();
  EXPECT_EQ(Column1(), (std::vector<std::string>{"1:0", "1:1", "1:3", "1:4", "1:7"}));
  EXPECT_EQ(grid_->RowSelectCount(), 0);
  for (int r : {1, 3}) grid_->SetRowSelect(r, true);
  grid_->HideSelectedRows();
  EXPECT_EQ(Column1(), (std::vector<std::string>{"1:0", "1:3", "1:7"}));
  EXPECT_TRUE(grid_->IsHiddenRow(1));
  EXPECT_TRUE(grid_->IsHiddenRow(3));
}

TEST_F(DovAdizIndexTest, MergeColsJoinsTheTextsAndDropsTheSecondColumn) {
  grid_->SetRowCount(3);
  grid_->SetCells(1, 1, "alpha");
  grid_->SetCells(2, 1, "beta");
  grid_->SetCells(1, 2, "gamma");
  grid_->SetCells(3, 1, "next");
  grid_->MergeCols(1, 1);
  EXPECT_EQ(grid_->ColCount(), 5);
  grid_->MergeCols(1, 2);
  EXPECT_EQ(grid_->ColCount(), 4);
  EXPECT_EQ(grid_->Cells(1, 1), "alpha beta");
  EXPECT_EQ(grid_->Cells(1, 2), "gamma");
  EXPECT_EQ(grid_->Cells(2, 1), "next");
}

TEST_F(DovAdizIndexTest, SwappedRowsExchangePropertiesMarksAndHeightsInPlace) {
  Fill(5);
  grid_->SetColors(1, 1, clRed);
  grid_->SetColors(2, 3, clBlue);
  grid_->SetRowHeights(1, 40);
  grid_->SetRowSelect(3, true);
  grid_->SwapRows(1, 3);
  EXPECT_EQ(grid_->RowCount(), 5);
  EXPECT_EQ(grid_->Cells(1, 1), "1:3");
  EXPECT_EQ(grid_->GetColors(1, 3), clRed);
  EXPECT_EQ(grid_->GetColors(2, 1), clBlue);
  EXPECT_EQ(grid_->GetGridObject(1, 3)->Row, 3);
  EXPECT_EQ(grid_->RowHeights(3), 40);
  EXPECT_TRUE(grid_->RowSelect(1));
  EXPECT_FALSE(grid_->RowSelect(3));
  grid_->SwapColumns(1, 2);
  EXPECT_EQ(grid_->GetColors(2, 3), clRed);
}

TEST_F(DovAdizIndexTest, ClearReachesHiddenRowsAndColumns) {
  Fill(5);
  grid_->SetColors(3, 2, clRed);
  grid_->HideColumn(3);
  grid_->HideRow(2);
  grid_->Clear();
  EXPECT_EQ(grid_->HiddenRow(2)->Cell(1), "");
  EXPECT_EQ(grid_->HiddenRow(2)->Object(3), nullptr);
  EXPECT_EQ(grid_->Cells(3, 1), "");
  grid_->UnHideRowsAll();
  EXPECT_FALSE(grid_->HasCellProperties(3, 2));
}

TEST_F(DovAdizIndexTest, AMergeOverABlockInStoreColumnsPastTheDisplaySplitsIt) {
  Fill(4);
  grid_->HideColumn(1);  // real 4 is display 3, the last
  grid_->MergeCells(3, 1, 2, 1);
  grid_->MergeCells(4, 1, 1, 2);
  EXPECT_FALSE(grid_->IsMergedCell(3, 1));
  EXPECT_EQ(grid_->CellSpan(4, 1), (platform::TPoint{0, 1}));
  // A block over the hidden column ends before it; one that starts there is not made.
  grid_->MergeCells(0, 3, 3, 1);
  EXPECT_EQ(grid_->CellSpan(0, 3), (platform::TPoint{0, 0}));
  grid_->MergeCells(1, 2, 2, 1);
  EXPECT_FALSE(grid_->IsMergedCell(2, 2));
}

TEST_F(DovAdizIndexTest, DisplayColumnsPaintTheirRealColumns) {
  grid_->SetRowCount(4);
  grid_->SetColWidths(2, 60);
  for (int c = 0; c < 5; ++c) grid_->SetCells(c, 1, "c" + std::to_string(c));
  grid_->SetColors(2, 1, clBlue);  // goes hidden
  grid_->SetColors(3, 1, clRed);
  grid_->MergeCells(3, 2, 2, 1);
  grid_->SetColors(3, 2, clRed);
  grid_->HideColumn(2);
  Settle();
  const platform::TBitmap& shown = Input().Info(form_->BackendWindow()).shown;
  const platform::TPoint origin = grid_->ClientToScreen({0, 0});
  const platform::TPoint formOrigin = form_->ClientToScreen({0, 0});
  auto pixel = [&](int col, int row, int dx) {
    const platform::TRect r = grid_->CellRect(col, row);
    // Near the bottom, below the text that the cell draws from its top-left corner.
    const uint32_t p = shown.ScanLine(r.Bottom - 3 + origin.Y - formOrigin.Y)[r.Left + dx + origin.X - formOrigin.X];
    return platform::RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  EXPECT_EQ(grid_->CellRect(2, 2).Right, grid_->CellRect(3, 2).Right);  // the block covers display 2 and 3
  EXPECT_EQ(pixel(2, 1, 3), clRed);
  EXPECT_EQ(pixel(2, 2, grid_->ColWidths(2) + 3), clRed);  // display column 3 inside the block
  EXPECT_EQ(grid_->CurrentCell(), grid_->Cells(grid_->GetRealCol(), grid_->Row()));
  std::filesystem::create_directories(GRID_ARTEFACTS);
  platform::SavePngFile(shown, std::string(GRID_ARTEFACTS) + "/hidden_column.png");
}

}  // namespace
}  // namespace velmora::testing
