#include "platform/ui/TopLevelWindow.h"

#include <algorithm>

#include "platform/core/Utf8.h"
#include "platform/gfx/Gdi.h"
#include "platform/app/Application.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/ui/DragDrop.h"
#include "platform/app/MessageQueue.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SpareBuffers.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

TBackendWindowParams WindowParams(TWinControl& control, const TCreateParams& params) {
  TBackendWindowParams result;
  bool popup = !dynamic_cast<TCustomForm*>(&control);
  result.kind = popup ? TBackendWindowKind::Popup : TBackendWindowKind::Form;
  result.caption = params.Caption;
  result.className = params.WinClassName;
  result.bounds = Bounds(params.X, params.Y, params.Width, params.Height);
  if (params.ExStyle & WS_EX_TOOLWINDOW)
    result.border = TBackendBorder::ToolWindow;
  else if (params.Style & WS_THICKFRAME)
    result.border = TBackendBorder::Sizeable;
  else if (params.Style & WS_CAPTION)
    result.border = TBackendBorder::Dialog;
  else
    result.border = TBackendBorder::None;
  result.minimizeBox = (params.Style & WS_MINIMIZEBOX) != 0;
  result.maximizeBox = (params.Style & WS_MAXIMIZEBOX) != 0;
  if (TWinControl* owner = FindControl(params.WndParent)) result.owner = owner->BackendWindow();
  const TSizeConstraints& limits = control.Constraints();
  result.minSize = {limits.MinWidth(), limits.MinHeight()};
  result.maxSize = {limits.MaxWidth(), limits.MaxHeight()};
  if (auto* form = dynamic_cast<TCustomForm*>(&control)) result.modal = form->FormState().Contains(TFormStateFlag::fsModal);
  return result;
}

// Input goes to its control at once, through the application's message hooks.
void Deliver(TWinControl* target, UINT msg, WPARAM wParam, LPARAM lParam) {
  MSG message{target->Handle(), msg, wParam, lParam, GetTickCount()};
  Application().DeliverMessage(message);
}

WPARAM MouseKeys(unsigned shift) {
  WPARAM keys = 0;
  if (shift & bsLeft) keys |= MK_LBUTTON;
  if (shift & bsRight) keys |= MK_RBUTTON;
  if (shift & bsMiddle) keys |= MK_MBUTTON;
  if (shift & bsShift) keys |= MK_SHIFT;
  if (shift & bsCtrl) keys |= MK_CONTROL;
  return keys;
}

unsigned ButtonBit(TMouseButtonKind button) {
  switch (button) {
    case TMouseButtonKind::Left: return bsLeft;
    case TMouseButtonKind::Right: return bsRight;
    default: return bsMiddle;
  }
}

UINT ButtonMessage(TMouseButtonKind button, bool down, bool doubleClick) {
  UINT base = button == TMouseButtonKind::Left ? WM_LBUTTONDOWN
              : button == TMouseButtonKind::Right ? WM_RBUTTONDOWN
                                                  : WM_MBUTTONDOWN;
  return !down ? base + 1 : doubleClick ? base + 2 : base;
}

}  // namespace

std::vector<TTopLevelWindow*>& TTopLevelWindow::All() {
  // Never destroyed: the application's windows may go while the program's statics are destroyed.
  static auto* windows = new std::vector<TTopLevelWindow*>;
  return *windows;
}

TTopLevelWindow::TTopLevelWindow(TWinControl& control, const TCreateParams& params) : control_(control) {
  // The loop paints the dirty windows whenever it runs out of messages, from the first window on.
  [[maybe_unused]] static const bool painterInstalled = (Application().SetIdleHook(PaintDirtyWindows), true);
  window_ = Backend().CreateWindow(WindowParams(control, params), *this);
  All().push_back(this);
  if (HoldsDropTarget(*this)) Backend().SetDropTarget(window_, true);
}

TTopLevelWindow::~TTopLevelWindow() {
  All().erase(std::remove(All().begin(), All().end(), this), All().end());
  Backend().DestroyWindow(window_);
  KeepSpareBuffer(backBuffer_);
}

void TTopLevelWindow::AddDirty(const TRect& r) {
  TRect clipped;
  if (!IntersectRect(clipped, r, Rect(0, 0, control_.Width(), control_.Height()))) return;
  dirty_.Unite(Region(clipped));
}

