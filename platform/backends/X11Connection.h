#pragma once

#include <functional>
#include <map>
#include <string>

// Xlib's own types stay out of this header: the display and events are only named here, and X
// resources (windows, atoms, times) are the unsigned longs that Xlib makes them.
struct _XDisplay;
union _XEvent;

namespace platform {

// The atoms the backend uses, interned together when the connection opens.
struct X11Atoms {
  unsigned long WM_PROTOCOLS, WM_DELETE_WINDOW, WM_STATE, WM_TRANSIENT_FOR, UTF8_STRING, TARGETS, TIMESTAMP, INCR,
      MULTIPLE, TEXT, STRING, CLIPBOARD, PRIMARY, _NET_WM_NAME, _NET_WM_STATE, _NET_WM_STATE_MAXIMIZED_VERT,
      _NET_WM_STATE_MAXIMIZED_HORZ, _NET_WM_STATE_HIDDEN, _NET_WM_STATE_MODAL, _NET_WM_WINDOW_TYPE,
      _NET_WM_WINDOW_TYPE_NORMAL, _NET_WM_WINDOW_TYPE_DIALOG, _NET_WM_WINDOW_TYPE_UTILITY,
      _NET_WM_WINDOW_TYPE_POPUP_MENU, _NET_ACTIVE_WINDOW, _NET_WORKAREA,
      _NET_SUPPORTING_WM_CHECK, _MOTIF_WM_HINTS, VELMORA_SELECTION;
};

// The backend's connection to the X server and what every part of the backend asks of it. Owned by the
// backend; all of it is used on the application's thread only.
class X11Connection {
public:
  // Opens the display (null or empty: $DISPLAY); Display() is null and `error` says why when it fails.
  // A server that does not answer within a few seconds counts as none (NotAnswering).
  X11Connection(const char* displayName, std::string& error);
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  _XDisplay* Display() const { return display_; }
  int Screen() const { return screen_; }
  unsigned long Root() const { return root_; }
  const X11Atoms& Atoms() const { return atoms_; }
  int Descriptor() const;
  std::string Name() const;

  // Whether the opening failed because a server took the connection but did not answer in time.
  bool NotAnswering() const { return notAnswering_; }

  // Whether the connection broke (the server went away); no request reaches the server after that.
  bool Lost() const { return lost_; }

  // The server time of the latest user input, for selection ownership (0 before any input).
  unsigned long LastInputTime() const { return lastInputTime_; }
  void SetLastInputTime(unsigned long time) { lastInputTime_ = time; }

  // Waits at most timeoutMs (on the platform clock) for an event that `accept` picks, answering the
  // immediate events meanwhile and leaving every other event queued in order; false on time-out or a
  // lost connection.
  bool WaitForEvent(const std::function<bool(const _XEvent&)>& accept, _XEvent& event, int timeoutMs);

  // Events that are answered wherever they are read, also while WaitForEvent waits for others (the
  // window manager's pings): `wants` picks them without a request to the server, `answer` answers.
  void SetImmediateEvents(std::function<bool(const _XEvent&)> wants, std::function<void(const _XEvent&)> answer);

  // Selects the property changes and the destruction of another client's window (the requestor of an
  // outgoing selection transfer), counted: the events stop when every watch is undone.
  void WatchWindow(unsigned long window);
  void UnwatchWindow(unsigned long window);

  // Sends what is buffered; true when events wait in Xlib's queue, read ahead by a round trip (the
  // descriptor does not show those).
  bool Flush();

private:
  static void ConnectionLost(_XDisplay* display, void* self);

  _XDisplay* display_ = nullptr;
  int screen_ = 0;
  unsigned long root_ = 0;
  X11Atoms atoms_{};
  bool lost_ = false;
  bool notAnswering_ = false;
  unsigned long lastInputTime_ = 0;
  std::map<unsigned long, int> watches_;
  std::function<bool(const _XEvent&)> immediateWanted_;
  std::function<void(const _XEvent&)> immediateAnswer_;
};

}  // namespace platform
