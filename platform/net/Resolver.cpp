#include "platform/net/Resolver.h"

#include <netdb.h>
#include <netinet/in.h>

#include <algorithm>
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

HostAddresses ResolveHost(const std::string& name) {
  if (name.find('\0') != std::string::npos) return {{}, WsaHostNotFound};  // no name the resolver would cut
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;  // one entry per address instead of one per socket type
  addrinfo* found = nullptr;
  errno = 0;
  int result = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
  HostAddresses resolved;
  if (result != 0) {
    resolved.error = WinsockErrorFromAddrInfo(result, errno);
    return resolved;
  }
  for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
    IpAddress address;
    if (entry->ai_family == AF_INET) {
      const auto* v4 = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
      std::memcpy(address.bytes.data(), &v4->sin_addr.s_addr, 4);
    } else if (entry->ai_family == AF_INET6) {
      const auto* v6 = reinterpret_cast<const sockaddr_in6*>(entry->ai_addr);
      address.family = IpFamily::V6;
      std::memcpy(address.bytes.data(), v6->sin6_addr.s6_addr, 16);
    } else {
      continue;
    }
    if (std::find(resolved.addresses.begin(), resolved.addresses.end(), address) == resolved.addresses.end()) {
      resolved.addresses.push_back(address);
    }
  }
  ::freeaddrinfo(found);
  if (resolved.addresses.empty()) resolved.error = WsaNoData;
  return resolved;
}

}  // namespace platform
