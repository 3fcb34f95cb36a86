#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/net/Ipv4Address.h"
#include "platform/net/Socket.h"

namespace platform {

// The outcome of a socket call: a count (bytes, or ready sockets), or the Winsock code of the failure.
struct NetResult {
  size_t count = 0;
  int error = 0;  // 0 on success
};

enum class RawSocketMode {
  RawFirst,      // a raw socket where the process may open one, else the ICMP datagram socket
  DatagramOnly,  // the ICMP datagram socket even where a raw one is allowed
};

// An IPv4 socket of one IP protocol on which every received datagram begins with its IP header, as a raw
// socket delivers it. Move-only; closes itself when destroyed.
//
// For ICMP without the privilege of a raw socket (no CAP_NET_RAW) it stands on the kernel's unprivileged
// ICMP datagram socket (allowed for the groups in the sysctl net.ipv4.ping_group_range). That socket hands
// over the ICMP message without its IP header, delivers only the echo replies addressed to it and reports
// ICMP errors on its error queue. Receive turns each of these back into the datagram a raw socket would
// have delivered: an IP header built from the sender's address and the received time to live (checksum,
// identification and destination left zero), then the message; for an error the ICMP error header, the
// quoted IP header and the quoted request. The kernel also writes the socket's own identifier into every
// echo request sent on a datagram socket and delivers only replies that carry it back: replies seen here
// carry that identifier (LocalPort), not the one the sender wrote.
class RawSocket {
public:
  // Opens the socket (closing any held before); returns 0 or a Winsock code, WsaEAcces when the process
  // may open neither kind of socket.
  int Open(int protocol, RawSocketMode mode);
  bool IsOpen() const { return socket_.IsValid(); }
  bool IsDatagram() const { return datagram_; }

  // Sets the time to live of the datagrams sent; returns 0 or a Winsock code.
  int SetTimeToLive(int ttl);

  // On a raw ICMP socket the kernel drops every ICMP message whose type is not in passed before it wakes
  // a reader (the ICMP_FILTER option). The datagram socket needs no filter: it receives only the echo
  // replies and the ICMP errors meant for it. Returns 0 or a Winsock code.
  int FilterIcmpTypes(std::span<const uint8_t> passed);

  // The socket's local port in host order, 0 while it has none; returns 0 or a Winsock code. On the ICMP
  // datagram socket this is the identifier that the kernel writes, in network order, into every echo
  // request sent on it; the kernel assigns it at the first send.
  int LocalPort(uint16_t& port) const;

  // Sends one datagram (the payload behind the IP header) to address and port.
  NetResult SendTo(const Ipv4Address& address, uint16_t port, std::span<const uint8_t> datagram);

  // count 1 when a datagram (or an error report) can be received within timeoutMs, else 0. Waits on the
  // real clock, and a caught signal does not cut the wait short; a negative time-out waits without limit.
  NetResult WaitReadable(int timeoutMs);

  // Receives one datagram into buffer, cut to the buffer's size; blocks while none is waiting.
  NetResult Receive(std::span<uint8_t> buffer);

  // Closes the socket. (It is never connected, so there is no sending direction to shut down first.)
  void Close();

private:
  NetResult ReceiveMessage(std::span<uint8_t> buffer);
  // count 0 and error 0 when the error queue is empty.
  NetResult ReceiveQueuedError(std::span<uint8_t> buffer);

  Socket socket_;
  bool datagram_ = false;
  std::vector<uint8_t> message_;  // what the datagram socket received, before its IP header is put in front
};

}  // namespace platform
