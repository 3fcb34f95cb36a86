#include "controls/SpinEditBase.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "controls/EditMinHeight.h"
#include "platform/core/Exception.h"
#include "platform/core/StrUtils.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/VirtualKeys.h"

namespace controls {

using platform::TDateTime;

namespace {

int Saturated(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

TSpinEditBase::TSpinEditBase(platform::TComponent* AOwner, TMakeSpinButton makeButton, const TSpinFilterRules& rules)
    : TCustomMaskEdit(AOwner), button_(makeButton(this)), rules_(rules) {
  button_->SetBounds(0, 0, 15, 17);
  button_->SetParent(this);
  button_->SetFocusControl(this);
  button_->OnUpClick = [this](platform::TObject* sender) { UpClick(sender); };
  button_->OnDownClick = [this](platform::TObject* sender) { DownClick(sender); };
  SetText("0");
}

void TSpinEditBase::Dispatch(platform::TMessage& Message) {
  switch (Message.Msg) {
    case platform::CM_WANTSPECIALKEY:
      Message.Result = returnIsTab_ && Message.WParam == platform::VK_RETURN;
      return;
    case platform::WM_PASTE:
    case platform::WM_CUT:
      if (!editorEnabled_ || ReadOnly()) return;
      break;
    case platform::WM_MBUTTONDOWN:  // pastes the primary selection
      if (!editorEnabled_) return;
      break;
    case platform::CM_FONTCHANGED:
      TCustomMaskEdit::Dispatch(Message);
      SetBounds(Left(), Top(), Width(), Height());
      return;
    default: break;
  }
  TCustomMaskEdit::Dispatch(Message);
}

void TSpinEditBase::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, std::max(AHeight, MinHeight()));
  LayoutControls();
}

int TSpinEditBase::Value() const { return platform::StrToIntDef(Text(), minValue_); }

void TSpinEditBase::SetValue(int value) {
  TGuard guard(*this);
  SetText(platform::IntToStr(CheckValue(value)));  // its OnChange may free the edit
  if (guard.Alive() && !editorEnabled_) SelectAll();
}

double TSpinEditBase::FloatValue() const { return platform::StrToFloatDef(Text(), minValue_); }

void TSpinEditBase::SetFloatValue(double value) {
  value = CheckFloatValue(value);
  SetText(precision_ > 0 ? platform::Format("%." + platform::IntToStr(precision_) + "f", value) : platform::FloatToStr(value));
}

TDateTime TSpinEditBase::DateValue() const {
  const std::string text = Text();
  if (text.empty() || text == "0") return platform::Now();
  try {
    return platform::StrToDate(text);
  } catch (const platform::EConvertError&) {
    return minDateValue_;
  }
}

void TSpinEditBase::SetDateValue(TDateTime value) {
  KeepCaret([&] { SetText(platform::DateToStr(CheckDateValue(value))); });
}

TDateTime TSpinEditBase::TimeValue() const {
  try {
    return platform::StrToTime(Text());
  } catch (const platform::EConvertError&) {
    return 0;
  }
}

void TSpinEditBase::SetTimeValue(TDateTime value) {
  KeepCaret([&] { SetText(platform::TimeToStr(value)); });
}

int TSpinEditBase::HexValue() const { return HexTextValue(Text()); }

void TSpinEditBase::SetHexValue(int value) { SetText(HexText(CheckValue(value))); }

void TSpinEditBase::SetPrecision(int value) {
  precision_ = value;
  if (kind_ == TSpinValueKind::Float) RewriteValue();
}

void TSpinEditBase::SetDirection(TSpinDirection value) {
  button_->SetDirection(value);
  LayoutControls();
}

void TSpinEditBase::SetSpinFlat(bool value) {
  button_->UpButton().SetFlat(value);
  button_->DownButton().SetFlat(value);
}

void TSpinEditBase::SetKind(TSpinValueKind value) {
  kind_ = value;
  RewriteValue();
}

void TSpinEditBase::RewriteValue() {
  switch (kind_) {
    case TSpinValueKind::Integer: SetValue(Value()); break;
    case TSpinValueKind::Float: SetFloatValue(FloatValue()); break;
    case TSpinValueKind::Date: SetDateValue(DateValue()); break;
    case TSpinValueKind::Time: SetTimeValue(TimeValue()); break;
    case TSpinValueKind::Hex: SetHexValue(HexValue()); break;
  }
}

bool TSpinEditBase::IsValidChar(char32_t& Key) {
  const std::string text = Text();
  const TSpinTyping typing{kind_, precision_, editorEnabled_, text, SelStart(), SelLength()};
  return FilterSpinKey(Key, typing, rules_, platform::FormatSettings());
}

void TSpinEditBase::UpClick(platform::TObject*) { StepValue(1); }

void TSpinEditBase::DownClick(platform::TObject*) { StepValue(-1); }

void TSpinEditBase::StepValue(int direction, double step) {
  if (ReadOnly()) {
    platform::Backend().Beep();
    return;
  }
  KeepCaret([&] {
    const std::string text = Text();
    const int caret = SelStart();
    switch (kind_) {
      case TSpinValueKind::Integer: {
        const int64_t by = step != 0 ? static_cast<int64_t>(step) : increment_;
        SetValue(Saturated(Value() + direction * by));
        break;
      }
      case TSpinValueKind::Float:
        SetFloatValue(FloatValue() + direction * (step != 0 ? step : incrementFloat_));
        break;
      case TSpinValueKind::Hex:
        SetHexValue(static_cast<int>(static_cast<uint32_t>(HexValue()) + static_cast<uint32_t>(direction * increment_)));
        break;
      case TSpinValueKind::Date:
        SetDateValue(StepDateField(DateValue(), text, caret, direction, platform::FormatSettings()));
        break;
      case TSpinValueKind::Time:
        SetTimeValue(StepTimeField(TimeValue(), text, caret, direction, platform::FormatSettings().TimeSeparator));
        break;
    }
  });
}

void TSpinEditBase::KeepCaret(const std::function<void()>& change) {
  const int start = SelStart();
  const int length = SelLength();
  TGuard guard(*this);
  change();  // OnChange may free the edit
  if (guard.Gone()) return;
  SetSelStart(start);
  SetSelLength(length);
}

void TSpinEditBase::CreateParams(platform::TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  // A one-line edit: the formatting rectangle that keeps the text off the buttons works without the
  // multi-line style here, which would let pasted line breaks into the value.
  Params.Style |= platform::ES_AUTOHSCROLL | platform::WS_CLIPCHILDREN;
}

void TSpinEditBase::CreateWnd() {
  TCustomMaskEdit::CreateWnd();
  LayoutControls();
}

void TSpinEditBase::KeyDown(platform::WORD& Key, platform::TShiftState Shift) {
  TGuard guard(*this);
  TCustomMaskEdit::KeyDown(Key, Shift);  // OnKeyDown may free the edit
  if (guard.Gone()) return;
  switch (Key) {
    case platform::VK_UP:
      UpClick(this);
      Key = 0;
      break;
    case platform::VK_DOWN:
      DownClick(this);
      Key = 0;
      break;
    case platform::VK_RETURN:
      if (returnIsTab_) {
        platform::PostMessage(Handle(), platform::WM_KEYDOWN, platform::VK_TAB, 0);
        Key = 0;
      }
      break;
    case platform::VK_DELETE:
      if (!editorEnabled_) Key = 0;
      break;
    default: break;
  }
}

void TSpinEditBase::KeyPress(char32_t& Key) {
  if (!IsValidChar(Key)) {
    Key = 0;
    platform::Backend().Beep();
    return;
  }
  TCustomMaskEdit::KeyPress(Key);
}

void TSpinEditBase::DoEnter() {
  TGuard guard(*this);
  TCustomMaskEdit::DoEnter();  // OnEnter may free the edit
  if (guard.Gone()) return;
  const bool mouseDown = platform::GetKeyState(platform::VK_LBUTTON) < 0;
  if (AutoSelect && !(mouseDown && editorEnabled_)) SelectAll();
}

void TSpinEditBase::DoExit() {
  TGuard guard(*this);
  TCustomMaskEdit::DoExit();  // OnExit may free the edit
  if (guard.Gone()) return;
  switch (kind_) {
    case TSpinValueKind::Integer:
      if (const int value = Value(); CheckValue(value) != value) SetValue(value);
      break;
    case TSpinValueKind::Float:
      if (const double value = FloatValue(); CheckFloatValue(value) != value) SetFloatValue(value);
      break;
    case TSpinValueKind::Date:
      if (const TDateTime value = DateValue(); CheckDateValue(value) != value) SetDateValue(value);
      break;
    case TSpinValueKind::Time:
      if (const TDateTime value = TimeValue(); CheckDateValue(value) != value) SetTimeValue(CheckDateValue(value));
      break;
    case TSpinValueKind::Hex: SetHexValue(HexValue()); break;
  }
}

void TSpinEditBase::LayoutControls() {
  const int buttonWidth = button_->Width();
  button_->SetBounds(ClientWidth() - buttonWidth, 0, buttonWidth, ClientHeight());
  platform::TRect rect{0, 0, ClientWidth() - buttonWidth - 2, ClientHeight()};
  Perform(platform::EM_SETRECTNP, 0, reinterpret_cast<platform::LPARAM>(&rect));
}

int TSpinEditBase::MinHeight() {
  return EditMinHeight(Font()) + 2 + (BorderStyle() == platform::TBorderStyle::bsSingle ? 4 : 0);
}

}  // namespace controls
