#include "platform/ui/StdCtrls.h"

#include "platform/core/Ascii.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/ClassicLook.h"
#include "platform/ui/Forms.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

// The box of a check box or radio button, and the gap between it and the caption.
constexpr int kBoxSize = 13;
constexpr int kBoxGap = 4;

}  // namespace

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyleFlag::csOpaque + TControlStyleFlag::csSetCaption);
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      AdjustBounds();
      return;
    case CM_DIALOGCHAR:
      if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(Message.WParam, Caption()) &&
          focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        Message.Result = 1;
      }
      return;
    default:
      TGraphicControl::Dispatch(Message);
  }
}

void TCustomLabel::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
  if (autoSize_ == value) return;
  autoSize_ = value;
  AdjustBounds();
}

void TCustomLabel::SetLayout(TTextLayout value) {
  if (layout_ == value) return;
  layout_ = value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
  if (Transparent() == value) return;
  SetControlStyle(value ? ControlStyle() - TControlStyleFlag::csOpaque : ControlStyle() + TControlStyleFlag::csOpaque);
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
  if (focusControl_ == value) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = value;
  if (value) value->FreeNotification(this);
}

void TCustomLabel::SetShowAccelChar(bool value) {
  if (showAccelChar_ == value) return;
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

unsigned TCustomLabel::TextFlags() const {
  unsigned flags = DT_EXPANDTABS | AlignmentFlag(alignment_);
  flags |= wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  return flags;
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || ComponentState().Contains(csLoading)) return;
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  const unsigned flags = TextFlags() & ~(DT_CENTER | DT_RIGHT);
  const TSize size = CaptionExtent(canvas, Caption(), flags, wordWrap_ ? Width() : 0);
  int left = Left();
  if (!wordWrap_ && alignment_ == TAlignment::taRightJustify) left += Width() - size.cx;
  if (!wordWrap_ && alignment_ == TAlignment::taCenter) left += (Width() - size.cx) / 2;
  SetBounds(left, Top(), wordWrap_ ? Width() : size.cx, size.cy);
}

void TCustomLabel::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  if (!Transparent()) {
    canvas.Brush().SetColor(Color());
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.FillRect(r);
  }
  canvas.SetFont(Font());
  const unsigned flags = TextFlags();
  if (layout_ != TTextLayout::tlTop) {
    const int textHeight = CaptionExtent(canvas, Caption(), flags & ~(DT_CENTER | DT_RIGHT), wordWrap_ ? r.Width() : 0).cy;
    const int spare = r.Height() - textHeight;
    r.Top += layout_ == TTextLayout::tlCenter ? spare / 2 : spare;
  }
  DrawCaption(canvas, Caption(), r, flags, Enabled());
}

TButtonControl::TButtonControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() - TControlStyleFlag::csSetCaption + TControlStyleFlag::csOpaque -
                  TControlStyleFlag::csDoubleClicks - TControlStyleFlag::csClickEvents);
  SetTabStop(true);
}

void TButtonControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
        SetFocus();
        Press();
        Message.Result = 1;
      }
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      if (Message.Msg == WM_KILLFOCUS) SetPressed(false);
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TButtonControl::SetAlignment(TLeftRight value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Invalidate();
}

void TButtonControl::SetPressed(bool value) {
  if (pressed_ == value) return;
  pressed_ = value;
  Invalidate();
}

void TButtonControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == TMouseButton::mbLeft) SetPressed(true);
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButtonControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (ControlState().Contains(TControlStateFlag::csLButtonDown)) SetPressed(PtInRect(ClientRect(), {X, Y}));
  TCustomControl::MouseMove(Shift, X, Y);
}

void TButtonControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const bool press = Button == TMouseButton::mbLeft && pressed_;
  if (Button == TMouseButton::mbLeft) SetPressed(false);
  TGuard guard(*this);
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (press && guard.Alive()) Press();
}

void TButtonControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_SPACE) {
    spaceDown_ = true;
    SetPressed(true);
  }
  TCustomControl::KeyDown(Key, Shift);
}

void TButtonControl::KeyUp(WORD& Key, TShiftState Shift) {
  TGuard guard(*this);
  TCustomControl::KeyUp(Key, Shift);
  if (guard.Gone() || Key != VK_SPACE || !std::exchange(spaceDown_, false)) return;
  SetPressed(false);
  Press();
}

