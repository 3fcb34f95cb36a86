#include "platform/backends/X11Dnd.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <map>

#include "platform/backends/X11ImageCursor.h"
#include "platform/backends/X11SelectionText.h"
#include "platform/core/Clock.h"
#include "platform/ui/DragCursors.h"
#include "platform/ui/DragDrop.h"

// X headers last: their macros (None, Bool, Status) would break the declarations above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {

namespace {

constexpr long kXdndVersion = 5;
constexpr long kOldestVersion = 3;          // the oldest version spoken to, as both sides
constexpr size_t kMaxTypes = 256;           // a longer XdndTypeList is cut there
constexpr uint32_t kStatusTimeoutMs = 1000; // a position unanswered this long no longer holds the next
constexpr uint32_t kFinishTimeoutMs = 5000; // a target that has not finished a drop by then has failed
constexpr int kMaxClientDepth = 4;          // how deep a frame's children are searched for the client

}  // namespace

// The data of another program's drag over us: the formats that its types name; the bytes come from
// XdndSelection, converted with the drop's time, and only after the drop.
class X11DropData final : public IDataObject {
public:
  X11DropData(X11Dnd& dnd, const std::vector<unsigned long>& types) : dnd_(dnd) {
    const X11Dnd::Atoms& a = dnd.atoms_;
    const X11Atoms& x = dnd.connection_.Atoms();
    const auto has = [&](unsigned long type) { return std::find(types.begin(), types.end(), type) != types.end(); };
    if (has(a.textUriList)) formats_.emplace_back(kDragFiles);
    if (has(x.UTF8_STRING) || has(a.textPlainUtf8) || has(x.STRING) || has(a.textPlain)) {
      formats_.emplace_back(kClipboardText);
      plainOnly_ = !has(x.UTF8_STRING) && !has(a.textPlainUtf8) && !has(x.STRING);
    }
    if (has(a.textRtf) || has(a.textRichtext)) formats_.emplace_back(kClipboardRichText);
  }

  std::vector<std::string> Formats() const override { return formats_; }

  std::optional<std::string> GetData(std::string_view format) override {
    if (!dropTime_ || !HasFormat(format)) return std::nullopt;
    if (const auto found = read_.find(std::string(format)); found != read_.end()) return found->second;
    X11Selection& selection = dnd_.selection_;
    std::optional<std::string> bytes;
    if (format == kClipboardText) {
      bytes = plainOnly_ ? selection.Get("text/plain", *dropTime_) : selection.Get(kClipboardText, *dropTime_);
      if (bytes) bytes = ReadableText(std::move(*bytes));
    } else {
      bytes = selection.Get(format, *dropTime_);
    }
    read_.emplace(std::string(format), bytes);
    return bytes;
  }

  void Dropped(unsigned long time) { dropTime_ = time; }

private:
  X11Dnd& dnd_;
  std::vector<std::string> formats_;
  bool plainOnly_ = false;
  std::optional<unsigned long> dropTime_;
  std::map<std::string, std::optional<std::string>> read_;
};

