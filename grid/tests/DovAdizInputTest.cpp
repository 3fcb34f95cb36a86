#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "grid/DovAdiz.h"
#include "grid/tests/DovAdizInputFixture.h"
#include "grid/GridCursors.h"
#include "grid/GridHintWindow.h"
#include "platform/core/Clock.h"
#include "platform/gfx/TestFont.h"
#include "platform/shell/tests/RecordingLauncher.h"
#include "platform/ui/Forms.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"

using namespace platform;

namespace velmora {
namespace {

// A header click sorts by its column and flips the direction on the same column; a click within 3
// pixels of a border, a vetoed one and a double click on a border (which auto-sizes) do not sort.
TEST_F(DovAdizInputTest, HeaderClickSortsAwayFromBordersAndUnlessVetoed) {
  grid_->SortSettings().Show = true;
  grid_->SetOptions(grid_->Options() + TGridOption::goColSizing);
  std::vector<int> sorted;
  grid_->OnClickSort = [&](TObject*, int ACol) { sorted.push_back(ACol); };
  ClickAt(CellPoint(2, 0));
  EXPECT_EQ(grid_->SortSettings().Column, 2);
  EXPECT_EQ(grid_->SortSettings().Direction, TSortDirection::sdAscending);
  ClickAt(CellPoint(2, 0));
  EXPECT_EQ(grid_->SortSettings().Direction, TSortDirection::sdDescending);
  ClickAt(CellPoint(3, 0, 64 - 3));  // 3 pixels left of the border after column 3
  ClickAt(CellPoint(3, 0, 3));
  grid_->OnCanSort = [](TObject*, int, bool& DoSort) { DoSort = false; };
  ClickAt(CellPoint(3, 0));
  grid_->OnCanSort = nullptr;
  Input().DoubleClick(CellPoint(3, 0, 62));
  Settle();
  EXPECT_EQ(sorted, (std::vector<int>{2, 2}));
  EXPECT_EQ(grid_->calls, (std::vector<std::string>{"sort 2", "sort 2", "autosize 3"}));
}

// Clicks on a data cell fire OnClickCell once with the display row and the real column (a hidden
// column before it), and OnClick once per click.
TEST_F(DovAdizInputTest, ClickCellNamesDisplayRowAndRealColumn) {
  grid_->HideColumn(1);
  Settle();
  std::vector<std::pair<int, int>> clicked;
  int clicks = 0;
  grid_->OnClickCell = [&](TObject*, int ARow, int ACol) { clicked.push_back({ARow, ACol}); };
  grid_->OnClick = [&](TObject*) { ++clicks; };
  ClickAt(CellPoint(2, 3));
  EXPECT_EQ(clicked, (std::vector<std::pair<int, int>>{{3, 3}}));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(grid_->Col(), 2);
  EXPECT_EQ(grid_->Row(), 3);
}

// Whole row, column and all selection from the fixed cells; dragging widens a row selection.
TEST_F(DovAdizInputTest, FixedCellsSelectWholeRowsColumnsAndAll) {
  grid_->MouseActions().RowSelect = true;
  grid_->MouseActions().ColSelect = true;
  grid_->MouseActions().AllSelect = true;
  auto pressAt = [&](TPoint p) {
    Input().MouseMove(p);
    Settle();
    ClickAt(p);
  };
  pressAt(CellPoint(0, 3));
  EXPECT_EQ(grid_->Selection(), (TGridRect{1, 3, 4, 3}));
  pressAt(CellPoint(2, 0));
  EXPECT_EQ(grid_->Selection(), (TGridRect{2, 1, 2, 7}));
  pressAt(CellPoint(0, 0));
  EXPECT_EQ(grid_->Selection(), (TGridRect{1, 1, 4, 7}));
  Input().MouseMove(CellPoint(0, 2));
  Input().MouseDown(TMouseButtonKind::Left, CellPoint(0, 2));
  Input().MouseMove(CellPoint(0, 5));
  Input().MouseUp(TMouseButtonKind::Left, CellPoint(0, 5));
  Settle();
  EXPECT_EQ(grid_->Selection(), (TGridRect{1, 2, 4, 5}));
}

// The grid's own cursor for a select mode keeps the mode; a cursor that the program sets ends it.
TEST_F(DovAdizInputTest, ACursorSetFromOutsideEndsTheSelectMode) {
  grid_->MouseActions().RowSelect = true;
  Input().MouseMove(CellPoint(0, 3));
  Settle();
  ASSERT_EQ(grid_->SelectMode(), VUraRazuduVova::TSelectMode::smRows);
  ASSERT_EQ(grid_->Cursor(), crSelectRow);
  grid_->SetCursorEx(crCross);
  EXPECT_EQ(grid_->SelectMode(), VUraRazuduVova::TSelectMode::smNone);
}

// Disjunct row selection: a click picks one row, Ctrl+click adds another and takes a picked one out.
TEST_F(DovAdizInputTest, DisjunctRowsWithCtrl) {
  grid_->MouseActions().DisjunctRowSelect = true;
  ClickAt(CellPoint(1, 2));
  ClickAt(CellPoint(1, 4), bsCtrl);
  ClickAt(CellPoint(1, 5), bsCtrl);
  ClickAt(CellPoint(1, 4), bsCtrl);
  std::vector<int> picked;
  for (int r = 1; r < 8; ++r)
    if (grid_->RowSelect(r)) picked.push_back(r);
  EXPECT_EQ(picked, (std::vector<int>{2, 5}));
}

// Anchors: only a text that begins with a URL scheme reaches the shell, once, as one argument;
// "CELL://" names a cell that becomes current; any other text reaches OnAnchorClick only.
TEST_F(DovAdizInputTest, AnchorsOpenOnlyUrlsAndMoveToCells) {
  RecordingLauncher launcher;
  grid_->URLShow = true;
  std::vector<std::string> heard;
  grid_->OnAnchorClick = [&](TObject*, int, int, const std::string& Anchor, bool&) { heard.push_back(Anchor); };
  grid_->SetCells(2, 1, "http://example.org");
  grid_->SetCells(2, 2, "see a://b");
  grid_->SetCells(2, 3, "/bin/sh");
  grid_->SetCells(2, 4, "cell://R6C3");
  grid_->SetCells(2, 5, "http://x/?cell://R1C1");
  for (int r = 1; r <= 5; ++r) ClickAt(CellPoint(2, r, 8));
  EXPECT_EQ(launcher.Opened(), (std::vector<std::string>{"http://example.org", "http://x/?cell://R1C1"}));
  EXPECT_EQ(heard, (std::vector<std::string>{"http://example.org", "see a://b", "cell://R6C3", "http://x/?cell://R1C1"}));
  ClickAt(CellPoint(2, 4, 8));
  EXPECT_EQ(grid_->Col(), 3);
  EXPECT_EQ(grid_->Row(), 6);
}

// The grid's keys: Home and End with the first-last-row setting stop before the footer rows, Insert
// before and after, Delete empties the last data row, Shift+Delete cuts without deleting, and Tab
// wraps before the right fixed columns.
TEST_F(DovAdizInputTest, RowKeys) {
  grid_->Navigation().HomeEndKey = THomeEndAction::heFirstLastRow;
  grid_->SetFixedFooters(2);
  grid_->SetRow(3);
  Press(VK_END);
  EXPECT_EQ(grid_->Row(), 5);
  Press(VK_HOME);
  EXPECT_EQ(grid_->Row(), 1);
  grid_->SetFixedFooters(0);

  grid_->Navigation().AllowInsertRow = true;
  std::vector<int> inserted;
  grid_->OnAutoInsertRow = [&](TObject*, int ARow) { inserted.push_back(ARow); };
  grid_->SetRow(2);
  Press(VK_INSERT);
  EXPECT_EQ(grid_->RowCount(), 9);
  EXPECT_EQ(grid_->Cells(1, 2), "");
  EXPECT_EQ(grid_->Cells(1, 3), "r2");
  grid_->Navigation().InsertPosition = TInsertPosition::pInsertAfter;
  Press(VK_INSERT);
  EXPECT_EQ(inserted, (std::vector<int>{2, 3}));
  EXPECT_EQ(grid_->Row(), 3);

  grid_->Navigation().AllowDeleteRow = true;
  grid_->Navigation().AllowClipboardShortCuts = true;
  grid_->SetRowCount(3);
  grid_->SetRow(2);
  Press(VK_DELETE, bsShift);
  EXPECT_EQ(grid_->RowCount(), 3);
  EXPECT_EQ(grid_->calls, (std::vector<std::string>{"cut"}));
  Press(VK_DELETE);
  EXPECT_EQ(grid_->RowCount(), 2);
  grid_->SetCells(1, 1, "last");
  Press(VK_DELETE);
  EXPECT_EQ(grid_->RowCount(), 2);
  EXPECT_EQ(grid_->Cells(1, 1), "");

  grid_->SetRowCount(4);
  grid_->SetFixedRightCols(1);
  grid_->SetOptions(grid_->Options() + TGridOption::goTabs);
  grid_->SetCol(3);
  grid_->SetRow(3);
  Press(VK_TAB);
  EXPECT_EQ(grid_->Col(), 1);
  EXPECT_EQ(grid_->Row(), 1);
}

// The wheel moves three rows a notch and never into footer rows; Ctrl+wheel zooms within -10..10.
TEST_F(DovAdizInputTest, WheelStaysOffFootersAndZoomIsBounded) {
  grid_->SetFixedFooters(1);
  grid_->SetRow(1);
  const TPoint over = CellPoint(2, 2);
  Input().MouseWheel(-120, over);
  Settle();
  EXPECT_EQ(grid_->Row(), 4);
  for (int i = 0; i < 3; ++i) Input().MouseWheel(-120, over);
  Settle();
  EXPECT_EQ(grid_->Row(), 6);
  const int width = grid_->ColWidths(1);
  for (int i = 0; i < 15; ++i) Input().MouseWheel(120, over, bsCtrl);
  Settle();
  EXPECT_EQ(grid_->ColWidths(1), width + 10);
  for (int i = 0; i < 30; ++i) Input().MouseWheel(-120, over, bsCtrl);
  Settle();
  EXPECT_EQ(grid_->ColWidths(1), width - 10);
}

// The grid's timer flips the blink phase at every tick, with 100 000 rows as with a few.
TEST_F(DovAdizInputTest, TimerFlipsTheBlinkPhase) {
  grid_->SetRowCount(100000);
  grid_->SetCells(2, 3, "<BLINK>on</BLINK>");
  const bool phase = grid_->BlinkPhase();
  Sleep(500);
  Settle();
  EXPECT_NE(grid_->BlinkPhase(), phase);
  Sleep(500);
  Settle();
  EXPECT_EQ(grid_->BlinkPhase(), phase);
}

// The cell hint: with HintShowLargeText only a text wider than its column shows, at the cell's top;
// never a password cell's or a fixed cell's text; any other hint shows 6 pixels below the cell, and
// OnGridHint has the last word.
TEST_F(DovAdizInputTest, CellHintsShowTextThatDoesNotFit) {
  grid_->HintShowLargeText = true;
  grid_->HintColor = clYellow;
  const std::string wide(20, 'w');  // 20 characters of the test font, wider than 64 pixels
  grid_->SetCells(2, 2, "fits");
  grid_->SetCells(2, 3, wide);
  grid_->SetCells(2, 4, wide);
  grid_->SetCells(2, 0, wide);
  grid_->OnIsPasswordCell = [](TObject*, int ARow, int, bool& IsPassword) { IsPassword = ARow == 4; };
  auto hintAt = [&](int c, int r, std::string& text) {
    THintInfo info;
    info.CursorPos = {64 * c + 10, 24 * r + 10};
    info.HintStr = "control hint";
    grid_->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    text = info.HintStr;
    EXPECT_EQ(info.HintColor, clYellow);
    return grid_->ScreenToClient(info.HintPos);
  };
  std::string text;
  EXPECT_EQ(hintAt(2, 2, text), (TPoint{128, 48 + 24 + 6}));
  EXPECT_EQ(text, "control hint");
  EXPECT_EQ(hintAt(2, 3, text), (TPoint{128, 72}));
  EXPECT_EQ(text, wide);
  hintAt(2, 4, text);
  EXPECT_EQ(text, "control hint");
  hintAt(2, 0, text);
  EXPECT_EQ(text, "control hint");
  grid_->OnGridHint = [](TObject*, int ARow, int ACol, std::string& hintstr) {
    hintstr = std::to_string(ARow) + "," + std::to_string(ACol);
  };
  hintAt(2, 3, text);
  EXPECT_EQ(text, "3,2");
}

// A cell's text is markup in its hint only with EnableHTML: without it a text with "<" goes to the
// plain hint window, whatever window class the application installed; a text without "<" or "&", and
// any text with EnableHTML, keeps the application's class.
TEST_F(DovAdizInputTest, CellTextIsMarkupInAHintOnlyWithEnableHTML) {
  grid_->HintShowCells = true;
  grid_->SetCells(2, 2, "<b>up</b> since 10:02");
  grid_->SetCells(2, 3, "up");
  auto classAt = [&](int r) {
    THintInfo info;
    info.CursorPos = {64 * 2 + 10, 24 * r + 10};
    info.HintWindowClass = HintWindowClassOf<Dovadiz::TMarkupHintWindow>();
    grid_->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    return info.HintWindowClass.type;
  };
  EXPECT_EQ(classAt(2), &typeid(Dovadiz::TMarkupHintWindow));
  grid_->EnableHTML = false;
  EXPECT_EQ(classAt(2), &typeid(THintWindow));
  EXPECT_EQ(classAt(3), &typeid(Dovadiz::TMarkupHintWindow));
}

// Sizing a column by its header border shows its width in the grid's hint window while the button is
// held; the release takes the hint away.
TEST_F(DovAdizInputTest, SizingHintShowsTheWidthWhileSizing) {
  grid_->SetOptions(grid_->Options() + TGridOption::goColSizing);
  grid_->HintShowSizing = true;
  grid_->SortSettings().Show = true;
  const TPoint border = At(*grid_, 64 * 2 - 1, 10);
  Input().MouseMove(border);
  Input().MouseDown(TMouseButtonKind::Left, border);
  Input().MouseMove({border.X + 20, border.Y}, bsLeft);
  Settle();
  Dovadiz::TMarkupHintWindow* hint = nullptr;
  for (int i = 0; i < grid_->ComponentCount() && !hint; ++i)
    hint = dynamic_cast<Dovadiz::TMarkupHintWindow*>(grid_->Components(i));
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(hint->Visible());
  EXPECT_EQ(hint->Caption(), "cw=<b>" + std::to_string(grid_->ColWidths(1)) + "</b>");
  EXPECT_EQ(grid_->ColWidths(1), 84);
  std::filesystem::create_directories(GRID_ARTEFACTS);
  Input().SaveScreenshot(hint->BackendWindow(), std::string(GRID_ARTEFACTS) + "/hint_sizing.png");
  Input().MouseUp(TMouseButtonKind::Left, {border.X + 20, border.Y});
  Settle();
  EXPECT_FALSE(hint->Visible());
  EXPECT_TRUE(grid_->calls.empty());  // sizing does not sort
}

// The grid's hint window near the screen's bottom-right corner stays 2 pixels inside it; a two-line
// markup hint is as high as its two lines and 16 pixels wider than its text.
TEST_F(DovAdizInputTest, MarkupHintWindowStaysOnScreen) {
  Input().SetScreen(Rect(0, 0, 800, 600), Rect(0, 0, 800, 600));
  auto* hint = new Dovadiz::TMarkupHintWindow(grid_);
  hint->Font().SetName(kTestFontName);
  hint->Font().SetHeight(-12);
  hint->SetColor(clInfoBk);
  const std::string text = "<b>host</b> down<br><font color=\"clRed\">3 checks</font> failed";
  hint->ActivateHint(Rect(790, 590, 790, 590), text);
  Settle();
  const TRect bounds = hint->BoundsRect();
  EXPECT_EQ(bounds.Right, 798);
  EXPECT_EQ(bounds.Bottom, 598);
  const TRect measured = hint->CalcHintRect(1008, text, nullptr);
  EXPECT_EQ(bounds.Width(), measured.Width() + 16);
  EXPECT_EQ(bounds.Height(), measured.Height() + 4);
  std::filesystem::create_directories(GRID_ARTEFACTS);
  Input().SaveScreenshot(hint->BackendWindow(), std::string(GRID_ARTEFACTS) + "/hint_markup.png");
  hint->ActivateHint(Rect(-50, -50, 0, 0), std::string(300, 'x'));
  EXPECT_EQ(hint->BoundsRect().Left, 0);
  EXPECT_EQ(hint->BoundsRect().Top, 0);
}

// The footer kinds: fixed footer rows, the floating footer over the last row, and a grid whose rows
// below the fixed row are all footers.
struct FooterCase {
  int rows, fixedFooters;
  bool floating;
  int last;  // the last data row; -1: none
};
constexpr FooterCase kFooterCases[] = {{8, 0, false, 7}, {8, 2, false, 5}, {8, 0, true, 6}, {3, 2, false, -1}};

void ShapeFooters(VUraRazuduVova& grid, const FooterCase& c) {
  grid.FloatingFooter().SetVisible(false);
  grid.SetFixedFooters(0);
  grid.SetRowCount(c.rows);
  grid.SetFixedFooters(c.fixedFooters);
  grid.FloatingFooter().SetVisible(c.floating);
}

std::string Name(const FooterCase& c) {
  return std::to_string(c.rows) + "/" + std::to_string(c.fixedFooters) + (c.floating ? "/floating" : "");
}

// Home and End with the first-last-row setting go to the first and the last data row: End stops
// before fixed footer rows and before the floating footer's last row; without a data row they stay.
TEST_F(DovAdizInputTest, HomeAndEndStopBeforeEveryKindOfFooter) {
  grid_->Navigation().HomeEndKey = THomeEndAction::heFirstLastRow;
  for (const FooterCase& c : kFooterCases) {
    ShapeFooters(*grid_, c);
    grid_->SetRow(c.last < 0 ? c.rows - 1 : 3);
    const int start = grid_->Row();
    Press(VK_END);
    EXPECT_EQ(grid_->Row(), c.last < 0 ? start : c.last) << Name(c);
    Press(VK_HOME);
    EXPECT_EQ(grid_->Row(), c.last < 0 ? start : 1) << Name(c);
  }
}

// Only Delete without Shift, Ctrl or Alt deletes a row; Shift+Delete without the clipboard shortcuts
// deletes nothing either.
TEST_F(DovAdizInputTest, OnlyAPlainDeleteDeletesARow) {
  grid_->Navigation().AllowDeleteRow = true;
  const struct {
    unsigned shift;
    int rowsAfter;
  } cases[] = {{bsCtrl, 8}, {bsAlt, 8}, {bsShift, 8}, {bsCtrl | bsShift, 8}, {0, 7}};
  for (const auto& c : cases) {
    grid_->SetRow(3);
    Press(VK_DELETE, c.shift);
    EXPECT_EQ(grid_->RowCount(), c.rowsAfter) << c.shift;
    EXPECT_EQ(grid_->Cells(1, 3), c.rowsAfter == 8 ? "r3" : "r4") << c.shift;
  }
}

// Only an anchor that begins with a URL scheme (letters, digits, "+", "." and "-" before "://", or
// "mailto:") reaches the shell, as xdg-open's one argument; "CELL://" in any case names a cell
// "R<row>C<col>" that becomes current, and a name that is refused or lies outside the grid does nothing.
TEST_F(DovAdizInputTest, AnchorSchemesAndCellNames) {
  RecordingLauncher launcher;
  grid_->URLShow = true;
  const struct {
    const char* text;
    bool opened;
    TPoint current;  // (-1, -1): the current cell stays
  } cases[] = {
      {"mailto:ops@example.org", true, {-1, -1}},   {"svn+ssh://host/repo", true, {-1, -1}},
      {"a.b-c1://x", true, {-1, -1}},               {"1a://x", false, {-1, -1}},
      {"we b://x", false, {-1, -1}},                {"ftp.example.org/x mailto:a@b", false, {-1, -1}},
      {"Cell://R2C3", false, {3, 2}},               {"CELL://R99C2", false, {-1, -1}},
      {"CELL://B3", false, {-1, -1}},               {"cell://R1C", false, {-1, -1}},
  };
  for (const auto& c : cases) {
    grid_->SetCells(2, 5, c.text);
    grid_->SetCol(1);
    grid_->SetRow(1);
    Settle();
    launcher.requests.clear();
    ClickAt(CellPoint(2, 5, 8));
    ASSERT_EQ(launcher.requests.size(), c.opened ? 1u : 0u) << c.text;
    if (c.opened) {
      EXPECT_EQ(launcher.requests[0].arguments, (std::vector<std::string>{c.text})) << c.text;
      EXPECT_EQ(std::filesystem::path(launcher.requests[0].program).filename(), "xdg-open") << c.text;
    }
    // A click on an anchor does not select its cell.
    const TPoint current = c.current.X < 0 ? TPoint{1, 1} : c.current;
    EXPECT_EQ((TPoint{grid_->Col(), grid_->Row()}), current) << c.text;
  }
}

// Wheel notches and pan ticks never move the current row into footer rows (fixed or the floating
// footer's), and with no data row they move nothing.
TEST_F(DovAdizInputTest, WheelAndPanningStayOnDataRows) {
  grid_->IntelliPan = TIntelliPan::ipBoth;
  const TPoint over = CellPoint(2, 2);
  auto pan = [&](int dy, int ticks) {
    Input().MouseDown(TMouseButtonKind::Middle, over);
    Input().MouseUp(TMouseButtonKind::Middle, over);
    Input().MouseMove({over.X, over.Y + dy});
    Settle();
    for (int i = 0; i < ticks; ++i) {
      Sleep(10);
      Settle();
    }
    Input().MouseDown(TMouseButtonKind::Middle, over);
    Input().MouseUp(TMouseButtonKind::Middle, over);
    Settle();
  };
  for (const FooterCase& c : kFooterCases) {
    ShapeFooters(*grid_, c);
    grid_->SetRow(c.last < 0 ? c.rows - 1 : 1);
    const int start = grid_->Row();
    for (int i = 0; i < 4; ++i) Input().MouseWheel(-120, over);
    Settle();
    EXPECT_EQ(grid_->Row(), c.last < 0 ? start : c.last) << Name(c);
    grid_->SetRow(c.last < 0 ? c.rows - 1 : 1);
    pan(40, 12);
    EXPECT_EQ(grid_->Row(), c.last < 0 ? start : c.last) << Name(c);
  }
}

// A tick of the grid's timer repaints a visible cell whose text blinks, a header too, and no other cell
// (one beside it holds markup that does not blink).
TEST_F(DovAdizInputTest, TheTimerRepaintsOnlyBlinkingCells) {
  grid_->SetCells(3, 4, "<B>not blinking</B>");
  const struct {
    TPoint cell;
    const char* text;
  } cases[] = {{{2, 3}, "<BLINK>down</BLINK>"}, {{3, 0}, "<blink>State</blink>"}};
  for (const auto& c : cases) {
    grid_->SetCells(2, 3, "");
    grid_->SetCells(c.cell.X, c.cell.Y, c.text);
    Settle();
    grid_->painted.clear();
    Sleep(500);
    Settle();
    EXPECT_EQ(grid_->painted, (std::vector<TPoint>{c.cell})) << c.text;
    grid_->SetCells(c.cell.X, c.cell.Y, "");
  }
}

// Disjunct row selection with Shift: a Shift+click picks the rows from the current one; Down picks the
// next row alone, Shift+Down widens the picked range, and Space takes the current row out.
TEST_F(DovAdizInputTest, DisjunctRowsWithShiftAndKeys) {
  grid_->MouseActions().DisjunctRowSelect = true;
  grid_->SetOptions(grid_->Options() + TGridOption::goRangeSelect);
  auto picked = [&] {
    std::vector<int> rows;
    for (int r = 1; r < 8; ++r)
      if (grid_->RowSelect(r)) rows.push_back(r);
    return rows;
  };
  ClickAt(CellPoint(1, 2));
  ClickAt(CellPoint(1, 4), bsShift);
  EXPECT_EQ(picked(), (std::vector<int>{2, 3, 4}));
  Press(VK_DOWN);
  EXPECT_EQ(picked(), (std::vector<int>{5}));
  Press(VK_DOWN, bsShift);
  EXPECT_EQ(picked(), (std::vector<int>{5, 6}));
  Press(VK_SPACE);
  EXPECT_EQ(picked(), (std::vector<int>{5}));
}

// With Hovering the timer gives the grid the focus and makes the normal cell under the mouse current,
// but only while the grid's form is the active form.
TEST_F(DovAdizInputTest, HoveringFollowsTheMouseOnlyInTheActiveForm) {
  grid_->Hovering = true;
  auto other = ShowForm(100, 80);
  other->SetBounds(600, 400, 100, 80);
  Settle();
  ASSERT_EQ(Screen().ActiveForm(), other.get());
  Input().MouseMove(CellPoint(3, 5));
  Sleep(500);
  Settle();
  EXPECT_EQ((TPoint{grid_->Col(), grid_->Row()}), (TPoint{1, 1}));
  EXPECT_EQ(Screen().ActiveForm(), other.get());
  Input().Activate(form_->BackendWindow());
  Settle();
  Sleep(500);
  Settle();
  EXPECT_EQ((TPoint{grid_->Col(), grid_->Row()}), (TPoint{3, 5}));
  EXPECT_TRUE(grid_->Focused());
}

}  // namespace
}  // namespace velmora
