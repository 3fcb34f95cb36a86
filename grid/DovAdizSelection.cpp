// The grid's selection: the range, the row-select list, the selection's look, repainting and the
// events that may keep the current cell.

#include "grid/DovAdiz.h"

using namespace platform;

namespace velmora {

void VUraRazuduVova::SelectRows(int ARow, int N) {
  if (!MouseActions().DisjunctRowSelect) {
    SetSelection({FixedCols(), ARow, ColCount() - 1, ARow + N - 1});
    return;
  }
  for (int r = std::max(ARow, 0); r < ARow + N && r < RowCount(); ++r) SetRowSelect(r, true);
}

void VUraRazuduVova::SelectCols(int ACol, int N) { SetSelection({ACol, FixedRows(), ACol + N - 1, RowCount() - 1}); }

void VUraRazuduVova::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow) {
  SetSelection({FromCol, FromRow, ToCol, ToRow});
}

bool VUraRazuduVova::RowSelect(int ARow) const {
  if (ARow < 0 || ARow >= RowCount()) throw EDovAdizError("Invalid Row accessed");
  return ARow < static_cast<int>(rowSelect_.size()) && rowSelect_[ARow] == 1;
}

void VUraRazuduVova::SetRowSelect(int ARow, bool Value) {
  if (RowSelect(ARow) == Value) return;
  if (ARow >= static_cast<int>(rowSelect_.size())) rowSelect_.resize(ARow + 1, 0);
  rowSelect_[ARow] = Value ? 1 : 0;
  RepaintRow(ARow);
}

int VUraRazuduVova::RowSelectCount() const {
  // Rows taken away by other means than the row count may still have an entry.
  int count = 0;
  for (size_t r = 0; r < std::min<size_t>(rowSelect_.size(), RowCount()); ++r) count += rowSelect_[r] == 1;
  return count;
}

void VUraRazuduVova::ClearRowSelect() {
  for (size_t r = 0; r < rowSelect_.size(); ++r)
    if (rowSelect_[r] == 1) RepaintRow(static_cast<int>(r));
  rowSelect_ = {};
}

void VUraRazuduVova::SelectToRowSelect(bool ClearOthers) {
  const TGridRect sel = Selection();
  for (int r = FixedRows(); r < RowCount(); ++r) {
    if (r >= sel.Top && r <= sel.Bottom)
      SetRowSelect(r, true);
    else if (ClearOthers)
      SetRowSelect(r, false);
  }
}

void VUraRazuduVova::SetSelectionColor(TColor Value) {
  selectionColor_ = Value;
  Invalidate();
}

void VUraRazuduVova::SetSelectionTextColor(TColor Value) {
  selectionTextColor_ = Value;
  Invalidate();
}

void VUraRazuduVova::SetSelectionRectangle(bool Value) {
  selectionRectangle_ = Value;
  Invalidate();
}

void VUraRazuduVova::SetShowSelection(bool Value) {
  if (showSelection_ == Value) return;
  showSelection_ = Value;
  SetSelectionShown(Value);
  Invalidate();
}

void VUraRazuduVova::RepaintRect(const TRect& R) {
  const TRect first = CellRect(R.Left, R.Top);
  const TRect last = CellRect(R.Right, R.Bottom);
  // A corner out of view: the whole grid.
  if (IsRectEmpty(first) || IsRectEmpty(last)) {
    Invalidate();
    return;
  }
  TRect both;
  UnionRect(both, first, last);
  InvalidateRect(both);
}


bool VUraRazuduVova::SelectCell(int ACol, int ARow) {
  const int oldCol = RealColIndex(Col()), oldRow = Row();
  const int newCol = RealColIndex(ACol);
  bool allow = true;
  // A handler may free the grid; a veto ends the asking.
  const TGuard alive(*this);
  if (ARow != oldRow && OnRowChanging) OnRowChanging(this, oldRow, ARow, allow);
  if (alive.Gone()) return false;
  if (allow && newCol != oldCol && OnColChanging) OnColChanging(this, oldCol, newCol, allow);
  if (alive.Gone()) return false;
  if (allow && !advancing_ && (ARow != oldRow || newCol != oldCol) && OnCellChanging)
    OnCellChanging(this, oldRow, oldCol, ARow, newCol, allow);
  if (alive.Gone() || !allow) return false;
  if (!SelectCellEditing(ACol, ARow) || alive.Gone()) return false;
  return TBaseGrid::SelectCell(ACol, ARow);
}

}  // namespace velmora