// A drag of ours over other programs' windows.
class X11DragOut final : public TBackendDrag {
public:
  X11DragOut(X11Dnd& dnd, unsigned long source, std::vector<unsigned long> types)
      : dnd_(dnd), display_(dnd.connection_.Display()), source_(source), types_(std::move(types)) {
    XGrabPointer(display_, source_, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                 GrabModeAsync, None, None, CurrentTime);
    XGrabKeyboard(display_, source_, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    dnd_.outgoing_ = this;
  }

  ~X11DragOut() override {
    if (target_ != 0 && !dropped_) Leave();
    if (target_ != 0) dnd_.connection_.UnwatchWindow(target_);
    dnd_.outgoing_ = nullptr;
    XUngrabPointer(display_, CurrentTime);
    XUngrabKeyboard(display_, CurrentTime);
    dnd_.selection_.Release();
    XDeleteProperty(display_, dnd_.helper_, dnd_.atoms_.XdndTypeList);
    dnd_.hooks_.wake();
  }

  std::optional<unsigned> Move(TPoint screen, unsigned keys, unsigned proposed) override {
    const Found found = FindTarget(screen);
    if (found.own) {
      if (target_ != 0) Leave();
      return std::nullopt;
    }
    if (found.window != target_) {
      if (target_ != 0) Leave();
      if (found.window != 0) Enter(found);
    }
    if (target_ != 0) {
      pending_ = Position{screen, dnd_.ActionOf(proposed)};
      if (!waitingStatus_ || GetTickCount() - statusAskedAt_ > kStatusTimeoutMs) SendPosition();
    }
    dnd_.hooks_.wake();
    return accepted_ ? dnd_.EffectOf(acceptedAction_) : 0u;
  }

  void Drop() override {
    dropped_ = true;
    dropAt_ = GetTickCount();
    if (target_ == 0 || !accepted_) {
      finished_ = 0;
      return;
    }
    const long data[5] = {static_cast<long>(dnd_.helper_), 0, static_cast<long>(dnd_.connection_.LastInputTime()), 0, 0};
    SendToTarget(dnd_.atoms_.XdndDrop, data);
    dnd_.hooks_.wake();
  }

  std::optional<unsigned> Finished() override {
    if (!finished_ && GetTickCount() - dropAt_ > kFinishTimeoutMs) finished_ = 0;
    return finished_;
  }

  // XdndStatus and XdndFinished of the target, sent to our helper window.
  void OnStatus(const XClientMessageEvent& message) {
    if (static_cast<unsigned long>(message.data.l[0]) != target_) return;
    waitingStatus_ = false;
    accepted_ = (message.data.l[1] & 1) != 0;
    acceptedAction_ = version_ >= 2 && message.data.l[4] != 0 ? static_cast<unsigned long>(message.data.l[4])
                                                                 : dnd_.atoms_.XdndActionCopy;
    if (pending_ && !dropped_) SendPosition();
  }

  void OnFinished(const XClientMessageEvent& message) {
    if (static_cast<unsigned long>(message.data.l[0]) != target_ || !dropped_) return;
    const bool success = version_ < 5 || (message.data.l[1] & 1) != 0;
    const unsigned long action = version_ >= 5 && message.data.l[2] != 0 ? static_cast<unsigned long>(message.data.l[2])
                                                                          : acceptedAction_;
    finished_ = success ? dnd_.EffectOf(action) : 0u;
  }

  void OnDestroyed(unsigned long window) {
    if (window != target_) return;
    dnd_.connection_.UnwatchWindow(target_);
    target_ = proxy_ = 0;
    accepted_ = waitingStatus_ = false;
    if (dropped_ && !finished_) finished_ = 0;
  }

private:
  struct Found {
    bool own = false;
    unsigned long window = 0;  // the XdndAware window, 0 none
    unsigned long proxy = 0;   // where its messages go
    long version = 0;
  };
  struct Position {
    TPoint screen;
    unsigned long action;
  };

  // A message to the target goes to its proxy; its window field names the target itself.
  void SendToTarget(unsigned long type, const long (&data)[5]) { dnd_.Send(proxy_, target_, type, data); }

  unsigned long ReadWindow(unsigned long window, unsigned long property) const {
    const std::vector<unsigned long> values = ReadLongs(window, property, XA_WINDOW);
    return values.empty() ? 0 : values.front();
  }

  std::vector<unsigned long> ReadLongs(unsigned long window, unsigned long property, unsigned long type) const {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(display_, window, property, 0, 1, False, type, &actual, &format, &count, &after, &data) ==
            Success &&
        actual == type && format == 32)
      for (unsigned long i = 0; i < count; ++i) values.push_back(reinterpret_cast<unsigned long*>(data)[i]);
    if (data != nullptr) XFree(data);
    return values;
  }

