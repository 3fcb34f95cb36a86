// The SMTP client against a real SMTP server on loopback (smtp_sink.py), whose received mail is parsed
// with Python's email package under policy.strict.

#include <random>
#include <regex>

#include "mailer/net/Mlsmtp.h"
#include "mailer/net/tests/MailLoopTest.h"
#include "mailer/net/tests/RaisesText.h"
#include "mailer/net/tests/SmtpSink.h"

namespace mailnet {
namespace {

using Lines = std::vector<std::string>;

class MlsmtpServerTest : public test::MailLoopTest {
protected:
  void SetUp() override {
    MailLoopTest::SetUp();
    ASSERT_NE(sink_.Port(), 0) << "the SMTP server did not start";
    smtp_->Host = "localhost";
    smtp_->Port = sink_.Port();
    TPostMessage& m = smtp_->PostMessage();
    m.FromName = "Quillet";
    m.FromAddress = "q@example.org";
  }

  Lines Summary(int n, const std::string& kind) { return sink_.Summary(n, kind); }
  // The header lines that Python parsed from message n, the Message-ID's value checked and left out.
  Lines Headers(int n) {
    Lines headers;
    for (const std::string& line : Summary(n, "header")) {
      if (!line.starts_with("Message-ID: ")) {
        headers.push_back(line);
      } else {
        EXPECT_TRUE(std::regex_match(line, std::regex("Message-ID: <[0-9A-F]+\\.[0-9A-F]{16}@[A-Za-z0-9.-]+>"))) << line;
      }
    }
    EXPECT_EQ(Summary(n, "defect"), Lines{});
    return headers;
  }
  Lines Parts(int n) { return Summary(n, "part"); }

  std::string File(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(folder_.File("files"));
    platform::WriteFileAtomic(folder_.File("files/" + name), bytes);
    return folder_.File("files/" + name);
  }

