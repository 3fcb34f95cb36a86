#include "platform/edits/EditKeys.h"

#include <algorithm>

#include "platform/core/Utf8.h"
#include "platform/edits/EditMessages.h"
#include "platform/edits/EditText.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

bool PerformShortcutChar(TControl& control, char32_t c) {
  switch (c) {
    case 0x01: control.Perform(EM_SETSEL, 0, -1); return true;  // Ctrl+A
    case 0x03: control.Perform(WM_COPY); return true;           // Ctrl+C
    case 0x16: control.Perform(WM_PASTE); return true;          // Ctrl+V
    case 0x18: control.Perform(WM_CUT); return true;            // Ctrl+X
    case 0x1A: control.Perform(WM_UNDO); return true;           // Ctrl+Z
    default: return false;
  }
}

bool PerformShortcutKey(TControl& control, WORD key, TShiftState shift) {
  const bool shifted = shift.Contains(TShiftStateFlag::ssShift);
  if (key == VK_DELETE && shifted) {
    control.Perform(WM_CUT);
    return true;
  }
  if (key != VK_INSERT) return false;
  if (shift.Contains(TShiftStateFlag::ssCtrl)) control.Perform(WM_COPY);
  else if (shifted) control.Perform(WM_PASTE);
  return true;
}

bool PerformKey(TEditKeyModel& edit, WORD key, TShiftState shift) {
  if (PerformShortcutKey(edit.Control(), key, shift)) return true;
  const bool extend = shift.Contains(TShiftStateFlag::ssShift);
  const bool ctrl = shift.Contains(TShiftStateFlag::ssCtrl);
  const std::string& text = edit.Text();
  const int lineCount = edit.LineCount();
  const bool multiline = edit.Multiline();
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
      edit.SetCaret(CaretAfterHorizontalKey(text, edit.Anchor(), edit.Caret(), key == VK_RIGHT, ctrl, extend), extend);
      return true;
    case VK_HOME:
      edit.SetCaret(ctrl || !multiline ? 0 : edit.LineStart(edit.LineOf(edit.Caret())), extend);
      return true;
    case VK_END:
      edit.SetCaret(ctrl || !multiline ? text.size() : edit.LineEnd(edit.LineOf(edit.Caret())), extend);
      return true;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
      if (!multiline) return PerformKey(edit, key == VK_UP || key == VK_PRIOR ? VK_LEFT : VK_RIGHT, shift);
      const int line = edit.LineOf(edit.Caret());
      const int page = edit.PageLines(line);
      const int step = key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? -page : page;
      const int target = std::clamp(line + step, 0, lineCount - 1);
      const int x = edit.DesiredX() >= 0 ? edit.DesiredX() : edit.XOf(line, edit.Caret());
      if (key == VK_PRIOR || key == VK_NEXT) edit.ScrollLines(step);
      if (edit.SetCaret(edit.PosAtX(target, x), extend)) edit.SetDesiredX(x);
      return true;
    }
    case VK_DELETE:
      if (const size_t end = DeletionEnd(text, edit.Anchor(), edit.Caret(), TDeleteKey::Delete); end != edit.Caret())
        edit.DeleteTowards(end);
      return true;
    default:
      return false;
  }
}

bool PerformChar(TEditKeyModel& edit, char32_t c) {
  if (PerformShortcutChar(edit.Control(), c)) return true;
  if (c == 0x08) {  // Backspace
    if (const size_t end = DeletionEnd(edit.Text(), edit.Anchor(), edit.Caret(), TDeleteKey::Backspace); end != edit.Caret())
      edit.DeleteTowards(end);
    return true;
  }
  std::string typed;
  if (c == '\r' || c == '\n')
    typed = edit.LineBreakFor(c);
  else if (c == '\t' && edit.Multiline())
    typed = "\t";
  else if (c >= 0x20 && c != 0x7F && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF))
    AppendCodePoint(typed, c);
  if (typed.empty()) return false;
  edit.Type(typed);
  return true;
}

}  // namespace

bool PerformEditInput(TEditKeyModel& edit, const TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN: return PerformKey(edit, static_cast<WORD>(Message.WParam), KeyboardStateToShiftState());
    case WM_CHAR: return PerformChar(edit, static_cast<char32_t>(Message.WParam));
    default: return false;
  }
}

}  // namespace platform
