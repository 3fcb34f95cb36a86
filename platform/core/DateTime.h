#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/FormatSettings.h"

namespace platform {

// A point in time as the class library holds it: days since 1899-12-30 00:00 in the integral part, the
// time of day as a fraction of a day. Before that day the value is negative and its fraction still counts
// forward from midnight (-1.25 is 1899-12-29 06:00). Times are local times.
using TDateTime = double;

// Dates are Gregorian with years 1..9999. EncodeDate and EncodeTime raise EConvertError
// "Invalid argument to date encode" and "Invalid argument to time encode".
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& time);

// The date and time of a value, the time rounded to the millisecond. A value outside the years 1..9999
// (or not a number) decodes as year, month and day 0.
void DecodeDate(TDateTime date, int& year, int& month, int& day);
void DecodeTime(TDateTime time, int& hour, int& minute, int& second, int& msec);

// The date moved by numberOfMonths months (negative moves back), its day clamped to the length of the
// target month (31 January + 1 month is 28 or 29 February); the time of day is kept.
TDateTime IncMonth(TDateTime date, int numberOfMonths = 1);

// The local date and time from the platform clock (so the virtual clock drives them in tests), with the
// offset of the process's time zone at that moment.
TDateTime Now();
// The local date and time of a wall-clock reading in milliseconds since 1970-01-01 00:00 UTC.
TDateTime LocalDateTimeOfUnixMs(int64_t unixMs);
TDateTime Date();
TDateTime Time();

// The minutes by which the process's time zone is ahead of UTC at a moment (milliseconds since 1970):
// 60 for 12:00 UTC in Berlin's winter, -300 in New York's.
int UtcOffsetMinutes(int64_t unixMs);

// The class library's date format language, specifiers case-insensitive:
//   d dd ddd dddd  day, two-digit day, short and long day name; ddddd short date, dddddd long date
//   m mm mmm mmmm  month, two-digit month, short and long month name (minutes right after h or hh)
//   yy yyyy        two-digit and four-digit year
//   h hh n nn s ss hour, minute, second, plain and two-digit (hours 1..12 when an am/pm specifier follows)
//   z zzz          milliseconds, plain and three-digit
//   am/pm a/p      "am"/"pm" or "a"/"p" in the case written in the format; ampm: TimeAMString/TimePMString
//   c              short date, and a blank and the long time unless the time is exactly midnight
//   t tt           short and long time
//   / :            the date and the time separator
//   "..." '...'    literal text
// Any other character is copied as it stands.
std::string FormatDateTime(std::string_view format, TDateTime dateTime);
std::string FormatDateTime(std::string_view format, TDateTime dateTime, const TFormatSettings& settings);

// "c": the short date, then a blank and the long time unless the time is exactly midnight.
std::string DateTimeToStr(TDateTime dateTime);
std::string DateTimeToStr(TDateTime dateTime, const TFormatSettings& settings);
std::string DateToStr(TDateTime date);
std::string DateToStr(TDateTime date, const TFormatSettings& settings);
std::string TimeToStr(TDateTime time);
std::string TimeToStr(TDateTime time, const TFormatSettings& settings);

// Parsing as the class library does it. A date is two or three numbers separated by DateSeparator, in the
// order of day, month and year in ShortDateFormat; without a year it is in the current year, and a year
// of one or two digits lies within 50 years before or after the current year. A time is hours, optionally
// minutes, seconds and milliseconds (after DecimalSeparator) separated by TimeSeparator, with an optional
// AM or PM marker (TimeAMString, TimePMString, "AM" or "PM", any case) before or after it. Blanks around
// the parts are skipped. Anything else raises EConvertError "'<s>' is not a valid date", "... valid time"
// or "... valid date and time".
TDateTime StrToDate(std::string_view s);
TDateTime StrToDate(std::string_view s, const TFormatSettings& settings);
TDateTime StrToTime(std::string_view s);
TDateTime StrToTime(std::string_view s, const TFormatSettings& settings);
TDateTime StrToDateTime(std::string_view s);
TDateTime StrToDateTime(std::string_view s, const TFormatSettings& settings);

}  // namespace platform