  platform::TempFolder mail_;
  test::SmtpSink sink_{mail_.File("")};
  std::unique_ptr<TMlSMTP> smtp_ = std::make_unique<TMlSMTP>(nullptr);
};

TEST_F(MlsmtpServerTest, MailToTwoRecipientsArrivesWhole) {
  TPostMessage& m = smtp_->PostMessage();
  m.ToAddress().Add("x@a.org");
  m.ToAddress().Add("Yvonne <y@b.org>");
  m.ToBlindCarbonCopy().Add("hidden@d.org");
  m.Subject = "Achtung Rechner xy nicht im Netz ";
  m.LocalProgram = "/opt/quillet/quillet";
  m.Date = "05.03.2024";
  for (const char* line : {"Rechner xy antwortet nicht.", ".", "Gruss"}) m.Body().Add(line);
  smtp_->Connect();
  smtp_->SendMail();
  smtp_->Disconnect();

  EXPECT_EQ(sink_.Envelope(0),
            (Lines{"MAIL FROM:<q@example.org>", "RCPT TO:<x@a.org>", "RCPT TO:<y@b.org>", "RCPT TO:<hidden@d.org>"}));
  EXPECT_EQ(Headers(0), (Lines{"From: Quillet <q@example.org>", "To: x@a.org, Yvonne <y@b.org>",
                               "Subject: Achtung Rechner xy nicht im Netz ", "X-Mailer: /opt/quillet/quillet",
                               "Date: Tue, 05 Mar 2024 14:03:07 +0000", "Mime-Version: 1.0",
                               "Content-Type: text/plain; charset=\"us-ascii\""}));  // as Python writes it
  EXPECT_EQ(Parts(0), Lines{"text/plain us-ascii None"});
  EXPECT_EQ(sink_.Part(0, 0), "Rechner xy antwortet nicht.\r\n.\r\nGruss\r\n");
}

TEST_F(MlsmtpServerTest, HtmlBody) {
  smtp_->SubType = mtHtml;
  smtp_->PostMessage().ToAddress().Add("x@a.org");
  smtp_->PostMessage().Body().Add("<html><body><b>Rechner xy</b> antwortet nicht</body></html>");
  smtp_->Connect();
  smtp_->SendMail();
  Headers(0);
  EXPECT_EQ(Parts(0), Lines{"text/html us-ascii None"});
  EXPECT_EQ(sink_.Part(0, 0), "<html><body><b>Rechner xy</b> antwortet nicht</body></html>\r\n");
}

TEST_F(MlsmtpServerTest, EightBitMailDecodesToTheOriginalText) {
  TPostMessage& m = smtp_->PostMessage();
  m.FromName = "J\xC3\xBCrgen M\xC3\xBCller";
  m.ReplyTo = "B\xC3\xBCro <office@example.org>";
  m.ToAddress().Add("x@a.org");
  m.Subject = "St\xC3\xB6rung: Rechner xy nicht im Netz \xE2\x80\x93 seit 10:00 Uhr, bitte pr\xC3\xBC" "fen";
  m.Body().Add("Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln");
  m.Body().Add(std::string(300, 'a') + "\xC3\xA4 =");
  smtp_->Connect();
  smtp_->SendMail();
  Lines headers = Headers(0);
  EXPECT_EQ(headers[0], "From: J\xC3\xBCrgen M\xC3\xBCller <q@example.org>");
  EXPECT_EQ(headers[2], "Subject: " + m.Subject);
  EXPECT_EQ(headers[3], "Reply-To: B\xC3\xBCro <office@example.org>");
  EXPECT_EQ(Parts(0), Lines{"text/plain utf-8 None"});
  EXPECT_EQ(sink_.Part(0, 0), "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln\r\n" + std::string(300, 'a') + "\xC3\xA4 =\r\n");
  std::string raw = sink_.Raw(0);
  for (size_t start = 0, end; (end = raw.find("\r\n", start)) != std::string::npos; start = end + 2) {
    EXPECT_LE(end - start, 998u);
  }
  EXPECT_TRUE(std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
}

// A body line is encoded a piece at a time: a line of 200 000 bytes with characters of two to four
// bytes across every place where a piece could end, bytes that are no UTF-8 (read as Windows-1252) and
// a blank at its end arrives as one line with the text of the whole.
TEST_F(MlsmtpServerTest, ALongBodyLineArrivesWhole) {
  std::string line;
  size_t length = 0;
  for (const char* character : {"\xC3\xA4", "\xE2\x80\x93", "\xF0\x9F\x98\x80", "a"}) {
    for (length += 50000; line.size() < length;) line += character;
  }
  const std::string expected = line + "\xC3\xA4 ";
  line += "\xE4 ";
  smtp_->PostMessage().ToAddress().Add("x@a.org");
  smtp_->PostMessage().Body().Add(line);
  smtp_->Connect();
  smtp_->SendMail();
  EXPECT_EQ(Parts(0), Lines{"text/plain utf-8 None"});
  EXPECT_EQ(sink_.Part(0, 0), expected + "\r\n");
}

TEST_F(MlsmtpServerTest, AttachmentsDecodeToTheOriginalBytes) {
  std::mt19937 random(11);
  std::string bytes(100000, '\0');  // more than one send buffer of 64 KiB once encoded
  for (char& c : bytes) c = static_cast<char>(random());
  std::string fourteen = "fourteen bytes";  // a UU line for 14 bytes starts with "."
  std::string binary = File("report.bin", bytes), small = File("dot \"name\".txt", fourteen);
  std::string utf8 = File("Bericht-\xC3\x9C.txt", "Umlaut im Namen");
  Lines events;
  smtp_->OnEncodeStart = [&](const std::string& name) { events.push_back("start " + name); };
  smtp_->OnEncodeEnd = [&](const std::string& name) { events.push_back("end " + name); };
  int packets = 0;
  smtp_->OnPacketSent = [&](TObject*) { ++packets; };
  smtp_->Connect();
  int n = 0;
  for (UUMethods method : {uuMime, uuCode}) {
    SCOPED_TRACE(method == uuMime ? "base64" : "uu");
    smtp_->EncodeType = method;
    TPostMessage& m = smtp_->PostMessage();
    m.ToAddress().Add("x@a.org");
    m.Body().Clear();
    m.Body().Add("Anbei der Bericht.");
    m.Attachments().Add(binary);
    m.Attachments().Add(small);
    m.Attachments().Add(utf8);
    events.clear();
    packets = 0;
    smtp_->SendMail();
    EXPECT_EQ(events, (Lines{"start " + binary, "end " + binary, "start " + small, "end " + small, "start " + utf8,
                             "end " + utf8}));
    EXPECT_GE(packets, 3);
    Headers(n);
    EXPECT_EQ(Parts(n), (Lines{"text/plain us-ascii None", "application/octet-stream None report.bin",
                               "application/octet-stream None dot \"name\".txt",
                               "application/octet-stream None Bericht-\xC3\x9C.txt"}));
    EXPECT_EQ(sink_.Part(n, 0), "Anbei der Bericht.\r\n");  // the text part keeps its last line break
    EXPECT_EQ(sink_.Part(n, 1), bytes);
    EXPECT_EQ(sink_.Part(n, 2), fourteen);
    EXPECT_EQ(sink_.Part(n, 3), "Umlaut im Namen");
    std::string raw = sink_.Raw(n);
    EXPECT_TRUE(std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    if (method == uuCode) {
      EXPECT_NE(raw.find("\r\nbegin 644 Bericht-_.txt\r\n"), std::string::npos);
    }
    ++n;
  }
  // The boundary is new for every message.
  auto boundary = [&](int k) {
    std::string raw = sink_.Raw(k);
    size_t at = raw.find("boundary=\"");
    return raw.substr(at + 10, raw.find('"', at + 10) - at - 10);
  };
  EXPECT_NE(boundary(0), boundary(1));
  EXPECT_TRUE(boundary(0).starts_with("====================54535")) << boundary(0);
}

// Names that readers used to take apart (commas, quotes, "<"), names in UTF-8, and names that look like
// encoded words arrive as written, each address as one address.
TEST_F(MlsmtpServerTest, DisplayNamesArriveAsWritten) {
  TPostMessage& m = smtp_->PostMessage();
  m.FromName = "Doe, John";
  m.ToAddress().Add("\"Q <evil@x.org>, other\" <x@a.org>");
  m.ToAddress().Add("Say \"hi\" <y@b.org>");
  m.ToCarbonCopy().Add("J\xC3\xBCrgen M\xC3\xBCller <c@c.org>");
  m.ToCarbonCopy().Add("=?utf-8?B?SGFja2Vk?= <d@d.org>");
  m.ReplyTo = "\"Office, Main\" <office@example.org>";
  m.Subject = "=?utf-8?B?SGFja2Vk?=";
  m.Body().Add("Text");
  smtp_->Connect();
  smtp_->SendMail();
  Headers(0);
  EXPECT_EQ(Summary(0, "address"), (Lines{"From: Doe, John | q@example.org", "To: Q <evil@x.org>, other | x@a.org",
                                          "To: Say \"hi\" | y@b.org", "CC: J\xC3\xBCrgen M\xC3\xBCller | c@c.org",
                                          "CC: =?utf-8?B?SGFja2Vk?= | d@d.org", "Reply-To: Office, Main | office@example.org"}));
  EXPECT_EQ(Summary(0, "header")[3], "Subject: =?utf-8?B?SGFja2Vk?=");
}

TEST_F(MlsmtpServerTest, MissingAttachmentFailsTheSend) {
  smtp_->PostMessage().ToAddress().Add("x@a.org");
  smtp_->PostMessage().Attachments().Add(folder_.File("no-such-file.pdf"));
  Lines missing;
  smtp_->OnAttachmentNotFound = [&](const std::string& name) { missing.push_back(name); };
  smtp_->Connect();
  EXPECT_THROW(smtp_->SendMail(), platform::EFOpenError);
  EXPECT_EQ(missing, Lines{folder_.File("no-such-file.pdf")});
  EXPECT_FALSE(sink_.Has(0));
  EXPECT_FALSE(smtp_->Connected());
}

TEST_F(MlsmtpServerTest, RejectedRecipientsAndRejectedData) {
  TPostMessage& m = smtp_->PostMessage();
  m.ToAddress().Add("unknown1@a.org");
  m.ToAddress().Add("x@a.org");
  m.ToCarbonCopy().Add("Unbekannt <unknown2@a.org>");
  Lines notFound;
  smtp_->OnRecipientNotFound = [&](const std::string& entry) { notFound.push_back(entry); };
  smtp_->Connect();
  smtp_->SendMail();
  EXPECT_EQ(notFound, (Lines{"unknown1@a.org", "Unbekannt <unknown2@a.org>"}));
  ASSERT_EQ(smtp_->RefusedRecipients().size(), 2u);
  EXPECT_EQ(smtp_->RefusedRecipients()[1].Address, "unknown2@a.org");
  EXPECT_EQ(smtp_->RefusedRecipients()[1].Reply, "550 5.1.1 No such user here\r\n");
  EXPECT_EQ(sink_.Envelope(0), (Lines{"MAIL FROM:<q@example.org>", "RCPT TO:<x@a.org>"}));

  m.ToAddress().Add("x@a.org");
  m.Body().Add("X-Reject: yes");
  int failures = 0;
  smtp_->OnFailure = [&](TObject*) { ++failures; };
  EXPECT_RAISES(smtp_->SendMail(), platform::Exception, "554 5.6.0 Message refused\r\n");
  EXPECT_EQ(failures, 1);
  EXPECT_FALSE(smtp_->Connected());
  EXPECT_FALSE(sink_.Has(1));

  // Every recipient refused: the refusal fails the send, before DATA.
  m.ToAddress().Clear();
  m.ToAddress().Add("unknown3@a.org");
  smtp_->Connect();
  EXPECT_RAISES(smtp_->SendMail(), platform::Exception, "Empfänger unknown3@a.org abgelehnt: 550 5.1.1 No such user here\r\n");
  EXPECT_EQ(failures, 1);  // OnFailure is for a refusal after the data
  EXPECT_FALSE(smtp_->Connected());
  EXPECT_FALSE(sink_.Has(1));
}

}  // namespace
}  // namespace mailnet
