// The grid object in a real window on an X server of its own: its xwd screenshot equals what the
// headless backend shows of the same form, pixel for pixel (both kept in artefacts/grid/).

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "X11TestSupport.h"
#include "XwdImage.h"
#include "grid/DovAdiz.h"
#include "platform/app/Application.h"
#include "platform/core/Files.h"
#include "platform/gfx/Png.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HeadlessBackend.h"

namespace velmora::testing {
namespace {

using namespace platform;

// A host table with the looks most cells take: the soft fixed look, bands, a sort indicator, markup,
// a URL, a merged block, a selection and the footer showing the last row.
std::unique_ptr<TForm> ShowHostTable() {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(100, 100, 460, 260);
  form->SetCaption("Hosts");
  auto* grid = new VUraRazuduVova(form.get());
  grid->SetParent(form.get());
  grid->SetAlign(TAlign::alClient);
  grid->Font().SetName("Arial");
  grid->FixedFont().SetName("Arial");
  grid->SetColCount(5);
  grid->SetRowCount(12);
  grid->SetColWidths(0, 28);
  grid->SetColWidths(1, 120);
  grid->SetColWidths(3, 120);
  const char* heads[] = {"", "Host", "State", "Note", "Time"};
  for (int c = 0; c < 5; ++c) grid->SetCells(c, 0, heads[c]);
  for (int r = 1; r < 11; ++r) {
    grid->SetCells(0, r, std::to_string(r));
    grid->SetCells(1, r, "host" + std::to_string(r) + ".local");
    grid->SetCells(2, r, r % 3 ? "up" : "<font color=\"clRed\"><b>down</b></font>");
    grid->SetCells(4, r, std::to_string(r * 7) + " ms");
  }
  grid->SetCells(3, 2, "http://host2.local");
  grid->URLShow = true;
  grid->SetCells(3, 4, "a merged note over two rows");
  grid->MergeCells(3, 4, 1, 2);
  grid->SetCells(1, 11, "10 hosts");
  grid->SetCells(4, 11, "385 ms");
  grid->Bands().SetActive(true);
  grid->SortSettings().Show = true;
  grid->SortSettings().Column = 1;
  grid->SetSelection({1, 6, 2, 7});
  grid->FloatingFooter().SetVisible(true);
  form->Show();
  Application().ProcessMessages();
  return form;
}

TEST(GridX11Test, TheGridShowsAsOnTheHeadlessBackend) {
  test::XvfbServer server;
  std::string error;
  std::unique_ptr<TBackend> x11 = OpenX11Backend(server.Display(), error, nullptr);
  ASSERT_NE(x11, nullptr) << error;
  SetBackend(std::move(x11));
  std::unique_ptr<TBitmap> real;
  {
    std::unique_ptr<TForm> form = ShowHostTable();
    test::PumpFor(300);
    Backend().CursorPos();  // a round trip: the server has drawn by its answer
    const std::string id = test::RunPeer({"xdotool", "search", "--name", "^Hosts$"}, server.Display());
    char name[] = "/tmp/velmora-grid-x11-XXXXXX";
    ::close(::mkstemp(name));
    test::RunPeer({"xwd", "-silent", "-id", id.substr(0, id.find('\n')), "-out", name}, server.Display());
    real = test::ReadXwd(ReadFileBytes(name));
    ::unlink(name);
  }
  ASSERT_NE(real, nullptr);

  SetBackend(std::make_unique<THeadlessBackend>());
  auto& headless = static_cast<THeadlessBackend&>(Backend());
  std::unique_ptr<TForm> form = ShowHostTable();
  const TBitmap& shown = headless.Info(headless.Windows().back()).shown;
  std::filesystem::create_directories(GRID_ARTEFACTS);
  SavePngFile(*real, std::string(GRID_ARTEFACTS) + "/grid.x11.png");
  SavePngFile(shown, std::string(GRID_ARTEFACTS) + "/grid.headless.png");
  test::ExpectSamePicture(*real, shown, "grid.x11.png", "grid.headless.png");
  form.reset();
  SetBackend(nullptr);
}

}  // namespace
}  // namespace velmora::testing
