#include "controls/SpinRules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "platform/core/StrUtils.h"

namespace controls {

using platform::TDateTime;
using platform::TFormatSettings;

namespace {

constexpr char32_t kBackspace = 8;
constexpr char32_t kReturn = 13;
constexpr char32_t kEscape = 27;

bool IsControl(char32_t key) { return key < 32; }
bool IsDigit(char32_t key) { return key >= '0' && key <= '9'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int CountBefore(std::string_view text, int caret, char separator) {
  const std::string_view head = text.substr(0, std::clamp<size_t>(caret, 0, text.size()));
  return static_cast<int>(std::count(head.begin(), head.end(), separator));
}

enum class TDateField { Day, Month, Year };

// The date fields in the order the short date format writes them.
std::array<TDateField, 3> DateFieldOrder(std::string_view format) {
  std::array<std::pair<size_t, TDateField>, 3> found{{{format.find_first_of("dD"), TDateField::Day},
                                                      {format.find_first_of("mM"), TDateField::Month},
                                                      {format.find_first_of("yY"), TDateField::Year}}};
  std::stable_sort(found.begin(), found.end(), [](auto& a, auto& b) { return a.first < b.first; });
  return {found[0].second, found[1].second, found[2].second};
}

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::string HexText(int value) { return "0x" + platform::IntToHex(value, 0); }

int HexTextValue(std::string_view text) {
  uint32_t value = 0;
  for (char c : text.substr(std::min<size_t>(2, text.size()))) {
    const int digit = HexDigitValue(c);
    if (digit < 0) break;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return static_cast<int>(value);
}

double SmartStep(std::string_view text, int caret, char decimalSeparator, double increment, bool isFloat) {
  if (caret <= 0 || (caret == 1 && text.starts_with('-'))) return increment;
  const int length = static_cast<int>(text.size());
  const int right = length - std::min(caret, length);
  const size_t separator = text.find(decimalSeparator);
  const int decimals = separator == std::string_view::npos ? -1 : length - static_cast<int>(separator) - 1;
  if (decimals > right) return isFloat ? std::pow(10.0, -(decimals - right)) : 0;
  return std::pow(10.0, right - decimals - 1);
}

TDateTime StepDateField(TDateTime date, std::string_view text, int caret, int direction, const TFormatSettings& settings) {
  const int field = std::min(CountBefore(text, caret, settings.DateSeparator), 2);
  switch (DateFieldOrder(settings.ShortDateFormat)[field]) {
    case TDateField::Day: return date + direction;
    case TDateField::Month: return platform::IncMonth(date, direction);
    case TDateField::Year: break;
  }
  int year = 0, month = 0, day = 0;
  platform::DecodeDate(date, year, month, day);
  year += direction;
  TDateTime stepped = date;
  if (month < 1 || !platform::TryEncodeDate(year, month, std::min(day, DaysInMonth(year, month)), stepped)) return date;
  return stepped;
}

TDateTime StepTimeField(TDateTime time, std::string_view text, int caret, int direction, char timeSeparator) {
  static constexpr std::array<int, 3> kSeconds{3600, 60, 1};
  constexpr int kDay = 86400;
  int hour = 0, minute = 0, second = 0, msec = 0;
  platform::DecodeTime(time, hour, minute, second, msec);
  const int field = std::min(CountBefore(text, caret, timeSeparator), 2);
  const int seconds = ((hour * 3600 + minute * 60 + second + direction * kSeconds[field]) % kDay + kDay) % kDay;
  return platform::EncodeTime(seconds / 3600, seconds / 60 % 60, seconds % 60, msec);
}

bool FilterSpinKey(char32_t& key, const TSpinTyping& typing, const TSpinFilterRules& rules, const TFormatSettings& settings) {
  if (!typing.editorEnabled) return IsControl(key) && key != kBackspace && key != kReturn;
  const std::string_view text = typing.text;
  if (typing.kind == TSpinValueKind::Hex) {
    if (typing.selStart < 2) return false;
    if (key == kBackspace && typing.selStart == 2 && typing.selLength == 0) return false;
    return (IsControl(key) && key != kReturn) || (key < 128 && HexDigitValue(static_cast<char>(key)) >= 0);
  }
  const auto is = [&](char separator) { return key == static_cast<unsigned char>(separator); };
  const bool number = key == '+' || key == '-' || IsDigit(key) || is(settings.DecimalSeparator) ||
                      is(settings.ThousandSeparator);
  if (IsControl(key)) {
    if (key == kReturn) return false;
  } else if (!number) {
    if (is(settings.DateSeparator) && typing.kind == TSpinValueKind::Date) return true;
    if (is(settings.TimeSeparator) && typing.kind == TSpinValueKind::Time) {
      return std::count(text.begin(), text.end(), settings.TimeSeparator) < rules.maxTimeSeparators;
    }
    return false;
  }
  if (typing.kind == TSpinValueKind::Time && is(settings.TimeSeparator) &&
      std::count(text.begin(), text.end(), settings.TimeSeparator) >= rules.maxTimeSeparators) {
    return false;
  }
  if (typing.kind != TSpinValueKind::Float || key == kBackspace || key == kReturn || key == kEscape) return true;
  if (is(settings.ThousandSeparator)) key = static_cast<unsigned char>(settings.DecimalSeparator);
  const size_t separator = text.find(settings.DecimalSeparator);
  if (is(settings.DecimalSeparator)) {
    if (separator != std::string_view::npos) return false;
    if (rules.decimalNeedsPrecision && typing.precision == 0) return false;
  }
  if (typing.precision >= 1 && separator != std::string_view::npos && typing.selLength == 0 &&
      typing.selStart > static_cast<int>(separator)) {
    return static_cast<int>(text.size() - separator - 1) < typing.precision;
  }
  return true;
}

}  // namespace controls
