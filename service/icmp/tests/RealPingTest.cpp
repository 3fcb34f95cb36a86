// Real pings through the kernel: loopback in the test's own network namespace, and hosts in network
// namespaces that the test makes itself. No packet leaves the machine.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "platform/net/tests/IsolatedResolver.h"
#include "service/icmp/NxException.h"
#include "service/icmp/NxIcmpClient.h"
#include "service/icmp/NxSocketTransport.h"
#include "service/icmp/tests/IcmpNoise.h"
#include "service/icmp/tests/TestNetworks.h"

namespace velmora {
namespace {

using platform::RawSocketMode;
using testing::IcmpNoise;
using testing::TestNetworks;

// One ping of host with a client on the given kind of socket; returns the reply. A sequence number of 0
// leaves the client's own.
TReplyStatus PingOnce(const std::string& host, RawSocketMode mode, int timeoutMs = 2000, uint16_t sequence = 0) {
  TNxIcmpClient client;
  client.SetTransport(std::make_unique<TNxSocketTransport>(mode));
  client.Host = host;
  client.Port = 2222;
  client.ReceiveTimeout = timeoutMs;
  int calls = 0;
  client.OnReply = [&](TNxIcmpClient*, const TReplyStatus&) { ++calls; };
  client.Ping("", sequence);
  EXPECT_EQ(calls, 1);
  return client.ReplyStatus();
}

TEST(RawPingTest, LoopbackByAddressAndByName) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root (or CAP_NET_RAW) for a raw ICMP socket";
  for (const char* host : {"127.0.0.1", "LOCALHOST", "localhost"}) {
    TReplyStatus reply = PingOnce(host, RawSocketMode::RawFirst);
    EXPECT_EQ(reply.Outcome, TReplyOutcome::Echo) << host;
    EXPECT_EQ(reply.SourceAddress, "127.0.0.1") << host;
    // The raw socket sees our own request on loopback too: only the kernel's reply counts.
    EXPECT_EQ(reply.IcmpType, 0) << host;
    EXPECT_EQ(reply.ReplyTtl, 64) << host;
    EXPECT_EQ(reply.ByteCount, 72) << host;
  }
}

class NamespacePingTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (TestNetworks::Unavailable().empty()) networks_ = std::make_unique<TestNetworks>();
  }
  static void TearDownTestSuite() { networks_.reset(); }
  void SetUp() override {
    if (!networks_) GTEST_SKIP() << "network namespaces: " << TestNetworks::Unavailable();
  }
  static inline std::unique_ptr<TestNetworks> networks_;
};

constexpr RawSocketMode BothModes[] = {RawSocketMode::RawFirst, RawSocketMode::DatagramOnly};

TEST_F(NamespacePingTest, DatagramSocketPresentsTheReplyWithItsIpHeader) {
  networks_->RunInNear([] {
    for (const char* host : {"127.0.0.1", "LOCALHOST"}) {
      TReplyStatus reply = PingOnce(host, RawSocketMode::DatagramOnly);
      EXPECT_EQ(reply.Outcome, TReplyOutcome::Echo) << host;
      EXPECT_EQ(reply.IcmpType, 0) << host;  // only replies reach a datagram socket
      EXPECT_EQ(reply.SourceAddress, "127.0.0.1") << host;
      EXPECT_EQ(reply.ReplyTtl, 64) << host;  // the kernel's default for its replies
      EXPECT_EQ(reply.ByteCount, 72) << host;
    }
  });
}

TEST_F(NamespacePingTest, SilentHostTimesOutAfterReceiveTimeout) {
  networks_->RunInNear([] {
    for (RawSocketMode mode : BothModes) {
      TReplyStatus reply = PingOnce(TestNetworks::SilentHost, mode, 300);
      EXPECT_EQ(reply.ByteCount, 0);
      EXPECT_EQ(reply.Outcome, TReplyOutcome::TimedOut);
      // The wait ends at the time-out; the margin allows for a loaded machine and the sanitizer build,
      // and still tells a 300 ms wait from the default 5 s one.
      EXPECT_GE(reply.RoundTripMs, 300u);
      EXPECT_LT(reply.RoundTripMs, 1300u);
    }
  });
}

