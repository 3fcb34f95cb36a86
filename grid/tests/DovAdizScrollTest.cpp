#include <cmath>
#include <string>
#include <vector>

#include "grid/tests/GridPaintFixture.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ScrollBars.h"

namespace velmora::testing {
namespace {

using platform::TGridOption;
using platform::TMouseButtonKind;
using platform::TPoint;

// The grid of GridPaintTest with 100 rows and 20 columns of numbered texts, one fixed row and column.
class DovAdizScrollTest : public GridPaintTest {
protected:
  void SetUp() override {
    GridPaintTest::SetUp();
    grid_->SetColCount(20);
    grid_->SetRowCount(100);
    for (int r = 0; r < 100; ++r)
      for (int c = 0; c < 20; ++c) grid_->SetCells(c, r, r == 0 ? "C" + std::to_string(c) : c == 0 ? std::to_string(r) : std::to_string(c) + "." + std::to_string(r));
    Settle();
  }
  void Scroll(unsigned msg, platform::WORD code, int pos) {
    grid_->Perform(msg, (static_cast<platform::WPARAM>(pos) << 16) | code, 0);
    Settle();
  }
  platform::THintWindow* HintWindow() const {
    for (int i = 0; i < grid_->ComponentCount(); ++i)
      if (auto* hint = dynamic_cast<platform::THintWindow*>(grid_->Components(i))) return hint;
    return nullptr;
  }
  int Page(int bar) const {
    platform::SCROLLINFO info;
    info.fMask = platform::SIF_PAGE;
    platform::GetScrollInfo(grid_->Handle(), bar, info);
    return static_cast<int>(info.nPage);
  }
};

TEST_F(DovAdizScrollTest, ScrollInViewCentresACellOutsideAndMakesItCurrent) {
  const int visible = grid_->VisibleRowCount();
  grid_->SetRow(3);
  grid_->SetCol(2);
  grid_->ScrollInView(2, 3);
  EXPECT_EQ(grid_->TopRow(), 1);
  grid_->ScrollInView(2, 60);
  EXPECT_EQ(grid_->Row(), 60);
  EXPECT_EQ(grid_->TopRow(), 60 - visible / 2);
  EXPECT_EQ(grid_->Col(), 2);
  // Columns alike; indices outside the grid do nothing.
  grid_->ScrollInView(15, 60);
  EXPECT_EQ(grid_->Col(), 15);
  EXPECT_EQ(grid_->LeftCol(), std::max(15 - grid_->VisibleColCount() / 2, 1));
  for (TPoint outside : {TPoint{-1, 5}, TPoint{5, -1}, TPoint{20, 5}, TPoint{5, 100}}) {
    grid_->ScrollInView(outside.X, outside.Y);
    EXPECT_EQ(grid_->Row(), 60);
    EXPECT_EQ(grid_->Col(), 15);
  }
  // The partly shown last row is scrolled in whole.
  grid_->SetTopRow(1);
  const int partly = grid_->TopRow() + visible;
  ASSERT_GT(grid_->ClientHeight(), grid_->CellRect(0, partly).Top);
  grid_->ScrollInView(2, partly);
  EXPECT_EQ(grid_->Row(), partly);
  EXPECT_LE(grid_->CellRect(2, partly).Bottom, grid_->ClientHeight());
}

TEST_F(DovAdizScrollTest, TheThumbsHintNamesTheRowAndSynchScrollsWithIt) {
  grid_->ScrollHints = TScrollHintType::shVertical;
  std::string heard;
  int heardIndex = -1;
  grid_->OnScrollHint = [&](platform::TObject*, int ARow, std::string& hint) {
    heard = hint;
    heardIndex = ARow;
  };
  const int bottom = grid_->RowCount() - grid_->VisibleRowCount();
  Scroll(platform::WM_VSCROLL, platform::SB_THUMBTRACK, 127);
  EXPECT_EQ(heard, "Row : " + std::to_string(bottom));
  EXPECT_EQ(heardIndex, bottom);
  ASSERT_NE(HintWindow(), nullptr);
  EXPECT_TRUE(HintWindow()->Visible());
  EXPECT_EQ(grid_->TopRow(), 1);  // no thumb tracking, no synch
  Scroll(platform::WM_VSCROLL, platform::SB_ENDSCROLL, 0);
  EXPECT_FALSE(HintWindow()->Visible());
  // The horizontal thumb has no hint with shVertical; ScrollSynch follows it.
  heard.clear();
  grid_->ScrollSynch = true;
  Scroll(platform::WM_HSCROLL, platform::SB_THUMBTRACK, 127);
  EXPECT_EQ(heard, "");
  EXPECT_EQ(grid_->LeftCol(), grid_->ColCount() - grid_->VisibleColCount());
  grid_->ScrollHints = TScrollHintType::shBoth;
  grid_->OnScrollHint = [](platform::TObject*, int, std::string& hint) { hint = "<b>here</b>"; };
  Scroll(platform::WM_VSCROLL, platform::SB_THUMBTRACK, 64);
  EXPECT_EQ(grid_->TopRow(), platform::MulDiv(64, bottom - 1, 127) + 1);
}

TEST_F(DovAdizScrollTest, AProportionalThumbHasItsPageAndReachesTheLastRow) {
  grid_->SetScrollProportional(true);
  Settle();
  const int page = Page(platform::SB_VERT);
  EXPECT_EQ(page, static_cast<int>(std::lround(grid_->VisibleRowCount() * 128.0 / grid_->RowCount())));
  Scroll(platform::WM_VSCROLL, platform::SB_THUMBPOSITION, 128 - page);
  const int lastTop = grid_->TopRow();
  Scroll(platform::WM_VSCROLL, platform::SB_BOTTOM, 0);
  EXPECT_EQ(grid_->TopRow(), lastTop);
  // Fewer rows than fit: no page, no division by zero without rows.
  grid_->SetRowCount(0);
  grid_->SetRowCount(3);
  Settle();
  grid_->SetScrollProportional(false);
  EXPECT_EQ(Page(platform::SB_VERT), 0);
}

// A picture fixed in the cells moves with them: after every scroll (other than the thumb's tracking)
// the grid shows what a full repaint at the new place shows.
TEST_F(DovAdizScrollTest, AFixedBackgroundPictureIsRepaintedAfterAScroll) {
  platform::TBitmap picture;
  picture.SetSize(30, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 30; ++x) picture.Canvas().SetPixels(x, y, (x / 6 + y / 4) % 2 ? platform::clRed : platform::clBlue);
  grid_->BackGround().SetDisplay(TBackgroundDisplay::bdFixed);
  grid_->BackGround().SetLeft(3);
  grid_->BackGround().SetTop(2);
  grid_->BackGround().SetBitmap(picture);
  Settle();
  const auto shownPixels = [&] {
    const platform::TBitmap& shown = Shown();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < shown.Height(); ++y) pixels.insert(pixels.end(), shown.ScanLine(y), shown.ScanLine(y) + shown.Width());
    return pixels;
  };
  const struct {
    unsigned msg;
    platform::WORD code;
  } scrolls[] = {{platform::WM_VSCROLL, platform::SB_LINEDOWN}, {platform::WM_HSCROLL, platform::SB_LINEDOWN},
                 {platform::WM_VSCROLL, platform::SB_PAGEDOWN}, {platform::WM_HSCROLL, platform::SB_LINEUP}};
  for (const auto& scroll : scrolls) {
    const int top = grid_->TopRow(), left = grid_->LeftCol();
    Scroll(scroll.msg, scroll.code, 0);
    ASSERT_TRUE(grid_->TopRow() != top || grid_->LeftCol() != left) << "the grid scrolled";
    const std::vector<uint32_t> afterScroll = shownPixels();
    grid_->Invalidate();
    EXPECT_EQ(afterScroll, shownPixels()) << "message " << scroll.msg << ", code " << scroll.code;
  }
  SaveArtefact("DovAdizScrollTest.FixedBackgroundAfterScrolls");
}

TEST_F(DovAdizScrollTest, HiddenRowsTakeNoPartOfTheRange) {
  int min = -1, max = -1;
  platform::GetScrollRange(grid_->Handle(), platform::SB_VERT, min, max);
  EXPECT_EQ(max, 127);
  grid_->HideRows(5, 99);
  Settle();
  platform::GetScrollRange(grid_->Handle(), platform::SB_VERT, min, max);
  EXPECT_EQ(max, 0);
  grid_->UnHideRowsAll();
  grid_->SetTopRow(99);  // clamped to the top row that shows the last one
  Settle();
  EXPECT_EQ(platform::GetScrollPos(grid_->Handle(), platform::SB_VERT), 127);
}

TEST_F(DovAdizScrollTest, TheStretchedLastColumnEndsAtTheClientsEdge) {
  grid_->SetColCount(3);
  grid_->ColumnSize().SetStretch(true);
  // The grid object draws its lines inside the cells.
  auto lastEnd = [&] { return grid_->CellRect(2, 1).Right; };
  EXPECT_EQ(lastEnd(), grid_->ClientWidth());
  const int first = grid_->ColWidths(1);
  grid_->SetBounds(0, 0, 380, 200);
  Settle();
  EXPECT_EQ(lastEnd(), grid_->ClientWidth());
  EXPECT_EQ(grid_->ColWidths(1), first);
  grid_->SetColWidths(1, first + 30);
  EXPECT_EQ(lastEnd(), grid_->ClientWidth());
  grid_->SetFixedCols(0);
  grid_->SetColCount(1);
  EXPECT_EQ(grid_->ColWidths(0), grid_->ClientWidth());
}

TEST_F(DovAdizScrollTest, SizingOneWithTheMouseScalesTheOthersFromThePress) {
  for (auto line : {platform::TGridLine::Column, platform::TGridLine::Row}) {
    const bool columns = line == platform::TGridLine::Column;
    SCOPED_TRACE(columns ? "columns" : "rows");
    grid_->SetOptions(grid_->Options() + TGridOption::goColSizing + TGridOption::goRowSizing);
    grid_->MouseActions().AllColumnSize = columns;
    grid_->MouseActions().AllRowSize = !columns;
    auto size = [&](int i) { return columns ? grid_->ColWidths(i) : grid_->RowHeights(i); };
    auto setSize = [&](int i, int v) { columns ? grid_->SetColWidths(i, v) : grid_->SetRowHeights(i, v); };
    const int start[] = {30, 20, 25, 15};
    for (int i = 0; i < 4; ++i) setSize(i, start[i]);
    std::vector<int> ended;
    grid_->OnEndColumnSize = [&](platform::TObject*, int index) {
      ended.push_back(index);
      grid_->SetColWidths(2, 33);  // sets only its own column
    };
    grid_->OnEndRowSize = [&](platform::TObject*, int index) {
      ended.push_back(index);
      grid_->SetRowHeights(2, 33);
    };
    const platform::TRect R = grid_->CellRect(columns ? 1 : 0, columns ? 0 : 1);
    TPoint at = columns ? TPoint{R.Right, R.Top + 5} : TPoint{R.Left + 5, R.Bottom};
    ASSERT_TRUE(grid_->InSizeZone(at.X - (columns ? 3 : 0), at.Y - (columns ? 0 : 3)));
    Input().MouseDown(TMouseButtonKind::Left, grid_->ClientToScreen(at));
    for (int step = 1; step <= 4; ++step) {
      const TPoint next = columns ? TPoint{at.X + 5 * step, at.Y} : TPoint{at.X, at.Y + 5 * step};
      Input().MouseMove(grid_->ClientToScreen(next), 1);
    }
    Input().MouseUp(TMouseButtonKind::Left, grid_->ClientToScreen(columns ? TPoint{at.X + 20, at.Y} : TPoint{at.X, at.Y + 20}));
    Settle();
    EXPECT_EQ(size(1), 40);
    EXPECT_EQ(size(0), 30);  // fixed
    EXPECT_EQ(size(2), 33);  // set by the end handler
    EXPECT_EQ(size(3), 30);
    EXPECT_EQ(ended, std::vector<int>{1});
    grid_->OnEndColumnSize = nullptr;
    grid_->OnEndRowSize = nullptr;
  }
}

TEST_F(DovAdizScrollTest, TheSizeZoneNeedsItsSizingOption) {
  const platform::TRect R = grid_->CellRect(1, 0);
  grid_->SetOptions(grid_->Options() - TGridOption::goColSizing - TGridOption::goRowSizing);
  EXPECT_FALSE(grid_->InSizeZone(R.Right - 3, R.Top + 5));
  grid_->SetOptions(grid_->Options() + TGridOption::goColSizing);
  EXPECT_TRUE(grid_->InSizeZone(R.Right - 3, R.Top + 5));
  EXPECT_FALSE(grid_->InSizeZone((R.Left + R.Right) / 2, R.Top + 5));
  const platform::TRect data = grid_->CellRect(3, 4);
  EXPECT_FALSE(grid_->InSizeZone(data.Right - 1, data.Top + 5));
  int c = -1, r = -1;
  grid_->ScreenToCell(grid_->ClientToScreen({data.Left + 2, data.Top + 2}), c, r);
  EXPECT_EQ(TPoint(c, r), TPoint(3, 4));
}

// Pictures of a scrolled grid in each look of the bars, the fixed row and column staying.
TEST_F(DovAdizScrollTest, PicturesOfTheBarsLooks) {
  grid_->SetTopRow(50);
  grid_->SetLeftCol(10);
  Settle();
  SaveArtefact("scroll-normal");
  EXPECT_EQ(grid_->Cells(0, 0), "C0");
  grid_->SetScrollColor(platform::clAqua);
  grid_->SetScrollType(TScrollType::ssFlat);
  SaveArtefact("scroll-flat");
  grid_->SetScrollType(TScrollType::ssEncarta);
  SaveArtefact("scroll-encarta");
  grid_->SetScrollType(TScrollType::ssNormal);
  grid_->SetScrollColor(platform::clNone);
  grid_->SetScrollProportional(true);
  SaveArtefact("scroll-proportional");
  grid_->ScrollHints = TScrollHintType::shVertical;
  Scroll(platform::WM_VSCROLL, platform::SB_THUMBTRACK, 100);
  ASSERT_NE(HintWindow(), nullptr);
  platform::SavePngFile(Input().Info(HintWindow()->BackendWindow()).shown, std::string(GRID_ARTEFACTS) + "/scroll-hint.png");
}

}  // namespace
}  // namespace velmora::testing
