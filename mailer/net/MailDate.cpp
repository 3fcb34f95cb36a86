#include "mailer/net/MailDate.h"

#include <chrono>
#include <cstdio>
#include <regex>

namespace mailnet {

namespace {

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

std::string MailDateTime(int64_t unixMs) {
  using namespace std::chrono;
  sys_time<milliseconds> moment{milliseconds{unixMs}};
  sys_days day = floor<days>(moment);
  year_month_day date{day};
  hh_mm_ss time{floor<seconds>(moment - day)};
  weekday dayOfWeek{day};
  char text[40];
  std::snprintf(text, sizeof text, "%s, %02u %s %04d %02d:%02d:%02d +0000", kDays[dayOfWeek.c_encoding()],
                static_cast<unsigned>(date.day()), kMonths[static_cast<unsigned>(date.month()) - 1],
                static_cast<int>(date.year()), static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
  return text;
}

bool IsMailDateTime(std::string_view text) {
  static const std::regex pattern(
      R"(((Mon|Tue|Wed|Thu|Fri|Sat|Sun), )?\d{1,2} (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) )"
      R"(\d{4} \d{2}:\d{2}(:\d{2})? [+-]\d{4})");
  return std::regex_match(text.begin(), text.end(), pattern);
}

}  // namespace mailnet
