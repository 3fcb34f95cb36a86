#include "service/icmp/IcmpEcho.h"

#include <algorithm>

#include "platform/net/Ipv4Header.h"
#include "service/icmp/NxException.h"
#include "service/icmp/NxStack.h"

namespace velmora {

namespace {

constexpr uint8_t EchoReply = 0;
constexpr uint8_t DestinationUnreachable = 3;
constexpr uint8_t EchoRequest = 8;
constexpr uint8_t TimeExceeded = 11;
constexpr size_t IcmpHeaderLength = 8;
constexpr size_t SequenceOffset = 6;  // in an ICMP echo message

void PutWord(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

uint16_t WordAt(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

size_t IpHeaderLengthOf(uint8_t firstByte) { return (firstByte & 0x0F) * 4u; }

}  // namespace

TEchoRequest BuildEchoRequest(uint16_t AIdentifier, uint16_t ASequence, uint32_t ATickCount, std::string_view AData) {
  TEchoRequest request{};
  request[0] = EchoRequest;
  PutWord(&request[4], AIdentifier);
  PutWord(&request[SequenceOffset], ASequence);
  PutWord(&request[8], static_cast<uint16_t>(ATickCount));
  PutWord(&request[10], static_cast<uint16_t>(ATickCount >> 16));
  // The payload is fixed at 32 bytes: longer data is cut, never written past the request.
  auto payload = request.begin() + EchoPayloadOffset;
  size_t dataLength = std::min(AData.size(), EchoRequestLength - EchoPayloadOffset);
  std::copy_n(AData.begin(), dataLength, payload);
  std::fill(payload + dataLength, request.end(), 'E');
  PutWord(&request[2], IcmpChecksum(request));
  return request;
}

uint16_t IcmpChecksum(std::span<const uint8_t> ABytes) {
  uint32_t sum = 0;
  for (size_t i = 0; i + 1 < ABytes.size(); i += 2) sum += WordAt(ABytes, i);
  if (ABytes.size() % 2 != 0) sum += ABytes.back();
  sum = (sum >> 16) + (sum & 0xFFFF);
  sum += sum >> 16;
  return static_cast<uint16_t>(~sum);
}

TReplyStatus TimedOutStatus(uint16_t ASequence) {
  TReplyStatus status;
  status.SourceAddress = "0.0.0.0";
  status.SequenceNumber = ASequence;
  status.Outcome = TReplyOutcome::TimedOut;
  return status;
}

bool DecodeReply(std::span<const uint8_t> ADatagram, uint16_t ACurrentSequence, TReplyStatus& AReplyStatus,
                 std::string& AReplyData) {
  const size_t n = ADatagram.size();
  if (n == 0) {
    AReplyStatus = TimedOutStatus(ACurrentSequence);
    return true;
  }
  AReplyStatus.Outcome = TReplyOutcome::Error;
  const size_t h = IpHeaderLengthOf(ADatagram[0]);
  // The source address and time to live are read from the header, so it must be a whole one.
  if (h < platform::Ipv4HeaderLength || n < h + IcmpHeaderLength) {
    throw ENxIcmpException("Not enough bytes received");
  }
  const uint8_t type = ADatagram[h];
  TReplyOutcome outcome;
  size_t sequenceAt;
  switch (type) {
    case EchoReply:
    case EchoRequest:  // on loopback the raw socket sees the request itself first
      outcome = TReplyOutcome::Echo;
      sequenceAt = h + SequenceOffset;
      break;
    case DestinationUnreachable:
    case TimeExceeded: {
      outcome = type == DestinationUnreachable ? TReplyOutcome::Unreachable : TReplyOutcome::TtlExceeded;
      // The message quotes the IP header of the request (with its own length) and the request's start.
      const size_t quotedAt = h + IcmpHeaderLength;
      if (n <= quotedAt) return false;
      sequenceAt = quotedAt + IpHeaderLengthOf(ADatagram[quotedAt]) + SequenceOffset;
      break;
    }
    default:
      throw ENxIcmpException("Non-echo type response received");
  }
  AReplyStatus.Outcome = outcome;
  // A quote cut short before the sequence cannot be told apart from someone else's: not ours.
  if (n < sequenceAt + 2) return false;
  const uint16_t sequence = WordAt(ADatagram, sequenceAt);
  if (sequence != ACurrentSequence) return false;

  AReplyStatus.ByteCount = static_cast<int32_t>(n);
  AReplyStatus.SourceAddress = TNxStack::TInAddrToString({ADatagram[12], ADatagram[13], ADatagram[14], ADatagram[15]});
  AReplyStatus.IcmpType = type;
  AReplyStatus.SequenceNumber = sequence;
  AReplyStatus.ReplyTtl = ADatagram[8];
  if (outcome == TReplyOutcome::Echo) {
    const size_t dataAt = h + EchoPayloadOffset;
    AReplyData.assign(ADatagram.begin() + static_cast<ptrdiff_t>(std::min(dataAt, n)), ADatagram.end());
  }
  return true;
}

}  // namespace velmora
