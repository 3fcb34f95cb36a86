// The keys that act on the grid rather than on a cell editor, the wheel and zoom, the grid's timer
// (hovering, blinking) and the focus.

#include <algorithm>
#include <cmath>
#include <vector>

#include "grid/DovAdiz.h"
#include "platform/core/Ascii.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/ui/Forms.h"
#include "platform/ui/VirtualKeys.h"

using namespace platform;

namespace velmora {

namespace {

constexpr int kWheelDelta = 120;  // one notch
constexpr int kWheelLines = 3;    // rows one notch moves
constexpr LPARAM kAltKeyData = LPARAM{1} << 29;  // the context bit of a key message's key data

bool NoModifiers(TShiftState Shift) {
  return !Shift.Contains(TShiftStateFlag::ssShift) && !Shift.Contains(TShiftStateFlag::ssCtrl) &&
         !Shift.Contains(TShiftStateFlag::ssAlt);
}

bool ContainsBlinkTag(const std::string& text) { return UpperCase(text).find("<BLI") != std::string::npos; }

}  // namespace

int VUraRazuduVova::LastNormalRow() const {
  // A floating footer that shows the last row is no data row either.
  const int last = RowCount() - 1 - FixedFooters();
  return LastRowFooter && last == RowCount() - 1 ? last - 1 : last;
}

bool VUraRazuduVova::ClipboardKey(WORD Key, TShiftState Shift) {
  if (!navigation_.AllowClipboardShortCuts) return false;
  const bool ctrl = Shift.Contains(TShiftStateFlag::ssCtrl), shift = Shift.Contains(TShiftStateFlag::ssShift);
  TClipboardEvent* event = nullptr;
  TClipboardKey operation{};
  if ((ctrl && Key == 'X') || (shift && Key == VK_DELETE)) {
    event = &OnClipboardCut;
    operation = TClipboardKey::Cut;
  } else if ((ctrl && Key == 'V') || (shift && Key == VK_INSERT)) {
    event = &OnClipboardPaste;
    operation = TClipboardKey::Paste;
  } else if ((ctrl && Key == 'C') || (ctrl && Key == VK_INSERT)) {
    event = &OnClipboardCopy;
    operation = TClipboardKey::Copy;
  } else {
    return false;
  }
  const TGuard alive(*this);
  bool allow = true;
  if (*event) (*event)(this, allow);
  if (alive.Alive() && allow) ClipboardShortcut(operation);
  return true;
}

bool VUraRazuduVova::RowKey(WORD Key, TShiftState Shift) {
  const TGuard alive(*this);
  const int firstRow = FixedRows(), lastRow = LastNormalRow();
  if ((Key == VK_HOME || Key == VK_END) && navigation_.HomeEndKey == THomeEndAction::heFirstLastRow) {
    if (lastRow < firstRow) return true;
    FocusCell(Col(), Key == VK_HOME ? firstRow : lastRow, true);
    if (alive.Alive()) SelectBaseCell();
    return true;
  }
  if (Key == VK_INSERT && NoModifiers(Shift) && navigation_.AllowInsertRow) {
    bool canInsert = true;
    if (OnCanInsertRow) OnCanInsertRow(this, Row(), canInsert);
    if (alive.Gone() || !canInsert) return true;
    const int at = navigation_.InsertPosition == TInsertPosition::pInsertAfter ? Row() + 1 : Row();
    InsertRows(at, 1);
    // The new row becomes current (InsertRows keeps the current cell on the row it was on).
    if (alive.Alive()) SetRow(at);
    if (alive.Alive() && OnAutoInsertRow) OnAutoInsertRow(this, at);
    return true;
  }
  if (Key == VK_DELETE && NoModifiers(Shift) && navigation_.AllowDeleteRow) {
    const int row = Row();
    if (lastRow < firstRow || row < firstRow || row > lastRow) return true;
    bool canDelete = true;
    if (OnCanDeleteRow) OnCanDeleteRow(this, row, canDelete);
    if (alive.Gone() || !canDelete) return true;
    // The last data row stays, emptied, so the fixed rows keep a row under them.
    if (lastRow == firstRow)
      ClearRows(row, 1);
    else
      RemoveRows(row, 1);
    if (alive.Alive() && OnAutoDeleteRow) OnAutoDeleteRow(this, row);
    return true;
  }
  const int lastCol = ColCount() - 1 - FixedRightCols();
  if (Key == VK_TAB && !Shift.Contains(TShiftStateFlag::ssShift) && Options().Contains(TGridOption::goTabs) &&
      FixedRightCols() > 0 && Col() == lastCol && lastRow >= firstRow) {
    FocusCell(FixedCols(), Row() >= lastRow ? firstRow : Row() + 1, true);
    return true;
  }
  return false;
}

void VUraRazuduVova::KeyDown(WORD& Key, TShiftState Shift) {
  const TGuard alive(*this);
  // An editor that a key opens keeps its own caret.
  caretToMouse_ = false;
  StaticEditKey(Key);
  if (alive.Gone()) return;
  if (ClipboardKey(Key, Shift) || RowKey(Key, Shift)) {
    Key = 0;
    return;
  }
  if (alive.Gone()) return;
  const TGridRect before = Selection();
  const WORD key = Key;
  TBaseGrid::KeyDown(Key, Shift);
  if (alive.Gone()) return;
  if (selectionRectangle_ && !(Selection() == before)) Invalidate();
  if (!mouseActions_.DisjunctRowSelect) return;
  if (key == VK_UP || key == VK_DOWN) {
    const bool shift = Shift.Contains(TShiftStateFlag::ssShift);
    if (!shift && !Shift.Contains(TShiftStateFlag::ssCtrl)) ClearRowSelect();
    if (shift)
      SelectToRowSelect(false);
    else
      SetRowSelect(Row(), true);
    Invalidate();
  } else if (key == VK_SPACE) {
    SetRowSelect(Row(), !RowSelect(Row()));
    RepaintRow(Row());
  }
}

bool VUraRazuduVova::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (panning_) return true;
  if (WheelDelta == 0) return false;
  if (Shift.Contains(TShiftStateFlag::ssCtrl) && IntelliZoom) {
    Zoom(WheelDelta > 0 ? 1 : -1);
    return true;
  }
  if (!EnableWheel) return false;
  const int firstRow = FixedRows(), lastRow = LastNormalRow();
  if (lastRow < firstRow) return true;
  const int notches = WheelDelta / kWheelDelta != 0 ? WheelDelta / kWheelDelta : (WheelDelta > 0 ? 1 : -1);
  const int row = std::clamp(Row() - notches * kWheelLines, firstRow, lastRow);
  const int col = std::clamp(Col(), FixedCols(), std::max(FixedCols(), ColCount() - 1));
  FocusCell(col, row, true);
  SelectBaseCell();
  return true;
}

