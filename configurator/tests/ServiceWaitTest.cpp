// The hand-over after a save: the reset request, the wait for the service's answer in the message
// loop, the time-out, and the offer to start a service that does not run; the start and stop scripts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "configurator/tests/ServiceFixture.h"

namespace configurator::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ServiceWaitTest : public ServiceFormTest {
protected:
  // A running service beside a form with one host, edited, so that Save may run.
  void StartEdited(const std::string& language = "DE") {
    WriteHosts({"alpha"});
    WriteStatus("[Hosts]\r\nalpha=1\r\n");
    RunService();
    Start(language);
    form_->btnSave->SetEnabled(true);
  }
  // Clicks Save and notes, at each second of the wait, the progress and whether the form is enabled.
  void SaveAndWatch() {
    for (platform::UINT second = 1; second <= 12; ++second)
      After(second * 1000 - 900, [this] {
        if (!form_->IsWaitingForService()) return;
        progress_.push_back(Panel(0).Progress().Position());
        enabledWhileWaiting_ = enabledWhileWaiting_ || form_->Enabled();
      });
    startMs_ = platform::MonotonicMs();
    form_->btnSaveClick(form_->btnSave);
    waitedMs_ = platform::MonotonicMs() - startMs_;
  }
  // The wait is over and left the form as it was.
  void ExpectRestored() {
    EXPECT_FALSE(form_->IsWaitingForService());
    EXPECT_TRUE(form_->Enabled());
    EXPECT_EQ(Panel(0).Style(), controls::TMarkupStatusPanelStyle::psHTML);
    EXPECT_EQ(Panel(0).Text(), "Service:");
  }

  std::vector<int> progress_;
  bool enabledWhileWaiting_ = false;
  int64_t startMs_ = 0, waitedMs_ = 0;
};

TEST_F(ServiceWaitTest, AnAnswerAfterThreeSecondsEndsTheWaitAtProgressThree) {
  StartEdited("ENG");
  dialogs_.AnswerMessage(platform::mbYes);
  After(3200, [this] { PostStatus(1); });
  SaveAndWatch();
  EXPECT_EQ(resetRequests_, 1);
  ASSERT_EQ(dialogs_.Messages().size(), 1u);
  EXPECT_EQ(dialogs_.Messages()[0].Text, "Now you have to reset the Service!");
  EXPECT_EQ(dialogs_.Messages()[0].Type, platform::mtWarning);
  EXPECT_THAT(progress_, ElementsAre(0, 1, 2, 3));
  EXPECT_FALSE(enabledWhileWaiting_);
  EXPECT_EQ(waitedMs_, 3200);
  EXPECT_EQ(Panel(0).Progress().Position(), 3);
  EXPECT_EQ(Panel(6).Text(), "Wait for Service");
  ExpectRestored();
  EXPECT_FALSE(form_->btnSave->Enabled());
}

TEST_F(ServiceWaitTest, NoAnswerEndsWithTheTimeOutAfterElevenSteps) {
  StartEdited();
  dialogs_.AnswerMessage(platform::mbYes);
  dialogs_.AnswerMessage(platform::mbOK);
  SaveAndWatch();
  EXPECT_THAT(progress_, ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10));
  EXPECT_EQ(waitedMs_, 11000);
  ASSERT_EQ(dialogs_.Messages().size(), 2u);
  EXPECT_EQ(dialogs_.Messages()[1].Text,
            "Der Service hat innerhalb einer vordefinierten Zeit nicht geantwortet,\nBitte starten Sie den Service im SCM!");
  EXPECT_EQ(Panel(6).Text(), "Service => Timeout");
  ExpectRestored();
}

TEST_F(ServiceWaitTest, AnsweringNoPostsNothingAndDoesNotWait) {
  StartEdited();
  dialogs_.AnswerMessage(platform::mbNo);
  SaveAndWatch();
  EXPECT_EQ(dialogs_.Messages()[0].Text,
            "Um die Änderungen zu übernehmen, wird nun dem Service eine \nReset Message gesendet.");
  EXPECT_EQ(resetRequests_, 0);
  EXPECT_TRUE(progress_.empty());
  EXPECT_EQ(waitedMs_, 0);
  ExpectRestored();
}

