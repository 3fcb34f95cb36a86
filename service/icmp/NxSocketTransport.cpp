#include "service/icmp/NxSocketTransport.h"

#include "service/icmp/NxStack.h"

namespace velmora {

void TNxSocketTransport::Open(int AProtocol, int ATtl, std::span<const uint8_t> AIcmpTypes) {
  if (!handle_.HandleAllocated()) {
    handle_.AllocateSocket(AProtocol);
    if (!AIcmpTypes.empty()) handle_.FilterIcmpTypes(AIcmpTypes);
  }
  handle_.SetTimeToLive(ATtl);
}

std::string TNxSocketTransport::SendTo(const std::string& AHost, int APort, std::span<const uint8_t> ADatagram) {
  std::string address = GStack()->ResolveHost(AHost);
  handle_.SendTo(address, APort, ADatagram);
  return address;
}

uint16_t TNxSocketTransport::SentEchoIdentifier(uint16_t AWritten) {
  if (!handle_.IsDatagram()) return AWritten;
  // The kernel writes its port in network order: the high byte comes first.
  const uint16_t port = handle_.LocalPort();
  return static_cast<uint16_t>(port >> 8 | port << 8);
}

int TNxSocketTransport::ReceiveWithin(std::span<uint8_t> ABuffer, int ATimeoutMs) {
  return handle_.Readable(ATimeoutMs) ? handle_.Recv(ABuffer) : 0;
}

}  // namespace velmora
