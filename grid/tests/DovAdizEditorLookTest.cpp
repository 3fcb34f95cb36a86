// How the grid's editors look over their cells, read from the pixels the form shows: the text editor
// takes the cell's alignment and the grid's wrapping, the rich editor grows with its text.
#include <string>

#include "grid/tests/GridPaintFixture.h"
#include "platform/core/Utf8.h"
#include "platform/ui/VirtualKeys.h"

namespace velmora::testing {
namespace {

using namespace platform;

class DovAdizEditorLookTest : public GridPaintTest {
protected:
  void SetUp() override {
    GridPaintTest::SetUp();
    grid_->SetOptions(grid_->Options() + TGridOption::goEditing);
    grid_->OnGetEditorType = [this](TObject*, int, int, TEditorType& AEditor) { AEditor = kind_; };
    grid_->SetFocus();
    Settle();
  }
  // Opens the editor of (c, r) with F2 and puts the caret at the end, nothing selected.
  void Edit(int c, int r) {
    grid_->HideInplaceEdit();
    grid_->SetCol(c);
    grid_->SetRow(r);
    Input().PressKey(VK_F2, 0, "");
    Input().PressKey(VK_END, 0, "");
    Settle();
  }
  void Type(const std::string& text) {
    for (size_t i = 0; i < text.size(); i = NextCodePoint(text, i)) Input().PressKey(0xBA, 0, text.substr(i, 1));
    Settle();
  }

  TEditorType kind_ = TEditorType::edNormal;
};

// The text editor stands its text where the cell does: at the right for a right-aligned cell, and at
// the left again in the next left-aligned cell.
TEST_F(DovAdizEditorLookTest, TheTextEditorFollowsTheCellsAlignment) {
  grid_->SetColWidths(2, 120);
  grid_->OnGetAlignment = [](TObject*, int, int ACol, TAlignment& HAlign, TVAlignment&) {
    if (ACol == 2) HAlign = TAlignment::taRightJustify;
  };
  for (int c : {1, 2}) grid_->SetCells(c, 1, "abc");
  for (const int c : {1, 2, 1}) {
    SCOPED_TRACE(c);
    Edit(c, 1);
    ASSERT_TRUE(grid_->EditActive());
    const TRect cell = grid_->CellRect(c, 1);
    const TRect ink = CellInk(c, 1);
    ASSERT_FALSE(IsRectEmpty(ink));
    if (c == 2) {
      SaveArtefact("editor_right_aligned");
      EXPECT_GT(ink.Left, (cell.Left + cell.Right) / 2);
      EXPECT_LE(cell.Right - ink.Right, 6);
    } else {
      EXPECT_LE(ink.Left - cell.Left, 6);
      EXPECT_LT(ink.Right, (cell.Left + cell.Right) / 2);
    }
  }
  // Walking out of the left cell's text with the editor open: the editor opens at the right of the next
  // cell and keeps what is typed.
  grid_->Navigation().CursorWalkEditor = true;
  Input().PressKey(VK_RIGHT, 0, "");
  Input().PressKey(VK_END, 0, "");
  Input().PressKey(0xBA, 0, "x");
  Settle();
  ASSERT_EQ(grid_->Col(), 2);
  EXPECT_TRUE(grid_->GetInplaceEditor()->Focused());
  EXPECT_EQ(grid_->Cells(2, 1), "abcx");
  const TRect cell = grid_->CellRect(2, 1);
  EXPECT_GT(CellInk(2, 1).Left, (cell.Left + cell.Right) / 2);
}

// An editor made while the grid did not wrap wraps its text once the grid does, as the cell shows it.
TEST_F(DovAdizEditorLookTest, TheTextEditorWrapsOnceTheGridWraps) {
  grid_->SetCells(1, 1, "abcd abcd abcd");
  grid_->SetColWidths(1, 50);
  grid_->SetRowHeights(1, 50);
  grid_->Multilinecells = true;
  Edit(1, 1);
  ASSERT_TRUE(grid_->EditActive());
  EXPECT_EQ(InkLines(grid_->CellRect(1, 1)), 1);
  grid_->HideInplaceEdit();
  grid_->SetWordWrap(true);
  EXPECT_TRUE(static_cast<TExInplaceEdit*>(grid_->GetInplaceEditor())->WordWrap());
  Edit(1, 1);
  ASSERT_TRUE(grid_->EditActive());
  EXPECT_EQ(InkLines(grid_->CellRect(1, 1)), 3);
}

// With SizeWhileTyping.Height the rich editor and its row grow with the wrapped text, as long as the
// editor stays inside the grid; without it they keep their size.
TEST_F(DovAdizEditorLookTest, TheRichEditorGrowsWithItsText) {
  kind_ = TEditorType::edRichEdit;
  grid_->SetColWidths(1, 40);
  const int rowHeight = grid_->RowHeights(1);
  // The last row just fits at the grid's bottom.
  grid_->SetRowHeights(4, grid_->ClientHeight() - rowHeight - 2 - grid_->CellRect(1, 4).Top);
  struct Case {
    const char* name;
    bool sizeHeight;
    int row;
    bool grows;
  } cases[] = {
      {"at the grid's bottom", true, 5, false},
      {"not asked to", false, 2, false},
      {"growing", true, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->SizeWhileTyping().Height = c.sizeHeight;
    const int before = grid_->RowHeights(c.row);
    Edit(1, c.row);
    TExRichEdit* editor = grid_->RichEditor();
    ASSERT_TRUE(editor->Visible());
    Type("abcd abcd abcd abcd");
    EXPECT_GT(editor->ReqHeight(), rowHeight);
    if (c.grows) {
      SaveArtefact("editor_rich_grown");
      EXPECT_EQ(InkLines(grid_->CellRect(1, c.row)), 4);
      EXPECT_GE(editor->Height(), editor->ReqHeight());
      EXPECT_EQ(grid_->RowHeights(c.row), editor->Height() + 1);
    } else {
      EXPECT_EQ(grid_->RowHeights(c.row), before);
      EXPECT_EQ(editor->Height(), before - 1);
    }
    EXPECT_LE(editor->Top() + editor->Height(), grid_->ClientHeight());
    grid_->HideInplaceEdit();
  }
}

}  // namespace
}  // namespace velmora::testing