// A handler that throws during the wait is shown by the loop, and the wait goes on to the answer; the
// time-out box that throws still leaves the form enabled with its panel.
TEST_F(ServiceWaitTest, ExceptionsDuringTheWaitLeaveTheFormRestored) {
  StartEdited();
  std::vector<std::string> shown;
  platform::Application().OnException = [&](const platform::Exception& e) { shown.push_back(e.Message()); };
  dialogs_.AnswerMessage(platform::mbYes);
  After(1500, [] { throw platform::Exception("handler failed"); });
  After(2500, [this] { PostStatus(0); });
  SaveAndWatch();
  EXPECT_THAT(shown, ElementsAre("handler failed"));
  EXPECT_EQ(waitedMs_, 2500);
  ExpectRestored();

  form_->btnSave->SetEnabled(true);
  dialogs_.AnswerMessage(platform::mbYes);  // and no answer for the time-out box: it raises
  EXPECT_THROW(form_->btnSaveClick(form_->btnSave), platform::EScriptedDialogError);
  ExpectRestored();
  platform::Application().OnException = nullptr;
}

TEST_F(ServiceWaitTest, AskingToCloseWhileWaitingIsRefused) {
  StartEdited();
  dialogs_.AnswerMessage(platform::mbYes);
  bool closedDuringWait = true;
  After(1500, [&] {
    form_->Close();
    closedDuringWait = !form_->Visible();
  });
  After(2500, [this] { PostStatus(0); });
  SaveAndWatch();
  EXPECT_FALSE(closedDuringWait);
  EXPECT_EQ(dialogs_.Messages().size(), 1u) << "the close asked nothing";
  EXPECT_TRUE(CloseForm()) << "after the wait the window closes";
}

TEST_F(ServiceWaitTest, WithoutTheServiceSaveOffersToStartIt) {
  const struct {
    const char* name;
    bool statusFile;
  } cases[] = {{"no status.ini", false}, {"stale status.ini", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteHosts({"alpha"});
    WriteProgramFile("startService.bat", "systemctl start Tarvonex.service\n");
    if (c.statusFile) WriteStatus("[Hosts]\r\nalpha=1\r\n");
    Start("ENG");
    form_->btnSave->SetEnabled(true);
    dialogs_.AnswerMessage(platform::mbYes);
    form_->btnSaveClick(form_->btnSave);
    ASSERT_FALSE(dialogs_.Messages().empty());
    EXPECT_EQ(dialogs_.Messages().back().Text, "Would you like to start the Service now ?");
    EXPECT_EQ(resetRequests_, 0);
    EXPECT_THAT(Launched(), ElementsAre("/bin/sh " + platform::ExeDir() + "startService.bat"));
    EXPECT_FALSE(form_->Servicestarten1->Enabled());
    Stop();
    launcher_.requests.clear();
  }
}

TEST_F(ServiceWaitTest, TheScriptsRunThroughTheShellAndAFailureIsReported) {
  WriteProgramFile("startService.bat", "systemctl start Tarvonex.service\n");
  WriteProgramFile("stopService.bat", "systemctl stop Tarvonex.service\n");
  Start("ENG");
  form_->Servicestarten1Click(form_->Servicestarten1);
  form_->Servicestoppen1Click(form_->Servicestoppen1);
  EXPECT_THAT(Launched(), ElementsAre("/bin/sh " + platform::ExeDir() + "startService.bat",
                                      "/bin/sh " + platform::ExeDir() + "stopService.bat"));
  EXPECT_FALSE(form_->Servicestarten1->Enabled()) << "until the next refresh";
  EXPECT_FALSE(form_->Servicestoppen1->Enabled());
  EXPECT_TRUE(dialogs_.Messages().empty());

  // The shell cannot start /bin/sh, and the stop script is missing.
  launcher_.result = EACCES;
  dialogs_.AnswerMessage(platform::mbOK);
  form_->Servicestarten1Click(form_->Servicestarten1);
  platform::DeleteFile(platform::ExeDir() + "stopService.bat");
  dialogs_.AnswerMessage(platform::mbOK);
  form_->Servicestoppen1Click(form_->Servicestoppen1);
  ASSERT_EQ(dialogs_.Messages().size(), 2u);
  EXPECT_EQ(dialogs_.Messages()[0].Text, platform::ExeDir() + "startService.bat could not be run: access denied");
  EXPECT_EQ(dialogs_.Messages()[1].Text, platform::ExeDir() + "stopService.bat could not be run: the file does not exist");
  EXPECT_EQ(dialogs_.Messages()[1].Type, platform::mtError);
  EXPECT_TRUE(form_->Servicestarten1->Enabled());
  EXPECT_TRUE(form_->Servicestoppen1->Enabled());
  EXPECT_EQ(Launched().size(), 3u);
}

}  // namespace
}  // namespace configurator::testing
