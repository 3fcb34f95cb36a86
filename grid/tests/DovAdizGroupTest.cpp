#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "grid/tests/DovAdizFixture.h"
#include "grid/tests/GridPaintFixture.h"

namespace velmora::testing {
namespace {

using Texts = std::vector<std::string>;

// The grid's real rows as texts of every real column, hidden rows included, with the rows hidden.
struct GridImage {
  std::vector<Texts> rows;
  std::vector<int> widths;
  std::vector<int> hidden;
  friend bool operator==(const GridImage&, const GridImage&) = default;
};

class DovAdizGroupTest : public DovAdizTest {
protected:
  int RealRows() const { return grid_->RowCount() + grid_->NumHiddenRows(); }
  int RealCols() const { return grid_->ColCount() + grid_->NumHiddenColumns(); }
  GridImage Image() const {
    GridImage image;
    for (int r = 0; r < RealRows(); ++r) {
      Texts row;
      for (int c = 0; c < RealCols(); ++c) row.push_back(grid_->GetCellsEx(c, r));
      image.rows.push_back(row);
      if (grid_->IsHiddenRow(r)) image.hidden.push_back(r);
    }
    for (int c = 0; c < RealCols(); ++c) image.widths.push_back(grid_->AllColWidths(c));
    return image;
  }
  // A header row, 7 data rows grouped by column 2 into "a" (3 rows), "b" (2) and "c" (2), a footer.
  void Fill(int fixedCols) {
    grid_->SetFixedCols(fixedCols);
    grid_->SetRowCount(9);
    grid_->SetFixedFooters(1);
    const Texts groups = {"b", "a", "c", "a", "b", "a", "c"};
    for (int c = 0; c < 5; ++c) {
      grid_->SetColWidths(c, 30 + 7 * c);
      grid_->SetCells(c, 0, "head" + std::to_string(c));
      grid_->SetCells(c, 8, "foot" + std::to_string(c));
    }
    for (int r = 1; r <= 7; ++r) {
      grid_->SetCells(0, r, "row" + std::to_string(r));
      grid_->SetCells(1, r, std::to_string(r * 10));
      grid_->SetCells(2, r, groups[r - 1]);
      grid_->SetCells(3, r, std::to_string(r));
      grid_->SetCells(4, r, "x" + std::to_string(r));
    }
  }
};

// What grouping by column 2 and ungrouping must give: the data rows in a stable order of their group
// texts, everything else as it was.
GridImage SortedByGroup(GridImage image) {
  std::stable_sort(image.rows.begin() + 1, image.rows.end() - 1,
                   [](const Texts& a, const Texts& b) { return a[2] < b[2]; });
  return image;
}

TEST_F(DovAdizGroupTest, UnGroupGivesBackTheSortedGridWithHiddenRowsStillHidden) {
  struct Case {
    const char* name;
    int fixedCols;
    int hiddenRow;  // real row hidden before grouping, 0 for none
    int valueColumn;
  };
  const Case cases[] = {{"no fixed column", 0, 0, 1}, {"one fixed column", 1, 0, 2}, {"a hidden row", 0, 4, 1},
                        {"a hidden row, one fixed column", 1, 2, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fill(c.fixedCols);
    if (c.hiddenRow) grid_->HideRow(c.hiddenRow);
    const std::string hiddenText = c.hiddenRow ? grid_->GetCellsEx(4, c.hiddenRow) : "";
    GridImage expected = SortedByGroup(Image());
    if (c.hiddenRow) {
      // The hidden row stays hidden where its data lands.
      expected.hidden.clear();
      for (size_t r = 0; r < expected.rows.size(); ++r)
        if (expected.rows[r][4] == hiddenText) expected.hidden.push_back(static_cast<int>(r));
    }

    grid_->Group(2);
    EXPECT_EQ(grid_->GroupColumn(), 2);
    EXPECT_EQ(grid_->NodeCount(), 3);
    EXPECT_EQ(RealCols(), 4);
    // Node rows hold the group text in the value column and span their rows.
    const std::vector<std::pair<int, std::string>> nodes = {{1, "a"}, {5, "b"}, {8, "c"}};
    for (const auto& [row, text] : nodes) EXPECT_EQ(grid_->GetCellsEx(c.valueColumn, row), text);
    EXPECT_EQ(grid_->GetNodeSpan(grid_->DisplRowIndex(1)), 3);
    EXPECT_EQ(grid_->GetNodeSpan(grid_->DisplRowIndex(5)), 2);
    EXPECT_EQ(grid_->GetCellsEx(0, RealRows() - 1), "foot0");
    EXPECT_EQ(grid_->Row(), grid_->FixedRows());

    grid_->UnGroup();
    EXPECT_EQ(grid_->GroupColumn(), -1);
    EXPECT_FALSE(grid_->HasNodes());
    EXPECT_EQ(Image(), expected);
    grid_->UnHideRowsAll();
  }
}

TEST_F(DovAdizGroupTest, ContractedGroupsAndProgramNodesComeBackWhole) {
  Fill(0);
  const GridImage original = Image();
  grid_->AddNode(3, 2);  // a node of the program's own, contracted: it goes and its rows show
  grid_->ContractNode(3);
  grid_->Group(2);
  EXPECT_EQ(grid_->NodeCount(), 3);
  EXPECT_EQ(grid_->NumHiddenRows(), 0);
  grid_->ContractAll();
  EXPECT_EQ(grid_->RowCount(), 1 + 3 + 1);
  // Grouping by another column ungroups first; column 3 holds a distinct number per row, in the
  // order of the original rows.
  grid_->SetGroupColumn(3);
  EXPECT_EQ(grid_->GroupColumn(), 3);
  EXPECT_EQ(grid_->NodeCount(), 7);
  grid_->SetGroupColumn(0);
  EXPECT_EQ(grid_->GroupColumn(), 3);
  grid_->SetGroupColumn(-1);
  EXPECT_EQ(Image(), original);
}

TEST_F(DovAdizGroupTest, SortingAGroupedGridSortsWithinEachGroup) {
  Fill(0);
  grid_->Group(2);  // groups a (rows 2 4 6), b (1 5), c (3 7); column 2 holds the row numbers
  grid_->SortSettings().Show = true;
  grid_->SortSettings().Column = 0;
  grid_->ClickSort(2, false);  // ascending: as they are
  grid_->ClickSort(2, false);  // descending
  Texts column;
  for (int r = 0; r < grid_->RowCount(); ++r) column.push_back(grid_->Cells(2, r));
  EXPECT_EQ(column, (Texts{"head3", "", "6", "4", "2", "", "5", "1", "", "7", "3", "foot3"}));
  EXPECT_TRUE(grid_->IsNode(1) && grid_->IsNode(5) && grid_->IsNode(8));
}

TEST_F(DovAdizGroupTest, ANarrowGridKeepsItsGroupTexts) {
  Fill(0);
  grid_->RemoveCols(3, 2);
  grid_->RemoveCols(0, 1);  // the row numbers and the group texts are left
  const GridImage expected = [&] {
    GridImage image = Image();
    std::stable_sort(image.rows.begin() + 1, image.rows.end() - 1,
                     [](const Texts& a, const Texts& b) { return a[1] < b[1]; });
    return image;
  }();
  grid_->Group(1);
  EXPECT_EQ(grid_->ColCount(), 1);
  EXPECT_EQ(grid_->Cells(0, 1), "a");
  grid_->UnGroup();
  EXPECT_EQ(Image(), expected);
}

TEST_F(DovAdizGroupTest, GroupDoesNothingWithoutDataRowsOrOnAFixedColumn) {
  grid_->SetRowCount(2);
  grid_->SetFixedFooters(1);  // a header and a footer row only
  grid_->Group(2);
  EXPECT_EQ(grid_->GroupColumn(), -1);
  EXPECT_EQ(grid_->ColCount(), 5);
  Fill(1);
  const GridImage before = Image();
  grid_->Group(1);
  grid_->Group(9);
  EXPECT_EQ(grid_->GroupColumn(), -1);
  EXPECT_EQ(Image(), before);
  grid_->UnGroup();
  EXPECT_EQ(Image(), before);
}

TEST_F(DovAdizGroupTest, CalculationsOverEachGroupMatchAPlainComputation) {
  Fill(0);
  // Node rows 1, 5, 8 hold a (rows 2 4 6), b (1 5), c (3 7) in column 1; column 2 holds the row numbers.
  grid_->Group(2);
  grid_->HideRow(3);  // the row of 4, inside group a: it counts
  const std::vector<int> nodeRows = {1, 5, 8};
  struct Case {
    const char* name;
    std::function<void(VUraRazuduVova&)> calc;
    Texts written;
  };
  const Case cases[] = {
      {"sum", [](VUraRazuduVova& g) { g.GroupSum(2); }, {"12.00", "6.00", "10.00"}},
      {"avg", [](VUraRazuduVova& g) { g.GroupAvg(2); }, {"4.00", "3.00", "5.00"}},
      {"min", [](VUraRazuduVova& g) { g.GroupMin(2); }, {"2.00", "1.00", "3.00"}},
      {"max", [](VUraRazuduVova& g) { g.GroupMax(2); }, {"6.00", "5.00", "7.00"}},
      {"count", [](VUraRazuduVova& g) { g.GroupCount(2); }, {"3", "2", "2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.calc(*grid_);
    Texts written;
    for (int row : nodeRows) written.push_back(grid_->GetCellsEx(2, row));
    EXPECT_EQ(written, c.written);
  }
  // Every value is read first: a text without a number, or the column of the group texts, changes
  // nothing.
  grid_->SetCellsEx(3, 6, "none");
  const GridImage before = Image();
  EXPECT_THROW(grid_->GroupSum(3), EDovAdizError);
  EXPECT_THROW(grid_->GroupSum(1), EDovAdizError);
  EXPECT_EQ(Image(), before);
  // The footer row stays out of the last group; an empty group averages to 0.
  EXPECT_EQ(grid_->GetCellsEx(2, 11), "foot3");
  grid_->AddNode(grid_->DisplRowIndex(2), 0);
  grid_->GroupAvg(2);
  EXPECT_EQ(grid_->GetCellsEx(2, 1), "0.00");
  EXPECT_EQ(grid_->GetCellsEx(2, 2), "5.00");
  EXPECT_EQ(grid_->GetCellsEx(2, 11), "foot3");
}

using DovAdizGroupPictureTest = GridPaintTest;

// A grouped grid as a person sees it (artefacts/grid/grouped.png): column 0 of the rows of an expanded
// group is indented by 16 pixels against its node row; a contracted group shows its node row alone.
TEST_F(DovAdizGroupPictureTest, GroupRowsAreIndentedUnderTheirNodeRow) {
  grid_->SetFixedCols(0);
  grid_->SetRowCount(7);
  grid_->SetColWidths(0, 90);
  const Texts groups = {"ping", "mail", "ping", "mail", "ping", "web"};
  for (int r = 1; r <= 6; ++r) {
    grid_->SetCells(0, r, "host" + std::to_string(r));
    grid_->SetCells(2, r, groups[r - 1]);
  }
  grid_->SetCells(0, 0, "hosts");
  // Node rows 1 mail (hosts 2, 4), 4 ping (1, 3, 5), 8 web (6), the group texts in column 1.
  grid_->Group(2);
  grid_->ContractNode(8);
  SaveArtefact("grouped");
  EXPECT_EQ(grid_->RowCount(), 9);
  EXPECT_EQ(grid_->Cells(1, 8), "web");
  EXPECT_EQ(grid_->Cells(0, 7), "host5");
  EXPECT_EQ(CellInk(0, 2).Left - CellInk(0, 0).Left, 16);
  EXPECT_EQ(CellInk(0, 7).Left - CellInk(0, 0).Left, 16);
}

}  // namespace
}  // namespace velmora::testing
