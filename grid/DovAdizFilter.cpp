#include "grid/DovAdizFilter.h"

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

}  // namespace velmora
