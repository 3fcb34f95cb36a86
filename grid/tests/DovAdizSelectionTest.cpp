#include <string>
#include <vector>

#include "grid/tests/DovAdizFixture.h"

namespace velmora::testing {
namespace {

using platform::TGridRect;

TEST_F(DovAdizTest, RangeSelections) {
  grid_->SetRowCount(8);
  grid_->SelectRows(2, 3);
  EXPECT_EQ(grid_->Selection(), (TGridRect{1, 2, 4, 4}));
  EXPECT_EQ(grid_->RowSelectCount(), 0);
  grid_->MouseActions().DisjunctRowSelect = true;
  const TGridRect kept = grid_->Selection();
  grid_->SelectRows(6, 3);
  EXPECT_EQ(grid_->Selection(), kept);
  EXPECT_TRUE(grid_->RowSelect(6));
  EXPECT_TRUE(grid_->RowSelect(7));
  EXPECT_EQ(grid_->RowSelectCount(), 2);
  grid_->SelectCols(2, 2);
  EXPECT_EQ(grid_->Selection(), (TGridRect{2, 1, 3, 7}));
  grid_->SelectRange(1, 3, 2, 5);
  EXPECT_EQ(grid_->Selection(), (TGridRect{1, 2, 3, 5}));
}

TEST_F(DovAdizTest, RowSelectListIsCheckedAndCounted) {
  EXPECT_FALSE(grid_->RowSelect(0));
  for (const int row : {-1, 6}) {
    try {
      grid_->RowSelect(row);
      ADD_FAILURE() << row;
    } catch (const EDovAdizError& e) {
      EXPECT_EQ(e.Message(), "Invalid Row accessed");
    }
    EXPECT_THROW(grid_->SetRowSelect(row, true), EDovAdizError);
  }
  grid_->SetRowSelect(5, true);
  grid_->SetRowSelect(2, true);
  EXPECT_TRUE(grid_->RowSelect(5));
  EXPECT_FALSE(grid_->RowSelect(3));
  EXPECT_EQ(grid_->RowSelectCount(), 2);
  // Rows cut off by a lower count lose their marks; rows added again start unmarked.
  grid_->SetRowCount(4);
  EXPECT_EQ(grid_->RowSelectCount(), 1);
  grid_->SetRowCount(6);
  EXPECT_FALSE(grid_->RowSelect(5));
  EXPECT_EQ(grid_->RowSelectCount(), 1);
  grid_->ClearRowSelect();
  EXPECT_EQ(grid_->RowSelectCount(), 0);
  EXPECT_FALSE(grid_->RowSelect(2));
}

TEST_F(DovAdizTest, SelectionToRowSelectKeepsOrClearsTheOthers) {
  grid_->SetRowCount(8);
  grid_->SetRowSelect(6, true);
  grid_->SelectRange(1, 2, 2, 3);
  grid_->SelectToRowSelect(false);
  auto marked = [&] {
    std::vector<int> rows;
    for (int r = 0; r < grid_->RowCount(); ++r)
      if (grid_->RowSelect(r)) rows.push_back(r);
    return rows;
  };
  EXPECT_EQ(marked(), (std::vector<int>{2, 3, 6}));
  grid_->SelectRange(1, 2, 4, 4);
  grid_->SelectToRowSelect(true);
  EXPECT_EQ(marked(), (std::vector<int>{4}));
}

// A change of a row's mark repaints that row only, and only when the mark changes.
TEST_F(DovAdizTest, RowSelectRepaintsTheChangedRow) {
  Settle();
  const uint32_t painted = grid_->PaintCounter();
  grid_->SetRowSelect(3, false);
  Settle();
  EXPECT_EQ(grid_->PaintCounter(), painted);
  grid_->SetRowSelect(3, true);
  Settle();
  EXPECT_EQ(grid_->PaintCounter(), painted + 1);
}

// Which events a move asks, in which order, and whether a veto keeps the current cell.
struct ChangingCase {
  const char* name;
  int col, row;
  const char* veto;  // the event that answers false, "" for none
  std::vector<std::string> asked;
  bool moves;
};

TEST_F(DovAdizTest, ChangingEventsInOrderAndTheirVeto) {
  const ChangingCase cases[] = {
      {"row and column", 3, 4, "", {"row 1>4", "col 1>3", "cell (1,1)>(4,3)"}, true},
      {"row only", 1, 2, "", {"row 1>2", "cell (1,1)>(2,1)"}, true},
      {"column only", 2, 1, "", {"col 1>2", "cell (1,1)>(1,2)"}, true},
      {"row vetoed", 3, 4, "row", {"row 1>4"}, false},
      {"column vetoed", 3, 4, "col", {"row 1>4", "col 1>3"}, false},
      {"cell vetoed", 3, 4, "cell", {"row 1>4", "col 1>3", "cell (1,1)>(4,3)"}, false},
  };
  for (const ChangingCase& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->OnRowChanging = nullptr;
    grid_->OnColChanging = nullptr;
    grid_->OnCellChanging = nullptr;
    grid_->FocusCell(1, 1, true);
    std::vector<std::string> asked;
    const std::string veto = c.veto;
    grid_->OnRowChanging = [&](platform::TObject* sender, int oldRow, int newRow, bool& allow) {
      EXPECT_EQ(sender, grid_);
      asked.push_back("row " + std::to_string(oldRow) + ">" + std::to_string(newRow));
      allow = veto != "row";
    };
    grid_->OnColChanging = [&](platform::TObject*, int oldCol, int newCol, bool& allow) {
      asked.push_back("col " + std::to_string(oldCol) + ">" + std::to_string(newCol));
      allow = veto != "col";
    };
    grid_->OnCellChanging = [&](platform::TObject*, int oldRow, int oldCol, int newRow, int newCol, bool& allow) {
      asked.push_back("cell (" + std::to_string(oldRow) + "," + std::to_string(oldCol) + ")>(" +
                      std::to_string(newRow) + "," + std::to_string(newCol) + ")");
      allow = veto != "cell";
    };
    grid_->FocusCell(c.col, c.row, true);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(grid_->Col(), c.moves ? c.col : 1);
    EXPECT_EQ(grid_->Row(), c.moves ? c.row : 1);
  }
}

}  // namespace
}  // namespace velmora::testing
