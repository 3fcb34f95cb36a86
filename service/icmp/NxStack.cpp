#include "service/icmp/NxStack.h"

#include <algorithm>

#include "platform/core/StrUtils.h"
#include "platform/net/Resolver.h"
#include "service/icmp/NxException.h"

namespace velmora {

namespace {

// The dotted parts of AIP when it has four of them, each a decimal number from 0 to 255.
bool SplitDotted(const std::string& AIP, platform::Ipv4Address& parts) {
  size_t part = 0;
  int value = -1;  // -1 while the current part has no digit yet
  for (char c : AIP + ".") {
    if (c == '.') {
      if (value < 0 || part == parts.size()) return false;
      parts[part++] = static_cast<uint8_t>(value);
      value = -1;
    } else if (c >= '0' && c <= '9') {
      value = std::max(value, 0) * 10 + (c - '0');
      if (value > 255) return false;
    } else {
      return false;
    }
  }
  return part == parts.size();
}

}  // namespace

std::string TNxStack::ResolveHost(const std::string& AHost) {
  if (platform::SameText(AHost, "LOCALHOST")) return "127.0.0.1";
  if (IsIP(AHost)) return AHost;
  platform::ResolveResult resolved = platform::ResolveIpv4(AHost);
  CheckForSocketError(resolved.error);
  return TInAddrToString(resolved.address);
}

bool TNxStack::CheckForSocketError(int AErrorCode, std::initializer_list<int> AIgnore) {
  if (AErrorCode == 0) return false;
  lastError_ = AErrorCode;
  if (std::find(AIgnore.begin(), AIgnore.end(), AErrorCode) != AIgnore.end()) return true;
  throw ENxSocketError(AErrorCode);
}

bool TNxStack::IsIP(const std::string& AIP) {
  platform::Ipv4Address parts;
  return SplitDotted(AIP, parts);
}

std::string TNxStack::TInAddrToString(const platform::Ipv4Address& AInAddr) {
  return platform::Format("%d.%d.%d.%d", AInAddr[0], AInAddr[1], AInAddr[2], AInAddr[3]);
}

platform::Ipv4Address TNxStack::StringToTInAddr(const std::string& AIP) {
  platform::Ipv4Address parts{};
  SplitDotted(AIP, parts);
  return parts;
}

}  // namespace velmora
