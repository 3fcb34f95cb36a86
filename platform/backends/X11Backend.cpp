#include "platform/backends/X11Backend.h"

#include <algorithm>
#include <bit>
#include <clocale>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/backends/X11Clipboard.h"
#include "platform/backends/X11SelectionText.h"
#include "platform/backends/X11Connection.h"
#include "platform/backends/X11DesktopConventions.h"
#include "platform/backends/X11Dnd.h"
#include "platform/backends/X11ImageCursor.h"
#include "platform/backends/X11Keyboard.h"
#include "platform/backends/X11WindowHints.h"
#include "platform/core/UniqueFd.h"
#include "platform/core/Utf8.h"
#include "platform/gfx/Bitmap.h"
#include "platform/app/MessageQueue.h"
#include "platform/ui/VirtualKeys.h"

// X headers last: their macros (None, Bool, Status) would break the declarations above.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>
#include <langinfo.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr unsigned kDoubleClickTimeMs = 500;
constexpr int kDoubleClickDistance = 4;  // pixels the pointer may move between the two clicks
constexpr int kWheelDelta = 120;

constexpr long kWindowEvents = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                               PointerMotionMask | EnterWindowMask | LeaveWindowMask | ExposureMask |
                               StructureNotifyMask | FocusChangeMask | PropertyChangeMask;

unsigned FontCursorShape(TBackendCursor cursor) {
  switch (cursor) {
    case TBackendCursor::Arrow: return XC_left_ptr;
    case TBackendCursor::IBeam: return XC_xterm;
    case TBackendCursor::Wait: return XC_watch;
    case TBackendCursor::Cross: return XC_crosshair;
    case TBackendCursor::HandPoint: return XC_hand2;
    case TBackendCursor::SizeAll: return XC_fleur;
    case TBackendCursor::SizeNS: return XC_sb_v_double_arrow;
    case TBackendCursor::SizeWE: return XC_sb_h_double_arrow;
    case TBackendCursor::SizeNWSE: return XC_bottom_right_corner;
    case TBackendCursor::SizeNESW: return XC_bottom_left_corner;
    case TBackendCursor::HSplit: return XC_sb_h_double_arrow;
    case TBackendCursor::VSplit: return XC_sb_v_double_arrow;
    case TBackendCursor::No: return XC_X_cursor;
    case TBackendCursor::UpArrow: return XC_sb_up_arrow;
    case TBackendCursor::Drag: return XC_dotbox;
    case TBackendCursor::DragMove: return XC_dotbox;
    case TBackendCursor::DragCopy: return XC_plus;
    case TBackendCursor::NoDrop: return XC_X_cursor;
  }
  return XC_left_ptr;
}

// How the back buffer's pixels reach the screen's visual: as they are (24-bit true colour), or packed
// into 16 bits (5 bits red, 6 green, 5 blue).
enum class X11PixelFormat { Rgb888, Rgb565 };

uint16_t Rgb565(uint32_t argb) {
  return static_cast<uint16_t>((argb >> 8 & 0xF800) | (argb >> 5 & 0x07E0) | (argb >> 3 & 0x001F));
}

// The format for the screen's default visual; none for a visual the backend cannot draw on.
std::optional<X11PixelFormat> PixelFormatOf(const Visual& visual, int depth) {
  if (visual.c_class != TrueColor) return std::nullopt;
  if ((depth == 24 || depth == 32) && visual.red_mask == 0xFF0000 && visual.green_mask == 0xFF00 &&
      visual.blue_mask == 0xFF)
    return X11PixelFormat::Rgb888;
  if (depth == 16 && visual.red_mask == 0xF800 && visual.green_mask == 0x07E0 && visual.blue_mask == 0x001F)
    return X11PixelFormat::Rgb565;
  return std::nullopt;
}

// Each character of UTF-8 text as a string of its own.
std::vector<std::string> CodePoints(std::string_view utf8) {
  std::vector<std::string> points;
  for (size_t i = 0; i < utf8.size();) {
    const size_t next = NextCodePoint(utf8, i);
    points.emplace_back(utf8.substr(i, next - i));
    i = next;
  }
  return points;
}

// The flag of a modifier key itself: pressing Shift is reported with bsShift, as the state after the press.
unsigned ModifierOfKey(int virtualKey) {
  switch (virtualKey) {
    case VK_SHIFT: return bsShift;
    case VK_CONTROL: return bsCtrl;
    case VK_MENU: return bsAlt;
    default: return 0;
  }
}

// Opens the input method in a UTF-8 character type (the program's own locale may be C), so that
// compose sequences of dead keys resolve and the lookup yields UTF-8. The method keeps the locale it was
// opened in; the process's locale is put back.
XIM OpenInputMethod(Display* display) {
  const std::string previous = std::setlocale(LC_CTYPE, nullptr);
  const auto utf8 = [] { return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0; };
  if (!utf8()) std::setlocale(LC_CTYPE, "");  // the user's locale, when it is a UTF-8 one
  if (!utf8()) std::setlocale(LC_CTYPE, "C.UTF-8");
  XIM im = nullptr;
  if (XSupportsLocale()) {
    XSetLocaleModifiers("");
    im = XOpenIM(display, nullptr, nullptr, nullptr);
    if (im == nullptr) {
      XSetLocaleModifiers("@im=none");
      im = XOpenIM(display, nullptr, nullptr, nullptr);
    }
  }
  std::setlocale(LC_CTYPE, previous.c_str());
  return im;
}

