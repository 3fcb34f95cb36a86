#include "service/icmp/IcmpEcho.h"

#include <algorithm>

#include "platform/net/Ipv4Header.h"
#include "service/icmp/NxStack.h"

namespace velmora {

namespace {

constexpr uint8_t EchoReply = 0;
constexpr uint8_t DestinationUnreachable = 3;
constexpr uint8_t EchoRequest = 8;
constexpr uint8_t TimeExceeded = 11;
constexpr size_t IdentifierOffset = 4;  // in an ICMP echo message
constexpr size_t SequenceOffset = 6;

void PutWord(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

uint16_t WordAt(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

size_t IpHeaderLengthOf(uint8_t firstByte) { return (firstByte & 0x0F) * 4u; }

bool SameAddress(std::span<const uint8_t> datagram, size_t offset, const platform::Ipv4Address& address) {
  return std::equal(address.begin(), address.end(), datagram.begin() + static_cast<ptrdiff_t>(offset));
}

// Whether the ICMP echo message at offset `at` (whose first IcmpHeaderLength bytes are there) carries
// the identifier and sequence number of `sent`.
bool CarriesSentEcho(std::span<const uint8_t> datagram, size_t at, const TSentEcho& sent) {
  return WordAt(datagram, at + IdentifierOffset) == sent.Identifier &&
         WordAt(datagram, at + SequenceOffset) == sent.Sequence;
}

// Whether the ICMP error message at offset `at` quotes `sent`: an IP header of an ICMP datagram to its
// destination, then the start of an echo request with its identifier and sequence number.
bool QuotesSentEcho(std::span<const uint8_t> datagram, size_t at, const TSentEcho& sent) {
  const size_t quotedAt = at + platform::IcmpHeaderLength;
  if (datagram.size() < quotedAt + platform::Ipv4HeaderLength) return false;
  const size_t quotedHeaderLength = IpHeaderLengthOf(datagram[quotedAt]);
  const size_t requestAt = quotedAt + quotedHeaderLength;
  return quotedHeaderLength >= platform::Ipv4HeaderLength &&
         datagram.size() >= requestAt + platform::IcmpHeaderLength &&
         datagram[quotedAt + 9] == platform::IpProtocolIcmp && SameAddress(datagram, quotedAt + 16, sent.Destination) &&
         datagram[requestAt] == EchoRequest && CarriesSentEcho(datagram, requestAt, sent);
}

}  // namespace

TEchoRequest BuildEchoRequest(uint16_t AIdentifier, uint16_t ASequence, uint32_t ATickCount, std::string_view AData) {
  TEchoRequest request{};
  request[0] = EchoRequest;
  PutWord(&request[IdentifierOffset], AIdentifier);
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

bool DecodeReply(std::span<const uint8_t> ADatagram, const TSentEcho& ASent, TReplyStatus& AReplyStatus,
                 std::string& AReplyData) {
  const size_t n = ADatagram.size();
  if (n == 0) {
    AReplyStatus = TimedOutStatus(ASent.Sequence);
    return true;
  }
  const size_t h = IpHeaderLengthOf(ADatagram[0]);
  if (h < platform::Ipv4HeaderLength || n < h + platform::IcmpHeaderLength) return false;
  const uint8_t type = ADatagram[h];
  TReplyOutcome outcome;
  switch (type) {
    case EchoReply:
      // A correct checksum sums the whole message, checksum included, to all ones.
      if (!SameAddress(ADatagram, 12, ASent.Destination) || !CarriesSentEcho(ADatagram, h, ASent) ||
          IcmpChecksum(ADatagram.subspan(h)) != 0) {
        return false;
      }
      outcome = TReplyOutcome::Echo;
      break;
    case DestinationUnreachable:
    case TimeExceeded:
      if (!QuotesSentEcho(ADatagram, h, ASent)) return false;
      outcome = type == DestinationUnreachable ? TReplyOutcome::Unreachable : TReplyOutcome::TtlExceeded;
      break;
    default:
      return false;
  }
  AReplyStatus.ByteCount = static_cast<int32_t>(n);
  AReplyStatus.SourceAddress = TNxStack::TInAddrToString({ADatagram[12], ADatagram[13], ADatagram[14], ADatagram[15]});
  AReplyStatus.IcmpType = type;
  AReplyStatus.SequenceNumber = ASent.Sequence;
  AReplyStatus.ReplyTtl = ADatagram[8];
  AReplyStatus.Outcome = outcome;
  if (outcome == TReplyOutcome::Echo) {
    AReplyData.assign(ADatagram.begin() + static_cast<ptrdiff_t>(std::min(h + EchoPayloadOffset, n)), ADatagram.end());
  }
  return true;
}

}  // namespace velmora