void TTopLevelWindow::Paint() {
  if (!control_.Showing()) {
    dirty_ = Region();  // showing it again marks all of it
    return;
  }
  if (dirty_.Empty()) return;
  if (backBuffer_.Width() != control_.Width() || backBuffer_.Height() != control_.Height()) {
    if (backBuffer_.Empty())
      SizeFromSpares(backBuffer_, control_.Width(), control_.Height(), TSparePixels::White);
    else
      backBuffer_.SetSize(control_.Width(), control_.Height());
    dirty_ = Region(Rect(0, 0, control_.Width(), control_.Height()));
  }
  Region dirty = std::move(dirty_);
  dirty_ = Region();
  TRect box = dirty.Box();
  TComponent::TGuard guard(control_);
  PaintControl(control_, dirty, Rect(0, 0, control_.Width(), control_.Height()));
  if (guard.Alive()) Backend().Present(window_, backBuffer_, box);
}

void TTopLevelWindow::PaintControl(TWinControl& control, const Region& dirty, const TRect& visible) {
  TPoint origin = WindowOriginInTop(&control);
  TRect outer;
  if (!IntersectRect(outer, Bounds(origin.X, origin.Y, control.Width(), control.Height()), visible)) return;
  Region area(outer);
  area.Intersect(dirty);
  if (area.Empty()) return;
  TComponent::TGuard guard(control);
  TControlCanvas& canvas = control.ControlCanvas();
  int inset = control.BorderInset();
  if (control.HasNonClientArea()) {
    BindCanvas(canvas, PaintClip{&backBuffer_, area, origin});
    control.Perform(WM_NCPAINT, reinterpret_cast<WPARAM>(static_cast<TCanvas*>(&canvas)));
    if (guard.Gone()) return;
  }
  TPoint client{origin.X + inset, origin.Y + inset};
  TRect inner;
  if (!IntersectRect(inner, Bounds(client.X, client.Y, control.ClientWidth(), control.ClientHeight()), outer)) return;
  Region own(inner);
  own.Intersect(dirty);
  std::vector<TWinControl*> children;
  for (int i = 0; i < control.ControlCount(); ++i)
    if (auto* child = dynamic_cast<TWinControl*>(control.Controls(i)); child && child->Visible()) {
      children.push_back(child);
      own.Subtract(Region(Bounds(client.X + child->Left(), client.Y + child->Top(), child->Width(), child->Height())));
    }
  if (!own.Empty()) {
    PaintClip clip{&backBuffer_, own, client};
    BindCanvas(canvas, clip);
    control.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<TCanvas*>(&canvas)));
    if (guard.Gone()) return;
    BindCanvas(canvas, clip);
    control.paintClip_ = &clip;  // for the control's graphic children, during this WM_PAINT only
    try {
      control.Perform(WM_PAINT, reinterpret_cast<WPARAM>(static_cast<TCanvas*>(&canvas)));
    } catch (...) {
      if (guard.Alive()) control.paintClip_ = nullptr;
      throw;
    }
    if (guard.Gone()) return;
    control.paintClip_ = nullptr;
  }
  for (TWinControl* child : children) {
    if (guard.Gone()) return;
    if (child->Parent() == &control) PaintControl(*child, dirty, inner);
  }
}

void BindCanvas(TCanvas& canvas, const PaintClip& clip) {
  canvas.SetTarget(*clip.buffer);
  HDC dc = canvas.Handle();
  SetViewportOrgEx(dc, clip.origin.X, clip.origin.Y);
  TRect box = clip.region.Box();
  OffsetRect(box, -clip.origin.X, -clip.origin.Y);
  IntersectClipRect(dc, box.Left, box.Top, box.Right, box.Bottom);
  if (clip.region.IsRect()) return;
  Region holes(clip.region.Box());
  holes.Subtract(clip.region);
  holes.ForEachRect([&](TRect r) {
    OffsetRect(r, -clip.origin.X, -clip.origin.Y);
    ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
  });
}

TTopLevelWindow* TopLevelOf(const TControl* control) {
  const TControl* root = control;
  while (root->Parent()) root = root->Parent();
  auto* windowed = dynamic_cast<const TWinControl*>(root);
  return windowed ? windowed->topLevel_.get() : nullptr;
}

