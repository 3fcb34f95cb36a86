#include <string>

#include "grid/tests/GridPaintFixture.h"

namespace velmora::testing {
namespace {

using platform::RGB;
using platform::TColor;
using platform::TRect;

// The columns of a client row that hold black ink, as runs [start, end).
std::vector<std::pair<int, int>> InkRuns(GridPaintTest& test, const TRect& cell, int y,
                                         const std::function<TColor(int, int)>& pixel) {
  std::vector<std::pair<int, int>> runs;
  for (int x = cell.Left; x < cell.Right; ++x) {
    if (pixel(x, y) != platform::clBlack) continue;
    if (!runs.empty() && runs.back().second == x)
      runs.back().second = x + 1;
    else
      runs.push_back({x, x + 1});
  }
  return runs;
}

// Every combination of Multilinecells and WordWrap; the flags come from the grid's own settings at
// every paint, so a second grid painted after the first is not changed by it.
TEST_F(GridPaintTest, LineBreaksFollowMultilinecellsAndWordWrap) {
  grid_->SetColWidths(2, 120);
  grid_->SetRowHeights(2, 60);
  grid_->SetCells(2, 2, "ab\r\ncd");
  struct Case {
    bool multiline, wrap;
    int lines;
  } cases[] = {{false, false, 1}, {false, true, 2}, {true, false, 2}, {true, true, 2}};
  for (const Case& c : cases) {
    grid_->Multilinecells = c.multiline;
    grid_->SetWordWrap(c.wrap);
    grid_->Invalidate();
    EXPECT_EQ(InkLines(grid_->CellRect(2, 2)), c.lines) << c.multiline << c.wrap;
  }
  // Without both only the first line shows, at the text offset: "ab" is 11 pixels of ink.
  grid_->Multilinecells = false;
  grid_->SetWordWrap(false);
  grid_->Invalidate();
  const TRect cell = grid_->CellRect(2, 2);
  EXPECT_EQ(CellInk(2, 2), TRect(cell.Left + 3, cell.Top + 3, cell.Left + 14, cell.Top + 12));

  // A long line wraps at blanks only with WordWrap.
  grid_->SetCells(2, 2, "aaaa bbbb cccc dddd eeee");
  grid_->SetWordWrap(true);
  EXPECT_EQ(InkLines(grid_->CellRect(2, 2)), 2);

  auto* second = new TTestDovAdiz(form_.get());
  second->SetParent(form_.get());
  second->SetBounds(0, 120, 400, 120);
  UseTestFont(*second);
  second->SetColWidths(2, 120);
  second->SetRowHeights(2, 60);
  second->SetCells(2, 2, "ab\r\ncd");
  grid_->Multilinecells = true;
  grid_->Invalidate();
  Settle();
  second->Invalidate();
  EXPECT_EQ(InkBox(*second, second->CellRect(2, 2)).Height(), 9) << "one line";
}

// EnhTextSize ends a single line that does not fit with an ellipsis: three boxes side by side, where
// the text itself has a blank between every two letters.
TEST_F(GridPaintTest, EnhTextSizeEndsATooLongLineWithAnEllipsis) {
  grid_->SetColWidths(2, 60);
  grid_->SetCells(2, 2, "a b c d e f g h i j");
  const TRect cell = grid_->CellRect(2, 2);
  auto pixel = [this](int x, int y) { return Pixel(x, y); };
  auto adjacentBoxes = [&] {
    int adjacent = 0;
    const auto runs = InkRuns(*this, cell, cell.Top + 6, pixel);
    for (size_t i = 1; i < runs.size(); ++i) adjacent += runs[i].first - runs[i - 1].second == 1;
    return adjacent;
  };
  EXPECT_EQ(adjacentBoxes(), 0);
  grid_->EnhTextSize = true;
  grid_->Invalidate();
  EXPECT_EQ(adjacentBoxes(), 2) << "...";
}

// Bands of 2 and 1 rows from the first data row; fixed rows and columns, footer rows and right fixed
// columns keep the fixed colour. Bands of no rows band nothing.
TEST_F(GridPaintTest, BandsColourTheDataRowsOnly) {
  grid_->SetRowCount(9);
  grid_->SetDefaultRowHeight(20);
  grid_->SetFixedFooters(1);
  grid_->SetFixedRightCols(1);
  const TColor primary = RGB(255, 220, 220), secondary = RGB(220, 255, 220);
  grid_->Bands().SetActive(true);
  grid_->Bands().SetPrimaryColor(primary);
  grid_->Bands().SetSecondaryColor(secondary);
  grid_->Bands().SetPrimaryLength(2);
  grid_->Bands().SetSecondaryLength(1);
  const TColor fixed = platform::ColorToRGB(grid_->FixedColor());
  const TColor expected[] = {fixed, primary, primary, secondary, primary, primary, secondary, primary, fixed};
  for (int r = 0; r < 9; ++r) {
    EXPECT_EQ(CellColor(2, r), expected[r]) << r;
    EXPECT_EQ(CellColor(0, r), fixed) << r;
    EXPECT_EQ(CellColor(4, r), fixed) << r;
  }
  grid_->Bands().SetPrimaryLength(0);
  grid_->Bands().SetSecondaryLength(0);
  for (int r = 1; r < 8; ++r) EXPECT_EQ(CellColor(3, r), platform::ColorToRGB(grid_->Color())) << r;
}

// A selection colour of clNone leaves a selected cell the brush it would have unselected.
TEST_F(GridPaintTest, SelectionColorNoneKeepsTheCellsBrush) {
  const TColor yellow = RGB(255, 255, 0);
  grid_->SetColors(2, 2, yellow);
  grid_->SetSelection({2, 2, 3, 3});
  grid_->SetSelectionColor(platform::clNone);
  EXPECT_EQ(CellColor(2, 2), yellow);
  EXPECT_EQ(CellColor(3, 2), platform::ColorToRGB(grid_->Color()));
  grid_->SetSelectionColor(RGB(200, 0, 0));
  EXPECT_EQ(CellColor(2, 2), RGB(200, 0, 0));
  EXPECT_EQ(CellColor(3, 2), RGB(200, 0, 0));
}

// The header of the sort column keeps room for the indicator: 14 pixels right of a plain left-aligned
// text, 10 right of markup.
TEST_F(GridPaintTest, TheSortHeaderKeepsRoomForItsIndicator) {
  grid_->SetColWidths(1, 82);
  grid_->SetColWidths(2, 82);
  grid_->SetCells(1, 0, "aaaaaaaaaaaaaaaaaaaa");
  grid_->SetCells(2, 0, "<p align=\"right\">a</p>");
  const TRect plain = CellInk(1, 0), markup = CellInk(2, 0);
  EXPECT_EQ(plain.Right, grid_->CellRect(1, 0).Right - 3);
  grid_->SortSettings().Show = true;
  grid_->SortSettings().Column = 1;
  grid_->Invalidate();
  EXPECT_EQ(CellInk(1, 0).Right, plain.Right - 14);
  grid_->SortSettings().Column = 2;
  grid_->Invalidate();
  EXPECT_EQ(CellInk(2, 0).Right, markup.Right - 10);
  EXPECT_EQ(CellInk(1, 0).Right, plain.Right);
}

// With a column hidden, each display column shows the text and colour of its real column, and the
// events hear real columns.
TEST_F(GridPaintTest, AHiddenColumnsNeighboursShowTheirOwnCells) {
  const char* texts[] = {"", "a", "bb", "ccc", "dddd"};
  for (int c = 1; c < 5; ++c) grid_->SetCells(c, 2, texts[c]);
  grid_->SetColors(3, 2, RGB(0, 200, 0));
  std::vector<int> asked;
  grid_->OnGetCellColor = [&](platform::TObject*, int ARow, int ACol, platform::TGridDrawState, platform::TBrush&,
                              platform::TFont&) {
    if (ARow == 2) asked.push_back(ACol);
  };
  grid_->HideColumn(2);
  Settle();
  EXPECT_EQ(CellInk(1, 2).Width(), 5);
  EXPECT_EQ(CellInk(2, 2).Width(), 17);
  EXPECT_EQ(CellInk(3, 2).Width(), 23);
  EXPECT_EQ(CellColor(2, 2), RGB(0, 200, 0));
  EXPECT_EQ(std::count(asked.begin(), asked.end(), 2), 0);
  EXPECT_GT(std::count(asked.begin(), asked.end(), 4), 0);
}

// A password cell is masked before anything else: no markup and no URL look, measured masked.
TEST_F(GridPaintTest, APasswordCellShowsOneStarPerCharacter) {
  grid_->URLShow = true;
  grid_->SetCells(2, 2, "http://x");
  grid_->SetCells(3, 2, "<b>hi</b>");
  grid_->OnIsPasswordCell = [](platform::TObject*, int, int ACol, bool& IsPassword) { IsPassword = ACol >= 2; };
  grid_->Invalidate();
  EXPECT_EQ(CellInk(2, 2).Width(), 8 * 6 - 1);
  EXPECT_EQ(CellInk(3, 2).Width(), 9 * 6 - 1);
  EXPECT_EQ(grid_->GetCellTextSize(3, 2).cx, 9 * 6);
  EXPECT_EQ(grid_->GetCellTextSize(3, 2).cy, 12);
}

// A formula cell shows what CalcCell gives; the grid object itself gives the text back.
class TCalcGrid : public TTestDovAdiz {
public:
  using TTestDovAdiz::TTestDovAdiz;
  std::string CalcCell(int, int) override { return "7"; }
};

TEST_F(GridPaintTest, AFormulaCellShowsItsCalculatedValue) {
  grid_->SetCells(2, 2, "=1+6");
  EXPECT_EQ(CellInk(2, 2).Width(), 4 * 6 - 1);
  auto* calc = new TCalcGrid(form_.get());
  calc->SetParent(form_.get());
  calc->SetBounds(0, 120, 400, 120);
  UseTestFont(*calc);
  calc->SetCells(2, 2, "=1+6");
  EXPECT_EQ(InkBox(*calc, calc->CellRect(2, 2)).Width(), 5);
}

}  // namespace
}  // namespace velmora::testing

