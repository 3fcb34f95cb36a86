#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/net/IpAddress.h"
#include "platform/net/Socket.h"

namespace platform {

// A non-blocking IPv4 or IPv6 TCP client socket for layers that wait on it in the message loop. Every failure
// is a Winsock code (platform/net/SocketError.h). Closing resets the connection (linger on, time 0), so
// a closed client leaves no connection behind in the system. Small sends go out at once (no Nagle
// delay), as a line protocol wants. Sending never raises SIGPIPE. Move-only.
class TcpSocket {
public:
  TcpSocket() = default;

  // A fresh socket of the family, or an invalid one with error set to the Winsock code of the refusal.
  static TcpSocket Open(int& error, IpFamily family = IpFamily::V4);

  bool IsValid() const { return socket_.IsValid(); }
  int Descriptor() const { return socket_.Descriptor(); }

  // Starts connecting: 0 when connected at once; WsaEWouldBlock while the connection is under way (it is
  // done when the socket becomes writable, and ConnectResult then tells how it ended); else the failure.
  // The address must be of the socket's family.
  int StartConnect(const IpAddress& address, uint16_t port);
  // 0 when the connection stands, else the code of its failure (10061 refused, 10060 timed out, ...).
  int ConnectResult() const;

  // Sends what the system takes now: the count sent, or -1 with error set (WsaEWouldBlock when the send
  // buffer is full).
  long Send(const void* data, size_t count, int& error);
  // Receives what has come: the count (0 when the peer closed the connection), or -1 with error set
  // (WsaEWouldBlock when nothing is there yet).
  long Receive(void* buffer, size_t count, int& error);

  void Close() { socket_.Close(); }

private:
  explicit TcpSocket(Socket socket) : socket_(std::move(socket)) {}

  Socket socket_;
};

}  // namespace platform
