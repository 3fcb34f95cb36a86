// The demo's grid window without a display: what its handlers decide for the grid object.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GridDemoForm.h"
#include "platform/app/FormLanguage.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

using Window = TGridDemoForm;

class GridDemoFormTest : public FormTest {
protected:
  void TearDown() override {
    FormTest::TearDown();
    SetResourceLanguage("");
  }
};

// The state sorts by the words it shows, whatever colour markup they wear: in either language the
// hosts of each site that do not answer come first, the others after them.
TEST_F(GridDemoFormTest, TheStateSortsByItsWords) {
  struct Case {
    const char* language;
    const char* first;
    const char* last;
  };
  for (const Case& c : {Case{"ENG", "disconnected", "reachable"}, Case{"DE", "erreichbar", "getrennt"}}) {
    SetResourceLanguage(c.language);
    Window window(nullptr);
    window.Show();
    Settle();
    velmora::VUraRazuduVova& grid = window.Grid();
    grid.ClickSort(Window::kStateCol, false);
    for (int node = 1; node < grid.RowCount(); node += 1 + Window::kHostsPerSite) {
      std::vector<std::string> states;
      for (int r = node + 1; r <= node + Window::kHostsPerSite; ++r)
        states.push_back(grid.GetStrippedCell(Window::kStateCol, r));
      EXPECT_TRUE(std::is_sorted(states.begin(), states.end())) << c.language << ", site at row " << node;
      EXPECT_EQ(states.front(), c.first) << c.language;
      EXPECT_EQ(states.back(), c.last) << c.language;
    }
  }
}

}  // namespace
}  // namespace platform
