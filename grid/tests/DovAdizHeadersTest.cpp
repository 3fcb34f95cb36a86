#include <filesystem>
#include <memory>
#include <string>

#include "grid/tests/DovAdizFixture.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/Png.h"

namespace velmora::testing {
namespace {

std::unique_ptr<platform::TStringList> Lines(std::initializer_list<const char*> lines) {
  auto list = std::make_unique<platform::TStringList>();
  for (const char* line : lines) list->Add(line);
  return list;
}

TEST_F(DovAdizTest, ColumnHeadersAreClearedFirstAndBreakLines) {
  grid_->SetColumnHeaders(*Lines({"", "Host\\nname", "On connect", "Mode", "Watch"}));
  EXPECT_EQ(grid_->Cells(1, 0), "Host\rname");
  EXPECT_EQ(grid_->Cells(4, 0), "Watch");
  grid_->SetColumnHeaders(*Lines({"#", "Host"}));
  EXPECT_EQ(grid_->Cells(0, 0), "#");
  EXPECT_EQ(grid_->Cells(1, 0), "Host");
  EXPECT_EQ(grid_->Cells(2, 0), "");
  EXPECT_EQ(grid_->Cells(4, 0), "");
  // A change of the list shows it again.
  grid_->ColumnHeaders().Add("Command");
  EXPECT_EQ(grid_->Cells(2, 0), "Command");
}

TEST_F(DovAdizTest, ColumnHeadersReachHiddenRealColumns) {
  grid_->SetStorageColCount(7);
  grid_->SetColumnHeaders(*Lines({"0", "1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(grid_->Cells(6, 0), "6");
  grid_->SetColCount(7);
  EXPECT_EQ(grid_->Cells(6, 0), "6");
}

TEST_F(DovAdizTest, HeadersNeedFixedRowsAndColumns) {
  grid_->SetFixedRows(0);
  grid_->SetFixedCols(0);
  grid_->SetCells(1, 0, "data");
  grid_->SetColumnHeaders(*Lines({"a", "b"}));
  grid_->SetRowHeaders(*Lines({"a", "b"}));
  EXPECT_EQ(grid_->Cells(1, 0), "data");
  EXPECT_EQ(grid_->Cells(0, 1), "");
  // The Always flag counts as a fixed row.
  grid_->FixedRowAlways = true;
  grid_->ShowColumnHeaders();
  EXPECT_EQ(grid_->Cells(1, 0), "b");
}

TEST_F(DovAdizTest, ShorterRowHeadersLeaveTheOlderTextsAtRunTime) {
  grid_->SetRowHeaders(*Lines({"", "first", "second", "third"}));
  EXPECT_EQ(grid_->Cells(0, 3), "third");
  grid_->SetRowHeaders(*Lines({"", "one"}));
  EXPECT_EQ(grid_->Cells(0, 1), "one");
  EXPECT_EQ(grid_->Cells(0, 3), "third");
  grid_->ClearRowHeaders();
  EXPECT_EQ(grid_->Cells(0, 3), "");
}

// A stand-in for the grid object's cell painting that draws a cell's lines centred, one below the
// other, so that a picture shows what the header texts hold.
class TLinesGrid : public TTestDovAdiz {
public:
  using TTestDovAdiz::TTestDovAdiz;

protected:
  void DrawGridCell(platform::TCanvas& Canvas, int ACol, int ARow, const platform::TRect& ARect,
                    platform::TGridDrawState AState) override {
    platform::TRect rect = ARect;
    const int oldMode = platform::SetBkMode(Canvas.Handle(), platform::TRANSPARENT);
    platform::DrawText(Canvas.Handle(), Cells(ACol, ARow), rect, platform::DT_CENTER | platform::DT_NOPREFIX);
    platform::SetBkMode(Canvas.Handle(), oldMode);
  }
};

// The rows of a client rectangle that hold ink (pixels darker than mid grey), as runs of rows.
int InkBands(const platform::TBitmap& shown, const platform::TRect& r) {
  int bands = 0;
  bool inBand = false;
  for (int y = r.Top; y < r.Bottom; ++y) {
    bool ink = false;
    for (int x = r.Left; x < r.Right && !ink; ++x) ink = (shown.ScanLine(y)[x] & 0xFF) < 0x80;
    if (ink && !inBand) ++bands;
    inBand = ink;
  }
  return bands;
}

// A header of two lines shows as two lines of ink in its cell, one of one line as one.
TEST_F(DovAdizTest, TwoLineColumnHeaderShowsAsTwoLines) {
  auto form = ShowForm(360, 120);
  form->Font().SetName(platform::kTestFontName);
  form->Font().SetHeight(-12);
  auto* grid = new TLinesGrid(form.get());
  grid->SetParent(form.get());
  grid->Font().SetName(platform::kTestFontName);
  grid->SetBounds(0, 0, 360, 120);
  grid->SetColCount(4);
  grid->SetRowCount(3);
  grid->SetColWidths(0, 30);
  grid->SetColWidths(1, 110);
  grid->SetColWidths(2, 110);
  grid->SetRowHeights(0, 36);
  grid->SetColumnHeaders(*Lines({"", "Host\\nname", "Round trip", "Watch"}));
  grid->SetCells(1, 1, "router");
  grid->SetCells(2, 1, "2 ms");
  Settle();

  const platform::TBitmap& shown = Input().Info(form->BackendWindow()).shown;
  const platform::TPoint origin = grid->ClientToScreen({0, 0});
  const platform::TPoint formOrigin = form->ClientToScreen({0, 0});
  auto onForm = [&](platform::TRect r) {
    platform::OffsetRect(r, origin.X - formOrigin.X, origin.Y - formOrigin.Y);
    platform::InflateRect(r, -2, -2);
    return r;
  };
  EXPECT_EQ(InkBands(shown, onForm(grid->CellRect(1, 0))), 2);
  EXPECT_EQ(InkBands(shown, onForm(grid->CellRect(2, 0))), 1);

  // For a person to read: the same grid in a sans face, in the build's artefacts.
  grid->Font().SetName("Arial");
  Settle();
  std::filesystem::create_directories(GRID_ARTEFACTS);
  platform::SavePngFile(Input().Info(form->BackendWindow()).shown, std::string(GRID_ARTEFACTS) + "/column_headers.png");
}

}  // namespace
}  // namespace velmora::testing
