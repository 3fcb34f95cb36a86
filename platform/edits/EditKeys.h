#pragma once

#include "platform/ui/Controls.h"

namespace platform {

// The shortcuts that the edit and the rich edit take alike, performed as the messages that both
// answer: the characters of Ctrl+A (EM_SETSEL of all), Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z (WM_COPY,
// WM_PASTE, WM_CUT, WM_UNDO), and the keys Ctrl+Insert (copy), Shift+Insert (paste) and Shift+Delete
// (cut). True when the character or key was one of them.
bool PerformEditShortcutChar(TControl& control, char32_t c);
bool PerformEditShortcutKey(TControl& control, WORD key, TShiftState shift);

}  // namespace platform
