#include "mailer/net/Mlsmtp.h"

#include <regex>

#include "mailer/net/tests/MailLoopTest.h"
#include "mailer/net/tests/RaisesText.h"
#include "mailer/net/tests/ScriptedServer.h"
#include "platform/core/Files.h"
#include "platform/net/HostLookup.h"

namespace mailnet {
namespace {

using test::Answer;
using test::HangUp;
using test::Say;
using test::ScriptedServer;
using test::Step;
using test::TakeData;
using Lines = std::vector<std::string>;

// The server's side of a session that accepts everything: greeting, HELO, RSET, MAIL, one RCPT per
// recipient, DATA, the data, QUIT.
std::vector<Step> AcceptingServer(int recipients) {
  std::vector<Step> steps = {Say("220 mail.test\r\n"), Answer("250 hello\r\n"), Answer("250 reset\r\n"),
                             Answer("250 sender ok\r\n")};
  for (int i = 0; i < recipients; ++i) steps.push_back(Answer("250 recipient ok\r\n"));
  for (Step step : {Answer("354 go ahead\r\n"), TakeData(), Say("250 queued\r\n"), Answer("221 bye\r\n")}) {
    steps.push_back(step);
  }
  return steps;
}

// The message data with its Message-ID line taken out, after checking that it is "<unique@host>".
std::string WithoutMessageId(const std::string& data) {
  static const std::regex line("Message-ID: <[0-9A-F]+\\.[0-9A-F]{16}@[A-Za-z0-9.-]+>\r\n");
  std::smatch found;
  if (!std::regex_search(data, found, line)) {
    ADD_FAILURE() << "no Message-ID of the form <unique@host> in\n" << data;
    return data;
  }
  return found.prefix().str() + found.suffix().str();
}

class MlsmtpTest : public test::MailLoopTest {
protected:
  MlsmtpTest() {
    smtp_->Host = "127.0.0.1";
    TPostMessage& m = smtp_->PostMessage();
    m.FromName = "Quillet";
    m.FromAddress = "q@example.org";
    m.ToAddress().Add("x@a.org");
  }

  void ConnectTo(const ScriptedServer& server) {
    smtp_->Port = server.Port();
    smtp_->Connect();
  }

  // The whole session against an accepting server; what the server received.
  Lines Session() {
    ScriptedServer server(AcceptingServer(Recipients()));
    ConnectTo(server);
    smtp_->SendMail();
    smtp_->Disconnect();
    server.Stop();
    return server.Received();
  }

  // The message data of an accepted session, without its Message-ID line.
  std::string Data() {
    Lines received = Session();
    return WithoutMessageId(received.size() > 2 ? received[received.size() - 2] : "");
  }

  int Recipients() {
    TPostMessage& m = smtp_->PostMessage();
    return m.ToAddress().Count() + m.ToCarbonCopy().Count() + m.ToBlindCarbonCopy().Count();
  }

