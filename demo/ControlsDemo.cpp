// controls_demo: one form with the standard controls (an edit and a memo among them) and menus,
// built from its form resource in the user's language (German or English), and a grid window of a few
// hundred hosts grouped by site (View, Grid; --grid opens it at the start), for people to try and for
// tests to look at. On a display it runs until the form is closed; with --screenshot FILE it draws the
// form without a display, saves it as FILE (a PNG), the open File menu beside it as FILE with
// ".menu.png" for ".png", the grid window scrolled to row 200 with a comment being edited as FILE with
// ".grid.png", and the window of combo boxes and spin edits (View, Combo boxes and spin edits) as FILE
// with ".spin.png", and ends.
#include <cstdio>
#include <memory>
#include <string>

#include "DemoForm.h"
#include "platform/backends/BackendChoice.h"
#include "platform/app/Application.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/MenuWindows.h"
#include "platform/ui/VirtualKeys.h"

namespace {

// The grid window scrolled down, a comment being edited.
void SaveGridScreenshot(platform::TDemoForm& form, const std::string& fileName) {
  using namespace platform;
  THeadlessBackend& headless = HeadlessBackend();
  TGridDemoForm& window = form.GridWindow();
  window.Show();
  Application().ProcessMessages();
  window.Grid().SetRow(200);
  window.Grid().SetCol(TGridDemoForm::kCommentCol);
  headless.PressKey(VK_F2);
  for (char c : std::string("edited here")) headless.Char(std::string(1, c));
  Application().ProcessMessages();
  headless.SaveScreenshot(window.BackendWindow(), fileName);
}

// The window of combo boxes and spin edits, the retries stepped up once.
void SaveSpinScreenshot(platform::TDemoForm& form, const std::string& fileName) {
  using namespace platform;
  THeadlessBackend& headless = HeadlessBackend();
  TSpinDemoForm& window = form.SpinWindow();
  window.Show();
  Application().ProcessMessages();
  dynamic_cast<TWinControl&>(*window.FindComponent("RetriesEdit")).SetFocus();
  headless.PressKey(VK_UP);
  Application().ProcessMessages();
  headless.SaveScreenshot(window.BackendWindow(), fileName);
}

std::string WithSuffix(std::string fileName, const std::string& suffix) {
  if (fileName.size() > 4 && fileName.ends_with(".png")) fileName.resize(fileName.size() - 4);
  return fileName + suffix;
}

int SaveScreenshots(platform::TDemoForm& form, const std::string& fileName) {
  using namespace platform;
  THeadlessBackend& headless = HeadlessBackend();
  Application().ProcessMessages();
  headless.SaveScreenshot(form.BackendWindow(), fileName);
  headless.PressKey(VK_F10);
  headless.PressKey(VK_DOWN);
  Application().ProcessMessages();
  if (OpenMenuWindows().empty()) {
    std::fprintf(stderr, "controls_demo: the File menu did not open\n");
    return 1;
  }
  headless.SaveScreenshot(OpenMenuWindows().back()->BackendWindow(), WithSuffix(fileName, ".menu.png"));
  CloseMenus();
  SaveGridScreenshot(form, WithSuffix(fileName, ".grid.png"));
  SaveSpinScreenshot(form, WithSuffix(fileName, ".spin.png"));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace platform;
  std::string screenshot;
  bool grid = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--screenshot" && i + 1 < argc) {
      screenshot = argv[++i];
    } else if (argument == "--grid") {
      grid = true;
    } else {
      std::fprintf(stderr, "usage: controls_demo [--grid] [--screenshot FILE.png]\n");
      return 2;
    }
  }
  try {
    if (screenshot.empty()) {
      if (std::unique_ptr<TBackend> display = OpenDisplayBackend()) SetBackend(std::move(display));
    }
    Application().Initialize();
    TDemoForm* form = Application().CreateForm<TDemoForm>();
    form->Show();
    if (!screenshot.empty()) return SaveScreenshots(*form, screenshot);
    if (grid) form->GridWindow().Show();
    Application().Run();
    return 0;
  } catch (const Exception& e) {
    std::fprintf(stderr, "controls_demo: %s\n", e.Message().c_str());
    return 1;
  }
}
