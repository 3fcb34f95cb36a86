#include "platform/net/IpAddress.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>

namespace platform {

namespace {

// Four decimal parts from 0 to 255 without leading signs or blanks (inet_pton's rule, stated here so
// that no resolver's leniency such as "127.1" or octal parts applies).
bool ParseDotted(const std::string& text, Ipv4Address& address) {
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (size_t i = 0; i < address.size(); ++i) {
    if (i > 0 && (at == end || *at++ != '.')) return false;
    unsigned part = 256;
    auto [next, error] = std::from_chars(at, end, part);
    if (error != std::errc() || next - at > 3 || part > 255) return false;
    address[i] = static_cast<uint8_t>(part);
    at = next;
  }
  return at == end;
}

}  // namespace

IpAddress IpAddress::V4(const Ipv4Address& address) {
  IpAddress result;
  std::copy(address.begin(), address.end(), result.bytes.begin());
  return result;
}

bool ParseIpAddress(const std::string& Text, IpAddress& Address) {
  Ipv4Address v4{};
  if (ParseDotted(Text, v4)) {
    Address = IpAddress::V4(v4);
    return true;
  }
  IpAddress v6{IpFamily::V6, {}};
  if (Text.find('\0') != std::string::npos || ::inet_pton(AF_INET6, Text.c_str(), v6.bytes.data()) != 1) return false;
  Address = v6;
  return true;
}

}  // namespace platform
