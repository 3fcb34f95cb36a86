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

// Looks a host name up through the system's resolver (hosts file, DNS) and blocks until it answers.
ResolveResult ResolveIpv4(const std::string& name);

// The outcome of a lookup of every address of a host.
struct HostAddresses {
  std::vector<IpAddress> addresses;  // IPv4 and IPv6, in the resolver's order of preference, each once
  int error = 0;                     // 0 on success, else a Winsock code
};

// Looks up the IPv4 and IPv6 addresses of a host name (or of a numeric address) through the system's
// resolver and blocks until it answers.
HostAddresses ResolveHost(const std::string& name);

}  // namespace platform