  bool HasProperty(unsigned long window, unsigned long property) const {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, window, property, 0, 0, False, AnyPropertyType, &actual, &format, &count, &after, &data);
    if (data != nullptr) XFree(data);
    return actual != None;
  }

  // The client window inside a window manager's frame: the one with WM_STATE; the frame itself when none.
  unsigned long ClientOf(unsigned long window, int depth = 0) const {
    if (HasProperty(window, dnd_.connection_.Atoms().WM_STATE)) return window;
    if (depth >= kMaxClientDepth) return 0;
    Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    unsigned long found = 0;
    if (XQueryTree(display_, window, &root, &parent, &children, &count) != 0) {
      for (unsigned i = count; i-- > 0 && found == 0;) found = ClientOf(children[i], depth + 1);
    }
    if (children != nullptr) XFree(children);
    return depth == 0 && found == 0 ? window : found;
  }

  Found FindTarget(TPoint screen) const {
    Found found;
    Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display_, dnd_.connection_.Root(), &root, &parent, &children, &count) == 0) return found;
    unsigned long top = 0;
    for (unsigned i = count; i-- > 0;) {
      const unsigned long child = children[i];
      if (child == dnd_.helper_ || dnd_.hooks_.isPopup(child)) continue;
      XWindowAttributes attributes;
      if (XGetWindowAttributes(display_, child, &attributes) == 0 || attributes.map_state != IsViewable) continue;
      const int border = attributes.border_width;
      if (screen.X < attributes.x || screen.Y < attributes.y ||
          screen.X >= attributes.x + attributes.width + 2 * border ||
          screen.Y >= attributes.y + attributes.height + 2 * border)
        continue;
      top = child;
      break;
    }
    if (children != nullptr) XFree(children);
    if (top == 0) return found;
    const unsigned long client = ClientOf(top);
    if (dnd_.hooks_.sinkOf(top) != nullptr || dnd_.hooks_.sinkOf(client) != nullptr) {
      found.own = true;
      return found;
    }
    unsigned long proxy = ReadWindow(client, dnd_.atoms_.XdndProxy);
    // A proxy counts only when it names itself as well (a stale one names nothing).
    if (proxy != 0 && ReadWindow(proxy, dnd_.atoms_.XdndProxy) != proxy) proxy = 0;
    const std::vector<unsigned long> aware = ReadLongs(proxy != 0 ? proxy : client, dnd_.atoms_.XdndAware, XA_ATOM);
    if (aware.empty() || static_cast<long>(aware.front()) < kOldestVersion) return found;
    found.window = client;
    found.proxy = proxy != 0 ? proxy : client;
    found.version = std::min(kXdndVersion, static_cast<long>(aware.front()));
    return found;
  }

  void Enter(const Found& found) {
    target_ = found.window;
    proxy_ = found.proxy;
    version_ = found.version;
    accepted_ = waitingStatus_ = false;
    pending_.reset();
    dnd_.connection_.WatchWindow(target_);
    long data[5] = {static_cast<long>(dnd_.helper_), (version_ << 24) | (types_.size() > 3 ? 1 : 0), 0, 0, 0};
    for (size_t i = 0; i < 3 && i < types_.size(); ++i) data[2 + i] = static_cast<long>(types_[i]);
    SendToTarget(dnd_.atoms_.XdndEnter, data);
  }

  void Leave() {
    const long data[5] = {static_cast<long>(dnd_.helper_), 0, 0, 0, 0};
    SendToTarget(dnd_.atoms_.XdndLeave, data);
    dnd_.connection_.UnwatchWindow(target_);
    target_ = proxy_ = 0;
    accepted_ = waitingStatus_ = false;
    pending_.reset();
  }

  void SendPosition() {
    if (!pending_) return;
    const Position position = *pending_;
    pending_.reset();
    const long data[5] = {static_cast<long>(dnd_.helper_), 0,
                          (static_cast<long>(position.screen.X) << 16) | (position.screen.Y & 0xFFFF),
                          static_cast<long>(dnd_.connection_.LastInputTime()), static_cast<long>(position.action)};
    SendToTarget(dnd_.atoms_.XdndPosition, data);
    waitingStatus_ = true;
    statusAskedAt_ = GetTickCount();
  }

  friend class X11Dnd;

  X11Dnd& dnd_;
  Display* display_;
  const unsigned long source_;
  const std::vector<unsigned long> types_;
  unsigned long target_ = 0;
  unsigned long proxy_ = 0;
  long version_ = 0;
  bool waitingStatus_ = false;
  uint32_t statusAskedAt_ = 0;
  std::optional<Position> pending_;
  bool accepted_ = false;
  unsigned long acceptedAction_ = 0;
  bool dropped_ = false;
  uint32_t dropAt_ = 0;
  std::optional<unsigned> finished_;
};

