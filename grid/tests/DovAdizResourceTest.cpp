#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "grid/DovAdiz.h"
#include "grid/DovAdizClasses.h"
#include "platform/gfx/Png.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/tests/FormFixture.h"

namespace velmora::testing {
namespace {

std::string ReadFixture(const std::string& name) {
  std::ifstream file(std::string(GRID_FIXTURES) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The configurator's host grid from its form resource: the picture is saved in the build's artefacts
// (grid/host_grid.png) for a person to look at.
class DovAdizResourceTest : public platform::FormTest {};

TEST_F(DovAdizResourceTest, TheHostGridLoadsWithItsSettingsAndShowsItsEightHeaders) {
  PublishDovAdizClasses();
  platform::TForm form(nullptr);
  auto* images = new platform::TImageList(&form);
  images->SetName("ImageList1");
  platform::ReadFormText(form, ReadFixture("HostGrid.DE.form"), "HostGrid.DE", {});
  auto& grid = dynamic_cast<VUraRazuduVova&>(*form.FindComponent("Grid1"));

  const char* headers[] = {"Host",        "Ausführen wenn Host nicht erreichbar", "Ausführen wenn Host erreichbar ist",
                           "Darstellung", "An/Aus", "Statusänderung", "Status", "Zeit"};
  const int widths[] = {50, 222, 183, 181, 70, 75, 64, 64};
  ASSERT_EQ(grid.ColCount(), 8);
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(grid.Cells(c, 0), headers[c]) << c;
    EXPECT_EQ(grid.ColWidths(c), widths[c]) << c;
  }
  EXPECT_EQ(grid.FixedRows(), 1);
  EXPECT_EQ(grid.FixedCols(), 0);
  EXPECT_EQ(grid.FixedRightCols(), 4);
  EXPECT_EQ(grid.DefaultRowHeight(), 21);
  EXPECT_EQ(grid.GridImages(), images);
  EXPECT_EQ(grid.PopupMenu(), form.FindComponent("Menu2"));
  EXPECT_TRUE(grid.Options().Contains(platform::TGridOption::goColSizing));
  EXPECT_TRUE(grid.Options().Contains(platform::TGridOption::goTabs));
  EXPECT_TRUE(grid.MouseActions().RowSelect);
  EXPECT_EQ(grid.Navigation().InsertPosition, TInsertPosition::pInsertAfter);
  EXPECT_EQ(grid.ColumnSize().Section, "GridSize");
  EXPECT_EQ(grid.ColumnSize().Location, TColumnSizeLocation::clIniFile);
  EXPECT_TRUE(grid.ActiveCellShow);
  EXPECT_TRUE(grid.SizeWithForm);
  EXPECT_TRUE(grid.LookupHistory);
  EXPECT_EQ(grid.Font().Name(), "Tahoma");

  grid.SetCells(0, 1, "router");
  grid.SetCells(1, 1, "alarm.bat");
  grid.SetCells(3, 1, "normal");
  grid.SetCells(0, 2, "printer.local");
  grid.SetCells(3, 2, "verborgen");
  form.Show();
  Settle();
  const platform::TBitmap& shown = Input().Info(form.BackendWindow()).shown;
  std::filesystem::create_directories(GRID_ARTEFACTS);
  platform::SavePngFile(shown, std::string(GRID_ARTEFACTS) + "/host_grid.png");

  // Every header cell holds ink of its text.
  for (int c = 0; c < 8; ++c) {
    const platform::TRect cell = grid.CellRect(c, 0);
    const platform::TPoint origin{grid.ClientOrigin().X - form.ClientOrigin().X,
                                  grid.ClientOrigin().Y - form.ClientOrigin().Y};
    bool ink = false;
    for (int y = cell.Top + 2; y < cell.Bottom - 2 && !ink; ++y)
      for (int x = cell.Left + 2; x < cell.Right - 2 && !ink; ++x)
        ink = (shown.ScanLine(origin.Y + y)[origin.X + x] & 0xFFFFFF) == 0;
    EXPECT_TRUE(ink) << "header " << c;
  }
}

TEST_F(DovAdizResourceTest, AWidthThatIsNoNumberIsRefused) {
  PublishDovAdizClasses();
  platform::TForm form(nullptr);
  EXPECT_THROW(platform::ReadFormText(form, "F: TForm { G: VUraRazuduVova { ColWidths = list(\"50\", \"wide\") } }",
                                      "widths", {}),
               platform::EFormResourceError);
}

}  // namespace
}  // namespace velmora::testing
