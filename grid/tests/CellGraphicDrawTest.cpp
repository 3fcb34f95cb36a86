// The drawing of cell graphics, in grid client pixels with the test font.

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

}  // namespace
}  // namespace velmora::testing
