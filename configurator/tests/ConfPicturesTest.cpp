// Pictures of the configurator's windows for a person to look at (artefacts/ordelin in the build
// folder): the main window with ten hosts and a log in both languages, the settings dialog, the open
// window-mode list, an edit with its button in a command cell and a hint over column 5.
#include <gtest/gtest.h>

#include "configurator/tests/ConfTypingFixture.h"
#include "configurator/tests/TenHosts.h"
#include "platform/ui/ApplicationHints.h"

namespace configurator::testing {
namespace {

class ConfPicturesTest : public ConfTypingTest {
protected:
  void StartWithHosts(const std::string& language) {
    WriteIni(TenHosts());
    Start(language);
    form_->LogFile->SetText(
        "11.12.2026 09:14:02 => Service gestartet\r\n11.12.2026 09:14:07 => router connected\r\n"
        "11.12.2026 09:31:40 => printer.local disconnected\r\n11.12.2026 09:31:50 => printer.local connected\r\n");
    Settle();
  }
};

TEST_F(ConfPicturesTest, TheWindowsInBothLanguages) {
  for (const char* language : {"DE", "ENG"}) {
    SCOPED_TRACE(language);
    StartWithHosts(language);
    // The status bar lies along the very bottom, the log panel above it.
    EXPECT_EQ(form_->StatusBar->Top() + form_->StatusBar->Height(), form_->ClientHeight());
    EXPECT_EQ(form_->AndockPanel->Top() + form_->AndockPanel->Height(), form_->StatusBar->Top());
    Screenshot(form_->BackendWindow(), std::string("main-") + language);
    Input().Run([&] {
      Settle();
      Screenshot(settings_->BackendWindow(), std::string("settings-") + language);
      settings_->Close();
    });
    form_->Einstellungen1Click(nullptr);
    Stop();
  }
}

TEST_F(ConfPicturesTest, TheModeListTheCommandEditorAndAHint) {
  StartWithHosts("DE");
  Grid().SetFocus();
  ClickCell(3, 2);
  ASSERT_TRUE(Grid().EditActive());
  Screenshot(form_->BackendWindow(), "mode-list-DE");
  for (platform::TBackendWindow window : Input().Windows())
    if (window != form_->BackendWindow() && Input().Info(window).visible) Screenshot(window, "mode-list-drop-down-DE");
  Press(platform::VK_ESCAPE);
  Press(platform::VK_ESCAPE);
  ClickCell(1, 3);
  ASSERT_TRUE(Grid().EditActive());
  Screenshot(form_->BackendWindow(), "command-editor-DE");
  Press(platform::VK_ESCAPE);
  const platform::TPoint mouse = AtCell(5, 4);
  Input().MouseMove(mouse);
  Input().MouseMove({mouse.X + 1, mouse.Y});
  Settle();
  platform::ApplicationHints().ActivateHint({mouse.X + 1, mouse.Y});
  Settle();
  Screenshot(form_->BackendWindow(), "hint-column-5-DE");
  if (platform::THintWindow* hint = platform::ApplicationHints().HintWindow())
    Screenshot(hint->BackendWindow(), "hint-column-5-window-DE");
}

}  // namespace
}  // namespace configurator::testing
