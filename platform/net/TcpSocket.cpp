#include "platform/net/TcpSocket.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "platform/core/Eintr.h"
#include "platform/net/SocketError.h"

namespace platform {

namespace {

int LastError() { return WinsockErrorFromErrno(errno); }

}  // namespace

TcpSocket TcpSocket::Open(int& error, IpFamily family) {
  error = 0;
  Socket socket(::socket(family == IpFamily::V6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!socket.IsValid()) {
    error = LastError();
    return {};
  }
  linger reset{1, 0};
  int noDelay = 1;  // a command goes out at once, not after the acknowledgement of the one before
  if (::setsockopt(socket.Descriptor(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset) != 0 ||
      ::setsockopt(socket.Descriptor(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay) != 0) {
    error = LastError();
    return {};
  }
  return TcpSocket(std::move(socket));
}

int TcpSocket::StartConnect(const IpAddress& address, uint16_t port) {
  sockaddr_storage peer{};
  socklen_t length;
  if (address.family == IpFamily::V6) {
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&peer);
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(port);
    std::memcpy(v6->sin6_addr.s6_addr, address.bytes.data(), 16);
    length = sizeof *v6;
  } else {
    auto* v4 = reinterpret_cast<sockaddr_in*>(&peer);
    v4->sin_family = AF_INET;
    v4->sin_port = htons(port);
    std::memcpy(&v4->sin_addr.s_addr, address.bytes.data(), 4);
    length = sizeof *v4;
  }
  if (RetryOnEintr([&] { return ::connect(Descriptor(), reinterpret_cast<const sockaddr*>(&peer), length); }) == 0) {
    return 0;
  }
  return errno == EINPROGRESS ? WsaEWouldBlock : LastError();
}

int TcpSocket::ConnectResult() const {
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(Descriptor(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) return LastError();
  return WinsockErrorFromErrno(error);
}

long TcpSocket::Send(const void* data, size_t count, int& error) {
  ssize_t sent = RetryOnEintr([&] { return ::send(Descriptor(), data, count, MSG_NOSIGNAL); });
  error = sent < 0 ? LastError() : 0;
  return static_cast<long>(sent);
}

long TcpSocket::Receive(void* buffer, size_t count, int& error) {
  ssize_t received = RetryOnEintr([&] { return ::recv(Descriptor(), buffer, count, 0); });
  error = received < 0 ? LastError() : 0;
  return static_cast<long>(received);
}

}  // namespace platform
