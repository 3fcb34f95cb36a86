#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "service/icmp/NxComponent.h"
#include "service/icmp/NxRawTransport.h"

namespace velmora {

// Base component of a raw-socket client: the destination, the time-outs and the transport it sends and
// receives through (the socket unless a test put a scripted responder in its place).
class TNxRawBase : public TNxComponent {
public:
  explicit TNxRawBase(platform::TComponent* AOwner = nullptr);
  ~TNxRawBase() override;

  std::string Host;
  int Port = 0;
  int ReceiveTimeout = 0;  // ms
  int Protocol = 255;      // IP protocol number of the socket

  // Takes over ATransport (not null) in place of the one in use, which is closed and freed.
  void SetTransport(std::unique_ptr<TNxRawTransport> ATransport);

  // When set, called about every kWaitStepMs while a datagram is awaited, on the waiting thread, so that
  // its owner can serve what else is pending; it may raise to give up the wait (the exception then
  // leaves the call that waited).
  std::function<void()> OnWaiting;
  static constexpr int kWaitStepMs = 200;

protected:
  // The time to live set on the socket at every use.
  static constexpr int TTL = 128;

  // The ICMP types that a raw ICMP socket lets through; every type while empty.
  std::span<const uint8_t> ReceivedIcmpTypes;

  // Creates the socket if there is none, and sets its time to live.
  void GetSocket();
  // An empty buffer gives 0; a negative time-out means ReceiveTimeout. Returns the length of the datagram
  // received within the time-out on the socket that Send used, 0 when none came.
  int ReceiveBuffer(std::span<uint8_t> ABuffer, int ATimeOut = -1);
  // Resolves AHost and sends ABuffer to it; returns the dotted address it went to.
  std::string Send(const std::string& AHost, int APort, std::span<const uint8_t> ABuffer);
  // The identifier that the echo request just sent carries on the wire (see TNxRawTransport).
  uint16_t SentEchoIdentifier(uint16_t AWritten);
  void CloseSocket();

private:
  std::unique_ptr<TNxRawTransport> transport_;
};

}  // namespace velmora
