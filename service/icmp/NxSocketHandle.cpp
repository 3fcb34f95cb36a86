#include "service/icmp/NxSocketHandle.h"

#include "platform/net/SocketError.h"
#include "service/icmp/NxException.h"
#include "service/icmp/NxStack.h"

namespace velmora {

namespace {

// Raises the socket error for a failed call (AErrorCode not 0). The stack records it as its last error
// while one exists.
void Check(int AErrorCode) {
  if (AErrorCode == 0) return;
  if (TNxStack* stack = GStack()) stack->CheckForSocketError(AErrorCode);
  throw ENxSocketError(AErrorCode);
}

}  // namespace

void TNxSocketHandle::AllocateSocket(int AProtocol) { Check(socket_.Open(AProtocol, mode_)); }

void TNxSocketHandle::CloseSocket() { socket_.Close(); }

bool TNxSocketHandle::Readable(int AMSec) {
  if (!socket_.IsOpen()) throw ENxConnClosedGracefully();
  platform::NetResult ready = socket_.WaitReadable(AMSec);
  Check(ready.error);
  return ready.count > 0;
}

void TNxSocketHandle::SendTo(const std::string& AIP, int APort, std::span<const uint8_t> ABuffer) {
  platform::NetResult sent =
      socket_.SendTo(TNxStack::StringToTInAddr(AIP), static_cast<uint16_t>(APort), ABuffer);
  if (sent.error == platform::WsaEMsgSize) throw ENxPackageSizeTooBig();
  Check(sent.error);
  if (sent.count < ABuffer.size()) throw ENxNotAllBytesSent();
}

int TNxSocketHandle::Recv(std::span<uint8_t> ABuffer) {
  platform::NetResult received = socket_.Receive(ABuffer);
  Check(received.error);
  return static_cast<int>(received.count);
}

void TNxSocketHandle::SetTimeToLive(int ATtl) { Check(socket_.SetTimeToLive(ATtl)); }

void TNxSocketHandle::FilterIcmpTypes(std::span<const uint8_t> ATypes) { Check(socket_.FilterIcmpTypes(ATypes)); }

uint16_t TNxSocketHandle::LocalPort() const {
  uint16_t port = 0;
  Check(socket_.LocalPort(port));
  return port;
}

}  // namespace velmora