class TX11Backend final : public TBackend {
public:
  TX11Backend(std::unique_ptr<X11Connection> connection, X11PixelFormat pixelFormat, XIM inputMethod,
              TServerLostHandler serverLost);
  ~TX11Backend() override;

  std::string_view Name() const override { return "x11"; }

  TBackendWindow CreateWindow(const TBackendWindowParams& params, IBackendWindowSink& sink) override;
  void DestroyWindow(TBackendWindow window) override;
  void ShowWindow(TBackendWindow window, bool visible) override;
  void SetCaption(TBackendWindow window, const std::string& caption) override;
  void SetBounds(TBackendWindow window, const TRect& bounds) override;
  void SetWindowState(TBackendWindow window, TBackendWindowState state) override;
  void SetSizeLimits(TBackendWindow window, TSize minSize, TSize maxSize) override;
  void Activate(TBackendWindow window) override;
  void Present(TBackendWindow window, const TBitmap& backBuffer, const TRect& dirty) override;

  void SetShape(TBackendWindow window, std::span<const TPoint> outline) override;
  void SetCursor(TBackendWindow window, TBackendCursor cursor) override;
  void SetCursorImage(TBackendWindow window, const CursorImage& image) override;
  void SetCapture(TBackendWindow window) override;
  void ReleaseCapture() override;

  TRect ScreenRect() const override;
  TRect WorkArea() const override;
  TPoint CursorPos() const override;
  bool KeyToggled(int virtualKey) const override;
  unsigned DoubleClickTimeMs() const override { return kDoubleClickTimeMs; }

  void SetClipboard(std::string_view format, std::string_view data, TClipboardWrite mode) override;
  std::optional<std::string> GetClipboard(std::string_view format) override;
  bool HasClipboardFormat(std::string_view format) override;
  void ClearClipboard() override;
  void SetPrimarySelection(std::string_view utf8) override;
  std::optional<std::string> GetPrimarySelection() override;

  void Beep() override;

  void SetDropTarget(TBackendWindow window, bool accepts) override;
  std::unique_ptr<TBackendDrag> BeginDrag(TBackendWindow source, std::vector<std::pair<std::string, std::string>> formats,
                                          unsigned allowed) override;

private:
  struct WindowData {
    IBackendWindowSink* sink = nullptr;
    TBackendWindowKind kind = TBackendWindowKind::Form;
    TBackendBorder border = TBackendBorder::Sizeable;
    X11SizeLimits limits;
    bool modal = false;
    XIC inputContext = nullptr;  // a form's, made when the form first meets the keyboard
    TRect clientOnScreen;  // the X window's own area in screen coordinates
    TBackendWindowState state = TBackendWindowState::Normal;
    TRect normalClient;  // where a window maximised without a window manager returns to
    bool mapped = false;
    bool focusWhenMapped = false;
    TRect exposed;  // the union of an expose series until its last event
  };
  struct Click {
    Window window = None;
    unsigned button = 0;
    Time time = 0;
    int x = 0, y = 0;
    bool wasDouble = false;
  };

  // Flushes requests when a call ends, and wakes the loop for events that a round trip read ahead.
  class CallGuard {
  public:
    explicit CallGuard(const TX11Backend& backend) : backend_(backend) {}
    ~CallGuard() { backend_.FlushAndWake(); }

  private:
    const TX11Backend& backend_;
  };

  WindowData* Find(Window window);
  bool HasWindowManager() const;
  void GiveFocus(Window window);
  void FlushAndWake() const;
  void OnReadable();
  void HandleEvent(XEvent& event);
  void PrepareInputContext(Window window);
  void HandleKeyPress(XKeyEvent& event, unsigned keyCode, bool filtered);
  void HandleButton(const XButtonEvent& event);
  void HandleConfigure(Window window);
  void ReportBounds(Window window);
  TBackendWindowState ReadState(Window window) const;
  void SendWmState(Window window, long action, Atom first, Atom second);
  unsigned long KeySymForVirtualKey(const XKeyEvent& event) const;

  std::unique_ptr<X11Connection> connection_;
  Display* display_;
  X11PixelFormat pixelFormat_;
  XIM inputMethod_;
  TServerLostHandler serverLost_;
  X11DesktopConventions conventions_;
  Window helper_ = None;  // owns the selections and receives their answers
  GC gc_ = nullptr;
  // Readable while events wait in Xlib's queue, where the connection's descriptor cannot show them.
  UniqueFd queued_;
  std::map<Window, WindowData> windows_;
  std::map<TBackendCursor, Cursor> cursors_;
  std::map<const CursorImage*, Cursor> imageCursors_;  // made once per picture
  X11Selection clipboard_;
  X11Selection primary_;
  std::unique_ptr<X11Dnd> dnd_;
  Click lastClick_;
  std::set<unsigned> pressedKeys_;  // key codes down, to tell auto-repeat from a new press
  WaitRegistration registration_;
  WaitRegistration queuedRegistration_;
};