namespace velmora::testing {
namespace {

// Plain text measures its widest line by the height of "gh" per line, a URL as it shows.
TEST_F(GridPaintTest, GetCellTextSizeMeasuresTheLinesAsTheyShow) {
  struct Case {
    const char* text;
    bool urlShow;
    platform::TSize size;
  } cases[] = {{"ab\r\ncdef", false, {24, 24}}, {"", false, {0, 12}}, {"http://ab", true, {12, 12}},
               {"http://ab", false, {54, 12}}};
  for (const Case& c : cases) {
    grid_->URLShow = c.urlShow;
    grid_->SetCells(2, 2, c.text);
    EXPECT_EQ(grid_->GetCellTextSize(2, 2), c.size) << c.text;
  }
}

// The sizing line is drawn in XOR mode: a second one takes it away.
TEST_F(GridPaintTest, DrawingTheSizingLineTwiceRemovesIt) {
  platform::TBitmap target(400, 240);
  platform::TCanvas& canvas = grid_->Canvas();
  canvas.SetTarget(target);
  canvas.Brush().SetColor(platform::clWhite);
  canvas.FillRect({0, 0, 400, 240});
  grid_->DrawSizingLine(50);
  int changed = 0;
  for (int y = 0; y < 240; ++y) changed += (target.ScanLine(y)[50] & 0xFFFFFF) != 0xFFFFFF;
  EXPECT_GT(changed, 100);
  EXPECT_EQ(target.ScanLine(10)[49] & 0xFFFFFF, 0xFFFFFFu);
  grid_->DrawSizingLine(50);
  for (int y = 0; y < 240; ++y) ASSERT_EQ(target.ScanLine(y)[50] & 0xFFFFFF, 0xFFFFFFu) << y;
}

// The soft look frames fixed cells: flat in black on the cell's edges, raised in white inside the top
// and left edges; the standard look leaves the base grid's gray lines.
TEST_F(GridPaintTest, TheSoftLookFramesFixedCells) {
  const TRect cell = grid_->CellRect(2, 0);
  struct Case {
    TGridLook look;
    bool flat;
    TColor top, topInside;
  } cases[] = {{TGridLook::glSoft, true, platform::clBlack, platform::ColorToRGB(platform::clBtnFace)},
               {TGridLook::glSoft, false, platform::ColorToRGB(platform::clBtnFace), platform::clWhite},
               {TGridLook::glStandard, false, platform::ColorToRGB(platform::clBtnFace),
                platform::ColorToRGB(platform::clBtnFace)}};
  for (const Case& c : cases) {
    grid_->Look = c.look;
    grid_->SetFlat(c.flat);
    EXPECT_EQ(Pixel(cell.Left + 10, cell.Top), c.top) << static_cast<int>(c.look) << c.flat;
    EXPECT_EQ(Pixel(cell.Left + 10, cell.Top + 1), c.topInside) << static_cast<int>(c.look) << c.flat;
  }
}

// The row indicator shows in column 0 of the current row, the text after it; OnDrawCell gets the
// rectangle inside the cell's lines moved in once more.
TEST_F(GridPaintTest, TheRowIndicatorAndOnDrawCell) {
  platform::TBitmap arrow(6, 6);
  arrow.Canvas().Brush().SetColor(platform::clWhite);
  arrow.Canvas().FillRect({0, 0, 6, 6});
  arrow.Canvas().Brush().SetColor(RGB(0, 0, 200));
  arrow.Canvas().FillRect({1, 1, 5, 5});
  grid_->SetRowIndicator(arrow);
  grid_->SetCells(0, 1, "x");
  TRect userRect;
  grid_->OnDrawCell = [&](platform::TObject*, int ACol, int ARow, const TRect& Rect, platform::TGridDrawState) {
    if (ACol == 2 && ARow == 2) userRect = Rect;
  };
  grid_->Invalidate();
  const TRect indicator = InkBox(*grid_, grid_->CellRect(0, 1), RGB(0, 0, 200));
  const TRect cell = grid_->CellRect(0, 1);
  EXPECT_EQ(indicator.Width(), 4);
  EXPECT_EQ(indicator.Left, cell.Left + 2);
  EXPECT_EQ(CellInk(0, 1).Left, cell.Left + 1 + 6 + 2);
  const TRect other = grid_->CellRect(2, 2);
  EXPECT_EQ(userRect, TRect(other.Left + 2, other.Top + 2, other.Right - 2, other.Bottom - 2));
}

}  // namespace
}  // namespace velmora::testing

