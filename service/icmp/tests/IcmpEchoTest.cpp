#include "service/icmp/IcmpEcho.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/net/Ipv4Header.h"
#include "service/icmp/NxException.h"

namespace velmora {
namespace {

TEST(EchoRequestTest, BytesAndChecksumForKnownIdentifierSequenceAndTicks) {
  TEchoRequest request = BuildEchoRequest(0x1234, 3489, 0xA1B2C3D4, "");
  const std::vector<uint8_t> head = {8,    0,    0x00, 0x00, 0x34, 0x12, 0xA1, 0x0D, 0xD4, 0xC3,
                                     0xB2, 0xA1, 0,    0,    0,    0,    0,    0,    0,    0};
  // Checksum by hand: the words 0x0008 0x1234 0x0DA1 0xC3D4 0xA1B2 and 16 x 0x4545 sum to 0x5D9B3;
  // folded 0xD9B8, complemented 0x2647, stored low byte first.
  EXPECT_EQ(request[2], 0x47);
  EXPECT_EQ(request[3], 0x26);
  for (size_t i = 0; i < head.size(); ++i) {
    if (i != 2 && i != 3) {
      EXPECT_EQ(request[i], head[i]) << "byte " << i;
    }
  }
  for (size_t i = EchoPayloadOffset; i < EchoRequestLength; ++i) EXPECT_EQ(request[i], 'E') << "byte " << i;
}

TEST(EchoRequestTest, PayloadIsDataThenFillAndNeverLonger) {
  for (const std::string& data : {std::string("abc"), std::string(32, 'x'), std::string(40, 'y')}) {
    TEchoRequest request = BuildEchoRequest(7, 1, 99, data);
    std::string payload(request.begin() + EchoPayloadOffset, request.end());
    std::string expected = data.substr(0, 32) + std::string(32 - std::min<size_t>(data.size(), 32), 'E');
    EXPECT_EQ(payload, expected);
    EXPECT_EQ(IcmpChecksum(request), 0) << "a request with its checksum sums to all ones";
  }
}

// Datagrams as a raw socket delivers them, for the decoder.
std::vector<uint8_t> Datagram(std::vector<uint8_t> icmp, uint8_t ttl = 57, size_t options = 0) {
  auto header = platform::Ipv4Header(platform::Ipv4HeaderLength + options + icmp.size(), ttl, 1,
                                     {10, 1, 2, 3}, {10, 9, 9, 9});
  header[0] = static_cast<uint8_t>(0x45 + options / 4);
  std::vector<uint8_t> datagram(header.begin(), header.end());
  datagram.insert(datagram.end(), options, 1);  // IP options: no-operation bytes
  datagram.insert(datagram.end(), icmp.begin(), icmp.end());
  return datagram;
}

std::vector<uint8_t> Echo(uint8_t type, uint16_t sequence) {
  TEchoRequest request = BuildEchoRequest(0x4242, sequence, 1000, "ping data");
  request[0] = type;
  return {request.begin(), request.end()};
}

// An ICMP error message quoting the request with the given sequence.
std::vector<uint8_t> Error(uint8_t type, uint16_t sequence, size_t quotedBytes = EchoRequestLength) {
  std::vector<uint8_t> icmp = {type, 0, 0, 0, 0, 0, 0, 0};
  auto quotedHeader = platform::Ipv4Header(20 + EchoRequestLength, 1, 1, {10, 9, 9, 9}, {10, 1, 2, 3});
  icmp.insert(icmp.end(), quotedHeader.begin(), quotedHeader.end());
  std::vector<uint8_t> request = Echo(8, sequence);
  icmp.insert(icmp.end(), request.begin(), request.begin() + static_cast<ptrdiff_t>(quotedBytes));
  return icmp;
}

constexpr uint16_t Current = 3489;

TEST(DecodeReplyTest, AcceptedDatagrams) {
  struct Case {
    const char* what;
    std::vector<uint8_t> datagram;
    uint8_t type;
    TReplyOutcome outcome;
  };
  const Case cases[] = {
      {"echo reply", Datagram(Echo(0, Current)), 0, TReplyOutcome::Echo},
      {"our own request, seen first on loopback", Datagram(Echo(8, Current)), 8, TReplyOutcome::Echo},
      {"destination unreachable quoting our request", Datagram(Error(3, Current)), 3, TReplyOutcome::Unreachable},
      {"time exceeded quoting our request", Datagram(Error(11, Current)), 11, TReplyOutcome::TtlExceeded},
      {"unreachable after an outer header with options", Datagram(Error(3, Current), 57, 8), 3,
       TReplyOutcome::Unreachable},
  };
  for (const Case& c : cases) {
    TReplyStatus status;
    std::string data;
    ASSERT_TRUE(DecodeReply(c.datagram, Current, status, data)) << c.what;
    EXPECT_EQ(status.ByteCount, static_cast<int32_t>(c.datagram.size())) << c.what;
    EXPECT_EQ(status.SourceAddress, "10.1.2.3") << c.what;
    EXPECT_EQ(status.IcmpType, c.type) << c.what;
    EXPECT_EQ(status.SequenceNumber, Current) << c.what;
    EXPECT_EQ(status.ReplyTtl, 57) << c.what;
    EXPECT_EQ(status.Outcome, c.outcome) << c.what;
    if (c.outcome == TReplyOutcome::Echo) {
      EXPECT_EQ(data.substr(0, 9), "ping data") << c.what;
    }
  }
}

TEST(DecodeReplyTest, DatagramsOfOthersAreSkipped) {
  const std::vector<uint8_t> cases[] = {
      Datagram(Echo(0, Current + 1)),
      Datagram(Error(3, Current - 1)),
      Datagram(Error(11, Current, 4)),  // quote cut before the sequence: cannot be told to be ours
  };
  for (const auto& datagram : cases) {
    TReplyStatus status;
    std::string data;
    EXPECT_FALSE(DecodeReply(datagram, Current, status, data));
    EXPECT_EQ(status.ByteCount, 0);
  }
}

TEST(DecodeReplyTest, NothingReceivedIsTheTimeOutRecord) {
  TReplyStatus status;
  std::string data;
  ASSERT_TRUE(DecodeReply({}, Current, status, data));
  EXPECT_EQ(status.ByteCount, 0);
  EXPECT_EQ(status.SourceAddress, "0.0.0.0");
  EXPECT_EQ(status.IcmpType, 0);
  EXPECT_EQ(status.SequenceNumber, Current);
  EXPECT_EQ(status.ReplyTtl, 0);
  EXPECT_EQ(status.Outcome, TReplyOutcome::TimedOut);
}

TEST(DecodeReplyTest, MalformedDatagramsRaise) {
  std::vector<uint8_t> redirect = Datagram(Error(5, Current));
  std::vector<uint8_t> shortOne = Datagram(Echo(0, Current));
  shortOne.resize(27);  // header 20 + 7
  std::vector<uint8_t> tinyHeader = Datagram(Echo(0, Current));
  tinyHeader[0] = 0x41;  // claims a 4-byte IP header

  struct Case {
    std::vector<uint8_t> datagram;
    const char* message;
  };
  const Case cases[] = {{redirect, "Non-echo type response received"},
                        {shortOne, "Not enough bytes received"},
                        {tinyHeader, "Not enough bytes received"}};
  for (const Case& c : cases) {
    TReplyStatus status;
    std::string data;
    try {
      DecodeReply(c.datagram, Current, status, data);
      ADD_FAILURE() << "no exception for " << c.message;
    } catch (const ENxIcmpException& e) {
      EXPECT_EQ(e.Message(), c.message);
      EXPECT_EQ(status.Outcome, TReplyOutcome::Error);
    }
  }
}

}  // namespace
}  // namespace velmora
