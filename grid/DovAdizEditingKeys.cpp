// The keys of editing: the editor controls' grid keys, the advance to the next editable cell, the
// hand-back of a closing key, and the grid's own Enter, Escape, incremental search and always-edit
// handling.

#include <set>
#include <utility>

#include "grid/DovAdiz.h"
#include "grid/ScopedFlag.h"
#include "platform/ui/VirtualKeys.h"

using namespace platform;

namespace velmora {

namespace {

bool IsArrowKey(WORD key) { return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN; }

}  // namespace

void VUraRazuduVova::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_CHAR) {
    if (Message.Msg == WM_KEYDOWN) handedBackChar_ = 0;
    TBaseGrid::Dispatch(Message);
    return;
  }
  const auto c = static_cast<char32_t>(Message.WParam);
  if (c == std::exchange(handedBackChar_, 0) && c != 0) return;
  // A character typed on the grid that starts an edit goes on to the control that edits the cell.
  const bool starts = Options().Contains(TGridOption::goEditing) && !EditActive() && c >= 0x20 && c != 0x7F;
  if (starts) PendingEditChar = c;
  const TGuard alive(*this);
  TBaseGrid::Dispatch(Message);
  if (alive.Alive()) PendingEditChar = 0;
}

bool VUraRazuduVova::EditorGridKey(WORD Key, TShiftState Shift, const std::function<std::string()>& value,
                                   const std::function<void(const std::string&)>& reload) {
  const TGuard alive(*this);
  const int c = editCell_.X, r = editCell_.Y;
  if (Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
    const std::string text = value();
    const bool changed = text != preparedValue_;
    if (changed) SetCells(c, r, text);
    const bool valid = ValidateCell(changed ? text : Cells(c, r));
    if (alive.Gone()) return false;
    reload(CellEditText(c, r));
    // The cell holds what the control shows now: hiding writes nothing more.
    preparedValue_ = value();
    if (!valid) return false;
  } else if (Key == VK_ESCAPE) {
    refusedCell_ = {-1, -1};
    reload(CellEditText(c, r));
    preparedValue_ = value();
  }
  DoneInplaceEdit(Key, Shift);
  return true;
}

void VUraRazuduVova::HandBackKey(WORD Key) {
  handedBackChar_ = Key == VK_RETURN ? U'\r' : Key == VK_ESCAPE ? U'\x1b' : Key == VK_TAB ? U'\t' : 0;
}

void VUraRazuduVova::DoneInplaceEdit(WORD Key, TShiftState Shift) {
  const TGuard alive(*this);
  ScopedFlag handing(*this, handingBack_);
  HandBackKey(Key);
  HideInplaceEdit();
  if (alive.Gone()) return;
  if (Key == VK_TAB || IsArrowKey(Key)) {
    WORD key = Key;
    KeyDown(key, Shift);
    if (alive.Gone()) return;
  }
  ScopedFlag noAlwaysEdit(*this, navigation_.AlwaysEdit, false);
  if (CanFocus() && !Focused()) SetFocus();
  if (Key == VK_RETURN && alive.Alive()) AdvanceEdit(Col(), Row(), true, true, false);
}

TPoint VUraRazuduVova::AdvanceStep(int c, int r, bool Forward, bool& grown) {
  const int firstCol = FixedCols(), firstRow = FixedRows();
  const int lastCol = ColCount() - 1 - FixedRightCols();
  const int lastRow = RowCount() - 1 - FixedFooters();
  const TPoint span = CellSpan(RealColIndex(c), r);
  const int sx = std::max(span.X, 0), sy = std::max(span.Y, 0);
  const bool leftRight = navigation_.AdvanceDirection == TAdvanceDirection::adLeftRight;
  if (Forward && leftRight) {
    if (c + sx < lastCol) return {c + 1 + sx, r};
    if (r + sy < lastRow) return {firstCol, r + 1 + sy};
    if (navigation_.AdvanceInsert && !grown) {
      bool canAdd = true;
      if (OnCanAddRow) OnCanAddRow(this, canAdd);
      if (!canAdd) return {-1, -1};
      grown = true;
      SetRowCount(RowCount() + 1);
      if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - 1 - FixedFooters());
      return {firstCol, r + 1 + sy};
    }
    return {firstCol, firstRow};
  }
  if (Forward) {
    if (r + sy < lastRow) return {c, r + 1 + sy};
    if (c + sx < lastCol) return {c + 1 + sx, firstRow};
    if (navigation_.AdvanceInsert && !grown) {
      grown = true;
      SetColCount(ColCount() + 1);
      if (OnAutoInsertCol) OnAutoInsertCol(this, ColCount() - 1 - FixedRightCols());
      Invalidate();
      return {c + 1 + sx, firstRow};
    }
    return {firstCol, firstRow};
  }
  if (leftRight) {
    if (c > firstCol) return {c - 1, r};
    return {lastCol, r > firstRow ? r - 1 : lastRow};
  }
  if (r > firstRow) return {c, r - 1};
  return {c > firstCol ? c - 1 : lastCol, lastRow};
}

