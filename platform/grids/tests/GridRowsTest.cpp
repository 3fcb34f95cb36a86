#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/grids/Grids.h"
#include "platform/grids/tests/GridFixture.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

// A string grid whose rows may be permuted from outside.
class RowsGrid : public TStringGrid {
public:
  using TStringGrid::PermuteRows;
  using TStringGrid::TStringGrid;
};

// The grid of the grid tests whose column 1 holds "r<row>" and row i is i + 10 pixels high from row 10
// on; the model is the texts of column 1 and the heights, row by row.
class GridRowsTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    Build();
  }
  void Build() {
    texts.clear();
    heights.clear();
    form = ShowForm(400, 300);
    grid = PlaceTestGrid<RowsGrid>(*form);
    for (int r = 0; r < 20; ++r) {
      grid->SetCells(1, r, "r" + std::to_string(r));
      if (r >= 10) grid->SetRowHeights(r, r + 10);
      texts.push_back(grid->Cells(1, r));
      heights.push_back(grid->RowHeights(r));
    }
    Settle();
  }
  void ExpectModel(const std::string& after) {
    ASSERT_EQ(grid->RowCount(), static_cast<int>(texts.size())) << after;
    for (int r = 0; r < grid->RowCount(); ++r) {
      EXPECT_EQ(grid->Cells(1, r), texts[r]) << after << ", row " << r;
      EXPECT_EQ(grid->RowHeights(r), heights[r]) << after << ", row " << r;
    }
  }

  std::unique_ptr<TForm> form;
  RowsGrid* grid = nullptr;
  std::vector<std::string> texts;
  std::vector<int> heights;
};

TEST_F(GridRowsTest, BatchesMoveTheCellsAndKeepTheCurrentCellOnItsRow) {
  struct Case {
    const char* name;
    bool insert;
    int at, count;
    int row, top;          // the current and top row before
    int rowAfter, topAfter;
  };
  const Case cases[] = {
      {"insert at the start", true, 0, 3, 5, 4, 8, 7},
      {"insert before the current row", true, 5, 2, 5, 4, 7, 4},
      {"insert below the view", true, 12, 4, 5, 4, 5, 4},
      {"insert at the end", true, 20, 5, 19, 16, 19, 16},
      {"delete above the view", false, 1, 2, 6, 5, 4, 3},
      {"delete the current row", false, 5, 3, 6, 5, 5, 5},
      {"delete to the end", false, 12, 50, 15, 13, 11, 11},
      {"delete at the start", false, 0, 2, 2, 2, 1, 1},
  };
  for (const Case& c : cases) {
    Build();
    SCOPED_TRACE(c.name);
    grid->SetRow(c.row);
    grid->SetTopRow(c.top);
    ASSERT_EQ(grid->TopRow(), c.top);
    if (c.insert) {
      grid->InsertRows(c.at, c.count);
      texts.insert(texts.begin() + c.at, c.count, "");
      heights.insert(heights.begin() + c.at, c.count, grid->DefaultRowHeight());
    } else {
      grid->DeleteRows(c.at, c.count);
      const int n = std::min<int>(c.count, texts.size() - c.at);
      texts.erase(texts.begin() + c.at, texts.begin() + c.at + n);
      heights.erase(heights.begin() + c.at, heights.begin() + c.at + n);
    }
    ExpectModel(c.name);
    EXPECT_EQ(grid->Row(), c.rowAfter);
    EXPECT_EQ(grid->TopRow(), c.topAfter);
  }
}

TEST_F(GridRowsTest, SwapsAndTakenRowsKeepTextsObjectsAndHeights) {
  int object = 0;
  grid->SetObjects(2, 3, &object);
  grid->SwapRows(3, 12);
  std::swap(texts[3], texts[12]);
  std::swap(heights[3], heights[12]);
  ExpectModel("swap");
  EXPECT_EQ(grid->Objects(2, 12), &object);
  EXPECT_EQ(grid->Objects(2, 3), nullptr);

  grid->SetRow(15);
  TStringGrid::TTakenRow taken = grid->TakeRow(12);
  texts.erase(texts.begin() + 12);
  const int height = heights[12];
  heights.erase(heights.begin() + 12);
  ExpectModel("taken out");
  EXPECT_EQ(grid->Row(), 14);
  for (int outside : {-1, grid->RowCount() + 1}) {  // refused, and the row stays with its holder
    EXPECT_THROW(grid->PutRow(outside, std::move(taken)), EListError) << outside;
    ExpectModel("refused");
  }
  grid->PutRow(2, std::move(taken));
  texts.insert(texts.begin() + 2, "r3");
  heights.insert(heights.begin() + 2, height);
  ExpectModel("put back");
  EXPECT_EQ(grid->Objects(2, 2), &object);
  EXPECT_EQ(grid->Row(), 15);
}

