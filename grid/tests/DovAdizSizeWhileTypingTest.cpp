#include "grid/tests/DovAdizEditingFixture.h"

namespace velmora::testing {
namespace {

TEST_F(DovAdizEditingTest, TheCellGrowsWithTheTextTyped) {
  grid_->SizeWhileTyping().Width = true;
  grid_->SetColWidths(1, 30);
  Edit(1, 1);
  Type("abcdefghijkl");
  EXPECT_EQ(grid_->Cells(1, 1), "abcdefghijkl");
  const int wide = grid_->ColWidths(1);
  EXPECT_GT(wide, 30);
  grid_->SetCol(2);
  grid_->AutoSizeCol(1);
  EXPECT_EQ(grid_->ColWidths(1), wide);  // as wide as the text needs

  grid_->SizeWhileTyping().Width = false;
  grid_->SizeWhileTyping().Height = true;
  grid_->SetWordWrap(true);
  grid_->SetColWidths(2, 40);
  Edit(2, 2);
  const int before = grid_->RowHeights(2);
  Type("abcd abcd abcd abcd");
  EXPECT_GT(grid_->RowHeights(2), before);
  EXPECT_EQ(grid_->ColWidths(2), 40);
}

}  // namespace
}  // namespace velmora::testing
