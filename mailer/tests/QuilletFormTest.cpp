// Quillet's window on the headless backend: the one run after a second of the virtual clock, the usage
// text and the error path. Screenshots go to artefacts/quillet in the build folder.
#include "mailer/Smtp1.h"

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mailer/net/tests/ScriptedServer.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/ui/tests/FormFixture.h"

namespace quillet {
namespace {

class QuilletFormTest : public platform::FormTest {
protected:
  void TearDown() override {
    delete form_;
    platform::SetCommandLine(0, nullptr);
    FormTest::TearDown();
  }

  // Creates the form with these arguments, shows it and lets the loop run past the start delay. A
  // port other than 0 replaces the SMTP port 25.
  void Run(std::vector<const char*> arguments, int port = 0) {
    arguments.insert(arguments.begin(), "quillet");
    platform::SetCommandLine(static_cast<int>(arguments.size()), arguments.data());
    form_ = new TForm1(nullptr);
    form_->AfterConstruction();
    if (port != 0) form_->MlSMTP1->Port = port;
    form_->Show();
    platform::Application().HandleMessagesUntil([&] { return form_->Outcome() != TRunOutcome::Pending; });
    Settle();
  }
  void Screenshot(const std::string& name) {
    std::filesystem::create_directories(MAILER_ARTEFACTS);
    Input().SaveScreenshot(Input().Windows().back(), std::string(MAILER_ARTEFACTS) + "/" + name + ".png");
  }

  TForm1* form_ = nullptr;
};

TEST_F(QuilletFormTest, TooFewParametersShowTheUsageText) {
  Run({"-a", "admin@example.org"});
  EXPECT_EQ(form_->Outcome(), TRunOutcome::Usage);
  EXPECT_EQ(form_->Height(), 242);
  EXPECT_TRUE(form_->Visible());
  Screenshot("usage-window");
}

TEST_F(QuilletFormTest, TheFormComesFromItsResource) {
  Run({});
  EXPECT_EQ(form_->Caption(), "Quillet");
  EXPECT_EQ(form_->ClientWidth(), 236);
  const platform::TRect area = platform::Screen().WorkAreaRect();  // centred on the desktop when shown
  EXPECT_EQ(form_->Left(), area.Left + (area.Width() - form_->Width()) / 2);
  EXPECT_EQ(form_->fxLabel1->Caption(), "Quillet - Mail vom Rechner");
  EXPECT_EQ(form_->fxLabel1->Effect3D().Depth(), 2);
  EXPECT_EQ(form_->MarkupLabel1->Align(), platform::TAlign::alClient);
  EXPECT_EQ(form_->MlSMTP1->Port, 25);
  EXPECT_EQ(form_->MlSMTP1->TimeOut, 30000);
  EXPECT_EQ(form_->MlSMTP1->ReportLevel, 0);
  EXPECT_EQ(form_->MlSMTP1->PostMessage().FromName, "Quillet");
  EXPECT_EQ(form_->Start->Interval(), 1000u);
  EXPECT_THAT(form_->UsageText(), ::testing::StartsWith("Sie haben keine Parameter übergeben. \r\nDas Programm"));
}

TEST_F(QuilletFormTest, TooFewSwitchesShowTheUsageTextShorter) {
  Run({"-a", "x", "-q", "y"});
  EXPECT_EQ(form_->Height(), 202);
}

TEST_F(QuilletFormTest, AnErrorGoesToTheLogAndTheWindowStaysOpen) {
  platform::WriteFileAtomic(platform::ExeDir() + "Quillet.ini", "[SMTP]\r\nServer=127.0.0.1\r\n");
  Run({"-a", "x", "-s", "y", "-btxt", "/nonexistent/body.txt"});
  EXPECT_EQ(form_->Outcome(), TRunOutcome::Failed);
  EXPECT_EQ(form_->Height(), 33);
  EXPECT_TRUE(form_->Visible());
  EXPECT_FALSE(form_->ErrorText().empty());
  EXPECT_EQ(platform::ReadFileBytes(platform::ExeDir() + "fehler.log"), form_->ErrorText());
  Screenshot("error-window");
}

// A server that accepts the connection and never answers holds the run for the session's 30 s wait
// only, counted on the virtual clock from the start a second after the window came up.
TEST_F(QuilletFormTest, ASilentServerEndsTheRunAfterThirtySeconds) {
  mailnet::test::ScriptedServer server({mailnet::test::Listen()});
  platform::WriteFileAtomic(platform::ExeDir() + "Quillet.ini", "[SMTP]\r\nServer=127.0.0.1\r\n");
  const int64_t start = platform::MonotonicMs();
  Run({"-a", "admin@example.org", "-s", "y"}, server.Port());
  server.Stop();
  EXPECT_EQ(form_->Outcome(), TRunOutcome::Failed);
  EXPECT_EQ(form_->ErrorText(), "Zeitüberschreitung bei Socket-readln");
  EXPECT_EQ(platform::MonotonicMs() - start, 1000 + 30000);
}

}  // namespace
}  // namespace quillet
