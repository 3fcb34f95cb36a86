// The grid's header texts in row 0 and column 0.

#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"

namespace velmora {

void VUraRazuduVova::SetColumnHeaders(const platform::TStringList& List) {
  columnHeaders_.Assign(List);
  if (FixedRows() > 0) ClearColumnHeaders();
  ShowColumnHeaders();
}

void VUraRazuduVova::ShowColumnHeaders() {
  if (FixedRows() <= 0) return;
  // Hidden columns keep their headers at their real index too.
  const int count = std::min(columnHeaders_.Count(), StorageColCount());
  for (int i = 0; i < count; ++i) SetCells(i, 0, CLFToLF(columnHeaders_.Strings(i)));
}

void VUraRazuduVova::ClearColumnHeaders() {
  for (int c = 0; c < StorageColCount(); ++c) SetCells(c, 0, "");
}

void VUraRazuduVova::SetRowHeaders(const platform::TStringList& List) {
  rowHeaders_.Assign(List);
  // At run time the rows beyond a shorter list keep their texts.
  if (ComponentState().Contains(platform::csDesigning) && FixedCols() > 0) ClearRowHeaders();
  ShowRowHeaders();
}

void VUraRazuduVova::ShowRowHeaders() {
  if (FixedCols() <= 0) return;
  const int count = std::min(rowHeaders_.Count(), RowCount());
  for (int i = 0; i < count; ++i) SetCells(0, i, CLFToLF(rowHeaders_.Strings(i)));
}

void VUraRazuduVova::ClearRowHeaders() {
  for (int r = 0; r < RowCount(); ++r) SetCells(0, r, "");
}

}  // namespace velmora
