#include "platform/backends/X11Connection.h"

#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <utility>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/UniqueFd.h"

// X headers last: their macros (None, Bool, Status) would break the declarations above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {

namespace {

// Protocol errors are answers to requests about windows that others may destroy at any time (a
// requestor that went away during a transfer, a window manager's frame); the request is simply lost.
int IgnoreProtocolError(Display*, XErrorEvent*) { return 0; }
// The broken connection is reported through the display's exit handler; Xlib's own message stays out.
int QuietIoError(Display*) { return 0; }

// How long a server may take to answer the connection's setup.
constexpr int kOpenTimeoutMs = 5000;

// One opening of a display on a thread of its own, shared by that thread and the one waiting for it.
struct DisplayOpening {
  std::mutex mutex;
  Display* display = nullptr;  // guarded by mutex, as are the flags
  bool finished = false;
  bool abandoned = false;
  UniqueFd finishedRead, finishedWrite;  // a byte comes when the opening finished
};

// XOpenDisplay within kOpenTimeoutMs: a server that takes the connection but never answers its setup (a
// stopped server, a dead tunnel) holds the opening thread, never the caller. Null with `timedOut` set
// when the time ran out; a display that the thread opens after that, it closes itself.
Display* OpenDisplayWithin(const char* name, bool& timedOut) {
  auto opening = std::make_shared<DisplayOpening>();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return XOpenDisplay(name);
  opening->finishedRead = UniqueFd(fds[0]);
  opening->finishedWrite = UniqueFd(fds[1]);
  std::thread([opening, name = std::string(name != nullptr ? name : "")] {
    Display* display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    std::unique_lock lock(opening->mutex);
    if (opening->abandoned) {
      lock.unlock();
      if (display != nullptr) XCloseDisplay(display);
      return;
    }
    opening->display = display;
    opening->finished = true;
    (void)!::write(opening->finishedWrite.Descriptor(), "x", 1);
  }).detach();

  WaitFd finished{opening->finishedRead.Descriptor(), kWaitReadable, VirtualTimeHold::Hold};
  const int64_t deadline = MonotonicMs() + kOpenTimeoutMs;
  while (WaitOnClock(deadline, nullptr, std::span(&finished, 1)) == WaitResult::Woken) {
    // The clock was switched: the wait goes on to the deadline.
  }
  std::lock_guard lock(opening->mutex);
  timedOut = !opening->finished;
  opening->abandoned = timedOut;
  return opening->display;
}

}  // namespace