void VUraRazuduVova::GridTimerTick() {
  if (Hovering && !ComponentState().Contains(csDesigning)) {
    // Hovering follows the mouse only inside the active form, so it never takes the focus from a dialog.
    const TCustomForm* form = GetParentForm(this);
    const TPoint at = ScreenToClient(Screen().CursorPos());
    int c = -1, r = -1;
    MouseToCell(at.X, at.Y, c, r);
    const bool normal = c >= FixedCols() && c < ColCount() - FixedRightCols() && r >= FixedRows() && r <= LastNormalRow();
    if (form && form == Screen().ActiveForm() && PtInRect(ClientRect(), at) && normal) {
      const TGuard alive(*this);
      if (CanFocus() && !Focused()) SetFocus();
      if (alive.Gone()) return;
      if (c != Col() || r != Row()) FocusCell(c, r, true);
    }
  }
  blinkPhase_ = !blinkPhase_;
  // Only the cells shown are looked at, so a tick costs the same for any row count.
  const int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
  const int lastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
  auto repaintBlinking = [&](int c, int r) {
    if (ContainsBlinkTag(Cells(RealColIndex(c), r))) RepaintCell(RealColIndex(c), r);
  };
  auto repaintRow = [&](int r) {
    for (int c = 0; c < std::min(FixedCols(), ColCount()); ++c) repaintBlinking(c, r);
    for (int c = std::max(LeftCol(), FixedCols()); c <= lastCol; ++c) repaintBlinking(c, r);
  };
  for (int r = 0; r < std::min(FixedRows(), RowCount()); ++r) repaintRow(r);
  for (int r = std::max(TopRow(), FixedRows()); r <= lastRow; ++r) repaintRow(r);
}

