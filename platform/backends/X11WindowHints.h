#pragma once

#include <string>

#include "platform/backends/X11Connection.h"
#include "platform/ui/Backend.h"

namespace platform {

// What a window tells the window manager before it is mapped: its title, class, protocols (the close
// box as WM_DELETE_WINDOW, and _NET_WM_PING, which X11DesktopConventions answers), type, decorations
// and functions by border style, the fixed size of a border that does not size and the size limits of
// one that does, the owner it is transient for, the modal state and the initial window state.
void SetWindowHints(const X11Connection& connection, unsigned long window, const TBackendWindowParams& params,
                    const TSize& clientSize, TBackendWindowState initialState);

// The title as _NET_WM_NAME and WM_NAME, both UTF-8.
void SetWindowTitle(const X11Connection& connection, unsigned long window, const std::string& caption);

// The window state that the window manager gives the window when it is mapped (with the modal state).
void SetInitialState(const X11Connection& connection, unsigned long window, bool modal, TBackendWindowState state);

// The smallest and largest size the user may give a window (0 in a direction: no limit).
struct X11SizeLimits {
  TSize minSize;
  TSize maxSize;
};

// The size hints: static gravity, and the size limits: the fixed size of a window whose border does
// not size (set again after the framework resized it), else the form's constraints.
void SetSizeHints(const X11Connection& connection, unsigned long window, TBackendBorder border,
                  const TSize& clientSize, const X11SizeLimits& limits);

}  // namespace platform
