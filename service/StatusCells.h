#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// The cells of the status page's row template: the ROUNDTRIP cell from a host's round trip in
// milliseconds (-1: no answer; 0 is an answer), the STATUS cell from its state (1 connected, else
// disconnected). The markup is fixed: pages and style sheets written for the service rely on it.
std::string RoundTripCell(int roundTripMs);
std::string StateCell(uint8_t state);

}  // namespace velmora
