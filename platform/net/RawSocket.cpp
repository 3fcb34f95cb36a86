#include "platform/net/RawSocket.h"

#include <ctime>  // linux/errqueue.h needs timespec declared first
#include <linux/errqueue.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/core/Eintr.h"
#include "platform/net/Ipv4Header.h"
#include "platform/net/SocketError.h"

namespace platform {

namespace {

int LastError() { return WinsockErrorFromErrno(errno); }

Ipv4Address AddressOf(const sockaddr_in& address) {
  Ipv4Address bytes;
  std::memcpy(bytes.data(), &address.sin_addr.s_addr, bytes.size());
  return bytes;
}

// Lays pieces one after another into a buffer, keeping what fits.
class DatagramWriter {
public:
  explicit DatagramWriter(std::span<uint8_t> out) : out_(out) {}
  void Put(std::span<const uint8_t> bytes) {
    if (position_ < out_.size()) {
      std::copy_n(bytes.begin(), std::min(bytes.size(), out_.size() - position_), out_.begin() + position_);
    }
    position_ += bytes.size();
  }
  size_t Written() const { return std::min(position_, out_.size()); }

private:
  std::span<uint8_t> out_;
  size_t position_ = 0;
};

// One recvmsg call's message: the data, the peer's address and the control messages.
struct ReceivedMessage {
  explicit ReceivedMessage(std::vector<uint8_t>& storage) : part{storage.data(), storage.size()} {
    header.msg_name = &name;
    header.msg_namelen = sizeof name;
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    header.msg_control = control.data();
    header.msg_controllen = control.size();
  }
  ReceivedMessage(const ReceivedMessage&) = delete;
  ReceivedMessage& operator=(const ReceivedMessage&) = delete;

  // One recvmsg call; false (errno set) when it fails. Afterwards data holds the bytes received.
  bool Receive(int descriptor, int flags) {
    ssize_t received = ::recvmsg(descriptor, &header, flags);
    if (received < 0) return false;
    data = {static_cast<const uint8_t*>(part.iov_base), static_cast<size_t>(received)};
    return true;
  }
  const cmsghdr* Control(int type) {
    for (cmsghdr* c = CMSG_FIRSTHDR(&header); c != nullptr; c = CMSG_NXTHDR(&header, c)) {
      if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == type) return c;
    }
    return nullptr;
  }
  // The time to live of the packet from its IP_TTL control message; 0 when there is none.
  uint8_t Ttl() {
    const cmsghdr* c = Control(IP_TTL);
    int ttl = 0;
    if (c != nullptr) std::memcpy(&ttl, CMSG_DATA(c), sizeof ttl);
    return static_cast<uint8_t>(ttl);
  }
  const sock_extended_err* ErrorReport() {
    const cmsghdr* c = Control(IP_RECVERR);
    return c == nullptr ? nullptr : reinterpret_cast<const sock_extended_err*>(CMSG_DATA(c));
  }

  sockaddr_in name{};
  iovec part;
  alignas(cmsghdr) std::array<uint8_t, 256> control{};
  msghdr header{};
  std::span<const uint8_t> data;
};

int EnableOption(int descriptor, int option) {
  int on = 1;
  return ::setsockopt(descriptor, IPPROTO_IP, option, &on, sizeof on) == 0 ? 0 : LastError();
}

}  // namespace

int RawSocket::Open(int protocol, RawSocketMode mode) {
  Close();
  if (mode == RawSocketMode::RawFirst) {
    int descriptor = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, protocol);
    if (descriptor >= 0) {
      socket_ = Socket(descriptor);
      datagram_ = false;
      return 0;
    }
    bool refused = errno == EPERM || errno == EACCES;
    if (protocol != IPPROTO_ICMP || !refused) return LastError();
  }
  if (protocol != IPPROTO_ICMP) return WinsockErrorFromErrno(EPROTONOSUPPORT);
  Socket datagram(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP));
  if (!datagram.IsValid()) return LastError();
  for (int option : {IP_RECVTTL, IP_RECVERR}) {
    if (int error = EnableOption(datagram.Descriptor(), option)) return error;
  }
  socket_ = std::move(datagram);
  datagram_ = true;
  return 0;
}

int RawSocket::SetTimeToLive(int ttl) {
  return ::setsockopt(socket_.Descriptor(), IPPROTO_IP, IP_TTL, &ttl, sizeof ttl) == 0 ? 0 : LastError();
}

int RawSocket::FilterIcmpTypes(std::span<const uint8_t> passed) {
  if (datagram_) return 0;
  icmp_filter filter{~0u};  // a set bit drops its type
  for (uint8_t type : passed) {
    if (type < 32) filter.data &= ~(1u << type);
  }
  return ::setsockopt(socket_.Descriptor(), SOL_RAW, ICMP_FILTER, &filter, sizeof filter) == 0 ? 0 : LastError();
}

