// The index model's lookups: display and real columns through the dense maps, display and real rows
// by binary search over the hidden rows (sorted by real index).

#include <algorithm>

#include "grid/DovAdiz.h"

namespace velmora {

namespace {

// The first hidden item whose real index is not below ARow.
std::vector<TGridItem>::const_iterator FirstItemFrom(const std::vector<TGridItem>& items, int ARow) {
  return std::lower_bound(items.begin(), items.end(), ARow, [](const TGridItem& item, int row) { return item.Idx < row; });
}

}  // namespace

int VUraRazuduVova::RealColIndex(int ADispCol) const {
  if (ADispCol < 0) return ADispCol;
  if (ADispCol < static_cast<int>(colMap_.size())) return colMap_[ADispCol];
  return ADispCol + hiddenColCount_;
}

int VUraRazuduVova::DisplColIndex(int ACol) const {
  if (ACol < 0) return ACol;
  if (ACol < static_cast<int>(colDispl_.size())) return colDispl_[ACol];
  return ACol - hiddenColCount_;
}

bool VUraRazuduVova::IsHiddenColumn(int ACol) const {
  return ACol >= 0 && ACol < static_cast<int>(colHidden_.size()) && colHidden_[ACol];
}

void VUraRazuduVova::RebuildColumnMaps() {
  hiddenColCount_ = static_cast<int>(std::count(colHidden_.begin(), colHidden_.end(), true));
  colMap_.clear();
  colDispl_.clear();
  if (hiddenColCount_ == 0) {
    colHidden_.clear();
    colWidths_.clear();
    return;
  }
  colDispl_.resize(colHidden_.size());
  for (size_t c = 0; c < colHidden_.size(); ++c) {
    // A hidden column gets the display column that follows its place.
    colDispl_[c] = static_cast<int>(colMap_.size());
    if (!colHidden_[c]) colMap_.push_back(static_cast<int>(c));
  }
}

int VUraRazuduVova::DisplRowIndex(int ARow) const {
  return ARow - static_cast<int>(FirstItemFrom(hiddenRows_, ARow) - hiddenRows_.begin());
}

int VUraRazuduVova::RealRowIndex(int ADispRow) const {
  // Item k has Idx - k visible rows before it: the display row lies before the first item with more.
  size_t lo = 0, hi = hiddenRows_.size();
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (hiddenRows_[mid].Idx - static_cast<int>(mid) <= ADispRow)
      lo = mid + 1;
    else
      hi = mid;
  }
  return ADispRow + static_cast<int>(lo);
}

bool VUraRazuduVova::IsHiddenRow(int ARow) const { return HiddenRow(ARow) != nullptr; }

const TGridItem* VUraRazuduVova::HiddenRow(int ARow) const {
  const auto item = FirstItemFrom(hiddenRows_, ARow);
  return item != hiddenRows_.end() && item->Idx == ARow ? &*item : nullptr;
}

TGridItem* VUraRazuduVova::HiddenItem(int ARow) { return const_cast<TGridItem*>(HiddenRow(ARow)); }

}  // namespace velmora
