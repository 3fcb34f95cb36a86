// The grid's editors on a real X display (an Xvfb of the test's own), used through xdotool as a person
// uses them: typing into a cell, picking from the combo's list with the mouse, stepping a spin cell with
// the keys, Tab and Enter through a row, a check-box cell on the way and a rich cell that grows.
#include <filesystem>
#include <string>

#include "X11TestSupport.h"
#include "grid/DovAdiz.h"
#include "grid/tests/GridX11Fixture.h"
#include "platform/app/Application.h"
#include "platform/core/Files.h"
#include "platform/core/FormatSettings.h"
#include "platform/gfx/Png.h"
#include "platform/ui/Forms.h"

namespace velmora::testing {
namespace {

using namespace platform;
using platform::test::PumpFor;
using platform::test::PumpUntil;

class TX11Grid : public VUraRazuduVova {
public:
  using VUraRazuduVova::VUraRazuduVova;
  using VUraRazuduVova::ComboEditor;
  using VUraRazuduVova::RichEditor;
  using VUraRazuduVova::UnitEditBtnEditor;
};

class DovAdizEditingX11Test : public GridX11Fixture {
protected:
  void SetUp() override {
    GridX11Fixture::SetUp();
    if (HasFatalFailure()) return;
    form_->SetBounds(100, 100, 440, 170);
    form_->SetCaption("Hosts");
    form_->Font().SetName("Tahoma");
    form_->Font().SetSize(8);
    grid_ = new TX11Grid(form_.get());
    grid_->SetParent(form_.get());
    grid_->SetBounds(0, 0, 440, 170);
    grid_->SetColCount(4);
    grid_->SetRowCount(4);
    grid_->SetColWidths(1, 140);
    grid_->SetColWidths(2, 110);
    grid_->SetOptions(grid_->Options() + TGridOption::goEditing + TGridOption::goTabs);
    for (const char* mode : {"hide", "maximize", "minimize", "normal"}) grid_->AddComboString(mode);
    grid_->OnGetEditorType = [this](TObject*, int ACol, int, TEditorType& AEditor) { AEditor = kinds_.at(ACol); };
    form_->Show();
    PumpFor(300);
  }
  void TearDown() override {
    GridX11Fixture::TearDown();
    FormatSettings() = savedSettings_;
  }

  TPoint CellCentre(int c, int r) const { return GridX11Fixture::CellCentre(*grid_, c, r); }

