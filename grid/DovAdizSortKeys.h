#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "grid/DovAdizTypes.h"

namespace velmora {

// What a comparison needs of one cell in its column's style, worked out once per cell: the text, and
// by style the upper-cased or stripped text, the number or date, or the image index. The texts lie in
// their column's buffers, so the keys of a column are small and close together.
struct TSortKey {
  size_t text = 0;              // in TSortColumnKeys::texts
  size_t ordinal = 0;           // ssAlphaNoCase: upper-cased, ssHTML: without markup; in ordinals
  uint32_t textLength = 0;
  uint32_t ordinalLength = 0;
  double value = 0;             // the numeric and date styles, when hasValue
  bool hasValue = false;
  int image = -1;               // ssImages: the image index the cell shows, -1 without one
  // The text styles: the first 8 bytes of the string compared (text or ordinal), big-endian and padded
  // with zeros, so that unequal prefixes order two keys as their strings without reading them.
  uint64_t prefix = 0;
};

// A row's place by the first column a sort compares, as far as its class and 16 key bytes tell it:
// rows whose hints differ compare as their hints (the class first, then key, then key2); equal hints
// leave it to the comparison. Sorting these keeps the keys that decide most comparisons close together.
struct TSortHint {
  uint64_t key = 0;
  uint64_t key2 = 0;  // the text styles: bytes 8 to 15 of the string, as `key` holds bytes 0 to 7
  uint32_t cls = 0;
  int row = 0;
};

// The keys of one column in order of making (during a sort: row - first row), with the column's style
// as OnGetFormat gave it (ssAutomatic resolved) and its prefix and suffix.
struct TSortColumnKeys {
  bool built = false;
  bool uniform = false;  // one text in every row, in a style without handlers: no keys, every comparison 0
  TSortStyle style = TSortStyle::ssAlphabetic;
  std::string prefix, suffix;
  std::string texts, ordinals;
  std::vector<std::wstring> collations;  // the Ansi styles' keys, by key
  std::vector<TSortKey> rows;

  std::string_view Text(const TSortKey& key) const { return {texts.data() + key.text, key.textLength}; }
  std::string_view Ordinal(const TSortKey& key) const { return {ordinals.data() + key.ordinal, key.ordinalLength}; }
};

}  // namespace velmora
