// The grid's search by a typed prefix: Search and the incremental positioning of a sorted grid.

#include "grid/DovAdiz.h"
#include "grid/EditorTyping.h"
#include "platform/core/Utf8.h"

using namespace platform;

namespace velmora {

int VUraRazuduVova::Search(const std::string& AText) {
  if (RowCount() < 2) return -1;
  const int col = sortSettings_.Show ? sortSettings_.Column : 1;
  if (col < 0 || col >= ColCount()) return -1;
  for (int r = FixedRows(); r < RowCount(); ++r)
    if (BeginsWith(Cells(col, r), AText, false)) return r;
  return -1;
}

void VUraRazuduVova::IncrementalSearch(char32_t Key) {
  const bool adding = navigation_.AutoGotoIncremental;
  if (Key == '\b') {
    // Only text that adds up loses its last character.
    if (!adding || incrementalText_.empty()) return;
    incrementalText_.resize(PreviousCodePoint(incrementalText_, incrementalText_.size()));
    if (incrementalText_.empty()) return;
  } else if (Key < 0x20 || Key == 0x7F || Key > 0x10FFFF || (Key >= 0xD800 && Key <= 0xDFFF)) {
    return;
  } else {
    if (!adding) incrementalText_.clear();
    AppendCodePoint(incrementalText_, Key);
  }
  const int row = Search(incrementalText_);
  if (row >= 0) SetRow(row);
}

}  // namespace velmora