void VUraRazuduVova::AdvanceEdit(int ACol, int ARow, bool Forward, bool ShowEditor, bool Force) {
  if (!navigation_.AdvanceOnEnter && !Force) return;
  const TGuard alive(*this);
  // Positions are display columns; every step lands on the base of the block it reaches.
  auto baseOf = [this](int c, int r) {
    const TPoint base = BaseCell(RealColIndex(c), r);
    return TPoint{DisplColIndex(base.X), base.Y};
  };
  const TPoint start = baseOf(ACol, ARow);
  PendingEditChar = 0;
  std::set<std::pair<int, int>> tried{{start.X, start.Y}};
  bool grown = false;
  TPoint cell = start;
  for (;;) {
    cell = AdvanceStep(cell.X, cell.Y, Forward, grown);
    if (alive.Gone() || cell.X < 0) return;
    cell = baseOf(cell.X, cell.Y);
    // Back at the start, or at a cell tried before: no other cell is editable.
    if (!tried.insert({cell.X, cell.Y}).second) return;
    if (IsEditable(RealColIndex(cell.X), cell.Y)) break;
  }
  {
    ScopedFlag advancing(*this, advancing_);
    FocusCell(cell.X, cell.Y, true);
    if (alive.Gone()) return;
  }
  if (OnCellChanging) {
    bool allow = true;
    OnCellChanging(this, start.Y, RealColIndex(start.X), Row(), RealColIndex(Col()), allow);
    if (alive.Gone()) return;
  }
  // A check box or radio cell reached is in editing mode at once, though no editor shows over it.
  if (ShowEditor || CurrentHasStaticEdit()) this->ShowEditor();
}

bool VUraRazuduVova::CurrentHasStaticEdit() const {
  if (Col() < 0 || Row() < 0) return false;
  const TPoint base = BaseCell(RealColIndex(Col()), Row());
  return HasStaticEdit(base.X, base.Y);
}

void VUraRazuduVova::KeyPress(char32_t& Key) {
  const TGuard alive(*this);
  if (Key == 0x1B) {
    // Only an edit that is open has a text to restore.
    if (Options().Contains(TGridOption::goEditing) && EditActive() && editCell_.X >= 0)
      SetCells(editCell_.X, editCell_.Y, editOriginalText_);
  } else if (Key == '\r' && (!Focused() || CurrentHasStaticEdit())) {
    // An editor (or a check box or radio cell) has the key: Enter moves on, and the editor of the cell
    // reached stays closed; on a check box or radio cell Enter never opens one.
    const TPoint before{Col(), Row()};
    AdvanceEdit(Col(), Row(), true, false, false);
    if (alive.Gone()) return;
    if (before.X != Col() || before.Y != Row() || CurrentHasStaticEdit()) {
      Key = 0;
      return;
    }
  }
  if (!Options().Contains(TGridOption::goEditing) && navigation_.AutoGotoWhenSorted) {
    IncrementalSearch(Key);
    if (alive.Gone()) return;
  }
  TBaseGrid::KeyPress(Key);
}

void VUraRazuduVova::KeyUp(WORD& Key, TShiftState Shift) {
  const WORD key = Key;
  if (IsArrowKey(key) || key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_INSERT || key == VK_DELETE)
    incrementalText_.clear();
  const TGuard alive(*this);
  TBaseGrid::KeyUp(Key, Shift);
  if (alive.Gone() || !navigation_.AlwaysEdit) return;
  if (IsArrowKey(key) || (key == VK_TAB && Options().Contains(TGridOption::goTabs))) ShowInplaceEdit();
}

}  // namespace velmora
