// Quillet's window on the headless backend: the one run after a second of the virtual clock, the usage
// text and the error path. Screenshots go to artefacts/quillet in the build folder.
#include "mailer/Smtp1.h"

#include <filesystem>

#include <gtest/gtest.h>

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

  // Creates the form with these arguments, shows it and lets the loop run past the start delay.
  void Run(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "quillet");
    platform::SetCommandLine(static_cast<int>(arguments.size()), arguments.data());
    form_ = new TForm1(nullptr);
    form_->AfterConstruction();
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

}  // namespace
}  // namespace quillet
