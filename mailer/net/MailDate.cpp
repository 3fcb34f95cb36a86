#include "mailer/net/MailDate.h"

#include <chrono>
#include <cstdio>
#include <regex>

#include "platform/core/DateTime.h"

namespace mailnet {

namespace {

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int IndexOf(const char* const (&names)[7], const std::string& name) {
  for (int i = 0; i < 7; ++i) {
    if (name == names[i]) return i;
  }
  return -1;
}

}  // namespace

std::string MailDateTime(int64_t unixMs, int offsetMinutes) {
  using namespace std::chrono;
  sys_time<milliseconds> moment{milliseconds{unixMs + int64_t{offsetMinutes} * 60'000}};
  sys_days day = floor<days>(moment);
  year_month_day date{day};
  hh_mm_ss time{floor<seconds>(moment - day)};
  weekday dayOfWeek{day};
  int zone = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
  char text[48];
  std::snprintf(text, sizeof text, "%s, %02u %s %04d %02d:%02d:%02d %c%02d%02d", kDays[dayOfWeek.c_encoding()],
                static_cast<unsigned>(date.day()), kMonths[static_cast<unsigned>(date.month()) - 1],
                static_cast<int>(date.year()), static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()),
                offsetMinutes < 0 ? '-' : '+', zone / 60 % 100, zone % 60);
  return text;
}

std::string LocalMailDateTime(int64_t unixMs) { return MailDateTime(unixMs, platform::UtcOffsetMinutes(unixMs)); }

bool IsMailDateTime(std::string_view text) {
  static const std::regex pattern(
      R"(((Mon|Tue|Wed|Thu|Fri|Sat|Sun), )?(\d{1,2}) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) )"
      R"((\d{4}) (\d{2}):(\d{2})(:(\d{2}))? [+-](\d{2})(\d{2}))");
  std::match_results<std::string_view::const_iterator> m;
  if (!std::regex_match(text.begin(), text.end(), m, pattern)) return false;
  using namespace std::chrono;
  int monthIndex = 0;
  while (m[4].str() != kMonths[monthIndex]) ++monthIndex;
  year_month_day date{year{std::stoi(m[5].str())}, month{static_cast<unsigned>(monthIndex + 1)},
                      day{static_cast<unsigned>(std::stoi(m[3].str()))}};
  if (!date.ok()) return false;
  if (m[2].matched && IndexOf(kDays, m[2].str()) != static_cast<int>(weekday{sys_days{date}}.c_encoding())) {
    return false;
  }
  int seconds = m[9].matched ? std::stoi(m[9].str()) : 0;
  return std::stoi(m[6].str()) < 24 && std::stoi(m[7].str()) < 60 && seconds <= 60 && std::stoi(m[10].str()) < 24 &&
         std::stoi(m[11].str()) < 60;
}

}  // namespace mailnet
