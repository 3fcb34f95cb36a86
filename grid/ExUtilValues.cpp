// Recognition and conversion of numbers, dates and cell names.

#include "grid/DecimalDigits.h"
#include "grid/ExUtil.h"
#include "platform/core/StrUtils.h"

namespace velmora {
namespace {

using platform::FormatSettings;
using platform::IsAsciiDigit;

// Day, month and year of a date in the given order (dayFirst: EU, else US).
platform::TDateTime StrToShortDate(std::string_view text, bool dayFirst) {
  char separator = 0;
  for (char candidate : {'/', '.', '-'}) {
    if (text.find(candidate) != std::string_view::npos) {
      separator = candidate;
      break;
    }
  }
  if (separator == 0) return 0;
  const size_t first = text.find(separator);
  const size_t second = std::min(text.find(separator, first + 1), text.size());
  int a = 0, b = 0, year = 0;
  if (!ReadDecimalDigits(text.substr(0, first), a) || !ReadDecimalDigits(text.substr(first + 1, second - first - 1), b) ||
      second == text.size() || !ReadDecimalDigits(text.substr(second + 1), year))
    return 0;
  if (year < 100) year += year < 26 ? 2000 : 1900;
  return dayFirst ? platform::EncodeDate(year, b, a) : platform::EncodeDate(year, a, b);
}

}  // namespace

int IsType(std::string_view text) {
  if (text.empty()) return 2;
  const char thousand = FormatSettings().ThousandSeparator;
  const char decimal = FormatSettings().DecimalSeparator;
  bool isInteger = true, isFloat = true, hasDigit = false;
  int decimals = 0;
  size_t lastThousand = 0;  // 1-based position of the previous thousand separator
  for (size_t i = 1; i <= text.size(); ++i) {
    const char c = text[i - 1];
    if (IsAsciiDigit(c)) {
      hasDigit = true;
    } else if (c == '-') {
      if (i != 1) return 2;
    } else if (c == thousand) {
      isInteger = false;
      if (i == 1 || (lastThousand != 0 && i - lastThousand < 3)) isFloat = false;
      lastThousand = i;
    } else if (c == decimal) {
      isInteger = false;
      ++decimals;
    } else {
      return 2;
    }
  }
  if (!hasDigit || decimals >= 2) return 2;
  return isInteger ? 0 : isFloat ? 1 : 2;
}

int TextType(std::string_view text, bool markupEnabled) {
  if (text.empty()) return 0;
  if (text[0] == '=') return 3;
  if (text.starts_with("{\\")) return 2;
  if (markupEnabled) {
    for (std::string_view tag : {"</", "<B", "<I"})
      if (text.find(tag) != std::string_view::npos) return 1;
  }
  return 0;
}

std::string RemoveSeps(std::string_view text) {
  if (text.empty()) return "";
  const char thousand = FormatSettings().ThousandSeparator;
  const char decimal = FormatSettings().DecimalSeparator;
  std::string s = platform::Trim(text);
  bool negative = s.size() >= 2 && s.front() == '(' && s.back() == ')';
  size_t i = 0;
  while (s.size() - i >= 2 && !IsAsciiDigit(s[i]) && s[i] != thousand && s[i] != decimal) {
    if (s[i] == '-') negative = true;
    ++i;
  }
  std::string result;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c == thousand) continue;
    if (c == decimal)
      result += '.';
    else if (c == '-' || c == '.' || IsAsciiDigit(c))
      result += c;
    else
      break;
  }
  return negative ? "-" + result : result;
}

std::string FixDecimalSeparator(std::string_view text) {
  std::string result(text);
  if (FormatSettings().DecimalSeparator == ',') {
    const size_t at = result.find(',');
    if (at != std::string::npos) result[at] = '.';
  }
  return result;
}

platform::TDateTime StrToShortDateEU(std::string_view text) { return StrToShortDate(text, true); }
platform::TDateTime StrToShortdateUS(std::string_view text) { return StrToShortDate(text, false); }

platform::TDateTime GetNextDate(platform::TDateTime date, uint16_t years, uint16_t months, uint16_t days,
                                platform::TDateTime stepDate) {
  if ((years != 0) + (months != 0) + (days != 0) != 1) return date + stepDate;
  if (days != 0) return date + days;
  int year = 0, month = 0, day = 0;
  platform::DecodeDate(date, year, month, day);
  const int monthIndex = month - 1 + months;
  year += years + monthIndex / 12;
  month = monthIndex % 12 + 1;
  const platform::TDateTime timeOfDay = date - static_cast<int64_t>(date);
  return platform::EncodeDate(year, month, day) + timeOfDay;
}

bool NameToCell(std::string_view name, platform::TPoint& cell) {
  if (name.size() < 4 || platform::AsciiUpper(name[0]) != 'R') return false;
  size_t c = 1;
  while (c < name.size() && IsAsciiDigit(name[c])) ++c;
  if (c >= name.size() || platform::AsciiUpper(name[c]) != 'C') return false;
  int row = 0, column = 0;
  if (!ReadDecimalDigits(name.substr(1, c - 1), row) || !ReadDecimalDigits(name.substr(c + 1), column)) return false;
  cell = {column, row};
  return true;
}

}  // namespace velmora
