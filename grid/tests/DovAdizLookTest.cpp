#include <string>

#include "grid/tests/GridPaintFixture.h"
#include "grid/tests/ReferencePicture.h"

namespace velmora::testing {
namespace {

// The grid object's picture in the test font, compared with the reference picture of the fixtures
// folder: the soft fixed look, bands, a merged block, a selection with its rectangle, a URL, markup, a
// right-aligned number, a sort indicator and the footer showing the last row.
TEST_F(GridPaintTest, TheGridObjectLooksAsItsReference) {
  grid_->SetRowCount(9);
  grid_->SetColWidths(0, 30);
  grid_->SetColWidths(1, 100);
  grid_->SetColWidths(3, 90);
  const char* heads[] = {"", "Host", "Ms", "Note", "On"};
  for (int c = 0; c < 5; ++c) grid_->SetCells(c, 0, heads[c]);
  for (int r = 1; r < 8; ++r) {
    grid_->SetCells(0, r, std::to_string(r));
    grid_->SetCells(1, r, "host" + std::to_string(r));
    grid_->SetCells(2, r, std::to_string(r * 11));
  }
  grid_->SetCells(3, 1, "http://a.b");
  grid_->URLShow = true;
  grid_->SetCells(3, 2, "<b>ab</b> <u>cd</u>");
  grid_->SetCells(3, 4, "block");
  grid_->MergeCells(3, 4, 2, 2);
  grid_->SetCells(1, 8, "total");
  grid_->SetCells(2, 8, "308");
  grid_->AutoNumAlign = true;
  grid_->Bands().SetActive(true);
  grid_->SortSettings().Show = true;
  grid_->SortSettings().Column = 1;
  grid_->SetSelectionRectangle(true);
  grid_->SetSelection({1, 6, 2, 7});
  grid_->FloatingFooter().SetVisible(true);
  Settle();

  ExpectLooksAsReference(Shown(), "grid_object");
}

}  // namespace
}  // namespace velmora::testing
