// The sort's comparison: styles, their values and the resolution of the automatic style.
#include <charconv>
#include <cmath>
#include <optional>

#include "controls/html/MarkupText.h"
#include "grid/DovAdiz.h"
#include "grid/DovAdizSortKeys.h"
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


// The key of a text in a resolved style (its image index is the caller's).
TSortKey MakeKey(std::string text, const TSortColumnKeys& column) {
  TSortKey key;
  switch (column.style) {
    case TSortStyle::ssAlphaNoCase: key.ordinal = platform::UpperCase(text); break;
    case TSortStyle::ssHTML: key.ordinal = controls::StripHTML(text); break;
    case TSortStyle::ssAnsiAlphaCase:
    case TSortStyle::ssAnsiAlphaNoCase:
      key.collation = platform::AnsiCollationKey(text, column.style == TSortStyle::ssAnsiAlphaNoCase);
      break;
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial:
      key.value = NumericValue(text, column.prefix, column.suffix, column.style == TSortStyle::ssFinancial);
      break;
    case TSortStyle::ssDate:
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS:
      key.value = DateValue(text, column.style);
      break;
    default: break;
  }
  key.text = std::move(text);
  return key;
}

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

TSortStyle VUraRazuduVova::ResolvedStyle(int ACol, const std::string& prefix, const std::string& suffix) {
  const bool sorting = sortFirst_ >= 0;
  const int first = sorting ? sortFirst_ : FixedRows();
  const int last = sorting ? sortLast_ : RowCount() - 1 - FixedFooters();
  bool numbers = true, dates = true;
  for (int r = first; r <= last && (numbers || dates); ++r) {
    const std::string text = Cells(ACol, r);
    numbers = numbers && NumericValue(text, prefix, suffix, false).has_value();
    dates = dates && !numbers && DateValue(text, TSortStyle::ssDate).has_value();
  }
  // A column of numbers never tested its dates: numbers win.
  return numbers ? TSortStyle::ssNumeric : dates ? TSortStyle::ssDate : TSortStyle::ssAlphabetic;
}

TSortColumnKeys VUraRazuduVova::ColumnSortStyle(int ACol) {
  TSortColumnKeys column;
  column.style = sortSettings_.AutoFormat ? TSortStyle::ssAutomatic : TSortStyle::ssAlphabetic;
  GetColFormat(ACol, column.style, column.prefix, column.suffix);
  if (column.style == TSortStyle::ssAutomatic) column.style = ResolvedStyle(ACol, column.prefix, column.suffix);
  return column;
}

TSortKey VUraRazuduVova::CellSortKey(int ACol, int ARow, const TSortColumnKeys& column) {
  TSortKey key = MakeKey(Cells(ACol, ARow), column);
  if (column.style == TSortStyle::ssImages) GetImageIdx(ACol, ARow, key.image);
  return key;
}

const TSortColumnKeys& VUraRazuduVova::SortKeys(int ACol) {
  if (sortKeys_.size() <= static_cast<size_t>(ACol)) sortKeys_.resize(ACol + 1);
  TSortColumnKeys& column = sortKeys_[ACol];
  if (!column.built) {
    TSortColumnKeys made = ColumnSortStyle(ACol);
    made.rows.reserve(sortLast_ - sortFirst_ + 1);
    for (int r = sortFirst_; r <= sortLast_; ++r) made.rows.push_back(CellSortKey(ACol, r, made));
    made.built = true;
    column = std::move(made);
  }
  return column;
}

int VUraRazuduVova::Compare(int ACol, int ARow1, int ARow2) {
  ++sortCompares_;
  // Inside a sort each cell's key is made once; any other call makes the two it needs.
  const auto inSort = [&](int r) { return r >= sortFirst_ && r <= sortLast_; };
  if (sortFirst_ >= 0 && inSort(ARow1) && inSort(ARow2) && ACol >= 0) {
    const TSortColumnKeys& column = SortKeys(ACol);
    return CompareKeys(column, ACol, ARow1, ARow2, column.rows[ARow1 - sortFirst_], column.rows[ARow2 - sortFirst_]);
  }
  const TSortColumnKeys column = ColumnSortStyle(ACol);
  return CompareKeys(column, ACol, ARow1, ARow2, CellSortKey(ACol, ARow1, column), CellSortKey(ACol, ARow2, column));
}

int VUraRazuduVova::CompareKeys(const TSortColumnKeys& column, int ACol, int ARow1, int ARow2, const TSortKey& k1,
                                const TSortKey& k2) {
  const std::string &s1 = k1.text, &s2 = k2.text;
  if (sortSettings_.IgnoreBlanks && s1.empty() != s2.empty()) {
    // The result that the sort's direction turns into BlankPos.
    const int blankLast = sortSettings_.BlankPos == TSortBlankPosition::blLast ? 1 : -1;
    return (s1.empty() ? blankLast : -blankLast) * sortSign_;
  }
  int result = 0;
  switch (column.style) {
    case TSortStyle::ssAutomatic:
    case TSortStyle::ssAlphabetic:
    case TSortStyle::ssAlphaCase:
      result = s1.compare(s2);
      break;
    case TSortStyle::ssAlphaNoCase:
    case TSortStyle::ssHTML:
      result = k1.ordinal.compare(k2.ordinal);
      break;
    case TSortStyle::ssAnsiAlphaCase:
    case TSortStyle::ssAnsiAlphaNoCase:
      result = k1.collation.compare(k2.collation);
      break;
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial:
    case TSortStyle::ssDate:
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS:
      result = CompareValues(k1.value, k2.value, s1, s2);
      break;
    case TSortStyle::ssCustom:
      if (OnCustomCompare) OnCustomCompare(this, s1, s2, result);
      break;
    case TSortStyle::ssRaw:
      if (OnRawCompare) OnRawCompare(this, ACol, ARow1, ARow2, result);
      break;
    case TSortStyle::ssImages:
      result = Order(k1.image, k2.image);
      break;
  }
  return Sign(result);
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
