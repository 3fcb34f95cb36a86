#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mailnet {

// The date-time of a Date header line for a moment in milliseconds since 1970 (UTC), written in UTC:
// "Tue, 05 Mar 2024 14:03:07 +0000".
std::string MailDateTime(int64_t unixMs);

// True when text already is such a date-time (any zone, day of week and seconds optional).
bool IsMailDateTime(std::string_view text);

}  // namespace mailnet
