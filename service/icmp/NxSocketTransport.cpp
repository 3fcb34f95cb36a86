#include "service/icmp/NxSocketTransport.h"

#include "service/icmp/NxStack.h"

namespace velmora {

void TNxSocketTransport::Open(int AProtocol, int ATtl) {
  if (!handle_.HandleAllocated()) handle_.AllocateSocket(AProtocol);
  handle_.SetTimeToLive(ATtl);
}

void TNxSocketTransport::SendTo(const std::string& AHost, int APort, std::span<const uint8_t> ADatagram) {
  handle_.SendTo(GStack()->ResolveHost(AHost), APort, ADatagram);
}

int TNxSocketTransport::ReceiveWithin(std::span<uint8_t> ABuffer, int ATimeoutMs) {
  return handle_.Readable(ATimeoutMs) ? handle_.Recv(ABuffer) : 0;
}

}  // namespace velmora
