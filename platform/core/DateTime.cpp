#include "platform/core/DateTime.h"

#include <cmath>
#include <cstdint>
#include <ctime>

#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/StrUtils.h"

namespace platform {

namespace {

constexpr int64_t kMsPerDay = 86'400'000;
constexpr int64_t kUnixEpochDay = 25'569;   // 1970-01-01 as a TDateTime
constexpr int64_t kFirstDay = -693'593;     // 0001-01-01
constexpr int64_t kLastDay = 2'958'465;     // 9999-12-31
constexpr int kTwoDigitYearWindow = 50;

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Day number (TDateTime's integral part) of a Gregorian date, and back.
int64_t DayNumber(int year, int month, int day) {
  int64_t y = month <= 2 ? year - 1 : year;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yearOfEra = y - era * 400;
  int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146'097 + dayOfEra - 719'468 + kUnixEpochDay;
}

void CivilDate(int64_t dayNumber, int& year, int& month, int& day) {
  int64_t z = dayNumber - kUnixEpochDay + 719'468;
  int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
  int64_t dayOfEra = z - era * 146'097;
  int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
  int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  int64_t mp = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// A value split into its day number and the milliseconds of its time of day (rounded). A time that
// rounds up to midnight belongs to the next day. valid is false outside the years 1..9999.
struct DayAndTime {
  int64_t day = 0;
  int64_t ms = 0;
  bool valid = false;
};

DayAndTime Split(TDateTime value) {
  DayAndTime result;
  if (!std::isfinite(value) || value < kFirstDay - 1 || value > kLastDay + 1) return result;
  double whole = std::trunc(value);
  result.day = static_cast<int64_t>(whole);
  result.ms = std::llround(std::fabs(value - whole) * kMsPerDay);
  if (result.ms >= kMsPerDay) {
    result.ms -= kMsPerDay;
    ++result.day;
  }
  result.valid = result.day >= kFirstDay && result.day <= kLastDay;
  return result;
}

// A date and a time of day joined as the class library joins them: before 1899-12-30 the time counts
// forward from the date's midnight too, so it is subtracted from the negative day number.
TDateTime Compose(TDateTime date, TDateTime time) { return date >= 0 ? date + time : date - time; }

struct Parts {
  int year = 0, month = 0, day = 0, dayOfWeek = 0;  // dayOfWeek 0 = Sunday
  int hour = 0, minute = 0, second = 0, msec = 0;
};

Parts Decode(TDateTime value) {
  Parts p;
  DayAndTime split = Split(value);
  if (split.valid) {
    CivilDate(split.day, p.year, p.month, p.day);
    p.dayOfWeek = static_cast<int>(((split.day + 6) % 7 + 7) % 7);  // day 0 was a Saturday
  }
  if (std::isfinite(value)) {
    p.hour = static_cast<int>(split.ms / 3'600'000);
    p.minute = static_cast<int>(split.ms / 60'000 % 60);
    p.second = static_cast<int>(split.ms / 1000 % 60);
    p.msec = static_cast<int>(split.ms % 1000);
  }
  return p;
}

std::string Padded(int value, int digits) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
  return text;
}

bool StartsWithText(std::string_view s, size_t at, std::string_view word) {
  return at + word.size() <= s.size() && SameText(s.substr(at, word.size()), word);
}

// Whether an hour specifier ending at `from` shows a 12-hour clock: an am/pm specifier follows before the
// next hour specifier, outside quotes.
bool UsesTwelveHourClock(std::string_view format, size_t from) {
  char quote = 0;
  for (size_t i = from; i < format.size(); ++i) {
    char c = format[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == 'a' || c == 'A') {
      return StartsWithText(format, i, "am/pm") || StartsWithText(format, i, "a/p") ||
             StartsWithText(format, i, "ampm");
    } else if (c == 'h' || c == 'H') {
      return false;
    }
  }
  return false;
}

class DateFormatter {
public:
  DateFormatter(TDateTime value, const TFormatSettings& settings)
      : parts_(Decode(value)), settings_(settings) {}

  std::string Run(std::string_view format) {
    Append(format, 0);
    return std::move(out_);
  }

private:
  // Nested formats (c, t, ddddd ...) may name others; the depth limit stops a format that names itself.
  void Append(std::string_view format, int depth) {
    if (depth > 2) return;
    char lastToken = 0;
    size_t i = 0;
    while (i < format.size()) {
      char c = format[i];
      char token = AsciiUpper(c);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastToken == 'H') token = 'N';
        lastToken = token;
      }
      size_t count = 1;
      while (i + count < format.size() && AsciiUpper(format[i + count]) == AsciiUpper(c)) ++count;
      switch (token) {
        case '"':
        case '\'': {
          size_t end = format.find(c, i + 1);
          if (end == std::string_view::npos) end = format.size();
          out_ += format.substr(i + 1, end - i - 1);
          i = std::min(end + 1, format.size());
          continue;
        }
        case 'Y':
          out_ += count <= 2 ? Padded(parts_.year % 100, 2) : Padded(parts_.year, 4);
          break;
        case 'M':
          if (count <= 2) {
            out_ += Padded(parts_.month, static_cast<int>(count));
          } else if (parts_.month > 0) {
            out_ += (count == 3 ? settings_.ShortMonthNames : settings_.LongMonthNames)[parts_.month - 1];
          }
          break;
        case 'D':
          if (count <= 2) {
            out_ += Padded(parts_.day, static_cast<int>(count));
          } else if (count <= 4) {
            if (parts_.year > 0) {
              out_ += (count == 3 ? settings_.ShortDayNames : settings_.LongDayNames)[parts_.dayOfWeek];
            }
          } else {
            Append(count == 5 ? settings_.ShortDateFormat : settings_.LongDateFormat, depth + 1);
          }
          break;
        case 'H': {
          int hour = parts_.hour;
          if (UsesTwelveHourClock(format, i + count)) hour = hour == 0 ? 12 : (hour > 12 ? hour - 12 : hour);
          out_ += Padded(hour, count >= 2 ? 2 : 1);
          break;
        }
        case 'N':
          out_ += Padded(parts_.minute, count >= 2 ? 2 : 1);
          break;
        case 'S':
          out_ += Padded(parts_.second, count >= 2 ? 2 : 1);
          break;
        case 'Z':
          out_ += Padded(parts_.msec, count >= 3 ? 3 : static_cast<int>(count));
          break;
        case 'T':
          Append(count == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, depth + 1);
          break;
        case 'C':
          Append(settings_.ShortDateFormat, depth + 1);
          if (parts_.hour != 0 || parts_.minute != 0 || parts_.second != 0 || parts_.msec != 0) {
            out_ += ' ';
            Append(settings_.LongTimeFormat, depth + 1);
          }
          break;
        case 'A':
          count = AppendAmPm(format, i);
          break;
        case '/':
          out_ += settings_.DateSeparator;
          count = 1;
          break;
        case ':':
          out_ += settings_.TimeSeparator;
          count = 1;
          break;
        default:
          out_ += c;
          count = 1;
          break;
      }
      i += count;
    }
  }

  // Writes the am/pm specifier at `at` and returns its length; a lone "a" is literal.
  size_t AppendAmPm(std::string_view format, size_t at) {
    bool afternoon = parts_.hour >= 12;
    if (StartsWithText(format, at, "am/pm")) {
      out_ += format.substr(afternoon ? at + 3 : at, 2);
      return 5;
    }
    if (StartsWithText(format, at, "a/p")) {
      out_ += format.substr(afternoon ? at + 2 : at, 1);
      return 3;
    }
    if (StartsWithText(format, at, "ampm")) {
      out_ += afternoon ? settings_.TimePMString : settings_.TimeAMString;
      return 4;
    }
    out_ += format[at];
    return 1;
  }

  Parts parts_;
  const TFormatSettings& settings_;
  std::string out_;
};

// Reads dates and times from the front of a text, as the class library's scanner does.
class DateScanner {
public:
  DateScanner(std::string_view text, const TFormatSettings& settings) : text_(text), settings_(settings) {}

