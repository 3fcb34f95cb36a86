// The clipboard shortcuts of the grid through the headless backend's clipboard.

#include <string>

#include "grid/tests/DovAdizFixture.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/VirtualKeys.h"

namespace velmora::testing {
namespace {

using platform::bsCtrl;
using platform::bsShift;
using platform::Clipboard;
using platform::TGridOption;
using platform::TGridRect;

class ClipboardKeysTest : public DovAdizTest {
protected:
  void SetUp() override {
    DovAdizTest::SetUp();
    grid_->Navigation().AllowClipboardShortCuts = true;
    grid_->SetOptions(grid_->Options() + TGridOption::goEditing + TGridOption::goRangeSelect);
    grid_->SetFocus();
    Settle();
  }
  void Press(int key, unsigned shift) {
    Input().PressKey(key, shift);
    Settle();
  }
};

// Ctrl+C and Ctrl+Insert copy the selection as TAB and CR LF separated text without a last line break;
// markup travels as it is unless CopyHTMLTagsToClipboard is off.
TEST_F(ClipboardKeysTest, CopyGivesTheSelectionAsTabbedLines) {
  grid_->SetCells(1, 1, "a"), grid_->SetCells(2, 1, "<b>b</b>");
  grid_->SetCells(1, 2, "c"), grid_->SetCells(2, 2, "d");
  grid_->SetSelection(TGridRect{1, 1, 2, 2});
  Press('C', bsCtrl);
  EXPECT_EQ(Clipboard().AsText(), "a\t<b>b</b>\r\nc\td");
  grid_->Navigation().CopyHTMLTagsToClipboard = false;
  Clipboard().SetAsText("");
  Press(platform::VK_INSERT, bsCtrl);
  EXPECT_EQ(Clipboard().AsText(), "a\tb\r\nc\td");
}

// Shift+Delete cuts: the text goes to the clipboard and the cells that may be edited are emptied; a
// cut that OnClipboardCut refuses leaves cells and clipboard alone.
TEST_F(ClipboardKeysTest, CutEmptiesOnlyEditableCellsUnlessRefused) {
  grid_->SetCells(1, 1, "keep"), grid_->SetCells(2, 1, "go");
  grid_->OnCanEditCell = [](platform::TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol != 1; };
  grid_->SetSelection(TGridRect{1, 1, 2, 1});
  bool allow = false;
  grid_->OnClipboardCut = [&](platform::TObject*, bool& Allow) { Allow = allow; };
  Clipboard().SetAsText("before");
  Press(platform::VK_DELETE, bsShift);
  EXPECT_EQ(Clipboard().AsText(), "before");
  EXPECT_EQ(grid_->Cells(2, 1), "go");
  allow = true;
  Press('X', bsCtrl);
  EXPECT_EQ(Clipboard().AsText(), "keep\tgo");
  EXPECT_EQ(grid_->Cells(1, 1), "keep");
  EXPECT_EQ(grid_->Cells(2, 1), "");
}

// Ctrl+V and Shift+Insert paste from the selection's top-left cell: the grid grows by columns and rows
// as far as it is allowed to, cells that may not be edited keep their text, and a text that ends with a
// line break adds no empty row.
TEST_F(ClipboardKeysTest, PasteFillsFromTheSelectionAndGrowsAsAllowed) {
  struct Case {
    bool colGrow, rowGrow;
    int cols, rows;
  } cases[] = {{true, true, 6, 7}, {false, false, 5, 6}};
  for (const Case& c : cases) {
    grid_->SetColCount(5), grid_->SetRowCount(6);
    grid_->Navigation().AllowClipboardColGrow = c.colGrow;
    grid_->Navigation().AllowClipboardRowGrow = c.rowGrow;
    grid_->SetSelection(TGridRect{4, 5, 4, 5});
    Clipboard().SetAsText("a\tb\r\nc\td\r\n");
    Press('V', bsCtrl);
    EXPECT_EQ(grid_->ColCount(), c.cols) << c.colGrow;
    EXPECT_EQ(grid_->RowCount(), c.rows) << c.rowGrow;
    EXPECT_EQ(grid_->Cells(4, 5), "a");
    if (c.colGrow) {
      EXPECT_EQ(grid_->Cells(5, 6), "d");
    }
  }
  grid_->SetCells(2, 2, "fixed");
  grid_->OnCanEditCell = [](platform::TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol != 2; };
  grid_->SetSelection(TGridRect{1, 2, 1, 2});
  Clipboard().SetAsText("x\ty");
  Press(platform::VK_INSERT, bsShift);
  EXPECT_EQ(grid_->Cells(1, 2), "x");
  EXPECT_EQ(grid_->Cells(2, 2), "fixed");
  grid_->Navigation().AllowClipboardAlways = true;
  Press(platform::VK_INSERT, bsShift);
  EXPECT_EQ(grid_->Cells(2, 2), "y");
}

}  // namespace
}  // namespace velmora::testing
