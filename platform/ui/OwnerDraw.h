#pragma once

#include <cstdint>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Geometry.h"
#include "platform/app/Messages.h"

namespace platform {

// What a control that draws part of itself through its owner hands over with WM_DRAWITEM, reflected
// to the control as CN_DRAWITEM (lParam: the DRAWITEMSTRUCT*). The handler draws on hDC within rcItem
// and answers a non-zero Result; the control saves the device context's state around the call.
struct DRAWITEMSTRUCT {
  UINT CtlType = 0;     // ODT_...
  UINT CtlID = 0;
  UINT itemID = 0;      // the item (a status bar's part)
  UINT itemAction = 0;  // ODA_...
  UINT itemState = 0;   // ODS_...
  HWND hwndItem{};
  HDC hDC = nullptr;
  TRect rcItem;
  uintptr_t itemData = 0;  // what the owner attached to the item
};

inline constexpr UINT ODT_MENU = 1;
inline constexpr UINT ODT_LISTBOX = 2;
inline constexpr UINT ODT_COMBOBOX = 3;
inline constexpr UINT ODT_BUTTON = 4;
inline constexpr UINT ODT_STATIC = 5;

inline constexpr UINT ODA_DRAWENTIRE = 0x1;
inline constexpr UINT ODA_SELECT = 0x2;
inline constexpr UINT ODA_FOCUS = 0x4;

inline constexpr UINT ODS_SELECTED = 0x1;
inline constexpr UINT ODS_DISABLED = 0x4;
inline constexpr UINT ODS_FOCUS = 0x10;

}  // namespace platform
