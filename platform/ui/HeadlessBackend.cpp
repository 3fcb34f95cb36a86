#include "platform/ui/HeadlessBackend.h"

#include <algorithm>

#include "platform/gfx/Png.h"
#include "platform/app/Component.h"
#include "platform/ui/SpareBuffers.h"

namespace platform {

namespace {

constexpr UINT kDeliverInput = WM_USER + 1;

TPoint ToClient(const TRect& bounds, TPoint screen) { return {screen.X - bounds.Left, screen.Y - bounds.Top}; }

}  // namespace

THeadlessBackend::THeadlessBackend() : screen_(Rect(0, 0, 1024, 768)), workArea_(Rect(0, 0, 1024, 728)) {}

THeadlessBackend::~THeadlessBackend() = default;

TBackendWindow THeadlessBackend::CreateWindow(const TBackendWindowParams& params, IBackendWindowSink& sink) {
  TBackendWindow window{nextWindow_++};
  WindowInfo& info = windows_[static_cast<uint64_t>(window)];
  info.params = params;
  info.bounds = params.bounds;
  info.sink = &sink;
  stack_.push_back(window);
  return window;
}

void THeadlessBackend::DestroyWindow(TBackendWindow window) {
  if (WindowInfo* info = Find(window)) KeepSpareBuffer(info->shown);
  windows_.erase(static_cast<uint64_t>(window));
  stack_.erase(std::remove(stack_.begin(), stack_.end(), window), stack_.end());
  if (active_ == window) active_ = {};
  if (capture_ == window) capture_ = {};
  if (underPointer_ == window) underPointer_ = {};
}

void THeadlessBackend::ShowWindow(TBackendWindow window, bool visible) {
  WindowInfo* info = Find(window);
  if (!info || info->visible == visible) return;
  info->visible = visible;
  if (visible) {
    stack_.erase(std::remove(stack_.begin(), stack_.end(), window), stack_.end());
    stack_.push_back(window);
    // A window manager gives a newly shown form the focus; pop-ups never take it.
    if (info->params.kind == TBackendWindowKind::Form) Activate(window);
    return;
  }
  if (capture_ == window) capture_ = {};
  if (active_ == window) {
    active_ = {};
    info->sink->BackendActivate(false);
    // The focus goes back to the topmost visible form.
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
      WindowInfo* other = Find(*it);
      if (other && other->visible && other->params.kind == TBackendWindowKind::Form) {
        Activate(*it);
        break;
      }
    }
  }
}

void THeadlessBackend::SetCaption(TBackendWindow window, const std::string& caption) {
  if (WindowInfo* info = Find(window)) info->params.caption = caption;
}

void THeadlessBackend::SetBounds(TBackendWindow window, const TRect& bounds) {
  if (WindowInfo* info = Find(window)) info->bounds = bounds;
}

void THeadlessBackend::SetWindowState(TBackendWindow window, TBackendWindowState state) {
  if (WindowInfo* info = Find(window)) info->state = state;
}

void THeadlessBackend::Activate(TBackendWindow window) {
  WindowInfo* info = Find(window);
  if (!info || active_ == window) return;
  TBackendWindow old = active_;
  active_ = window;
  stack_.erase(std::remove(stack_.begin(), stack_.end(), window), stack_.end());
  stack_.push_back(window);
  // The sinks may destroy windows, so each is looked up again.
  if (WindowInfo* previous = Find(old)) previous->sink->BackendActivate(false);
  if (WindowInfo* now = Find(window); now && active_ == window) now->sink->BackendActivate(true);
}

void THeadlessBackend::Present(TBackendWindow window, const TBitmap& backBuffer, const TRect& dirty) {
  WindowInfo* info = Find(window);
  if (!info) return;
  const TRect whole = Rect(0, 0, backBuffer.Width(), backBuffer.Height());
  TRect r;
  const bool meets = IntersectRect(r, dirty, whole);
  if (info->shown.Width() != backBuffer.Width() || info->shown.Height() != backBuffer.Height()) {
    if (info->shown.Empty())  // a first picture that the copy below overwrites whole needs no white
      SizeFromSpares(info->shown, whole.Width(), whole.Height(), r == whole ? TSparePixels::Stale : TSparePixels::White);
    else
      info->shown.SetSize(whole.Width(), whole.Height());
  }
  if (!meets) return;
  for (int y = r.Top; y < r.Bottom; ++y)
    std::copy(backBuffer.ScanLine(y) + r.Left, backBuffer.ScanLine(y) + r.Right, info->shown.ScanLine(y) + r.Left);
}

