#include "service/icmp/IcmpEcho.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/net/Ipv4Header.h"

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

// The decoder's view of the two kinds of socket. The raw socket delivers datagrams as they came in, and
// echo replies carry the identifier that we wrote. The kernel's datagram socket writes its own identifier
// (its port, high byte first) into our requests, and the socket layer puts an IP header in front of what
// it receives: the sender and the time to live, no destination; an error from the error queue gets an
// ICMP header without checksum and a quoted IP header that has only the request's destination.
struct SocketKind {
  const char* name;
  uint16_t identifierOnWire;
  bool keepsHeaders;
};
constexpr uint16_t Written = 0x4242;
constexpr SocketKind Raw{"raw socket", Written, true};
constexpr SocketKind Datagram{"datagram socket", 0x9C3A, false};

constexpr platform::Ipv4Address Pinged{10, 1, 2, 3};
constexpr platform::Ipv4Address Router{10, 1, 2, 254};
constexpr platform::Ipv4Address Us{10, 9, 9, 9};
constexpr uint16_t Current = 3489;

void PutWord(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void SetChecksum(std::vector<uint8_t>& icmp) {
  PutWord(icmp, 2, 0);
  PutWord(icmp, 2, IcmpChecksum(icmp));
}

// An echo message of the given type with a correct checksum.
std::vector<uint8_t> Echo(uint8_t type, uint16_t identifier, uint16_t sequence) {
  TEchoRequest request = BuildEchoRequest(identifier, sequence, 1000, "ping data");
  std::vector<uint8_t> icmp(request.begin(), request.end());
  icmp[0] = type;
  SetChecksum(icmp);
  return icmp;
}

// The datagram from source that a socket of the given kind presents; options adds IP options.
std::vector<uint8_t> Received(const SocketKind& kind, const platform::Ipv4Address& source, std::vector<uint8_t> icmp,
                              size_t options = 0) {
  auto header = platform::Ipv4Header(platform::Ipv4HeaderLength + options + icmp.size(), 57, 1, source,
                                     kind.keepsHeaders ? Us : platform::Ipv4Address{});
  header[0] = static_cast<uint8_t>(0x45 + options / 4);
  std::vector<uint8_t> datagram(header.begin(), header.end());
  datagram.insert(datagram.end(), options, 1);  // IP options: no-operation bytes
  datagram.insert(datagram.end(), icmp.begin(), icmp.end());
  return datagram;
}

// An ICMP error message that quotes the first quotedBytes of an echo request.
std::vector<uint8_t> Error(const SocketKind& kind, uint8_t type, const platform::Ipv4Address& quotedDestination,
                           uint16_t identifier, uint16_t sequence, size_t quotedBytes = EchoRequestLength) {
  std::vector<uint8_t> icmp = {type, 1, 0, 0, 0, 0, 0, 0};
  auto quotedHeader = platform::Ipv4Header(20 + EchoRequestLength, 1, 1, kind.keepsHeaders ? Us : platform::Ipv4Address{},
                                           quotedDestination);
  icmp.insert(icmp.end(), quotedHeader.begin(), quotedHeader.end());
  std::vector<uint8_t> request = Echo(8, identifier, sequence);
  icmp.insert(icmp.end(), request.begin(), request.begin() + static_cast<ptrdiff_t>(quotedBytes));
  if (kind.keepsHeaders) SetChecksum(icmp);
  return icmp;
}

TEST(DecodeReplyTest, OnlyTheAnswerToOurRequestCounts) {
  enum Expect { Skipped, Answer };
  struct Case {
    const char* what;
    std::vector<uint8_t> datagram;
    Expect expect;
    TReplyOutcome outcome = TReplyOutcome::Echo;
  };
  for (const SocketKind& kind : {Raw, Datagram}) {
    const uint16_t id = kind.identifierOnWire;
    std::vector<uint8_t> badChecksum = Echo(0, id, Current);
    badChecksum[30] ^= 1;
    std::vector<uint8_t> truncated = Received(kind, Pinged, Echo(0, id, Current));
    truncated.resize(platform::Ipv4HeaderLength + 7);
    std::vector<uint8_t> tinyHeader = Received(kind, Pinged, Echo(0, id, Current));
    tinyHeader[0] = 0x41;  // claims a 4-byte IP header
    std::vector<uint8_t> redirect = Error(kind, 5, Pinged, id, Current);

    const Case cases[] = {
        {"our reply", Received(kind, Pinged, Echo(0, id, Current)), Answer},
        {"our reply after IP options", Received(kind, Pinged, Echo(0, id, Current), 8), Answer},
        {"our own request, as a raw socket sees it on loopback", Received(kind, Pinged, Echo(8, Written, Current)),
         Skipped},
        {"a request of the pinged host with our numbers", Received(kind, Pinged, Echo(8, id, Current)), Skipped},
        {"another program's reply with our sequence", Received(kind, Pinged, Echo(0, id ^ 0x0101, Current)), Skipped},
        {"a reply to our previous request", Received(kind, Pinged, Echo(0, id, Current - 1)), Skipped},
        {"our numbers in a reply from another address", Received(kind, Router, Echo(0, id, Current)), Skipped},
        {"our reply with a bad checksum", Received(kind, Pinged, badChecksum), Skipped},
        {"unreachable quoting our request", Received(kind, Router, Error(kind, 3, Pinged, id, Current)), Answer,
         TReplyOutcome::Unreachable},
        {"time exceeded quoting our request", Received(kind, Router, Error(kind, 11, Pinged, id, Current)), Answer,
         TReplyOutcome::TtlExceeded},
        {"unreachable after IP options", Received(kind, Router, Error(kind, 3, Pinged, id, Current), 8), Answer,
         TReplyOutcome::Unreachable},
        {"unreachable quoting another program's request",
         Received(kind, Router, Error(kind, 3, Pinged, id ^ 0x0101, Current)), Skipped},
        {"unreachable quoting a request to another host", Received(kind, Router, Error(kind, 3, Router, id, Current)),
         Skipped},
        {"unreachable quoting our previous request",
         Received(kind, Router, Error(kind, 3, Pinged, id, Current - 1)), Skipped},
        {"time exceeded whose quote ends before the sequence",
         Received(kind, Router, Error(kind, 11, Pinged, id, Current, 6)), Skipped},
        {"a redirect quoting our request", Received(kind, Router, redirect), Skipped},
        {"a datagram shorter than an ICMP header", truncated, Skipped},
        {"an IP header too short to be one", tinyHeader, Skipped},
    };
    const TSentEcho sent{Pinged, id, Current};
    for (const Case& c : cases) {
      TReplyStatus status;
      std::string data;
      const bool accepted = DecodeReply(c.datagram, sent, status, data);
      ASSERT_EQ(accepted, c.expect == Answer) << kind.name << ": " << c.what;
      if (!accepted) continue;
      EXPECT_EQ(status.ByteCount, static_cast<int32_t>(c.datagram.size())) << kind.name << ": " << c.what;
      EXPECT_EQ(status.SourceAddress, c.outcome == TReplyOutcome::Echo ? "10.1.2.3" : "10.1.2.254") << c.what;
      EXPECT_EQ(status.IcmpType, c.datagram[(c.datagram[0] & 0x0F) * 4]) << c.what;
      EXPECT_EQ(status.SequenceNumber, Current) << c.what;
      EXPECT_EQ(status.ReplyTtl, 57) << c.what;
      EXPECT_EQ(status.Outcome, c.outcome) << kind.name << ": " << c.what;
      if (c.outcome == TReplyOutcome::Echo) {
        EXPECT_EQ(data.substr(0, 9), "ping data") << c.what;
      }
    }
  }
}

TEST(DecodeReplyTest, NothingReceivedIsTheTimeOutRecord) {
  TReplyStatus status;
  std::string data;
  ASSERT_TRUE(DecodeReply({}, {Pinged, Written, Current}, status, data));
  EXPECT_EQ(status.ByteCount, 0);
  EXPECT_EQ(status.SourceAddress, "0.0.0.0");
  EXPECT_EQ(status.IcmpType, 0);
  EXPECT_EQ(status.SequenceNumber, Current);
  EXPECT_EQ(status.ReplyTtl, 0);
  EXPECT_EQ(status.Outcome, TReplyOutcome::TimedOut);
}

}  // namespace
}  // namespace velmora