void VUraRazuduVova::SetFocusMessage(TMessage& Message) {
  TBaseGrid::WndProc(Message);
  if (!navigation_.AlwaysEdit || handingBack_ || EditActive()) return;
  // The focus came from elsewhere than the grid's own editor: the editor opens again.
  ShowInplaceEdit();
}

bool VUraRazuduVova::CharMessage(TMessage& Message) {
  // The numeric keypad's decimal key types the locale's separator, whatever the keyboard layout gives.
  if (ExcelStyleDecimalSeparator && ((Message.LParam >> 16) & 0xFF) == kKeypadDecimalScanCode)
    Message.WParam = static_cast<unsigned char>(FormatSettings().DecimalSeparator);
  // A check box or radio cell is edited by clicks and Space only: typing opens no editor there.
  const auto c = static_cast<char32_t>(Message.WParam);
  if ((c >= 0x20 || c == '\b') && Col() >= 0 && Row() >= 0 && HasStaticEdit(RealColIndex(Col()), Row())) return true;
  return false;
}

void VUraRazuduVova::SynchColumnWidths() {
  const int width = ClientWidth();
  std::vector<int> current(static_cast<size_t>(ColCount()));
  for (int c = 0; c < ColCount(); ++c) current[static_cast<size_t>(c)] = ColWidths(c);
  // Widths that someone else changed since the last scaling (or a first size) become the reference.
  if (synchReferenceWidth_ <= 0 || current != synchApplied_) {
    synchReference_ = current;
    synchReferenceWidth_ = previousClientWidth_;
  }
  if (synchReferenceWidth_ > 0 && width > 0) {
    UpdateGuard lock(*this);
    for (int c = 0; c < ColCount(); ++c) {
      const double scaled = static_cast<double>(synchReference_[static_cast<size_t>(c)]) * width / synchReferenceWidth_;
      current[static_cast<size_t>(c)] = std::max(1, static_cast<int>(std::lround(scaled)));
      SetColWidths(c, current[static_cast<size_t>(c)]);
    }
  }
  synchApplied_ = std::move(current);
}

bool VUraRazuduVova::InputMessage(TMessage& Message) {
  if (PanMessage(Message)) return true;
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam != kGridTimerId) return false;
      GridTimerTick();
      return true;
    case WM_SETFOCUS: SetFocusMessage(Message); return true;
    case WM_CHAR: return CharMessage(Message);
    case CM_CURSORCHANGED:
      // The base shows the new cursor; one that the grid did not choose ends a select mode.
      if (!settingOwnCursor_) selectMode_ = TSelectMode::smNone;
      return false;
    case CM_DIALOGCHAR:
      // Without Alt a character typed into the grid is no accelerator of a control inside it.
      return (Message.LParam & kAltKeyData) == 0;
    case CM_HINTSHOW: {
      THintInfo& info = *reinterpret_cast<THintInfo*>(Message.LParam);
      bool canShow = true;
      ShowHintProc(info.HintStr, canShow, info);
      Message.Result = canShow ? 0 : 1;
      return true;
    }
    default: return false;
  }
}

}  // namespace velmora
