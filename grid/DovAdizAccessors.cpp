// The grid's alignment, sort-order maps, column widths by real column, cursor and the small
// properties that store and repaint.

#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "platform/gfx/Gdi.h"

using namespace platform;

namespace velmora {

void VUraRazuduVova::SetVAlignment(TVAlignment Value) {
  vAlignment_ = Value;
  if (!GetLockFlag()) Invalidate();
}

unsigned VUraRazuduVova::VAlignmentFlag() const {
  switch (vAlignment_) {
    case TVAlignment::vtaCenter: return DT_VCENTER;
    case TVAlignment::vtaBottom: return DT_BOTTOM;
    case TVAlignment::vtaTop: break;
  }
  return DT_TOP;
}

void VUraRazuduVova::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
  HAlign = TAlignment::taLeftJustify;
  VAlign = vAlignment_;
  if (AutoNumAlign) {
    std::string text = Cells(ACol, ARow);
    if (text.starts_with('=')) text = CalcCell(ACol, ARow);
    if (IsType(text) != 2) HAlign = TAlignment::taRightJustify;
  }
  GetCellAlign(ACol, ARow, HAlign, VAlign);
}

void VUraRazuduVova::SetWordWrap(bool Value) {
  wordWrap_ = Value;
  if (auto* editor = dynamic_cast<TExInplaceEdit*>(InplaceEditor())) editor->SetWordWrap(Value);
  if (!GetLockFlag()) Invalidate();
}

void VUraRazuduVova::SetFlat(bool Value) {
  flat_ = Value;
  if (!ComponentState().Contains(csLoading)) Invalidate();
}

void VUraRazuduVova::SetAutoSize(bool Value) {
  autoSize_ = Value;
  if (Value) AutoSizeColumns(false, 10);
}

void VUraRazuduVova::SetXYOffset(TPoint Value) {
  xyOffset_ = Value;
  Invalidate();
}

void VUraRazuduVova::SetCursorEx(TCursor Value) {
  TBaseGrid::SetCursor(Value);
  normalCursor_ = Value;
}

int VUraRazuduVova::SortedRowIndex(int I) const {
  if (I < 0 || I >= sortXRef_.Count()) return I;
  const int at = sortXRef_.IndexOf(I);
  return at < 0 ? I : at;
}

int VUraRazuduVova::UnSortedRowIndex(int I) const {
  return I >= 0 && I < sortXRef_.Count() ? sortXRef_.GetInteger(I) : I;
}

std::string VUraRazuduVova::GetUnSortedCell(int ACol, int ARow) const { return Cells(ACol, UnSortedRowIndex(ARow)); }

void VUraRazuduVova::SetUnSortedCell(int ACol, int ARow, const std::string& Value) {
  SetCells(ACol, UnSortedRowIndex(ARow), Value);
}

}  // namespace velmora
