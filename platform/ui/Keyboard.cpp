#include "platform/ui/Keyboard.h"

#include <bitset>

#include "platform/ui/Backend.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

// Input arrives on the application's thread only.
struct InputState {
  unsigned shift = 0;
  std::bitset<256> down;
};

InputState& State() {
  static InputState state;
  return state;
}

bool ModifierDown(int virtualKey) {
  unsigned shift = State().shift;
  switch (virtualKey) {
    case VK_SHIFT: return shift & bsShift;
    case VK_CONTROL: return shift & bsCtrl;
    case VK_MENU: return shift & bsAlt;
    case VK_LBUTTON: return shift & bsLeft;
    case VK_RBUTTON: return shift & bsRight;
    case VK_MBUTTON: return shift & bsMiddle;
    default: return false;
  }
}

}  // namespace

short GetKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  bool down = ModifierDown(virtualKey) || State().down.test(static_cast<size_t>(virtualKey));
  bool toggled = (virtualKey == VK_CAPITAL || virtualKey == VK_NUMLOCK || virtualKey == VK_SCROLL) &&
                 Backend().KeyToggled(virtualKey);
  return static_cast<short>((down ? 0x8000 : 0) | (toggled ? 1 : 0));
}

TShiftState KeyboardStateToShiftState() {
  unsigned shift = State().shift;
  TShiftState result;
  if (shift & bsShift) result.Include(TShiftStateFlag::ssShift);
  if (shift & bsAlt) result.Include(TShiftStateFlag::ssAlt);
  if (shift & bsCtrl) result.Include(TShiftStateFlag::ssCtrl);
  if (shift & bsLeft) result.Include(TShiftStateFlag::ssLeft);
  if (shift & bsRight) result.Include(TShiftStateFlag::ssRight);
  if (shift & bsMiddle) result.Include(TShiftStateFlag::ssMiddle);
  return result;
}

TShiftState MouseKeysToShiftState(WPARAM keys) {
  TShiftState result;
  if (keys & MK_SHIFT) result.Include(TShiftStateFlag::ssShift);
  if (keys & MK_CONTROL) result.Include(TShiftStateFlag::ssCtrl);
  if (keys & MK_LBUTTON) result.Include(TShiftStateFlag::ssLeft);
  if (keys & MK_RBUTTON) result.Include(TShiftStateFlag::ssRight);
  if (keys & MK_MBUTTON) result.Include(TShiftStateFlag::ssMiddle);
  if (State().shift & bsAlt) result.Include(TShiftStateFlag::ssAlt);
  return result;
}

void RecordInputShift(unsigned backendShift) { State().shift = backendShift; }

void RecordKey(int virtualKey, bool down) {
  if (virtualKey >= 0 && virtualKey <= 255) State().down.set(static_cast<size_t>(virtualKey), down);
}

}  // namespace platform
