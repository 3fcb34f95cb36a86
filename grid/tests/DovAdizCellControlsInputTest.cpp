#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/DovAdiz.h"
#include "grid/DovAdizEditors.h"
#include "grid/GridCursors.h"
#include "grid/VovUra.h"
#include "grid/tests/DovAdizInputFixture.h"
#include "platform/app/Messages.h"
#include "platform/core/Clock.h"
#include "platform/core/FormatSettings.h"
#include "platform/edits/EditMessages.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/VirtualKeys.h"

using namespace platform;

namespace velmora {
namespace {

// Clicks and Space on the controls in cells, the comment hint and the caret a click places.
class DovAdizCellControlsTest : public DovAdizInputTest {
protected:
  std::vector<std::string> events;
};

// A click in column 0 of a node row contracts it, the next expands it; the events name the display
// row and the real row, and a click in column 0 of a row without a node changes nothing.
TEST_F(DovAdizCellControlsTest, NodeClicksContractAndExpand) {
  grid_->AddNode(1, 0);
  grid_->AddNode(4, 0);
  grid_->OnContractNode = [&](TObject*, int ARow, int ARowreal) {
    events.push_back("contract " + std::to_string(ARow) + "/" + std::to_string(ARowreal));
  };
  grid_->OnExpandNode = [&](TObject*, int ARow, int ARowreal) {
    events.push_back("expand " + std::to_string(ARow) + "/" + std::to_string(ARowreal));
  };
  ClickAt(CellPoint(0, 1));
  EXPECT_EQ(grid_->RowCount(), 6);  // rows 2 and 3 hidden
  EXPECT_EQ(grid_->Cells(1, 2), "r4");
  ClickAt(CellPoint(0, 2));  // the second node, now at display row 2
  EXPECT_EQ(grid_->RowCount(), 3);
  EXPECT_EQ(grid_->Row(), 2);
  ClickAt(CellPoint(0, 1));
  EXPECT_EQ(grid_->RowCount(), 5);
  const int before = grid_->Row();
  ClickAt(CellPoint(0, 3));  // r3: no node
  EXPECT_EQ(grid_->Row(), before);
  EXPECT_EQ(events, (std::vector<std::string>{"contract 1/1", "contract 2/4", "expand 1/1"}));
}

// A click on a check box toggles it once and tells OnCheckBoxClick once with the new state, then
// OnCheckBoxMouseUp at the release; a read-only cell stays; Space toggles a data check box's text,
// and typing on a check box cell opens no editor.
TEST_F(DovAdizCellControlsTest, CheckBoxClicksAndSpace) {
  grid_->AddCheckBox(2, 2, false, false);
  grid_->AddCheckBox(2, 3, true, false);
  grid_->AddCheckBox(3, 4, false, true);
  grid_->OnCanEditCell = [](TObject*, int ARow, int, bool& CanEdit) { CanEdit = ARow != 3; };
  grid_->OnCheckBoxClick = [&](TObject*, int ACol, int ARow, bool State) {
    events.push_back("click " + std::to_string(ACol) + "," + std::to_string(ARow) + (State ? " on" : " off"));
  };
  grid_->OnCheckBoxMouseUp = [&](TObject*, int, int ARow, bool State) {
    events.push_back("up " + std::to_string(ARow) + (State ? " on" : " off"));
  };
  ClickAt(CellPoint(2, 2));
  ClickAt(CellPoint(2, 3));
  bool state = false;
  ASSERT_TRUE(grid_->GetCheckBoxState(2, 2, state));
  EXPECT_TRUE(state);
  ASSERT_TRUE(grid_->GetCheckBoxState(2, 3, state));
  EXPECT_TRUE(state);
  EXPECT_EQ(events, (std::vector<std::string>{"click 2,2 on", "up 2 on", "up 3 on"}));

  events.clear();
  grid_->SetOptions(grid_->Options() + TGridOption::goEditing);
  grid_->SetCol(3);
  grid_->SetRow(4);
  Press(VK_SPACE);
  EXPECT_EQ(grid_->Cells(3, 4), "Y");
  Input().PressKey('X', 0, "x");
  Settle();
  EXPECT_FALSE(grid_->EditActive());
  EXPECT_EQ(grid_->Cells(3, 4), "Y");
  EXPECT_EQ(events, (std::vector<std::string>{"click 3,4 on"}));
}

// Radio groups: the item under the click is chosen (vertical by rows of the radio's height, a data
// group by its text); a click below the last item or on an empty group chooses nothing; Space moves
// on to the next item.
TEST_F(DovAdizCellControlsTest, RadioClicksChooseTheItemUnderTheMouse) {
  grid_->SetOptions(grid_->Options() + TGridOption::goEditing);
  grid_->SetRowHeights(2, 96);  // rows 3.. start at 24 * 3 + 72
  grid_->ControlLook().SetRadioSize(20);
  TStringList items;
  items.SetText("up\r\ndown\r\nunknown\r\n");
  grid_->AddRadio(2, 2, 0, 0, &items);
  grid_->AddRadio(3, 2, 0, -1, &items);
  TStringList none;
  grid_->AddRadio(4, 2, 0, 0, &none);
  grid_->OnRadioClick = [&](TObject*, int ACol, int, int AIdx) {
    events.push_back(std::to_string(ACol) + ":" + std::to_string(AIdx));
  };
  int index = -1;
  ClickAt(CellPoint(2, 2, 8, 25));  // the second item, 20..39
  ASSERT_TRUE(grid_->GetRadioIdx(2, 2, index));
  EXPECT_EQ(index, 1);
  ClickAt(CellPoint(2, 2, 8, 65));  // below the third item
  ASSERT_TRUE(grid_->GetRadioIdx(2, 2, index));
  EXPECT_EQ(index, 1);
  ClickAt(CellPoint(3, 2, 8, 45));
  EXPECT_EQ(grid_->Cells(3, 2), "unknown");
  ClickAt(CellPoint(4, 2, 8, 5));
  grid_->SetCol(2);
  grid_->SetRow(2);
  Press(VK_SPACE);
  ASSERT_TRUE(grid_->GetRadioIdx(2, 2, index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(grid_->EditActive());
  EXPECT_EQ(events, (std::vector<std::string>{"2:1", "3:2", "2:2"}));
}

// A press on a cell button pushes it until the release, which fires OnButtonClick once; a press
// beside the button is an ordinary click.
TEST_F(DovAdizCellControlsTest, CellButtonIsPushedUntilTheRelease) {
  grid_->AddButton(2, 3, 40, 16, "Ping", TCellHAlign::haLeft, TCellVAlign::vaTop);
  grid_->OnButtonClick = [&](TObject*, int ACol, int ARow) {
    events.push_back("button " + std::to_string(ACol) + "," + std::to_string(ARow));
  };
  grid_->OnClickCell = [&](TObject*, int ARow, int ACol) {
    events.push_back("cell " + std::to_string(ACol) + "," + std::to_string(ARow));
  };
  Input().MouseDown(TMouseButtonKind::Left, CellPoint(2, 3, 10, 8));
  Settle();
  EXPECT_TRUE(grid_->GetCellGraphic(2, 3)->State);
  Input().MouseUp(TMouseButtonKind::Left, CellPoint(2, 3, 10, 8));
  Settle();
  EXPECT_FALSE(grid_->GetCellGraphic(2, 3)->State);
  ClickAt(CellPoint(2, 3, 50, 20));
  EXPECT_EQ(events, (std::vector<std::string>{"cell 2,3", "button 2,3", "cell 2,3"}));
}

// A comment cell's hint is its comment, at the cell's top-right corner.
TEST_F(DovAdizCellControlsTest, CommentHintAtTheTopRightCorner) {
  grid_->AddComment(3, 2, "checked by hand");
  THintInfo info;
  info.CursorPos = {64 * 3 + 10, 24 * 2 + 10};
  grid_->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintStr, "checked by hand");
  const TRect cell = grid_->CellRect(3, 2);
  EXPECT_EQ(grid_->ScreenToClient(info.HintPos), (TPoint{cell.Right, cell.Top}));
}

// With CaretPositioning the click that opens the editor puts the caret, nothing selected, at the
// character under the mouse; without it the editor selects its text as usual.
TEST_F(DovAdizCellControlsTest, CaretFollowsTheClickThatOpensTheEditor) {
  grid_->SetOptions(grid_->Options() + TGridOption::goEditing);
  grid_->MouseActions().DirectEdit = true;
  grid_->MouseActions().CaretPositioning = true;
  grid_->SetCells(2, 2, "abcdefgh");
  const TPoint click = CellPoint(2, 2, 30);
  ClickAt(click);
  ASSERT_TRUE(grid_->EditActive());
  TInplaceEdit* editor = grid_->GetInplaceEditor();
  const TPoint inEditor = editor->ScreenToClient(click);
  const auto expected = static_cast<int>(editor->Perform(EM_CHARFROMPOS, 0, PointToLParam(inEditor.X, inEditor.Y)) & 0xFFFF);
  EXPECT_GT(expected, 0);
  EXPECT_EQ(editor->SelStart(), expected);
  EXPECT_EQ(editor->SelLength(), 0);
}

// The combo editor too: its caret goes to the character of its edit under the click.
TEST_F(DovAdizCellControlsTest, CaretFollowsTheClickIntoTheComboEditor) {
  grid_->SetOptions(grid_->Options() + TGridOption::goEditing);
  grid_->MouseActions().DirectEdit = true;
  grid_->MouseActions().CaretPositioning = true;
  grid_->OnGetEditorType = [](TObject*, int, int, TEditorType& AEditor) { AEditor = TEditorType::edComboEdit; };
  grid_->SetColWidths(2, 120);
  grid_->SetCells(2, 2, "abcdefghij");
  const TPoint click = CellPoint(2, 2, 30);
  ClickAt(click);
  TGridCombo* combo = nullptr;
  for (int i = 0; i < grid_->ControlCount() && !combo; ++i) combo = dynamic_cast<TGridCombo*>(grid_->Controls(i));
  ASSERT_TRUE(combo && combo->Visible() && combo->Focused());
  TCustomEdit* edit = nullptr;
  for (int i = 0; i < combo->ControlCount() && !edit; ++i) edit = dynamic_cast<TCustomEdit*>(combo->Controls(i));
  ASSERT_NE(edit, nullptr);
  const TPoint inEdit = edit->ScreenToClient(click);
  const auto expected = static_cast<int>(edit->Perform(EM_CHARFROMPOS, 0, PointToLParam(inEdit.X, inEdit.Y)) & 0xFFFF);
  EXPECT_GT(expected, 0);
  EXPECT_EQ(combo->SelStart(), expected);
  EXPECT_EQ(combo->SelLength(), 0);
}

// The keypad's decimal key types the locale's decimal separator with ExcelStyleDecimalSeparator; the
// main keyboard's point stays a point.
TEST_F(DovAdizCellControlsTest, KeypadDecimalTypesTheLocaleSeparator) {
  const TFormatSettings saved = FormatSettings();
  FormatSettings().DecimalSeparator = ',';
  grid_->SetOptions(grid_->Options() + TGridOption::goEditing);
  grid_->ExcelStyleDecimalSeparator = true;
  grid_->SetCol(2);
  grid_->SetRow(2);
  Input().PressKey(VK_DECIMAL, 0, ".");
  Settle();
  ASSERT_TRUE(grid_->EditActive());
  Input().PressKey(VK_OEM_PERIOD, 0, ".");
  Settle();
  FormatSettings() = saved;
  EXPECT_EQ(grid_->GetInplaceEditor()->Text(), ",.");
}

// Vertical panning: every pan tick moves the current row one step toward the mouse (beyond 5 pixels)
// and never the column; a left press ends panning without selecting, and no tick moves afterwards.
TEST_F(DovAdizCellControlsTest, WheelButtonPansVerticallyUntilAPress) {
  grid_->SetRowCount(40);
  grid_->SetCol(2);
  grid_->SetRow(2);
  auto ticks = [&](int n) {
    for (int i = 0; i < n; ++i) {
      Sleep(10);
      Settle();
    }
  };
  const TPoint start = CellPoint(2, 4);
  Input().MouseDown(TMouseButtonKind::Middle, start);
  Input().MouseUp(TMouseButtonKind::Middle, start);
  Input().MouseMove({start.X + 4, start.Y + 3});
  Settle();
  ticks(3);
  EXPECT_EQ(grid_->Row(), 2);  // inside the dead zone
  Input().MouseMove({start.X + 40, start.Y + 40});
  Settle();
  ticks(3);
  EXPECT_EQ(grid_->Row(), 5);
  EXPECT_EQ(grid_->Col(), 2);
  ClickAt(CellPoint(3, 1));
  ticks(3);
  EXPECT_EQ(grid_->Row(), 5);
  EXPECT_EQ(grid_->Col(), 2);
  ClickAt(CellPoint(3, 1));
  EXPECT_EQ(grid_->Row(), 1);  // panning is over: a click selects again
}

// Every pan tick shows the pan cursor of the way the mouse lies from where the wheel button went down
// (beyond 5 pixels), in the grid and in its window; a mouse move between ticks keeps it, and the end of
// panning brings back the grid's own cursor.
TEST_F(DovAdizCellControlsTest, PanCursorShowsTheWayUntilPanningEnds) {
  grid_->IntelliPan = TIntelliPan::ipBoth;
  grid_->SetRowCount(40);
  grid_->SetColCount(40);
  grid_->SetCol(20);
  grid_->SetRow(20);
  const TPoint start = CellPoint(2, 4);
  auto shown = [&] { return Input().Info(form_->BackendWindow()).cursorImage; };
  Input().MouseDown(TMouseButtonKind::Middle, start);
  Input().MouseUp(TMouseButtonKind::Middle, start);
  Settle();
  EXPECT_EQ(grid_->Cursor(), crPanNeutral);
  const struct {
    int dx, dy;
    TCursor cursor;
  } ways[] = {
      {20, 0, crPanRight},       {-20, 0, crPanLeft},     {0, 20, crPanDown},       {0, -20, crPanUp},
      {20, -20, crPanUpRight},   {-20, -20, crPanUpLeft}, {20, 20, crPanDownRight}, {-20, 20, crPanDownLeft},
      {5, -5, crPanNeutral},
  };
  for (const auto& way : ways) {
    Input().MouseMove({start.X + way.dx, start.Y + way.dy});
    Settle();
    Sleep(10);
    Settle();
    EXPECT_EQ(grid_->Cursor(), way.cursor) << way.dx << "," << way.dy;
    ASSERT_NE(Screen().Cursors(way.cursor), nullptr) << way.cursor;
    EXPECT_EQ(shown(), Screen().Cursors(way.cursor)) << way.dx << "," << way.dy;
  }
  Input().MouseMove({start.X + 20, start.Y + 20});
  Settle();
  Sleep(10);
  Settle();
  Input().MouseMove({start.X + 21, start.Y + 22});
  Settle();
  EXPECT_EQ(grid_->Cursor(), crPanDownRight);
  EXPECT_EQ(shown(), Screen().Cursors(crPanDownRight));

  Input().MouseDown(TMouseButtonKind::Middle, start);
  Input().MouseUp(TMouseButtonKind::Middle, start);
  Settle();
  EXPECT_EQ(grid_->Cursor(), crDefault);
  EXPECT_EQ(shown(), nullptr);
  EXPECT_EQ(Input().Info(form_->BackendWindow()).cursor, TBackendCursor::Arrow);
}

// With URLShow and URLEdit a right click on a link cell makes it current and opens its editor.
TEST_F(DovAdizCellControlsTest, RightClickEditsALink) {
  grid_->URLShow = true;
  grid_->URLEdit = true;
  grid_->SetOptions(grid_->Options() + TGridOption::goEditing);
  grid_->SetCells(3, 5, "http://example.org");
  Input().Click(CellPoint(3, 5), TMouseButtonKind::Right);
  Settle();
  EXPECT_EQ(grid_->Col(), 3);
  EXPECT_EQ(grid_->Row(), 5);
  EXPECT_TRUE(grid_->EditActive());
}

// With SynchWithGrid the columns keep their share of the grid's width: brought down to 1 pixel by a
// narrow grid, they come back to their widths when the grid is as wide as before.
TEST_F(DovAdizCellControlsTest, SynchronisedColumnsComeBackAfterANarrowGrid) {
  grid_->ColumnSize().SynchWithGrid = true;
  grid_->SetColWidths(2, 100);
  std::vector<int> widths;
  auto widthsAt = [&](int gridWidth) {
    grid_->SetBounds(0, 0, gridWidth, 300);
    Settle();
    widths.clear();
    for (int c = 0; c < grid_->ColCount(); ++c) widths.push_back(grid_->ColWidths(c));
    return widths;
  };
  const std::vector<int> wide = widthsAt(400);
  EXPECT_EQ(wide[2], 100);
  const std::vector<int> half = widthsAt(200);
  EXPECT_NEAR(half[2], 50, 2);
  EXPECT_NEAR(half[1], 32, 2);
  for (int width : widthsAt(8)) EXPECT_GE(width, 1);
  EXPECT_EQ(widthsAt(400), wide);
}

// The cursor tells what a press does: split over a border that sizes, the grid's select cursors over
// fixed cells that select whole rows, columns or all, the hand over a link, else the grid's own; the
// window shows the select cursors' pictures.
TEST_F(DovAdizCellControlsTest, CursorsOverBordersFixedCellsAndLinks) {
  grid_->SetOptions(grid_->Options() + TGridOption::goColSizing + TGridOption::goRowSizing);
  grid_->MouseActions().RowSelect = true;
  grid_->MouseActions().ColSelect = true;
  grid_->MouseActions().AllSelect = true;
  grid_->URLShow = true;
  grid_->SetCells(3, 3, "http://example.org");
  const struct {
    TPoint at;
    TCursor cursor;
  } cases[] = {
      {CellPoint(2, 0, 63), crHSplit},       {CellPoint(0, 3, 32, 23), crVSplit},
      {CellPoint(0, 3), crSelectRow},       {CellPoint(2, 0), crSelectColumn},
      {CellPoint(0, 0, 20), crSelectAll},   {CellPoint(3, 3, 8), crHandPoint},
      {CellPoint(2, 3), crDefault},
  };
  for (const auto& item : cases) {
    Input().MouseMove(item.at);
    Settle();
    EXPECT_EQ(grid_->Cursor(), item.cursor) << item.at.X << "," << item.at.Y;
    EXPECT_EQ(Input().Info(form_->BackendWindow()).cursorImage, Screen().Cursors(item.cursor)) << item.cursor;
  }
  ASSERT_NE(Screen().Cursors(crSelectRow), nullptr);
  EXPECT_EQ(Input().Info(form_->BackendWindow()).cursor, TBackendCursor::Arrow);
}

// A column dragged by its header with a hidden column before the drop moves the real column: the
// hidden one stays hidden and the sort column follows its data; while it moves the arrows mark the gap.
TEST_F(DovAdizCellControlsTest, ColumnMovedByMouseMovesRealColumns) {
  grid_->SetOptions(grid_->Options() + TGridOption::goColMoving);
  grid_->EnhRowColMove = true;
  for (int c = 1; c < 5; ++c) grid_->SetCells(c, 0, "h" + std::to_string(c));
  grid_->SortSettings().Column = 1;
  grid_->HideColumn(2);  // display columns 1, 2, 3 are real 1, 3, 4
  Settle();
  Input().MouseDown(TMouseButtonKind::Left, CellPoint(1, 0));
  Input().MouseMove(CellPoint(2, 0), bsLeft);
  Input().MouseMove(CellPoint(3, 0), bsLeft);
  Settle();
  int shown = 0;
  for (int i = 0; i < grid_->ComponentCount(); ++i) {
    if (auto* arrow = dynamic_cast<TArrowWindow*>(grid_->Components(i)); arrow && arrow->Visible()) {
      ++shown;
      EXPECT_EQ(arrow->Left() + arrow->Width() / 2, At(*grid_, 64 * 4, 0).X);  // the right edge of column 3
    }
  }
  EXPECT_EQ(shown, 2);
  Input().MouseUp(TMouseButtonKind::Left, CellPoint(3, 0));
  Settle();
  std::vector<std::string> heads;
  for (int c = 1; c < 5; ++c) heads.push_back(grid_->Cells(c, 0));
  EXPECT_EQ(heads, (std::vector<std::string>{"h2", "h3", "h4", "h1"}));
  EXPECT_TRUE(grid_->IsHiddenColumn(1));  // h2
  EXPECT_EQ(grid_->SortSettings().Column, 4);
  EXPECT_EQ(grid_->Cells(4, 1), "r1");
  for (int i = 0; i < grid_->ComponentCount(); ++i) {
    if (auto* arrow = dynamic_cast<TArrowWindow*>(grid_->Components(i))) {
      EXPECT_FALSE(arrow->Visible());
    }
  }
}

// A drag source: a press on the selected cell drags its text once the mouse moves more than 3 pixels;
// a refused drag selects a range instead; a press and release without a move is a click.
TEST_F(DovAdizCellControlsTest, PressOnTheSelectionArmsADrag) {
  grid_->DragDropSettings().OleDropSource = true;
  grid_->SetOptions(grid_->Options() + TGridOption::goRangeSelect);
  std::vector<std::string> dragged;
  bool allow = true;
  grid_->OnOleDrag = [&](TObject*, int, int, const std::string& data, bool& Allow) {
    dragged.push_back(data);
    Allow = allow;
  };
  ClickAt(CellPoint(1, 2));
  const TPoint press = CellPoint(1, 2);
  Input().MouseDown(TMouseButtonKind::Left, press);
  Input().MouseMove({press.X + 3, press.Y}, bsLeft);
  Settle();
  EXPECT_TRUE(grid_->calls.empty());
  Input().MouseMove({press.X + 4, press.Y}, bsLeft);
  Input().MouseUp(TMouseButtonKind::Left, {press.X + 4, press.Y});
  Settle();
  EXPECT_EQ(grid_->calls, (std::vector<std::string>{"drag cells"}));

  allow = false;
  Input().MouseDown(TMouseButtonKind::Left, press);
  Input().MouseMove(CellPoint(1, 3), bsLeft);
  Input().MouseMove(CellPoint(1, 4), bsLeft);
  Input().MouseUp(TMouseButtonKind::Left, CellPoint(1, 4));
  Settle();
  EXPECT_EQ(grid_->Selection(), (TGridRect{1, 2, 1, 4}));
  EXPECT_EQ(dragged, (std::vector<std::string>{"r2\r\n", "r2\r\n"}));
  EXPECT_EQ(grid_->calls.size(), 1u);
}

// While a column moves, the mouse past the client edge scrolls one column a move, and the drop lands
// on the column under the mouse in the scrolled grid.
TEST_F(DovAdizCellControlsTest, ColumnMoveScrollsAtTheClientEdge) {
  grid_->SetOptions(grid_->Options() + TGridOption::goColMoving);
  grid_->EnhRowColMove = true;
  grid_->SetColCount(12);
  for (int c = 1; c < 12; ++c) grid_->SetCells(c, 0, "h" + std::to_string(c));
  Settle();
  Input().MouseDown(TMouseButtonKind::Left, CellPoint(2, 0));
  const TPoint outside = At(*grid_, grid_->ClientWidth() + 5, 10);
  Input().MouseMove(outside, bsLeft);
  Settle();
  EXPECT_EQ(grid_->LeftCol(), 2);
  Input().MouseMove(At(*grid_, 64 * 3 + 32, 10), bsLeft);  // display column 4 now
  Input().MouseUp(TMouseButtonKind::Left, At(*grid_, 64 * 3 + 32, 10));
  Settle();
  EXPECT_EQ(grid_->Cells(4, 0), "h2");
}

// A right click while a column moves leaves the move and its mouse capture to the left button: the
// left release, far outside the grid, still ends the move.
TEST_F(DovAdizCellControlsTest, ARightClickDuringAColumnMoveLeavesTheReleaseToTheGrid) {
  grid_->SetOptions(grid_->Options() + TGridOption::goColMoving);
  grid_->EnhRowColMove = true;
  Settle();
  Input().MouseDown(TMouseButtonKind::Left, CellPoint(1, 0));
  Input().MouseMove(CellPoint(2, 0), bsLeft);
  Input().MouseMove(CellPoint(3, 0), bsLeft);
  Settle();
  Input().MouseDown(TMouseButtonKind::Right, CellPoint(3, 0), bsLeft);
  Input().MouseUp(TMouseButtonKind::Right, CellPoint(3, 0), bsLeft);
  Settle();
  EXPECT_EQ(grid_->GridState(), TGridState::gsColMoving);
  EXPECT_TRUE(grid_->MouseCapture());
  Input().MouseUp(TMouseButtonKind::Left, At(*grid_, 64 * 3 + 32, grid_->Height() + 40));
  Settle();
  EXPECT_EQ(grid_->GridState(), TGridState::gsNormal);
  EXPECT_FALSE(grid_->MouseCapture());
}

// FixedAsButtons: a pressed fixed cell shows pushed in (its top left dark) until the release; without
// FixedAsButtons, or on a flat grid, the press leaves the raised look.
TEST_F(DovAdizCellControlsTest, AFixedCellHeldDownShowsPushedIn) {
  grid_->SetOptions(grid_->Options() + TGridOption::goFixedVertLine + TGridOption::goFixedHorzLine);
  auto pixel = [&](int x, int y) {
    Settle();
    const TPoint at = grid_->ClientToScreen({x, y}), origin = form_->ClientToScreen({0, 0});
    const uint32_t p = Input().Info(form_->BackendWindow()).shown.ScanLine(at.Y - origin.Y)[at.X - origin.X];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  const TRect cell = grid_->CellRect(2, 0);
  const int x = cell.Left + 10, y = cell.Top + 1;  // the cell's top line, white when raised
  struct Case {
    bool asButtons, flat, pushed;
  } cases[] = {{true, false, true}, {false, false, false}, {true, true, false}};
  for (const Case& c : cases) {
    grid_->FixedAsButtons = c.asButtons;
    grid_->SetFlat(c.flat);
    const TColor up = pixel(x, y);
    Input().MouseDown(TMouseButtonKind::Left, CellPoint(2, 0));
    EXPECT_EQ(pixel(x, y) != up, c.pushed) << c.asButtons << c.flat;
    if (c.pushed) {
      EXPECT_EQ(pixel(x, y), ColorToRGB(cl3DDkShadow));
    }
    Input().MouseUp(TMouseButtonKind::Left, CellPoint(2, 0));
    EXPECT_EQ(pixel(x, y), up) << c.asButtons << c.flat;
  }
}

// The pan marker of the IntelliPan kind shows with its top-left at the pan start while panning lasts.
TEST_F(DovAdizCellControlsTest, ThePanMarkerShowsWhilePanning) {
  auto pixel = [&](TPoint client) {
    Settle();
    const TPoint at = grid_->ClientToScreen(client), origin = form_->ClientToScreen({0, 0});
    const uint32_t p = Input().Info(form_->BackendWindow()).shown.ScanLine(at.Y - origin.Y)[at.X - origin.X];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  struct Case {
    TIntelliPan kind;
    const char* bitmap;
  } cases[] = {{TIntelliPan::ipBoth, "INTLI1"}, {TIntelliPan::ipHorizontal, "INTLI2"}, {TIntelliPan::ipVertical, "INTLI3"}};
  const TPoint start{64 * 2 + 10, 24 * 3 + 5};
  for (const Case& c : cases) {
    grid_->IntelliPan = c.kind;
    TBitmap marker;
    marker.LoadFromResourceName(c.bitmap);
    ASSERT_FALSE(marker.Empty()) << c.bitmap;
    const TPoint tip{start.X + 14, start.Y + 3};  // the top arrow's tip, black in a marker pointing up
    const bool up = (marker.ScanLine(3)[14] & 0xFFFFFF) == 0;
    const TColor before = pixel(tip);
    Input().MouseDown(TMouseButtonKind::Middle, At(*grid_, start.X, start.Y));
    Input().MouseUp(TMouseButtonKind::Middle, At(*grid_, start.X, start.Y));
    EXPECT_EQ(pixel({start.X + 13, start.Y + 13}), clBlack) << c.bitmap;  // the middle dot
    EXPECT_EQ(pixel(tip), up ? clBlack : clWhite) << c.bitmap;
    Input().MouseDown(TMouseButtonKind::Middle, At(*grid_, start.X, start.Y));
    Input().MouseUp(TMouseButtonKind::Middle, At(*grid_, start.X, start.Y));
    EXPECT_EQ(pixel(tip), before) << c.bitmap;
  }
}

// Without Alt a dialog character sent through the grid reaches no accelerator of a control in it.
TEST_F(DovAdizCellControlsTest, OnlyAltMakesADialogCharacterOfGridTyping) {
  auto* button = new TButton(form_.get());
  button->SetParent(grid_);
  button->SetCaption("&Go");
  int pressed = 0;
  button->OnClick = [&](TObject*) { ++pressed; };
  Settle();
  grid_->Perform(CM_DIALOGCHAR, 'G', 0);
  EXPECT_EQ(pressed, 0);
  grid_->Perform(CM_DIALOGCHAR, 'G', LPARAM{1} << 29);
  EXPECT_EQ(pressed, 1);
}

}  // namespace
}  // namespace velmora
