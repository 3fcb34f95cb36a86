#include <utility>

#include "platform/app/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/TopLevelWindow.h"
#include "platform/ui/WindowScrollBars.h"

// What a press on a scroll bar does: an arrow or the track beside the thumb sends its line or page code
// at once and again on the repeat timer while the mouse stays on that part; the thumb follows the mouse
// and reports every new position. The bars hold the mouse capture meanwhile.

namespace platform {

namespace {

// The repeat timer of the bars, among the window's timers.
constexpr UINT_PTR kRepeatTimerId = 0xFFF0;
constexpr UINT kFirstRepeatMs = 200;
constexpr UINT kRepeatMs = 50;

WORD CodeOf(TScrollBarPart part) {
  switch (part) {
    case TScrollBarPart::ArrowBack: return SB_LINEUP;
    case TScrollBarPart::ArrowForward: return SB_LINEDOWN;
    case TScrollBarPart::PageBack: return SB_PAGEUP;
    default: return SB_PAGEDOWN;
  }
}

bool IsMouseButton(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN ||
         msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP ||
         msg == WM_MBUTTONDBLCLK;
}

}  // namespace

bool TWindowScrollBars::HandleMessage(TMessage& Message) {
  const TPoint at{LParamX(Message.LParam), LParamY(Message.LParam)};
  // A drag that the control itself started (it holds the capture) keeps its mouse messages.
  const bool ownDrag = trackedBar_ < 0 && control_.MouseCapture();
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam != kRepeatTimerId) return false;
      Repeat();
      return true;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      EndTracking(true);
      return false;
    case WM_SETCURSOR: {
      if (trackedBar_ < 0 && !Covers(control_.ScreenToClient(Backend().CursorPos()))) return false;
      if (TTopLevelWindow* top = TopLevelOf(&control_)) Backend().SetCursor(top->Window(), TBackendCursor::Arrow);
      Message.Result = 1;
      return true;
    }
    case WM_MOUSEMOVE:
      if (trackedBar_ >= 0) {
        Move(at);
        return true;
      }
      if (ownDrag) return false;
      TrackHot(at);
      return Covers(at);
    case CM_MOUSELEAVE:
      SetHot(-1, TScrollBarPart::None);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (trackedBar_ >= 0) return true;
      if (ownDrag || !Covers(at)) return false;
      Press(at);
      return true;
    case WM_LBUTTONUP:
      if (trackedBar_ >= 0) {
        Release();
        return true;
      }
      return !ownDrag && Covers(at);
    default:
      return IsMouseButton(Message.Msg) && (trackedBar_ >= 0 || (!ownDrag && Covers(at)));
  }
}

bool TWindowScrollBars::Press(TPoint p) {
  for (int bar : {SB_HORZ, SB_VERT, SB_CTL}) {
    if (!Visible(bar)) continue;
    const TScrollBarLayout layout = Layout(bar);
    const TScrollBarPart part = layout.PartAt(p);
    if (part == TScrollBarPart::None) continue;
    const TScrollBarInfo& info = Info(bar);
    if (!control_.Enabled() || !info.Scrollable()) return false;
    if ((part == TScrollBarPart::ArrowBack && (info.DisabledArrows() & ESB_DISABLE_LTUP)) ||
        (part == TScrollBarPart::ArrowForward && (info.DisabledArrows() & ESB_DISABLE_RTDN)))
      return false;
    TComponent::TGuard guard(control_);
    if (bar == SB_CTL && control_.TabStop() && control_.CanFocus() && !control_.Focused()) {
      control_.SetFocus();
      if (guard.Gone()) return false;
    }
    trackedBar_ = bar;
    pressed_ = part;
    mouse_ = p;
    repeating_ = false;
    control_.SetMouseCapture(true);
    InvalidateBar(bar);
    if (part == TScrollBarPart::Thumb) {
      grip_ = layout.Along(p) - layout.ThumbStart();
      Info(bar).BeginTrack();
      return true;
    }
    SetTimer(control_.Handle(), kRepeatTimerId, kFirstRepeatMs);
    Send(bar, CodeOf(part), 0);
    return guard.Alive();
  }
  return false;
}

void TWindowScrollBars::Move(TPoint p) {
  const int bar = trackedBar_;
  const TScrollBarLayout before = Layout(bar);
  const bool wasOver = before.PartAt(mouse_) == pressed_;
  mouse_ = p;
  if (pressed_ != TScrollBarPart::Thumb) {
    if (wasOver != (before.PartAt(p) == pressed_)) InvalidateBar(bar);
    return;
  }
  TScrollBarInfo& info = Info(bar);
  const int position = before.PositionAt(before.Along(p) - grip_);
  if (position == info.TrackPos()) return;
  info.Track(position);
  InvalidateBar(bar);
  Send(bar, SB_THUMBTRACK, position);
}

void TWindowScrollBars::Release() {
  if (pressed_ == TScrollBarPart::Thumb) {
    TComponent::TGuard guard(control_);
    Send(trackedBar_, SB_THUMBPOSITION, Info(trackedBar_).TrackPos());
    if (guard.Gone()) return;
  }
  EndTracking(true);
}

void TWindowScrollBars::Repeat() {
  if (trackedBar_ < 0 || pressed_ == TScrollBarPart::Thumb) {
    KillTimer(control_.Handle(), kRepeatTimerId);
    return;
  }
  if (!repeating_) {
    repeating_ = true;
    SetTimer(control_.Handle(), kRepeatTimerId, kRepeatMs);
  }
  // The page repeats until the thumb reaches the mouse.
  if (Layout(trackedBar_).PartAt(mouse_) == pressed_) Send(trackedBar_, CodeOf(pressed_), 0);
}

void TWindowScrollBars::Send(int bar, WORD code, int pos) {
  const UINT msg = IsVertical(bar) ? WM_VSCROLL : WM_HSCROLL;
  const WPARAM wParam = code | (static_cast<WPARAM>(static_cast<uint16_t>(pos)) << 16);
  if (bar != SB_CTL) {
    control_.Perform(msg, wParam, 0);
  } else if (TWinControl* parent = control_.Parent()) {
    parent->Perform(msg, wParam, static_cast<LPARAM>(control_.Handle()));
  }
}

void TWindowScrollBars::EndTracking(bool notify) {
  const int bar = std::exchange(trackedBar_, -1);
  if (bar < 0) return;
  KillTimer(control_.Handle(), kRepeatTimerId);
  Info(bar).EndTrack();
  pressed_ = TScrollBarPart::None;
  InvalidateBar(bar);
  TComponent::TGuard guard(control_);
  if (control_.MouseCapture()) control_.SetMouseCapture(false);
  if (notify && guard.Alive()) Send(bar, SB_ENDSCROLL, 0);
}

}  // namespace platform
