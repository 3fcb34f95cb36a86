// The real quillet, without a display, against real SMTP servers (aiosmtpd, and exim4 in a private
// configuration) on port 25 of a loopback address of this test's own.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mailer/net/tests/ChildProcess.h"
#include "mailer/net/tests/EximServer.h"
#include "mailer/net/tests/MailFolder.h"
#include "mailer/tests/QuilletRun.h"
#include "X11TestSupport.h"
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

  // Runs quillet with a mail to send and checks what the server received as message 0 in root_/mail,
  // as Python's email package under policy.strict reads it; the body's lines end in lineEnd as the
  // server delivers them.
  // Returns what quillet gave, run on `display` when one is given.
  QuilletResult SendAndCheck(const std::function<bool()>& received, const std::string& lineEnd,
                             const std::string& display = {}) {
    QuilletResult result = quillet_.Run(
        {"-a", "admin@example.org", "-s", "Achtung Rechner xy nicht im Netz", "-b", "Rechner xy", "-B", "fehlt"},
        display);

    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    if (!received()) {
      ADD_FAILURE() << "the server received no message";
      return result;
    }
    mailnet::test::MailFolder mail(root_ + "/mail");
    EXPECT_EQ(mail.Summary(0, "defect"), std::vector<std::string>{});
    std::vector<std::string> headers = mail.Summary(0, "header");
    auto has = [&](const std::string& line) { return std::find(headers.begin(), headers.end(), line) != headers.end(); };
    EXPECT_TRUE(has("Subject: Achtung Rechner xy nicht im Netz"));
    EXPECT_TRUE(has("From: Quillet <alerts@example.org>"));
    EXPECT_TRUE(has("To: admin@example.org"));
    EXPECT_TRUE(has("X-Mailer: " + quillet_.Program()));
    EXPECT_EQ(mail.Summary(0, "part"), std::vector<std::string>{"text/plain us-ascii None"});
    EXPECT_THAT(mail.Part(0, 0), ::testing::EndsWith("Rechner xy" + lineEnd + "fehlt" + lineEnd));
    EXPECT_FALSE(platform::FileExists(quillet_.File("fehler.log")));
    return result;
  }

  // Starts aiosmtpd on an address of this test's own (it refuses recipients whose address starts with
  // "unknown") and names it in Quillet.ini.
  std::unique_ptr<mailnet::test::ChildProcess> StartSink() {
    const std::string address = OwnAddress();
    auto server = std::make_unique<mailnet::test::ChildProcess>(std::vector<std::string>{
        mailnet::test::kPython, mailnet::test::TestScript("smtp_sink.py"), root_ + "/mail", "--listen=" + address + ":25"});
    EXPECT_EQ(server->ReadLine(), "PORT 25");
    WriteIni(address);
    return server;
  }

  std::string root_ = std::filesystem::temp_directory_path() / ("quillet-e2e-" + std::to_string(::getpid()));
  QuilletFolder quillet_{root_ + "/bin"};
};

TEST_F(EndToEndTest, SendsTheMailOfTheCommandLineToAiosmtpd) {
  std::unique_ptr<mailnet::test::ChildProcess> server = StartSink();
  SendAndCheck([&] { return platform::FileExists(root_ + "/mail/0.txt"); }, "\r\n");
  EXPECT_EQ(mailnet::test::MailFolder(root_ + "/mail").Envelope(0),
            (std::vector<std::string>{"MAIL FROM:<alerts@example.org>", "RCPT TO:<admin@example.org>"}));
}

// A display that takes the connection but never answers counts as none once a few seconds passed: the
// mail goes out as without a display.
TEST_F(EndToEndTest, AFrozenDisplayCountsAsNoneAndTheMailGoesOut) {
  platform::test::SilentXServer frozen;
  ASSERT_FALSE(frozen.Display().empty()) << "no free port for the silent display";
  std::unique_ptr<mailnet::test::ChildProcess> server = StartSink();
  const int64_t start = platform::MonotonicMs();
  QuilletResult result = SendAndCheck([&] { return platform::FileExists(root_ + "/mail/0.txt"); }, "\r\n", frozen.Display());
  EXPECT_LE(platform::MonotonicMs() - start, 15000);
  EXPECT_THAT(result.standardError,
              ::testing::StartsWith("quillet: the X display " + frozen.Display() +
                                    " does not answer within 5 s; no window is shown\n"));
}

// Each refused recipient goes to fehler.log with the server's reply and makes the exit code 1; the mail
// still goes to the others, and with none left no mail is sent.
TEST_F(EndToEndTest, RefusedRecipientsAreLoggedAndFailTheRun) {
  std::unique_ptr<mailnet::test::ChildProcess> server = StartSink();
  const std::string refusal = " abgelehnt: 550 5.1.1 No such user here\r\n";

  QuilletResult partly = quillet_.Run({"-a", "admin@example.org", "-a", "unknown1@example.org", "-s", "y"});
  EXPECT_EQ(partly.exitCode, 1);
  const std::string partlyLog = platform::ReadFileBytes(quillet_.File("fehler.log"));
  EXPECT_EQ(partlyLog, "Empfänger unknown1@example.org" + refusal);
  EXPECT_THAT(partly.standardError, ::testing::StartsWith(partlyLog + "\n"));
  EXPECT_EQ(mailnet::test::MailFolder(root_ + "/mail").Envelope(0),
            (std::vector<std::string>{"MAIL FROM:<alerts@example.org>", "RCPT TO:<admin@example.org>"}));

  QuilletResult none = quillet_.Run({"-a", "unknown2@example.org", "-a", "unknown3@example.org", "-s", "y"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(platform::ReadFileBytes(quillet_.File("fehler.log")),
            "Empfänger unknown2@example.org" + refusal + "Empfänger unknown3@example.org" + refusal);
  EXPECT_FALSE(mailnet::test::MailFolder(root_ + "/mail").Has(1));
}

TEST_F(EndToEndTest, SendsTheMailOfTheCommandLineToExim) {
  if (!mailnet::test::EximServer::Available()) GTEST_SKIP() << "exim4 is not installed or the test is not root";
  const std::string address = OwnAddress();
  mailnet::test::EximServer exim(root_ + "/exim", address, 25);
  ASSERT_NE(exim.Port(), 0) << "exim did not start";
  WriteIni(address);

  SendAndCheck([&] {
    const std::string file = root_ + "/exim.eml";
    if (!exim.Message(0, file)) return false;
    mailnet::test::ChildProcess summarise(
        {mailnet::test::kPython, mailnet::test::TestScript("summarise_mail.py"), file, root_ + "/mail", "0"});
    return summarise.Wait() == 0;
  }, "\n");  // exim delivers with LF line ends
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