X11Dnd::X11Dnd(X11Connection& connection, unsigned long helper, Hooks hooks)
    : connection_(connection),
      helper_(helper),
      hooks_(std::move(hooks)),
      selection_(connection, XInternAtom(connection.Display(), "XdndSelection", False), helper) {
  const char* names[] = {"XdndAware",      "XdndProxy",      "XdndEnter",      "XdndPosition",   "XdndStatus",
                         "XdndLeave",      "XdndDrop",       "XdndFinished",   "XdndSelection",  "XdndTypeList",
                         "XdndActionCopy", "XdndActionMove", "XdndActionLink", "XdndActionList", "text/uri-list",
                         "text/plain",     "text/plain;charset=utf-8",         "text/rtf",       "text/richtext"};
  constexpr int count = sizeof names / sizeof names[0];
  static_assert(sizeof(Atoms) == count * sizeof(unsigned long));
  Atom interned[count];
  XInternAtoms(connection.Display(), const_cast<char**>(names), count, False, interned);
  unsigned long* fields = &atoms_.XdndAware;
  for (int i = 0; i < count; ++i) fields[i] = interned[i];
  selection_.SetReadLimit(kMaxDropBytes);
}

X11Dnd::~X11Dnd() = default;

void X11Dnd::SetAware(unsigned long window, bool aware) {
  if (!aware) {
    XDeleteProperty(connection_.Display(), window, atoms_.XdndAware);
    return;
  }
  const long version = kXdndVersion;
  XChangeProperty(connection_.Display(), window, atoms_.XdndAware, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&version), 1);
}

bool X11Dnd::HandleEvent(const XEvent& event) {
  if (selection_.HandleEvent(event)) return true;
  if (event.type == DestroyNotify) {
    const unsigned long gone = event.xdestroywindow.window;
    if (incoming_ && incoming_->source == gone) {
      // The source went mid-drag: the drag ends here.
      IBackendWindowSink* sink = incoming_->entered ? hooks_.sinkOf(incoming_->window) : nullptr;
      EndIncoming();
      if (sink != nullptr) sink->BackendDragLeave();
    }
    if (outgoing_ != nullptr) outgoing_->OnDestroyed(gone);
    return false;
  }
  if (event.type != ClientMessage || event.xclient.format != 32) return false;
  const unsigned long type = event.xclient.message_type;
  if (type == atoms_.XdndEnter) {
    OnEnter(event);
  } else if (type == atoms_.XdndPosition) {
    OnPosition(event);
  } else if (type == atoms_.XdndLeave) {
    OnLeave(event);
  } else if (type == atoms_.XdndDrop) {
    OnDrop(event);
  } else if (type == atoms_.XdndStatus) {
    if (outgoing_ != nullptr) outgoing_->OnStatus(event.xclient);
  } else if (type == atoms_.XdndFinished) {
    if (outgoing_ != nullptr) outgoing_->OnFinished(event.xclient);
  } else {
    return false;
  }
  return true;
}

void X11Dnd::WindowDestroyed(unsigned long window) {
  if (incoming_ && incoming_->window == window) EndIncoming();
}

void X11Dnd::OnEnter(const XEvent& event) {
  const XClientMessageEvent& message = event.xclient;
  if (hooks_.sinkOf(message.window) == nullptr) return;
  if (incoming_) {
    IBackendWindowSink* sink = incoming_->entered ? hooks_.sinkOf(incoming_->window) : nullptr;
    EndIncoming();
    if (sink != nullptr) sink->BackendDragLeave();
  }
  const long version = (message.data.l[1] >> 24) & 0xFF;
  if (version < kOldestVersion) return;
  Incoming incoming;
  incoming.source = static_cast<unsigned long>(message.data.l[0]);
  incoming.window = message.window;
  incoming.version = static_cast<int>(std::min(version, kXdndVersion));
  if (message.data.l[1] & 1) {
    incoming.types = ReadAtoms(incoming.source, atoms_.XdndTypeList);
  } else {
    for (int i = 2; i < 5; ++i)
      if (message.data.l[i] != 0) incoming.types.push_back(static_cast<unsigned long>(message.data.l[i]));
  }
  incoming.data = std::make_unique<X11DropData>(*this, incoming.types);
  connection_.WatchWindow(incoming.source);
  incoming_ = std::move(incoming);
}