// Others' ICMP traffic that carries the very sequence number the client waits for: a second pinger
// flooding 127.0.0.1 (whose replies a raw socket sees), the silent host pinging our address, and
// redirects sprayed at us that quote requests to the host pinged. None of it answers for a host.
TEST_F(NamespacePingTest, OnlyTheHostsOwnReplyCountsAmidOthersTraffic) {
  constexpr uint16_t Sequence = 4242;
  using Side = TestNetworks::Side;
  {
    IcmpNoise secondPinger(*networks_, Side::Near, IcmpNoise::Kind::EchoRequests, "127.0.0.1", Sequence);
    IcmpNoise silentHostPinging(*networks_, Side::Far, IcmpNoise::Kind::EchoRequests, TestNetworks::NearAddress,
                                Sequence);
    IcmpNoise redirects(*networks_, Side::Far, IcmpNoise::Kind::Redirects, TestNetworks::NearAddress, Sequence);
    networks_->RunInNear([] {
      for (RawSocketMode mode : BothModes) {
        for (int i = 0; i < 3; ++i) {
          EXPECT_EQ(PingOnce(TestNetworks::SilentHost, mode, 300, Sequence).Outcome, TReplyOutcome::TimedOut);
        }
        TReplyStatus reply = PingOnce("127.0.0.1", mode, 2000, Sequence);
        EXPECT_EQ(reply.Outcome, TReplyOutcome::Echo);
        EXPECT_EQ(reply.IcmpType, 0);
        EXPECT_EQ(reply.SourceAddress, "127.0.0.1");
      }
    });
  }
  // The machine's own address with echo answers off, and a host that answers, amid the redirects.
  networks_->SetEchoAnswered(Side::Near, false);
  networks_->SetEchoAnswered(Side::Far, true);
  {
    IcmpNoise redirects(*networks_, Side::Far, IcmpNoise::Kind::Redirects, TestNetworks::NearAddress, Sequence);
    networks_->RunInNear([] {
      for (RawSocketMode mode : BothModes) {
        for (int i = 0; i < 3; ++i) {
          EXPECT_EQ(PingOnce(TestNetworks::NearAddress, mode, 300, Sequence).Outcome, TReplyOutcome::TimedOut);
        }
        TReplyStatus reply = PingOnce(TestNetworks::SilentHost, mode, 2000, Sequence);
        EXPECT_EQ(reply.Outcome, TReplyOutcome::Echo);
        EXPECT_EQ(reply.SourceAddress, TestNetworks::SilentHost);
      }
    });
  }
  networks_->SetEchoAnswered(Side::Near, true);
  networks_->SetEchoAnswered(Side::Far, false);
}

TEST_F(NamespacePingTest, RoutersUnreachableMessageIsAnAnswer) {
  networks_->RunInNear([] {
    for (RawSocketMode mode : BothModes) {
      TReplyStatus reply = PingOnce(TestNetworks::UnreachableHost, mode);
      EXPECT_EQ(reply.Outcome, TReplyOutcome::Unreachable);
      EXPECT_EQ(reply.IcmpType, 3);
      EXPECT_EQ(reply.SourceAddress, "192.0.2.2");
      EXPECT_GT(reply.ByteCount, 0);
    }
  });
}

TEST_F(NamespacePingTest, NoIcmpSocketAllowedSaysWhy) {
  networks_->RunInFar([] {
    try {
      PingOnce("127.0.0.1", RawSocketMode::DatagramOnly);
      ADD_FAILURE() << "the datagram socket is not allowed in this namespace";
    } catch (const ENxSocketError& e) {
      EXPECT_EQ(e.Message(), "Socket Error # 10013\r\nAccess denied.");
    }
  });
}

// The message of the exception that a ping of host raised, in a child process whose resolver knows only
// localhost (and has no network to ask).
std::string PingFailureInIsolatedResolver(const std::string& host) {
  return platform::test::InIsolatedResolver("127.0.0.1 localhost\n", [&] {
    try {
      PingOnce(host, RawSocketMode::RawFirst);
    } catch (const ENxSocketError& e) {
      return e.Message();
    }
    return std::string("no exception");
  });
}

TEST(UnknownHostTest, RaisesHostNotFound) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a child process its own resolver settings";
  EXPECT_EQ(PingFailureInIsolatedResolver("no-such-host.invalid"), "Socket Error # 11001\r\nHost not found.");
}

}  // namespace
}  // namespace velmora