X11Connection::X11Connection(const char* displayName, std::string& error) {
  const char* name = displayName != nullptr && *displayName != '\0' ? displayName : nullptr;
  bool timedOut = false;
  display_ = OpenDisplayWithin(name, timedOut);
  if (display_ == nullptr) {
    notAnswering_ = timedOut;
    const std::string shown = XDisplayName(name);
    const std::string bound = std::to_string(kOpenTimeoutMs / 1000) + " s";
    error = timedOut ? "the X display " + shown + " does not answer within " + bound : "cannot open the X display " + shown;
    return;
  }
  XSetErrorHandler(IgnoreProtocolError);
  XSetIOErrorHandler(QuietIoError);
  XSetIOErrorExitHandler(display_, &X11Connection::ConnectionLost, this);
  screen_ = DefaultScreen(display_);
  root_ = RootWindow(display_, screen_);

  std::pair<unsigned long*, const char*> names[] = {
      {&atoms_.WM_PROTOCOLS, "WM_PROTOCOLS"}, {&atoms_.WM_DELETE_WINDOW, "WM_DELETE_WINDOW"},
      {&atoms_.WM_STATE, "WM_STATE"}, {&atoms_.WM_TRANSIENT_FOR, "WM_TRANSIENT_FOR"},
      {&atoms_.UTF8_STRING, "UTF8_STRING"}, {&atoms_.TARGETS, "TARGETS"}, {&atoms_.TIMESTAMP, "TIMESTAMP"},
      {&atoms_.INCR, "INCR"}, {&atoms_.MULTIPLE, "MULTIPLE"}, {&atoms_.TEXT, "TEXT"}, {&atoms_.STRING, "STRING"},
      {&atoms_.CLIPBOARD, "CLIPBOARD"}, {&atoms_.PRIMARY, "PRIMARY"}, {&atoms_._NET_WM_NAME, "_NET_WM_NAME"},
      {&atoms_._NET_WM_STATE, "_NET_WM_STATE"},
      {&atoms_._NET_WM_STATE_MAXIMIZED_VERT, "_NET_WM_STATE_MAXIMIZED_VERT"},
      {&atoms_._NET_WM_STATE_MAXIMIZED_HORZ, "_NET_WM_STATE_MAXIMIZED_HORZ"},
      {&atoms_._NET_WM_STATE_HIDDEN, "_NET_WM_STATE_HIDDEN"}, {&atoms_._NET_WM_STATE_MODAL, "_NET_WM_STATE_MODAL"},
      {&atoms_._NET_WM_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE"},
      {&atoms_._NET_WM_WINDOW_TYPE_NORMAL, "_NET_WM_WINDOW_TYPE_NORMAL"},
      {&atoms_._NET_WM_WINDOW_TYPE_DIALOG, "_NET_WM_WINDOW_TYPE_DIALOG"},
      {&atoms_._NET_WM_WINDOW_TYPE_UTILITY, "_NET_WM_WINDOW_TYPE_UTILITY"},
      {&atoms_._NET_WM_WINDOW_TYPE_POPUP_MENU, "_NET_WM_WINDOW_TYPE_POPUP_MENU"},
      {&atoms_._NET_ACTIVE_WINDOW, "_NET_ACTIVE_WINDOW"}, {&atoms_._NET_WORKAREA, "_NET_WORKAREA"},
      {&atoms_._NET_SUPPORTING_WM_CHECK, "_NET_SUPPORTING_WM_CHECK"}, {&atoms_._MOTIF_WM_HINTS, "_MOTIF_WM_HINTS"},
      {&atoms_.VELMORA_SELECTION, "VELMORA_SELECTION"},
  };
  std::vector<char*> atomNames;
  for (auto& [atom, atomName] : names) atomNames.push_back(const_cast<char*>(atomName));
  std::vector<Atom> atoms(atomNames.size());
  XInternAtoms(display_, atomNames.data(), static_cast<int>(atomNames.size()), False, atoms.data());
  for (size_t i = 0; i < atoms.size(); ++i) *names[i].first = atoms[i];
}

X11Connection::~X11Connection() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

int X11Connection::Descriptor() const { return ConnectionNumber(display_); }

std::string X11Connection::Name() const { return DisplayString(display_); }

void X11Connection::ConnectionLost(_XDisplay*, void* self) { static_cast<X11Connection*>(self)->lost_ = true; }

bool X11Connection::WaitForEvent(const std::function<bool(const XEvent&)>& accept, XEvent& event, int timeoutMs) {
  using Accept = std::function<bool(const XEvent&)>;
  auto predicate = [](_XDisplay*, XEvent* candidate, XPointer arg) -> Bool {
    return (*reinterpret_cast<const Accept*>(arg))(*candidate) ? True : False;
  };
  const Accept pick = [&](const XEvent& candidate) {
    return accept(candidate) || (immediateWanted_ && immediateWanted_(candidate));
  };
  const int64_t deadline = MonotonicMs() + timeoutMs;
  XFlush(display_);
  while (!lost_) {
    if (XCheckIfEvent(display_, &event, predicate, reinterpret_cast<XPointer>(const_cast<Accept*>(&pick)))) {
      if (!immediateWanted_ || !immediateWanted_(event)) return true;
      immediateAnswer_(event);
      continue;
    }
    WaitFd fd{Descriptor(), kWaitReadable, VirtualTimeHold::Hold};
    if (WaitOnClock(deadline, nullptr, {&fd, 1}) == WaitResult::TimedOut) return false;
    XEventsQueued(display_, QueuedAfterReading);
  }
  return false;
}

void X11Connection::SetImmediateEvents(std::function<bool(const XEvent&)> wants,
                                       std::function<void(const XEvent&)> answer) {
  immediateWanted_ = std::move(wants);
  immediateAnswer_ = std::move(answer);
}

void X11Connection::WatchWindow(unsigned long window) {
  if (watches_[window]++ == 0) XSelectInput(display_, window, PropertyChangeMask | StructureNotifyMask);
}

void X11Connection::UnwatchWindow(unsigned long window) {
  const auto found = watches_.find(window);
  if (found == watches_.end() || --found->second > 0) return;
  watches_.erase(found);
  XSelectInput(display_, window, NoEventMask);
}

bool X11Connection::Flush() {
  if (lost_) return false;
  XFlush(display_);
  // Xlib's transport may hold events that it read with a reply without queueing them yet: reading
  // counts those too.
  return XEventsQueued(display_, QueuedAfterReading) > 0;
}

}  // namespace platform
