#include "grid/DovAdiz.h"

// The grid's own virtual operations: the customisation points, each of which asks its event (when
// assigned) after the value it starts from, and the do-nothing hooks that descendants override.

using namespace platform;

namespace velmora {

std::string VUraRazuduVova::EllipsClick(const std::string& S) {
  std::string result = S;
  if (OnEllipsClick) OnEllipsClick(this, RealColIndex(Col()), Row(), result);
  return result;
}

void VUraRazuduVova::CellsChanged(const TRect& R) {
  const TGuard alive(*this);
  if (OnCellsChanged) OnCellsChanged(this, R);
  // A notifier may unregister itself or another one, or free the grid, while it hears of the change.
  const std::vector<TGridChangeNotifier*> registered = notifiers_;
  for (TGridChangeNotifier* notifier : registered) {
    if (alive.Gone()) return;
    if (std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end()) notifier->CellsChanged(R);
  }
}

void VUraRazuduVova::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont) {
  if (ActiveCellShow) {
    const bool rowHeader = FixedCols() > 0 && DisplColIndex(ACol) == 0 && ARow == Row();
    const bool colHeader = FixedRows() > 0 && ARow == 0 && ACol == RealColIndex(Col());
    if (rowHeader || colHeader) AFont.Assign(activeCellFont_);
  }
  if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void VUraRazuduVova::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont) {
  if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void VUraRazuduVova::GetCellBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders) {
  if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void VUraRazuduVova::GetCellPrintBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders) {
  if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void VUraRazuduVova::GetCellAlign(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
  if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void VUraRazuduVova::GetColFormat(int ACol, TSortStyle& AStyle, std::string& APrefix, std::string& ASuffix) {
  if (OnGetFormat) OnGetFormat(this, ACol, AStyle, APrefix, ASuffix);
}

void VUraRazuduVova::GetCellEditor(int ACol, int ARow, TEditorType& AEditor) {
  if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

void VUraRazuduVova::GetCellFixed(int ACol, int ARow, bool& IsFixed) {
  IsFixed = ARow < GetFixedRowsEx() || ACol < GetFixedColsEx() ||
            (ARow == 0 && FixedRowAlways && RowCount() == 1) || (ACol == 0 && FixedColAlways && ColCount() == 1);
  if (!IsFixed && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void VUraRazuduVova::GetCellReadOnly(int ACol, int ARow, bool& CanEdit) {
  if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, CanEdit);
}

void VUraRazuduVova::GetCellPassword(int ACol, int ARow, bool& IsPassword) {
  if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void VUraRazuduVova::GetCheckTrue(int ACol, int ARow, std::string& Value) {
  Value = CheckTrue;
  if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, Value);
}

void VUraRazuduVova::GetCheckFalse(int ACol, int ARow, std::string& Value) {
  Value = CheckFalse;
  if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, Value);
}

int VUraRazuduVova::GetVersionNr() {
  constexpr int major = 2;
  constexpr int minor = 0;
  return major | minor << 16;
}

std::string VUraRazuduVova::GetVersionString() { return "2.0 November, 2001"; }

}  // namespace velmora
