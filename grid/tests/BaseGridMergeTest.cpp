#include <random>
#include <string>
#include <vector>

#include "grid/tests/BaseGridFixture.h"

namespace velmora::testing {
namespace {

// The cell texts as the grid should hold them, moved along with the grid's rows and columns.
class TextModel {
public:
  explicit TextModel(const TBaseGrid& grid) {
    for (int r = 0; r < grid.RowCount(); ++r) {
      rows_.emplace_back();
      for (int c = 0; c < grid.ColCount(); ++c) rows_.back().push_back(grid.TStringGrid::Cells(c, r));
    }
  }
  void MoveRow(int from, int to) {
    auto row = rows_[from];
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, row);
  }
  void MoveColumn(int from, int to) {
    for (auto& row : rows_) {
      auto text = row[from];
      row.erase(row.begin() + from);
      row.insert(row.begin() + to, text);
    }
  }
  void Resize(int cols, int rows) {
    rows_.resize(rows, std::vector<std::string>(cols));
    for (auto& row : rows_) row.resize(cols);
  }
  void ExpectEqual(const TBaseGrid& grid, const std::string& after) const {
    ASSERT_EQ(static_cast<int>(rows_.size()), grid.RowCount()) << after;
    for (int r = 0; r < grid.RowCount(); ++r)
      for (int c = 0; c < grid.ColCount(); ++c) ASSERT_EQ(grid.TStringGrid::Cells(c, r), rows_[r][c]) << after;
  }

private:
  std::vector<std::vector<std::string>> rows_;
};

// A seeded random walk of merges (partly outside the grid, over older blocks), splits, moves, inserts
// and deletes of rows and columns: after every step the merge encoding holds and every text is where
// its row and column went.
TEST(BaseGridMergeTest, EncodingHoldsThroughARandomSequence) {
  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    std::mt19937 random(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    TTestGrid grid(nullptr);
    grid.SetColCount(7);
    grid.SetRowCount(8);
    for (int r = 0; r < grid.RowCount(); ++r)
      for (int c = 0; c < grid.ColCount(); ++c)
        grid.TStringGrid::SetCells(c, r, std::to_string(c) + "," + std::to_string(r));
    TextModel texts(grid);
    for (int step = 0; step < 400; ++step) {
      const int cols = grid.ColCount(), rows = grid.RowCount();
      std::string op;
      switch (pick(0, 9)) {
        case 0:
        case 1:
        case 2: {
          const int c = pick(-2, cols), r = pick(-2, rows), nx = pick(0, 5), ny = pick(0, 5);
          op = "MergeCells(" + std::to_string(c) + ", " + std::to_string(r) + ", " + std::to_string(nx) + ", " +
               std::to_string(ny) + ")";
          grid.MergeCells(c, r, nx, ny);
          break;
        }
        case 3: {
          const int c = pick(-1, cols), r = pick(-1, rows);
          op = "SplitCells(" + std::to_string(c) + ", " + std::to_string(r) + ")";
          grid.SplitCells(c, r);
          break;
        }
        case 4: {
          const int at = pick(0, rows);
          op = "insert row " + std::to_string(at);
          if (rows >= 14) break;
          grid.SetRowCount(rows + 1);
          grid.MoveRow(rows, at);
          texts.Resize(cols, rows + 1);
          texts.MoveRow(rows, at);
          break;
        }
        case 5: {
          const int at = pick(0, cols);
          op = "insert column " + std::to_string(at);
          if (cols >= 12) break;
          grid.SetColCount(cols + 1);
          grid.MoveColumn(cols, at);
          texts.Resize(cols + 1, rows);
          texts.MoveColumn(cols, at);
          break;
        }
        case 6: {
          const int at = pick(0, rows - 1);
          op = "DeleteRow(" + std::to_string(at) + ")";
          if (rows <= 2) break;
          grid.DeleteRow(at);
          texts.MoveRow(at, rows - 1);
          texts.Resize(cols, rows - 1);
          break;
        }
        case 7: {
          const int at = pick(0, cols - 1);
          op = "DeleteColumn(" + std::to_string(at) + ")";
          if (cols <= 2) break;
          grid.DeleteColumn(at);
          texts.MoveColumn(at, cols - 1);
          texts.Resize(cols - 1, rows);
          break;
        }
        case 8: {
          const int from = pick(0, rows - 1), to = pick(0, rows - 1);
          op = "MoveRow(" + std::to_string(from) + ", " + std::to_string(to) + ")";
          grid.MoveRow(from, to);
          if (from != to) texts.MoveRow(from, to);
          break;
        }
        default: {
          const int from = pick(0, cols - 1), to = pick(0, cols - 1);
          op = "MoveColumn(" + std::to_string(from) + ", " + std::to_string(to) + ")";
          grid.MoveColumn(from, to);
          if (from != to) texts.MoveColumn(from, to);
          break;
        }
      }
      const std::string after = "seed " + std::to_string(seed) + ", step " + std::to_string(step) + ": " + op;
      ExpectMergeEncodingValid(grid, after);
      texts.ExpectEqual(grid, after);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

// A move keeps a block that moves as a whole and splits one it would tear apart.
TEST(BaseGridMergeTest, MovesKeepWholeBlocksAndSplitTornOnes) {
  struct Case {
    const char* name;
    int from, to;
    bool kept;
    platform::TRect after;  // the block's cells when kept
  };
  // The block covers rows 2-3 of columns 1-2.
  const Case cases[] = {
      {"a row above moves below it", 0, 4, true, {1, 1, 2, 2}},
      {"a row below moves above it", 5, 1, true, {1, 3, 2, 4}},
      {"a row of it leaves", 2, 5, false, {}},
      {"a row lands inside it", 5, 3, false, {}},
      {"a row lands just above it", 5, 2, true, {1, 3, 2, 4}},
      {"a row lands just below it", 0, 3, true, {1, 1, 2, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestGrid grid(nullptr);
    grid.SetRowCount(6);
    grid.MergeCells(1, 2, 2, 2);
    grid.MoveRow(c.from, c.to);
    ExpectMergeEncodingValid(grid, c.name);
    if (c.kept) {
      EXPECT_EQ(grid.FullCell(c.after.Left, c.after.Top), c.after);
    } else {
      for (int r = 0; r < grid.RowCount(); ++r)
        for (int col = 0; col < grid.ColCount(); ++col) EXPECT_FALSE(grid.IsMergedCell(col, r));
    }
  }

  TTestGrid grid(nullptr);
  grid.MergeCells(1, 1, 3, 3);
  grid.SetRowCount(3);
  grid.SetColCount(3);
  EXPECT_EQ(grid.FullCell(2, 2), platform::TRect(1, 1, 2, 2));  // cut to what stays
}

}  // namespace
}  // namespace velmora::testing
