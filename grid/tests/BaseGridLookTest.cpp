#include <string>

#include "grid/tests/BaseGridFixture.h"
#include "grid/tests/ReferencePicture.h"

namespace velmora::testing {
namespace {

// The picture of a host table on the base grid: two fixed rows (the first a merged heading), a fixed
// column, blocks merged across, down and both ways (one with its own colour), and the grid lines.
// Compared with the reference picture of the fixtures folder; the picture is saved in the build's
// artefacts for a person to look at, and a differing one beside the test's temporary files.
TEST_F(BaseGridTest, HostTableLooksAsItsReference) {
  grid_->SetColCount(5);
  grid_->SetRowCount(8);
  grid_->SetFixedRows(2);
  grid_->SetColWidths(0, 28);
  grid_->SetColWidths(1, 90);
  grid_->SetColWidths(3, 80);
  grid_->SetDefaultRowHeight(22);
  grid_->SetCells(1, 0, "Hosts");
  grid_->MergeCells(1, 0, 4, 1);
  const char* headings[] = {"Name", "State", "Round trip", "Show"};
  for (int c = 1; c <= 4; ++c) grid_->SetCells(c, 1, headings[c - 1]);
  for (int r = 2; r < 8; ++r) grid_->SetCells(0, r, std::to_string(r - 1));
  grid_->SetCells(1, 2, "printer.local (no reply)");
  grid_->MergeCells(1, 2, 3, 1);
  grid_->SetCells(1, 3, "router");
  grid_->SetCells(2, 3, "up");
  grid_->SetCells(3, 3, "2 ms");
  grid_->SetCells(4, 3, "down");
  grid_->MergeCells(4, 3, 1, 3);
  grid_->SetCells(1, 4, "storage");
  grid_->MergeCells(1, 4, 2, 2);
  grid_->GetCellProperties(1, 4)->SetBrushColor(platform::RGB(255, 255, 200));
  grid_->SetCells(3, 4, "12 ms");
  grid_->SetCells(1, 6, "backup");
  grid_->SetCells(2, 6, "up");
  grid_->FocusCell(3, 7, true);
  Settle();

  ExpectLooksAsReference(Input().Info(form_->BackendWindow()).shown, "base_grid");
}

}  // namespace
}  // namespace velmora::testing
