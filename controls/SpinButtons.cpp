#include "controls/SpinButtons.h"

#include "platform/gfx/Gdi.h"
#include "platform/ui/VirtualKeys.h"

namespace controls {

using platform::TMouseButton;
using platform::TShiftState;

namespace {

constexpr platform::UINT kFirstRepeatMs = 400;
constexpr platform::UINT kRepeatMs = 100;

// A black triangle of 7 x 4 pixels pointing up or down on a white ground (the bottom-left pixel, the
// transparent colour), as the glyph of a spin button.
void DrawArrowGlyph(platform::TBitmap& glyph, bool up) {
  glyph.SetSize(7, 5);
  platform::TCanvas& canvas = glyph.Canvas();
  canvas.Brush().SetColor(platform::clWhite);
  canvas.FillRect({0, 0, 7, 5});
  for (int row = 0; row < 4; ++row) {
    const int half = up ? row : 3 - row;
    for (int x = 3 - half; x <= 3 + half; ++x) glyph.ScanLine(row)[x] = 0xFF000000;
  }
}

}  // namespace

TSpinRepeatButton::TSpinRepeatButton(platform::TComponent* AOwner)
    : TSpeedButton(AOwner), timer_(new platform::TTimer(this)) {
  timer_->SetEnabled(false);
  timer_->OnTimer = [this](platform::TObject*) { Repeat(); };
}

void TSpinRepeatButton::SetButtonKind(TSpinButtonKind value) {
  kind_ = value;
  if (kind_ == sbkUpGlyph || kind_ == sbkDownGlyph) {
    platform::TBitmap glyph;
    DrawArrowGlyph(glyph, kind_ == sbkUpGlyph);
    SetGlyph(glyph);
  }
  Invalidate();
}

void TSpinRepeatButton::Paint() {
  if (kind_ == sbkUpGlyph || kind_ == sbkDownGlyph) {
    TSpeedButton::Paint();
    return;
  }
  unsigned state = kind_ == sbkLeftArrow ? platform::DFCS_SCROLLLEFT : platform::DFCS_SCROLLRIGHT;
  if (State() == platform::TButtonState::bsDown) state |= platform::DFCS_PUSHED;
  if (Flat()) state |= platform::DFCS_FLAT;
  if (!Enabled()) state |= platform::DFCS_INACTIVE;
  platform::TRect r = ClientRect();
  platform::DrawFrameControl(Canvas().Handle(), r, platform::DFC_SCROLL, state);
}

void TSpinRepeatButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft || !Enabled() || !repeatAllowed_) return;
  timer_->SetInterval(kFirstRepeatMs);
  timer_->SetEnabled(true);
}

void TSpinRepeatButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  timer_->SetEnabled(false);
  TSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TSpinRepeatButton::Repeat() {
  timer_->SetInterval(kRepeatMs);
  if (State() == platform::TButtonState::bsDown && MouseCapture()) {
    Click();
  } else if (!MouseCapture()) {
    timer_->SetEnabled(false);
  }
}

TSpinButtonPair::TSpinButtonPair(platform::TComponent* AOwner) : TWinControl(AOwner) {
  SetTabStop(false);
  SetBounds(0, 0, 15, 25);
}

void TSpinButtonPair::SetButtons(TSpinRepeatButton* up, TSpinRepeatButton* down) {
  up_ = up;
  down_ = down;
  for (TSpinRepeatButton* button : {up_, down_}) {
    button->SetParent(this);
    button->OnMouseDown = [this, button](platform::TObject*, TMouseButton mouse, TShiftState, int, int) {
      if (mouse == TMouseButton::mbLeft) Pressed(button);
    };
  }
  up_->OnClick = [this](platform::TObject*) {
    if (OnUpClick) OnUpClick(this);
  };
  down_->OnClick = [this](platform::TObject*) {
    if (OnDownClick) OnDownClick(this);
  };
  focused_ = up_;
  SetDirection(direction_);
}

void TSpinButtonPair::Dispatch(platform::TMessage& Message) {
  if (Message.Msg == platform::WM_GETDLGCODE) {
    Message.Result = platform::DLGC_WANTARROWS;
    return;
  }
  TWinControl::Dispatch(Message);
}

void TSpinButtonPair::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  LayoutButtons();
}

void TSpinButtonPair::SetUpGlyph(const platform::TBitmap& value) { up_->SetGlyph(value); }
void TSpinButtonPair::SetDownGlyph(const platform::TBitmap& value) { down_->SetGlyph(value); }

void TSpinButtonPair::SetDirection(TSpinDirection value) {
  direction_ = value;
  if (!up_) return;
  const bool vertical = direction_ == spVertical;
  up_->SetButtonKind(vertical ? sbkUpGlyph : sbkRightArrow);
  down_->SetButtonKind(vertical ? sbkDownGlyph : sbkLeftArrow);
  SetBounds(Left(), Top(), vertical ? 15 : 20, Height());
}

void TSpinButtonPair::SetFocusControl(platform::TWinControl* value) {
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = value;
  if (focusControl_) focusControl_->FreeNotification(this);
}

void TSpinButtonPair::KeyDown(platform::WORD& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  if (Key == platform::VK_SPACE && focused_) focused_->Click();
}

void TSpinButtonPair::Notification(platform::TComponent* AComponent, platform::TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == platform::TOperation::opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TSpinButtonPair::Pressed(TSpinRepeatButton* button) {
  focused_ = button;
  if (focusControl_ && focusControl_->CanFocus() && !focusControl_->Focused()) focusControl_->SetFocus();
}

void TSpinButtonPair::LayoutButtons() {
  if (!up_) return;
  if (direction_ == spVertical) {
    const int half = Height() / 2;
    up_->SetBounds(0, 0, Width(), half);
    down_->SetBounds(0, half, Width(), Height() - half);
  } else {
    const int half = Width() / 2;
    down_->SetBounds(0, 0, half, Height());
    up_->SetBounds(half, 0, Width() - half, Height());
  }
}

}  // namespace controls