void TButtonControl::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(client);
  const bool boxLeft = alignment_ == TLeftRight::taRightJustify;
  const int boxTop = (client.Height() - kBoxSize) / 2;
  const int boxLeftEdge = boxLeft ? 0 : client.Width() - kBoxSize;
  TRect box = Bounds(boxLeftEdge, boxTop, kBoxSize, kBoxSize);
  unsigned state = BoxState();
  if (pressed_) state |= DFCS_PUSHED;
  if (!Enabled()) state |= DFCS_INACTIVE;
  DrawFrameControl(canvas.Handle(), box, DFC_BUTTON, state);

  canvas.SetFont(Font());
  const TSize extent = CaptionExtent(canvas, Caption(), DT_SINGLELINE);
  const int textLeft = boxLeft ? kBoxSize + kBoxGap : std::max(0, client.Width() - kBoxSize - kBoxGap - extent.cx);
  const int textTop = (client.Height() - extent.cy) / 2;
  TRect text = Bounds(textLeft, textTop, extent.cx, extent.cy);
  DrawCaption(canvas, Caption(), text, DT_SINGLELINE | DT_LEFT, Enabled());
  if (Focused() && !Caption().empty()) {
    InflateRect(text, 1, 1);
    canvas.DrawFocusRect(text);
  }
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetParentColor(false);
  SetColor(clBtnFace);
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY: {
      const bool enter = Message.WParam == VK_RETURN && IsActiveDefault();
      const bool escape = Message.WParam == VK_ESCAPE && cancel_;
      if ((enter || escape) && CanFocus()) {
        Click();
        Message.Result = 1;
      }
      return;
    }
    default:
      break;
  }
  TButtonControl::Dispatch(Message);
}

void TButton::SetDefault(bool value) {
  if (default_ == value) return;
  default_ = value;
  Invalidate();
}

bool TButton::IsActiveDefault() const {
  if (Focused()) return true;
  if (!default_) return false;
  TCustomForm* form = GetParentForm(this);
  return !form || !dynamic_cast<TButton*>(form->ActiveControl());
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this); form && modalResult_ != mrNone) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

void TButton::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  const bool framed = IsActiveDefault() && Enabled();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  if (framed) {
    canvas.Brush().SetColor(clWindowFrame);
    canvas.FrameRect(r);
    InflateRect(r, -1, -1);
  }
  if (Pressed()) {
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(r);
    canvas.Brush().SetColor(clBtnShadow);
    canvas.FrameRect(r);
  } else {
    DrawFrameControl(canvas.Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
  canvas.SetFont(Font());
  TRect text = r;
  if (Pressed()) OffsetRect(text, 1, 1);
  DrawCaption(canvas, Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Enabled());
  if (Focused()) {
    TRect focus = r;
    InflateRect(focus, -3, -3);
    canvas.Brush().SetColor(clBtnFace);
    canvas.DrawFocusRect(focus);
  }
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::SetState(TCheckBoxState value) {
  if (state_ == value) return;
  state_ = value;
  Invalidate();
  TControl::Click();
}

void TCustomCheckBox::Press() {
  switch (state_) {
    case TCheckBoxState::cbUnchecked: SetState(TCheckBoxState::cbChecked); break;
    case TCheckBoxState::cbChecked:
      SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
      break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbUnchecked); break;
  }
}

unsigned TCustomCheckBox::BoxState() const {
  switch (state_) {
    case TCheckBoxState::cbChecked: return DFCS_BUTTONCHECK | DFCS_CHECKED;
    case TCheckBoxState::cbGrayed: return DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_PUSHED;  // a check on grey
    default: return DFCS_BUTTONCHECK;
  }
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  SetTabStop(value);
  Invalidate();
  if (!value) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
      if (sibling && sibling != this) sibling->SetChecked(false);
    }
  }
  TControl::Click();
}

unsigned TRadioButton::BoxState() const { return DFCS_BUTTONRADIO | (checked_ ? DFCS_CHECKED : 0); }

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
      for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(Enabled());
      break;
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  Canvas().SetFont(Font());
  Rect = platform::Rect(Rect.Left + 2, Rect.Top + Canvas().TextHeight("0") + 2, Rect.Right - 2, Rect.Bottom - 2);
}

void TCustomGroupBox::Paint() {
  TCanvas& c = Canvas();
  c.SetFont(Font());
  const int h = c.TextHeight("0");
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(Color());
  c.FillRect(ClientRect());
  TRect frame = Rect(0, h / 2, Width(), Height());
  DrawEdge(c.Handle(), frame, EDGE_ETCHED, BF_RECT);
  if (Caption().empty()) return;
  const TSize extent = CaptionExtent(c, Caption(), DT_SINGLELINE);
  const TRect text = Rect(8, 0, 8 + extent.cx + 2, h);
  c.Brush().SetColor(Color());
  c.FillRect(text);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  DrawCaption(c, Caption(), Rect(9, 0, text.Right, h), DT_SINGLELINE | DT_LEFT, Enabled());
}

}  // namespace platform
