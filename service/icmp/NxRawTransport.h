#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace velmora {

// What a TNxRawBase sends and receives through: the socket (TNxSocketTransport), or in tests a scripted
// responder in its place. One use runs Open, SendTo, ReceiveWithin as often as the caller waits, then
// Close. Failures raise the socket layer's exceptions.
class TNxRawTransport {
public:
  virtual ~TNxRawTransport() = default;

  // Creates the socket for IP protocol AProtocol if there is none; sets its time to live at every call.
  // A raw ICMP socket receives only the ICMP types AIcmpTypes (every type when it is empty).
  virtual void Open(int AProtocol, int ATtl, std::span<const uint8_t> AIcmpTypes) = 0;

  // Sends ADatagram to AHost (a name or dotted address, resolved at every send) and APort; returns the
  // dotted address it went to.
  virtual std::string SendTo(const std::string& AHost, int APort, std::span<const uint8_t> ADatagram) = 0;

  // The identifier that the echo request just sent carries on the wire, as a little-endian word like
  // every field of the request: AWritten, unless the kernel's ICMP datagram socket put its own in.
  virtual uint16_t SentEchoIdentifier(uint16_t AWritten) = 0;

  // Waits at most ATimeoutMs for a datagram and receives it (IP header first) into ABuffer, cut to its
  // size; returns its length, 0 when none came in time.
  virtual int ReceiveWithin(std::span<uint8_t> ABuffer, int ATimeoutMs) = 0;

  virtual void Close() = 0;
};

}  // namespace velmora
