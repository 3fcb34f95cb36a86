#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/grids/Grids.h"
#include "platform/grids/tests/GridFixture.h"
#include "platform/grids/tests/RowSets.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

// A row of the model: who it is, the texts of column 1 and of hidden column 5, the objects of column 2
// and of hidden column 4, and the height.
struct ModelRow {
  int id = 0;
  std::string text, hiddenText;
  void* object = nullptr;
  void* hiddenObject = nullptr;
  int height = 24;
};

// The grid of the grid tests with three columns shown in a store of six, against a vector of rows. The
// current row, the anchor's row and TopRow are followed by the rows they are on.
class GridRowSetsTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form = ShowForm(400, 300);
    grid = PlaceTestGrid<TStringGrid>(*form);
    grid->SetStorageColCount(6);
    grid->SetColCount(3);
    for (int r = 0; r < grid->RowCount(); ++r) rows.push_back(Written(r));
    Settle();
  }
  void TearDown() override {
    form.reset();
    FormTest::TearDown();
  }

  // Row r of the grid written with new texts, objects and a height, as the model has it.
  ModelRow Written(int r) {
    ModelRow row{nextId++, "t" + std::to_string(nextId), "h" + std::to_string(nextId), &objects[nextId % 4],
                 &objects[(nextId + 1) % 4], 10 + static_cast<int>(random() % 3) * 15};
    grid->SetCells(1, r, row.text);
    grid->SetCells(5, r, row.hiddenText);
    grid->SetObjects(2, r, row.object);
    grid->SetObjects(4, r, row.hiddenObject);
    grid->SetRowHeights(r, row.height);
    return row;
  }

  // The ids of the rows of the current cell, the anchor and TopRow; -1 - index for a row the grid lacks.
  struct Places {
    int row, anchor, top;
  };
  Places PlacesNow() const {
    auto id = [&](int index) { return index < static_cast<int>(rows.size()) ? rows[index].id : -1 - index; };
    return {id(grid->Row()), id(grid->Selection().Top == grid->Row() ? grid->Selection().Bottom : grid->Selection().Top),
            id(grid->TopRow())};
  }

  // Where a row that was on `id` in `before` stands now: on its own row, else on the first row after it
  // that stayed, else on the last row; within the scrolling rows.
  int IndexNow(const std::vector<ModelRow>& before, int id) const {
    int index = -1 - id;
    if (id >= 0) {
      std::map<int, int> now;
      for (size_t i = 0; i < rows.size(); ++i) now[rows[i].id] = static_cast<int>(i);
      auto from = std::find_if(before.begin(), before.end(), [id](const ModelRow& row) { return row.id == id; });
      index = static_cast<int>(rows.size());
      for (; from != before.end(); ++from)
        if (now.count(from->id)) {
          index = now[from->id];
          break;
        }
    }
    return std::clamp(index, grid->FixedRows(), std::max(grid->RowCount() - 1, grid->FixedRows()));
  }

  void ExpectModel(const std::vector<ModelRow>& before, Places places, const std::string& after) {
    ASSERT_EQ(grid->RowCount(), static_cast<int>(rows.size())) << after;
    for (int r = 0; r < grid->RowCount(); ++r) {
      ASSERT_EQ(grid->Cells(1, r), rows[r].text) << after << ", row " << r;
      ASSERT_EQ(grid->Cells(5, r), rows[r].hiddenText) << after << ", row " << r;
      ASSERT_EQ(grid->Objects(2, r), rows[r].object) << after << ", row " << r;
      ASSERT_EQ(grid->Objects(4, r), rows[r].hiddenObject) << after << ", row " << r;
      ASSERT_EQ(grid->RowHeights(r), rows[r].height) << after << ", row " << r;
    }
    EXPECT_EQ(grid->Row(), IndexNow(before, places.row)) << after;
    const TGridRect selection = grid->Selection();
    EXPECT_EQ(selection.Top == grid->Row() ? selection.Bottom : selection.Top, IndexNow(before, places.anchor)) << after;
    EXPECT_EQ(grid->TopRow(), IndexNow(before, places.top)) << after;
  }

  std::unique_ptr<TForm> form;
  TStringGrid* grid = nullptr;
  std::vector<ModelRow> rows;
  int nextId = 0;
  std::mt19937 random{30};
  int objects[4] = {};
};

