// The demo's grid window on a real X display (an Xvfb of the test's own), used through xdotool as a
// person uses it: a header click sorts the hosts of each site and a second one reverses them, a column
// border dragged sizes its column (its width shown beside the mouse meanwhile), a click on a node
// contracts and expands its site, a click ticks a check box and the wheel scrolls. The screen after
// each step is kept in artefacts/demo/.
#include <algorithm>
#include <string>
#include <vector>

#include "GridDemoForm.h"
#include "grid/tests/GridX11Fixture.h"
#include "platform/app/FormLanguage.h"

namespace velmora::testing {
namespace {

using namespace platform;
using Window = TGridDemoForm;

constexpr int kFirstSite = 1;  // the node row of the first site; its hosts follow it
constexpr int kRows = 1 + Window::kSites * (1 + Window::kHostsPerSite);

std::string Text(int value) { return std::to_string(value); }

class GridDemoX11Test : public GridX11Fixture {
protected:
  void SetUp() override {
    GridX11Fixture::SetUp();
    if (HasFatalFailure()) return;
    SetResourceLanguage("ENG");
    form_ = std::make_unique<Window>(nullptr);
    form_->SetLeft(40);
    form_->SetTop(30);
    form_->Show();
    test::PumpFor(300);
  }
  void TearDown() override {
    GridX11Fixture::TearDown();
    SetResourceLanguage("");
  }

  Window& Demo() { return static_cast<Window&>(*form_); }
  VUraRazuduVova& Grid() { return Demo().Grid(); }
  TPoint CellCentre(int c, int r) { return GridX11Fixture::CellCentre(Grid(), c, r); }
  // The hint window that the grid makes for itself, once it has made one.
  THintWindow* SizingHint() {
    for (int i = 0; i < Grid().ComponentCount(); ++i)
      if (auto* hint = dynamic_cast<THintWindow*>(Grid().Components(i))) return hint;
    return nullptr;
  }
  // The host names of the first site from top to bottom.
  std::vector<std::string> FirstSiteHosts() {
    std::vector<std::string> hosts;
    for (int r = kFirstSite + 1; r <= kFirstSite + Window::kHostsPerSite; ++r)
      hosts.push_back(Grid().Cells(Window::kHostCol, r));
    return hosts;
  }
};

TEST_F(GridDemoX11Test, APersonSortsSizesExpandsTicksAndScrolls) {
  VUraRazuduVova& grid = Grid();
  Screenshot("grid-start");

  // A click on the Host header sorts the hosts within each site; the node rows stay where they are.
  ClickAt(CellCentre(Window::kHostCol, 0));
  std::vector<std::string> hosts = FirstSiteHosts();
  EXPECT_TRUE(std::is_sorted(hosts.begin(), hosts.end()));
  EXPECT_EQ(hosts.front(), "pc-001");
  EXPECT_EQ(grid.Cells(Window::kHostCol, kFirstSite + 1 + Window::kHostsPerSite), "<b>Servers</b>");
  EXPECT_EQ(grid.Cells(Window::kHostCol, kFirstSite + 2 + Window::kHostsPerSite), "srv-001");
  Screenshot("grid-sorted");

  // A second click reverses the order.
  ClickAt(CellCentre(Window::kHostCol, 0));
  hosts = FirstSiteHosts();
  EXPECT_TRUE(std::is_sorted(hosts.rbegin(), hosts.rend()));
  EXPECT_EQ(hosts.front(), "pc-080");
  Screenshot("grid-sorted-down");

  // The border after the Address column dragged 40 pixels to the right widens it, shows the width
  // beside the mouse meanwhile and sorts nothing.
  const int width = grid.ColWidths(Window::kAddressCol);
  const TRect head = grid.CellRect(Window::kAddressCol, 0);
  const TPoint border = grid.ClientToScreen({head.Right - 1, (head.Top + head.Bottom) / 2});
  Xdotool({"mousemove", Text(border.X), Text(border.Y), "mousedown", "1", "mousemove", Text(border.X + 20),
           Text(border.Y), "mousemove", Text(border.X + 40), Text(border.Y)});
  EXPECT_EQ(grid.ColWidths(Window::kAddressCol), width + 40);
  THintWindow* hint = SizingHint();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(hint->Visible());
  EXPECT_EQ(hint->Caption(), "cw=<b>" + Text(width + 40) + "</b>");
  Screenshot("grid-sizing");
  Xdotool({"mouseup", "1"});
  EXPECT_EQ(grid.ColWidths(Window::kAddressCol), width + 40);
  EXPECT_FALSE(hint->Visible());
  EXPECT_EQ(FirstSiteHosts(), hosts);
  Screenshot("grid-sized");

  // A click on the first site's node contracts it: its hosts go and the next site follows it.
  ClickAt(CellCentre(Window::kNodeCol, kFirstSite));
  EXPECT_TRUE(grid.GetNodeState(kFirstSite));
  EXPECT_EQ(grid.RowCount(), kRows - Window::kHostsPerSite);
  EXPECT_EQ(grid.Cells(Window::kHostCol, kFirstSite + 1), "<b>Servers</b>");
  Screenshot("grid-contracted");

  // A second click, apart from the first so that it makes no double click, expands it again, in the
  // order it had.
  const TPoint node = CellCentre(Window::kNodeCol, kFirstSite);
  ClickAt({node.X + 8, node.Y});
  EXPECT_FALSE(grid.GetNodeState(kFirstSite));
  EXPECT_EQ(grid.RowCount(), kRows);
  EXPECT_EQ(FirstSiteHosts(), hosts);
  Screenshot("grid-expanded");

  // A click on a Watched cell ticks its box, or clears it; the status line names the cell.
  constexpr int kTicked = kFirstSite + 3;
  const std::string before = grid.Cells(Window::kWatchedCol, kTicked);
  ClickAt(CellCentre(Window::kWatchedCol, kTicked));
  EXPECT_EQ(grid.Cells(Window::kWatchedCol, kTicked), before == grid.CheckTrue ? grid.CheckFalse : grid.CheckTrue);
  EXPECT_EQ(Demo().StatusText(), " Row " + Text(kTicked) + ", Watched");
  Screenshot("grid-checked");

  // Ten notches of the wheel move the current row down three rows each and scroll it into view, at the
  // bottom of the window.
  const int row = grid.Row();
  const TPoint wheelAt = CellCentre(Window::kStateCol, 5);
  Xdotool({"mousemove", Text(wheelAt.X), Text(wheelAt.Y), "click", "--repeat", "10", "--delay", "30", "5"});
  EXPECT_EQ(grid.Row(), row + 30);
  EXPECT_EQ(grid.TopRow() + grid.VisibleRowCount() - 1, grid.Row());
  EXPECT_EQ(Demo().StatusText(), " Row " + Text(grid.Row()) + ", Watched");
  Screenshot("grid-wheel");
}

}  // namespace
}  // namespace velmora::testing
