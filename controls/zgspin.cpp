#include "controls/zgspin.h"

#include "platform/ui/VirtualKeys.h"

namespace controls::zgspin {

using platform::TComponent;

TZgSpinButton::TZgSpinButton(TComponent* AOwner) : TSpinButtonPair(AOwner) {
  SetButtons(new TExTimerSpeedButton(this), new TExTimerSpeedButton(this));
}

void TZgSpinButton::SetIsWinXP(bool value) {
  isWinXP_ = value;
  static_cast<TExTimerSpeedButton&>(UpButton()).SetIsWinXP(value);
  static_cast<TExTimerSpeedButton&>(DownButton()).SetIsWinXP(value);
}

TZgSpinEdit::TZgSpinEdit(TComponent* AOwner)
    : TSpinEditBase(AOwner, [](TComponent* edit) -> TSpinButtonPair* { return new TZgSpinButton(edit); },
                    {.decimalNeedsPrecision = false, .maxTimeSeparators = 2}) {}

void TZgSpinEdit::Dispatch(platform::TMessage& Message) {
  if (Message.Msg == platform::WM_KEYDOWN && Message.WParam == platform::VK_UP) {
    UpClick(this);
    return;
  }
  if (Message.Msg == platform::WM_KEYDOWN && Message.WParam == platform::VK_DOWN) {
    DownClick(this);
    return;
  }
  TSpinEditBase::Dispatch(Message);
}

void TZgSpinEdit::SetIsWinXP(bool value) {
  isWinXP_ = value;
  static_cast<TZgSpinButton&>(Button()).SetIsWinXP(value);
}

void TZgSpinEdit::LayoutControls() {
  const bool border = BorderStyle() == platform::TBorderStyle::bsSingle;
  const int buttonWidth = Button().Width();
  const int margin = border ? 5 : 1;
  Button().SetBounds(Width() - buttonWidth - margin, 0, buttonWidth, Height() - margin);
  const int inset = border ? 0 : 1;
  platform::TRect rect{inset, inset, ClientWidth() - buttonWidth - 2 - inset, ClientHeight() + 1};
  Perform(platform::EM_SETRECTNP, 0, reinterpret_cast<platform::LPARAM>(&rect));
}

}  // namespace controls::zgspin
