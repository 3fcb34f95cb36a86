#pragma once

#include <array>
#include <cstdint>

namespace platform {

// An IPv4 address as its four bytes in network order: 127.0.0.1 is {127, 0, 0, 1}.
using Ipv4Address = std::array<uint8_t, 4>;

}  // namespace platform
