#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "platform/grids/GridCells.h"
#include "platform/grids/tests/RowSets.h"

namespace platform {
namespace {

// The obvious model: a full matrix of texts and objects.
struct Model {
  int cols = 0;
  std::vector<std::vector<std::pair<std::string, void*>>> rows;

  void SetSize(int c, int r) {
    cols = c;
    rows.resize(r);
    for (auto& row : rows) row.resize(c);
  }
  template <typename Cells>
  void Move(Cells& v, int from, int to) {
    auto value = v[from];
    v.erase(v.begin() + from);
    v.insert(v.begin() + to, value);
  }
};

void ExpectSame(const GridCells& cells, const Model& model, int step) {
  ASSERT_EQ(cells.RowCount(), static_cast<int>(model.rows.size())) << step;
  ASSERT_EQ(cells.ColCount(), model.cols) << step;
  for (int r = 0; r < cells.RowCount(); ++r)
    for (int c = 0; c < cells.ColCount(); ++c) {
      ASSERT_EQ(cells.Text(c, r), model.rows[r][c].first) << "step " << step << " cell " << c << "," << r;
      ASSERT_EQ(cells.Object(c, r), model.rows[r][c].second) << "step " << step << " cell " << c << "," << r;
    }
  // The index of rows with objects lists exactly the rows that say they have them, and every row that
  // holds one says so.
  std::vector<int> holding;
  for (int r = 0; r < cells.RowCount(); ++r) {
    if (cells.HasObjects(r)) holding.push_back(r);
    for (const auto& cell : model.rows[r])
      ASSERT_TRUE(!cell.second || cells.HasObjects(r)) << "step " << step << " row " << r;
  }
  ASSERT_EQ(cells.ObjectRows(0, cells.RowCount() - 1), holding) << "step " << step;
  if (cells.RowCount() > 2) {
    const int mid = cells.RowCount() / 2;
    std::vector<int> part;
    std::copy_if(holding.begin(), holding.end(), std::back_inserter(part), [mid](int r) { return r >= 1 && r <= mid; });
    ASSERT_EQ(cells.ObjectRows(1, mid), part) << "step " << step;
  }
}

TEST(GridCellsTest, RandomOperationsAgreeWithAFullMatrix) {
  std::mt19937 random(7);
  GridCells cells;
  Model model;
  cells.SetSize(4, 6);
  model.SetSize(4, 6);
  static int objects[8];
  for (int step = 0; step < 3000; ++step) {
    const int cols = cells.ColCount(), rows = cells.RowCount();
    const auto pick = [&](int n) { return static_cast<int>(random() % std::max(n, 1)); };
    switch (random() % 8) {
      case 0:
      case 1:
        if (cols && rows) {
          const int c = pick(cols), r = pick(rows);
          const std::string text = random() % 4 ? std::to_string(step) : "";
          cells.SetText(c, r, text);
          model.rows[r][c].first = text;
        }
        break;
      case 2:
        if (cols && rows) {
          const int c = pick(cols), r = pick(rows);
          void* object = random() % 3 ? &objects[random() % 8] : nullptr;
          cells.SetObject(c, r, object);
          model.rows[r][c].second = object;
        }
        break;
      case 3:
        if (rows) {
          const int from = pick(rows), to = pick(rows);
          cells.MoveRow(from, to);
          model.Move(model.rows, from, to);
        }
        break;
      case 4:
        if (cols) {
          const int from = pick(cols), to = pick(cols);
          cells.MoveColumn(from, to);
          for (auto& row : model.rows) model.Move(row, from, to);
        }
        break;
      case 5:
        if (rows > 1) {
          const int r = pick(rows);
          cells.DeleteRow(r);
          model.rows.erase(model.rows.begin() + r);
        }
        break;
      case 6:
        if (cols > 1) {
          const int c = pick(cols);
          cells.DeleteColumn(c);
          for (auto& row : model.rows) row.erase(row.begin() + c);
          --model.cols;
        }
        break;
      case 7: {
        const int c = 1 + pick(8), r = 1 + pick(12);
        cells.SetSize(c, r);
        model.SetSize(c, r);
        break;
      }
    }
    ExpectSame(cells, model, step);
  }
}

// Batch insertions and deletions, swaps, permutations and rows taken out and put back, between writes,
// against the full matrix; the counts reach past the ends at times.
TEST(GridCellsTest, RowBatchesSwapsPermutationsAndTakenRowsAgreeWithAFullMatrix) {
  std::mt19937 random(11);
  GridCells cells;
  Model model;
  cells.SetSize(3, 8);
  model.SetSize(3, 8);
  std::vector<std::pair<GridCells::StoredRow, std::vector<std::pair<std::string, void*>>>> taken;
  static int objects[4];
  for (int step = 0; step < 3000; ++step) {
    const int rows = cells.RowCount();
    const auto pick = [&](int n) { return static_cast<int>(random() % std::max(n, 1)); };
    switch (random() % 8) {
      case 0:
      case 1:
        if (rows) {
          const int c = pick(3), r = pick(rows);
          cells.SetText(c, r, std::to_string(step));
          cells.SetObject(c, r, &objects[step % 4]);
          model.rows[r][c] = {std::to_string(step), &objects[step % 4]};
        }
        break;
      case 2: {
        const int at = pick(rows + 1), n = pick(4);
        cells.InsertRows(at, n);
        model.rows.insert(model.rows.begin() + at, n, std::vector<std::pair<std::string, void*>>(3));
        break;
      }
      case 3:
        if (rows) {
          const int at = pick(rows), n = std::min(pick(5), rows - at);
          const bool toTheEnd = pick(4) == 0;
          cells.DeleteRows(at, toTheEnd ? rows : n);  // clamped to the rows there are
          model.rows.erase(model.rows.begin() + at, toTheEnd ? model.rows.end() : model.rows.begin() + at + n);
        }
        break;
      case 4:
        if (rows) {
          const int a = pick(rows), b = pick(rows);
          cells.SwapRows(a, b);
          std::swap(model.rows[a], model.rows[b]);
        }
        break;
      case 5:
        if (rows && (taken.empty() || pick(2))) {
          const int r = pick(rows);
          taken.emplace_back(cells.TakeRow(r), model.rows[r]);
          model.rows.erase(model.rows.begin() + r);
        } else if (!taken.empty()) {
          const int at = pick(rows + 1);
          cells.PutRow(at, std::move(taken.back().first));
          model.rows.insert(model.rows.begin() + at, taken.back().second);
          taken.pop_back();
        }
        break;
      case 6: {
        // A set taken out and put back at other places.
        const std::vector<int> set = RandomRowSet(random, rows);
        std::vector<std::vector<std::pair<std::string, void*>>> out;
        for (int r : set) out.push_back(model.rows[r]);
        for (size_t j = set.size(); j-- > 0;) model.rows.erase(model.rows.begin() + set[j]);
        std::vector<GridCells::StoredRow> stored = cells.TakeRows(set);
        const int n = static_cast<int>(set.size());
        const std::vector<int> positions = RandomRowSet(random, cells.RowCount() + n, n);
        for (int j = 0; j < n; ++j) model.rows.insert(model.rows.begin() + positions[j], out[j]);
        cells.PutRows(positions, std::move(stored));
        break;
      }
      case 7: {
        // A range rearranged: row first + k takes row order[k].
        const int first = pick(rows), n = pick(rows - first + 1);
        std::vector<int> order(n);
        std::iota(order.begin(), order.end(), first);
        std::shuffle(order.begin(), order.end(), random);
        const auto before = model.rows;
        for (int k = 0; k < n; ++k) model.rows[first + k] = before[order[k]];
        cells.PermuteRows(first, order);
        break;
      }
    }
    ExpectSame(cells, model, step);
  }
}

TEST(GridCellsTest, OutsideTheGridReadsEmptyAndIgnoresWrites) {
  GridCells cells;
  cells.SetSize(2, 2);
  cells.SetText(2, 0, "x");
  cells.SetText(-1, 0, "x");
  cells.SetObject(0, 5, &cells);
  EXPECT_EQ(cells.Text(2, 0), "");
  EXPECT_EQ(cells.Text(0, -1), "");
  EXPECT_EQ(cells.Object(0, 5), nullptr);
  cells.SetSize(1, 1);
  cells.SetSize(2, 2);  // cells dropped by shrinking come back empty
  EXPECT_EQ(cells.Text(1, 1), "");
}

TEST(GapVectorTest, InsertingInALoopAtOnePlaceKeepsOrder) {
  GapVector<int> v;
  for (int i = 0; i < 100; ++i) v.push_back(i);
  for (int i = 0; i < 50; ++i) v.insert(50, 1000 + i);  // each new one before the previous
  for (int i = 0; i < 10; ++i) v.move(v.size() - 1, 20);
  std::vector<int> expected;
  for (int i = 0; i < 100; ++i) expected.push_back(i);
  for (int i = 0; i < 50; ++i) expected.insert(expected.begin() + 50, 1000 + i);
  for (int i = 0; i < 10; ++i) {
    const int last = expected.back();
    expected.pop_back();
    expected.insert(expected.begin() + 20, last);
  }
  ASSERT_EQ(v.size(), expected.size());
  for (size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i], expected[i]) << i;
}

// Sets taken out and put back wherever single insertions have left the gap, against a vector.
TEST(GapVectorTest, SetsTakenOutAndPutBackAgreeWithAVector) {
  std::mt19937 random(3);
  GapVector<int> v;
  std::vector<int> model;
  int next = 0;
  for (; next < 40; ++next) {
    v.push_back(next);
    model.push_back(next);
  }
  for (int step = 0; step < 2000; ++step) {
    const int size = static_cast<int>(model.size());
    switch (random() % 3) {
      case 0: {
        const int at = static_cast<int>(random() % (size + 1));
        v.insert(at, next);
        model.insert(model.begin() + at, next++);
        break;
      }
      case 1: {
        const std::vector<int> set = RandomRowSet(random, size);
        std::vector<int> expected;
        for (int i : set) expected.push_back(model[i]);
        ASSERT_EQ(v.extract(set), expected) << step;
        for (size_t j = set.size(); j-- > 0;) model.erase(model.begin() + set[j]);
        break;
      }
      default: {
        const int n = static_cast<int>(random() % 30);
        const std::vector<int> positions = RandomRowSet(random, size + n, n);
        std::vector<int> values;
        for (int j = 0; j < n; ++j) values.push_back(next++);
        for (int j = 0; j < n; ++j) model.insert(model.begin() + positions[j], values[j]);
        v.insert(positions, std::move(values));
      }
    }
    ASSERT_EQ(v.size(), model.size()) << step;
    for (size_t i = 0; i < model.size(); ++i) ASSERT_EQ(v[i], model[i]) << "step " << step << " at " << i;
  }
}

}  // namespace
}  // namespace platform
