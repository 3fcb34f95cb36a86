#include "service/icmp/NxIcmpClient.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/core/Clock.h"
#include "service/icmp/NxGlobal.h"
#include "service/icmp/ScriptedIcmpResponder.h"

namespace velmora {
namespace {

using Responder = ScriptedIcmpResponder;

// A client over a scripted responder, on the virtual clock.
class IcmpClientTest : public ::testing::Test {
protected:
  void SetUp() override {
    platform::UseVirtualClock(1'700'000'000'000, 0x12345678);
    auto transport = std::make_unique<Responder>();
    responder = transport.get();
    client.SetTransport(std::move(transport));
    client.Host = "router";
    client.OnReply = [this](TNxIcmpClient* sender, const TReplyStatus& reply) {
      EXPECT_EQ(sender, &client);
      replies.push_back(reply);
    };
  }
  void TearDown() override { platform::UseRealClock(); }

  uint16_t SentSequence() const {
    const std::vector<uint8_t>& request = responder->LastRequest();
    return static_cast<uint16_t>(request[6] | request[7] << 8);
  }

  TNxIcmpClient client;
  Responder* responder = nullptr;
  std::vector<TReplyStatus> replies;
};

TEST_F(IcmpClientTest, EchoReplyReportsRoundTripOnTheVirtualClock) {
  responder->Script("router", {Responder::EchoAfter(12)});
  const uint32_t ticks = Ticks();
  client.Ping("", 3489);

  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].ByteCount, 72);
  EXPECT_EQ(replies[0].Outcome, TReplyOutcome::Echo);
  EXPECT_EQ(replies[0].IcmpType, 0);
  EXPECT_EQ(replies[0].SequenceNumber, 3489);
  EXPECT_EQ(replies[0].RoundTripMs, 12u);
  EXPECT_EQ(responder->LastTtl(), 128);
  // The request on the wire: our process id, the sequence and the tick count at the time it was built.
  const TEchoRequest expected = BuildEchoRequest(static_cast<uint16_t>(CurrentProcessId()), 3489, ticks, "");
  EXPECT_EQ(responder->LastRequest(), std::vector<uint8_t>(expected.begin(), expected.end()));
  client.Ping();
  EXPECT_EQ(SentSequence(), 3490);
}

// Clients in different processes must not count on sending different numbers only by chance of their
// process ids: each starts at a number of its own.
TEST_F(IcmpClientTest, SequenceStartsUnpredictably) {
  std::vector<uint16_t> starts;
  for (int i = 0; i < 3; ++i) {
    TNxIcmpClient fresh;
    auto transport = std::make_unique<Responder>();
    transport->Script("router", {Responder::EchoAfter(1)});
    const Responder& sent = *transport;
    fresh.SetTransport(std::move(transport));
    fresh.Host = "router";
    fresh.Ping();
    starts.push_back(static_cast<uint16_t>(sent.LastRequest()[6] | sent.LastRequest()[7] << 8));
  }
  // Three equal starts happen by chance once in 2^32 runs.
  EXPECT_FALSE(starts[0] == starts[1] && starts[1] == starts[2]) << starts[0];
}

TEST_F(IcmpClientTest, NoAnswerAndForeignRepliesEndAtTheTimeOut) {
  client.ReceiveTimeout = 5000;
  for (const Responder::Answer& answer :
       {Responder::Silence(), Responder::ForeignAfter(30), Responder::EchoAfter(6000)}) {
    responder->Script("router", {answer});
    const int64_t before = platform::MonotonicMs();
    client.Ping();
    const TReplyStatus& reply = replies.back();
    EXPECT_EQ(reply.ByteCount, 0);
    EXPECT_EQ(reply.Outcome, TReplyOutcome::TimedOut);
    EXPECT_EQ(reply.SourceAddress, "0.0.0.0");
    EXPECT_EQ(reply.RoundTripMs, 5000u);
    EXPECT_EQ(platform::MonotonicMs() - before, 5000);
  }
}

// What the owner serves between the steps of a wait takes time of its own. When it ends past the
// deadline, the wait is over: the time left must not go negative, which the socket reads as "no limit"
// (a silent host then held the ping, and every stop request, until some datagram came).
TEST_F(IcmpClientTest, AWaitStepThatOverrunsTheDeadlineEndsAtTheTimeOut) {
  client.ReceiveTimeout = 250;
  client.OnWaiting = [] { platform::Sleep(100); };
  responder->Script("router", {Responder::Silence()});
  ASSERT_NO_THROW(client.Ping());
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].Outcome, TReplyOutcome::TimedOut);
  EXPECT_EQ(replies[0].RoundTripMs, 300u);
}

TEST_F(IcmpClientTest, UnreachableCountsAsAnAnswer) {
  client.Host = "10.7.7.7";
  responder->Script("10.7.7.7", {Responder::UnreachableAfter(3)});
  client.Ping();
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].Outcome, TReplyOutcome::Unreachable);
  EXPECT_GT(replies[0].ByteCount, 0);
  EXPECT_EQ(replies[0].SourceAddress, "10.7.7.7");
  EXPECT_EQ(replies[0].RoundTripMs, 3u);
}

TEST_F(IcmpClientTest, FailedPingSkipsOnReplyAndLeavesTheNextOneANewSequence) {
  responder->Script("router", {Responder::Raising(ENxSocketError(10065)), Responder::EchoAfter(1)});
  EXPECT_THROW(client.Ping(), ENxSocketError);
  EXPECT_TRUE(replies.empty());
  const uint16_t failed = SentSequence();
  client.Ping();
  EXPECT_EQ(SentSequence(), static_cast<uint16_t>(failed + 1));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].Outcome, TReplyOutcome::Echo);

  client.Host = "nobody-scripted";
  try {
    client.Ping();
    ADD_FAILURE() << "an unscripted host must not answer";
  } catch (const ENxSocketError& e) {
    EXPECT_EQ(e.LastError(), 11001);
  }
}

TEST_F(IcmpClientTest, SequenceWrapsFrom65535ToZero) {
  responder->Script("router", {Responder::EchoAfter(1)});
  client.Ping("", 65535);
  EXPECT_EQ(replies.back().SequenceNumber, 65535);
  client.Ping();
  EXPECT_EQ(SentSequence(), 0);
  EXPECT_EQ(replies.back().SequenceNumber, 0);
  EXPECT_EQ(replies.back().Outcome, TReplyOutcome::Echo);
}

}  // namespace
}  // namespace velmora
