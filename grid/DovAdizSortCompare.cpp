// The sort's comparison: styles, their values and the resolution of the automatic style.
#include <charconv>
#include <cmath>
#include <optional>

#include "controls/html/MarkupText.h"
#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "platform/core/Ascii.h"
#include "platform/core/Collation.h"
#include "platform/core/DateTime.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/StrUtils.h"

namespace velmora {
namespace {

using platform::TDateTime;

void EraseFirst(std::string& text, const std::string& part) {
  if (part.empty()) return;
  if (const size_t at = text.find(part); at != std::string::npos) text.erase(at, part.size());
}

// The number a text of a numeric style stands for; nothing when it holds no number. "" counts as 0.
std::optional<double> NumericValue(std::string_view cell, const std::string& prefix, const std::string& suffix,
                                   bool financial) {
  if (cell.empty()) return 0.0;
  std::string text(cell);
  EraseFirst(text, prefix);
  EraseFirst(text, suffix);
  const platform::TFormatSettings& settings = platform::FormatSettings();
  if (financial) std::erase(text, settings.ThousandSeparator);
  if (settings.DecimalSeparator != '.') {
    if (const size_t at = text.find(settings.DecimalSeparator); at != std::string::npos) text[at] = '.';
  }
  text = platform::Trim(text);
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

// The date a text of a date style stands for; nothing when it holds none. "" counts as 0.
std::optional<TDateTime> DateValue(std::string_view cell, TSortStyle style) {
  if (cell.empty()) return 0.0;
  try {
    if (style == TSortStyle::ssDate) return platform::StrToDateTime(cell);
    const TDateTime value = style == TSortStyle::ssShortDateEU ? StrToShortDateEU(cell) : StrToShortdateUS(cell);
    if (value != 0) return value;
  } catch (const platform::Exception&) {
  }
  return std::nullopt;
}

template <class T>
int Order(const T& a, const T& b) {
  return a < b ? -1 : b < a ? 1 : 0;
}

// Values first, in their order; the texts without one after them, ordinal among themselves.
template <class T>
int CompareValues(const std::optional<T>& v1, const std::optional<T>& v2, const std::string& s1,
                  const std::string& s2) {
  if (v1 && v2) return Order(*v1, *v2);
  if (v1 || v2) return v1 ? -1 : 1;
  return Order(s1, s2);
}


}  // namespace

TSortStyle VUraRazuduVova::ResolvedStyle(int ACol, const std::string& prefix, const std::string& suffix) {
  const bool sorting = sortFirst_ >= 0;
  if (sorting && static_cast<size_t>(ACol) < resolvedStyles_.size() && resolvedStyles_[ACol])
    return *resolvedStyles_[ACol];
  const int first = sorting ? sortFirst_ : FixedRows();
  const int last = sorting ? sortLast_ : RowCount() - 1 - FixedFooters();
  bool numbers = true, dates = true;
  for (int r = first; r <= last && (numbers || dates); ++r) {
    const std::string text = Cells(ACol, r);
    numbers = numbers && NumericValue(text, prefix, suffix, false).has_value();
    dates = dates && !numbers && DateValue(text, TSortStyle::ssDate).has_value();
  }
  // A column of numbers never tested its dates: numbers win.
  const TSortStyle style = numbers ? TSortStyle::ssNumeric : dates ? TSortStyle::ssDate : TSortStyle::ssAlphabetic;
  if (sorting) {
    if (resolvedStyles_.size() <= static_cast<size_t>(ACol)) resolvedStyles_.resize(ACol + 1);
    resolvedStyles_[ACol] = style;
  }
  return style;
}

int VUraRazuduVova::Compare(int ACol, int ARow1, int ARow2) {
  ++sortCompares_;
  TSortStyle style = sortSettings_.AutoFormat ? TSortStyle::ssAutomatic : TSortStyle::ssAlphabetic;
  std::string prefix, suffix;
  GetColFormat(ACol, style, prefix, suffix);
  const std::string s1 = Cells(ACol, ARow1), s2 = Cells(ACol, ARow2);
  if (sortSettings_.IgnoreBlanks && s1.empty() != s2.empty()) {
    // The result that the sort's direction turns into BlankPos.
    const int blankLast = sortSettings_.BlankPos == TSortBlankPosition::blLast ? 1 : -1;
    return (s1.empty() ? blankLast : -blankLast) * sortSign_;
  }
  if (style == TSortStyle::ssAutomatic) style = ResolvedStyle(ACol, prefix, suffix);
  int result = 0;
  switch (style) {
    case TSortStyle::ssAutomatic:
    case TSortStyle::ssAlphabetic:
    case TSortStyle::ssAlphaCase:
      result = Order(s1, s2);
      break;
    case TSortStyle::ssAlphaNoCase:
      result = Order(platform::UpperCase(s1), platform::UpperCase(s2));
      break;
    case TSortStyle::ssAnsiAlphaCase:
      result = platform::AnsiCompareStr(s1, s2);
      break;
    case TSortStyle::ssAnsiAlphaNoCase:
      result = platform::AnsiCompareText(s1, s2);
      break;
    case TSortStyle::ssHTML:
      result = Order(controls::StripHTML(s1), controls::StripHTML(s2));
      break;
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial: {
      const bool financial = style == TSortStyle::ssFinancial;
      result = CompareValues(NumericValue(s1, prefix, suffix, financial), NumericValue(s2, prefix, suffix, financial),
                             s1, s2);
      break;
    }
    case TSortStyle::ssDate:
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS:
      result = CompareValues(DateValue(s1, style), DateValue(s2, style), s1, s2);
      break;
    case TSortStyle::ssCustom:
      if (OnCustomCompare) OnCustomCompare(this, s1, s2, result);
      break;
    case TSortStyle::ssRaw:
      if (OnRawCompare) OnRawCompare(this, ACol, ARow1, ARow2, result);
      break;
    case TSortStyle::ssImages:
      result = Order(GetCellImageIdx(ACol, ARow1), GetCellImageIdx(ACol, ARow2));
      break;
  }
  return Order(result, 0);
}

int VUraRazuduVova::CompareLine(int ACol, int ARow1, int ARow2) {
  int result = Compare(ACol, ARow1, ARow2);
  for (int c = ACol + 1; result == 0 && sortSettings_.Full && c <= StorageColCount() - 2; ++c)
    result = Compare(c, ARow1, ARow2);
  return result;
}

int VUraRazuduVova::CompareLineIndexed(int AColIndex, int ARow1, int ARow2) {
  const int count = sortIndexes_.Count();
  for (int p = AColIndex; p < count; ++p) {
    const auto entry = static_cast<uint32_t>(sortIndexes_.GetInteger(p));
    const bool descending = (entry & TSortIndexList::kDescending) != 0;
    const int savedSign = std::exchange(sortSign_, descending ? -1 : 1);
    int result = 0;
    try {
      result = Compare(static_cast<int>(entry & ~TSortIndexList::kDescending), ARow1, ARow2);
    } catch (...) {
      sortSign_ = savedSign;
      throw;
    }
    sortSign_ = savedSign;
    if (result != 0) return descending ? -result : result;
    if (!sortSettings_.Full) break;
  }
  return 0;
}

}  // namespace velmora