  bool AtEnd() {
    SkipBlanks();
    return pos_ >= text_.size();
  }

  bool ScanDate(TDateTime& date) {
    int n1 = 0, n2 = 0, n3 = 0;
    int l1 = 0, l2 = 0, l3 = 0;
    if (!ScanNumber(n1, l1) || !ScanChar(settings_.DateSeparator) || !ScanNumber(n2, l2)) return false;
    int year = 0, month = 0, day = 0, yearLength = 0;
    char order = DateOrder();
    if (ScanChar(settings_.DateSeparator)) {
      if (!ScanNumber(n3, l3)) return false;
      switch (order) {
        case 'D': day = n1, month = n2, year = n3, yearLength = l3; break;
        case 'Y': year = n1, month = n2, day = n3, yearLength = l1; break;
        default: month = n1, day = n2, year = n3, yearLength = l3; break;
      }
    } else {
      int currentMonth = 0, currentDay = 0;
      DecodeDate(Now(), year, currentMonth, currentDay);
      yearLength = 4;
      if (order == 'D') {
        day = n1, month = n2;
      } else {
        month = n1, day = n2;
      }
    }
    if (year <= 99 && yearLength <= 2) year = WithCentury(year);
    return TryEncodeDate(year, month, day, date);
  }

  bool ScanTime(TDateTime& time) {
    int baseHour = ScanAmPm();
    int hour = 0, minute = 0, second = 0, msec = 0, length = 0;
    if (!ScanNumber(hour, length)) return false;
    if (ScanChar(settings_.TimeSeparator)) {
      if (!ScanNumber(minute, length)) return false;
      if (ScanChar(settings_.TimeSeparator)) {
        if (!ScanNumber(second, length)) return false;
        if (ScanChar(settings_.DecimalSeparator) && !ScanNumber(msec, length)) return false;
      }
    }
    if (baseHour < 0) baseHour = ScanAmPm();
    if (baseHour >= 0) {
      if (hour == 0 || hour > 12) return false;
      hour = hour % 12 + baseHour;
    }
    return TryEncodeTime(hour, minute, second, msec, time);
  }

private:
  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  // Up to four digits, as the class library reads them.
  bool ScanNumber(int& number, int& length) {
    SkipBlanks();
    size_t start = pos_;
    number = 0;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && number < 1000) {
      number = number * 10 + (text_[pos_++] - '0');
    }
    length = static_cast<int>(pos_ - start);
    return length > 0;
  }

