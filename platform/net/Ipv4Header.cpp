#include "platform/net/Ipv4Header.h"

#include <algorithm>

namespace platform {

std::array<uint8_t, Ipv4HeaderLength> Ipv4Header(size_t totalLength, uint8_t ttl, uint8_t protocol,
                                                 const Ipv4Address& source, const Ipv4Address& destination) {
  std::array<uint8_t, Ipv4HeaderLength> header{};
  size_t length = std::min<size_t>(totalLength, 0xFFFF);
  header[0] = 0x45;  // version 4, a header of five 32-bit words
  header[2] = static_cast<uint8_t>(length >> 8);
  header[3] = static_cast<uint8_t>(length);
  header[8] = ttl;
  header[9] = protocol;
  std::copy(source.begin(), source.end(), header.begin() + 12);
  std::copy(destination.begin(), destination.end(), header.begin() + 16);
  return header;
}

}  // namespace platform