namespace velmora::testing {
namespace {

// A centred sort indicator stands at the vertical middle of the header, plain or markup: its gray
// edge runs from 4 pixels above the middle.
TEST_F(GridPaintTest, ACentredSortIndicatorStandsAtTheHeadersMiddle) {
  grid_->Look = TGridLook::glStandard;
  grid_->SetRowHeights(0, 40);
  grid_->SetVAlignment(TVAlignment::vtaCenter);
  grid_->SortSettings().Show = true;
  for (const char* header : {"Host", "<b>Host</b>"}) {
    grid_->SetCells(2, 0, header);
    grid_->SortSettings().Column = 2;
    grid_->Invalidate();
    TRect inside = grid_->CellRect(2, 0);
    const int middle = (inside.Top + inside.Bottom) / 2;
    platform::InflateRect(inside, -3, -3);
    const TRect gray = InkBox(*grid_, inside, platform::clGray);
    EXPECT_EQ(gray.Top, middle - 4) << header;
    EXPECT_EQ(gray.Bottom, middle + 4) << header;
  }
}

// While an edit is pending the current cell gets a frame in the grid line colour.
TEST_F(GridPaintTest, APendingEditFramesTheCurrentCell) {
  grid_->SetGridLineColor(RGB(200, 0, 0));
  grid_->FocusCell(2, 3, true);
  const TRect cell = grid_->CellRect(2, 3);
  EXPECT_NE(Pixel(cell.Left + 5, cell.Top), RGB(200, 0, 0));
  grid_->EditPending = true;
  grid_->Invalidate();
  EXPECT_EQ(Pixel(cell.Left + 5, cell.Top), RGB(200, 0, 0));
  EXPECT_EQ(Pixel(cell.Left, cell.Top + 5), RGB(200, 0, 0));
}

// A grid with a single border: the sunken edge in the standard look; the soft look makes it flat, a
// gray line inside a ring in the form's colour.
TEST_F(GridPaintTest, TheSoftLookFlattensTheWindowFrame) {
  grid_->SetBounds(10, 10, 300, 200);
  grid_->SetScrollBars(platform::TScrollStyle::ssNone);
  grid_->SetBorderStyle(platform::TBorderStyle::bsSingle);
  EXPECT_EQ(grid_->ClientWidth(), 296);
  const TColor form = platform::ColorToRGB(form_->Color());
  const int right = grid_->ClientWidth() + 1, bottom = grid_->ClientHeight() + 1;  // client edge + 2 - 1
  struct Case {
    TGridLook look;
    TColor outer, inner, outerEnd, innerEnd;  // top-left rings, then bottom-right
  } cases[] = {
      {TGridLook::glStandard, platform::ColorToRGB(platform::clBtnShadow), platform::ColorToRGB(platform::cl3DDkShadow),
       platform::ColorToRGB(platform::clBtnHighlight), platform::ColorToRGB(platform::cl3DLight)},
      {TGridLook::glSoft, form, platform::clGray, form, platform::clGray},
  };
  for (const Case& c : cases) {
    grid_->Look = c.look;
    grid_->Invalidate();
    EXPECT_EQ(Pixel(-2, 40), c.outer) << int(c.look);
    EXPECT_EQ(Pixel(40, -1), c.inner) << int(c.look);
    EXPECT_EQ(Pixel(right, 40), c.outerEnd) << int(c.look);
    EXPECT_EQ(Pixel(40, bottom - 1), c.innerEnd) << int(c.look);
  }
}

}  // namespace
}  // namespace velmora::testing
