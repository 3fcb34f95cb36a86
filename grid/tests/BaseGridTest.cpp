#include <functional>
#include <string>
#include <vector>

#include "grid/tests/BaseGridFixture.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/tests/CanvasStateText.h"
#include "platform/ui/VirtualKeys.h"

namespace velmora::testing {
namespace {

using platform::TGridDrawStateFlag;
using platform::TPoint;
using platform::TRect;

// Property objects that count how many of them are alive.
struct TCountedProperties : TCellProperties {
  TCountedProperties(TBaseGrid* grid, int col, int row) : TCellProperties(grid, col, row) { ++alive; }
  ~TCountedProperties() override { --alive; }
  static inline int alive = 0;
};

TEST(BaseGridCellsTest, PropertiesAreMadeOnDemand) {
  TTestGrid grid(nullptr);
  EXPECT_FALSE(grid.HasCellProperties(2, 2));
  EXPECT_EQ(grid.GetObjectEx(2, 2), nullptr);
  EXPECT_EQ(grid.GetCellProperties(5, 0), nullptr);  // outside the 5 x 5 grid
  EXPECT_EQ(grid.GetCellProperties(0, -1), nullptr);

  TCellProperties* props = grid.GetCellProperties(2, 3);
  ASSERT_NE(props, nullptr);
  EXPECT_EQ(grid.GetCellProperties(2, 3), props);
  EXPECT_EQ(props->Owner, &grid);
  EXPECT_EQ(TPoint(props->Col, props->Row), TPoint(2, 3));
  EXPECT_EQ(props->BrushColor(), platform::clNone);
  EXPECT_FALSE(grid.IsMergedCell(2, 3));

  platform::TObject user;
  grid.SetCells(1, 1, "");
  grid.SetObjectEx(1, 1, &user);
  EXPECT_TRUE(grid.HasCellProperties(1, 1));
  EXPECT_EQ(grid.GetObjectEx(1, 1), &user);
  EXPECT_EQ(grid.Objects(1, 1), &user);
  grid.SetObjects(3, 3, &user);
  EXPECT_EQ(grid.GetCellProperties(3, 3)->ObjectEx, &user);
  EXPECT_EQ(grid.Cells(1, 1), "");
  grid.SetGraphicObjectEx(1, 1, &user);
  EXPECT_EQ(grid.GetGraphicObjectEx(1, 1), &user);
  EXPECT_EQ(grid.GetGraphicObjectEx(0, 1), nullptr);
}

TEST(BaseGridCellsTest, PropertiesAreFreedWithTheirCells) {
  struct Case {
    const char* name;
    std::function<void(TTestGrid&)> change;
    bool outerCellStays;  // the object of (3, 3) survives
  };
  const Case cases[] = {
      {"DeleteRow", [](TTestGrid& g) { g.DeleteRow(3); }, false},
      {"DeleteColumn", [](TTestGrid& g) { g.DeleteColumn(3); }, false},
      {"DeleteRow elsewhere", [](TTestGrid& g) { g.DeleteRow(1); }, true},
      {"RowCount lowered", [](TTestGrid& g) { g.SetRowCount(3); }, false},
      {"ColCount lowered", [](TTestGrid& g) { g.SetColCount(2); }, false},
      {"RowCount raised", [](TTestGrid& g) { g.SetRowCount(9); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      TTestGrid grid(nullptr);
      grid.SetCellProperties(0, 0, new TCountedProperties(&grid, 0, 0));
      grid.SetCellProperties(3, 3, new TCountedProperties(&grid, 3, 3));
      c.change(grid);
      EXPECT_EQ(TCountedProperties::alive, c.outerCellStays ? 2 : 1);
      EXPECT_TRUE(grid.HasCellProperties(0, 0));
    }
    EXPECT_EQ(TCountedProperties::alive, 0);  // the destructor frees the rest
  }

  TTestGrid grid(nullptr);
  grid.SetCellProperties(1, 1, new TCountedProperties(&grid, 1, 1));
  grid.SetCellProperties(1, 1, nullptr);
  EXPECT_EQ(TCountedProperties::alive, 0);
  EXPECT_FALSE(grid.HasCellProperties(1, 1));
}

TEST(BaseGridCellsTest, PropertiesFollowMovedRowsAndColumns) {
  TTestGrid grid(nullptr);
  TCellProperties* props = grid.GetCellProperties(1, 3);
  grid.MoveRow(3, 0);
  EXPECT_EQ(grid.GetGridObject(1, 0), props);
  EXPECT_EQ(TPoint(props->Col, props->Row), TPoint(1, 0));
  grid.MoveColumn(1, 4);
  EXPECT_EQ(TPoint(props->Col, props->Row), TPoint(4, 0));
}

// The lookups of a 3 x 2 block at (1, 1) in a 6 x 5 grid, and of a cell outside it.
TEST(BaseGridMergeTest, LookupsInsideAndOutsideABlock) {
  TTestGrid grid(nullptr);
  grid.SetColCount(6);
  grid.SetCells(1, 1, "base");
  grid.SetCells(3, 2, "hidden");
  grid.MergeCells(1, 1, 3, 2);

  struct Case {
    int col, row;
    TPoint base, span;
    bool isBase, merged;
  };
  const Case cases[] = {
      {1, 1, {1, 1}, {2, 1}, true, true},  {2, 1, {1, 1}, {2, 1}, false, true},
      {3, 2, {1, 1}, {2, 1}, false, true}, {2, 2, {1, 1}, {2, 1}, false, true},
      {4, 2, {4, 2}, {0, 0}, true, false}, {0, 0, {0, 0}, {0, 0}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "cell (" << c.col << ", " << c.row << ")");
    EXPECT_EQ(grid.BaseCell(c.col, c.row), c.base);
    EXPECT_EQ(grid.CellSpan(c.col, c.row), c.span);
    EXPECT_EQ(grid.IsBaseCell(c.col, c.row), c.isBase);
    EXPECT_EQ(grid.IsMergedCell(c.col, c.row), c.merged);
    int baseCol = -1, baseRow = -1;
    EXPECT_EQ(grid.IsBaseCellEx(c.col, c.row, baseCol, baseRow), c.isBase);
    EXPECT_EQ(TPoint(baseCol, baseRow), c.base);
    EXPECT_EQ(grid.FullCell(c.col, c.row),
              TRect(c.base.X, c.base.Y, c.base.X + c.span.X, c.base.Y + c.span.Y));
  }
  EXPECT_EQ(grid.Cells(3, 2), "base");
  grid.SetCells(3, 2, "written");
  EXPECT_EQ(grid.Cells(1, 1), "written");
  EXPECT_EQ(grid.CellRect(3, 2), grid.CellRect(1, 1));
  EXPECT_EQ(grid.CellRect(1, 1), TRect(grid.GetCellRect(1, 1).Left, grid.GetCellRect(1, 1).Top,
                                       grid.GetCellRect(3, 2).Right, grid.GetCellRect(3, 2).Bottom));
  EXPECT_TRUE(grid.IsXMergedCell(2, 2));
  EXPECT_TRUE(grid.IsYMergedCell(2, 2));

  grid.SplitCells(2, 2);
  for (int r = 1; r <= 2; ++r)
    for (int c = 1; c <= 3; ++c) EXPECT_FALSE(grid.IsMergedCell(c, r));
  EXPECT_EQ(grid.Cells(3, 2), "hidden");  // a former non-base cell shows its own text again
  EXPECT_EQ(grid.Cells(1, 1), "written");

  grid.MergeCells(4, 4, 1, 1);
  EXPECT_TRUE(grid.IsMergedCell(4, 4));
  EXPECT_EQ(grid.CellSpan(4, 4), TPoint(0, 0));
  EXPECT_FALSE(grid.IsXMergedCell(4, 4));
}

TEST(BaseGridMergeTest, MergesAreClampedAndSplitTheBlocksTheyOverlap) {
  TTestGrid grid(nullptr);  // 5 x 5
  grid.MergeCells(3, 3, 10, 10);
  EXPECT_EQ(grid.FullCell(4, 4), TRect(3, 3, 4, 4));
  grid.MergeCells(-2, -2, 4, 3);
  EXPECT_EQ(grid.FullCell(1, 0), TRect(0, 0, 1, 0));
  grid.MergeCells(0, 0, 0, 3);  // nothing
  grid.MergeCells(7, 7, 2, 2);  // outside
  grid.MergeCells(2, 2, std::numeric_limits<int>::max(), 1);
  EXPECT_EQ(grid.FullCell(2, 2), TRect(2, 2, 4, 2));
  ExpectMergeEncodingValid(grid, "after the clamped merges");

  // The new block overlaps the one at (3, 3) (split into single cells) and the one on row 2.
  grid.MergeCells(1, 1, 3, 3);
  EXPECT_EQ(grid.FullCell(2, 2), TRect(1, 1, 3, 3));
  EXPECT_FALSE(grid.IsMergedCell(4, 4));
  EXPECT_FALSE(grid.IsMergedCell(4, 2));
  EXPECT_EQ(grid.FullCell(0, 0), TRect(0, 0, 1, 0));  // not overlapped: kept
  ExpectMergeEncodingValid(grid, "after merging over blocks");
}

TEST(BaseGridMergeTest, StaleSpansNeverLeadOutsideTheGrid) {
  TTestGrid grid(nullptr);
  grid.SetCells(2, 2, "own");
  auto stale = [&](int col, int row, int spanX, int spanY, bool isBase) {
    auto* props = new TCellProperties(&grid, col, row);
    props->SpanX = spanX;
    props->SpanY = spanY;
    props->IsBase = isBase;
    grid.SetCellProperties(col, row, props);
  };
  stale(2, 2, 3, 4, false);  // its base would be (-1, -2)
  stale(4, 4, 5, 5, true);   // a block past the grid's edge
  stale(1, 0, 0, 1, false);  // base (1, -1)
  stale(3, 1, 1, 0, false);  // base (2, 1), which is not merged
  for (TPoint cell : {TPoint(2, 2), TPoint(4, 4), TPoint(1, 0), TPoint(3, 1)}) {
    EXPECT_EQ(grid.BaseCell(cell.X, cell.Y), cell);
    EXPECT_EQ(grid.CellSpan(cell.X, cell.Y), TPoint(0, 0));
    EXPECT_FALSE(grid.IsMergedCell(cell.X, cell.Y));
  }
  EXPECT_EQ(grid.Cells(2, 2), "own");
  grid.SplitCells(2, 2);
  EXPECT_EQ(grid.GetGridObject(2, 2)->SpanX, -1);
  EXPECT_TRUE(grid.GetGridObject(2, 2)->IsBase);
}

TEST(BaseGridMergeTest, SpanComparisonsOfRowsAndColumns) {
  TTestGrid grid(nullptr);
  grid.SetColCount(4);
  grid.SetRowCount(6);
  grid.MergeCells(1, 1, 1, 3);  // column 1, rows 1-3
  grid.MergeCells(2, 1, 2, 1);  // columns 2-3 of row 1
  grid.MergeCells(2, 2, 2, 1);  // columns 2-3 of row 2
  EXPECT_TRUE(grid.RowSpanIdentical(1, 3));
  EXPECT_FALSE(grid.RowSpanIdentical(4, 5));  // no vertical block at all
  EXPECT_TRUE(grid.ColSpanIdentical(2, 3));
  EXPECT_FALSE(grid.ColSpanIdentical(1, 2));
  EXPECT_TRUE(grid.ColSpanIdentical(0, 0));
  EXPECT_EQ(grid.MinRowSpan(2), 2);
  EXPECT_EQ(grid.MaxRowSpan(2), 2);
  EXPECT_EQ(grid.MinRowSpan(5), grid.RowCount());
  EXPECT_EQ(grid.MaxRowSpan(5), 0);
}

TEST(BaseGridCellsTest, DisplayTextStopsAtTheLimit) {
  TTestGrid grid(nullptr);
  std::vector<TPoint> asked;
  grid.OnGetDisplText = [&](platform::TObject* sender, int col, int row, std::string& value) {
    EXPECT_EQ(sender, &grid);
    asked.emplace_back(col, row);
    value = "<" + value + ">";
  };
  grid.SetCells(1, 1, "a");
  grid.SetCells(1, 3, "b");
  grid.MergeCells(1, 1, 2, 2);
  grid.DisplRowLimit = 3;
  EXPECT_EQ(grid.Cells(2, 2), "<a>");
  EXPECT_EQ(grid.Cells(1, 3), "b");
  EXPECT_EQ(asked, std::vector<TPoint>{TPoint(1, 1)});  // the base cell's place
}

TEST(BaseGridCellsTest, NilAndCopyMoveObjectsWithoutFreeingThem) {
  TTestGrid grid(nullptr);
  grid.SetCells(1, 1, "x");
  TCellProperties* props = grid.GetCellProperties(1, 1);
  grid.CopyRows(3, 1);
  EXPECT_EQ(grid.GetGridObject(1, 3), props);
  EXPECT_EQ(grid.Cells(1, 3), "x");
  grid.NilRow(1);
  EXPECT_EQ(grid.Cells(1, 1), "");
  EXPECT_FALSE(grid.HasCellProperties(1, 1));
  EXPECT_EQ(props->Row, 3);
  grid.CopyCols(4, 1);
  grid.NilCol(1);
  EXPECT_EQ(grid.GetGridObject(4, 3), props);
  EXPECT_EQ(grid.Cells(4, 3), "x");
}

// Keys from and into a 2 x 2 block at (2, 1): the current cell always ends on a base.
TEST_F(BaseGridTest, KeysLeaveABlockAsAWhole) {
  grid_->SetColCount(6);
  grid_->SetRowCount(6);
  grid_->MergeCells(2, 1, 2, 2);
  struct Case {
    TPoint from;
    platform::WORD key;
    TPoint to;
  };
  const Case cases[] = {
      {{1, 1}, platform::VK_RIGHT, {2, 1}}, {{2, 1}, platform::VK_RIGHT, {4, 1}}, {{3, 2}, platform::VK_RIGHT, {4, 2}},
      {{4, 1}, platform::VK_LEFT, {2, 1}},  {{3, 2}, platform::VK_LEFT, {1, 2}},  {{2, 1}, platform::VK_DOWN, {2, 3}},
      {{2, 3}, platform::VK_UP, {2, 1}},    {{3, 2}, platform::VK_UP, {2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "key " << c.key << " from (" << c.from.X << ", " << c.from.Y << ")");
    grid_->FocusCell(c.from.X, c.from.Y, true);
    grid_->PressKey(c.key);
    EXPECT_EQ(TPoint(grid_->Col(), grid_->Row()), c.to);
  }
}

TEST_F(BaseGridTest, PagingAndTheWheelStayOffTheFooterRow) {
  grid_->SetRowCount(12);
  grid_->LastRowFooter = true;
  grid_->FocusCell(1, 6, true);
  grid_->PressKey(platform::VK_NEXT);
  EXPECT_EQ(grid_->Row(), 10);
  grid_->PressKey(platform::VK_NEXT);
  EXPECT_EQ(grid_->Row(), 10);
  grid_->SetFocus();
  Input().MouseWheel(-120, grid_->ClientToScreen({50, 50}));
  Settle();
  EXPECT_EQ(grid_->Row(), 10);
}

// Records what the base grid hands to the content drawing.
class TRecordingGrid : public TTestGrid {
public:
  using TTestGrid::TTestGrid;
  struct Drawn {
    int col, row;
    TRect rect;
    platform::TGridDrawState state;
  };
  std::vector<Drawn> drawn;
  TPoint fixedCell{-1, -1};

protected:
  bool IsFixed(int ACol, int ARow) override { return TPoint(ACol, ARow) == fixedCell; }
  void DrawGridCell(platform::TCanvas& Canvas, int ACol, int ARow, const TRect& ARect,
                    platform::TGridDrawState AState) override {
    drawn.push_back({ACol, ARow, ARect, AState});
    TTestGrid::DrawGridCell(Canvas, ACol, ARow, ARect, AState);
  }
};

class BaseGridPaintTest : public BaseGridTest {
protected:
  void SetUp() override {
    BaseGridTest::SetUp();
    delete grid_;
    grid_ = recording_ = new TRecordingGrid(form_.get());
    grid_->SetParent(form_.get());
    grid_->SetBounds(0, 0, 320, 200);
    grid_->SetColWidths(0, 30);
    grid_->SetRowCount(30);
    Settle();
  }
  // Paints the grid once and hands back what was drawn.
  std::vector<TRecordingGrid::Drawn> PaintPass() {
    recording_->drawn.clear();
    grid_->Invalidate();
    Settle();
    return recording_->drawn;
  }
  int TimesDrawn(const std::vector<TRecordingGrid::Drawn>& drawn, int col, int row) {
    int n = 0;
    for (const auto& d : drawn) n += d.col == col && d.row == row;
    return n;
  }
  TRecordingGrid* recording_ = nullptr;
};

TEST_F(BaseGridPaintTest, ABlockIsDrawnOnceAsOneCellWithoutInnerLines) {
  grid_->FocusCell(4, 4, true);
  grid_->MergeCells(1, 1, 2, 2);
  for (int pass = 0; pass < 2; ++pass) {
    const auto drawn = PaintPass();
    EXPECT_EQ(TimesDrawn(drawn, 1, 1), 1);
    EXPECT_EQ(TimesDrawn(drawn, 2, 1) + TimesDrawn(drawn, 1, 2) + TimesDrawn(drawn, 2, 2), 0);
    EXPECT_EQ(TimesDrawn(drawn, 3, 1), 1);
  }
  TRect inner = grid_->CellRect(1, 1);
  platform::InflateRect(inner, -1, -1);
  const auto drawn = PaintPass();
  for (const auto& d : drawn) {
    if (d.col == 1 && d.row == 1) {
      EXPECT_EQ(d.rect, inner);
    }
  }

  const TRect first = grid_->GetCellRect(1, 1), block = grid_->CellRect(1, 1), after = grid_->GetCellRect(3, 3);
  EXPECT_EQ(Pixel(first.Right - 1, first.Top + 5), platform::ColorToRGB(grid_->Color()));  // no line inside
  EXPECT_EQ(Pixel(block.Right - 1, block.Top + 5), platform::clSilver);
  EXPECT_EQ(Pixel(block.Left + 5, block.Bottom - 1), platform::clSilver);
  EXPECT_EQ(Pixel(after.Right - 1, after.Top + 5), platform::clSilver);
  const TRect fixed = grid_->GetCellRect(1, 0);
  EXPECT_EQ(Pixel(fixed.Right - 1, fixed.Top + 5), platform::clGray);

  grid_->SetGridLineWidth(0);
  EXPECT_EQ(Pixel(after.Right - 1, after.Top + 5), platform::ColorToRGB(grid_->Color()));
}

TEST_F(BaseGridPaintTest, BlocksScrolledUnderTheFixedCellsStayOffThem) {
  grid_->MergeCells(1, 2, 1, 5);  // rows 2-6
  grid_->GetCellProperties(1, 2)->SetBrushColor(platform::clYellow);
  grid_->SetTopRow(4);
  const auto drawn = PaintPass();
  EXPECT_EQ(TimesDrawn(drawn, 1, 2), 1);
  const TRect block = grid_->CellRect(1, 4);
  EXPECT_LT(block.Top, grid_->FixedRowsHeight());
  EXPECT_EQ(Pixel(block.Left + 10, grid_->FixedRowsHeight() + 2), platform::clYellow);
  EXPECT_NE(Pixel(block.Left + 10, grid_->FixedRowsHeight() - 5), platform::clYellow);

  // A heading merged over scrolling columns, its base scrolled away, keeps off the fixed column.
  grid_->MergeCells(1, 0, 3, 1);
  grid_->SetLeftCol(2);
  PaintPass();
  EXPECT_LT(grid_->CellRect(3, 0).Left, grid_->FixedColsWidth());
  EXPECT_EQ(Pixel(grid_->FixedColsWidth() - 1, 5), platform::clGray);
}

TEST_F(BaseGridPaintTest, FixedCellsFocusAndTheFooterRow) {
  recording_->fixedCell = {2, 2};
  grid_->SetSelection({1, 1, 3, 3});
  grid_->MergeCells(4, 1, 1, 2);
  grid_->SetFocus();
  grid_->FocusCell(4, 2, false);  // a non-base cell of the block, extending the selection to it
  auto stateOf = [](const std::vector<TRecordingGrid::Drawn>& drawn, int col, int row) {
    for (const auto& d : drawn)
      if (d.col == col && d.row == row) return d.state;
    return platform::TGridDrawState{};
  };
  auto drawn = PaintPass();
  ASSERT_TRUE(grid_->Focused());
  EXPECT_TRUE(stateOf(drawn, 2, 2).Contains(TGridDrawStateFlag::gdFixed));
  EXPECT_FALSE(stateOf(drawn, 2, 2).Contains(TGridDrawStateFlag::gdSelected));
  EXPECT_TRUE(stateOf(drawn, 4, 1).Contains(TGridDrawStateFlag::gdFocused));
  EXPECT_TRUE(grid_->IsSelected(4, 1));
  EXPECT_TRUE(stateOf(drawn, 3, 2).Contains(TGridDrawStateFlag::gdSelected));
  EXPECT_FALSE(stateOf(drawn, 3, 3).Contains(TGridDrawStateFlag::gdSelected));

  grid_->FocusCell(1, 5, true);
  EXPECT_FALSE(grid_->IsSelected(4, 1));
  grid_->SetTopRow(grid_->RowCount() - 5);
  grid_->LastRowFooter = true;
  grid_->SetCells(1, grid_->RowCount() - 1, "footer");
  drawn = PaintPass();
  EXPECT_EQ(TimesDrawn(drawn, 1, grid_->RowCount() - 1), 0);
  const TRect footer = grid_->GetCellRect(1, grid_->RowCount() - 1);
  EXPECT_EQ(Pixel(footer.Right - 1, footer.Top + 2), platform::ColorToRGB(grid_->Color()));
}

// A grid whose content drawing narrows the clip, moves the origin and changes the pen, brush and
// font, then fails.
class TFailingGrid : public TTestGrid {
public:
  using TTestGrid::TTestGrid;
  using TTestGrid::DrawCell;

protected:
  void DrawGridCell(platform::TCanvas& Canvas, int, int, const TRect&, platform::TGridDrawState) override {
    platform::IntersectClipRect(Canvas.Handle(), 0, 0, 2, 2);
    platform::SetViewportOrgEx(Canvas.Handle(), 7, 7);
    Canvas.Pen().SetStyle(platform::TPenStyle::psDot);
    Canvas.Brush().SetStyle(platform::TBrushStyle::bsClear);
    Canvas.Font().SetStyle({platform::TFontStyle::fsItalic});
    throw platform::Exception("the cell cannot be drawn");
  }
};

TEST_F(BaseGridTest, ACellDrawingThatFailsLeavesTheCanvasAsItWas) {
  auto* grid = new TFailingGrid(form_.get());
  grid->SetParent(form_.get());
  grid->SetBounds(0, 0, 320, 200);
  platform::TBitmap target(320, 200);
  platform::TCanvas& canvas = grid->Canvas();
  canvas.SetTarget(target);
  platform::IntersectClipRect(canvas.Handle(), 0, 0, 300, 180);
  const std::string before = platform::test::CanvasStateText(canvas);
  EXPECT_THROW(grid->DrawCell(1, 1, grid->CellRect(1, 1), {}), platform::Exception);
  EXPECT_EQ(platform::test::CanvasStateText(canvas), before);
}

}  // namespace
}  // namespace velmora::testing