TX11Backend::TX11Backend(std::unique_ptr<X11Connection> connection, X11PixelFormat pixelFormat, XIM inputMethod,
                         TServerLostHandler serverLost)
    : connection_(std::move(connection)),
      display_(connection_->Display()),
      pixelFormat_(pixelFormat),
      inputMethod_(inputMethod),
      serverLost_(std::move(serverLost)),
      conventions_(*connection_),
      helper_(XCreateSimpleWindow(display_, connection_->Root(), -10, -10, 1, 1, 0, 0, 0)),
      gc_(XCreateGC(display_, helper_, 0, nullptr)),
      queued_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      clipboard_(*connection_, connection_->Atoms().CLIPBOARD, helper_),
      primary_(*connection_, connection_->Atoms().PRIMARY, helper_) {
  XSelectInput(display_, helper_, PropertyChangeMask);
  X11Dnd::Hooks dndHooks;
  dndHooks.sinkOf = [this](unsigned long window) -> IBackendWindowSink* {
    WindowData* data = Find(window);
    return data != nullptr && data->kind == TBackendWindowKind::Form ? data->sink : nullptr;
  };
  dndHooks.isPopup = [this](unsigned long window) {
    WindowData* data = Find(window);
    return data != nullptr && data->kind == TBackendWindowKind::Popup;
  };
  dndHooks.wake = [this] { FlushAndWake(); };
  dnd_ = std::make_unique<X11Dnd>(*connection_, helper_, std::move(dndHooks));
  // Auto-repeat then comes as presses without releases between them.
  XkbSetDetectableAutoRepeat(display_, True, nullptr);
  connection_->SetImmediateEvents([this](const XEvent& event) { return conventions_.IsPing(event); },
                                  [this](const XEvent& event) { conventions_.HandleEvent(event); });
  MessageQueue& queue = MessageQueue::Current();
  registration_ = queue.RegisterWaitHandle(connection_->Descriptor(), kWaitReadable, [this](unsigned) { OnReadable(); },
                                           VirtualTimeHold::Background);
  queuedRegistration_ = queue.RegisterWaitHandle(queued_.Descriptor(), kWaitReadable, [this](unsigned) { OnReadable(); },
                                                 VirtualTimeHold::Background);
  FlushAndWake();
}

TX11Backend::~TX11Backend() {
  registration_.Reset();
  queuedRegistration_.Reset();
  for (auto& [window, data] : windows_)
    if (data.inputContext != nullptr) XDestroyIC(data.inputContext);
  if (inputMethod_ != nullptr) XCloseIM(inputMethod_);
  for (auto& [shape, cursor] : cursors_) XFreeCursor(display_, cursor);
  for (auto& [image, cursor] : imageCursors_) XFreeCursor(display_, cursor);
  XFreeGC(display_, gc_);
}

TX11Backend::WindowData* TX11Backend::Find(Window window) {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : &found->second;
}

// A manager that went away leaves its check window named on the root window: only a check window that
// still names itself counts.
bool TX11Backend::HasWindowManager() const {
  const auto checkWindow = [this](Window of) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window named = None;
    if (XGetWindowProperty(display_, of, connection_->Atoms()._NET_SUPPORTING_WM_CHECK, 0, 1, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success &&
        type == XA_WINDOW && count == 1)
      named = *reinterpret_cast<const Window*>(data);
    if (data != nullptr) XFree(data);
    return named;
  };
  const Window check = checkWindow(connection_->Root());
  return check != None && checkWindow(check) == check;
}

TBackendWindow TX11Backend::CreateWindow(const TBackendWindowParams& params, IBackendWindowSink& sink) {
  CallGuard guard(*this);
  const int width = std::max(1, params.bounds.Width());
  const int height = std::max(1, params.bounds.Height());
  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;  // the back buffer paints every pixel: no clearing, no flicker
  attributes.bit_gravity = NorthWestGravity;
  attributes.win_gravity = NorthWestGravity;
  attributes.event_mask = kWindowEvents;
  attributes.override_redirect = params.kind == TBackendWindowKind::Popup ? True : False;
  attributes.save_under = attributes.override_redirect;
  const Window window = XCreateWindow(
      display_, connection_->Root(), params.bounds.Left, params.bounds.Top, static_cast<unsigned>(width),
      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
      CWBackPixmap | CWBitGravity | CWWinGravity | CWEventMask | CWOverrideRedirect | CWSaveUnder, &attributes);
  SetWindowHints(*connection_, window, params, {width, height}, TBackendWindowState::Normal);
  if (params.kind == TBackendWindowKind::Form) conventions_.PrepareWindow(window);

  WindowData data;
  data.sink = &sink;
  data.kind = params.kind;
  data.border = params.border;
  data.limits = {params.minSize, params.maxSize};
  data.modal = params.modal;
  data.clientOnScreen = Bounds(params.bounds.Left, params.bounds.Top, width, height);
  data.normalClient = data.clientOnScreen;
  windows_.emplace(window, data);
  return static_cast<TBackendWindow>(window);
}

void TX11Backend::DestroyWindow(TBackendWindow handle) {
  CallGuard guard(*this);
  const Window window = static_cast<Window>(handle);
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  if (found->second.inputContext != nullptr) XDestroyIC(found->second.inputContext);
  windows_.erase(found);
  dnd_->WindowDestroyed(window);
  XDestroyWindow(display_, window);
  if (lastClick_.window == window) lastClick_ = {};
}

void TX11Backend::ShowWindow(TBackendWindow handle, bool visible) {
  CallGuard guard(*this);
  const Window window = static_cast<Window>(handle);
  WindowData* data = Find(window);
  if (data == nullptr) return;
  if (visible) {
    XMapRaised(display_, window);
    if (data->kind == TBackendWindowKind::Form) conventions_.WindowShown(window);
  } else if (data->kind == TBackendWindowKind::Form) {
    XWithdrawWindow(display_, window, connection_->Screen());
  } else {
    XUnmapWindow(display_, window);
  }
}

