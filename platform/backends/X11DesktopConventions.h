#pragma once

#include <string>
#include <vector>

#include "platform/backends/X11Connection.h"

namespace platform {

// What the desktop asks of a program's top-level windows beyond their window-manager hints, in one
// place: whose they are (_NET_WM_PID, WM_CLIENT_MACHINE), the program's icon (_NET_WM_ICON in every
// size of its MAINICON resource), the time of the user's latest input (_NET_WM_USER_TIME, so a window
// manager can tell a window the user asked for from one that would steal the focus), the launcher's
// startup notification (_NET_STARTUP_ID on the windows made before the first is shown, then its
// "remove" message), and the answer to the window manager's _NET_WM_PING, which tells a window that
// still answers from a frozen one. Owned by the backend, used on the application's thread.
class X11DesktopConventions {
public:
  // Takes the launcher's DESKTOP_STARTUP_ID out of the environment, so that the programs this one
  // starts do not answer for its launch.
  explicit X11DesktopConventions(const X11Connection& connection);

  // Marks a new top-level window before it is mapped.
  void PrepareWindow(unsigned long window) const;
  // Called when a top-level window is shown: the first one ends the startup notification.
  void WindowShown(unsigned long window);
  // Whether the event is a ping, which is answered wherever events are read (looked at only, without
  // a request: fit for a predicate over Xlib's queue).
  bool IsPing(const _XEvent& event) const;
  // Answers a ping (true: the event is used up); a key or button press becomes its window's user time,
  // and the user time of the windows made after it.
  bool HandleEvent(const _XEvent& event);

private:
  struct Atoms {
    unsigned long _NET_WM_PING, _NET_WM_PID, _NET_WM_ICON, _NET_WM_USER_TIME, _NET_STARTUP_ID,
        _NET_STARTUP_INFO_BEGIN, _NET_STARTUP_INFO;
  };

  void EndStartup(unsigned long window);

  const X11Connection& connection_;
  Atoms atoms_{};
  std::string hostName_;
  std::vector<long> icon_;  // _NET_WM_ICON's value: width, height and the pixels of each size
  std::string startupId_;  // empty once the notification ended or when the program was not launched so
  // The server time of the latest key or button press; before any, the launch's, from the id's "_TIME"
  // part (0: unknown).
  unsigned long userTime_ = 0;
};

}  // namespace platform
