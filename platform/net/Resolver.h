#pragma once

#include <string>
#include <vector>

#include "platform/net/IpAddress.h"

namespace platform {

// The outcome of a name lookup: the first IPv4 address, or the Winsock code of the failure.
struct ResolveResult {
  Ipv4Address address{};
  int error = 0;  // 0 on success, else a Winsock code (WsaHostNotFound for an unknown name)
};

// Looks a host name up through the system's resolver (hosts file, DNS) and blocks until it answers. A name
// with a NUL byte is not found (the resolver would look up the part before it).
ResolveResult ResolveIpv4(const std::string& name);

// True for an IPv6 address and for a name that has IPv6 addresses but no IPv4 one: what an IPv4 lookup
// cannot find, although it exists. Blocks like ResolveIpv4.
bool HasOnlyIpv6Addresses(const std::string& name);

// The outcome of a lookup of every address of a host.
struct HostAddresses {
  std::vector<IpAddress> addresses;  // IPv4 and IPv6, in the resolver's order of preference, each once
  int error = 0;                     // 0 on success, else a Winsock code
};

// Looks up the IPv4 and IPv6 addresses of a host name (or of a numeric address) through the system's
// resolver and blocks until it answers; a name with a NUL byte is not found.
HostAddresses ResolveHost(const std::string& name);

}  // namespace platform