void THeadlessBackend::SetShape(TBackendWindow window, std::span<const TPoint> outline) {
  if (WindowInfo* info = Find(window)) info->shape.assign(outline.begin(), outline.end());
}

void THeadlessBackend::SetCursor(TBackendWindow window, TBackendCursor cursor) {
  if (WindowInfo* info = Find(window)) {
    info->cursor = cursor;
    info->cursorImage = nullptr;
  }
}

void THeadlessBackend::SetCursorImage(TBackendWindow window, const CursorImage& image) {
  if (WindowInfo* info = Find(window)) info->cursorImage = &image;
}

void THeadlessBackend::SetCapture(TBackendWindow window) { capture_ = window; }

void THeadlessBackend::ReleaseCapture() { capture_ = {}; }

void THeadlessBackend::SetClipboard(std::string_view format, std::string_view data, TClipboardWrite mode) {
  if (mode == TClipboardWrite::Replace) clipboard_.clear();
  clipboard_[std::string(format)] = std::string(data);
}

std::optional<std::string> THeadlessBackend::GetClipboard(std::string_view format) {
  auto it = clipboard_.find(format);
  if (it == clipboard_.end()) return std::nullopt;
  return it->second;
}

bool THeadlessBackend::HasClipboardFormat(std::string_view format) { return clipboard_.find(format) != clipboard_.end(); }

void THeadlessBackend::ClearClipboard() { clipboard_.clear(); }

void THeadlessBackend::SetScreen(const TRect& screen, const TRect& workArea) {
  screen_ = screen;
  workArea_ = workArea;
}

void THeadlessBackend::SetKeyToggled(int virtualKey, bool on) {
  if (on)
    toggled_.insert(virtualKey);
  else
    toggled_.erase(virtualKey);
}

void THeadlessBackend::KeyDown(int virtualKey, unsigned shift) {
  Queue([this, virtualKey, shift] {
    if (WindowInfo* info = Find(active_)) info->sink->BackendKeyDown(virtualKey, shift, false);
  });
}

void THeadlessBackend::KeyUp(int virtualKey, unsigned shift) {
  Queue([this, virtualKey, shift] {
    if (WindowInfo* info = Find(active_)) info->sink->BackendKeyUp(virtualKey, shift);
  });
}

void THeadlessBackend::Char(std::string_view utf8, unsigned shift) {
  Queue([this, text = std::string(utf8), shift] {
    if (WindowInfo* info = Find(active_)) info->sink->BackendChar(text, shift);
  });
}

void THeadlessBackend::PressKey(int virtualKey, unsigned shift, std::string_view utf8) {
  KeyDown(virtualKey, shift);
  if (!utf8.empty()) Char(utf8, shift);
  KeyUp(virtualKey, shift);
}

void THeadlessBackend::MouseMove(TPoint screen, unsigned shift) {
  Queue([this, screen, shift] {
    TPoint client;
    if (IBackendWindowSink* sink = PointerTo(screen, client)) sink->BackendMouseMove(client, shift);
  });
}

void THeadlessBackend::MouseDown(TMouseButtonKind button, TPoint screen, unsigned shift) {
  Queue([this, button, screen, shift] {
    TPoint client;
    if (IBackendWindowSink* sink = PointerTo(screen, client)) sink->BackendMouseDown(button, client, shift);
  });
}

void THeadlessBackend::MouseUp(TMouseButtonKind button, TPoint screen, unsigned shift) {
  Queue([this, button, screen, shift] {
    TPoint client;
    if (IBackendWindowSink* sink = PointerTo(screen, client)) sink->BackendMouseUp(button, client, shift);
  });
}

