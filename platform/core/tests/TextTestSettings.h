#pragma once

#include "platform/core/FormatSettings.h"

namespace platform::testing {

// Format settings as a German and an English (United States) desktop has them, for the conversion tests.
inline TFormatSettings GermanSettings() {
  TFormatSettings s;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  s.DateSeparator = '.';
  s.TimeSeparator = ':';
  s.ShortDateFormat = "dd.mm.yyyy";
  s.LongDateFormat = "dddd, d. mmmm yyyy";
  s.ShortTimeFormat = "hh:nn";
  s.LongTimeFormat = "hh:nn:ss";
  s.TimeAMString = "";
  s.TimePMString = "";
  s.ShortMonthNames = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  s.LongMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                      "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  s.ShortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  s.LongDayNames = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
  return s;
}

inline TFormatSettings EnglishSettings() {
  TFormatSettings s;
  s.DecimalSeparator = '.';
  s.ThousandSeparator = ',';
  s.DateSeparator = '/';
  s.TimeSeparator = ':';
  s.ShortDateFormat = "m/d/yyyy";
  s.LongDateFormat = "dddd, mmmm d, yyyy";
  s.ShortTimeFormat = "h:nn AMPM";
  s.LongTimeFormat = "h:nn:ss AMPM";
  s.TimeAMString = "AM";
  s.TimePMString = "PM";
  return s;
}

}  // namespace platform::testing