void TX11Backend::SetCaption(TBackendWindow window, const std::string& caption) {
  CallGuard guard(*this);
  SetWindowTitle(*connection_, static_cast<Window>(window), caption);
}

void TX11Backend::SetBounds(TBackendWindow handle, const TRect& bounds) {
  CallGuard guard(*this);
  const Window window = static_cast<Window>(handle);
  WindowData* data = Find(window);
  if (data == nullptr) return;
  // A window manager places a maximised window itself; the framework hears where through
  // BackendBoundsChanged.
  if (data->state == TBackendWindowState::Maximized && data->mapped && HasWindowManager()) return;
  const int width = std::max(1, bounds.Width());
  const int height = std::max(1, bounds.Height());
  if (data->kind == TBackendWindowKind::Form)
    SetSizeHints(*connection_, window, data->border, {width, height}, data->limits);
  // The window's hints ask a window manager for static gravity: the client area goes where it is put.
  // The place asked for is the window's until the server says otherwise (a report of its state meanwhile
  // must not give the framework an older place back); the framework's own move is not reported to it.
  XMoveResizeWindow(display_, window, bounds.Left, bounds.Top, static_cast<unsigned>(width),
                    static_cast<unsigned>(height));
  data->clientOnScreen = Bounds(bounds.Left, bounds.Top, width, height);
}

void TX11Backend::SetSizeLimits(TBackendWindow handle, TSize minSize, TSize maxSize) {
  CallGuard guard(*this);
  const Window window = static_cast<Window>(handle);
  WindowData* data = Find(window);
  if (data == nullptr || data->kind != TBackendWindowKind::Form) return;
  data->limits = {minSize, maxSize};
  const TRect& client = data->clientOnScreen;
  SetSizeHints(*connection_, window, data->border, {client.Width(), client.Height()}, data->limits);
}

void TX11Backend::SendWmState(Window window, long action, Atom first, Atom second) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = connection_->Atoms()._NET_WM_STATE;
  event.xclient.format = 32;
  event.xclient.data.l[0] = action;  // 0 remove, 1 add
  event.xclient.data.l[1] = static_cast<long>(first);
  event.xclient.data.l[2] = static_cast<long>(second);
  event.xclient.data.l[3] = 1;  // asked for by an application
  XSendEvent(display_, connection_->Root(), False, SubstructureNotifyMask | SubstructureRedirectMask, &event);
}

void TX11Backend::SetWindowState(TBackendWindow handle, TBackendWindowState state) {
  CallGuard guard(*this);
  const Window window = static_cast<Window>(handle);
  WindowData* data = Find(window);
  if (data == nullptr || data->kind != TBackendWindowKind::Form) return;
  const X11Atoms& atoms = connection_->Atoms();
  if (!HasWindowManager()) {
    // Without a window manager the backend does its work: a maximised window covers the work area, a
    // minimised one is not shown; the state is reported as soon as it is taken.
    if (data->state == state) return;
    // The window's new place is reported with its new state at once; the server's notice of it then
    // changes nothing.
    if (state == TBackendWindowState::Maximized) {
      if (data->state == TBackendWindowState::Normal) data->normalClient = data->clientOnScreen;
      data->clientOnScreen = WorkArea();
    } else if (state == TBackendWindowState::Normal && data->state == TBackendWindowState::Maximized) {
      data->clientOnScreen = data->normalClient;
    }
    const TRect& r = data->clientOnScreen;
    XMoveResizeWindow(display_, window, r.Left, r.Top, static_cast<unsigned>(r.Width()),
                      static_cast<unsigned>(r.Height()));
    if (state == TBackendWindowState::Minimized)
      XUnmapWindow(display_, window);
    else if (data->state == TBackendWindowState::Minimized)
      XMapRaised(display_, window);
    data->state = state;
    const TRect bounds = data->clientOnScreen;
    data->sink->BackendBoundsChanged(bounds, state);
    return;
  }
  if (!data->mapped) {
    SetInitialState(*connection_, window, data->modal, state);
    return;
  }
  // The state asked for holds until the manager's _NET_WM_STATE says what it did.
  const TBackendWindowState previous = std::exchange(data->state, state);
  if (state == TBackendWindowState::Minimized) {
    XIconifyWindow(display_, window, connection_->Screen());
    return;
  }
  if (previous == TBackendWindowState::Minimized) XMapRaised(display_, window);
  SendWmState(window, state == TBackendWindowState::Maximized ? 1 : 0, atoms._NET_WM_STATE_MAXIMIZED_VERT,
              atoms._NET_WM_STATE_MAXIMIZED_HORZ);
}

void TX11Backend::Activate(TBackendWindow handle) {
  CallGuard guard(*this);
  const Window window = static_cast<Window>(handle);
  WindowData* data = Find(window);
  if (data == nullptr) return;
  if (data->mapped)
    GiveFocus(window);
  else
    data->focusWhenMapped = true;  // neither the server nor a window manager focuses an unmapped window
}

