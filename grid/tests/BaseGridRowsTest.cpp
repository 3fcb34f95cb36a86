#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "grid/tests/BaseGridFixture.h"
#include "platform/grids/tests/RowSets.h"

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

// A 4 x 16 grid in a store of 6 columns whose every cell has a text and a property object, with merged
// blocks (some into the hidden columns), against a vector of rows and a list of blocks by row index.
class RowSetModel {
public:
  static constexpr int kWidth = 6;
  struct Row {
    std::string texts[kWidth];
    TCellProperties* props[kWidth] = {};
  };
  struct Block {
    int left, top, right, bottom;
  };
  // A row taken out, with the blocks of its own (one row high) that it carries.
  struct Held {
    platform::TStringGrid::TTakenRow taken;
    Row row;
    std::vector<Block> blocks;
  };

  explicit RowSetModel(std::vector<TCellProperties*>& freed) : grid(freed), freed_(freed) {
    grid.SetStorageColCount(kWidth);
    grid.SetColCount(kWidth);
    grid.SetRowCount(16);
    for (int r = 0; r < 16; ++r) {
      Row row;
      for (int c = 0; c < kWidth; ++c) {
        grid.SetCells(c, r, std::to_string(c) + "," + std::to_string(r));
        row.texts[c] = grid.platform::TStringGrid::Cells(c, r);
        row.props[c] = grid.GetCellProperties(c, r);
      }
      rows.push_back(row);
    }
    for (const Block& b : {Block{1, 2, 1, 4}, Block{2, 6, 5, 6}, Block{3, 8, 5, 10}, Block{1, 12, 2, 12}}) Merge(b);
  }

  // Merges while every column shows.
  void Merge(Block b) {
    grid.SetColCount(kWidth);
    b.right = std::min(b.right, kWidth - 1);
    b.bottom = std::min(b.bottom, static_cast<int>(rows.size()) - 1);
    grid.MergeCells(b.left, b.top, b.right - b.left + 1, b.bottom - b.top + 1);
    std::erase_if(blocks, [&](const Block& o) {
      return o.left <= b.right && b.left <= o.right && o.top <= b.bottom && b.top <= o.bottom;
    });
    blocks.push_back(b);
    for (int r = b.top; r <= b.bottom; ++r)
      for (int c = b.left; c <= b.right; ++c) rows[r].props[c] = grid.GetGridObject(c, r);
    grid.SetColCount(4);
  }

  // Deletes (or takes out) the rows of a set: every block over several rows that one of them belongs to
  // is split, a one-row block goes with its row.
  void Remove(const std::vector<int>& set, bool take) {
    auto in = [&](int r) { return std::binary_search(set.begin(), set.end(), r); };
    auto before = [&](int r) { return static_cast<int>(std::lower_bound(set.begin(), set.end(), r) - set.begin()); };
    std::vector<Block> kept;
    std::vector<Held> out(set.size());
    for (const Block& b : blocks) {
      bool touched = false;
      for (int r = b.top; r <= b.bottom; ++r) touched = touched || in(r);
      if (!touched)
        kept.push_back({b.left, b.top - before(b.top), b.right, b.bottom - before(b.bottom)});
      else if (take && b.top == b.bottom)
        out[before(b.top)].blocks.push_back(b);
    }
    blocks = kept;
    std::vector<platform::TStringGrid::TTakenRow> taken;
    if (take)
      taken = grid.TakeRows(set);
    else
      grid.DeleteRowSet(set);
    for (size_t j = set.size(); j-- > 0;) {
      if (take) {
        out[j].taken = std::move(taken[j]);
        out[j].row = rows[set[j]];
        held.push_back(std::move(out[j]));
      } else {
        for (TCellProperties* p : rows[set[j]].props) expectFreed_.push_back(p);
      }
      rows.erase(rows.begin() + set[j]);
    }
  }

  // Inserts new rows, or puts back the last `count` held rows, at the positions; a block across the place
  // of a new row is split.
  void Insert(const std::vector<int>& positions, bool put) {
    std::vector<int> gaps;
    for (size_t j = 0; j < positions.size(); ++j) gaps.push_back(positions[j] - static_cast<int>(j));
    auto shifted = [&](int r) { return r + static_cast<int>(std::upper_bound(gaps.begin(), gaps.end(), r) - gaps.begin()); };
    std::vector<Block> kept;
    for (const Block& b : blocks)
      if (std::none_of(gaps.begin(), gaps.end(), [&](int g) { return b.top < g && g <= b.bottom; }))
        kept.push_back({b.left, shifted(b.top), b.right, shifted(b.bottom)});
    blocks = kept;
    std::vector<platform::TStringGrid::TTakenRow> back;
    std::vector<Held> from;
    for (size_t j = 0; put && j < positions.size(); ++j) {
      from.push_back(std::move(held.back()));
      held.pop_back();
      back.push_back(std::move(from.back().taken));
    }
    if (put)
      grid.PutRows(positions, std::move(back));
    else
      grid.InsertRowSet(positions);
    for (size_t j = 0; j < positions.size(); ++j) {
      rows.insert(rows.begin() + positions[j], put ? from[j].row : Row{});
      for (Block b : put ? from[j].blocks : std::vector<Block>{}) {
        b.top = b.bottom = positions[j];
        blocks.push_back(b);
      }
    }
  }

