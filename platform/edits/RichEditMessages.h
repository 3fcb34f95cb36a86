#pragma once

#include <string>

#include "platform/gfx/Canvas.h"
#include "platform/edits/EditMessages.h"

namespace platform {

// The messages of the rich edit (TCustomRichEdit), besides the edit's EM_... messages that it shares.
// Character positions count characters (code points) from 0; a paragraph break counts as two.
inline constexpr UINT EM_EXGETSEL = WM_USER + 52;       // lParam: CHARRANGE*
inline constexpr UINT EM_EXSETSEL = WM_USER + 55;       // lParam: const CHARRANGE*; cpMin 0, cpMax -1 selects all
inline constexpr UINT EM_FORMATRANGE = WM_USER + 57;    // wParam: draw (else measure); lParam: FORMATRANGE*
inline constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;  // wParam: SCF_SELECTION or SCF_DEFAULT; lParam CHARFORMAT*
inline constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
inline constexpr UINT EM_GETPARAFORMAT = WM_USER + 61;  // lParam: PARAFORMAT*
inline constexpr UINT EM_REQUESTRESIZE = WM_USER + 65;
inline constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;  // wParam: SCF_...; lParam const CHARFORMAT*
inline constexpr UINT EM_SETEVENTMASK = WM_USER + 69;   // lParam: ENM_...; Result the previous mask
inline constexpr UINT EM_SETPARAFORMAT = WM_USER + 71;  // lParam: const PARAFORMAT*, for the selection's paragraphs

// EM_SETCHARFORMAT and EM_GETCHARFORMAT targets.
inline constexpr WPARAM SCF_DEFAULT = 0x0000;
inline constexpr WPARAM SCF_SELECTION = 0x0001;
inline constexpr WPARAM SCF_ALL = 0x0004;

// CHARFORMAT masks (which members count) and effects.
inline constexpr DWORD CFM_BOLD = 0x00000001;
inline constexpr DWORD CFM_ITALIC = 0x00000002;
inline constexpr DWORD CFM_UNDERLINE = 0x00000004;
inline constexpr DWORD CFM_STRIKEOUT = 0x00000008;
inline constexpr DWORD CFM_OFFSET = 0x10000000;
inline constexpr DWORD CFM_FACE = 0x20000000;
inline constexpr DWORD CFM_COLOR = 0x40000000;
inline constexpr DWORD CFM_SIZE = 0x80000000;
inline constexpr DWORD CFE_BOLD = 0x0001;
inline constexpr DWORD CFE_ITALIC = 0x0002;
inline constexpr DWORD CFE_UNDERLINE = 0x0004;
inline constexpr DWORD CFE_STRIKEOUT = 0x0008;
inline constexpr DWORD CFE_AUTOCOLOR = 0x40000000;  // the text colour of the system, crTextColor unused

// A character format: the members that dwMask names. yHeight and yOffset in twips (positive offset:
// superscript).
struct CHARFORMAT {
  DWORD dwMask = 0;
  DWORD dwEffects = 0;
  int yHeight = 0;
  int yOffset = 0;
  TColor crTextColor = 0;
  std::string szFaceName;
};

inline constexpr DWORD PFM_ALIGNMENT = 0x00000008;
inline constexpr WORD PFA_LEFT = 1;
inline constexpr WORD PFA_RIGHT = 2;
inline constexpr WORD PFA_CENTER = 3;
inline constexpr WORD PFA_JUSTIFY = 4;  // shown as left

struct PARAFORMAT {
  DWORD dwMask = 0;
  WORD wAlignment = PFA_LEFT;
};

// A range of characters [cpMin, cpMax); cpMax -1 is the end of the text.
struct CHARRANGE {
  int cpMin = 0;
  int cpMax = 0;
};

// EM_FORMATRANGE: the characters of chrg laid out in rc (twips on hdc's resolution) and, when drawn,
// painted there. The result is the first character that did not fit; rc.Bottom becomes the bottom of
// the last line that did. A null lParam only frees what the formatter keeps (nothing here).
struct FORMATRANGE {
  HDC hdc = nullptr;
  HDC hdcTarget = nullptr;
  TRect rc;
  TRect rcPage;
  CHARRANGE chrg;
};

// Notifications (CN_NOTIFY to the control itself, lParam a NMHDR* at the head of the structure) and the
// event mask that switches them on.
inline constexpr UINT EN_REQUESTRESIZE = 0x0701;
inline constexpr UINT EN_SELCHANGE = 0x0702;
inline constexpr DWORD ENM_CHANGE = 0x00000001;
inline constexpr DWORD ENM_REQUESTRESIZE = 0x00040000;
inline constexpr DWORD ENM_SELCHANGE = 0x00080000;

// The head of every notification; lParam points to it.
struct NMHDR {
  HWND hwndFrom{};
  UINT_PTR idFrom = 0;
  UINT code = 0;
};

// EN_REQUESTRESIZE: the size that the control's content asks for, in client coordinates.
struct REQRESIZE {
  NMHDR nmhdr;
  TRect rc;
};

}  // namespace platform
