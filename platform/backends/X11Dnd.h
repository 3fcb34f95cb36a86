#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/backends/X11Clipboard.h"
#include "platform/backends/X11Connection.h"
#include "platform/ui/Backend.h"

namespace platform {

class X11DragOut;
class X11DropData;

// Drag and drop with other X11 programs: the XDND protocol, version 5, as target and as source.
//
// As a target: every top-level window that holds a registered target carries XdndAware. A source's
// XdndEnter names its types (in the message, or in its XdndTypeList when there are more than three);
// each XdndPosition (a root point, the proposed action) goes to the window's sink as a drag over the
// client point, with the modifiers of the pointer, and is answered by XdndStatus (accepted or not, the
// action); XdndLeave ends it; XdndDrop converts XdndSelection with the drop's time through the
// selection reader (incremental transfers included), hands the data to the sink and answers
// XdndFinished with success and the action performed. A source whose window goes ends its drag.
//
// As a source: the pointer and keyboard are grabbed; at each move the window under the pointer is
// found (skipping the window manager's frames, following XdndProxy); one of the program's own is left to
// the framework, another program's XdndAware window gets XdndEnter, XdndPosition (one outstanding
// until its XdndStatus; the latest point follows), XdndLeave when the pointer goes, or XdndDrop; the
// program owns XdndSelection with the data until XdndFinished comes or its time runs out.
//
// Taken and offered types: text/uri-list, text/plain;charset=utf-8, UTF8_STRING, text/plain, STRING,
// text/rtf. The program's own formats stay in the process.
class X11Dnd {
public:
  struct Hooks {
    // The sink of one of the program's windows, or null for any other window.
    std::function<IBackendWindowSink*(unsigned long window)> sinkOf;
    // Whether the window is a pop-up of the program (the pointer's place is what lies below it).
    std::function<bool(unsigned long window)> isPopup;
    // Wakes the loop for events that Xlib read ahead.
    std::function<void()> wake;
  };

  X11Dnd(X11Connection& connection, unsigned long helper, Hooks hooks);
  ~X11Dnd();

  void SetAware(unsigned long window, bool aware);
  // Handles the protocol's messages and XdndSelection's requests; true when the event was the
  // protocol's alone.
  bool HandleEvent(const _XEvent& event);
  // A window of the program goes: a drag over it ends.
  void WindowDestroyed(unsigned long window);

  std::unique_ptr<TBackendDrag> BeginDrag(unsigned long source, std::vector<std::pair<std::string, std::string>> formats,
                                          unsigned allowed);

  // The longest text or list that a drop takes; longer data is refused.
  static constexpr size_t kMaxDropBytes = 16u << 20;

private:
  friend class X11DragOut;
  friend class X11DropData;

  struct Atoms {
    unsigned long XdndAware, XdndProxy, XdndEnter, XdndPosition, XdndStatus, XdndLeave, XdndDrop, XdndFinished,
        XdndSelection, XdndTypeList, XdndActionCopy, XdndActionMove, XdndActionLink, XdndActionList, textUriList,
        textPlain, textPlainUtf8, textRtf, textRichtext;
  };

  // The drag of another program over one of our windows.
  struct Incoming {
    unsigned long source = 0;  // the source's window
    unsigned long window = 0;  // our window it is over
    int version = 0;
    std::vector<unsigned long> types;
    std::unique_ptr<X11DropData> data;
    unsigned long action = 0;  // the action last answered; 0 none
    bool entered = false;      // the sink heard of it
  };

  void OnEnter(const _XEvent& event);
  void OnPosition(const _XEvent& event);
  void OnLeave(const _XEvent& event);
  void OnDrop(const _XEvent& event);
  void EndIncoming();
  // Sends a client message to a window (`to`) whose window field names `window`.
  void Send(unsigned long to, unsigned long window, unsigned long type, const long (&data)[5]);
  std::vector<unsigned long> ReadAtoms(unsigned long window, unsigned long property) const;
  unsigned EffectOf(unsigned long action) const;
  unsigned long ActionOf(unsigned effect) const;
  unsigned KeysNow() const;

  X11Connection& connection_;
  const unsigned long helper_;
  Hooks hooks_;
  Atoms atoms_{};
  X11Selection selection_;  // XdndSelection: read for drops on us, owned for drags of ours
  std::optional<Incoming> incoming_;
  X11DragOut* outgoing_ = nullptr;
};

// The cursor of a drag (DragMove, DragCopy, NoDrop) from the project's own pictures; 0 for other shapes.
unsigned long CreateDragCursor(X11Connection& connection, TBackendCursor cursor);

}  // namespace platform
