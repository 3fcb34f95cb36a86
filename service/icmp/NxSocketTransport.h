#pragma once

#include "service/icmp/NxRawTransport.h"
#include "service/icmp/NxSocketHandle.h"

namespace velmora {

// The real transport of a TNxRawBase: a socket handle, with host names resolved by the process-wide
// stack. Waits on the real clock. Lives inside a TNxRawBase, whose life keeps the stack.
class TNxSocketTransport : public TNxRawTransport {
public:
  explicit TNxSocketTransport(platform::RawSocketMode AMode = platform::RawSocketMode::RawFirst)
      : handle_(AMode) {}

  void Open(int AProtocol, int ATtl, std::span<const uint8_t> AIcmpTypes) override;
  std::string SendTo(const std::string& AHost, int APort, std::span<const uint8_t> ADatagram) override;
  uint16_t SentEchoIdentifier(uint16_t AWritten) override;
  int ReceiveWithin(std::span<uint8_t> ABuffer, int ATimeoutMs) override;
  void Close() override { handle_.CloseSocket(); }

private:
  TNxSocketHandle handle_;
};

}  // namespace velmora
