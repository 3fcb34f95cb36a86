#include "grid/tests/DovAdizEditingFixture.h"

namespace velmora::testing {
namespace {

using platform::VK_END;

// A sort ends the edit first, so the typed text lands in the row being edited, wherever it moves.
TEST_F(DovAdizEditingTest, ASortEndsTheEditWithItsTextInTheMovedRow) {
  const char* keys[] = {"e", "d", "c", "b", "a"};
  for (int r = 1; r <= 5; ++r) {
    grid_->SetCells(1, r, keys[r - 1]);
    grid_->SetCells(2, r, "v" + std::to_string(r));
  }
  Edit(2, 1);
  Press(VK_END);
  Type("x");
  ASSERT_TRUE(grid_->EditActive());
  grid_->SortSettings().Column = 1;
  grid_->QSort();
  EXPECT_FALSE(grid_->EditActive());
  for (int r = 1; r <= 5; ++r) {
    const std::string expected = grid_->Cells(1, r) == "e" ? "v1x" : "v" + std::to_string(6 - r);
    EXPECT_EQ(grid_->Cells(2, r), expected) << "row " << r;
  }
  EXPECT_EQ(grid_->Cells(1, 5), "e");
}

}  // namespace
}  // namespace velmora::testing
