#include <algorithm>
#include <string>
#include <vector>

#include "grid/tests/BaseGridFixture.h"

namespace velmora::testing {
namespace {

using platform::TPoint;
using platform::TRect;

// A base grid that records every property object it frees, also from its destructor.
class TFreeingGrid : public TTestGrid {
public:
  explicit TFreeingGrid(std::vector<TCellProperties*>& freed) : TTestGrid(nullptr), freed_(freed) {}
  ~TFreeingGrid() override { FreeAllCellProperties(); }

protected:
  void FreeCellProperties(TCellProperties* AProps) override {
    freed_.push_back(AProps);
    TTestGrid::FreeCellProperties(AProps);
  }

private:
  std::vector<TCellProperties*>& freed_;
};

// A 4 x 10 grid whose cells of columns 1 to 3 have a text and a property object, with three blocks:
// A over column 1 of rows 2-4, B over columns 2-3 of row 6, C over columns 1-2 of rows 7-8. The model
// holds each row's texts and property objects.
struct Fixture {
  explicit Fixture(std::vector<TCellProperties*>& freed) : grid(freed) {
    grid.SetColCount(4);
    grid.SetRowCount(10);
    for (int r = 0; r < 10; ++r) {
      Row row;
      for (int c = 1; c < 4; ++c) {
        grid.SetCells(c, r, std::to_string(c) + "," + std::to_string(r));
        row.texts[c] = grid.platform::TStringGrid::Cells(c, r);
        row.props[c] = grid.GetCellProperties(c, r);
      }
      rows.push_back(row);
    }
    grid.MergeCells(1, 2, 1, 3);
    grid.MergeCells(2, 6, 2, 1);
    grid.MergeCells(1, 7, 2, 2);
  }
  struct Row {
    std::string texts[4];
    TCellProperties* props[4] = {};
  };
  void ExpectModel(const std::string& after) {
    ExpectMergeEncodingValid(grid, after);
    ASSERT_EQ(grid.RowCount(), static_cast<int>(rows.size())) << after;
    for (int r = 0; r < grid.RowCount(); ++r) {
      for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(grid.platform::TStringGrid::Cells(c, r), rows[r].texts[c]) << after << " (" << c << ", " << r << ")";
        EXPECT_EQ(grid.GetGridObject(c, r), rows[r].props[c]) << after << " (" << c << ", " << r << ")";
      }
    }
  }
  // The property objects of model rows at .. at + count - 1.
  std::vector<TCellProperties*> PropsOf(int at, int count) const {
    std::vector<TCellProperties*> props;
    for (int r = at; r < at + count && r < static_cast<int>(rows.size()); ++r)
      for (TCellProperties* p : rows[r].props)
        if (p) props.push_back(p);
    return props;
  }
  TFreeingGrid grid;
  std::vector<Row> rows;
};

TEST(BaseGridRowsTest, BatchesSplitTornBlocksKeepWholeOnesAndFreeTheDeletedCells) {
  struct Case {
    const char* name;
    bool insert;
    int at, count;
    std::vector<TRect> blocks;    // whole blocks after, as FullCell gives them
    std::vector<TPoint> singles;  // cells of split blocks
  };
  const Case cases[] = {
      {"insert inside A", true, 3, 2, {{2, 8, 3, 8}, {1, 9, 2, 10}}, {{1, 2}, {1, 5}, {1, 6}}},
      {"insert at A's top", true, 2, 2, {{1, 4, 1, 6}, {2, 8, 3, 8}, {1, 9, 2, 10}}, {}},
      {"insert at the start", true, 0, 1, {{1, 3, 1, 5}, {2, 7, 3, 7}, {1, 8, 2, 9}}, {}},
      {"insert at the end", true, 10, 3, {{1, 2, 1, 4}, {2, 6, 3, 6}, {1, 7, 2, 8}}, {}},
      {"delete inside A", false, 3, 1, {{2, 5, 3, 5}, {1, 6, 2, 7}}, {{1, 2}, {1, 3}}},
      {"delete A whole", false, 2, 3, {{2, 3, 3, 3}, {1, 4, 2, 5}}, {}},
      {"delete B whole", false, 5, 2, {{1, 2, 1, 4}, {1, 5, 2, 6}}, {}},
      {"delete past the end through C", false, 8, 5, {{1, 2, 1, 4}, {2, 6, 3, 6}}, {{1, 7}, {2, 7}}},
      {"delete at the start", false, 0, 2, {{1, 0, 1, 2}, {2, 4, 3, 4}, {1, 5, 2, 6}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TCellProperties*> freed;
    {
      Fixture f(freed);
      std::vector<TCellProperties*> expectFreed;
      if (c.insert) {
        f.grid.InsertRows(c.at, c.count);
        f.rows.insert(f.rows.begin() + c.at, c.count, Fixture::Row{});
      } else {
        expectFreed = f.PropsOf(c.at, c.count);
        f.grid.DeleteRows(c.at, c.count);
        f.rows.erase(f.rows.begin() + c.at, f.rows.begin() + std::min<int>(c.at + c.count, f.rows.size()));
      }
      std::sort(freed.begin(), freed.end());
      std::sort(expectFreed.begin(), expectFreed.end());
      EXPECT_EQ(freed, expectFreed);
      f.ExpectModel(c.name);
      for (const TRect& b : c.blocks) EXPECT_EQ(f.grid.FullCell(b.Right, b.Bottom), b);
      for (const TPoint& p : c.singles) EXPECT_FALSE(f.grid.IsMergedCell(p.X, p.Y)) << p.X << ", " << p.Y;
      freed.clear();
    }
    EXPECT_EQ(freed.size(), 30u - (c.insert ? 0 : std::min(c.count, 10 - c.at) * 3));  // the rest, once each
  }
}

TEST(BaseGridRowsTest, SwapsAndTakenRowsCarryTheirHorizontalBlocks) {
  std::vector<TCellProperties*> freed;
  Fixture f(freed);
  f.grid.SwapRows(3, 6);  // A is torn, B goes whole to row 3
  std::swap(f.rows[3], f.rows[6]);
  f.ExpectModel("swap");
  EXPECT_EQ(f.grid.FullCell(3, 3), TRect(2, 3, 3, 3));
  EXPECT_FALSE(f.grid.IsMergedCell(1, 2));

  platform::TStringGrid::TTakenRow taken = f.grid.TakeRow(3);
  const Fixture::Row row = f.rows[3];
  f.rows.erase(f.rows.begin() + 3);
  f.ExpectModel("taken out");
  EXPECT_EQ(f.grid.FullCell(2, 7), TRect(1, 6, 2, 7));
  f.grid.PutRow(0, std::move(taken));
  f.rows.insert(f.rows.begin(), row);
  f.ExpectModel("put back");
  EXPECT_EQ(f.grid.FullCell(3, 0), TRect(2, 0, 3, 0));
  EXPECT_TRUE(freed.empty());
}

TEST(BaseGridRowsTest, HiddenColumnsKeepTheirPropertiesInAWiderStore) {
  std::vector<TCellProperties*> freed;
  {
    Fixture f(freed);
    f.grid.SetStorageColCount(4);
    f.grid.SetColCount(2);
    EXPECT_TRUE(freed.empty());
    EXPECT_EQ(f.grid.GetGridObject(3, 5), f.rows[5].props[3]);
    f.grid.DeleteRows(0, 1);  // the hidden cells go with their row, and are renumbered
    EXPECT_EQ(freed.size(), 3u);
    f.rows.erase(f.rows.begin());
    f.grid.SetColCount(4);
    f.ExpectModel("shown again");
    EXPECT_EQ(f.grid.FullCell(3, 5), TRect(2, 5, 3, 5));
    freed.clear();
  }
  EXPECT_EQ(freed.size(), 27u);
}

// Moving a row, as DeleteRow does, splits the blocks it tears in the columns past the count shown as
// well: a block through the store's width that reaches into them (C) is torn like any other.
TEST(BaseGridRowsTest, MovedRowsSplitTheBlocksTheyTearInHiddenColumns) {
  struct Case {
    const char* name;
    int from, to;  // -1: DeleteRow(from)
  };
  const Case cases[] = {{"C's last row moves up", 8, 0}, {"a row lands inside C", 1, 7}, {"C's first row goes", 7, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TCellProperties*> freed;
    Fixture f(freed);
    f.grid.SetStorageColCount(4);
    f.grid.SetColCount(2);  // column 2, half of C, is hidden
    if (c.to < 0) {
      f.grid.DeleteRow(c.from);
      f.rows.erase(f.rows.begin() + c.from);
    } else {
      f.grid.MoveRow(c.from, c.to);
      const Fixture::Row moved = f.rows[c.from];
      f.rows.erase(f.rows.begin() + c.from);
      f.rows.insert(f.rows.begin() + c.to, moved);
    }
    f.grid.SetColCount(4);
    f.ExpectModel(c.name);
  }
}

// A repaint asks for a paint only when the cell's block reaches into the view.
TEST_F(BaseGridTest, RepaintingACellPaintsOnlyWhenItsBlockIsShown) {
  grid_->SetRowCount(200);
  grid_->MergeCells(1, 2, 1, 5);  // rows 2-6
  grid_->SetTopRow(4);
  struct Case {
    TPoint cell;
    bool paints;
  };
  const Case cases[] = {{{1, 150}, false}, {{2, 3}, false}, {{1, 2}, true}, {{2, 5}, true}, {{1, 0}, true}};
  for (const Case& c : cases) {
    Settle();
    const uint32_t before = grid_->PaintCounter();
    grid_->RepaintCell(c.cell.X, c.cell.Y);
    Settle();
    EXPECT_EQ(grid_->PaintCounter() != before, c.paints) << c.cell.X << ", " << c.cell.Y;
  }
}

}  // namespace
}  // namespace velmora::testing
