// The sort's comparison: styles, their values and the resolution of the automatic style.
#include <algorithm>
#include <bit>
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
int CompareValues(const TSortKey& k1, const TSortKey& k2, std::string_view s1, std::string_view s2) {
  if (k1.hasValue && k2.hasValue) return Order(k1.value, k2.value);
  if (k1.hasValue || k2.hasValue) return k1.hasValue ? -1 : 1;
  return s1.compare(s2);
}

uint64_t Prefix(std::string_view text) {
  uint64_t prefix = 0;
  for (size_t i = 0; i < 8; ++i) prefix = prefix << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
  return prefix;
}

// Unequal prefixes order the strings; equal ones leave it to the whole strings.
int CompareTexts(uint64_t prefix1, uint64_t prefix2, std::string_view s1, std::string_view s2) {
  if (prefix1 != prefix2) return prefix1 < prefix2 ? -1 : 1;
  return s1.compare(s2);
}

bool TextStyle(TSortStyle style) {
  return style == TSortStyle::ssAutomatic || style == TSortStyle::ssAlphabetic || style == TSortStyle::ssAlphaCase;
}

// Completes key k of the column from its text, in the column's resolved style (its image index is the
// caller's).
void FillKey(TSortColumnKeys& column, size_t k) {
  TSortKey& key = column.rows[k];
  const std::string_view text = column.Text(key);
  auto addOrdinal = [&](const std::string& ordinal) {
    key.ordinal = column.ordinals.size();
    key.ordinalLength = static_cast<uint32_t>(ordinal.size());
    key.prefix = Prefix(ordinal);
    column.ordinals += ordinal;
  };
  if (TextStyle(column.style)) key.prefix = Prefix(text);
  auto setValue = [&](const std::optional<double>& value) {
    key.hasValue = value.has_value();
    key.value = value.value_or(0);
  };
  switch (column.style) {
    case TSortStyle::ssAlphaNoCase: addOrdinal(platform::UpperCase(std::string(text))); break;
    case TSortStyle::ssHTML: addOrdinal(controls::StripHTML(std::string(text))); break;
    case TSortStyle::ssAnsiAlphaCase:
    case TSortStyle::ssAnsiAlphaNoCase:
      if (column.collations.size() < column.rows.size()) column.collations.resize(column.rows.size());
      column.collations[k] =
          platform::AnsiCollationKey(std::string(text), column.style == TSortStyle::ssAnsiAlphaNoCase);
      break;
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial:
      setValue(NumericValue(text, column.prefix, column.suffix, column.style == TSortStyle::ssFinancial));
      break;
    case TSortStyle::ssDate:
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS:
      setValue(DateValue(text, column.style));
      break;
    default: break;
  }
}

// Adds a text to the column and makes its key.
TSortKey& AddKey(TSortColumnKeys& column, std::string_view text) {
  TSortKey& key = column.rows.emplace_back();
  key.text = column.texts.size();
  key.textLength = static_cast<uint32_t>(text.size());
  column.texts += text;
  FillKey(column, column.rows.size() - 1);
  return key;
}

// What ssAutomatic stands for over texts 0 .. n - 1: numeric when every text converts to a number,
// else a date when every one converts to a date, else alphabetic.
template <class TextAt>
TSortStyle StyleOfTexts(size_t n, const TextAt& textAt, const std::string& prefix, const std::string& suffix) {
  bool numbers = true, dates = true;
  for (size_t i = 0; i < n && (numbers || dates); ++i) {
    const std::string_view text = textAt(i);
    numbers = numbers && NumericValue(text, prefix, suffix, false).has_value();
    dates = dates && !numbers && DateValue(text, TSortStyle::ssDate).has_value();
  }
  // A column of numbers never tested its dates: numbers win.
  return numbers ? TSortStyle::ssNumeric : dates ? TSortStyle::ssDate : TSortStyle::ssAlphabetic;
}

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

TSortStyle VUraRazuduVova::ResolvedStyle(int ACol, const std::string& prefix, const std::string& suffix) {
  const bool sorting = sortFirst_ >= 0;
  const int first = sorting ? sortFirst_ : FixedRows();
  const int last = sorting ? sortLast_ : RowCount() - 1 - FixedFooters();
  std::string scratch;
  return StyleOfTexts(
      static_cast<size_t>(std::max(last - first + 1, 0)),
      [&](size_t i) { return std::string_view(SortCellText(ACol, first + static_cast<int>(i), scratch)); }, prefix,
      suffix);
}

TSortColumnKeys VUraRazuduVova::ColumnFormat(int ACol) {
  TSortColumnKeys column;
  column.style = sortSettings_.AutoFormat ? TSortStyle::ssAutomatic : TSortStyle::ssAlphabetic;
  GetColFormat(ACol, column.style, column.prefix, column.suffix);
  return column;
}

TSortColumnKeys VUraRazuduVova::ColumnSortStyle(int ACol) {
  TSortColumnKeys column = ColumnFormat(ACol);
  if (column.style == TSortStyle::ssAutomatic) column.style = ResolvedStyle(ACol, column.prefix, column.suffix);
  return column;
}

const std::string& VUraRazuduVova::SortCellText(int ACol, int ARow, std::string& scratch) const {
  if (sortPlainCells_ && ARow >= sortFirst_ && ARow <= sortLast_) return TStringGrid::Cells(ACol, ARow);
  return scratch = Cells(ACol, ARow);
}

void VUraRazuduVova::AddCellSortKey(int ACol, int ARow, TSortColumnKeys& column) {
  std::string scratch;
  TSortKey& key = AddKey(column, SortCellText(ACol, ARow, scratch));
  if (column.style == TSortStyle::ssImages) key.image = GetCellImageIdx(ACol, ARow);
}

