#include "platform/backends/X11Keyboard.h"

#include <utility>

#include "platform/ui/Backend.h"
#include "platform/ui/VirtualKeys.h"

// X headers last: their macros (None, Bool, Status) would break the declarations above.
#include <X11/X.h>
#include <X11/keysym.h>

namespace platform {

namespace {

// Keysyms without a numeric relation to their virtual key.
constexpr std::pair<unsigned long, int> kKeys[] = {
    {XK_BackSpace, VK_BACK}, {XK_Tab, VK_TAB}, {XK_ISO_Left_Tab, VK_TAB}, {XK_Clear, VK_CLEAR},
    {XK_Return, VK_RETURN}, {XK_KP_Enter, VK_RETURN}, {XK_Pause, VK_PAUSE}, {XK_Caps_Lock, VK_CAPITAL},
    {XK_Escape, VK_ESCAPE}, {XK_space, VK_SPACE}, {XK_KP_Space, VK_SPACE},
    {XK_Prior, VK_PRIOR}, {XK_Next, VK_NEXT}, {XK_End, VK_END}, {XK_Home, VK_HOME},
    {XK_Left, VK_LEFT}, {XK_Up, VK_UP}, {XK_Right, VK_RIGHT}, {XK_Down, VK_DOWN},
    {XK_KP_Prior, VK_PRIOR}, {XK_KP_Next, VK_NEXT}, {XK_KP_End, VK_END}, {XK_KP_Home, VK_HOME},
    {XK_KP_Left, VK_LEFT}, {XK_KP_Up, VK_UP}, {XK_KP_Right, VK_RIGHT}, {XK_KP_Down, VK_DOWN},
    {XK_KP_Begin, VK_CLEAR}, {XK_KP_Insert, VK_INSERT}, {XK_KP_Delete, VK_DELETE},
    {XK_Select, VK_SELECT}, {XK_Print, VK_SNAPSHOT}, {XK_Insert, VK_INSERT}, {XK_Delete, VK_DELETE},
    {XK_Help, VK_HELP}, {XK_Super_L, VK_LWIN}, {XK_Super_R, VK_RWIN}, {XK_Menu, VK_APPS},
    {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Add, VK_ADD}, {XK_KP_Separator, VK_SEPARATOR},
    {XK_KP_Subtract, VK_SUBTRACT}, {XK_KP_Decimal, VK_DECIMAL}, {XK_KP_Divide, VK_DIVIDE},
    {XK_Num_Lock, VK_NUMLOCK}, {XK_Scroll_Lock, VK_SCROLL},
    {XK_Shift_L, VK_SHIFT}, {XK_Shift_R, VK_SHIFT}, {XK_Control_L, VK_CONTROL}, {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU}, {XK_Alt_R, VK_MENU}, {XK_Meta_L, VK_MENU},
    // Punctuation as a US keyboard places it.
    {XK_semicolon, VK_OEM_1}, {XK_equal, VK_OEM_PLUS}, {XK_comma, VK_OEM_COMMA}, {XK_minus, VK_OEM_MINUS},
    {XK_period, VK_OEM_PERIOD}, {XK_slash, VK_OEM_2}, {XK_grave, VK_OEM_3}, {XK_bracketleft, VK_OEM_4},
    {XK_backslash, VK_OEM_5}, {XK_bracketright, VK_OEM_6}, {XK_apostrophe, VK_OEM_7},
    // The keys of a German keyboard that differ.
    {XK_udiaeresis, VK_OEM_1}, {XK_plus, VK_OEM_PLUS}, {XK_numbersign, VK_OEM_2}, {XK_odiaeresis, VK_OEM_3},
    {XK_ssharp, VK_OEM_4}, {XK_dead_circumflex, VK_OEM_5}, {XK_asciicircum, VK_OEM_5},
    {XK_dead_acute, VK_OEM_6}, {XK_adiaeresis, VK_OEM_7}, {XK_less, VK_OEM_102},
};

}  // namespace

int VirtualKeyFromKeySym(unsigned long keySym) {
  if (keySym >= XK_a && keySym <= XK_z) return static_cast<int>('A' + (keySym - XK_a));
  if (keySym >= XK_A && keySym <= XK_Z) return static_cast<int>(keySym);
  if (keySym >= XK_0 && keySym <= XK_9) return static_cast<int>(keySym);
  if (keySym >= XK_KP_0 && keySym <= XK_KP_9) return VK_NUMPAD0 + static_cast<int>(keySym - XK_KP_0);
  if (keySym >= XK_F1 && keySym <= XK_F24) return VK_F1 + static_cast<int>(keySym - XK_F1);
  for (const auto& [sym, vk] : kKeys)
    if (sym == keySym) return vk;
  return 0;
}

unsigned ShiftFromState(unsigned state) {
  unsigned shift = 0;
  if (state & ShiftMask) shift |= bsShift;
  if (state & ControlMask) shift |= bsCtrl;
  if (state & Mod1Mask) shift |= bsAlt;
  if (state & Button1Mask) shift |= bsLeft;
  if (state & Button2Mask) shift |= bsMiddle;
  if (state & Button3Mask) shift |= bsRight;
  return shift;
}

}  // namespace platform