void X11Dnd::OnPosition(const XEvent& event) {
  const XClientMessageEvent& message = event.xclient;
  if (!incoming_ || static_cast<unsigned long>(message.data.l[0]) != incoming_->source ||
      message.window != incoming_->window)
    return;
  IBackendWindowSink* sink = hooks_.sinkOf(incoming_->window);
  if (sink == nullptr) return;
  const int rootX = static_cast<int>((message.data.l[2] >> 16) & 0xFFFF);
  const int rootY = static_cast<int>(message.data.l[2] & 0xFFFF);
  Window child = None;
  int x = 0, y = 0;
  XTranslateCoordinates(connection_.Display(), connection_.Root(), incoming_->window, rootX, rootY, &x, &y, &child);
  const unsigned long proposed = incoming_->version >= 2 && message.data.l[4] != 0
                                     ? static_cast<unsigned long>(message.data.l[4])
                                     : atoms_.XdndActionCopy;
  unsigned allowed = EffectOf(proposed);
  for (unsigned long action : ReadAtoms(incoming_->source, atoms_.XdndActionList)) allowed |= EffectOf(action);
  unsigned keys = KeysNow();
  // The source proposes copy for Ctrl, as our own drags do; the keys tell a target the same.
  if (proposed == atoms_.XdndActionCopy && (keys & MK_SHIFT) == 0) keys |= MK_CONTROL;
  const unsigned long window = incoming_->window;
  const unsigned long source = incoming_->source;
  incoming_->entered = true;
  unsigned effect = 0;
  try {
    effect = sink->BackendDragOver(*incoming_->data, {x, y}, keys, allowed);
  } catch (...) {
    if (incoming_ && incoming_->source == source) {
      incoming_->action = 0;
      const long refused[5] = {static_cast<long>(window), 2, 0, 0, 0};
      Send(source, source, atoms_.XdndStatus, refused);
    }
    hooks_.wake();
    throw;
  }
  if (!incoming_ || incoming_->source != source) return;  // the handler ended the drag
  incoming_->action = effect != 0 ? ActionOf(effect) : 0;
  const long data[5] = {static_cast<long>(window), (effect != 0 ? 1 : 0) | 2, 0, 0,
                        static_cast<long>(incoming_->action)};
  Send(source, source, atoms_.XdndStatus, data);
}

void X11Dnd::OnLeave(const XEvent& event) {
  if (!incoming_ || static_cast<unsigned long>(event.xclient.data.l[0]) != incoming_->source) return;
  IBackendWindowSink* sink = incoming_->entered ? hooks_.sinkOf(incoming_->window) : nullptr;
  EndIncoming();
  if (sink != nullptr) sink->BackendDragLeave();
}

void X11Dnd::OnDrop(const XEvent& event) {
  const XClientMessageEvent& message = event.xclient;
  if (!incoming_ || static_cast<unsigned long>(message.data.l[0]) != incoming_->source) return;
  Incoming incoming = std::move(*incoming_);
  incoming_.reset();
  connection_.UnwatchWindow(incoming.source);
  IBackendWindowSink* sink = hooks_.sinkOf(incoming.window);
  const auto finish = [&](bool success, unsigned long action) {
    const long data[5] = {static_cast<long>(incoming.window), success ? 1 : 0,
                          static_cast<long>(success ? action : 0), 0, 0};
    Send(incoming.source, incoming.source, atoms_.XdndFinished, data);
  };
  if (sink == nullptr || incoming.action == 0) {
    finish(false, 0);
    if (sink != nullptr && incoming.entered) sink->BackendDragLeave();
    return;
  }
  incoming.data->Dropped(incoming.version >= 1 ? static_cast<unsigned long>(message.data.l[2]) : CurrentTime);
  Window root = None, child = None;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned mask = 0;
  XQueryPointer(connection_.Display(), incoming.window, &root, &child, &rootX, &rootY, &x, &y, &mask);
  unsigned keys = KeysNow();
  if (incoming.action == atoms_.XdndActionCopy && (keys & MK_SHIFT) == 0) keys |= MK_CONTROL;
  unsigned effect = 0;
  try {
    effect = sink->BackendDrop(*incoming.data, {x, y}, keys, EffectOf(incoming.action));
  } catch (...) {
    // The source hears first that the drop failed; the exception then goes on to the loop's hook.
    finish(false, 0);
    hooks_.wake();
    throw;
  }
  finish(effect != 0, ActionOf(effect));
}

