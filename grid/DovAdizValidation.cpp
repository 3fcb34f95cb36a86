// Validation of an edited cell's value: the cell and text remembered when its edit began, and the
// application's verdict through OnCellValidate.

#include "grid/DovAdiz.h"
#include "grid/ScopedFlag.h"

using namespace platform;

namespace velmora {

void VUraRazuduVova::InitValidate(int ACol, int ARow) {
  validateCell_ = {RealColIndex(ACol), ARow};
  validateText_ = validateCell_.X >= 0 && ARow >= 0 ? Cells(validateCell_.X, ARow) : std::string();
}

bool VUraRazuduVova::ValidateCell(const std::string& NewValue) {
  if (!EditPending || validatingCell_) return true;
  EditPending = false;
  bool valid = true;
  const int c = validateCell_.X, r = validateCell_.Y;
  if (c < 0 || r < 0 || r >= RowCount() || NewValue == validateText_) {
    InitValidate(Col(), Row());
    return true;
  }
  const TGuard alive(*this);
  std::string value = NewValue;
  {
    ScopedFlag validating(*this, validatingCell_);
    UpdateCell(c, r);
    if (OnCellValidate) OnCellValidate(this, c, r, value, valid);
    if (alive.Gone()) return valid;
  }
  {
    if (valid || value != NewValue)
      SetCells(c, r, value);
    else
      SetCells(c, r, validateText_);
    CellsChanged(Rect(c, r, c, r));
    if (alive.Gone()) return valid;
  }
  if (!valid) EditPending = true;
  refusedCell_ = valid ? TPoint{-1, -1} : TPoint{c, r};
  validateText_ = Cells(c, r);
  if (valid) InitValidate(Col(), Row());
  return valid;
}

}  // namespace velmora
