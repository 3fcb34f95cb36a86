// controls_demo: one form with the standard controls (an edit and a memo among them) and menus,
// built from its form resource in the user's language (German or English), for people to try and for
// tests to look at. On a display it runs until the form is closed; with --screenshot FILE it draws the
// form without a display, saves it as FILE (a PNG) and the open File menu beside it as FILE with
// ".menu.png" for ".png", and ends.
#include <cstdio>
#include <memory>
#include <string>

#include "DemoForm.h"
#include "platform/backends/BackendChoice.h"
#include "platform/ui/Application.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/MenuWindows.h"
#include "platform/ui/VirtualKeys.h"

namespace {

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
  std::string menuFile = fileName;
  if (menuFile.size() > 4 && menuFile.ends_with(".png")) menuFile.resize(menuFile.size() - 4);
  headless.SaveScreenshot(OpenMenuWindows().back()->BackendWindow(), menuFile + ".menu.png");
  CloseMenus();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace platform;
  std::string screenshot;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--screenshot" && i + 1 < argc) {
      screenshot = argv[++i];
    } else {
      std::fprintf(stderr, "usage: controls_demo [--screenshot FILE.png]\n");
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
    Application().Run();
    return 0;
  } catch (const Exception& e) {
    std::fprintf(stderr, "controls_demo: %s\n", e.Message().c_str());
    return 1;
  }
}
