#include <gtest/gtest.h>

#include <vector>

#include "platform/grids/GridAxis.h"

namespace platform {
namespace {

// The stepwise definition of the first item that shows `item` whole: from the current first on, one
// item at a time.
int FirstShowingStepwise(const GridAxis& axis, int item, int extent) {
  if (item < axis.Fixed() || item >= axis.Count()) return axis.First();
  if (item < axis.First()) return item;
  GridAxis probe = axis;
  while (probe.First() < item && probe.Start(item) + probe.Size(item) > extent) probe.SetFirst(probe.First() + 1);
  return probe.First();
}

// Twelve items of 10 pixels (item 5 is 35, item 7 is 0, item 9 is 60) with 1-pixel lines, one fixed.
GridAxis Axis() {
  GridAxis axis;
  axis.SetDefaultSize(10);
  axis.SetCount(12);
  axis.SetFixed(1);
  axis.SetSize(5, 35);
  axis.SetSize(7, 0);
  axis.SetSize(9, 60);
  return axis;
}

TEST(GridAxisRowsTest, FirstShowingAgreesWithTheStepwiseWalk) {
  for (int extent : {11, 21, 30, 33, 55, 60, 72, 200}) {
    for (int first = 1; first < 12; ++first) {
      GridAxis axis = Axis();
      axis.SetFirst(first);
      for (int item = -1; item <= 12; ++item)
        EXPECT_EQ(axis.FirstShowing(item, extent), FirstShowingStepwise(axis, item, extent))
            << "extent " << extent << " first " << first << " item " << item;
    }
  }
}

TEST(GridAxisRowsTest, ShownItemsAndRangesAgreeWithStarts) {
  for (int extent : {5, 11, 40, 75, 200}) {
    for (int first = 1; first < 12; ++first) {
      GridAxis axis = Axis();
      axis.SetFirst(first);
      std::vector<GridAxis::Placed> expected;
      for (int i = 0; i < axis.Count(); ++i)
        if ((i < axis.Fixed() || i >= first) && axis.Start(i) < extent) expected.push_back({i, axis.Start(i)});
      const std::vector<GridAxis::Placed> shown = axis.ShownItems(extent);
      ASSERT_EQ(shown.size(), expected.size()) << extent << " " << first;
      for (size_t k = 0; k < shown.size(); ++k) {
        EXPECT_EQ(shown[k].index, expected[k].index);
        EXPECT_EQ(shown[k].start, expected[k].start);
      }
      // A range shows when any item of it is shown.
      for (int lo = -1; lo <= 12; ++lo) {
        for (int hi = lo; hi <= 12; ++hi) {
          bool any = false;
          for (const GridAxis::Placed& p : expected) any = any || (p.index >= lo && p.index <= hi);
          EXPECT_EQ(axis.Shows(lo, hi, extent), any) << extent << " " << first << " " << lo << ".." << hi;
        }
      }
    }
  }
}

TEST(GridAxisRowsTest, InsertDeleteAndSwapKeepSizesWithTheirItems) {
  struct Case {
    const char* name;
    void (*change)(GridAxis&);
    std::vector<int> sizes;
  };
  const Case cases[] = {
      {"insert at the start", [](GridAxis& a) { a.InsertItems(0, 2); }, {10, 10, 10, 20, 30}},
      {"insert in the middle", [](GridAxis& a) { a.InsertItems(2, 1); }, {10, 20, 10, 30}},
      {"insert at the end", [](GridAxis& a) { a.InsertItems(3, 2); }, {10, 20, 30, 10, 10}},
      {"insert outside", [](GridAxis& a) { a.InsertItems(4, 2); }, {10, 20, 30}},
      {"delete the first", [](GridAxis& a) { a.DeleteItems(0, 1); }, {20, 30}},
      {"delete past the end", [](GridAxis& a) { a.DeleteItems(1, 9); }, {10}},
      {"delete nothing", [](GridAxis& a) { a.DeleteItems(1, 0); }, {10, 20, 30}},
      {"swap", [](GridAxis& a) { a.SwapItems(0, 2); }, {30, 20, 10}},
      {"swap outside", [](GridAxis& a) { a.SwapItems(0, 3); }, {10, 20, 30}},
      {"delete a set", [](GridAxis& a) { a.DeleteItemSet({0, 2}); }, {20}},
      {"delete every item as a set", [](GridAxis& a) { a.DeleteItemSet({0, 1, 2}); }, {}},
      {"insert a set", [](GridAxis& a) { a.InsertItemSet({0, 2, 5}, {}); }, {10, 10, 10, 20, 30, 10}},
      {"insert a set of sizes", [](GridAxis& a) { a.InsertItemSet({1, 2}, {5, 40}); }, {10, 5, 40, 20, 30}},
  };
  for (const Case& c : cases) {
    GridAxis axis;
    axis.SetDefaultSize(10);
    axis.SetCount(3);
    axis.SetSize(1, 20);
    axis.SetSize(2, 30);
    c.change(axis);
    ASSERT_EQ(axis.Count(), static_cast<int>(c.sizes.size())) << c.name;
    for (int i = 0; i < axis.Count(); ++i) EXPECT_EQ(axis.Size(i), c.sizes[i]) << c.name << " item " << i;
  }
  // Items of the default size swap without growing a size table; a delete keeps First in the axis.
  GridAxis plain;
  plain.SetCount(1000);
  plain.SetFirst(990);
  plain.SwapItems(3, 700);
  EXPECT_EQ(plain.Size(700), plain.DefaultSize());
  plain.DeleteItems(500, 495);
  EXPECT_EQ(plain.Count(), 505);
  EXPECT_EQ(plain.First(), 504);
  // A set of items of their own sizes makes the size table; First keeps its index.
  plain.InsertItemSet({0, 506}, {7, plain.DefaultSize()});
  EXPECT_EQ(plain.Count(), 507);
  EXPECT_EQ(plain.Size(0), 7);
  EXPECT_EQ(plain.Size(1), plain.DefaultSize());
  EXPECT_EQ(plain.First(), 504);
}

}  // namespace
}  // namespace platform
