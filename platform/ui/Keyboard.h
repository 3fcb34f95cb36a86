#pragma once

#include "platform/core/Set.h"
#include "platform/app/Messages.h"

namespace platform {

enum class TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

// The state of a key as the last input event left it: bit 15 (negative result) while it is down, bit 0
// while a lock key (Caps Lock, Num Lock, Scroll Lock) is on. VK_SHIFT, VK_CONTROL and VK_MENU follow
// the modifiers of the last event; the locks come from the backend, where tests set them.
short GetKeyState(int virtualKey);

// The modifiers of the last input event, or of a mouse message's key state (MK_...).
TShiftState KeyboardStateToShiftState();
TShiftState MouseKeysToShiftState(WPARAM keys);

// Called by the framework for each input event it receives: the modifier and button flags
// (TBackendShift bits) and a key going down or up.
void RecordInputShift(unsigned backendShift);
void RecordKey(int virtualKey, bool down);

}  // namespace platform
