#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/net/Ipv4Address.h"

namespace platform {

enum class IpFamily { V4, V6 };

// An IPv4 or IPv6 address: its bytes in network order, the first four of them for IPv4.
struct IpAddress {
  IpFamily family = IpFamily::V4;
  std::array<uint8_t, 16> bytes{};

  static IpAddress V4(const Ipv4Address& address);
  bool operator==(const IpAddress&) const = default;
};

// True when Text is a numeric address, which needs no lookup: a dotted IPv4 address (four decimal parts
// from 0 to 255) or an IPv6 address in its text form ("::1", "2001:db8::25"); Address then holds it.
bool ParseIpAddress(const std::string& Text, IpAddress& Address);

}  // namespace platform
