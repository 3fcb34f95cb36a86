#include "platform/ui/DropDownWindow.h"

#include <algorithm>

#include "platform/ui/Backend.h"

namespace platform {

TRect DropDownBounds(const TRect& owner, TSize size, const TRect& screen) {
  const int roomBelow = screen.Bottom - owner.Bottom;
  const int roomAbove = owner.Top - screen.Top;
  const bool above = size.cy > roomBelow && (size.cy <= roomAbove || roomAbove > roomBelow);
  // Taller than the room on its side, it is cut to that room: no part opens off the screen.
  const int height = std::max(0, std::min(size.cy, above ? roomAbove : roomBelow));
  const int top = above ? owner.Top - height : owner.Bottom;
  const int left = std::max(screen.Left, std::min(owner.Left, screen.Right - size.cx));
  return Bounds(left, top, size.cx, height);
}

TRect ScreenBounds(const TControl& control) {
  const TPoint origin = control.Parent() ? control.Parent()->ClientToScreen({control.Left(), control.Top()})
                                         : TPoint{control.Left(), control.Top()};
  return Bounds(origin.X, origin.Y, control.Width(), control.Height());
}

TDropDownWindow::TDropDownWindow() : TCustomControl(nullptr) {
  SetControlStyle(ControlStyle() - TControlStyleFlag::csCaptureMouse - TControlStyleFlag::csClickEvents -
                  TControlStyleFlag::csDoubleClicks);
  SetVisible(false);
  SetParentColor(false);
  SetParentFont(false);
  SetColor(clWindow);
}

void TDropDownWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

TDropDownWindow::~TDropDownWindow() {
  if (open_) SetMouseCapture(false);
}

void TDropDownWindow::Open(const TRect& bounds) {
  SetBoundsRect(bounds);
  open_ = true;
  Show();
  SetMouseCapture(true);
}

void TDropDownWindow::Close() {
  if (!open_) return;
  open_ = false;
  SetMouseCapture(false);
  Hide();
  CloseUp();
}

void TDropDownWindow::WndProc(TMessage& Message) {
  if (open_ && (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK)) {
    // The window's scroll bars lie beside its client area: they take a press only while the window
    // itself holds no capture.
    const TPoint at{LParamX(Message.LParam), LParamY(Message.LParam)};
    const int inset = BorderInset();
    if (!PtInRect(ClientRect(), at) && PtInRect(Rect(-inset, -inset, Width() - inset, Height() - inset), at))
      SetMouseCapture(false);
  }
  TGuard guard(*this);
  TCustomControl::WndProc(Message);
  // Whatever took the capture meanwhile (a bar) has let go of it: the window takes it back (not while
  // it is told that it lost it, which happens as the bar takes it).
  if (guard.Alive() && open_ && !MouseCapture() && Message.Msg != WM_CAPTURECHANGED) SetMouseCapture(true);
}

void TDropDownWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP: {
      // With the capture every mouse message comes here, wherever the mouse is.
      const TPoint client{LParamX(Message.LParam), LParamY(Message.LParam)};
      if (PtInRect(ClientRect(), client)) {
        PopupMouse(Message.Msg == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : Message.Msg, client);
      } else if (Message.Msg != WM_MOUSEMOVE && Message.Msg != WM_LBUTTONUP) {
        Close();
      }
      return;
    }
    default:
      TCustomControl::Dispatch(Message);
  }
}

}  // namespace platform
