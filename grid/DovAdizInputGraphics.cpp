// What the mouse and the space key do to the controls in cells: tree nodes, radio groups, cell buttons
// and check boxes. Cells are display cells (the base of their block); the events name the real column.

#include <algorithm>
#include <utility>

#include "grid/DovAdiz.h"
#include "platform/gfx/Bitmap.h"
#include "platform/ui/VirtualKeys.h"

using namespace platform;

namespace velmora {

namespace {

// The radio of the styles that draw no size of their own.
constexpr int kThemedRadioSize = 16;
// Between the radio and its text in a horizontal group.
constexpr int kRadioTextGap = 2;

}  // namespace

bool VUraRazuduVova::NodeOrRadioPress(int c, int r, int X, int Y) {
  if (ComponentState().Contains(csDesigning)) return false;
  const TGuard alive(*this);
  const int realCol = RealColIndex(c);
  if (realCol == 0 && IsNode(r)) {
    const int realRow = RealRowIndex(r);
    if (GetNodeState(r)) {
      ExpandNode(realRow);
      if (alive.Alive() && OnExpandNode) OnExpandNode(this, r, realRow);
    } else {
      ContractNode(realRow);
      if (alive.Alive() && OnContractNode) OnContractNode(this, r, realRow);
    }
    if (alive.Alive()) SetRow(r);
    return true;
  }
  if (IsRadio(realCol, r) && IsEditable(realCol, r)) {
    if (CanFocus() && !Focused()) SetFocus();
    if (alive.Gone()) return true;
    const TRect R = CellRect(c, r);
    HandleRadioClick(c, r, X - R.Left, Y - R.Top);
    return true;
  }
  // Column 0 of a grid with nodes holds the tree: a click there does nothing else.
  return realCol == 0 && HasNodes();
}

void VUraRazuduVova::HandleRadioClick(int ACol, int ARow, int X, int Y) {
  const int realCol = RealColIndex(ACol);
  TCellGraphic* graphic = BaseGraphicOf(realCol, ARow, TCellType::ctRadio);
  const TStringList* items = graphic ? graphic->Strings.Get() : nullptr;
  if (!items || items->Count() == 0) return;
  const TControlStyle style = controlLook_.ControlStyle();
  const int radioSize =
      style == TControlStyle::csClassic || style == TControlStyle::csFlat ? controlLook_.RadioSize() : kThemedRadioSize;
  TBitmap scratch;
  scratch.Canvas().Font().Assign(Font());
  const bool horizontal = graphic->State;
  int item = -1;
  for (int i = 0, edge = 0; i < items->Count(); ++i) {
    const std::string& text = items->Strings(i);
    edge += horizontal ? scratch.Canvas().TextWidth(text) + radioSize + kRadioTextGap
                       : std::max(scratch.Canvas().TextHeight(text), radioSize);
    if ((horizontal ? X : Y) < edge) {
      item = i;
      break;
    }
  }
  // Past the last item nothing is chosen.
  if (item < 0 || (horizontal ? Y : X) < 0) return;
  const TPoint base = BaseCell(realCol, ARow);
  if (graphic->RadioIndex < 0) {
    SetCells(base.X, base.Y, items->Strings(item));
  } else {
    graphic->RadioIndex = item;
    SetCells(base.X, base.Y, Cells(base.X, base.Y));
  }
  RepaintCell(base.X, base.Y);
  if (OnRadioClick) OnRadioClick(this, base.X, base.Y, item);
}

bool VUraRazuduVova::ButtonPress(int c, int r, int X, int Y) {
  const int realCol = RealColIndex(c);
  if (!HasButton(realCol, r) || !PtInRect(ButtonRect(c, r), TPoint{X, Y})) return false;
  PushButton(c, r, true);
  pressedButton_ = {c, r};
  if (OnClickCell) OnClickCell(this, r, realCol);
  return true;
}

void VUraRazuduVova::FixedPress(int c, int r) {
  const bool fixed = c < FixedCols() || r < FixedRows() || IsFixed(c, r);
  const bool lines = Options().Contains(TGridOption::goFixedVertLine) && Options().Contains(TGridOption::goFixedHorzLine);
  if (!FixedAsButtons || Flat() || !lines || !fixed) return;
  pressedFixed_ = {c, r};
  InvalidateGridRect({c, r, c, r});
}

void VUraRazuduVova::FixedRelease() {
  const TPoint pressed = std::exchange(pressedFixed_, TPoint{-1, -1});
  if (pressed.X >= 0 && pressed.X < ColCount() && pressed.Y < RowCount())
    InvalidateGridRect({pressed.X, pressed.Y, pressed.X, pressed.Y});
}

void VUraRazuduVova::ButtonRelease() {
  const TPoint pressed = std::exchange(pressedButton_, TPoint{-1, -1});
  if (pressed.X < 0 || pressed.X >= ColCount() || pressed.Y >= RowCount()) return;
  PushButton(pressed.X, pressed.Y, false);
  if (OnButtonClick) OnButtonClick(this, RealColIndex(pressed.X), pressed.Y);
}

bool VUraRazuduVova::CheckBoxPress(int c, int r) {
  const int realCol = RealColIndex(c);
  const bool normal = r >= FixedRows() && r <= LastNormalRow() && c >= FixedCols() && c < ColCount() - FixedRightCols();
  if (!normal || !HasCheckBox(realCol, r) || !CellEditable(realCol, r)) return false;
  const TGuard alive(*this);
  if (CanFocus() && !Focused()) SetFocus();
  if (alive.Gone() || !ToggleCheckAndTell(realCol, r) || alive.Gone()) return true;
  FocusCell(c, r, true);
  if (alive.Alive() && HideFocusRect) RepaintCell(realCol, r);
  return true;
}

bool VUraRazuduVova::ToggleCheckAndTell(int ACol, int ARow) {
  const TPoint base = BaseCell(ACol, ARow);
  if (!ToggleCheck(base.X, base.Y, true)) return false;
  bool state = false;
  GetCheckBoxState(base.X, base.Y, state);
  if (OnCheckBoxClick) OnCheckBoxClick(this, base.X, base.Y, state);
  return true;
}

void VUraRazuduVova::StaticEditRelease(int c, int r) {
  if (c < 0 || r < 0 || (c < FixedCols() && !sortSettings_.FixedCols)) return;
  const TPoint base = BaseCell(RealColIndex(c), r);
  bool state = false;
  int index = 0;
  if (OnCheckBoxMouseUp && GetCheckBoxState(base.X, base.Y, state)) OnCheckBoxMouseUp(this, base.X, base.Y, state);
  else if (OnRadioMouseUp && GetRadioIdx(base.X, base.Y, index)) OnRadioMouseUp(this, base.X, base.Y, index);
}

bool VUraRazuduVova::StaticEditKey(WORD Key) {
  if (Key != VK_SPACE || Col() < 0 || Row() < 0) return false;
  const TPoint base = BaseCell(RealColIndex(Col()), Row());
  if (!HasStaticEdit(base.X, base.Y) || !CellEditable(base.X, base.Y)) return false;
  if (HasCheckBox(base.X, base.Y)) return ToggleCheckAndTell(base.X, base.Y);
  if (!ToggleRadio(base.X, base.Y, true)) return false;
  int index = 0;
  GetRadioIdx(base.X, base.Y, index);
  if (OnRadioClick) OnRadioClick(this, base.X, base.Y, index);
  return true;
}

}  // namespace velmora