  void Expect(const std::string& after) {
    grid.SetColCount(kWidth);
    ExpectMergeEncodingValid(grid, after);
    ASSERT_EQ(grid.RowCount(), static_cast<int>(rows.size())) << after;
    std::vector<std::vector<bool>> merged(rows.size(), std::vector<bool>(kWidth));
    for (const Block& b : blocks) {
      EXPECT_EQ(grid.FullCell(b.right, b.bottom), TRect(b.left, b.top, b.right, b.bottom)) << after;
      for (int r = b.top; r <= b.bottom; ++r)
        for (int c = b.left; c <= b.right; ++c) merged[r][c] = true;
    }
    for (int r = 0; r < grid.RowCount(); ++r) {
      for (int c = 0; c < kWidth; ++c) {
        ASSERT_EQ(grid.platform::TStringGrid::Cells(c, r), rows[r].texts[c]) << after << " (" << c << ", " << r << ")";
        ASSERT_EQ(grid.GetGridObject(c, r), rows[r].props[c]) << after << " (" << c << ", " << r << ")";
        EXPECT_TRUE(merged[r][c] || !grid.IsMergedCell(c, r)) << after << " (" << c << ", " << r << ")";
      }
    }
    std::erase(expectFreed_, nullptr);
    std::sort(expectFreed_.begin(), expectFreed_.end());
    expectFreed_.erase(std::unique(expectFreed_.begin(), expectFreed_.end()), expectFreed_.end());
    std::sort(freed_.begin(), freed_.end());
    EXPECT_EQ(freed_, expectFreed_) << after;  // each once
    freed_.clear();
    expectFreed_.clear();
    grid.SetColCount(4);
  }

  TFreeingGrid grid;
  std::vector<Row> rows;
  std::vector<Block> blocks;
  std::vector<Held> held;

private:
  std::vector<TCellProperties*>& freed_;
  std::vector<TCellProperties*> expectFreed_;
};

// Random sets deleted, inserted, taken out and put back, with merges between them: the blocks that a set
// row would tear are split through the store's width, every property object knows its place and a
// deleted one is freed once.
TEST(BaseGridRowsTest, RandomRowSetsSplitTheBlocksTheyTearAndRenumberTheRest) {
  std::mt19937 random(120);
  std::vector<TCellProperties*> freed;
  RowSetModel model(freed);
  for (int step = 0; step < 400; ++step) {
    const int count = model.grid.RowCount();
    std::string what;
    switch (random() % (count > 30 ? 2 : 5)) {
      case 0:
      case 1: {
        const bool take = random() % 2;
        const std::vector<int> set = platform::RandomRowSet(random, count);
        what = take ? "take" : "delete";
        for (int r : set) what += " " + std::to_string(r);
        model.Remove(set, take);
        break;
      }
      case 2:
      case 3: {
        const bool put = random() % 2;
        const int n = static_cast<int>(random() % (put ? model.held.size() + 1 : 5));
        const std::vector<int> positions = platform::RandomRowSet(random, count + n, n);
        what = put ? "put" : "insert";
        for (int r : positions) what += " " + std::to_string(r);
        model.Insert(positions, put);
        break;
      }
      default:
        if (count == 0) continue;
        const int top = static_cast<int>(random() % count), left = static_cast<int>(random() % 4);
        what = "merge at " + std::to_string(left) + ", " + std::to_string(top);
        model.Merge({left, top, left + static_cast<int>(random() % 3), top + static_cast<int>(random() % 3)});
    }
    model.Expect("step " + std::to_string(step) + ": " + what);
    if (::testing::Test::HasFatalFailure()) return;
  }
  std::vector<int> end(model.held.size());
  for (size_t j = 0; j < end.size(); ++j) end[j] = model.grid.RowCount() + static_cast<int>(j);
  model.Insert(end, true);
  model.Expect("all put back");
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
