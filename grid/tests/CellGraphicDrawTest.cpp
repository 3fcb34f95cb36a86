// The drawing of cell graphics, in grid client pixels with the test font.

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

#include "grid/tests/GridPaintFixture.h"

namespace velmora::testing {
namespace {

using platform::TBitmap;
using platform::TColor;
using platform::TRect;

using CellGraphicDrawTest = GridPaintTest;

TEST_F(CellGraphicDrawTest, ADisabledUncheckedXPBoxIsItsBitmap) {
  grid_->ControlLook().SetControlStyle(TControlStyle::csWinXP);
  grid_->OnCanEditCell = [](platform::TObject*, int, int, bool& CanEdit) { CanEdit = false; };
  grid_->AddCheckBox(2, 2, false, false);
  TBitmap box;
  box.LoadFromResourceName("ZGCHK04");
  const TRect cell = grid_->CellRect(2, 2);
  // The bitmap shows whole, at one place of the cell, its transparent pixels left out.
  auto matchesAt = [&](int left, int top) {
    for (int y = 0; y < box.Height(); ++y)
      for (int x = 0; x < box.Width(); ++x) {
        const uint32_t p = box.ScanLine(y)[x];
        const TColor want = platform::RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        if (want != box.TransparentColor() && Pixel(left + x, top + y) != want) return false;
      }
    return true;
  };
  int found = 0;
  for (int top = cell.Top; top + box.Height() <= cell.Bottom; ++top)
    for (int left = cell.Left; left + box.Width() <= cell.Right; ++left) found += matchesAt(left, top);
  EXPECT_EQ(found, 1);
}

TEST_F(CellGraphicDrawTest, ProgressIsClampedAndANonNumberDrawsNoBar) {
  grid_->SetColWidths(1, 60);
  const struct {
    const char* text;
    bool barAtLeft, barAtRight;
  } cases[] = {{"abc", false, false}, {"-5", false, false}, {"150", true, true}, {"50", true, false}};
  for (const auto& c : cases) {
    grid_->AddProgress(1, 1, platform::clRed, platform::clWhite);
    grid_->SetCells(1, 1, c.text);
    const TRect cell = grid_->CellRect(1, 1);
    const int y = (cell.Top + cell.Bottom) / 2;
    EXPECT_EQ(Pixel(cell.Left + 4, y) == platform::clRed, c.barAtLeft) << c.text;
    EXPECT_EQ(Pixel(cell.Right - 5, y) == platform::clRed, c.barAtRight) << c.text;
  }
}

// A graphic before or after the text takes its room from the text, whatever the text's alignment.
TEST_F(CellGraphicDrawTest, TheTextKeepsClearOfItsGraphic) {
  grid_->SetColWidths(1, 80);
  for (auto align : {platform::TAlignment::taLeftJustify, platform::TAlignment::taRightJustify}) {
    for (TCellHAlign place : {TCellHAlign::haBeforeText, TCellHAlign::haAfterText}) {
      grid_->OnGetAlignment = [align](platform::TObject*, int, int, platform::TAlignment& H, TVAlignment&) {
        H = align;
      };
      grid_->SetCells(1, 1, "WWWWWWWWWWWW");
      grid_->AddButton(1, 1, 20, 10, "", place, TCellVAlign::vaTop);
      Settle();
      const TRect button = grid_->ButtonRect(1, 1);
      TRect inside = button;
      InflateRect(inside, -2, -2);
      EXPECT_EQ(InkBox(*grid_, inside), TRect{}) << int(align) << " " << int(place);
      EXPECT_NE(CellInk(1, 1), TRect{});
    }
  }
}

// Radio items in the test font (12 pixels high): a vertical group steps by the larger of the text
// height and the radio size, a horizontal one by radio, gap, caption and gap; a vertical group taller
// than its row stays inside the cell.
TEST_F(CellGraphicDrawTest, RadioItemsStepByTheirSizeAndStayInTheirCell) {
  grid_->SetColWidths(2, 120);
  const int size = grid_->ControlLook().RadioSize();
  const int pitch = std::max(12, size);
  auto captionTops = [&](int c, int r) {
    std::vector<int> tops;
    const TRect cell = grid_->CellRect(c, r);
    bool inInk = false;
    for (int y = cell.Top; y < cell.Bottom; ++y) {
      bool ink = false;
      for (int x = cell.Left + size + 4; x < cell.Right && !ink; ++x) ink = Pixel(x, y) == platform::clBlack;
      if (ink && !inInk) tops.push_back(y);
      inInk = ink;
    }
    return tops;
  };
  grid_->SetRowHeights(2, 3 * pitch + 6);
  platform::TStringList* down = grid_->CreateRadio(2, 2, 0, 0);
  down->Add("a"), down->Add("b"), down->Add("c");
  grid_->Invalidate();
  const std::vector<int> tops = captionTops(2, 2);
  ASSERT_EQ(tops.size(), 3u);
  EXPECT_EQ(tops[1] - tops[0], pitch);
  EXPECT_EQ(tops[2] - tops[1], pitch);

  platform::TStringList* across = grid_->CreateRadio(2, 3, 0, 1);
  across->Add("x"), across->Add("y");
  grid_->Invalidate();
  const TRect row = grid_->CellRect(2, 3);
  std::vector<int> lefts;
  for (int x = row.Left + size + 2; x < row.Right; ++x)
    if (InkBox(*grid_, {x, row.Top, x + 1, row.Bottom}) != TRect{} &&
        InkBox(*grid_, {x - 1, row.Top, x, row.Bottom}) == TRect{})
      lefts.push_back(x);
  ASSERT_EQ(lefts.size(), 3u);  // "x", the second button, "y"
  EXPECT_EQ(lefts[2] - lefts[0], 6 + 4 + size + 2);  // "x" is one 6-pixel advance

  // Four items in a row of 20 pixels: the cell below shows nothing of them, also when the radio cell
  // alone is painted again.
  grid_->SetRowHeights(4, 20);
  platform::TStringList* spill = grid_->CreateRadio(2, 4, 0, 0);
  for (const char* item : {"p", "q", "r", "s"}) spill->Add(item);
  grid_->Invalidate();
  EXPECT_EQ(CellInk(2, 5), TRect{});
  grid_->InvalidateGridRect({2, 4, 2, 4});
  EXPECT_EQ(CellInk(2, 5), TRect{});
  EXPECT_NE(CellInk(2, 4), TRect{});
}

// Text turned by 90 degrees shows as the turned ink box (ascent wide, text width high) in the middle
// of its cell.
TEST_F(CellGraphicDrawTest, RotatedTextIsTheTurnedBoxInTheCellsMiddle) {
  grid_->SetColWidths(2, 60);
  grid_->SetRowHeights(2, 40);
  grid_->AddRotated(2, 2, 90, "ab");
  grid_->SetCells(2, 2, "ab");
  grid_->Invalidate();
  const TRect ink = CellInk(2, 2), cell = grid_->CellRect(2, 2);
  EXPECT_EQ(ink.Width(), 9);    // the ascent of the 12-pixel test font
  EXPECT_EQ(ink.Height(), 11);  // "ab": two 5-pixel boxes a 6-pixel advance apart
  EXPECT_LE(std::abs((ink.Left + ink.Right) - (cell.Left + cell.Right)), 3);
  EXPECT_LE(std::abs((ink.Top + ink.Bottom) - (cell.Top + cell.Bottom)), 3);
}

// The tree lines of an open group: each row under the node carries a stub toward its text; the line
// goes on to the bottom of a middle row and ends at the stub of the last one; no lines without ShowTree.
TEST_F(CellGraphicDrawTest, TreeLinesEndAtTheLastRowOfTheGroup) {
  grid_->SetColWidths(0, 40);
  grid_->AddNode(1, 2);  // holds rows 2 and 3
  const platform::TColor line = platform::clRed;  // apart from the silver grid lines
  grid_->CellNode().Color = line;
  auto silver = [&](int r) {
    const TRect cell = grid_->CellRect(0, r);
    std::vector<platform::TPoint> points;
    for (int y = cell.Top; y < cell.Bottom; ++y)
      for (int x = cell.Left; x < cell.Right; ++x)
        if (Pixel(x, y) == line) points.push_back({x, y});
    return points;
  };
  grid_->CellNode().SetShowTree(true);
  grid_->Invalidate();
  for (int r : {2, 3}) {
    const std::vector<platform::TPoint> points = silver(r);
    ASSERT_FALSE(points.empty()) << r;
    std::map<int, int> perRow, perColumn;
    for (const platform::TPoint& p : points) ++perRow[p.Y], ++perColumn[p.X];
    const auto stub = std::max_element(perRow.begin(), perRow.end(),
                                       [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_GE(stub->second, 4) << r;
    const int x = std::max_element(perColumn.begin(), perColumn.end(),
                                   [](auto& a, auto& b) { return a.second < b.second; })->first;
    int lowest = 0;
    for (const platform::TPoint& p : points)
      if (p.X == x) lowest = std::max(lowest, p.Y);
    const TRect cell = grid_->CellRect(0, r);
    if (r == 2)
      EXPECT_GE(lowest, cell.Bottom - 2);
    else
      EXPECT_EQ(lowest, stub->first);
  }
  grid_->CellNode().SetShowTree(false);
  grid_->Invalidate();
  EXPECT_TRUE(silver(2).empty());
}

}  // namespace
}  // namespace velmora::testing
