#include "platform/edits/EditKeys.h"

#include "platform/edits/EditMessages.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

bool PerformEditShortcutChar(TControl& control, char32_t c) {
  switch (c) {
    case 0x01: control.Perform(EM_SETSEL, 0, -1); return true;  // Ctrl+A
    case 0x03: control.Perform(WM_COPY); return true;           // Ctrl+C
    case 0x16: control.Perform(WM_PASTE); return true;          // Ctrl+V
    case 0x18: control.Perform(WM_CUT); return true;            // Ctrl+X
    case 0x1A: control.Perform(WM_UNDO); return true;           // Ctrl+Z
    default: return false;
  }
}

bool PerformEditShortcutKey(TControl& control, WORD key, TShiftState shift) {
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

}  // namespace platform