int RawSocket::LocalPort(uint16_t& port) const {
  sockaddr_in local{};
  socklen_t length = sizeof local;
  if (::getsockname(socket_.Descriptor(), reinterpret_cast<sockaddr*>(&local), &length) != 0) return LastError();
  port = ntohs(local.sin_port);
  return 0;
}

NetResult RawSocket::SendTo(const Ipv4Address& address, uint16_t port, std::span<const uint8_t> datagram) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  std::memcpy(&to.sin_addr.s_addr, address.data(), address.size());
  ssize_t sent = ::sendto(socket_.Descriptor(), datagram.data(), datagram.size(), 0,
                          reinterpret_cast<const sockaddr*>(&to), sizeof to);
  if (sent < 0) return {0, LastError()};
  return {static_cast<size_t>(sent), 0};
}

NetResult RawSocket::WaitReadable(int timeoutMs) {
  // A signal caught meanwhile interrupts poll: the wait goes on for the time that is left.
  using RealClock = std::chrono::steady_clock;
  const RealClock::time_point deadline = RealClock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  pollfd watched{socket_.Descriptor(), POLLIN, 0};
  int ready = RetryOnEintr([&] {
    if (timeoutMs < 0) return ::poll(&watched, 1, -1);
    int64_t left = std::chrono::ceil<std::chrono::milliseconds>(deadline - RealClock::now()).count();
    return ::poll(&watched, 1, static_cast<int>(std::max<int64_t>(left, 0)));
  });
  if (ready < 0) return {0, LastError()};
  if (ready > 0 && (watched.revents & POLLNVAL)) return {0, WinsockErrorFromErrno(EBADF)};
  return {ready > 0 ? 1u : 0u, 0};
}

NetResult RawSocket::Receive(std::span<uint8_t> buffer) {
  if (!datagram_) {
    ssize_t received = ::recv(socket_.Descriptor(), buffer.data(), buffer.size(), 0);
    if (received < 0) return {0, LastError()};
    return {static_cast<size_t>(received), 0};
  }
  NetResult queued = ReceiveQueuedError(buffer);
  if (queued.count > 0 || queued.error != 0) return queued;
  return ReceiveMessage(buffer);
}

NetResult RawSocket::ReceiveMessage(std::span<uint8_t> buffer) {
  message_.resize(buffer.size());
  ReceivedMessage received(message_);
  if (!received.Receive(socket_.Descriptor(), 0)) return {0, LastError()};

  DatagramWriter out(buffer);
  out.Put(Ipv4Header(Ipv4HeaderLength + received.data.size(), received.Ttl(), IpProtocolIcmp, AddressOf(received.name),
                     Ipv4Address{}));
  out.Put(received.data);
  return {out.Written(), 0};
}

NetResult RawSocket::ReceiveQueuedError(std::span<uint8_t> buffer) {
  message_.resize(buffer.size());
  ReceivedMessage received(message_);  // its name is the destination of the request that failed
  if (!received.Receive(socket_.Descriptor(), MSG_ERRQUEUE | MSG_DONTWAIT)) {
    return errno == EAGAIN ? NetResult{} : NetResult{0, LastError()};
  }
  const sock_extended_err* report = received.ErrorReport();
  if (report == nullptr) return {0, WinsockErrorFromErrno(EIO)};
  if (report->ee_origin != SO_EE_ORIGIN_ICMP) return {0, WinsockErrorFromErrno(static_cast<int>(report->ee_errno))};

  sockaddr_in offender{};
  std::memcpy(&offender, SO_EE_OFFENDER(report), sizeof offender);
  uint32_t info = report->ee_info;
  std::array<uint8_t, IcmpHeaderLength> icmp{report->ee_type, report->ee_code, 0, 0,
                                             static_cast<uint8_t>(info >> 24), static_cast<uint8_t>(info >> 16),
                                             static_cast<uint8_t>(info >> 8), static_cast<uint8_t>(info)};
  size_t quotedLength = Ipv4HeaderLength + received.data.size();
  DatagramWriter out(buffer);
  out.Put(Ipv4Header(Ipv4HeaderLength + IcmpHeaderLength + quotedLength, received.Ttl(), IpProtocolIcmp,
                     AddressOf(offender), Ipv4Address{}));
  out.Put(icmp);
  out.Put(Ipv4Header(quotedLength, 0, IpProtocolIcmp, Ipv4Address{}, AddressOf(received.name)));
  out.Put(received.data);
  return {out.Written(), 0};
}

void RawSocket::Close() { socket_.Close(); }

}  // namespace platform
