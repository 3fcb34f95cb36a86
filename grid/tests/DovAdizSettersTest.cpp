#include <functional>
#include <string>

#include "grid/tests/DovAdizFixture.h"

namespace velmora::testing {
namespace {

// Each setter's effect on the shown grid: whether it paints the grid again.
struct SetterCase {
  const char* name;
  std::function<void(VUraRazuduVova&)> set;
  bool repaints;
};

TEST_F(DovAdizTest, SettersRepaintOrOnlyStore) {
  const SetterCase cases[] = {
      {"SelectionColor", [](VUraRazuduVova& g) { g.SetSelectionColor(platform::clRed); }, true},
      {"SelectionTextColor", [](VUraRazuduVova& g) { g.SetSelectionTextColor(platform::clRed); }, true},
      {"SelectionRectangle", [](VUraRazuduVova& g) { g.SetSelectionRectangle(true); }, true},
      {"ShowSelection unchanged", [](VUraRazuduVova& g) { g.SetShowSelection(true); }, false},
      {"ShowSelection off", [](VUraRazuduVova& g) { g.SetShowSelection(false); }, true},
      {"VAlignment", [](VUraRazuduVova& g) { g.SetVAlignment(TVAlignment::vtaCenter); }, true},
      {"WordWrap", [](VUraRazuduVova& g) { g.SetWordWrap(true); }, true},
      {"Flat", [](VUraRazuduVova& g) { g.SetFlat(true); }, true},
      {"XYOffset", [](VUraRazuduVova& g) { g.SetXYOffset({4, 4}); }, true},
      {"FixedFooters", [](VUraRazuduVova& g) { g.SetFixedFooters(1); }, true},
      {"FixedRightCols", [](VUraRazuduVova& g) { g.SetFixedRightCols(1); }, true},
      {"AutoSize", [](VUraRazuduVova& g) { g.SetAutoSize(true); }, true},
      {"RowSelect unchanged", [](VUraRazuduVova& g) { g.SetRowSelect(2, false); }, false},
      {"RowSelect", [](VUraRazuduVova& g) { g.SetRowSelect(2, true); }, true},
      {"a colour far below the rows shown", [](VUraRazuduVova& g) { g.SetColors(1, 4999, platform::clRed); }, false},
      {"a text far below the rows shown", [](VUraRazuduVova& g) { g.SetCells(1, 4998, "x"); }, false},
      {"a colour shown", [](VUraRazuduVova& g) { g.SetColors(1, 1, platform::clRed); }, true},
  };
  grid_->SetRowCount(5000);
  for (const SetterCase& c : cases) {
    Settle();
    const uint32_t painted = grid_->PaintCounter();
    c.set(*grid_);
    Settle();
    EXPECT_EQ(grid_->PaintCounter() != painted, c.repaints) << c.name;
  }
  EXPECT_FALSE(grid_->SelectionShown());
}

// While updates are locked, VAlignment and WordWrap only store; the end of the lock paints once.
TEST_F(DovAdizTest, LockedUpdatesPaintOnceAtTheEnd) {
  Settle();
  const uint32_t painted = grid_->PaintCounter();
  {
    VUraRazuduVova::UpdateGuard lock(*grid_);
    grid_->SetVAlignment(TVAlignment::vtaBottom);
    grid_->SetWordWrap(true);
    Settle();
    EXPECT_EQ(grid_->PaintCounter(), painted);
  }
  Settle();
  EXPECT_EQ(grid_->PaintCounter(), painted + 1);
  EXPECT_EQ(grid_->VAlignment(), TVAlignment::vtaBottom);
  EXPECT_TRUE(grid_->WordWrap());
}

// Setting AutoSize sizes the scrolling columns to their contents at once, with a margin of 10 pixels.
TEST_F(DovAdizTest, AutoSizeSizesTheColumnsAtOnce) {
  grid_->SetCells(1, 1, "a much longer text");
  grid_->SetCells(2, 1, "ab");
  grid_->SetColWidths(0, 33);
  grid_->SetAutoSize(true);
  const int wide = grid_->ColWidths(1), narrow = grid_->ColWidths(2);
  EXPECT_EQ(grid_->ColWidths(0), 33);
  EXPECT_GT(wide, narrow);
  grid_->AutoSizeColumns(false, 0);
  EXPECT_EQ(grid_->ColWidths(1), wide - 10);
  EXPECT_EQ(grid_->ColWidths(2), narrow - 10);
}

}  // namespace
}  // namespace velmora::testing
