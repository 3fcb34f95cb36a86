#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/DateTime.h"
#include "platform/core/FormatSettings.h"

namespace platform {

// The fields of a shown date or time that a person steps one at a time.
enum class TDateTimeField { None, Day, WeekDay, Month, Year, Hour, Minute, Second, AmPm };

// One piece of a date or time format: a field with its specifier ("dd", "mmmm", "hh", "ampm") or, for
// TDateTimeField::None, literal text.
struct TDateTimeSegment {
  TDateTimeField field = TDateTimeField::None;
  std::string spec;  // the specifier, or the literal text itself
};

// Splits a format of the class library's format language (DateTime.h) into fields and literals: the
// separators "/" and ":" become the settings' separators, quoted text a literal; "m" after an hour is
// the minute.
std::vector<TDateTimeSegment> SplitDateTimeFormat(std::string_view format, const TFormatSettings& settings);
// The text of one segment for a value.
std::string SegmentText(const TDateTimeSegment& segment, TDateTime value, const TFormatSettings& settings);

// The value with one field moved by `delta` steps, the way a date picker steps the field at its caret:
// the field wraps within its range and leaves the other fields alone (31 January up is 1 January,
// December up is January of the same year, 23 o'clock up is 0 o'clock of the same day); a day that
// the new month or year lacks becomes the month's last day (29 February 2024 a year on is 28 February
// 2025). The week day moves the date by days; AM/PM moves the time by twelve hours within the day.
// Years stay within 1..9999.
TDateTime StepDateTimeField(TDateTime value, TDateTimeField field, int delta);

// The value with one field set to a number typed for it: a day of the month, a month 1..12 (the day
// kept valid), a year 1..9999, an hour 0..23, a minute or second 0..59. False, and `result` untouched,
// for a number the field cannot take and for the fields that take no number.
bool SetDateTimeField(TDateTime value, TDateTimeField field, int number, TDateTime& result);
// The largest number a field takes, as SetDateTimeField takes it (the days of the value's month).
int DateTimeFieldMaximum(TDateTime value, TDateTimeField field);

// The date part (midnight) and the time of day of a value, and a value made of both.
TDateTime DatePart(TDateTime value);
TDateTime TimeOfDay(TDateTime value);
TDateTime CombineDateTime(TDateTime date, TDateTime timeOfDay);
// The number of days of a month (1..12) of a year.
int DaysInMonth(int year, int month);

}  // namespace platform
