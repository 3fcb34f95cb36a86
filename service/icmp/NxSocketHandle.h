#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/net/RawSocket.h"

namespace velmora {

// One raw IPv4 socket of the socket layer (none until allocated); every failure raises.
class TNxSocketHandle {
public:
  // AMode chooses between the raw socket and the unprivileged ICMP datagram socket.
  explicit TNxSocketHandle(platform::RawSocketMode AMode = platform::RawSocketMode::RawFirst) : mode_(AMode) {}

  // Closes any socket held, then creates a raw socket for IP protocol AProtocol. A failure raises
  // ENxSocketError with its reason (10013 "Access denied." when the process may open no ICMP socket).
  void AllocateSocket(int AProtocol);
  bool HandleAllocated() const { return socket_.IsOpen(); }

  // Closes the socket, if there is one.
  void CloseSocket();

  // Whether a datagram can be received within AMSec ms; a negative time (the layer passes -2) waits
  // without limit. Without a socket it raises ENxConnClosedGracefully.
  bool Readable(int AMSec);

  // Sends ABuffer to the dotted address AIP. A message too long raises ENxPackageSizeTooBig, any other
  // failure the socket error, a short send ENxNotAllBytesSent.
  void SendTo(const std::string& AIP, int APort, std::span<const uint8_t> ABuffer);

  // Receives one datagram, cut to ABuffer's size; returns its length.
  int Recv(std::span<uint8_t> ABuffer);

  void SetTimeToLive(int ATtl);

  // Lets only the ICMP types ATypes reach a raw ICMP socket; see platform::RawSocket::FilterIcmpTypes.
  void FilterIcmpTypes(std::span<const uint8_t> ATypes);

  // Whether the socket is the kernel's unprivileged ICMP datagram socket, and its local port (on that
  // socket the identifier of the echo requests sent, once one was sent).
  bool IsDatagram() const { return socket_.IsDatagram(); }
  uint16_t LocalPort() const;

private:
  platform::RawSocket socket_;
  platform::RawSocketMode mode_;
};

}  // namespace velmora