const TSortColumnKeys& VUraRazuduVova::SortKeys(int ACol) {
  if (sortKeys_.size() <= static_cast<size_t>(ACol)) sortKeys_.resize(ACol + 1);
  TSortColumnKeys& column = sortKeys_[ACol];
  if (!column.built) {
    TSortColumnKeys made = ColumnFormat(ACol);
    made.built = true;
    // The texts are read from the cells once, in one pass (at many rows the reads cost most); the
    // automatic style and the keys are worked out from them.
    const size_t n = sortLast_ - sortFirst_ + 1;
    made.rows.resize(n);
    std::string scratch;
    for (size_t k = 0; k < n; ++k) {
      const std::string& text = SortCellText(ACol, sortFirst_ + static_cast<int>(k), scratch);
      made.rows[k].text = made.texts.size();
      made.rows[k].textLength = static_cast<uint32_t>(text.size());
      made.texts += text;
    }
    const auto textAt = [&made](size_t k) { return made.Text(made.rows[k]); };
    if (made.style == TSortStyle::ssAutomatic) made.style = StyleOfTexts(n, textAt, made.prefix, made.suffix);
    // One text in every row gives one key in every row, whatever the style computes from it: such a
    // column (an empty one, met by every tie) needs no keys.
    const bool handlers = made.style == TSortStyle::ssCustom || made.style == TSortStyle::ssRaw ||
                          made.style == TSortStyle::ssImages;
    made.uniform = !handlers;
    for (size_t k = 1; k < n && made.uniform; ++k) made.uniform = textAt(k) == textAt(0);
    if (made.uniform) {
      made.rows.clear();
      made.texts.clear();
    }
    for (size_t k = 0; k < made.rows.size(); ++k) {
      FillKey(made, k);
      if (made.style == TSortStyle::ssImages)
        made.rows[k].image = GetCellImageIdx(ACol, sortFirst_ + static_cast<int>(k));
    }
    column = std::move(made);
  }
  return column;
}

std::vector<TSortHint> VUraRazuduVova::SortHints(int ACol) {
  if (sortSettings_.IgnoreBlanks) return {};
  const TSortColumnKeys& column = SortKeys(ACol);
  const TSortStyle style = column.style;
  const bool ordinal = style == TSortStyle::ssAlphaNoCase || style == TSortStyle::ssHTML;
  const bool values = style == TSortStyle::ssNumeric || style == TSortStyle::ssFinancial ||
                      style == TSortStyle::ssDate || style == TSortStyle::ssShortDateEU ||
                      style == TSortStyle::ssShortDateUS;
  if (column.uniform || !(TextStyle(style) || ordinal || values)) return {};
  std::vector<TSortHint> hints(column.rows.size());
  for (size_t k = 0; k < hints.size(); ++k) {
    const TSortKey& key = column.rows[k];
    TSortHint& hint = hints[k];
    hint.row = sortFirst_ + static_cast<int>(k);
    // A string's first 16 bytes, as two prefixes.
    auto prefixes = [&hint](std::string_view text) {
      hint.key = Prefix(text);
      hint.key2 = text.size() > 8 ? Prefix(text.substr(8)) : 0;
    };
    if (!values) {
      prefixes(ordinal ? column.Ordinal(key) : column.Text(key));
    } else if (key.hasValue) {
      // The order of doubles as unsigned integers: negatives reversed below the positives.
      const uint64_t bits = std::bit_cast<uint64_t>(key.value == 0 ? 0.0 : key.value);
      hint.key = bits >> 63 ? ~bits : bits | (uint64_t{1} << 63);
    } else {
      hint.cls = 1;  // after the values, ordinal among themselves
      prefixes(column.Text(key));
    }
  }
  return hints;
}

int VUraRazuduVova::Compare(int ACol, int ARow1, int ARow2) {
  ++sortCompares_;
  // Inside a sort each cell's key is made once; any other call makes the two it needs.
  const auto inSort = [&](int r) { return r >= sortFirst_ && r <= sortLast_; };
  if (sortFirst_ >= 0 && inSort(ARow1) && inSort(ARow2) && ACol >= 0)
    return CompareKeys(SortKeys(ACol), ACol, ARow1, ARow2, ARow1 - sortFirst_, ARow2 - sortFirst_);
  TSortColumnKeys column = ColumnSortStyle(ACol);
  AddCellSortKey(ACol, ARow1, column);
  AddCellSortKey(ACol, ARow2, column);
  return CompareKeys(column, ACol, ARow1, ARow2, 0, 1);
}

int VUraRazuduVova::CompareKeys(const TSortColumnKeys& column, int ACol, int ARow1, int ARow2, size_t key1,
                                size_t key2) {
  if (column.uniform) return 0;
  const TSortKey &k1 = column.rows[key1], &k2 = column.rows[key2];
  const std::string_view s1 = column.Text(k1), s2 = column.Text(k2);
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
      result = CompareTexts(k1.prefix, k2.prefix, s1, s2);
      break;
    case TSortStyle::ssAlphaNoCase:
    case TSortStyle::ssHTML:
      result = CompareTexts(k1.prefix, k2.prefix, column.Ordinal(k1), column.Ordinal(k2));
      break;
    case TSortStyle::ssAnsiAlphaCase:
    case TSortStyle::ssAnsiAlphaNoCase:
      result = column.collations[key1].compare(column.collations[key2]);
      break;
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial:
    case TSortStyle::ssDate:
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS:
      result = CompareValues(k1, k2, s1, s2);
      break;
    case TSortStyle::ssCustom:
      if (OnCustomCompare) OnCustomCompare(this, std::string(s1), std::string(s2), result);
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
