#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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

// The record of a ping that got no reply in time.
TReplyStatus TimedOutStatus(uint16_t ASequence);

// Decodes the datagram ADatagram (IP header first; empty when nothing arrived in time) received while
// waiting for the reply to the request with sequence ACurrentSequence. Returns true when it is the answer
// and fills AReplyStatus (all but RoundTripMs), false when it belongs to someone else. An echo reply, or
// an echo request, answers when it carries the sequence; a destination unreachable or time exceeded
// message answers when the request it quotes does. The identifier is never compared: the kernel replaces
// it on the unprivileged datagram socket. The data of an accepted echo goes to AReplyData. Raises
// ENxIcmpException "Not enough bytes received" for a datagram shorter than its IP header plus 8, and
// "Non-echo type response received" for any other ICMP type.
bool DecodeReply(std::span<const uint8_t> ADatagram, uint16_t ACurrentSequence, TReplyStatus& AReplyStatus,
                 std::string& AReplyData);

}  // namespace velmora
