#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mailnet {

// The date-time of a Date header line for a moment in milliseconds since 1970 (UTC), written as the
// local time of a zone offsetMinutes ahead of UTC: "Tue, 05 Mar 2024 15:03:07 +0100".
std::string MailDateTime(int64_t unixMs, int offsetMinutes);

// The moment in the process's time zone.
std::string LocalMailDateTime(int64_t unixMs);

// True when text is such a date-time (day of week and seconds optional) that names a real moment: a day
// that its month has, hours below 24, minutes below 60, seconds up to 60 (a leap second), a zone of at
// most 23 hours and 59 minutes, and the day of week, when given, that of the date.
bool IsMailDateTime(std::string_view text);

}  // namespace mailnet
