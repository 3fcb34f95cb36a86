// The SMTP client against Debian's exim4 (a daemon of the test's own on a loopback port), whose
// delivered mail is parsed with Python's email package under policy.strict.

#include <random>

#include "mailer/net/Mlsmtp.h"
#include "mailer/net/tests/EximServer.h"
#include "mailer/net/tests/MailFolder.h"
#include "mailer/net/tests/MailLoopTest.h"

namespace mailnet {
namespace {

using Lines = std::vector<std::string>;

// exim delivers messages with LF line ends.
std::string WithLf(std::string text) {
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

class MlsmtpEximTest : public test::MailLoopTest {};

TEST_F(MlsmtpEximTest, MessagesArriveAsWritten) {
  if (!test::EximServer::Available()) GTEST_SKIP() << "exim4 is not installed or the test is not root";
  platform::TempFolder& folder = folder_;
  test::EximServer exim(folder.File("exim"));
  ASSERT_NE(exim.Port(), 0) << "exim did not start";

  std::mt19937 random(5);
  std::string bytes(200000, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  std::filesystem::create_directories(folder.File("files"));
  std::string binary = folder.File("files/Bericht \xC3\x9C.bin");
  platform::WriteFileAtomic(binary, bytes);

  const std::string html = "<html><body><p>Rechner <b>xy</b> antwortet nicht.</p>\r\n.\r\n</body></html>";
  TMlSMTP smtp(nullptr);
  smtp.Host = "127.0.0.1";
  smtp.Port = exim.Port();
  smtp.SubType = mtHtml;
  smtp.ClearParams = false;
  TPostMessage& m = smtp.PostMessage();
  m.FromName = "Doe, John";
  m.FromAddress = "q@example.org";
  m.ToAddress().Add("\"Q <evil@x.org>, other\" <x@a.org>");
  m.ToCarbonCopy().Add("J\xC3\xBCrgen \"Jo\" M\xC3\xBCller <c@c.org>");
  m.Subject = "St\xC3\xB6rung";
  m.Body().SetText(html);
  m.Attachments().Add(binary);
  smtp.Connect();
  for (UUMethods method : {uuMime, uuCode}) {
    smtp.EncodeType = method;
    smtp.SendMail();
  }
  smtp.Disconnect();

  test::MailFolder parsed(folder.File(""));
  for (int n = 0; n < 2; ++n) {
    SCOPED_TRACE(n == 0 ? "base64" : "uu");
    std::string file = folder.File("exim-" + std::to_string(n) + ".eml");
    ASSERT_TRUE(exim.Message(static_cast<size_t>(n), file)) << "exim accepted no message";
    test::ChildProcess summarise({test::kPython, test::TestScript("summarise_mail.py"), file, folder.File(""), std::to_string(n)});
    ASSERT_EQ(summarise.Wait(), 0);
    EXPECT_EQ(parsed.Summary(n, "defect"), Lines{});
    EXPECT_EQ(parsed.Summary(n, "address"),
              (Lines{"From: Doe, John | q@example.org", "To: Q <evil@x.org>, other | x@a.org",
                     "CC: J\xC3\xBCrgen \"Jo\" M\xC3\xBCller | c@c.org"}));
    EXPECT_EQ(parsed.Summary(n, "part"), (Lines{"text/html us-ascii None", "application/octet-stream None Bericht \xC3\x9C.bin"}));
    EXPECT_EQ(parsed.Part(n, 0), WithLf(html + "\r\n"));
    EXPECT_TRUE(parsed.Part(n, 1) == bytes) << "the attachment arrived changed";
  }
}

}  // namespace
}  // namespace mailnet