  bool ScanChar(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool ScanWord(std::string_view word) {
    SkipBlanks();
    if (word.empty() || !StartsWithText(text_, pos_, word)) return false;
    pos_ += word.size();
    return true;
  }

  // 0 after an AM marker, 12 after a PM marker, -1 when there is none.
  int ScanAmPm() {
    if (ScanWord(settings_.TimeAMString) || ScanWord("AM")) return 0;
    if (ScanWord(settings_.TimePMString) || ScanWord("PM")) return 12;
    return -1;
  }

  // 'D', 'M' or 'Y': whichever of day, month and year comes first in the short date format.
  char DateOrder() const {
    for (char c : settings_.ShortDateFormat) {
      char u = AsciiUpper(c);
      if (u == 'D' || u == 'M') return u;
      if (u == 'Y' || u == 'E') return 'Y';
    }
    return 'M';
  }

  static int WithCentury(int year) {
    int currentYear = 0, month = 0, day = 0;
    DecodeDate(Now(), currentYear, month, day);
    int base = currentYear - kTwoDigitYearWindow;
    year += base / 100 * 100;
    if (year < base) year += 100;
    return year;
  }

  std::string_view text_;
  const TFormatSettings& settings_;
  size_t pos_ = 0;
};

EConvertError NotValid(std::string_view s, const char* what) {
  return EConvertError("'" + std::string(s) + "' is not a valid " + what);
}

// The local time of a wall-clock reading as a day number and milliseconds since midnight.
DayAndTime LocalDayAndTime(int64_t unixMs) {
  int64_t localMs = unixMs + static_cast<int64_t>(UtcOffsetMinutes(unixMs)) * 60'000;
  DayAndTime result;
  result.day = (localMs >= 0 ? localMs / kMsPerDay : (localMs - kMsPerDay + 1) / kMsPerDay);
  result.ms = localMs - result.day * kMsPerDay;
  result.day += kUnixEpochDay;
  result.valid = true;
  return result;
}

DayAndTime LocalNow() { return LocalDayAndTime(UnixTimeMs()); }

}  // namespace

int UtcOffsetMinutes(int64_t unixMs) {
  time_t seconds = static_cast<time_t>(unixMs >= 0 ? unixMs / 1000 : (unixMs - 999) / 1000);
  tm local{};
  localtime_r(&seconds, &local);
  return static_cast<int>(local.tm_gmtoff / 60);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    return false;
  }
  date = static_cast<TDateTime>(DayNumber(year, month, day));
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date)) throw EConvertError("Invalid argument to date encode");
  return date;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& time) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999) {
    return false;
  }
  time = (((hour * 60 + minute) * 60 + second) * 1000 + msec) / static_cast<double>(kMsPerDay);
  return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  TDateTime time = 0;
  if (!TryEncodeTime(hour, minute, second, msec, time)) throw EConvertError("Invalid argument to time encode");
  return time;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
  Parts p = Decode(date);
  year = p.year;
  month = p.month;
  day = p.day;
}

