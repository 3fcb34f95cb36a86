// The real quillet, without a display, against a real SMTP server (aiosmtpd) on port 25 of a loopback
// address of this test's own.
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mailer/net/tests/ChildProcess.h"
#include "mailer/tests/QuilletRun.h"
#include "platform/core/Files.h"

namespace quillet::test {
namespace {

using ::testing::HasSubstr;

class EndToEndTest : public ::testing::Test {
protected:
  void SetUp() override { std::filesystem::create_directories(root_ + "/mail"); }
  void TearDown() override { std::filesystem::remove_all(root_); }

  // An address of 127.0.0.0/8 that no other test process uses: from this process's id and a serial.
  static std::string OwnAddress() {
    static int serial = 0;
    const int pid = static_cast<int>(::getpid());
    return "127." + std::to_string(16 + pid % 200) + "." + std::to_string(pid / 200 % 250) + "." +
           std::to_string(1 + serial++ % 250);
  }

  void WriteIni(const std::string& server) {
    platform::WriteFileAtomic(quillet_.File("Quillet.ini"),
                              "[SMTP]\r\nServer=" + server + "\r\nFromAddress=alerts@example.org\r\n");
  }

  std::vector<std::string> MailLines(const std::string& suffix) const {
    std::vector<std::string> lines;
    std::string text = platform::ReadFileBytes(root_ + "/mail/0" + suffix);
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }

  std::string root_ = std::filesystem::temp_directory_path() / ("quillet-e2e-" + std::to_string(::getpid()));
  QuilletFolder quillet_{root_ + "/bin"};
};

TEST_F(EndToEndTest, SendsTheMailOfTheCommandLineAndItParsesCleanly) {
  const std::string address = OwnAddress();
  mailnet::test::ChildProcess server({mailnet::test::kPython, mailnet::test::TestScript("smtp_sink.py"),
                                      root_ + "/mail", "--listen=" + address + ":25"});
  ASSERT_EQ(server.ReadLine(), "PORT 25");
  WriteIni(address);

  QuilletResult result = quillet_.Run(
      {"-a", "admin@example.org", "-s", "Achtung Rechner xy nicht im Netz", "-b", "Rechner xy", "-B", "fehlt"});

  EXPECT_EQ(result.exitCode, 0) << result.standardError;
  EXPECT_EQ(MailLines(".env"),
            (std::vector<std::string>{"MAIL FROM:<alerts@example.org>", "RCPT TO:<admin@example.org>"}));
  std::vector<std::string> summary = MailLines(".txt");
  auto has = [&](const std::string& line) { return std::find(summary.begin(), summary.end(), line) != summary.end(); };
  EXPECT_TRUE(has("header Subject: Achtung Rechner xy nicht im Netz"));
  EXPECT_TRUE(has("header From: Quillet <alerts@example.org>"));
  EXPECT_TRUE(has("header To: admin@example.org"));
  EXPECT_TRUE(has("header X-Mailer: " + quillet_.Program()));
  EXPECT_TRUE(has("part text/plain us-ascii None"));
  EXPECT_THAT(platform::ReadFileBytes(root_ + "/mail/0.part0"), ::testing::EndsWith("Rechner xy\r\nfehlt\r\n"));
  EXPECT_FALSE(platform::FileExists(quillet_.File("fehler.log")));
}

TEST_F(EndToEndTest, WithoutDisplayTheUsageTextGoesToStandardError) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"-a", "x", "-q", "y"}, {"-a", "x", "-q", "y", "-z"}}) {
    QuilletResult result = quillet_.Run(arguments);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.standardError, HasSubstr("Das Programm wird mit folgenden Parametern gestartet:\r\n-a eMail-Adresse"));
    EXPECT_THAT(result.standardError, ::testing::Not(HasSubstr("<b>")));
  }
}

TEST_F(EndToEndTest, AFailedRunLogsItsErrorAndWithoutDisplayEndsWithIt) {
  const std::string address = OwnAddress();  // nothing listens there: the connection is refused
  WriteIni(address);
  const std::vector<std::string> arguments{"-a", "admin@example.org", "-s", "y"};

  QuilletResult first = quillet_.Run(arguments);
  platform::WriteFileAtomic(quillet_.File("Quillet.ini"), "[SMTP]\r\nServer=\r\n");  // an empty host name
  QuilletResult second = quillet_.Run(arguments);

  EXPECT_EQ(first.exitCode, 1);
  EXPECT_EQ(second.exitCode, 1);
  ASSERT_FALSE(second.standardError.empty());
  EXPECT_NE(first.standardError, second.standardError);
  // The second run's text alone: the log starts afresh with each run.
  // (A sanitizer build may append its own report.)
  EXPECT_THAT(second.standardError, ::testing::StartsWith(platform::ReadFileBytes(quillet_.File("fehler.log")) + "\n"));
}

}  // namespace
}  // namespace quillet::test
