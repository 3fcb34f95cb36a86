#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/net/Ipv4Address.h"

namespace velmora {

// The ICMP echo messages of TNxIcmpClient: the request it sends, the record of a reply and the decoder
// that tells whether a received datagram answers the request.

enum class TReplyOutcome : uint8_t { Echo, Error, TimedOut, Unreachable, TtlExceeded };

// The outcome of one ping, passed to OnReply.
struct TReplyStatus {
  int32_t ByteCount = 0;        // length of the accepted datagram, IP header included; 0: no reply in time
  std::string SourceAddress;    // sender, dotted; "0.0.0.0" on time-out
  uint8_t IcmpType = 0;         // ICMP type of the accepted datagram; 0 on time-out
  uint16_t SequenceNumber = 0;  // sequence number it carried (the current one on time-out)
  uint32_t RoundTripMs = 0;     // from just before the name lookup and send until the wait ended
  uint8_t ReplyTtl = 0;         // time to live in its IP header; 0 on time-out
  TReplyOutcome Outcome = TReplyOutcome::Echo;
};

constexpr size_t EchoRequestLength = 52;
constexpr size_t EchoPayloadOffset = 20;
using TEchoRequest = std::array<uint8_t, EchoRequestLength>;

// The request: type 8, code 0, checksum, identifier, sequence and tick count (all little-endian, as the
// system has always sent them), eight zero bytes, then 32 bytes of payload: AData (cut to 32 bytes)
// followed by 'E' up to the end.
TEchoRequest BuildEchoRequest(uint16_t AIdentifier, uint16_t ASequence, uint32_t ATickCount, std::string_view AData);

// The Internet checksum of ABytes read as little-endian 16-bit words (a last odd byte is a low byte),
// as it is stored little-endian in the request.
uint16_t IcmpChecksum(std::span<const uint8_t> ABytes);

// The ICMP types that DecodeReply can take as an answer: echo reply, destination unreachable, time
// exceeded.
inline constexpr std::array<uint8_t, 3> AnswerIcmpTypes = {0, 3, 11};

// The record of a ping that got no reply in time.
TReplyStatus TimedOutStatus(uint16_t ASequence);

// The request that a datagram must answer: where it went, and its identifier and sequence number as
// they went out (little-endian words, read as they were written).
struct TSentEcho {
  platform::Ipv4Address Destination;
  uint16_t Identifier = 0;
  uint16_t Sequence = 0;
};

// Decodes the datagram ADatagram (IP header first; empty when nothing arrived in time) received while
// waiting for the answer to ASent. Returns true when it is the answer and fills AReplyStatus (all but
// RoundTripMs), false when it is anything else, which the wait skips. Only two kinds of datagram answer:
// - an echo reply from ASent's destination with its identifier and sequence number and a correct
//   checksum (the data behind its tick count goes to AReplyData);
// - a destination unreachable or time exceeded message, from anyone, that quotes the echo request sent
//   to ASent's destination with its identifier and sequence number.
// Everything else is someone else's: echo requests (a raw socket sees the machine's own, and those of
// other programs), replies to other programs, other ICMP types, and datagrams too short to tell.
// Nothing here raises.
bool DecodeReply(std::span<const uint8_t> ADatagram, const TSentEcho& ASent, TReplyStatus& AReplyStatus,
                 std::string& AReplyData);

}  // namespace velmora
