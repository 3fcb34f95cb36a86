#pragma once

#include "platform/app/Messages.h"

namespace platform {

// The messages of the edit controls (TCustomEdit and its descendants). Character positions count
// characters (code points) from 0; lines count from 0, wrapped lines included.
inline constexpr UINT EM_GETSEL = 0x00B0;     // wParam, lParam: DWORD* start and end (may be null)
inline constexpr UINT EM_SETSEL = 0x00B1;     // wParam anchor, lParam caret; anchor -1: nothing selected
inline constexpr UINT EM_GETRECT = 0x00B2;    // lParam: TRect*, the formatting rectangle
inline constexpr UINT EM_SETRECT = 0x00B3;    // lParam: const TRect* in client coordinates; repaints
inline constexpr UINT EM_SETRECTNP = 0x00B4;  // as EM_SETRECT, without repainting
inline constexpr UINT EM_LINESCROLL = 0x00B6;  // wParam characters to the right, lParam lines down
inline constexpr UINT EM_SCROLLCARET = 0x00B7;
inline constexpr UINT EM_GETMODIFY = 0x00B8;
inline constexpr UINT EM_SETMODIFY = 0x00B9;
inline constexpr UINT EM_GETLINECOUNT = 0x00BA;
inline constexpr UINT EM_REPLACESEL = 0x00C2;  // wParam: can undo, lParam: const char* (UTF-8)
inline constexpr UINT EM_LIMITTEXT = 0x00C5;   // wParam: characters, 0 for no limit
inline constexpr UINT EM_CANUNDO = 0x00C6;
inline constexpr UINT EM_UNDO = 0x00C7;
inline constexpr UINT EM_LINEFROMCHAR = 0x00C9;      // wParam: position, -1 for the caret's line
inline constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;   // wParam: the code point, 0 for none
inline constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
inline constexpr UINT EM_SETREADONLY = 0x00CF;       // wParam: read-only
inline constexpr UINT EM_POSFROMCHAR = 0x00D6;  // wParam position; Result the client point (PointToLParam), -1 past the end
inline constexpr UINT EM_CHARFROMPOS = 0x00D7;  // lParam client point; Result position low 16 bits, line high 16

// Edit styles, as CreateParams sets them.
inline constexpr DWORD ES_LEFT = 0x0000;
inline constexpr DWORD ES_RIGHT = 0x0002;       // lines that fit stand at the formatting rectangle's right edge
inline constexpr DWORD ES_MULTILINE = 0x0004;   // several lines; without ES_AUTOHSCROLL they wrap
inline constexpr DWORD ES_PASSWORD = 0x0020;
inline constexpr DWORD ES_AUTOVSCROLL = 0x0040;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_NOHIDESEL = 0x0100;
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr DWORD ES_WANTRETURN = 0x1000;

}  // namespace platform
