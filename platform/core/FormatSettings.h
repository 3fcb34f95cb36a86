#pragma once

#include <array>
#include <string>
#include <string_view>

namespace platform {

// The separators, date and time formats and names that number and date conversions use. Formats are in
// the class library's format language (see FormatDateTime in DateTime.h). Month arrays hold January at
// index 0, day arrays Sunday at index 0.
//
// The member initialisers are the fallback used for the C and POSIX locales (and when the user's locale
// cannot be loaded): ISO 8601 dates and 24-hour times, English names, "." as decimal and "," as thousand
// separator. A locale with no preference of its own thus writes unambiguous dates in logs.
struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '-';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "yyyy-mm-dd";
  std::string LongDateFormat = "dddd, d mmmm yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

// The process-wide settings used by every conversion that is not given settings of its own. On first use
// they are read from the user's locale (the LC_ALL, LC_NUMERIC, LC_TIME and LANG environment variables, as
// setlocale(LC_ALL, "") would resolve them) through nl_langinfo, without changing the process's C locale.
// Programs set them up before starting threads; tests assign them explicitly.
TFormatSettings& FormatSettings();

// Reads the user's locale again into FormatSettings() (tests restore the defaults with it).
void ResetFormatSettings();

// The settings of the user's locale, as FormatSettings() starts with them.
TFormatSettings LocaleFormatSettings();

// What a locale says about numbers, dates and times, as nl_langinfo gives it: texts in the locale's
// character set.
struct LocaleInfo {
  std::string timeLocaleName;  // of its date and time part; "", "C", "POSIX" and "C.*" keep the defaults
  std::string codeset;
  std::string radix, thousands;
  std::string dateFormat, timeFormat, timeFormatAmPm, dateTimeFormat;  // strftime patterns
  std::string am, pm;
  std::array<std::string, 12> shortMonths, longMonths;
  std::array<std::string, 7> shortDays, longDays;  // Sunday first
};

// The settings that a locale gives (LocaleFormatSettings reads the user's locale into a LocaleInfo).
TFormatSettings FormatSettingsFromLocale(const LocaleInfo& info);

// Converts a strftime pattern (as nl_langinfo gives it) to the class library's format language: %d -> "dd",
// %e -> "d", %m -> "mm", %y -> "yy", %Y -> "yyyy", %b -> "mmm", %B -> "mmmm", %a -> "ddd", %A -> "dddd",
// %H and %I -> "hh", %k and %l -> "h", %M -> "nn", %S -> "ss", %p -> "ampm", %D, %F, %R and %T expanded.
// Literal letters are quoted so that they stay literal; other conversions are dropped.
std::string DateFormatFromStrftime(std::string_view pattern);

}  // namespace platform