void TX11Backend::GiveFocus(Window window) {
  XRaiseWindow(display_, window);
  if (!HasWindowManager()) {
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    return;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = connection_->Atoms()._NET_ACTIVE_WINDOW;
  event.xclient.format = 32;
  event.xclient.data.l[0] = 1;  // asked for by an application
  event.xclient.data.l[1] = static_cast<long>(connection_->LastInputTime());
  XSendEvent(display_, connection_->Root(), False, SubstructureNotifyMask | SubstructureRedirectMask, &event);
}

void TX11Backend::Present(TBackendWindow handle, const TBitmap& backBuffer, const TRect& dirty) {
  CallGuard guard(*this);
  const Window window = static_cast<Window>(handle);
  if (Find(window) == nullptr || backBuffer.Width() == 0 || backBuffer.Height() == 0) return;
  TRect area;
  if (!IntersectRect(area, dirty, Rect(0, 0, backBuffer.Width(), backBuffer.Height()))) return;
  const int width = area.Width();
  const int height = area.Height();
  char* pixels = nullptr;
  int bitsPerPixel = 32;
  int stride = backBuffer.Width() * 4;
  std::vector<uint16_t> packed;
  if (pixelFormat_ == X11PixelFormat::Rgb888) {
    // The bitmap's 0xAARRGGBB pixels are the visual's own layout, so the image points at them without a
    // copy.
    pixels = reinterpret_cast<char*>(const_cast<uint32_t*>(backBuffer.ScanLine(area.Top) + area.Left));
  } else {
    packed.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
      const uint32_t* row = backBuffer.ScanLine(area.Top + y) + area.Left;
      for (int x = 0; x < width; ++x) packed[static_cast<size_t>(y * width + x)] = Rgb565(row[x]);
    }
    pixels = reinterpret_cast<char*>(packed.data());
    bitsPerPixel = 16;
    stride = width * 2;
  }
  XImage* image = XCreateImage(display_, DefaultVisual(display_, connection_->Screen()),
                               static_cast<unsigned>(DefaultDepth(display_, connection_->Screen())), ZPixmap, 0,
                               pixels, static_cast<unsigned>(width), static_cast<unsigned>(height), bitsPerPixel,
                               stride);
  if (image == nullptr) return;
  image->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  XPutImage(display_, window, gc_, image, 0, 0, area.Left, area.Top, static_cast<unsigned>(width),
            static_cast<unsigned>(height));
  image->data = nullptr;  // the pixels are not the image's to free
  XDestroyImage(image);
}

void TX11Backend::SetShape(TBackendWindow window, std::span<const TPoint> outline) {
  CallGuard guard(*this);
  int eventBase = 0, errorBase = 0;
  if (Find(static_cast<Window>(window)) == nullptr || !XShapeQueryExtension(display_, &eventBase, &errorBase)) return;
  if (outline.empty()) {
    XShapeCombineMask(display_, static_cast<Window>(window), ShapeBounding, 0, 0, None, ShapeSet);
    return;
  }
  std::vector<XPoint> points;
  for (TPoint p : outline) points.push_back({static_cast<short>(p.X), static_cast<short>(p.Y)});
  ::Region region = XPolygonRegion(points.data(), static_cast<int>(points.size()), WindingRule);
  XShapeCombineRegion(display_, static_cast<Window>(window), ShapeBounding, 0, 0, region, ShapeSet);
  XDestroyRegion(region);
}

void TX11Backend::SetCursor(TBackendWindow window, TBackendCursor cursor) {
  CallGuard guard(*this);
  if (Find(static_cast<Window>(window)) == nullptr) return;
  auto found = cursors_.find(cursor);
  if (found == cursors_.end()) {
    Cursor made = CreateDragCursor(*connection_, cursor);
    if (made == None) made = XCreateFontCursor(display_, FontCursorShape(cursor));
    found = cursors_.emplace(cursor, made).first;
  }
  XDefineCursor(display_, static_cast<Window>(window), found->second);
}

void TX11Backend::SetCursorImage(TBackendWindow window, const CursorImage& image) {
  CallGuard guard(*this);
  if (Find(static_cast<Window>(window)) == nullptr) return;
  auto found = imageCursors_.find(&image);
  if (found == imageCursors_.end()) found = imageCursors_.emplace(&image, CreateImageCursor(*connection_, image)).first;
  // A picture X could not make a cursor of leaves the window's cursor as it is.
  if (found->second != None) XDefineCursor(display_, static_cast<Window>(window), found->second);
}

