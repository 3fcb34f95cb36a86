#include "platform/net/Resolver.h"

#include <netdb.h>
#include <netinet/in.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/net/SocketError.h"

namespace platform {

namespace {

struct AddrInfoFree {
  void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};
using AddrInfoList = std::unique_ptr<addrinfo, AddrInfoFree>;

// The addresses of name in family (AF_INET, or AF_UNSPEC for every family), or the Winsock code of the failure.
int LookUp(const std::string& name, int family, AddrInfoList& found) {
  if (name.find('\0') != std::string::npos) return WsaHostNotFound;
  addrinfo hints{};
  hints.ai_family = family;
  hints.ai_socktype = SOCK_DGRAM;  // one entry per address instead of one per socket type
  addrinfo* list = nullptr;
  errno = 0;
  const int result = ::getaddrinfo(name.c_str(), nullptr, &hints, &list);
  if (result != 0) return WinsockErrorFromAddrInfo(result, errno);
  found.reset(list);
  return 0;
}

}  // namespace

ResolveResult ResolveIpv4(const std::string& name) {
  AddrInfoList found;
  ResolveResult resolved;
  resolved.error = LookUp(name, AF_INET, found);
  if (resolved.error != 0) return resolved;
  const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  std::memcpy(resolved.address.data(), &address->sin_addr.s_addr, resolved.address.size());
  return resolved;
}

bool HasOnlyIpv6Addresses(const std::string& name) {
  AddrInfoList found;
  if (LookUp(name, AF_UNSPEC, found) != 0) return false;
  bool ipv6 = false;
  for (const addrinfo* entry = found.get(); entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family == AF_INET) return false;
    ipv6 = ipv6 || entry->ai_family == AF_INET6;
  }
  return ipv6;
}

HostAddresses ResolveHost(const std::string& name) {
  AddrInfoList found;
  HostAddresses resolved;
  resolved.error = LookUp(name, AF_UNSPEC, found);
  for (const addrinfo* entry = found.get(); entry != nullptr; entry = entry->ai_next) {
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
  if (resolved.error == 0 && resolved.addresses.empty()) resolved.error = WsaNoData;
  return resolved;
}

}  // namespace platform