void X11Dnd::EndIncoming() {
  if (!incoming_) return;
  connection_.UnwatchWindow(incoming_->source);
  incoming_.reset();
}

void X11Dnd::Send(unsigned long to, unsigned long window, unsigned long type, const long (&data)[5]) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.display = connection_.Display();
  event.xclient.window = window;
  event.xclient.message_type = type;
  event.xclient.format = 32;
  for (int i = 0; i < 5; ++i) event.xclient.data.l[i] = data[i];
  XSendEvent(connection_.Display(), to, False, NoEventMask, &event);
  XFlush(connection_.Display());
}

std::vector<unsigned long> X11Dnd::ReadAtoms(unsigned long window, unsigned long property) const {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> atoms;
  if (XGetWindowProperty(connection_.Display(), window, property, 0, kMaxTypes, False, XA_ATOM, &actual, &format,
                         &count, &after, &data) == Success &&
      actual == XA_ATOM && format == 32)
    for (unsigned long i = 0; i < count; ++i) atoms.push_back(reinterpret_cast<unsigned long*>(data)[i]);
  if (data != nullptr) XFree(data);
  return atoms;
}

unsigned X11Dnd::EffectOf(unsigned long action) const {
  if (action == atoms_.XdndActionCopy) return DROPEFFECT_COPY;
  if (action == atoms_.XdndActionMove) return DROPEFFECT_MOVE;
  if (action == atoms_.XdndActionLink) return DROPEFFECT_LINK;
  return action != 0 ? DROPEFFECT_COPY : DROPEFFECT_NONE;  // ask, private: a copy at most
}

unsigned long X11Dnd::ActionOf(unsigned effect) const {
  if (effect & DROPEFFECT_MOVE) return atoms_.XdndActionMove;
  if (effect & DROPEFFECT_COPY) return atoms_.XdndActionCopy;
  if (effect & DROPEFFECT_LINK) return atoms_.XdndActionLink;
  return 0;
}

unsigned X11Dnd::KeysNow() const {
  Window root = None, child = None;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned mask = 0;
  XQueryPointer(connection_.Display(), connection_.Root(), &root, &child, &rootX, &rootY, &x, &y, &mask);
  unsigned keys = 0;
  if (mask & Button1Mask) keys |= MK_LBUTTON;
  if (mask & ShiftMask) keys |= MK_SHIFT;
  if (mask & ControlMask) keys |= MK_CONTROL;
  return keys;
}

unsigned long CreateDragCursor(X11Connection& connection, TBackendCursor cursor) {
  const std::optional<CursorImage> image = DragCursorImage(cursor);
  return image ? CreateImageCursor(connection, *image) : None;
}

std::unique_ptr<TBackendDrag> X11Dnd::BeginDrag(unsigned long source,
                                                std::vector<std::pair<std::string, std::string>> formats,
                                                unsigned allowed) {
  const X11Atoms& x = connection_.Atoms();
  std::vector<unsigned long> types;
  bool first = true;
  for (const auto& [format, bytes] : formats) {
    if (format == kDragFiles) {
      types.push_back(atoms_.textUriList);
    } else if (format == kClipboardText) {
      types.insert(types.end(), {x.UTF8_STRING, atoms_.textPlainUtf8, x.STRING});
    } else if (format == kClipboardRichText) {
      types.push_back(atoms_.textRtf);
    } else {
      continue;
    }
    selection_.Set(format, bytes, !first);
    first = false;
  }
  if (types.size() > 3)
    XChangeProperty(connection_.Display(), helper_, atoms_.XdndTypeList, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(std::vector<long>(types.begin(), types.end()).data()),
                    static_cast<int>(types.size()));
  std::vector<long> actions;
  for (unsigned effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
    if (allowed & effect) actions.push_back(static_cast<long>(ActionOf(effect)));
  XChangeProperty(connection_.Display(), helper_, atoms_.XdndActionList, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(actions.data()), static_cast<int>(actions.size()));
  return std::make_unique<X11DragOut>(*this, source, std::move(types));
}

}  // namespace platform