  TFormatSettings savedSettings_ = FormatSettings();
  // The editor kind of each column.
  std::vector<TEditorType> kinds_{TEditorType::edNormal, TEditorType::edEditBtn, TEditorType::edComboList,
                                  TEditorType::edSpinEdit};
  TX11Grid* grid_ = nullptr;
};

TEST_F(DovAdizEditingX11Test, APersonTypesPicksStepsAndWalksThroughARow) {
  // A text cell: a click makes it current, typing opens the edit with button on the first character.
  ClickAt(CellCentre(1, 1));
  Xdotool({"type", "--delay", "30", "host-1.lan"});
  Screenshot("x11_editor_typing");
  Xdotool({"key", "Tab"});
  EXPECT_EQ(grid_->Cells(1, 1), "host-1.lan");
  ASSERT_EQ(grid_->Col(), 2);

  // The combo cell: a click on the current cell opens the editor, the drop button the list, and a
  // click on a row picks it.
  ClickAt(CellCentre(2, 1));
  ASSERT_TRUE(grid_->EditActive());
  const TRect cell = grid_->CellRect(2, 1);
  ClickAt(grid_->ClientToScreen({cell.Right - 8, (cell.Top + cell.Bottom) / 2}));
  ASSERT_TRUE(grid_->ComboEditor()->DroppedDown());
  const TRect list = grid_->ComboEditor()->DropDownRect();
  const int itemHeight = grid_->ComboEditor()->ItemHeight();
  Screenshot("x11_editor_combo");
  ClickAt({list.Left + 20, list.Top + 1 + 2 * itemHeight + itemHeight / 2});
  EXPECT_EQ(grid_->ComboEditor()->Text(), "minimize");
  Xdotool({"key", "Return"});
  EXPECT_EQ(grid_->Cells(2, 1), "minimize");
  EXPECT_FALSE(grid_->EditActive());

  // The spin cell: F2 opens it, Page Up steps it, Enter stores it.
  grid_->SetCells(3, 1, "5");
  Xdotool({"key", "Tab", "F2", "Prior", "Prior"});
  Screenshot("x11_editor_spin");
  Xdotool({"key", "Return"});
  EXPECT_EQ(grid_->Cells(3, 1), "7");

  // Enter walks the next row with AdvanceOnEnter.
  grid_->Navigation().AdvanceOnEnter = true;
  ClickAt(CellCentre(1, 2));
  Xdotool({"type", "--delay", "30", "a"});
  Screenshot("x11_editor_row2");
  Xdotool({"key", "Return"});
  EXPECT_EQ(grid_->Col(), 2);
  Xdotool({"key", "F2", "End", "Return"});
  EXPECT_EQ(grid_->Cells(1, 2), "a");
  EXPECT_EQ(grid_->Cells(2, 2), "normal");
  EXPECT_EQ(grid_->Col(), 3);
}

// The date picker's calendar and the unit edit's menu open over the grid in windows of their own, and
// closing them with Escape leaves the cells as they were.
TEST_F(DovAdizEditingX11Test, CalendarAndUnitMenuOpenOverTheGrid) {
  kinds_ = {TEditorType::edNormal, TEditorType::edDateEdit, TEditorType::edUnitEditBtn, TEditorType::edNormal};
  FormatSettings().DateSeparator = '.';
  FormatSettings().ShortDateFormat = "dd.mm.yyyy";
  grid_->SetCells(1, 1, "24.12.2026");
  grid_->SetCells(2, 1, "12 kg");
  grid_->UnitEditBtnEditor()->Units().SetText("mm\r\ncm\r\n kg\r\n");
  ClickAt(CellCentre(1, 1));
  Xdotool({"key", "F2", "F4"});
  ASSERT_TRUE(grid_->GetDateTimePicker()->DroppedDown());
  Screenshot("x11_editor_calendar");
  Xdotool({"key", "Escape", "Escape"});
  EXPECT_FALSE(grid_->EditActive());
  EXPECT_EQ(grid_->Cells(1, 1), "24.12.2026");

  ClickAt(CellCentre(2, 1));
  Xdotool({"key", "F2", "F4"});
  Screenshot("x11_editor_unit_menu");
  Xdotool({"key", "Escape", "Escape"});
  EXPECT_FALSE(grid_->EditActive());
  EXPECT_EQ(grid_->Cells(2, 1), "12 kg");
}

// A number typed into a right-aligned cell stands at the right while it is typed; Enter walks on to a
// check-box cell, which opens no editor and takes Space, and on to a rich cell, whose row grows with
// the lines typed into it.
TEST_F(DovAdizEditingX11Test, RightAlignedCheckBoxAndGrowingRichCells) {
  kinds_ = {TEditorType::edNormal, TEditorType::edNormal, TEditorType::edNormal, TEditorType::edRichEdit};
  grid_->OnGetAlignment = [](TObject*, int, int ACol, TAlignment& HAlign, TVAlignment&) {
    if (ACol == 1) HAlign = TAlignment::taRightJustify;
  };
  grid_->AddCheckBox(2, 1, false, false);
  grid_->SetColWidths(3, 60);
  grid_->SizeWhileTyping().Height = true;
  grid_->Navigation().AdvanceOnEnter = true;
  ClickAt(CellCentre(1, 1));
  Xdotool({"type", "--delay", "30", "1234"});
  Screenshot("x11_editor_right_aligned");
  Xdotool({"key", "Return"});
  EXPECT_EQ(grid_->Cells(1, 1), "1234");
  ASSERT_EQ(grid_->Col(), 2);
  EXPECT_FALSE(grid_->EditActive());
  Xdotool({"key", "space"});
  bool checked = false;
  EXPECT_TRUE(grid_->GetCheckBoxState(2, 1, checked) && checked);
  EXPECT_FALSE(grid_->EditActive());

  Xdotool({"key", "Return"});
  ASSERT_EQ(grid_->Col(), 3);
  const int before = grid_->RowHeights(1);
  Xdotool({"key", "F2"});
  ASSERT_TRUE(grid_->RichEditor()->Visible());
  Xdotool({"type", "--delay", "30", "abcd abcd abcd abcd"});
  Screenshot("x11_editor_rich_grown");
  EXPECT_GT(grid_->RowHeights(1), before);
  EXPECT_EQ(grid_->RichEditor()->Height(), grid_->RowHeights(1) - 1);
  ClickAt(CellCentre(1, 2));
  EXPECT_FALSE(grid_->EditActive());
  EXPECT_TRUE(grid_->Cells(3, 1).starts_with("{\\rtf"));
}

}  // namespace
}  // namespace velmora::testing