TPoint WindowOriginInTop(const TControl* control) {
  if (!control->Parent()) return {0, 0};
  const TWinControl* parent = control->Parent();
  TPoint origin = WindowOriginInTop(parent);
  int inset = parent->BorderInset();
  return {origin.X + inset + control->Left(), origin.Y + inset + control->Top()};
}

bool PaintDirtyWindows() {
  bool painted = false;
  std::vector<TTopLevelWindow*> windows = TTopLevelWindow::All();
  for (TTopLevelWindow* window : windows) {
    auto& all = TTopLevelWindow::All();
    if (std::find(all.begin(), all.end(), window) == all.end() || !window->IsDirty()) continue;
    painted = window->IsShowing() || painted;
    window->Paint();
  }
  return painted;
}

TWinControl* TTopLevelWindow::KeyTarget() const {
  if (!control_.Enabled()) return nullptr;
  if (auto* form = dynamic_cast<TCustomForm*>(&control_)) {
    if (TWinControl* focused = Screen().FocusedControl(); focused && GetParentForm(focused) == form) return focused;
    return form;
  }
  return &control_;
}

TWinControl* TTopLevelWindow::MouseTarget(TPoint windowPoint, TPoint& client) const {
  TWinControl* target = nullptr;
  TControl* capture = GetCaptureControl();
  if (capture && TopLevelOf(capture) == this) {
    target = dynamic_cast<TWinControl*>(capture);
    if (!target) target = capture->Parent();
  } else {
    target = &control_;
    TPoint screen{control_.Left() + windowPoint.X, control_.Top() + windowPoint.Y};
    for (;;) {
      TControl* child = target->ControlAtPos(target->ScreenToClient(screen), true, true);
      auto* windowed = dynamic_cast<TWinControl*>(child);
      if (!windowed) break;
      target = windowed;
    }
  }
  TPoint origin = WindowOriginInTop(target);
  int inset = target->BorderInset();
  client = {windowPoint.X - origin.X - inset, windowPoint.Y - origin.Y - inset};
  return target;
}

void TTopLevelWindow::PostMouse(UINT msg, TPoint windowPoint, unsigned shift) {
  TPoint client;
  TWinControl* target = MouseTarget(windowPoint, client);
  // A disabled window takes no mouse input, as neither does one inside a disabled parent.
  for (TControl* c = target; c; c = c->Parent())
    if (!c->Enabled()) return;
  TComponent::TGuard guard(*target);
  if (msg == WM_MOUSEMOVE) Deliver(target, WM_SETCURSOR, 0, HTCLIENT);
  if (guard.Alive()) Deliver(target, msg, MouseKeys(shift), PointToLParam(client.X, client.Y));
}

void TTopLevelWindow::BackendKeyDown(int virtualKey, unsigned shift, bool repeat) {
  RecordInputShift(shift);
  RecordKey(virtualKey, true);
  if (DragKey(virtualKey, true, MouseKeys(shift))) return;
  UINT msg = (shift & bsAlt) && !(shift & bsCtrl) ? WM_SYSKEYDOWN : WM_KEYDOWN;
  LPARAM data = ((shift & bsAlt) ? LPARAM{1} << 29 : 0) | (repeat ? LPARAM{1} << 30 : 0) | 1;
  if (TWinControl* target = KeyTarget()) Deliver(target, msg, static_cast<WPARAM>(virtualKey), data);
}

void TTopLevelWindow::BackendKeyUp(int virtualKey, unsigned shift) {
  RecordInputShift(shift);
  RecordKey(virtualKey, false);
  if (DragKey(virtualKey, false, MouseKeys(shift))) return;
  UINT msg = (shift & bsAlt) && !(shift & bsCtrl) ? WM_SYSKEYUP : WM_KEYUP;
  LPARAM data = ((shift & bsAlt) ? LPARAM{1} << 29 : 0) | (LPARAM{3} << 30) | 1;
  if (TWinControl* target = KeyTarget()) Deliver(target, msg, static_cast<WPARAM>(virtualKey), data);
}

