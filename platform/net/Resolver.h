#pragma once

#include <string>

#include "platform/net/Ipv4Address.h"

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

}  // namespace platform