void TX11Backend::SetCapture(TBackendWindow window) {
  CallGuard guard(*this);
  if (Find(static_cast<Window>(window)) == nullptr) return;
  XGrabPointer(display_, static_cast<Window>(window), False,
               ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask,
               GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
}

void TX11Backend::ReleaseCapture() {
  CallGuard guard(*this);
  XUngrabPointer(display_, CurrentTime);
}

TRect TX11Backend::ScreenRect() const {
  CallGuard guard(*this);
  return Rect(0, 0, DisplayWidth(display_, connection_->Screen()), DisplayHeight(display_, connection_->Screen()));
}

TRect TX11Backend::WorkArea() const {
  CallGuard guard(*this);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  TRect area = ScreenRect();
  XGetWindowProperty(display_, connection_->Root(), connection_->Atoms()._NET_WORKAREA, 0, 4, False, XA_CARDINAL,
                     &type, &format, &count, &after, &data);
  if (type == XA_CARDINAL && format == 32 && count == 4) {
    const long* values = reinterpret_cast<const long*>(data);
    area = Bounds(static_cast<int>(values[0]), static_cast<int>(values[1]), static_cast<int>(values[2]),
                  static_cast<int>(values[3]));
  }
  if (data != nullptr) XFree(data);
  return area;
}

TPoint TX11Backend::CursorPos() const {
  CallGuard guard(*this);
  Window root = None, child = None;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned mask = 0;
  XQueryPointer(display_, connection_->Root(), &root, &child, &rootX, &rootY, &x, &y, &mask);
  return {rootX, rootY};
}

bool TX11Backend::KeyToggled(int virtualKey) const {
  CallGuard guard(*this);
  const char* indicator = virtualKey == VK_CAPITAL ? "Caps Lock"
                          : virtualKey == VK_NUMLOCK ? "Num Lock"
                          : virtualKey == VK_SCROLL  ? "Scroll Lock"
                                                     : nullptr;
  if (indicator == nullptr) return false;
  Bool on = False;
  XkbGetNamedIndicator(display_, XInternAtom(display_, indicator, False), nullptr, &on, nullptr, nullptr);
  return on == True;
}

void TX11Backend::SetClipboard(std::string_view format, std::string_view data, TClipboardWrite mode) {
  CallGuard guard(*this);
  clipboard_.Set(format, data, mode == TClipboardWrite::Add);
}

std::optional<std::string> TX11Backend::GetClipboard(std::string_view format) {
  CallGuard guard(*this);
  std::optional<std::string> data = clipboard_.Get(format);
  if (data && format == kClipboardText) data = ReadableText(std::move(*data));
  return data;
}

bool TX11Backend::HasClipboardFormat(std::string_view format) {
  CallGuard guard(*this);
  return clipboard_.Has(format);
}

void TX11Backend::ClearClipboard() {
  CallGuard guard(*this);
  clipboard_.Release();
}

void TX11Backend::SetPrimarySelection(std::string_view utf8) {
  CallGuard guard(*this);
  if (utf8.empty())
    primary_.Release();
  else
    primary_.Set(kClipboardText, utf8, false);
}

std::optional<std::string> TX11Backend::GetPrimarySelection() {
  CallGuard guard(*this);
  std::optional<std::string> text = primary_.Get(kClipboardText);
  if (text) text = ReadableText(std::move(*text));
  return text;
}

void TX11Backend::Beep() {
  CallGuard guard(*this);
  XBell(display_, 0);
}

void TX11Backend::SetDropTarget(TBackendWindow window, bool accepts) {
  CallGuard guard(*this);
  if (Find(static_cast<Window>(window)) != nullptr) dnd_->SetAware(static_cast<Window>(window), accepts);
}

std::unique_ptr<TBackendDrag> TX11Backend::BeginDrag(TBackendWindow source,
                                                     std::vector<std::pair<std::string, std::string>> formats,
                                                     unsigned allowed) {
  CallGuard guard(*this);
  if (Find(static_cast<Window>(source)) == nullptr) return nullptr;
  return dnd_->BeginDrag(static_cast<Window>(source), std::move(formats), allowed);
}

void TX11Backend::FlushAndWake() const {
  if (!connection_->Flush()) return;
  const uint64_t one = 1;
  (void)!::write(queued_.Descriptor(), &one, sizeof one);
}

void TX11Backend::OnReadable() {
  uint64_t count = 0;
  (void)!::read(queued_.Descriptor(), &count, sizeof count);
  while (!connection_->Lost() && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    HandleEvent(event);
  }
  if (connection_->Lost()) {
    registration_.Reset();
    queuedRegistration_.Reset();
    if (serverLost_) serverLost_("the connection to the X server " + connection_->Name() + " was lost");
    return;
  }
  FlushAndWake();
}

void TX11Backend::HandleEvent(XEvent& event) {
  // A window manager's ping is answered before anything else; a press notes the user's time.
  if (conventions_.HandleEvent(event)) return;
  // The input method sees every event first; a key it takes (a dead key, part of a compose sequence)
  // still counts as pressed, but gives no character of its own. It may clear the event's key code, so
  // the key is taken before.
  const unsigned keyCode = event.type == KeyPress ? event.xkey.keycode : 0;
  if (event.type == KeyPress || event.type == FocusIn) PrepareInputContext(event.xany.window);
  const bool filtered = XFilterEvent(&event, None) == True;
  if (clipboard_.HandleEvent(event) || primary_.HandleEvent(event) || dnd_->HandleEvent(event)) return;
  if (event.type == MappingNotify) {
    XRefreshKeyboardMapping(&event.xmapping);
    return;
  }
  const Window window = event.xany.window;
  WindowData* data = Find(window);
  if (data == nullptr) return;
  IBackendWindowSink& sink = *data->sink;
  switch (event.type) {
    case KeyPress:
      HandleKeyPress(event.xkey, keyCode, filtered);
      break;
    case KeyRelease: {
      connection_->SetLastInputTime(event.xkey.time);
      pressedKeys_.erase(event.xkey.keycode);
      const int virtualKey = VirtualKeyFromKeySym(KeySymForVirtualKey(event.xkey));
      if (virtualKey != 0) sink.BackendKeyUp(virtualKey, ShiftFromState(event.xkey.state) & ~ModifierOfKey(virtualKey));
      break;
    }
    case ButtonPress:
    case ButtonRelease:
      HandleButton(event.xbutton);
      break;
    case MotionNotify: {
      // Of several moves queued together only the last one counts.
      XEvent next;
      if (XEventsQueued(display_, QueuedAlready) > 0 && XPeekEvent(display_, &next) == 0 && next.type == MotionNotify &&
          next.xmotion.window == window)
        break;
      sink.BackendMouseMove({event.xmotion.x, event.xmotion.y}, ShiftFromState(event.xmotion.state));
      break;
    }
    case EnterNotify:
      sink.BackendMouseMove({event.xcrossing.x, event.xcrossing.y}, ShiftFromState(event.xcrossing.state));
      break;
    case LeaveNotify:
      if (event.xcrossing.mode == NotifyNormal && event.xcrossing.detail != NotifyInferior) sink.BackendMouseLeave();
      break;
    case Expose: {
      const TRect part = Bounds(event.xexpose.x, event.xexpose.y, event.xexpose.width, event.xexpose.height);
      UnionRect(data->exposed, data->exposed, part);
      if (event.xexpose.count == 0) {
        const TRect exposed = std::exchange(data->exposed, TRect{});
        sink.BackendExpose(exposed);
      }
      break;
    }
    case ConfigureNotify:
      HandleConfigure(window);
      break;
    case PropertyNotify: {
      const X11Atoms& atoms = connection_->Atoms();
      if (event.xproperty.atom == atoms._NET_WM_STATE || event.xproperty.atom == atoms.WM_STATE) ReportBounds(window);
      break;
    }
    case MapNotify:
      data->mapped = true;
      HandleConfigure(window);
      if (std::exchange(data->focusWhenMapped, false)) GiveFocus(window);
      break;
    case UnmapNotify:
      data->mapped = false;
      break;
    case FocusIn:
    case FocusOut: {
      // Focus moving between this window and the pointer's or the window manager's grabs changes nothing.
      if (event.xfocus.detail == NotifyPointer || event.xfocus.detail == NotifyInferior) break;
      const bool active = event.type == FocusIn;
      if (data->inputContext != nullptr) (active ? XSetICFocus : XUnsetICFocus)(data->inputContext);
      sink.BackendActivate(active);
      break;
    }
    case ClientMessage:
      if (event.xclient.message_type == connection_->Atoms().WM_PROTOCOLS &&
          static_cast<Atom>(event.xclient.data.l[0]) == connection_->Atoms().WM_DELETE_WINDOW)
        sink.BackendCloseRequest();
      break;
    default:
      break;
  }
}

// A form's input context is made when the keyboard first reaches the form (its focus, or a key where
// the focus follows the pointer), not with the window: making it waits for the server, and a form's
// first show would wait with it.
void TX11Backend::PrepareInputContext(Window window) {
  WindowData* data = Find(window);
  if (data == nullptr || data->kind != TBackendWindowKind::Form || data->inputContext != nullptr ||
      inputMethod_ == nullptr)
    return;
  data->inputContext = XCreateIC(inputMethod_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                                 window, XNFocusWindow, window, nullptr);
  long filterEvents = 0;
  if (data->inputContext != nullptr && XGetICValues(data->inputContext, XNFilterEvents, &filterEvents, nullptr) == nullptr)
    XSelectInput(display_, window, kWindowEvents | filterEvents);
}

unsigned long TX11Backend::KeySymForVirtualKey(const XKeyEvent& event) const {
  const unsigned group = XkbGroupForCoreState(event.state);
  const KeySym first = XkbKeycodeToKeysym(display_, static_cast<KeyCode>(event.keycode), group, 0);
  if (!IsKeypadKey(first)) return first;
  // A keypad key's first level navigates (KP_Home), its second is the digit (KP_7); Num Lock, reversed
  // by Shift, picks the digit.
  const KeySym second = XkbKeycodeToKeysym(display_, static_cast<KeyCode>(event.keycode), group, 1);
  const unsigned numLockMask = XkbKeysymToModifiers(display_, XK_Num_Lock);
  const bool digits = ((event.state & numLockMask) != 0) != ((event.state & ShiftMask) != 0);
  return digits && IsKeypadKey(second) ? second : first;
}

void TX11Backend::HandleKeyPress(XKeyEvent& event, unsigned keyCode, bool filtered) {
  const Window window = event.window;
  connection_->SetLastInputTime(event.time);
  // A compose sequence's result comes back from the input method as a press without a key code.
  if (keyCode != 0) {
    const bool repeat = !pressedKeys_.insert(keyCode).second;
    XKeyEvent key = event;
    key.keycode = keyCode;
    const int virtualKey = VirtualKeyFromKeySym(KeySymForVirtualKey(key));
    if (virtualKey != 0)
      Find(window)->sink->BackendKeyDown(virtualKey, ShiftFromState(event.state) | ModifierOfKey(virtualKey), repeat);
  }
  if (filtered) return;
  WindowData* data = Find(window);  // the key's handler may have destroyed the window
  if (data == nullptr) return;
  std::string text(32, '\0');
  KeySym keySym = NoSymbol;
  Status status = 0;
  int length = 0;
  if (data->inputContext != nullptr) {
    length = Xutf8LookupString(data->inputContext, &event, text.data(), static_cast<int>(text.size()), &keySym, &status);
    if (status == XBufferOverflow) {
      text.resize(static_cast<size_t>(length));
      length = Xutf8LookupString(data->inputContext, &event, text.data(), length, &keySym, &status);
    }
    if (status != XLookupChars && status != XLookupBoth) length = 0;
  }
  text.resize(static_cast<size_t>(std::max(0, length)));
  const unsigned shift = ShiftFromState(event.state);
  for (const std::string& character : CodePoints(text)) {
    if (character == "\x7f") continue;  // Delete is a key, not a character
    WindowData* target = Find(window);
    if (target == nullptr) return;
    target->sink->BackendChar(character, shift);
  }
}

void TX11Backend::HandleButton(const XButtonEvent& event) {
  connection_->SetLastInputTime(event.time);
  IBackendWindowSink& sink = *Find(event.window)->sink;
  const TPoint point{event.x, event.y};
  const unsigned shift = ShiftFromState(event.state);
  if (event.button == Button4 || event.button == Button5) {
    if (event.type == ButtonPress) sink.BackendMouseWheel(event.button == Button4 ? kWheelDelta : -kWheelDelta, point, shift);
    return;
  }
  TMouseButtonKind kind;
  switch (event.button) {
    case Button1: kind = TMouseButtonKind::Left; break;
    case Button2: kind = TMouseButtonKind::Middle; break;
    case Button3: kind = TMouseButtonKind::Right; break;
    default: return;  // horizontal wheel and extra buttons
  }
  // The state of a button event is the one before it: a press adds its button, a release takes it away.
  const unsigned buttonFlag = kind == TMouseButtonKind::Left ? bsLeft : kind == TMouseButtonKind::Right ? bsRight : bsMiddle;
  if (event.type == ButtonRelease) {
    sink.BackendMouseUp(kind, point, shift & ~buttonFlag);
    return;
  }
  // A second press of the same button, soon and near, is a double click; a third starts anew.
  const bool isDouble = lastClick_.window == event.window && lastClick_.button == event.button && !lastClick_.wasDouble &&
                        event.time - lastClick_.time <= kDoubleClickTimeMs &&
                        std::abs(event.x - lastClick_.x) <= kDoubleClickDistance &&
                        std::abs(event.y - lastClick_.y) <= kDoubleClickDistance;
  lastClick_ = {event.window, event.button, event.time, event.x, event.y, isDouble};
  sink.BackendMouseDown(kind, point, shift | buttonFlag | (isDouble ? bsDouble : 0u));
}

TBackendWindowState TX11Backend::ReadState(Window window) const {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const X11Atoms& atoms = connection_->Atoms();
  XGetWindowProperty(display_, window, atoms._NET_WM_STATE, 0, 64, False, XA_ATOM, &type, &format, &count, &after,
                     &data);
  const Atom* states = reinterpret_cast<const Atom*>(data);
  const auto has = [&](Atom state) { return type == XA_ATOM && std::find(states, states + count, state) != states + count; };
  const TBackendWindowState result = has(atoms._NET_WM_STATE_HIDDEN) ? TBackendWindowState::Minimized
                                     : has(atoms._NET_WM_STATE_MAXIMIZED_VERT) && has(atoms._NET_WM_STATE_MAXIMIZED_HORZ)
                                         ? TBackendWindowState::Maximized
                                         : TBackendWindowState::Normal;
  if (data != nullptr) XFree(data);
  return result;
}

// While a window is not mapped a window manager may still be reparenting it into its frame, which it
// places afterwards: the place read then is none the window will have. The place is read again when
// the window is mapped.
void TX11Backend::HandleConfigure(Window window) {
  WindowData* data = Find(window);
  if (!data->mapped) return;
  Window child = None;
  int x = 0, y = 0;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, window, &attributes) ||
      !XTranslateCoordinates(display_, window, connection_->Root(), 0, 0, &x, &y, &child))
    return;
  const TRect client = Bounds(x, y, attributes.width, attributes.height);
  if (client == data->clientOnScreen) return;
  data->clientOnScreen = client;
  ReportBounds(window);
}

