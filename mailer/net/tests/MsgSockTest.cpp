#include "mailer/net/MsgSock.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include "mailer/net/WinsockErrorText.h"
#include "mailer/net/tests/MailLoopTest.h"
#include "mailer/net/tests/RaisesText.h"
#include "mailer/net/tests/ScriptedServer.h"
#include "platform/net/HostLookup.h"
#include "platform/net/SocketError.h"
#include "platform/net/tests/HeldResolver.h"
#include "platform/app/Application.h"

namespace mailnet {
namespace {

using test::Answer;
using test::HangUp;
using test::Listen;
using test::AwaitRead;
using test::Say;
using test::ScriptedServer;

class MsgSockTest : public test::MailLoopTest {
protected:
  std::unique_ptr<TMsgSock> sock_ = std::make_unique<TMsgSock>(nullptr);

  void ConnectTo(const ScriptedServer& server, const std::string& host = "127.0.0.1") {
    sock_->Host = host;
    sock_->Port = server.Port();
    sock_->Connect();
  }
};

TEST_F(MsgSockTest, LinesAreJoinedAcrossPacketsAndSplitAtEachLf) {
  ScriptedServer server({Say("22"), AwaitRead(), Say("0 first"), AwaitRead(), Say("\r\n250-a\r\n250 b\r\n"),
                         Answer("354 go\r\n")});
  std::vector<std::string> events;
  sock_->OnConnect = [&](TObject*) { events.push_back("connect"); };
  sock_->OnHostResolved = [&](TObject*) { events.push_back("resolved"); };
  ConnectTo(server);
  EXPECT_TRUE(sock_->Connected());
  EXPECT_EQ(events, std::vector<std::string>{"connect"});  // a dotted address needs no lookup
  EXPECT_EQ(sock_->ReadLn(), "220 first\r\n");
  EXPECT_EQ(sock_->ReadLn(), "250-a\r\n");
  EXPECT_EQ(sock_->ReadLn(), "250 b\r\n");
  EXPECT_EQ(sock_->Transaction("DATA"), 354);
  EXPECT_EQ(sock_->LastReply(), "354 go\r\n");
  server.Stop();
  EXPECT_EQ(server.Received(), std::vector<std::string>{"DATA\r\n"});
}

TEST_F(MsgSockTest, HostNameIsLookedUp) {
  ScriptedServer server({Say("220 hi\r\n")});
  int resolved = 0;
  sock_->OnHostResolved = [&](TObject* sender) {
    EXPECT_EQ(sender, sock_.get());
    ++resolved;
  };
  ConnectTo(server, "localhost");
  EXPECT_EQ(resolved, 1);
  EXPECT_EQ(sock_->ReadLn(), "220 hi\r\n");
}

TEST_F(MsgSockTest, NothingIsCutLongLinesNulBytes) {
  std::string longLine = std::string(200000, 'x') + "\r\n";
  std::string withNul("a\0b\r\n", 5);
  ScriptedServer server({Say(longLine), Answer(withNul)});
  ConnectTo(server);
  EXPECT_EQ(sock_->ReadLn(), longLine);
  sock_->Write(withNul);
  EXPECT_EQ(sock_->ReadLn(), withNul);
  server.Stop();
  EXPECT_EQ(server.Received(), std::vector<std::string>{withNul});
}

// The peer speaks while a stream send waits for room in the full send buffer: what comes in must not
// touch the bytes still to be sent. The message is more than the socket buffers of both ends hold, and
// the stream hands it out in small chunks, so the waiting chunk is mostly unsent.
TEST_F(MsgSockTest, DataArrivingDuringAStreamSendLeavesItWhole) {
  std::string message;
  for (int i = 0; message.size() < 6'000'000; ++i) message += "line " + std::to_string(i) + std::string(980, '-') + "\r\n";
  message += ".\r\n";
  std::string early = std::string(8000, 'x') + "\r\n";
  ScriptedServer server({test::AwaitFullSend(), Say(early), test::TakeData()});  // reads nothing until it has spoken
  ConnectTo(server);
  struct SmallReads : platform::TStringStream {
    using TStringStream::TStringStream;
    int64_t Read(void* Buffer, int64_t Count) override { return TStringStream::Read(Buffer, std::min<int64_t>(Count, 4000)); }
  } stream(message);
  sock_->SendStream(stream);
  EXPECT_EQ(sock_->ReadLn(), early);
  server.Stop();
  std::vector<std::string> received = server.Received();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_TRUE(received[0] == message.substr(0, message.size() - 3)) << "the data arrived changed";
}

TEST_F(MsgSockTest, PeerClose) {
  ScriptedServer server({Say("221 bye\r\n421 cut"), HangUp()});
  int disconnects = 0;
  sock_->OnDisconnect = [&](TObject*) { ++disconnects; };
  ConnectTo(server);
  EXPECT_EQ(sock_->ReadLn(), "221 bye\r\n");
  EXPECT_EQ(sock_->ReadLn(), "421 cut");  // closed in the middle of a line: what came is returned
  EXPECT_FALSE(sock_->Connected());
  EXPECT_EQ(disconnects, 1);
  EXPECT_EQ(sock_->ReadLn(), "");
  EXPECT_THROW(sock_->Write("QUIT\r\n"), ESockError);
}

TEST_F(MsgSockTest, RefusedPortAndConnectAfterDisconnect) {
  ScriptedServer server({Say("220 one\r\n")}, {Say("220 two\r\n")});
  int gonePort;
  {
    ScriptedServer gone(std::vector<test::Step>{});
    gonePort = gone.Port();
  }
  int failures = 0;
  sock_->OnConnectionFailed = [&](TObject*) { ++failures; };
  sock_->Host = "127.0.0.1";
  sock_->Port = gonePort;
  EXPECT_RAISES(sock_->Connect(), ESockError, "Verbindung fehlgeschlagen");
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(sock_->LastErrorNo(), 10061);

  ConnectTo(server);
  EXPECT_RAISES(sock_->Connect(), ESockError, "Bereits verbunden");
  EXPECT_EQ(sock_->ReadLn(), "220 one\r\n");
  sock_->Disconnect();
  EXPECT_FALSE(sock_->Connected());
  ConnectTo(server);
  EXPECT_EQ(sock_->ReadLn(), "220 two\r\n");
}

// A time-out says so (not "abgebrochen", a cancel's word), and leaves the component cancelled.
TEST_F(MsgSockTest, SilentPeerTimesOutOnTheVirtualClock) {
  ScriptedServer server({Listen()});
  sock_->TimeOut = 30000;
  ConnectTo(server);
  int64_t start = platform::MonotonicMs();
  EXPECT_RAISES(sock_->ReadLn(), ESockError, "Zeitüberschreitung bei Socket-readln");
  EXPECT_GE(platform::MonotonicMs() - start, 30000);
  EXPECT_RAISES(sock_->Write("x"), EAbortError, "Socket-send abgebrochen");  // cancelled until Connect
}

// A peer that stops reading holds a send only for TimeOut.
TEST_F(MsgSockTest, PeerThatStopsReadingTimesOutTheSend) {
  ScriptedServer server({test::Hold()});
  sock_->TimeOut = 20000;
  ConnectTo(server);
  platform::TStringStream stream(std::string(20'000'000, 'x'));
  EXPECT_RAISES(sock_->SendStream(stream), ESockError, "Zeitüberschreitung bei Socket-send");
  server.Stop();
}

// A descendant's step of several reads (such as a reply of several lines) under one TimeOut.
class SteppingSock : public TMsgSock {
public:
  using TMsgSock::TMsgSock;
  std::vector<std::string> ReadLines(int count) {
    TimeOutScope step(*this);
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(ReadLn());
    return lines;
  }
};

// TimeOut bounds a step as a whole: a peer that sends a line every 3 seconds cannot stretch a step of
// several reads past it, though each read alone ends in time.
TEST_F(MsgSockTest, AStepOfSeveralReadsSharesOneTimeOut) {
  std::vector<test::Step> script{Say("1\r\n")};
  for (const char* line : {"2\r\n", "3\r\n", "4\r\n", "5\r\n", "6\r\n"}) {
    script.push_back(test::Hold());
    script.push_back(Say(line));
  }
  ScriptedServer server(script);
  TThreadTimer drip(nullptr);
  drip.SetInterval(3000);
  drip.OnTimer = [&](TObject*) { server.Release(); };
  SteppingSock sock(nullptr);
  sock.Host = "127.0.0.1";
  sock.Port = server.Port();
  sock.TimeOut = 10000;
  sock.Connect();
  EXPECT_EQ(sock.ReadLn(), "1\r\n");
  EXPECT_EQ(sock.ReadLn(), "2\r\n");
  int64_t start = platform::MonotonicMs();
  EXPECT_RAISES(sock.ReadLines(4), ESockError, "Zeitüberschreitung bei Socket-readln");  // the fourth is due at 12 s
  EXPECT_EQ(platform::MonotonicMs() - start, 10000);
  server.Stop();
}

// Lines are bounded: a longer one is an error as soon as it is too long, without waiting for its end.
TEST_F(MsgSockTest, LineLongerThanMaxLineLength) {
  ScriptedServer server({Say("0123456789\r\n0123456789\n01234567890\r\n"), Answer(std::string(3'000'000, 'x'))});
  sock_->MaxLineLength = 10;
  ConnectTo(server);
  EXPECT_EQ(sock_->ReadLn(), "0123456789\r\n");
  EXPECT_EQ(sock_->ReadLn(), "0123456789\n");
  EXPECT_RAISES(sock_->ReadLn(), ESockError, "Zeile des Servers länger als 10 Bytes");
  sock_->Disconnect();
  ScriptedServer flood({Say(std::string(3'000'000, 'x'))});  // no line end at all
  ConnectTo(flood);
  EXPECT_RAISES(sock_->ReadLn(), ESockError, "Zeile des Servers länger als 10 Bytes");
}

TEST_F(MsgSockTest, ConnectsOverIpv6) {
  ScriptedServer server = ScriptedServer::OnIpv6({Say("220 six\r\n")});
  ConnectTo(server, "::1");
  EXPECT_EQ(sock_->ReadLn(), "220 six\r\n");
  sock_->Disconnect();
  // A name with an IPv4 address that refuses and an IPv6 one that answers: the next address is tried.
  ScriptedServer again = ScriptedServer::OnIpv6({Say("220 again\r\n")});
  platform::IpAddress v6{platform::IpFamily::V6, {}};
  v6.bytes[15] = 1;
  platform::test::HeldResolver resolver({{platform::IpAddress::V4({127, 0, 0, 1}), v6}, 0});
  resolver.Release();
  ConnectTo(again, "dual.example");
  EXPECT_EQ(sock_->ReadLn(), "220 again\r\n");
}

// An exception of OnConnect is the application's to show; the connection stands.
TEST_F(MsgSockTest, OnConnectFailureGoesToTheApplicationsExceptionHook) {
  ScriptedServer server({Say("220 hi\r\n")});
  std::vector<std::string> shown;
  platform::Application().OnException = [&](const platform::Exception& e) { shown.push_back(e.Message()); };
  sock_->OnConnect = [](TObject*) { throw platform::Exception("handler failed"); };
  ConnectTo(server);
  platform::Application().OnException = nullptr;
  EXPECT_EQ(shown, std::vector<std::string>{"handler failed"});
  EXPECT_TRUE(sock_->Connected());
  EXPECT_EQ(sock_->ReadLn(), "220 hi\r\n");
}

TEST_F(MsgSockTest, CancelFromAHandlerEndsTheWait) {
  ScriptedServer server({Listen()});
  ConnectTo(server);
  TThreadTimer cancel(nullptr);
  cancel.SetInterval(500);
  cancel.OnTimer = [&](TObject*) { sock_->Cancel(); };
  EXPECT_RAISES(sock_->ReadLn(), EAbortError, "Socket-readln abgebrochen");
}

TEST_F(MsgSockTest, HangingLookupTimesOut) {
  platform::test::HeldResolver resolver({{platform::IpAddress::V4({127, 0, 0, 1})}, 0});
  sock_->Host = "mail.example";
  sock_->TimeOut = 5000;
  EXPECT_RAISES(sock_->Connect(), ESockError, "Zeitüberschreitung bei Host-Lookup");
  EXPECT_FALSE(sock_->Connected());
}

TEST_F(MsgSockTest, FailedLookupAsksOnInvalidHostOnce) {
  platform::test::HeldResolver resolver({{}, platform::WsaHostNotFound});
  resolver.Release();
  int asked = 0;
  sock_->OnInvalidHost = [&](bool& handled) {
    ++asked;
    handled = true;  // look up once more
  };
  sock_->Host = "unknown.example";
  EXPECT_RAISES(sock_->Connect(), ESockError, "Null Externe Adresse");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(resolver.Calls(), 2);
  EXPECT_EQ(sock_->LastErrorNo(), 11001);
}

// Lowers the limit of open descriptors, while it lives, so that the next descriptor cannot be had.
class NoFreeDescriptor {
public:
  NoFreeDescriptor() {
    ::getrlimit(RLIMIT_NOFILE, &saved_);
    int lowest = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::close(lowest);
    rlimit tight = saved_;
    tight.rlim_cur = static_cast<rlim_t>(lowest);
    ::setrlimit(RLIMIT_NOFILE, &tight);
  }
  ~NoFreeDescriptor() { ::setrlimit(RLIMIT_NOFILE, &saved_); }

private:
  rlimit saved_{};
};

TEST_F(MsgSockTest, LookupWithoutADescriptorFailsAtOnce) {
  platform::test::HeldResolver resolver({{}, platform::WsaHostNotFound});
  resolver.Release();
  sock_->Host = "unknown.example";
  sock_->TimeOut = 5000;
  // The same failure with a descriptor first: this thread's clock and queue (and the sanitizers' checks
  // of the types involved) are set up before descriptors run out.
  EXPECT_RAISES(sock_->Connect(), ESockError, "Null Externe Adresse");
  EXPECT_EQ(sock_->LastErrorNo(), 11001);
  {
    NoFreeDescriptor limit;
    EXPECT_RAISES(sock_->Connect(), ESockError, "Null Externe Adresse");  // not a time-out, nor a hang without one
  }
  EXPECT_EQ(sock_->LastErrorNo(), 10055);
}

TEST_F(MsgSockTest, StatusMessagesByLevel) {
  ScriptedServer server({Answer("250 ok\r\n")});
  std::vector<std::string> statuses;
  sock_->OnStatus = [&](TObject*, const std::string& status) {
    statuses.push_back(status);
    throw platform::Exception("a failing status display is ignored");
  };
  ConnectTo(server);
  sock_->ReportLevel = 1;
  EXPECT_EQ(sock_->Transaction("NOOP"), 250);
  EXPECT_EQ(statuses, std::vector<std::string>{"250 ok\r\n"});
  EXPECT_EQ(sock_->Status(), "250 ok\r\n");
}

TEST(WinsockErrorText, TableAndUnknownCodes) {
  EXPECT_EQ(WinsockErrorText(10061), "10061: Connection refused");
  EXPECT_EQ(WinsockErrorText(11004), "11004: Valid name, no data record of requested type");
  EXPECT_EQ(WinsockErrorText(10107), "Unbekannte Fehlernummer 10107");
}

}  // namespace
}  // namespace mailnet
