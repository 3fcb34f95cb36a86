#pragma once

#include <optional>
#include <string>
#include <vector>

#include "grid/DovAdizTypes.h"

namespace velmora {

// What a comparison needs of one cell in its column's style, worked out once per cell: the text, and
// by style the upper-cased or stripped text, the collation key, the number or date, or the image index.
struct TSortKey {
  std::string text;
  std::string ordinal;        // ssAlphaNoCase: upper-cased; ssHTML: without markup
  std::wstring collation;     // the Ansi styles
  std::optional<double> value;  // the numeric and date styles; none for a text without one
  int image = -1;             // ssImages: the cell's image index, -1 without one
};

// The keys of one column over the rows a sort sorts (index: row - first row), with the column's style
// as OnGetFormat gave it (ssAutomatic resolved) and its prefix and suffix.
struct TSortColumnKeys {
  bool built = false;
  TSortStyle style = TSortStyle::ssAlphabetic;
  std::string prefix, suffix;
  std::vector<TSortKey> rows;
};

}  // namespace velmora
