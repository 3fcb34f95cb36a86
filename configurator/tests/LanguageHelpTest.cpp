// The language switch through the registry's locale override, and the help pages opened through the shell.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "configurator/tests/ConfFormFixture.h"
#include "platform/shell/Registry.h"
#include "platform/shell/ShellApi.h"
#include "platform/shell/tests/RecordingLauncher.h"
#include "platform/ui/VirtualKeys.h"

namespace configurator::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// The current user's registry in the test's folder, and the shell's launcher a recorder.
class LanguageHelpTest : public ConfFormTest {
protected:
  void SetUp() override {
    ConfFormTest::SetUp();
    ::setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
  }
  void TearDown() override {
    ConfFormTest::TearDown();
    ::unsetenv("XDG_CONFIG_HOME");
  }
  static std::string LocaleOverride() {
    platform::TRegistry registry;
    if (!registry.OpenKey(std::string(platform::kLocaleOverrideKey), false)) return "(no key)";
    return registry.ReadString(platform::ParamStr(0));
  }

  platform::RecordingLauncher launcher_;
};

TEST_F(LanguageHelpTest, TheSwitchChecksItsItemAtOnceAndTheNextStartHasTheLanguage) {
  const struct {
    const char* startIn;
    bool toEnglish;
    const char* stored;
    platform::TMsgDlgType box;
    const char* notice;
    const char* nextCaption;
  } cases[] = {
      {"DE", true, "ENG", platform::mtWarning, "Please restart the program", "Velmora - Configurator"},
      {"ENG", false, "DE", platform::mtInformation, "Bitte starten Sie das Programm neu", "Velmora - Konfigurator"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.startIn);
    platform::TScriptedDialogService dialogs;
    Start(c.startIn);
    const std::string caption = form_->Caption();
    dialogs.AnswerMessage(platform::mbOK);
    (c.toEnglish ? form_->English1 : form_->Deutsch1)->Click();
    EXPECT_EQ(form_->English1->Checked(), c.toEnglish);
    EXPECT_EQ(form_->Deutsch1->Checked(), !c.toEnglish);
    EXPECT_EQ(form_->Caption(), caption) << "the running program keeps its language";
    EXPECT_EQ(LocaleOverride(), c.stored);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].Type, c.box);
    EXPECT_THAT(dialogs.Messages()[0].Text, StartsWith(c.notice));

    // The next start decides its language anew.
    Stop();
    Start("");
    EXPECT_EQ(form_->Caption(), c.nextCaption);
    EXPECT_EQ(form_->English(), c.toEnglish);
    EXPECT_EQ(form_->English1->Checked(), c.toEnglish);
    EXPECT_EQ(form_->Deutsch1->Checked(), !c.toEnglish);
    if (c.toEnglish) {
      // The menu of the restarted window, opened as a user would, and the window itself.
      Input().PressKey('O', platform::bsAlt);
      Settle();
      Screenshot(Input().Windows().back(), "language-options-menu");
      Input().PressKey(platform::VK_ESCAPE);
      Settle();
      Screenshot(form_->BackendWindow(), "language-after-switch");
    }
    Stop();
  }
}

TEST_F(LanguageHelpTest, ARegistryThatCannotBeWrittenShowsTheErrorAndKeepsTheChecks) {
  ::setenv("XDG_CONFIG_HOME", "/proc/no-such-folder", 1);
  Start("DE");
  dialogs_.AnswerMessage(platform::mbOK);
  form_->English1->Click();
  EXPECT_FALSE(form_->English1->Checked());
  EXPECT_TRUE(form_->Deutsch1->Checked());
  ASSERT_EQ(dialogs_.Messages().size(), 1u);
  EXPECT_EQ(dialogs_.Messages()[0].Type, platform::mtError);
  EXPECT_THAT(dialogs_.Messages()[0].Text, StartsWith("The language could not be switched: Cannot write the registry value"));
}

// The help page of the interface language goes to the desktop's opener, found on PATH.
TEST_F(LanguageHelpTest, HelpOpensThePageOfTheLanguageOrSaysWhyNot) {
  const std::string tools = folder_ + "/tools";
  std::filesystem::create_directories(tools);
  platform::WriteFileAtomic(tools + "/xdg-open", "#!/bin/sh\n");
  ::chmod((tools + "/xdg-open").c_str(), 0755);
  const std::string path = std::getenv("PATH");
  const struct {
    const char* language;
    const char* page;
    bool pagePresent, openerPresent;
    const char* message;  // "" when the page was opened
  } cases[] = {
      {"DE", "hilfe.html", true, true, ""},
      {"ENG", "help.html", true, true, ""},
      {"ENG", "help.html", false, true, "The help page is missing: "},
      {"DE", "hilfe.html", false, true, "Die Hilfeseite fehlt: "},
      {"DE", "hilfe.html", true, false, "Die Hilfeseite lässt sich in keinem Browser öffnen: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.page) + (c.pagePresent ? " present" : " missing") + (c.openerPresent ? "" : ", no opener"));
    const std::string page = platform::ExeDir() + c.page;
    std::filesystem::remove(page);
    if (c.pagePresent) platform::WriteFileAtomic(page, "<html></html>");
    ::setenv("PATH", c.openerPresent ? tools.c_str() : "/nonexistent", 1);
    launcher_.requests.clear();
    platform::TScriptedDialogService dialogs;
    Start(c.language);
    if (*c.message) dialogs.AnswerMessage(platform::mbOK);
    form_->btnHelp->Click();
    ::setenv("PATH", path.c_str(), 1);
    if (*c.message) {
      EXPECT_TRUE(launcher_.requests.empty());
      ASSERT_EQ(dialogs.Messages().size(), 1u);
      EXPECT_EQ(dialogs.Messages()[0].Text, c.message + page);
    } else {
      ASSERT_EQ(launcher_.requests.size(), 1u);
      EXPECT_EQ(launcher_.requests[0].program, tools + "/xdg-open");
      EXPECT_THAT(launcher_.requests[0].arguments, ElementsAre(page));
      EXPECT_EQ(launcher_.requests[0].showCode, platform::SW_SHOW);
    }
    EXPECT_EQ(dialogs.Unanswered(), 0u);
    Stop();
  }
}

// The pages that the build puts beside the programs name every caption of their language's window.
TEST_F(LanguageHelpTest, EachHelpPageNamesTheCaptionsOfItsWindow) {
  for (const auto& [language, page] : {std::pair{"DE", "hilfe.html"}, std::pair{"ENG", "help.html"}}) {
    SCOPED_TRACE(page);
    const std::string text = platform::ReadFileBytes(std::string(CONFIGURATOR_PROGRAMS) + "/" + page);
    Start(language);
    std::vector<std::string> captions;
    for (int i = 0; i < form_->ComponentCount(); ++i) {
      if (auto* item = dynamic_cast<platform::TMenuItem*>(form_->Components(i)); item && item->Caption() != "-") {
        std::string caption = item->Caption();
        std::erase(caption, '&');
        captions.push_back(caption);
      }
    }
    for (auto* button : {form_->btnInsert, form_->btnRemove, form_->btnSave, form_->btnHelp})
      captions.push_back(button->Caption());
    for (int col = 0; col < 8; ++col) captions.push_back(Grid().Cells(col, 0));
    for (const std::string& caption : captions) EXPECT_THAT(text, HasSubstr(caption));
    Stop();
  }
}

}  // namespace
}  // namespace configurator::testing