std::string Describe(const char* what, const std::vector<int>& set) {
  std::string text = what;
  for (int i : set) text += " " + std::to_string(i);
  return text;
}

// Random sets deleted, inserted, taken out and put back (none, one, all, scattered rows and runs), with
// the current cell, the anchor and TopRow anywhere, and sets refused.
TEST_F(GridRowSetsTest, RandomSetsAgreeWithAVectorOfRows) {
  std::vector<std::pair<TStringGrid::TTakenRow, ModelRow>> held;
  for (int step = 0; step < 600; ++step) {
    const int count = grid->RowCount();
    if (count > grid->FixedRows()) {
      const int a = grid->FixedRows() + static_cast<int>(random() % (count - grid->FixedRows()));
      const int b = grid->FixedRows() + static_cast<int>(random() % (count - grid->FixedRows()));
      grid->SetSelection({1, std::min(a, b), 2, std::max(a, b)});
      if (random() % 2) grid->SetSelection({1, std::max(a, b), 2, std::min(a, b)});  // the anchor below
      grid->SetTopRow(grid->FixedRows() + static_cast<int>(random() % (count - grid->FixedRows())));
    }
    const std::vector<ModelRow> before = rows;
    const Places places = PlacesNow();
    std::string what;
    switch (random() % (count > 30 ? 3 : 5)) {
      case 0: {
        const std::vector<int> set = RandomRowSet(random, count);
        what = Describe("delete", set);
        grid->DeleteRowSet(set);
        for (size_t j = set.size(); j-- > 0;) rows.erase(rows.begin() + set[j]);
        break;
      }
      case 1: {
        const std::vector<int> set = RandomRowSet(random, count);
        what = Describe("take", set);
        std::vector<TStringGrid::TTakenRow> taken = grid->TakeRows(set);
        ASSERT_EQ(taken.size(), set.size());
        for (size_t j = 0; j < set.size(); ++j) held.emplace_back(std::move(taken[j]), before[set[j]]);
        for (size_t j = set.size(); j-- > 0;) rows.erase(rows.begin() + set[j]);
        break;
      }
      case 2: {
        const std::vector<std::vector<int>> bad = BadRowSets(count);
        const std::vector<int>& set = bad[random() % bad.size()];
        what = Describe("refused", set);
        EXPECT_THROW(grid->DeleteRowSet(set), EListError) << what;
        EXPECT_THROW(grid->TakeRows(set), EListError) << what;
        if (!held.empty()) {  // the rows stay with the holder, to be put back later
          std::vector<TStringGrid::TTakenRow> back;
          back.push_back(std::move(held.back().first));
          const std::vector<int> positions = {count + 1};
          EXPECT_THROW(grid->PutRows(positions, std::move(back)), EListError) << what;
          EXPECT_THROW(grid->PutRows({}, std::move(back)), EListError) << what;
          held.back().first = std::move(back[0]);
        }
        break;
      }
      case 3: {
        const int n = static_cast<int>(random() % 6);
        const std::vector<int> positions = RandomRowSet(random, count + n, n);
        what = Describe("insert", positions);
        grid->InsertRowSet(positions);
        for (int at : positions) rows.insert(rows.begin() + at, ModelRow{nextId++, "", "", nullptr, nullptr, 24});
        break;
      }
      default: {
        const int n = static_cast<int>(random() % (held.size() + 1));
        const std::vector<int> positions = RandomRowSet(random, count + n, n);
        what = Describe("put", positions);
        std::vector<TStringGrid::TTakenRow> back;
        std::vector<ModelRow> modelBack;
        for (int j = 0; j < n; ++j) {
          back.push_back(std::move(held.back().first));
          modelBack.push_back(held.back().second);
          held.pop_back();
        }
        grid->PutRows(positions, std::move(back));
        for (int j = 0; j < n; ++j) rows.insert(rows.begin() + positions[j], modelBack[j]);
        break;
      }
    }
    ExpectModel(before, places, "step " + std::to_string(step) + ": " + what);
    if (HasFatalFailure()) return;
    if (!rows.empty() && random() % 3 == 0) {
      const int r = static_cast<int>(random() % rows.size());
      rows[r] = Written(r);
    }
  }
}

}  // namespace
}  // namespace platform
