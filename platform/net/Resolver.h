#pragma once

#include <string>

#include "platform/net/Ipv4Address.h"

namespace platform {

// The outcome of a name lookup: the first IPv4 address, or the Winsock code of the failure.
struct ResolveResult {
  Ipv4Address address{};
  int error = 0;  // 0 on success, else a Winsock code (WsaHostNotFound for an unknown name)
};

// Looks a host name up through the system's resolver (hosts file, DNS) and blocks until it answers.
ResolveResult ResolveIpv4(const std::string& name);

}  // namespace platform