void DecodeTime(TDateTime time, int& hour, int& minute, int& second, int& msec) {
  Parts p = Decode(time);
  hour = p.hour;
  minute = p.minute;
  second = p.second;
  msec = p.msec;
}

TDateTime IncMonth(TDateTime date, int numberOfMonths) {
  Parts p = Decode(date);
  if (p.year == 0) throw EConvertError("Invalid argument to date encode");
  int64_t months = static_cast<int64_t>(p.year) * 12 + (p.month - 1) + numberOfMonths;
  int64_t year = months >= 0 ? months / 12 : (months - 11) / 12;
  int month = static_cast<int>(months - year * 12) + 1;
  if (year < 1 || year > 9999) throw EConvertError("Invalid argument to date encode");
  int day = std::min(p.day, DaysInMonth(static_cast<int>(year), month));
  TDateTime time = EncodeTime(p.hour, p.minute, p.second, p.msec);
  return Compose(EncodeDate(static_cast<int>(year), month, day), time);
}

TDateTime LocalDateTimeOfUnixMs(int64_t unixMs) {
  DayAndTime local = LocalDayAndTime(unixMs);
  return static_cast<double>(local.day) + static_cast<double>(local.ms) / kMsPerDay;
}

TDateTime Now() { return LocalDateTimeOfUnixMs(UnixTimeMs()); }

TDateTime Date() { return static_cast<double>(LocalNow().day); }

TDateTime Time() { return static_cast<double>(LocalNow().ms) / kMsPerDay; }

std::string FormatDateTime(std::string_view format, TDateTime dateTime) {
  return FormatDateTime(format, dateTime, FormatSettings());
}

std::string FormatDateTime(std::string_view format, TDateTime dateTime, const TFormatSettings& settings) {
  return DateFormatter(dateTime, settings).Run(format);
}

std::string DateTimeToStr(TDateTime dateTime) { return DateTimeToStr(dateTime, FormatSettings()); }

std::string DateTimeToStr(TDateTime dateTime, const TFormatSettings& settings) {
  return FormatDateTime("c", dateTime, settings);
}

std::string DateToStr(TDateTime date) { return DateToStr(date, FormatSettings()); }

std::string DateToStr(TDateTime date, const TFormatSettings& settings) {
  return FormatDateTime("ddddd", date, settings);
}

std::string TimeToStr(TDateTime time) { return TimeToStr(time, FormatSettings()); }

std::string TimeToStr(TDateTime time, const TFormatSettings& settings) {
  return FormatDateTime("tt", time, settings);
}

TDateTime StrToDate(std::string_view s) { return StrToDate(s, FormatSettings()); }

TDateTime StrToDate(std::string_view s, const TFormatSettings& settings) {
  DateScanner scanner(s, settings);
  TDateTime date = 0;
  if (!scanner.ScanDate(date) || !scanner.AtEnd()) throw NotValid(s, "date");
  return date;
}

TDateTime StrToTime(std::string_view s) { return StrToTime(s, FormatSettings()); }

TDateTime StrToTime(std::string_view s, const TFormatSettings& settings) {
  DateScanner scanner(s, settings);
  TDateTime time = 0;
  if (!scanner.ScanTime(time) || !scanner.AtEnd()) throw NotValid(s, "time");
  return time;
}

TDateTime StrToDateTime(std::string_view s) { return StrToDateTime(s, FormatSettings()); }

TDateTime StrToDateTime(std::string_view s, const TFormatSettings& settings) {
  DateScanner scanner(s, settings);
  TDateTime date = 0, time = 0;
  if (!scanner.ScanDate(date) || !(scanner.AtEnd() || (scanner.ScanTime(time) && scanner.AtEnd()))) {
    throw NotValid(s, "date and time");
  }
  return Compose(date, time);
}

}  // namespace platform
