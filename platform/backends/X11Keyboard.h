#pragma once

namespace platform {

// The virtual key code (VK_...) of an X keysym, 0 for keys that have none. The caller passes the
// keysym of the key's first level (so that Shift+1 is still '1'), except on the keypad, where the keysym
// that Num Lock selects decides between digits and navigation keys. Keys of a German layout get the
// codes that a German keyboard gives them (ä VK_OEM_7, ö VK_OEM_3, ü VK_OEM_1, ß VK_OEM_4). AltGr
// (ISO_Level3_Shift) has none: it only picks the other keys' characters (AltGr+Q is "@" on a German
// keyboard), so it is no Alt for menus and shortcuts.
int VirtualKeyFromKeySym(unsigned long keySym);

// The backend's modifier and button flags (bsShift, bsCtrl, ...) of an X event's state field.
unsigned ShiftFromState(unsigned state);

}  // namespace platform
