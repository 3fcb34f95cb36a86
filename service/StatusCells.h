#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// The cells of the status page's row template: the HOSTNAME cell, the host name with the characters that
// HTML gives a meaning ("&", "<", ">", '"') written as references, so no name can break the page; the
// ROUNDTRIP cell from a host's round trip in
// milliseconds (-1: no answer; 0 is an answer), the STATUS cell from its state (1 connected, else
// disconnected). The markup is fixed: pages and style sheets written for the service rely on it.
std::string HostNameCell(const std::string& host);
std::string RoundTripCell(int roundTripMs);
std::string StateCell(uint8_t state);

}  // namespace velmora