void THeadlessBackend::Click(TPoint screen, TMouseButtonKind button, unsigned shift) {
  MouseMove(screen, shift);
  MouseDown(button, screen, shift);
  MouseUp(button, screen, shift);
}

void THeadlessBackend::DoubleClick(TPoint screen, unsigned shift) {
  Click(screen, TMouseButtonKind::Left, shift);
  MouseDown(TMouseButtonKind::Left, screen, shift | bsDouble);
  MouseUp(TMouseButtonKind::Left, screen, shift);
}

void THeadlessBackend::MouseWheel(int delta, TPoint screen, unsigned shift) {
  Queue([this, delta, screen, shift] {
    TPoint client;
    if (IBackendWindowSink* sink = PointerTo(screen, client)) sink->BackendMouseWheel(delta, client, shift);
  });
}

void THeadlessBackend::UserSetBounds(TBackendWindow window, const TRect& bounds, TBackendWindowState state) {
  Queue([this, window, bounds, state] {
    WindowInfo* info = Find(window);
    if (!info) return;
    info->bounds = bounds;
    info->state = state;
    info->sink->BackendBoundsChanged(bounds, state);
  });
}

void THeadlessBackend::CloseBox(TBackendWindow window) {
  Queue([this, window] {
    if (WindowInfo* info = Find(window)) info->sink->BackendCloseRequest();
  });
}

void THeadlessBackend::Run(std::function<void()> step) { Queue(std::move(step)); }

const THeadlessBackend::WindowInfo& THeadlessBackend::Info(TBackendWindow window) const {
  auto it = windows_.find(static_cast<uint64_t>(window));
  if (it == windows_.end()) throw EComponentError("No such headless window");
  return it->second;
}

void THeadlessBackend::SaveScreenshot(TBackendWindow window, const std::string& fileName) const {
  SavePngFile(Info(window).shown, fileName);
}

void THeadlessBackend::Queue(std::function<void()> event) {
  if (pump_.Handle() == HWND{})
    pump_ = WindowHandle("THeadlessInput", "", WindowKind::Hidden, [this](TMessage& message) {
      if (message.Msg == kDeliverInput) DeliverNext();
    });
  input_.push_back(std::move(event));
  PostMessage(pump_.Handle(), kDeliverInput, 0, 0);
}

void THeadlessBackend::DeliverNext() {
  if (input_.empty()) return;
  std::function<void()> event = std::move(input_.front());
  input_.pop_front();
  event();
}

THeadlessBackend::WindowInfo* THeadlessBackend::Find(TBackendWindow window) {
  auto it = windows_.find(static_cast<uint64_t>(window));
  return it == windows_.end() ? nullptr : &it->second;
}

TBackendWindow THeadlessBackend::WindowAt(TPoint screen) const {
  // Pop-ups lie above forms; within each kind the later in the stack is above.
  for (TBackendWindowKind kind : {TBackendWindowKind::Popup, TBackendWindowKind::Form})
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
      const WindowInfo& info = windows_.at(static_cast<uint64_t>(*it));
      if (info.visible && info.params.kind == kind && PtInRect(info.bounds, screen)) return *it;
    }
  return {};
}

TBackendWindow THeadlessBackend::MouseTarget(TPoint screen) const {
  return capture_ != TBackendWindow{} ? capture_ : WindowAt(screen);
}

IBackendWindowSink* THeadlessBackend::PointerTo(TPoint screen, TPoint& client) {
  cursor_ = screen;
  TBackendWindow target = MouseTarget(screen);
  TBackendWindow under = WindowAt(screen);
  if (underPointer_ != under) {
    TBackendWindow left = std::exchange(underPointer_, under);
    if (WindowInfo* info = Find(left); info && left != capture_) info->sink->BackendMouseLeave();
  }
  WindowInfo* info = Find(target);
  if (!info) return nullptr;
  client = ToClient(info->bounds, screen);
  return info->sink;
}

THeadlessBackend& HeadlessBackend() {
  auto* headless = dynamic_cast<THeadlessBackend*>(&Backend());
  if (!headless) throw EComponentError("The headless backend is not installed");
  return *headless;
}

}  // namespace platform
