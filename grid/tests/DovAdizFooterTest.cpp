#include <string>

#include "grid/tests/GridPaintFixture.h"
#include "platform/ui/VirtualKeys.h"

namespace velmora::testing {
namespace {

using platform::TRect;

class FooterTest : public GridPaintTest {
protected:
  void SetUp() override {
    GridPaintTest::SetUp();
    grid_->SetRowCount(20);
    for (int r = 1; r < 20; ++r) grid_->SetCells(1, r, "r" + std::to_string(r));
  }
  TFooterPanel& Panel() { return grid_->FooterPanel(); }
};

TEST_F(FooterTest, HTMLColReplaceFillsTheTemplateFromTheCurrentRow) {
  grid_->SetCells(2, 3, "two");
  grid_->SetCells(3, 3, "<#1>");
  grid_->FocusCell(1, 3, true);
  struct Case {
    const char* templ;
    const char* result;
  } cases[] = {
      {"Host <#2>", "Host two"},      {"<#1>-<#2>!", "r3-two!"}, {"a<#x>b", "ab"},      {"a<#>b", "ab"},
      {"<#3> stays", "<#1> stays"},  {"x<#99>y", "xy"},         {"x<#-1>y", "xy"},     {"open <#2", "open <#2"},
      {"<#2> and <#2", "two and <#2"}, {"", ""},                {"no refs", "no refs"}, {"<b><#2></b>", "<b>two</b>"},
  };
  for (const Case& c : cases) EXPECT_EQ(grid_->HTMLColReplace(c.templ), c.result) << c.templ;
}

// The panel is as high as a row on every path that sets it, and no row is laid out under it.
TEST_F(FooterTest, ThePanelTakesTheRowHeightAndNoRowLiesUnderIt) {
  EXPECT_EQ(Panel().Height(), 0);
  const int rowsBefore = grid_->VisibleRowCount();
  grid_->FloatingFooter().SetVisible(true);
  Settle();
  EXPECT_EQ(Panel().Height(), 21);
  EXPECT_EQ(Panel().Top() + Panel().Height(), grid_->ClientHeight());
  grid_->SetDefaultRowHeight(25);
  EXPECT_EQ(Panel().Height(), 25);
  grid_->FloatingFooter().SetHeight(30);
  EXPECT_EQ(Panel().Height(), 30);
  Settle();
  EXPECT_LT(grid_->VisibleRowCount(), rowsBefore);
  const int withPanel = grid_->VisibleRowCount();
  const int lastShown = grid_->TopRow() + withPanel - 1;
  EXPECT_LE(grid_->CellRect(1, lastShown).Bottom, Panel().Top());
  grid_->FloatingFooter().SetVisible(false);
  EXPECT_EQ(Panel().Height(), 0);
  EXPECT_GT(grid_->VisibleRowCount(), withPanel);
}

// With the last row in the footer the current cell never reaches it: not by Down, Ctrl+End, a click
// on its place or the wheel.
TEST_F(FooterTest, TheCurrentCellNeverReachesTheFooterRow) {
  grid_->FloatingFooter().SetVisible(true);
  EXPECT_TRUE(grid_->LastRowFooter);
  grid_->SetFocus();
  grid_->FocusCell(1, 17, true);
  Settle();
  Input().PressKey(platform::VK_DOWN);
  Input().PressKey(platform::VK_DOWN);
  Settle();
  EXPECT_EQ(grid_->Row(), 18);
  grid_->FocusCell(1, 1, true);
  Input().PressKey(platform::VK_END, platform::bsCtrl);
  Settle();
  EXPECT_EQ(grid_->Row(), 18);
  for (int i = 0; i < 5; ++i) Input().MouseWheel(-120, At(*grid_, 50, 50));
  Settle();
  EXPECT_EQ(grid_->Row(), 18);
  grid_->SetTopRow(12);
  grid_->FocusCell(1, 14, true);
  Settle();
  const TRect last = grid_->CellRect(1, 19);
  ASSERT_LT(last.Top + 3, Panel().Top()) << "the blank footer row shows above the panel";
  Input().Click(At(*grid_, last.Left + 3, last.Top + 3));
  Settle();
  EXPECT_EQ(grid_->Row(), 18);
  grid_->FloatingFooter().SetFooterStyle(TFooterStyle::fsColumnPreview);
  EXPECT_FALSE(grid_->LastRowFooter);
}

// Each style shows its data in the panel; a grid without data rows and a column outside the grid show
// only the frame.
TEST_F(FooterTest, EachStyleShowsItsDataAndOnlyTheFrameWithoutData) {
  grid_->SetCells(1, 19, "last");
  grid_->SetCells(2, 5, "preview");
  grid_->FocusCell(1, 5, true);
  grid_->FloatingFooter().SetVisible(true);
  const TRect panel{0, 0, Panel().Width(), Panel().Height()};
  auto inkWidth = [&] { return InkBox(Panel(), panel).Width(); };
  EXPECT_EQ(inkWidth(), 4 * 6 - 1) << "last";
  SaveArtefact("footer_last_row");
  grid_->SetColWidths(3, 300);
  grid_->SetLeftCol(3);  // the last row's cells scroll with the grid's columns
  Settle();
  EXPECT_EQ(inkWidth(), 0);
  grid_->SetLeftCol(1);
  grid_->FloatingFooter().SetFooterStyle(TFooterStyle::fsColumnPreview);
  grid_->FloatingFooter().SetColumn(2);
  EXPECT_EQ(inkWidth(), 7 * 6 - 1) << "preview";
  grid_->FloatingFooter().SetColumn(1);  // the current cell shows in the text colour, not selected
  EXPECT_EQ(inkWidth(), 2 * 6 - 1) << "r5";
  SaveArtefact("footer_column_preview");
  grid_->FloatingFooter().SetColumn(9);
  EXPECT_EQ(inkWidth(), 0);
  grid_->FloatingFooter().SetFooterStyle(TFooterStyle::fsCustomPreview);
  grid_->FloatingFooter().SetCustomTemplate("Host <#1>: <b><#2></b>");
  EXPECT_GT(inkWidth(), 0);
  SaveArtefact("footer_custom_preview");
  grid_->FloatingFooter().SetFooterStyle(TFooterStyle::fsFixedLastRow);
  grid_->SetRowCount(1);
  Settle();
  EXPECT_EQ(inkWidth(), 0);
  EXPECT_NE(PixelOf(Panel(), 1, 1), platform::ColorToRGB(grid_->FixedColor())) << "the frame";
}

}  // namespace
}  // namespace velmora::testing
