// The settings dialog as a person uses it: opened from the main window's menu, every change goes into
// the main window's options at once, and they reach HostList.ini when the main window closes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "configurator/tests/ConfTypingFixture.h"

namespace configurator::testing {
namespace {

using ::testing::HasSubstr;

class SettingsDialogTest : public ConfTypingTest {
protected:
  // Opens the dialog from the menu and runs `steps` inside its modal loop, then closes it with "Ok".
  void InDialog(const std::function<void()>& steps) {
    Input().Run([&] {
      steps();
      Input().Click(At(*settings_->Ok, 10, 10));
    });
    form_->Einstellungen1Click(nullptr);
    Settle();
  }
  void ClickOn(platform::TControl& control) {
    Input().Click(At(control, 5, 5));
    Settle();
  }
};

// Opening the dialog brings an interval below 10 up to 10; the folder field keeps its hints in step on
// every key and the status folder ends in "/"; a cancelled browser leaves the field; unchecking the
// log hides the log panel at once; and everything is written when the main window closes.
TEST_F(SettingsDialogTest, ChangesGoIntoTheMainWindowAndAreWrittenWhenItCloses) {
  for (const char* language : {"DE", "ENG"}) {
    SCOPED_TRACE(language);
    WriteIni("[Options]\r\nIntervall=5\r\nLogging=1\r\nStatusHTMLDir=/srv/www/\r\nStatusHTMLFilename=index.htm\r\n");
    Start(language);
    EXPECT_EQ(form_->Intervall, 5);
    EXPECT_EQ(settings_->Caption(), std::string(language) == "DE" ? "Einstellungen" : "Settings");
    InDialog([&] {
      EXPECT_EQ(settings_->edtIntervall->Text(), "10");
      EXPECT_EQ(form_->Intervall, 10);
      EXPECT_EQ(settings_->edtDir->Text(), "/srv/www/");
      EXPECT_EQ(settings_->btnDir->Hint(), "/srv/www/");
      EXPECT_FALSE(form_->btnSave->Enabled());

      // Typing into the folder: the hints follow each key; the option gets its trailing "/".
      ClickOn(*settings_->edtDir);
      Press(platform::VK_END);
      Press(platform::VK_BACK);
      EXPECT_EQ(settings_->edtDir->Hint(), "/srv/www");
      EXPECT_EQ(settings_->btnDir->Hint(), "/srv/www");
      EXPECT_EQ(form_->StatusHTMLDir, "/srv/www/");
      Type("2");
      EXPECT_EQ(settings_->btnDir->Hint(), "/srv/www2");
      EXPECT_EQ(form_->StatusHTMLDir, "/srv/www2/");

      const size_t asked = dialogs_.FolderDialogs().size();
      dialogs_.AnswerCancel();
      ClickOn(*settings_->btnDir);
      EXPECT_EQ(settings_->edtDir->Text(), "/srv/www2");
      dialogs_.AnswerFolder("/var/www/status");
      ClickOn(*settings_->btnDir);
      EXPECT_EQ(settings_->edtDir->Text(), "/var/www/status/");
      EXPECT_EQ(form_->StatusHTMLDir, "/var/www/status/");
      EXPECT_EQ(dialogs_.FolderDialogs().size(), asked + 2);
      EXPECT_EQ(dialogs_.FolderDialogs().back().Title, "Browse for Folder");
      EXPECT_EQ(dialogs_.FolderDialogs().back().Root, platform::CSIDL_DRIVES);
      EXPECT_EQ(dialogs_.FolderDialogs().back().Flags, platform::BIF_RETURNONLYFSDIRS);

      // The interval: typed, then left, which enables Save without its menu item.
      ClickOn(*settings_->edtIntervall);
      Press(platform::VK_END);
      Press(platform::VK_BACK);
      Press(platform::VK_BACK);
      Type("30");
      EXPECT_EQ(form_->Intervall, 30);
      ClickOn(*settings_->edtFileName);
      EXPECT_TRUE(form_->btnSave->Enabled());
      EXPECT_FALSE(form_->Speichern1->Enabled());
      Press(platform::VK_END);
      Type("x");
      EXPECT_EQ(form_->StatusHTMLFilename, "index.htmx");

      ClickOn(*settings_->chbWebStatus);
      EXPECT_TRUE(form_->WebStatus);
      ClickOn(*settings_->LogChanges);
      EXPECT_FALSE(form_->Logging);
      EXPECT_TRUE(form_->AndockPanel->Visible());
    });
    EXPECT_FALSE(settings_->Visible());
    EXPECT_FALSE(form_->AndockPanel->Visible());
    EXPECT_FALSE(form_->Splitter1->Visible());

    dialogs_.AnswerMessage(platform::mbNo);  // the question about the unsaved edit
    EXPECT_TRUE(CloseForm());
    for (const char* line : {"\nIntervall=30\r\n", "\nLogging=0\r\n", "\nWebStatus=1\r\n",
                             "\nStatusHTMLFilename=index.htmx\r\n", "\nStatusHTMLDir=/var/www/status/\r\n"})
      EXPECT_THAT(Ini(), HasSubstr(line));
    Stop();
  }
}

// Opening and closing the dialog without touching it changes nothing but the interval's lower bound;
// its close box keeps what was changed as "Ok" does.
TEST_F(SettingsDialogTest, AnUntouchedDialogChangesNothing) {
  WriteIni("[Options]\r\nIntervall=60\r\nLogging=0\r\nWebStatus=1\r\nStatusHTMLDir=\r\nStatusHTMLFilename=\r\n");
  Start();
  InDialog([] {});
  EXPECT_EQ(form_->Intervall, 60);
  EXPECT_FALSE(form_->Logging);
  EXPECT_TRUE(form_->WebStatus);
  EXPECT_EQ(form_->StatusHTMLDir, "");
  EXPECT_EQ(form_->StatusHTMLFilename, "");
  EXPECT_FALSE(form_->AndockPanel->Visible());
  EXPECT_FALSE(form_->btnSave->Enabled());

  Input().Run([&] {
    ClickOn(*settings_->LogChanges);
    Input().CloseBox(settings_->BackendWindow());
  });
  form_->Einstellungen1Click(nullptr);
  Settle();
  EXPECT_TRUE(form_->Logging);
  EXPECT_TRUE(form_->AndockPanel->Visible());
  EXPECT_TRUE(form_->Splitter1->Visible());
}

}  // namespace
}  // namespace configurator::testing
