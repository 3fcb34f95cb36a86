#include "controls/zgspin.h"

#include "grid/xpvs/ExXPVS.h"
#include "platform/ui/VirtualKeys.h"

namespace controls::zgspin {

using platform::TComponent;

namespace {

// The theme's spin part of a button kind: a vertical pair has the glyph kinds, a horizontal one the
// arrows, its up button pointing right.
int ThemePart(TSpinButtonKind kind) {
  using namespace velmora::xpvs;
  switch (kind) {
    case sbkUpGlyph: return SPNP_UP;
    case sbkDownGlyph: return SPNP_DOWN;
    case sbkRightArrow: return SPNP_UPHORZ;
    case sbkLeftArrow: return SPNP_DOWNHORZ;
  }
  return SPNP_UP;
}

}  // namespace

void TExTimerSpeedButton::Paint() {
  if (isWinXP_ && PaintThemed()) return;
  TSpinRepeatButton::Paint();
}

// A graphic control has no window of its own: the theme is opened for its parent's, and the part takes
// the button's rectangle on the canvas it shares with the parent.
bool TExTimerSpeedButton::PaintThemed() {
  using namespace velmora::xpvs;
  if (!OpenThemeData || !DrawThemeBackground || !CloseThemeData || !Parent()) return false;
  HTHEME theme = OpenThemeData(Parent()->Handle(), "spin");
  if (!theme) return false;
  const platform::TRect rect = ClientRect();
  const int state = State() == platform::TButtonState::bsDown ? UPS_PRESSED : UPS_NORMAL;
  DrawThemeBackground(theme, Canvas().Handle(), ThemePart(ButtonKind()), state, &rect, nullptr);
  CloseThemeData(theme);
  return true;
}

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
