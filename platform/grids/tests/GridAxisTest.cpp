#include <gtest/gtest.h>

#include "platform/grids/GridAxis.h"

namespace platform {
namespace {

// Five items of 10 pixels with 1-pixel lines, one fixed; item 2 is 20 wide.
GridAxis Axis() {
  GridAxis axis;
  axis.SetDefaultSize(10);
  axis.SetCount(5);
  axis.SetFixed(1);
  axis.SetSize(2, 20);
  return axis;
}

TEST(GridAxisTest, CountsAndFixedItems) {
  GridAxis axis = Axis();
  axis.SetCount(1);  // to the fixed count: the fixed items drop below it
  EXPECT_EQ(axis.Fixed(), 0);
  axis.SetCount(5);
  axis.SetFixed(9);
  EXPECT_EQ(axis.Fixed(), 4);
  axis.SetFixed(2);
  axis.SetFirst(0);
  EXPECT_EQ(axis.First(), 2);  // never among the fixed items
  axis.SetFirst(99);
  EXPECT_EQ(axis.First(), 4);
  axis.SetCount(0);
  EXPECT_EQ(axis.Fixed(), 0);
}

TEST(GridAxisTest, StartsAndItemsAtLineEdges) {
  GridAxis axis = Axis();
  // Client layout: item 0 [0,10) line 10; item 1 [11,21) line 21; item 2 [22,42) line 42; item 3 [43,53)...
  EXPECT_EQ(axis.Start(0), 0);
  EXPECT_EQ(axis.Start(1), 11);
  EXPECT_EQ(axis.Start(3), 43);
  const struct {
    int pos, item;
  } cases[] = {{0, 0}, {9, 0}, {10, 0}, {11, 1}, {21, 1}, {22, 2}, {42, 2}, {43, 3}, {64, 4}, {65, -1}, {-1, -1}};
  for (const auto& c : cases) EXPECT_EQ(axis.ItemAt(c.pos, 100), c.item) << c.pos;
  EXPECT_EQ(axis.ItemAt(50, 50), -1);  // beyond the client extent

  // An item starts within an extent when its start lies before it.
  const struct {
    int item, extent;
    bool within;
  } starts[] = {{0, 1, true}, {1, 11, false}, {1, 12, true}, {3, 43, false}, {3, 44, true}, {4, 54, false}};
  for (const auto& c : starts) EXPECT_EQ(axis.StartsWithin(c.item, c.extent), c.within) << c.item << "," << c.extent;

  axis.SetFirst(3);  // items 1 and 2 scrolled away: they lie before the scrolling area
  EXPECT_EQ(axis.Start(3), 11);
  EXPECT_EQ(axis.Start(2), 11 - 21);
  EXPECT_EQ(axis.ItemAt(11, 100), 3);
  EXPECT_EQ(axis.ItemAt(5, 100), 0);
  EXPECT_TRUE(axis.StartsWithin(2, 100));  // scrolled away: it starts before the scrolling area
}

TEST(GridAxisTest, VisibleCountAndTheLastFirstItem) {
  GridAxis axis = Axis();
  EXPECT_EQ(axis.VisibleCount(43), 2);  // items 1 and 2 whole
  EXPECT_EQ(axis.VisibleCount(42), 1);  // item 2's line does not fit
  EXPECT_EQ(axis.VisibleCount(5), 1);   // at least one
  EXPECT_EQ(axis.MaxFirst(33), 3);      // items 3 and 4 (22 pixels) fit after the fixed 11
  EXPECT_EQ(axis.MaxFirst(1000), 1);
  EXPECT_EQ(axis.MaxFirst(0), 4);
}

TEST(GridAxisTest, SizesMoveAndDeleteWithTheirItems) {
  GridAxis axis = Axis();
  axis.MoveItem(2, 4);
  EXPECT_EQ(axis.Size(4), 20);
  EXPECT_EQ(axis.Size(2), 10);
  axis.DeleteItem(4);
  EXPECT_EQ(axis.Count(), 4);
  axis.SetCount(5);
  EXPECT_EQ(axis.Size(4), 10);
  axis.SetSize(1, 30);
  axis.SetDefaultSize(12);  // replaces every size
  EXPECT_EQ(axis.Size(1), 12);
  // Items past the stored sizes move too: a sized item to there and a default one from there.
  axis.SetSize(0, 30);
  axis.SetCount(8);
  axis.MoveItem(0, 7);
  EXPECT_EQ(axis.Size(7), 30);
  EXPECT_EQ(axis.Size(0), 12);
  axis.MoveItem(6, 1);
  EXPECT_EQ(axis.Size(1), 12);
  EXPECT_EQ(axis.Size(7), 30);
}

}  // namespace
}  // namespace platform
