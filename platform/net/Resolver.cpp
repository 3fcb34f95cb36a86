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

using AddrInfoList = std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)>;

// The resolver's entries for name in family (AF_INET, or AF_UNSPEC for IPv4 and IPv6), one per address;
// empty with error set to the Winsock code of a failure.
AddrInfoList LookUp(const std::string& name, int family, int& error) {
  addrinfo hints{};
  hints.ai_family = family;
  hints.ai_socktype = SOCK_DGRAM;  // one entry per address instead of one per socket type
  addrinfo* found = nullptr;
  errno = 0;
  int result = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
  error = result == 0 ? 0 : WinsockErrorFromAddrInfo(result, errno);
  return AddrInfoList(result == 0 ? found : nullptr, ::freeaddrinfo);
}

}  // namespace

ResolveResult ResolveIpv4(const std::string& name) {
  ResolveResult resolved;
  AddrInfoList found = LookUp(name, AF_INET, resolved.error);
  if (!found) return resolved;
  const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  std::memcpy(resolved.address.data(), &address->sin_addr.s_addr, resolved.address.size());
  return resolved;
}

HostAddresses ResolveHost(const std::string& name) {
  if (name.find('\0') != std::string::npos) return {{}, WsaHostNotFound};  // no name the resolver would cut
  HostAddresses resolved;
  AddrInfoList found = LookUp(name, AF_UNSPEC, resolved.error);
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
  if (found && resolved.addresses.empty()) resolved.error = WsaNoData;
  return resolved;
}

}  // namespace platform