TEST_F(GridRowsTest, APermutationMovesWholeRowsAndRefusesAnythingElse) {
  int object = 0;
  grid->SetObjects(2, 12, &object);
  grid->SetRow(4);
  grid->SetTopRow(3);
  const TGridRect selection = grid->Selection();
  // Rows 2..15, rows of the default height among rows of their own heights.
  std::vector<int> order = {15, 2, 9, 12, 3, 4, 5, 6, 7, 8, 10, 11, 13, 14};
  grid->PermuteRows(2, order);
  const std::vector<std::string> textsBefore = texts;
  const std::vector<int> heightsBefore = heights;
  for (size_t k = 0; k < order.size(); ++k) {
    texts[2 + k] = textsBefore[order[k]];
    heights[2 + k] = heightsBefore[order[k]];
  }
  ExpectModel("permuted");
  EXPECT_EQ(grid->Objects(2, 5), &object);
  EXPECT_EQ(grid->Objects(2, 12), nullptr);
  EXPECT_EQ(grid->Row(), 4);  // the current cell and the view stay, as with a swap
  EXPECT_EQ(grid->TopRow(), 3);
  EXPECT_EQ(grid->Selection(), selection);

  const std::vector<std::pair<int, std::vector<int>>> refused = {
      {2, {2, 2, 4}},    // a row twice
      {2, {1, 2, 3}},    // a row outside the range
      {18, {18, 19, 20}},  // past the grid
      {-1, {-1, 0}},
  };
  for (const auto& [first, bad] : refused) {
    EXPECT_THROW(grid->PermuteRows(first, bad), EListError) << first;
    ExpectModel("refused");
  }
  grid->PermuteRows(20, {});  // nothing to rearrange at the end
  ExpectModel("empty");
}

// An empty grid has no row for the current cell and the top row to stay on: rows inserted into it
// are shown from the first, which is current, as after a larger RowCount.
TEST_F(GridRowsTest, RowsInsertedIntoAnEmptyGridAreShownFromTheFirst) {
  grid->SetRow(5);
  grid->SetRowCount(0);
  grid->InsertRows(0, 10);
  EXPECT_EQ(grid->RowCount(), 10);
  EXPECT_EQ(grid->Row(), 0);
  EXPECT_EQ(grid->TopRow(), 0);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 0, 1, 0}));
}

// A handler that the move of the top row runs while a row is taken out or put back may insert or
// delete rows of its own: those are plain rows, and the taken row stays the holder's.
TEST_F(GridRowsTest, RowsThatAHandlerInsertsOrDeletesWhileARowMovesWholeArePlainRows) {
  bool once = true;
  auto appendTwo = [&](TObject*) {
    if (!std::exchange(once, false)) return;
    grid->InsertRows(grid->RowCount(), 2);
    texts.insert(texts.end(), 2, "");
    heights.insert(heights.end(), 2, grid->DefaultRowHeight());
  };
  grid->SetTopRow(8);
  grid->OnTopLeftChanged = appendTwo;  // TakeRow(3) moves the top row up by one
  TStringGrid::TTakenRow taken = grid->TakeRow(3);
  texts.erase(texts.begin() + 3);
  heights.erase(heights.begin() + 3);
  ExpectModel("taken out");

  once = true;
  grid->OnTopLeftChanged = [&](TObject*) {
    if (!std::exchange(once, false)) return;
    grid->DeleteRows(grid->RowCount() - 2, 2);
    texts.resize(texts.size() - 2);
    heights.resize(heights.size() - 2);
  };
  grid->PutRow(1, std::move(taken));  // moves the top row down by one
  texts.insert(texts.begin() + 1, "r3");
  heights.insert(heights.begin() + 1, grid->DefaultRowHeight());
  ExpectModel("put back");
}

TEST_F(GridRowsTest, ColumnsPastTheCountShownKeepTheirCellsInAWiderStore) {
  grid->SetStorageColCount(6);
  grid->SetColCount(6);
  int object = 0;
  grid->SetCells(5, 4, "hidden");
  grid->SetObjects(4, 4, &object);
  grid->SetColCount(3);
  EXPECT_EQ(grid->StorageColCount(), 6);
  EXPECT_EQ(grid->Cells(5, 4), "hidden");  // read and written at its own index while hidden
  grid->SetCells(5, 5, "written");
  grid->InsertRows(0, 1);
  grid->SwapRows(5, 6);
  grid->SetColCount(6);
  EXPECT_EQ(grid->Cells(5, 5), "written");
  EXPECT_EQ(grid->Cells(5, 6), "hidden");
  EXPECT_EQ(grid->Objects(4, 6), &object);
  // Narrowing the store below the columns shown drops only what is past both.
  grid->SetColCount(3);
  grid->SetStorageColCount(5);
  EXPECT_EQ(grid->StorageColCount(), 5);
  grid->SetColCount(6);
  EXPECT_EQ(grid->Cells(5, 6), "");
  EXPECT_EQ(grid->Objects(4, 6), &object);
}

}  // namespace
}  // namespace platform
