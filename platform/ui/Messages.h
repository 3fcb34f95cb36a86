#pragma once

#include <cstdint>

namespace platform {

using UINT = uint32_t;
using DWORD = uint32_t;
using UINT_PTR = uint64_t;
using WPARAM = uint64_t;
using LPARAM = int64_t;
using LRESULT = int64_t;

// A window handle: the id of the owning process in the high 32 bits and the window's number in that
// process in the low 32 bits, so one window has the same handle in every process of the window station.
// HWND{} means no window.
enum class HWND : uint64_t {};

// Posting to HWND_BROADCAST posts to every top-level window of the window station.
inline constexpr HWND HWND_BROADCAST = HWND{0xFFFF};

// A message as it is taken from a thread's queue.
struct MSG {
  HWND hwnd{};
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;  // GetTickCount when it was posted
};

// A message as a window procedure handles it; the procedure sets Result for SendMessage.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_TIMER = 0x0113;  // wParam: the timer's id
inline constexpr UINT WM_USER = 0x0400;

// Numbers that RegisterWindowMessage hands out.
inline constexpr UINT kFirstRegisteredMessage = 0xC000;
inline constexpr UINT kLastRegisteredMessage = 0xFFFF;

}  // namespace platform
