#include "controls/ExSpin.h"

#include "platform/core/StrUtils.h"
#include "platform/ui/VirtualKeys.h"

namespace controls::exspin {

using platform::TComponent;
using platform::TPoint;
using platform::TRect;

TPoint LabelOrigin(TLabelPosition position, const TRect& edit, platform::TSize label, int margin) {
  const int beside = edit.Left - label.cx - margin;
  const int besideLeft = edit.Left - margin;
  const int centred = edit.Left + (edit.Width() - label.cx) / 2;
  const int top = edit.Top;
  const int middle = edit.Top + (edit.Height() - label.cy) / 2;
  const int bottom = edit.Bottom - label.cy;
  const int above = edit.Top - label.cy - margin;
  const int below = edit.Bottom + margin;
  switch (position) {
    case lpLeftTop: return {beside, top};
    case lpLeftCenter: return {beside, middle};
    case lpLeftBottom: return {beside, bottom};
    case lpTopLeft: return {edit.Left, above};
    case lpBottomLeft: return {edit.Left, below};
    case lpLeftTopLeft: return {besideLeft, top};
    case lpLeftCenterLeft: return {besideLeft, middle};
    case lpLeftBottomLeft: return {besideLeft, bottom};
    case lpTopCenter: return {centred, above};
    case lpBottomCenter: return {centred, below};
  }
  return {beside, top};
}

TExSpinButton::TExSpinButton(platform::TComponent* AOwner) : TSpinButtonPair(AOwner) {
  SetButtons(new TExTimerSpeedButton(this), new TExTimerSpeedButton(this));
}

TExSpinEdit::TExSpinEdit(platform::TComponent* AOwner)
    : TSpinEditBase(AOwner, [](TComponent* edit) -> TSpinButtonPair* { return new TExSpinButton(edit); }, {.decimalNeedsPrecision = true, .maxTimeSeparators = 1}) {
  SetIncrementFloat(0.1);
  labelFont_.OnChange = [this] {
    if (label_) label_->Font().Assign(labelFont_);
    PlaceLabel();
  };
}

TExSpinEdit::~TExSpinEdit() { delete label_; }

void TExSpinEdit::Dispatch(platform::TMessage& Message) {
  TSpinEditBase::Dispatch(Message);
  if (Message.Msg == platform::CM_VISIBLECHANGED && label_) label_->SetVisible(Visible());
}

void TExSpinEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TSpinEditBase::SetBounds(ALeft, ATop, AWidth, AHeight);
  PlaceLabel();
}

void TExSpinEdit::SetParent(platform::TWinControl* AParent) {
  TSpinEditBase::SetParent(AParent);
  if (label_) label_->SetParent(AParent);
  PlaceLabel();
}

void TExSpinEdit::SetFlat(bool value) {
  flat_ = value;
  SetBorderStyle(flat_ ? platform::TBorderStyle::bsNone : platform::TBorderStyle::bsSingle);
  LayoutControls();
  Invalidate();
}

void TExSpinEdit::SetFlatLineColor(platform::TColor value) {
  flatLineColor_ = value;
  Invalidate();
}

void TExSpinEdit::SetLabelCaption(const std::string& value) {
  if (!label_) {
    label_ = new platform::TLabel(Owner());
    label_->FreeNotification(this);
    label_->SetFocusControl(this);
    label_->SetTransparent(labelTransparent_);
    label_->Font().Assign(labelFont_);
    label_->SetVisible(Visible());
    label_->SetParent(Parent());
  }
  label_->SetCaption(value);
  PlaceLabel();
}

void TExSpinEdit::SetLabelPosition(TLabelPosition value) {
  labelPosition_ = value;
  PlaceLabel();
}

void TExSpinEdit::SetLabelMargin(int value) {
  labelMargin_ = value;
  PlaceLabel();
}

void TExSpinEdit::SetLabelTransparent(bool value) {
  labelTransparent_ = value;
  if (label_) label_->SetTransparent(value);
}

void TExSpinEdit::PlaceLabel() {
  if (!label_) return;
  const TPoint origin = LabelOrigin(labelPosition_, BoundsRect(), {label_->Width(), label_->Height()}, labelMargin_);
  label_->SetBounds(origin.X, origin.Y, label_->Width(), label_->Height());
}

void TExSpinEdit::Notification(platform::TComponent* AComponent, platform::TOperation Operation) {
  TSpinEditBase::Notification(AComponent, Operation);
  if (Operation == platform::TOperation::opRemove && AComponent == label_) label_ = nullptr;
}

bool TExSpinEdit::SmartStepValue(int direction) {
  const bool number = Kind() == TSpinValueKind::Integer || Kind() == TSpinValueKind::Float;
  if (!incrementSmart_ || !number || SelLength() != 0) return false;
  const bool isFloat = Kind() == TSpinValueKind::Float;
  const double step = SmartStep(Text(), SelStart(), platform::FormatSettings().DecimalSeparator,
                                isFloat ? IncrementFloat() : Increment(), isFloat);
  if (step != 0) StepValue(direction, step);
  return true;
}

void TExSpinEdit::UpClick(platform::TObject* Sender) {
  if (!SmartStepValue(1)) TSpinEditBase::UpClick(Sender);
}

void TExSpinEdit::DownClick(platform::TObject* Sender) {
  if (!SmartStepValue(-1)) TSpinEditBase::DownClick(Sender);
}

void TExSpinEdit::KeyDown(platform::WORD& Key, platform::TShiftState Shift) {
  if (Key == platform::VK_PRIOR || Key == platform::VK_NEXT) {
    TGuard guard(*this);
    TCustomMaskEdit::KeyDown(Key, Shift);
    if (guard.Gone() || Key == 0) return;  // OnKeyDown took the key or freed the edit
    const int direction = Key == platform::VK_PRIOR ? 1 : -1;
    Key = 0;
    if (SmartStepValue(direction)) return;
    if (Kind() == TSpinValueKind::Integer) StepValue(direction, IncrementPage());
    if (Kind() == TSpinValueKind::Float) StepValue(direction, IncrementFloatPage());
    return;
  }
  if (Key == platform::VK_DELETE && Kind() == TSpinValueKind::Hex && SelStart() < 2) {
    Key = 0;
    return;
  }
  TSpinEditBase::KeyDown(Key, Shift);
}

void TExSpinEdit::Paint() {
  TSpinEditBase::Paint();
  if (!flat_) return;
  const TRect r = FormatRect();
  platform::TCanvas& canvas = Canvas();
  canvas.Pen().SetColor(flatLineColor_);
  canvas.Pen().SetWidth(1);
  canvas.MoveTo(r.Left, ClientHeight() - 2);
  canvas.LineTo(r.Right, ClientHeight() - 2);
}

void TExSpinEdit::LayoutControls() {
  TSpinEditBase::LayoutControls();
  if (!flat_) return;
  const int buttonWidth = Button().Width();
  TRect rect{2, 4, ClientWidth() - buttonWidth - 4, ClientHeight() - 4};
  Perform(platform::EM_SETRECTNP, 0, reinterpret_cast<platform::LPARAM>(&rect));
}

}  // namespace controls::exspin
