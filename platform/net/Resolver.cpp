#include "platform/net/Resolver.h"

#include <netdb.h>
#include <netinet/in.h>

#include <cerrno>
#include <cstring>

#include "platform/net/SocketError.h"

namespace platform {

ResolveResult ResolveIpv4(const std::string& name) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;  // one entry per address instead of one per socket type
  addrinfo* found = nullptr;
  errno = 0;
  int result = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
  ResolveResult resolved;
  if (result != 0) {
    resolved.error = WinsockErrorFromAddrInfo(result, errno);
    return resolved;
  }
  const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  std::memcpy(resolved.address.data(), &address->sin_addr.s_addr, resolved.address.size());
  ::freeaddrinfo(found);
  return resolved;
}

}  // namespace platform
