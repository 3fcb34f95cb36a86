#pragma once

#include <cstdint>

#include "platform/ui/ScrollInfo.h"

namespace platform {

// The scroll bars of a window of this process, by handle: SB_HORZ and SB_VERT are the window's own bars,
// which take their room from its client area along its bottom and right side; SB_CTL is the bar of a
// scroll bar control. A window's bar shows when it is created with WS_HSCROLL (WS_VSCROLL), when
// ShowScrollBar shows it, or when a new range or page leaves something to scroll; it hides when
// ShowScrollBar hides it or when a new range or page leaves nothing to scroll (unless the mask holds
// SIF_DISABLENOSCROLL, which disables it instead). A change of the client area's size sends WM_SIZE.
//
// The bars report what the user does to the window (SB_CTL: to the control's parent, with the control's
// handle in lParam) as WM_HSCROLL or WM_VSCROLL; the window moves the position itself. A press on an
// arrow or on the track beside the thumb sends a line or page code at once and again while the button is
// held (first after 200 ms, then every 50 ms); dragging the thumb sends SB_THUMBTRACK for every new
// position and SB_THUMBPOSITION when released; every press ends with SB_ENDSCROLL.
//
// The functions return 0 (false) for a window that is not a control of this process.

// Sets the fields that the mask names (see TScrollBarInfo::Set); returns the new position.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw);
bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO& info);
// Returns the position before.
int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw);
int GetScrollPos(HWND hwnd, int bar);
bool SetScrollRange(HWND hwnd, int bar, int min, int max, bool redraw);
bool GetScrollRange(HWND hwnd, int bar, int& min, int& max);
// Where a report's scroll code asks a bar at `pos` to go: a line or a page back or on, the thumb's
// tracked position (read from the bar), min or max for the ends; `pos` for other codes. Not clamped.
int64_t ScrollCodeTarget(HWND hwnd, int bar, WORD code, int pos, int line, int page, int min, int max);
// Puts a window's bar at the range 0..max with a page and a position, disabled rather than hidden when
// that leaves nothing to scroll; a bar that says so already is left alone (no repaint).
void SetScrollBarRange(HWND hwnd, int bar, int max, int page, int pos);
// SB_HORZ, SB_VERT or SB_BOTH.
bool ShowScrollBar(HWND hwnd, int bar, bool show);
// Disables the arrows that ESB_... names (ESB_ENABLE_BOTH enables both); false when nothing changed.
bool EnableScrollBar(HWND hwnd, int bar, UINT arrows);

// The flat look of a window's bars. After InitializeFlatSB the properties below apply to the window's
// bars; UninitializeFlatSB returns them to the classic look. The FlatSB_ calls act as the plain ones on
// a window without the flat look; FlatSB_SetScrollProp is false there.
inline constexpr UINT WSB_PROP_CYHSCROLL = 0x4;   // the horizontal bar's height
inline constexpr UINT WSB_PROP_CXVSCROLL = 0x8;   // the vertical bar's width
inline constexpr UINT WSB_PROP_VBKGCOLOR = 0x40;  // the vertical bar's track colour
inline constexpr UINT WSB_PROP_HBKGCOLOR = 0x80;
inline constexpr UINT WSB_PROP_VSTYLE = 0x100;    // FSB_..._MODE
inline constexpr UINT WSB_PROP_HSTYLE = 0x200;
inline constexpr int FSB_REGULAR_MODE = 0;
inline constexpr int FSB_ENCARTA_MODE = 1;
inline constexpr int FSB_FLAT_MODE = 2;

bool InitializeFlatSB(HWND hwnd);
bool UninitializeFlatSB(HWND hwnd);
// False for a property it does not know, or a window without the flat look.
bool FlatSB_SetScrollProp(HWND hwnd, UINT index, int value, bool redraw);
int FlatSB_SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw);
bool FlatSB_GetScrollInfo(HWND hwnd, int bar, SCROLLINFO& info);
bool FlatSB_ShowScrollBar(HWND hwnd, int bar, bool show);

// The system's sizes of the scroll bars.
inline constexpr int SM_CXVSCROLL = 2;  // the vertical bar's width
inline constexpr int SM_CYHSCROLL = 3;  // the horizontal bar's height
inline constexpr int SM_CYVSCROLL = 20;  // the vertical bar's arrow height
inline constexpr int SM_CXHSCROLL = 21;  // the horizontal bar's arrow width
int GetSystemMetrics(int index);

}  // namespace platform