void TTopLevelWindow::BackendChar(std::string_view utf8, unsigned shift) {
  RecordInputShift(shift);
  if (utf8.empty()) return;
  // Bytes that are no well-formed character (cut, overlong, a surrogate, beyond U+10FFFF) type nothing.
  const CodePoint typed = DecodeCodePoint(utf8, 0);
  TWinControl* target = KeyTarget();
  // The keypad's decimal key is told apart from the main keyboard's by its scan code.
  const LPARAM scanCode = GetKeyState(VK_DECIMAL) < 0 ? LPARAM{kKeypadDecimalScanCode} << 16 : 0;
  if (target && typed.valid && typed.value != 0) Deliver(target, WM_CHAR, typed.value, scanCode | 1);
}

void TTopLevelWindow::BackendMouseDown(TMouseButtonKind button, TPoint client, unsigned shift) {
  RecordInputShift((shift & ~bsDouble) | ButtonBit(button));
  if (DragMouseInput(ScreenPoint(client), MouseKeys((shift & ~bsDouble) | ButtonBit(button)))) return;
  TComponent::TGuard guard(control_);  // activation runs the form's handlers, which may free it
  if (auto* form = dynamic_cast<TCustomForm*>(&control_); form && !form->Active() && form->Enabled())
    Backend().Activate(window_);
  if (guard.Alive()) PostMouse(ButtonMessage(button, true, shift & bsDouble), client, (shift & ~bsDouble) | ButtonBit(button));
}

void TTopLevelWindow::BackendMouseUp(TMouseButtonKind button, TPoint client, unsigned shift) {
  RecordInputShift(shift & ~ButtonBit(button));
  if (DragMouseInput(ScreenPoint(client), MouseKeys(shift & ~ButtonBit(button)))) return;
  PostMouse(ButtonMessage(button, false, false), client, shift & ~ButtonBit(button));
}

void TTopLevelWindow::BackendMouseMove(TPoint client, unsigned shift) {
  RecordInputShift(shift);
  TPoint screen{control_.Left() + client.X, control_.Top() + client.Y};
  if (DragMouseInput(screen, MouseKeys(shift))) return;
  TComponent::TGuard guard(control_);  // a mouse-enter or -leave handler may free the window's control
  ApplicationHints().UpdateMouseControl(FindDragTarget(screen, true));
  if (guard.Alive()) PostMouse(WM_MOUSEMOVE, client, shift);
}

void TTopLevelWindow::BackendMouseWheel(int delta, TPoint client, unsigned shift) {
  RecordInputShift(shift);
  TPoint screen{control_.Left() + client.X, control_.Top() + client.Y};
  WPARAM wParam = (static_cast<WPARAM>(static_cast<uint16_t>(delta)) << 16) | MouseKeys(shift);
  if (TWinControl* target = KeyTarget()) Deliver(target, WM_MOUSEWHEEL, wParam, PointToLParam(screen.X, screen.Y));
}

void TTopLevelWindow::BackendMouseLeave() { ApplicationHints().UpdateMouseControl(nullptr); }

void TTopLevelWindow::BackendBoundsChanged(const TRect& bounds, TBackendWindowState state) {
  if (auto* form = dynamic_cast<TCustomForm*>(&control_))
    form->BackendPlaced(bounds, state);
  else
    control_.SetBoundsRect(bounds);
}

void TTopLevelWindow::BackendExpose(const TRect& client) {
  if (backBuffer_.Width() == control_.Width() && backBuffer_.Height() == control_.Height())
    Backend().Present(window_, backBuffer_, client);
  else
    AddDirty(client);
}

void TTopLevelWindow::BackendActivate(bool active) {
  if (auto* form = dynamic_cast<TCustomForm*>(&control_))
    form->Perform(WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE);
}

void TTopLevelWindow::BackendCloseRequest() {
  if (control_.Enabled()) Deliver(&control_, WM_CLOSE, 0, 0);
}

unsigned TTopLevelWindow::BackendDragOver(IDataObject& data, TPoint client, unsigned keys, unsigned allowed) {
  return ForeignDragOver(*this, data, ScreenPoint(client), keys, allowed);
}

void TTopLevelWindow::BackendDragLeave() { ForeignDragLeave(*this); }

unsigned TTopLevelWindow::BackendDrop(IDataObject& data, TPoint client, unsigned keys, unsigned allowed) {
  return ForeignDrop(*this, data, ScreenPoint(client), keys, allowed);
}

TPoint TTopLevelWindow::ScreenPoint(TPoint client) const { return {control_.Left() + client.X, control_.Top() + client.Y}; }

}  // namespace platform
