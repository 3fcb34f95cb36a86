// The grid's mouse on a real X display (an Xvfb of the test's own), used through xdotool as a person
// uses it: a host table of a few hundred rows sorted by a header click, a column sized by its border,
// a node contracted, a check box ticked and the wheel turned, and the grid panned with the wheel button
// while the server shows the pan cursors. The screens are kept in artefacts/grid/.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "X11TestSupport.h"
#include "grid/DovAdiz.h"
#include "grid/GridCursors.h"
#include "grid/tests/GridX11Fixture.h"
#include "platform/app/Application.h"
#include "platform/ui/Forms.h"

// Last: its X headers' macros would break the declarations above.
#include "X11ShownCursor.h"

namespace velmora::testing {
namespace {

using namespace platform;
using platform::test::PumpFor;

constexpr int kHosts = 300;
constexpr int kHostsPerGroup = 10;

std::string Text(int value) { return std::to_string(value); }

class DovAdizInputX11Test : public GridX11Fixture {
protected:
  void SetUp() override {
    GridX11Fixture::SetUp();
    if (HasFatalFailure()) return;
    form_->SetBounds(100, 100, 520, 320);
    form_->SetCaption("Hosts");
    grid_ = new VUraRazuduVova(form_.get());
    grid_->SetParent(form_.get());
    grid_->SetAlign(TAlign::alClient);
    grid_->Font().SetName("Arial");
    grid_->FixedFont().SetName("Arial");
    grid_->SetColCount(5);
    grid_->SetRowCount(kHosts + 1);
    grid_->SetColWidths(0, 40);
    grid_->SetColWidths(1, 130);
    grid_->SetColWidths(4, 150);
    grid_->SetOptions(grid_->Options() + TGridOption::goColSizing);
    const char* heads[] = {"", "Host", "Checked", "Loss", "State"};
    for (int c = 0; c < 5; ++c) grid_->SetCells(c, 0, heads[c]);
    for (int r = 1; r <= kHosts; ++r) {
      grid_->SetCells(1, r, "host" + Text(1000 - r) + ".lan");
      grid_->SetCells(2, r, r % 4 ? "Y" : "N");
      grid_->AddCheckBox(2, r, false, true);
      grid_->SetCells(3, r, Text(r * 7 % 100));
      grid_->AddProgress(3, r, clLime, clWhite);
      grid_->SetCells(4, r, r % 5 ? "up" : "<font color=\"clRed\"><b>down</b></font> since 10:02");
    }
    grid_->SortSettings().Show = true;
    form_->Show();
    PumpFor(300);
  }
  TPoint CellCentre(int c, int r) const { return GridX11Fixture::CellCentre(*grid_, c, r); }

  VUraRazuduVova* grid_ = nullptr;
};

TEST_F(DovAdizInputX11Test, APersonSortsSizesContractsTicksAndScrolls) {
  // A click on the Host header sorts the hosts ascending.
  ClickAt(CellCentre(1, 0));
  EXPECT_EQ(grid_->Cells(1, 1), "host700.lan");
  Screenshot("x11_input_sorted");

  // The border after Host dragged 40 pixels to the right widens the column and does not sort again.
  const TRect head = grid_->CellRect(1, 0);
  const TPoint border = grid_->ClientToScreen({head.Right - 1, (head.Top + head.Bottom) / 2});
  Xdotool({"mousemove", Text(border.X), Text(border.Y), "mousedown", "1", "mousemove", Text(border.X + 20),
           Text(border.Y), "mousemove", Text(border.X + 40), Text(border.Y), "mouseup", "1"});
  EXPECT_EQ(grid_->ColWidths(1), 170);
  EXPECT_EQ(grid_->Cells(1, 1), "host700.lan");

  // Groups of ten hosts under nodes; a click on the first node contracts its rows.
  for (int r = 1; r <= kHosts; r += kHostsPerGroup) grid_->AddNode(r, kHostsPerGroup - 1);
  Application().ProcessMessages();
  ClickAt(CellCentre(0, 1));
  EXPECT_TRUE(grid_->GetNodeState(1));
  EXPECT_EQ(grid_->RowCount(), kHosts + 1 - (kHostsPerGroup - 1));

  // A click on the check box of the second group's first host flips it (a data check box: "Y", "N").
  const std::string before = grid_->Cells(2, 2);
  ClickAt(CellCentre(2, 2));
  EXPECT_EQ(grid_->Cells(2, 2), before == "Y" ? "N" : "Y");
  Screenshot("x11_input_node_check");

  // Two notches of the wheel move the current row six rows down.
  const int row = grid_->Row();
  Xdotool({"mousemove", Text(CellCentre(3, 4).X), Text(CellCentre(3, 4).Y), "click", "5", "click", "5"});
  EXPECT_EQ(grid_->Row(), row + 6);
  Screenshot("x11_input_wheel");

  // Resting the mouse on a comment cell shows the comment at the cell's top-right corner.
  grid_->SetShowHint(true);
  grid_->AddComment(4, 3, "checked by hand");
  Xdotool({"mousemove", Text(CellCentre(4, 3).X), Text(CellCentre(4, 3).Y)});
  PumpFor(1200);
  Screenshot("x11_input_comment_hint");
}

// The wheel button pans: the X server shows the grid's pan cursor for the way the mouse lies from where
// the button went down, and its select cursor over the fixed column once a click has ended panning.
TEST_F(DovAdizInputX11Test, APersonPansAndSeesTheWayOnTheCursor) {
  grid_->IntelliPan = TIntelliPan::ipBoth;
  const TPoint start = CellCentre(2, 5);
  auto shows = [&](TCursor number) {
    const HCURSOR expected = platform::Screen().Cursors(number);
    std::optional<CursorImage> shown;
    const bool same = platform::test::PumpUntil([&] {
      shown = platform::test::ShownCursor(server_.Display());
      return shown && expected && shown->rows == expected->rows;
    }, 2000);
    EXPECT_TRUE(same) << number << (shown ? "" : ": the server does not tell");
    if (same) {
      EXPECT_EQ((TPoint{shown->hotX, shown->hotY}), (TPoint{expected->hotX, expected->hotY})) << number;
    }
  };
  Xdotool({"mousemove", Text(start.X), Text(start.Y), "click", "2"});
  shows(crPanNeutral);
  Xdotool({"mousemove", Text(start.X), Text(start.Y + 40)});
  shows(crPanDown);
  Xdotool({"mousemove", Text(start.X - 40), Text(start.Y - 40)});
  shows(crPanUpLeft);
  Xdotool({"click", "1"});
  grid_->MouseActions().RowSelect = true;
  const TPoint fixed = CellCentre(0, 3);
  Xdotool({"mousemove", Text(fixed.X), Text(fixed.Y)});
  Xdotool({"mousemove", Text(fixed.X + 1), Text(fixed.Y)});
  shows(crSelectRow);
}

}  // namespace
}  // namespace velmora::testing
