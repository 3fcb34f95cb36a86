#include "grid/DovAdizFilter.h"

#include <cstdint>
#include <vector>

#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"

// The row filter: its conditions, the test of one row, and hiding the rows that fail.

using namespace platform;

namespace velmora {

void TFilterData::Assign(const TPersistent* Source) {
  if (const auto* data = dynamic_cast<const TFilterData*>(Source)) {
    Column = data->Column;
    Condition = data->Condition;
    CaseSensitive = data->CaseSensitive;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

bool VUraRazuduVova::MatchFilter(int ARow) {
  for (int i = 0; i < filter_.Count(); ++i) {
    const TFilterData& condition = *filter_.Items(i);
    if (!MatchStrEx(condition.Condition, Cells(condition.Column, ARow), condition.CaseSensitive)) return false;
  }
  return true;
}

// The rows are tested where they stand and hidden together at the end, so each is tested once and
// the hiding is one pass over the grid however the failing rows lie.
void VUraRazuduVova::ApplyFilter() {
  const int first = FixedRows();
  const int end = RowCount() - FixedFooters();
  const int64_t total = end - first;
  std::vector<int> failing;
  for (int r = first; r < end; ++r) {
    if (!MatchFilter(r)) failing.push_back(RealRowIndex(r));
    if (OnFilterProgress) {
      const int64_t tested = r - first + 1;
      OnFilterProgress(this, static_cast<int16_t>((tested * 200 + total) / (total * 2)));  // rounded percent
    }
  }
  HideRowSet(failing, HideCause::Filter);
}

// Turning the filter on changes the grid only when the filter hides rows (and adds the blank row),
// so an exception from a condition or a progress handler leaves the filter off and the grid as it was.
void VUraRazuduVova::SetFilterActive(bool Value) {
  if (Value == filterActive_) return;
  if (Value) {
    filterFixedRows_ = TBaseGrid::FixedRows();
    ApplyFilter();
    filterActive_ = true;
    // Hiding every data row has lowered the fixed rows with the row count; one blank row brings them back.
    filterBlankRow_ = !FixedRowAlways && RowCount() == FixedFooters() + filterFixedRows_;
    if (filterBlankRow_) {
      InsertRows(filterFixedRows_, 1);
      SetFixedRows(filterFixedRows_);
    }
    return;
  }
  filterActive_ = false;
  // The blank row goes only while it is still the one data row; rows added since stay.
  if (filterBlankRow_ && RowCount() == filterFixedRows_ + FixedFooters() + 1) RemoveRows(filterFixedRows_, 1);
  filterBlankRow_ = false;
  UnHideFilteredRows();
  SetFixedRows(filterFixedRows_);
}

}  // namespace velmora