void TX11Backend::ReportBounds(Window window) {
  WindowData* data = Find(window);
  if (HasWindowManager()) data->state = ReadState(window);
  data->sink->BackendBoundsChanged(data->clientOnScreen, data->state);
}

}  // namespace

std::unique_ptr<TBackend> OpenX11Backend(const std::string& displayName, std::string& error,
                                         TServerLostHandler serverLost, TX11Refusal* refusal) {
  const auto refuse = [&](TX11Refusal why, std::string message) {
    error = std::move(message);
    if (refusal != nullptr) *refusal = why;
    return nullptr;
  };
  auto connection = std::make_unique<X11Connection>(displayName.c_str(), error);
  if (connection->Display() == nullptr)
    return refuse(connection->NotAnswering() ? TX11Refusal::NotAnswering : TX11Refusal::NoServer, error);
  Display* display = connection->Display();
  const int depth = DefaultDepth(display, connection->Screen());
  const std::optional<X11PixelFormat> format = PixelFormatOf(*DefaultVisual(display, connection->Screen()), depth);
  if (!format)
    return refuse(TX11Refusal::Unsupported, "the X display " + connection->Name() + " shows " + std::to_string(depth) +
                                                "-bit colour; windows need 24-bit or 16-bit true colour");
  XIM inputMethod = OpenInputMethod(display);
  if (inputMethod == nullptr)
    return refuse(TX11Refusal::Unsupported, "the X display " + connection->Name() + " has no input method for UTF-8");
  return std::make_unique<TX11Backend>(std::move(connection), *format, inputMethod, std::move(serverLost));
}

}  // namespace platform