  std::unique_ptr<TMlSMTP> smtp_ = std::make_unique<TMlSMTP>(nullptr);
};

TEST_F(MlsmtpTest, SessionWithTheTraditionalLayout) {
  TPostMessage& m = smtp_->PostMessage();
  m.ToAddress().Add("Yvonne <y@b.org>");
  m.ToCarbonCopy().Add("SMTP:c@c.org");
  m.ToBlindCarbonCopy().Add("hidden@d.org");
  m.Subject = "Achtung Rechner xy nicht im Netz ";
  m.LocalProgram = "/opt/quillet/quillet";
  m.Date = "05.03.2024";
  for (const char* line : {"Hallo", ".", "..x", "a.b", ""}) m.Body().Add(line);
  std::vector<std::string> events;
  smtp_->OnConnect = [&](TObject*) { events.push_back("connect"); };
  smtp_->OnSendStart = [&](TObject*) { events.push_back("start"); };
  smtp_->OnSuccess = [&](TObject*) { events.push_back("success"); };

  Lines received = Session();
  ASSERT_EQ(received.size(), 10u);
  received[8] = WithoutMessageId(received[8]);
  EXPECT_EQ(received, (Lines{"HELO " + platform::LocalHostName() + "\r\n", "RSET\r\n", "MAIL FROM:<q@example.org>\r\n",
                             "RCPT TO:<x@a.org>\r\n", "RCPT TO:<y@b.org>\r\n", "RCPT TO:<c@c.org>\r\n",
                             "RCPT TO:<hidden@d.org>\r\n", "DATA\r\n",
                             "From: Quillet<q@example.org>\r\n"
                             "To: x@a.org,Yvonne <y@b.org>\r\n"
                             "CC: c@c.org\r\n"
                             "Subject: Achtung Rechner xy nicht im Netz \r\n"
                             "X-Mailer: /opt/quillet/quillet\r\n"
                             "Date: Tue, 05 Mar 2024 14:03:07 +0000\r\n"  // the send time, in the zone of the test (UTC)
                             "Mime-Version: 1.0\r\n"
                             "Content-Type: text/plain; charset=us-ascii\r\n"
                             "\r\n"  // the body starts right after the header's empty line
                             "Hallo\r\n..\r\n...x\r\na.b\r\n\r\n",
                             "QUIT\r\n"}));
  EXPECT_EQ(events, (Lines{"connect", "start", "success"}));
  EXPECT_EQ(m.ToAddress().Count(), 0);  // ClearParams
  EXPECT_EQ(m.Body().Count(), 5);
  EXPECT_FALSE(smtp_->Connected());
}

TEST_F(MlsmtpTest, OptionalHeaderLinesAndContentTypes) {
  TPostMessage& m = smtp_->PostMessage();
  smtp_->ClearParams = false;
  smtp_->SubType = mtHtml;
  m.FromName = "";
  m.ReplyTo = "r@example.org";
  m.Date = "Mon, 4 Mar 2024 10:00:00 +0100";  // a mail date-time is kept
  EXPECT_EQ(Data(),
            "From: <q@example.org>\r\nTo: x@a.org\r\nReply-To: r@example.org\r\n"
            "Date: Mon, 4 Mar 2024 10:00:00 +0100\r\nMime-Version: 1.0\r\n"
            "Content-Type: text/html; charset=us-ascii\r\n\r\n");  // an empty body: nothing after the header
  m.Date = "Mon, 99 Feb 2024 99:99 +9999";  // no real moment: the send time instead
  EXPECT_NE(Data().find("\r\nDate: Tue, 05 Mar 2024 14:03:07 +0000\r\n"), std::string::npos);
}

// Text that is no valid UTF-8 is read as Windows-1252: both spellings give the same mail.
TEST_F(MlsmtpTest, EightBitMailIsLabelledAndEncoded) {
  struct Spelling {
    const char *subject, *name, *replyTo, *line, *dotted;
  };
  for (const Spelling& k : {Spelling{"St\xC3\xB6rung", "M\xC3\xBCller", "J\xC3\xB6rg <j@example.org>",
                                     "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln", ".\xC3\xA4"},
                            Spelling{"St\xF6rung", "M\xFCller", "J\xF6rg <j@example.org>", "Gr\xFC\xDF" "e aus K\xF6ln",
                                     ".\xE4"}}) {
    SCOPED_TRACE(k.subject);
    TPostMessage& m = smtp_->PostMessage();
    m.ToAddress().Clear();
    m.ToAddress().Add("x@a.org");
    m.Body().Clear();
    m.Subject = k.subject;
    m.FromName = k.name;
    m.ReplyTo = k.replyTo;
    m.Body().Add(k.line);
    m.Body().Add("a=b " + std::string(80, 'x'));
    m.Body().Add(k.dotted);
    m.Body().Add("two\r\nlines\n.and");  // breaks inside a line become lines of their own
    EXPECT_EQ(Data(),
              "From: =?utf-8?B?TcO8bGxlcg==?= <q@example.org>\r\nTo: x@a.org\r\n"
              "Subject: =?utf-8?B?U3TDtnJ1bmc=?=\r\nReply-To: =?utf-8?B?SsO2cmc=?= <j@example.org>\r\n"
              "Date: Tue, 05 Mar 2024 14:03:07 +0000\r\nMime-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
              "Gr=C3=BC=C3=9Fe aus K=C3=B6ln\r\n"
              "a=3Db " + std::string(69, 'x') + "=\r\n" + std::string(11, 'x') + "\r\n"
              "..=C3=A4\r\ntwo\r\nlines\r\n..and\r\n");
  }
}

TEST_F(MlsmtpTest, LongAsciiLinesAreEncodedToo) {
  smtp_->PostMessage().Body().Add(std::string(1200, 'a'));
  std::string data = Data();
  EXPECT_NE(data.find("Content-Type: text/plain; charset=us-ascii\r\nContent-Transfer-Encoding: quoted-printable"),
            std::string::npos);
  for (size_t start = 0, end; (end = data.find("\r\n", start)) != std::string::npos; start = end + 2) {
    EXPECT_LE(end - start, 76u);
  }
}

// A client that left a continuation line unread would take it for the next command's reply and stay
// behind from there on: the refusal of the first recipient and the first line of QUIT's reply show it.
TEST_F(MlsmtpTest, MultiLineRepliesAreReadAfterEveryCommand) {
  smtp_->UserID = "client.example";
  smtp_->PostMessage().ToAddress().Add("y@b.org");
  Lines notFound;
  smtp_->OnRecipientNotFound = [&](const std::string& entry) { notFound.push_back(entry); };
  ScriptedServer server({Say("220-first\r\n220 second\r\n"), Answer("250-hello\r\n250-SIZE 100\r\n250 8BITMIME\r\n"),
                         Answer("250-reset\r\n250 done\r\n"), Answer("250-sender\r\n250-more\r\n250 ok\r\n"),
                         Answer("550-no such\r\n550 user\r\n"), Answer("250-rcpt\r\n250 ok\r\n"),
                         Answer("354-go\r\n354 ahead\r\n"), TakeData(), Say("250-queued\r\n250 as 42\r\n"),
                         Answer("221-bye\r\n221 now\r\n")});
  ConnectTo(server);
  smtp_->SendMail();
  smtp_->Disconnect();
  EXPECT_EQ(notFound, Lines{"x@a.org"});
  EXPECT_EQ(smtp_->LastReply(), "221-bye\r\n");
  server.Stop();
  Lines received = server.Received();
  ASSERT_EQ(received.size(), 8u);  // HELO, RSET, MAIL, two RCPT, DATA, the data, QUIT
  EXPECT_EQ(received[0], "HELO client.example\r\n");
  EXPECT_EQ(received[5], "DATA\r\n");
  EXPECT_EQ(received[7], "QUIT\r\n");
}

// Every reply is held to what SMTP allows at its place: the greeting 220, HELO, RSET, MAIL FROM and "."
// 2xx, DATA 354; RCPT is refused above 300 and QUIT above 339. A refusal raises the server's reply, any
// other reply is invalid (a 250 to DATA would have the message taken for commands and lost).
TEST_F(MlsmtpTest, ReplyCodesAreStrict) {
  smtp_->ClearParams = false;
  smtp_->PostMessage().ToAddress().Add("y@b.org");
  Lines notFound;
  smtp_->OnRecipientNotFound = [&](const std::string& entry) { notFound.push_back(entry); };
  {
    ScriptedServer server({Say("220 greeting\r\n"), Answer("299 hello\r\n"), Answer("200 reset\r\n"),
                           Answer("299 sender\r\n"), Answer("300 first\r\n"), Answer("301 second\r\n"),
                           Answer("354 data\r\n"), TakeData(), Say("299 queued\r\n"), Answer("339 bye\r\n")});
    ConnectTo(server);
    smtp_->SendMail();
    smtp_->Disconnect();
    EXPECT_EQ(notFound, Lines{"y@b.org"});  // a refusal is a reply above 300
  }
  const Step greeting = Say("220 hi\r\n"), hello = Answer("250 hello\r\n"), bye = Answer("221 bye\r\n");
  const Step reset = Answer("250 reset\r\n"), sender = Answer("250 sender\r\n"), rcpt = Answer("250 rcpt\r\n");
  struct Case {
    std::vector<Step> script;
    bool send;  // the failure comes in SendMail, else in Connect
    std::string text;
    bool data = false;  // the message data was sent
  };
  for (const Case& k : std::vector<Case>{
           {{Say("400 greeting\r\n"), bye}, false, "400 greeting\r\n"},
           {{Say("250 greeting\r\n"), bye}, false, InvalidReplyText("250 greeting\r\n")},
           {{greeting, Answer("300 hello\r\n"), bye}, false, "Die Authentifizierung ist fehlgeschlagen: 300 hello\r\n"},
           {{greeting, hello, Answer("300 reset\r\n"), bye}, true, InvalidReplyText("300 reset\r\n")},
           {{greeting, hello, Answer("400 reset\r\n"), bye}, true, "400 reset\r\n"},
           {{greeting, hello, reset, Answer("354 sender\r\n"), bye}, true, InvalidReplyText("354 sender\r\n")},
           {{greeting, hello, reset, Answer("400 sender\r\n"), bye}, true, "400 sender\r\n"},
           {{greeting, hello, reset, sender, rcpt, rcpt, Answer("250 data\r\n"), bye}, true, InvalidReplyText("250 data\r\n")},
           {{greeting, hello, reset, sender, rcpt, rcpt, Answer("400 data\r\n"), bye}, true, "400 data\r\n"},
           {{greeting, hello, reset, sender, rcpt, rcpt, Answer("354 go\r\n"), TakeData(), Say("354 queued\r\n"), bye}, true,
            InvalidReplyText("354 queued\r\n"), true},
           {{greeting, hello, reset, sender, rcpt, rcpt, Answer("354 go\r\n"), TakeData(), Say("400 queued\r\n"), bye}, true,
            "400 queued\r\n", true},
       }) {
    SCOPED_TRACE(k.text);
    ScriptedServer server(k.script);
    if (k.send) ConnectTo(server);
    EXPECT_RAISES(k.send ? smtp_->SendMail() : ConnectTo(server), platform::Exception, k.text);
    EXPECT_FALSE(smtp_->Connected());
    server.Stop();
    Lines received = server.Received();
    EXPECT_EQ(received.back(), "QUIT\r\n");
    bool dataSent = std::any_of(received.begin(), received.end(), [](const std::string& r) { return r.starts_with("From: "); });
    EXPECT_EQ(dataSent, k.data);
  }
  ScriptedServer server({greeting, hello, Answer("340 bye\r\n")});
  ConnectTo(server);
  EXPECT_RAISES(smtp_->Disconnect(), platform::Exception, "340 bye\r\n");
}

TEST_F(MlsmtpTest, RejectedGreetingSendsQuitAndRaisesTheReply) {
  ScriptedServer server({Say("554-no service\r\n554 go away\r\n"), Answer("221 bye\r\n")});
  EXPECT_RAISES(ConnectTo(server), platform::Exception, "554-no service\r\n554 go away\r\n");
  server.Stop();
  EXPECT_EQ(server.Received(), Lines{"QUIT\r\n"});
  EXPECT_FALSE(smtp_->Connected());
  EXPECT_FALSE(smtp_->Busy());
}

TEST_F(MlsmtpTest, RefusedHello) {
  {
    ScriptedServer server({Say("220 hi\r\n"), Answer("501 who are you\r\n"), Answer("221 bye\r\n")});
    EXPECT_RAISES(ConnectTo(server), platform::Exception, "Die Authentifizierung ist fehlgeschlagen: 501 who are you\r\n");
    server.Stop();
    EXPECT_EQ(server.Received().back(), "QUIT\r\n");
  }
  ScriptedServer server({Say("220 hi\r\n"), Answer("501 who are you\r\n"), Answer("250 now I know\r\n")});
  int asked = 0;
  smtp_->OnAuthenticationFailed = [&](bool& handled) {
    smtp_->UserID = "known.example";  // the handler may say who to be in the next HELO
    handled = ++asked == 1;
  };
  ConnectTo(server);
  EXPECT_TRUE(smtp_->Connected());
  EXPECT_EQ(asked, 1);
  server.Stop();
  EXPECT_EQ(server.Received().at(1), "HELO known.example\r\n");
}

// A reply that is none is an error, never success; the session is out of step, so no QUIT is sent.
TEST_F(MlsmtpTest, MalformedRepliesAreErrors) {
  struct Case {
    std::string greeting, invalid;
  };
  for (const Case& k : std::vector<Case>{
           {"hello\r\n", "hello\r\n"},
           {"22 short\r\n", "22 short\r\n"},
           {"2200 long\r\n", "2200 long\r\n"},
           {"220x\r\n", "220x\r\n"},
           {"100 early\r\n", "100 early\r\n"},
           {"99999 huge\r\n", "99999 huge\r\n"},
           {"220-ok\r\nnot a reply\r\n", "not a reply\r\n"},
           {"220-ok\r\n 220 blank first\r\n", " 220 blank first\r\n"},
           {"220-ok\r\n250 other code\r\n", "250 other code\r\n"},
       }) {
    SCOPED_TRACE(k.greeting);
    ScriptedServer server({Say(k.greeting)});
    EXPECT_RAISES(ConnectTo(server), ESockError, InvalidReplyText(k.invalid));
    EXPECT_FALSE(smtp_->Connected());
    server.Stop();
    EXPECT_EQ(server.Received(), Lines{});
  }
}

// Hostile servers: replies without end, over-long lines, a reply dripped line by line. Each is a clear
// error; the session ends without QUIT (the reply was not read whole).
TEST_F(MlsmtpTest, HostileRepliesAreBounded) {
  std::string hundred;
  for (int i = 0; i < 99; ++i) hundred += "250-line " + std::to_string(i) + "\r\n";
  std::string endless;
  while (endless.size() < 3'000'000) endless += "250-" + std::string(60, 'x') + "\r\n";
  struct Case {
    std::string hello;  // the reply to HELO
    std::string error;  // empty: accepted
  };
  for (const Case& k : std::vector<Case>{
           {hundred + "250 last\r\n", ""},
           {hundred + "250-one more\r\n250 last\r\n", "Antwort des Servers länger als 100 Zeilen"},
           {endless, "Antwort des Servers länger als 100 Zeilen"},
           {"250 " + std::string(4092, 'x') + "\r\n", ""},
           {"250 " + std::string(4093, 'x') + "\r\n", "Zeile des Servers länger als 4096 Bytes"},
           {"250 " + std::string(3'000'000, 'x'), "Zeile des Servers länger als 4096 Bytes"},
       }) {
    SCOPED_TRACE(k.error);
    ScriptedServer server({Say("220 hi\r\n"), Answer(k.hello), Answer("221 bye\r\n")});
    if (k.error.empty()) {
      ConnectTo(server);
      smtp_->Disconnect();
    } else {
      EXPECT_RAISES(ConnectTo(server), ESockError, k.error);
    }
    EXPECT_FALSE(smtp_->Connected());
    server.Stop();
    EXPECT_EQ(server.Received().size(), k.error.empty() ? 2u : 1u);  // HELO, and QUIT only after a whole reply
  }
}

// TimeOut bounds each step: the whole greeting, not each of its lines.
TEST_F(MlsmtpTest, DrippedGreetingTimesOut) {
  std::vector<Step> script{Say("220-first\r\n")};
  for (int i = 0; i < 5; ++i) {
    script.push_back(test::Hold());
    script.push_back(Say("220-more\r\n"));
  }
  ScriptedServer server(script);
  TThreadTimer drip(nullptr);
  drip.SetInterval(3000);  // a line every 3 s, each well within TimeOut
  drip.OnTimer = [&](TObject*) { server.Release(); };
  smtp_->TimeOut = 10000;
  int64_t start = platform::MonotonicMs();
  EXPECT_RAISES(ConnectTo(server), ESockError, "Zeitüberschreitung bei Socket-readln");
  EXPECT_EQ(platform::MonotonicMs() - start, 10000);
  server.Stop();
}

// A server that stops reading while the message goes out holds the send only for TimeOut.
TEST_F(MlsmtpTest, ServerThatStopsReadingDuringDataTimesOut) {
  std::string body(1000, 'b');
  for (int i = 0; i < 20000; ++i) smtp_->PostMessage().Body().Add(body);
  ScriptedServer server({Say("220 hi\r\n"), Answer("250 hello\r\n"), Answer("250 reset\r\n"), Answer("250 ok\r\n"),
                         Answer("250 ok\r\n"), Answer("354 go\r\n"), test::Hold()});
  smtp_->TimeOut = 30000;
  ConnectTo(server);
  EXPECT_RAISES(smtp_->SendMail(), ESockError, "Zeitüberschreitung bei Socket-send");
  EXPECT_FALSE(smtp_->Connected());
  EXPECT_FALSE(smtp_->Busy());
  server.Stop();
}

TEST_F(MlsmtpTest, ServerClosingMidLine) {
  for (const std::vector<Step>& script : {std::vector<Step>{Say("22"), HangUp()},
                                          std::vector<Step>{Say("220 hi\r\n"), Answer("250 he"), HangUp()}}) {
    ScriptedServer server(script);
    EXPECT_RAISES(ConnectTo(server), platform::Exception, "Die Verbindung wurde vom Server beendet");
    EXPECT_FALSE(smtp_->Connected());
  }
}

TEST_F(MlsmtpTest, SilentServerTimesOut) {
  ScriptedServer server({test::Listen()});
  smtp_->TimeOut = 10000;
  EXPECT_RAISES(ConnectTo(server), ESockError, "Zeitüberschreitung bei Socket-readln");
  server.Stop();
  EXPECT_EQ(server.Received(), Lines{});  // no QUIT into a silence
  EXPECT_FALSE(smtp_->Connected());
}

// A refused recipient is recorded with the server's reply and the mail goes to the others; when every
// one is refused, the refusals are the error and no DATA is sent.
TEST_F(MlsmtpTest, RefusedRecipients) {
  smtp_->ClearParams = false;
  smtp_->PostMessage().ToAddress().Add("Nobody <nobody@a.org>");
  Lines notFound;
  smtp_->OnRecipientNotFound = [&](const std::string& entry) { notFound.push_back(entry); };
  const Step greeting = Say("220 hi\r\n"), hello = Answer("250 hello\r\n"), reset = Answer("250 reset\r\n");
  const Step sender = Answer("250 ok\r\n"), bye = Answer("221 bye\r\n");
  {
    ScriptedServer server({greeting, hello, reset, sender, Answer("250 ok\r\n"), Answer("451 try later\r\n"),
                           Answer("354 go\r\n"), TakeData(), Say("250 queued\r\n"), bye});
    ConnectTo(server);
    smtp_->SendMail();
    smtp_->Disconnect();
    ASSERT_EQ(smtp_->RefusedRecipients().size(), 1u);
    EXPECT_EQ(smtp_->RefusedRecipients()[0].Address, "nobody@a.org");
    EXPECT_EQ(smtp_->RefusedRecipients()[0].Reply, "451 try later\r\n");
    EXPECT_EQ(notFound, Lines{"Nobody <nobody@a.org>"});
    server.Stop();
    EXPECT_EQ(server.Received()[5], "DATA\r\n");
  }
  notFound.clear();
  ScriptedServer server({greeting, hello, reset, sender, Answer("550 no such user\r\n"),
                         Answer("550-no\r\n550 such user\r\n"), bye});
  ConnectTo(server);
  EXPECT_RAISES(smtp_->SendMail(), platform::Exception,
                "Empfänger x@a.org abgelehnt: 550 no such user\r\n"
                "Empfänger nobody@a.org abgelehnt: 550-no\r\n550 such user\r\n");
  EXPECT_EQ(notFound, (Lines{"x@a.org", "Nobody <nobody@a.org>"}));
  EXPECT_EQ(smtp_->RefusedRecipients().size(), 2u);
  server.Stop();
  Lines received = server.Received();
  EXPECT_EQ(std::count(received.begin(), received.end(), "DATA\r\n"), 0);
  EXPECT_EQ(received.back(), "QUIT\r\n");
  EXPECT_FALSE(smtp_->Connected());
  EXPECT_FALSE(smtp_->Busy());
  EXPECT_EQ(smtp_->PostMessage().ToAddress().Count(), 2);  // kept for another try
}

TEST_F(MlsmtpTest, RefusedMessageCallsOnFailure) {
  std::vector<Step> script = AcceptingServer(1);
  script[script.size() - 2] = Say("552 too big\r\n");
  ScriptedServer server(script);
  int failures = 0;
  smtp_->OnFailure = [&](TObject*) { ++failures; };
  ConnectTo(server);
  EXPECT_RAISES(smtp_->SendMail(), platform::Exception, "552 too big\r\n");
  EXPECT_EQ(failures, 1);
  server.Stop();
  EXPECT_EQ(server.Received().back(), "QUIT\r\n");
}

TEST_F(MlsmtpTest, ACleanUpFailureNeverHidesTheError) {
  ScriptedServer server({Say("220 hi\r\n"), Answer("250 hello\r\n"), Answer("250 reset\r\n"),
                         Answer("550 sender refused\r\n"), HangUp()});
  smtp_->OnDisconnect = [](TObject*) { throw platform::Exception("failing handler"); };
  ConnectTo(server);
  EXPECT_RAISES(smtp_->SendMail(), platform::Exception, "550 sender refused\r\n");
  EXPECT_FALSE(smtp_->Connected());
  EXPECT_FALSE(smtp_->Busy());
}

TEST_F(MlsmtpTest, RefusedInputNeverReachesTheServer) {
  struct Case {
    std::function<void(TMlSMTP&)> spoil;
    std::string text;
  };
  for (const Case& k : std::vector<Case>{
           {[](TMlSMTP& s) { s.PostMessage().Subject = "x\r\nBcc: evil@x.org"; }, "Unzulässiges Steuerzeichen in Subject"},
           {[](TMlSMTP& s) { s.PostMessage().ToAddress().Add("a@b.org>\r\nRCPT TO:<evil@x.org"); },
            "Unzulässiges Steuerzeichen in To"},
           {[](TMlSMTP& s) { s.PostMessage().FromAddress = "q@x.org\n"; }, "Unzulässiges Steuerzeichen in FromAddress"},
           {[](TMlSMTP& s) { s.PostMessage().FromName = "Q\rBcc: evil@x.org"; }, "Unzulässiges Steuerzeichen in FromName"},
           {[](TMlSMTP& s) { s.PostMessage().ToCarbonCopy().Add("c@c.org\r\n."); }, "Unzulässiges Steuerzeichen in CC"},
           {[](TMlSMTP& s) { s.PostMessage().ToBlindCarbonCopy().Add("b@b.org\x1b"); }, "Unzulässiges Steuerzeichen in BCC"},
           {[](TMlSMTP& s) { s.PostMessage().ReplyTo = "r@x.org\nX: y"; }, "Unzulässiges Steuerzeichen in ReplyTo"},
           {[](TMlSMTP& s) { s.PostMessage().LocalProgram = "/q\r\n"; }, "Unzulässiges Steuerzeichen in LocalProgram"},
           {[](TMlSMTP& s) { s.PostMessage().Date = "05.03.2024\n"; }, "Unzulässiges Steuerzeichen in Date"},
           {[](TMlSMTP& s) { s.PostMessage().Attachments().Add("a\r\n.txt"); }, "Unzulässiges Steuerzeichen in Attachments"},
           {[](TMlSMTP& s) { s.Charset = "utf-8\r\nX: y"; }, "Unzulässiges Steuerzeichen in Charset"},
           {[](TMlSMTP& s) { s.PostMessage().ToAddress().Add("a@b> NOTIFY=SUCCESS"); }, "Ungültige Adresse in To: a@b> NOTIFY=SUCCESS"},
           {[](TMlSMTP& s) { s.PostMessage().ToCarbonCopy().Add("Name <a@b.org> <evil@x.org>"); },
            "Ungültige Adresse in CC: Name <a@b.org> <evil@x.org>"},
           {[](TMlSMTP& s) { s.PostMessage().ToBlindCarbonCopy().Add("Group: a b@c.org"); },
            "Ungültige Adresse in BCC: Group: a b@c.org"},
           {[](TMlSMTP& s) { s.PostMessage().FromAddress = "q@x.org> SIZE=1"; }, "Ungültige Adresse in FromAddress: q@x.org> SIZE=1"},
           {[](TMlSMTP& s) { s.PostMessage().ReplyTo = "r@x.org, evil@x.org"; }, "Ungültige Adresse in ReplyTo: r@x.org, evil@x.org"},
           {[](TMlSMTP& s) { s.PostMessage().ToAddress().Add("J\xC3\xB6rg <j\xC3\xB6rg@x.org>"); },
            "8-Bit-Zeichen in To (ohne SMTPUTF8 nicht möglich)"},
           {[](TMlSMTP& s) { s.PostMessage().FromAddress = "q@b\xC3\xBCro.org"; }, "8-Bit-Zeichen in FromAddress (ohne SMTPUTF8 nicht möglich)"},
           {[](TMlSMTP& s) { s.Charset = "utf-8\xC3\xBC"; }, "8-Bit-Zeichen in Charset (ohne SMTPUTF8 nicht möglich)"},
           {[](TMlSMTP& s) { s.PostMessage().ToAddress().Clear(); }, "Header nicht vollständig"},
           {[](TMlSMTP& s) { s.PostMessage().FromAddress.clear(); }, "Header nicht vollständig"},
       }) {
    SCOPED_TRACE(k.text);
    smtp_ = std::make_unique<TMlSMTP>(nullptr);
    smtp_->Host = "127.0.0.1";
    smtp_->PostMessage().FromAddress = "q@example.org";
    smtp_->PostMessage().ToAddress().Add("x@a.org");
    k.spoil(*smtp_);
    ScriptedServer server({Say("220 hi\r\n"), Answer("250 hello\r\n"), Answer("221 bye\r\n")});
    ConnectTo(server);
    EXPECT_RAISES(smtp_->SendMail(), platform::Exception, k.text);
    server.Stop();
    EXPECT_EQ(server.Received().back(), "QUIT\r\n");  // the session ends cleanly, nothing of the mail was sent
    EXPECT_EQ(server.Received().size(), 2u);
  }
  smtp_->UserID = "me\r\nMAIL FROM:<evil@x.org>";  // the argument of HELO likewise, before any connection
  EXPECT_RAISES(smtp_->Connect(), platform::Exception, "Unzulässiges Steuerzeichen in UserID");
  smtp_->UserID = "m\xC3\xBC.example";
  EXPECT_RAISES(smtp_->Connect(), platform::Exception, "8-Bit-Zeichen in UserID (ohne SMTPUTF8 nicht möglich)");
  EXPECT_FALSE(smtp_->Connected());
}

TEST_F(MlsmtpTest, IncompleteHeaderHandledByTheCaller) {
  smtp_->PostMessage().ToAddress().Clear();
  int type = 0;
  smtp_->OnHeaderIncomplete = [&](bool& handled, int hiType) {
    type = hiType;
    smtp_->PostMessage().ToAddress().Add("late@a.org");
    handled = true;
  };
  ScriptedServer server(AcceptingServer(1));
  ConnectTo(server);
  smtp_->SendMail();
  server.Stop();
  EXPECT_EQ(type, 2);
  Lines received = server.Received();
  EXPECT_EQ(received[3], "RCPT TO:<late@a.org>\r\n");
  EXPECT_NE(received[5].find("\r\nTo: late@a.org\r\n"), std::string::npos);  // the header follows the change
}

TEST_F(MlsmtpTest, NotConnectedAndBusy) {
  bool required = false;
  smtp_->OnConnectionRequired = [&](bool&) { required = true; };
  EXPECT_RAISES(smtp_->SendMail(), platform::Exception, "Nicht verbunden");
  EXPECT_TRUE(required);
  EXPECT_FALSE(smtp_->Busy());

  // A SendMail from a handler of a running one returns at once.
  ScriptedServer server(AcceptingServer(1));
  ConnectTo(server);
  int starts = 0;
  smtp_->OnSendStart = [&](TObject*) {
    ++starts;
    EXPECT_TRUE(smtp_->Busy());
    smtp_->SendMail();
  };
  smtp_->SendMail();
  EXPECT_EQ(starts, 1);
  EXPECT_FALSE(smtp_->Busy());
}

TEST_F(MlsmtpTest, RefusedQuitStillCloses) {
  ScriptedServer server({Say("220 hi\r\n"), Answer("250 hello\r\n"), Answer("500 what\r\n")});
  ConnectTo(server);
  EXPECT_RAISES(smtp_->Disconnect(), platform::Exception, "500 what\r\n");
  EXPECT_FALSE(smtp_->Connected());
  smtp_->Disconnect();  // nothing left to close
}

// Servers often close right after their goodbye (or instead of it): one close, one OnDisconnect.
TEST_F(MlsmtpTest, ServerClosingAtQuitDisconnectsOnce) {
  for (const char* goodbye : {"221 bye\r\n", ""}) {
    SCOPED_TRACE(goodbye);
    ScriptedServer server({Say("220 hi\r\n"), Answer("250 hello\r\n"), Answer(goodbye), HangUp()});
    int disconnects = 0;
    smtp_->OnDisconnect = [&](TObject*) { ++disconnects; };
    ConnectTo(server);
    try {
      smtp_->Disconnect();
    } catch (const platform::Exception& e) {
      EXPECT_EQ(e.Message(), "Die Verbindung wurde vom Server beendet");
    }
    EXPECT_FALSE(smtp_->Connected());
    EXPECT_EQ(disconnects, 1);
  }
}

TEST_F(MlsmtpTest, VerifyAndExpandList) {
  ScriptedServer server({Say("220 hi\r\n"), Answer("250 hello\r\n"), Answer("250 <x@a.org>\r\n"),
                         Answer("550 unknown\r\n"), Answer("250-first <a@a.org>\r\n250 last <b@a.org>\r\n"),
                         Answer("550 no\r\n")});
  ConnectTo(server);
  EXPECT_TRUE(smtp_->Verify("x@a.org"));
  EXPECT_FALSE(smtp_->Verify("y@a.org"));
  Lines returned;
  smtp_->OnMailListReturn = [&](const std::string& line) { returned.push_back(line); };
  EXPECT_TRUE(smtp_->ExpandList("staff"));
  EXPECT_EQ(returned, Lines{"250-first <a@a.org>\r\n"});
  EXPECT_FALSE(smtp_->ExpandList("nobody"));
}

// A reply that fails half-way leaves the rest of it unread: a later command would take that for its own
// reply, so the session ends.
TEST_F(MlsmtpTest, FailedVerifyOrExpandListEndsTheSession) {
  for (bool verify : {true, false}) {
    SCOPED_TRACE(verify ? "VRFY" : "EXPN");
    ScriptedServer server({Say("220 hi\r\n"), Answer("250 hello\r\n"), Answer("250-first\r\nbad\r\n250 last\r\n")});
    ConnectTo(server);
    EXPECT_RAISES(verify ? smtp_->Verify("x@a.org") : smtp_->ExpandList("staff"), ESockError,
                  InvalidReplyText("bad\r\n"));
    EXPECT_FALSE(smtp_->Connected());
    EXPECT_FALSE(smtp_->Busy());
  }
}

TEST(MlsmtpAddress, ExtractAddress) {
  EXPECT_EQ(TMlSMTP::ExtractAddress("Yvonne <y@b.org>"), "y@b.org");
  EXPECT_EQ(TMlSMTP::ExtractAddress("SMTP:c@c.org"), "c@c.org");
  EXPECT_EQ(TMlSMTP::ExtractAddress("plain@d.org"), "plain@d.org");
  EXPECT_EQ(TMlSMTP::ExtractAddress("a <b:c@d.org>"), "b:c@d.org");
}

}  // namespace
}  // namespace mailnet
