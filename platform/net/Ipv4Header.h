#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/net/Ipv4Address.h"

namespace platform {

constexpr size_t Ipv4HeaderLength = 20;
constexpr uint8_t IpProtocolIcmp = 1;
constexpr size_t IcmpHeaderLength = 8;  // type, code, checksum and four bytes that depend on the type

// An IPv4 header without options, as it starts a datagram on a raw socket, with the fields that a reader
// of such a datagram uses: version and length, total length, time to live, protocol and both addresses.
// Identification, flags and checksum are zero.
std::array<uint8_t, Ipv4HeaderLength> Ipv4Header(size_t totalLength, uint8_t ttl, uint8_t protocol,
                                                 const Ipv4Address& source, const Ipv4Address& destination);

}  // namespace platform
