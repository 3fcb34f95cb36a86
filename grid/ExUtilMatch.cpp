// The pattern language of the grid's filters and searches.

#include <algorithm>
#include <array>
#include <tuple>

#include "grid/DecimalDigits.h"
#include "grid/ExUtil.h"
#include "grid/WildcardMatch.h"
#include "platform/core/Exception.h"
#include "platform/core/StrUtils.h"

namespace velmora {
namespace {

using platform::FormatSettings;

constexpr std::string_view kOperators = "&;^";

bool IsOperator(char c) { return kOperators.find(c) != std::string_view::npos; }

bool ReadNumber(std::string_view s, double& value) {
  try {
    value = platform::StrToFloat(s);
    return true;
  } catch (const platform::EConvertError&) {
    return false;
  }
}

// A date of three numbers split at the date separator, in the order in which the short date format
// names day, month and year; (year, month, day) for comparison.
bool ReadShortDate(std::string_view s, std::tuple<int, int, int>& date) {
  const std::string format = platform::UpperCase(FormatSettings().ShortDateFormat);
  const std::array<size_t, 3> at{format.find('D'), format.find('M'), format.find('Y')};
  if (std::ranges::find(at, std::string::npos) != at.end()) return false;

  const char separator = FormatSettings().DateSeparator;
  std::array<int, 3> numbers{};  // in the order written
  for (int i = 0; i < 3; ++i) {
    const size_t end = i < 2 ? s.find(separator) : s.size();
    if (end == std::string_view::npos || !ReadDecimalDigits(s.substr(0, end), numbers[i])) return false;
    s.remove_prefix(i < 2 ? end + 1 : end);
  }
  // The rank of each of day, month and year among the three positions.
  const auto rank = [&](size_t which) {
    return static_cast<int>(std::ranges::count_if(at, [&](size_t p) { return p < at[which]; }));
  };
  const int day = numbers[rank(0)], month = numbers[rank(1)], year = numbers[rank(2)];
  if (day >= 32 || month >= 13) return false;
  date = {year, month, day};
  return true;
}

// < 0, 0 or > 0: as numbers when both convert, else as dates when both read as dates, else by bytes.
int CompareValues(std::string_view text, std::string_view operand) {
  double a = 0, b = 0;
  if (ReadNumber(text, a) && ReadNumber(operand, b)) return a < b ? -1 : a > b ? 1 : 0;
  std::tuple<int, int, int> da, db;
  if (ReadShortDate(text, da) && ReadShortDate(operand, db)) return da < db ? -1 : da > db ? 1 : 0;
  return platform::CompareStr(text, operand);
}

struct Comparison {
  bool present = false;
  bool result = true;
};

// The test of the first `op` (">" or "<", inclusive when "=" follows) of the pattern.
Comparison Compare(std::string_view pattern, char op, std::string_view text) {
  Comparison test;
  size_t at = pattern.find(op);
  if (at == std::string_view::npos) return test;
  test.present = true;
  ++at;
  const bool inclusive = at < pattern.size() && pattern[at] == '=';
  if (inclusive) ++at;
  while (at < pattern.size() && pattern[at] == ' ') ++at;
  const size_t end = std::min(pattern.find_first_of(" &|", at), pattern.size());
  const int order = CompareValues(text, pattern.substr(at, end - at));
  if (op == '>')
    test.result = inclusive ? order >= 0 : order > 0;
  else
    test.result = inclusive ? order <= 0 : order < 0;
  return test;
}

bool Holds(std::string_view pattern, char c) { return pattern.find(c) != std::string_view::npos; }

// The pattern without the blanks that stand next to an operator.
std::string WithoutBlanksAroundOperators(std::string_view pattern) {
  std::string result;
  for (size_t i = 0; i < pattern.size();) {
    if (pattern[i] != ' ') {
      result += pattern[i++];
      continue;
    }
    const size_t end = std::min(pattern.find_first_not_of(' ', i), pattern.size());
    const bool afterOperator = !result.empty() && IsOperator(result.back());
    const bool beforeOperator = end < pattern.size() && IsOperator(pattern[end]);
    if (!afterOperator && !beforeOperator) result.append(pattern.substr(i, end - i));
    i = end;
  }
  return result;
}

}  // namespace

bool Matches(std::string_view pattern, std::string_view text) {
  Comparison greater = Compare(pattern, '>', text);
  Comparison less = Compare(pattern, '<', text);
  if (Holds(pattern, '!')) {
    greater.present = true;
    less.present = true;
  }
  if (Holds(pattern, '^') && (less.present || greater.present)) return less.result || greater.result;
  if (Holds(pattern, '&') && less.present && greater.present) return less.result && greater.result;
  if (Holds(pattern, '>') && greater.result) return true;
  if (Holds(pattern, '<') && less.result) return true;

  std::string wildcards(pattern);
  std::erase(wildcards, '!');
  return WildcardMatch(wildcards, text) != Holds(pattern, '!');
}

bool MatchStr(std::string_view pattern, std::string_view text, bool caseSensitive) {
  if (caseSensitive) return Matches(pattern, text);
  return Matches(platform::UpperCase(pattern), platform::UpperCase(text));
}

bool MatchStrEx(std::string_view pattern, std::string_view text, bool caseSensitive) {
  const std::string compound = WithoutBlanksAroundOperators(platform::Trim(pattern));
  bool result = false;
  char pending = 0;  // the operator before the current piece; none before the first
  size_t start = 0;
  for (size_t i = 0; i <= compound.size(); ++i) {
    if (i < compound.size() && !IsOperator(compound[i])) continue;
    const bool piece = MatchStr(std::string_view(compound).substr(start, i - start), text, caseSensitive);
    result = pending == 0 ? piece : pending == '&' ? result && piece : result || piece;
    if (i < compound.size()) pending = compound[i];
    start = i + 1;
  }
  return result;
}

}  // namespace velmora
