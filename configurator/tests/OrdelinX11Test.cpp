// The real ordelin on an X display of the test's own (Xvfb), used with xdotool as a person does: a host
// typed, a window mode picked, Save clicked and its message answered.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "X11TestSupport.h"
#include "XwdImage.h"
#include "configurator/VelmoraConf.h"
#include "configurator/einstellungen.h"
#include "configurator/tests/TenHosts.h"
#include "platform/app/FormLanguage.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/gfx/Png.h"
#include "platform/ui/HeadlessBackend.h"

namespace configurator::testing {
namespace {

using platform::test::Eventually;
using platform::test::PeerProcess;
using platform::test::XvfbServer;
using ::testing::HasSubstr;

// Where a person clicks in the main window, in its client coordinates: the same form laid out on the
// headless backend, with the same resource, placement and fonts as the program's.
struct TMainWindowPoints {
  platform::TPoint hostCell, commandCell, modeCell, saveButton;
};

platform::TPoint CentreIn(const platform::TControl& control, const platform::TRect& r, const platform::TCustomForm& form) {
  const platform::TPoint screen = control.ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  const platform::TPoint origin = form.ClientOrigin();
  return {screen.X - origin.X, screen.Y - origin.Y};
}

TMainWindowPoints MeasureMainWindow(const std::string& folder, const std::string& language) {
  platform::OverrideExeFileName(folder + "/ordelin");
  platform::SetBackend(std::make_unique<platform::THeadlessBackend>());
  platform::SetResourceLanguage(language);
  TMainWindowPoints points;
  {
    TForm1 form(nullptr);
    form.AfterConstruction();
    form.Show();
    platform::Application().ProcessMessages();
    velmora::VUraRazuduVova& grid = *form.Grid;
    points.hostCell = CentreIn(grid, grid.CellRect(0, 1), form);
    points.commandCell = CentreIn(grid, grid.CellRect(1, 1), form);
    points.modeCell = CentreIn(grid, grid.CellRect(3, 1), form);
    points.saveButton = CentreIn(*form.btnSave, form.btnSave->ClientRect(), form);
  }
  platform::SetResourceLanguage("");
  platform::SetBackend(nullptr);
  platform::OverrideExeFileName("");
  return points;
}

class OrdelinX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(server_.Display().empty()) << "Xvfb did not start";
    folder_ = std::filesystem::temp_directory_path() / ("ordelin-x11-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    std::filesystem::copy_file(platform::ExeDir() + "ordelin", folder_ + "/ordelin",
                               std::filesystem::copy_options::overwrite_existing);
  }
  void TearDown() override {
    ordelin_.reset();
    std::filesystem::remove_all(folder_);
  }

  // Starts the program in the locale's language and waits for its window.
  void StartOrdelin(const std::string& locale) {
    ::setenv("LC_ALL", locale.c_str(), 1);
    ordelin_ = std::make_unique<PeerProcess>(std::vector<std::string>{folder_ + "/ordelin"}, server_.Display());
    ::unsetenv("LC_ALL");
    ASSERT_TRUE(Eventually([&] {
      window_ = Xdotool({"search", "--pid", std::to_string(ordelin_->Pid()), "--name", "Velmora"});
      return !window_.empty() || ordelin_->Ended();
    })) << "ordelin showed no window: " << ordelin_->Output();
    window_ = window_.substr(0, window_.find('\n'));
    ASSERT_FALSE(window_.empty()) << ordelin_->Output();
  }
  std::string Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    PeerProcess tool(args, server_.Display());
    tool.Wait();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    return tool.Output();
  }
  void ClickAt(platform::TPoint p) {
    Xdotool({"mousemove", "--window", window_, std::to_string(p.X), std::to_string(p.Y), "click", "1"});
  }
  std::string Ini() const {
    const std::string path = folder_ + "/HostList.ini";
    return platform::FileExists(path) ? platform::ReadFileBytes(path) : "";
  }
  // The whole screen as artefacts/ordelin/<name>.png.
  void Screenshot(const std::string& name) {
    std::filesystem::create_directories(CONFIGURATOR_ARTEFACTS);
    const std::string xwd = std::string(CONFIGURATOR_ARTEFACTS) + "/" + name + ".xwd";
    platform::test::RunPeer({"sh", "-c", "xwd -silent -root -out '" + xwd + "'"}, server_.Display());
    if (std::unique_ptr<platform::TBitmap> picture = platform::test::ReadXwd(platform::ReadFileBytes(xwd)))
      platform::SavePngFile(*picture, std::string(CONFIGURATOR_ARTEFACTS) + "/" + name + ".png");
    std::filesystem::remove(xwd);
  }

  XvfbServer server_;
  std::string folder_;
  std::unique_ptr<PeerProcess> ordelin_;
  std::string window_;
};

// The first Save is refused for the missing command and its message answered with Enter; with a
// command typed the second Save writes the host with the window mode picked from the list.
TEST_F(OrdelinX11Test, AHostTypedAndAWindowModePickedAreSavedToHostList) {
  const std::string placement = "[Window]\r\nLeft=0\r\nTop=0\r\nWidth=800\r\nHeight=600\r\n";
  platform::WriteFileAtomic(folder_ + "/HostList.ini", placement);
  const TMainWindowPoints points = MeasureMainWindow(folder_, "DE");
  platform::WriteFileAtomic(folder_ + "/HostList.ini", placement);
  StartOrdelin("de_DE.UTF-8");

  ClickAt(points.hostCell);
  Xdotool({"type", "--delay", "20", "router"});
  Xdotool({"key", "Return"});
  ClickAt(points.modeCell);  // the list drops down at once
  Screenshot("x11-mode-list");
  Xdotool({"key", "Up", "Return"});
  ClickAt(points.saveButton);
  const std::string beforeAnswer = Ini();
  Screenshot("x11-save-refused");
  Xdotool({"key", "Return"});
  EXPECT_THAT(beforeAnswer, ::testing::Not(HasSubstr("[Hosts]")));

  ClickAt(points.commandCell);
  Xdotool({"type", "--delay", "20", "/opt/v/down.sh"});
  Xdotool({"key", "Return"});
  ClickAt(points.saveButton);
  EXPECT_TRUE(Eventually([&] { return Ini().find("[Hosts]") != std::string::npos; }))
      << Ini() << ordelin_->Output();
  const std::string ini = Ini();
  EXPECT_THAT(ini, HasSubstr("[Hosts]\r\nrouter=\r\n"));
  EXPECT_THAT(ini, HasSubstr("[RunOnDisconnected]\r\nrouter=/opt/v/down.sh\r\n"));
  EXPECT_THAT(ini, HasSubstr("[Show]\r\nrouter=6\r\n"));
  Screenshot("x11-saved");
  EXPECT_FALSE(ordelin_->Ended()) << ordelin_->Output();
}

// Pictures for a person: the window of the program in both languages with ten hosts.
TEST_F(OrdelinX11Test, PicturesOfTheMainWindowInBothLanguages) {
  for (const auto& [locale, name] : {std::pair{"de_DE.UTF-8", "x11-main-DE"}, {"C", "x11-main-ENG"}}) {
    platform::WriteFileAtomic(folder_ + "/HostList.ini", "[Window]\r\nLeft=0\r\nTop=0\r\n" + TenHosts());
    StartOrdelin(locale);
    Xdotool({"sleep", "0.3"});
    Screenshot(name);
    ordelin_.reset();
  }
}

}  // namespace
}  // namespace configurator::testing
