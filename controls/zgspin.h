#pragma once

#include "controls/SpinEditBase.h"

namespace controls::zgspin {

enum TZgSpinType { sptNormal, sptFloat, sptDate, sptTime };

// The grid spin edit's auto-repeat button. With IsWinXP it paints the theme's spin part of its kind,
// pressed while down; without a theme library or theme it draws as the classic button.
class TExTimerSpeedButton : public TSpinRepeatButton {
public:
  using TSpinRepeatButton::TSpinRepeatButton;

  bool IsWinXP() const { return isWinXP_; }
  void SetIsWinXP(bool value) { isWinXP_ = value; }

protected:
  void Paint() override;

private:
  // Paints through the theme; false when no theme could be opened.
  bool PaintThemed();

  bool isWinXP_ = false;
};

// The up and down buttons of TZgSpinEdit; IsWinXP passes to both.
class TZgSpinButton : public TSpinButtonPair {
public:
  explicit TZgSpinButton(platform::TComponent* AOwner);

  bool IsWinXP() const { return isWinXP_; }
  void SetIsWinXP(bool value);

private:
  bool isWinXP_ = false;
};

// The reduced spin edit that the grid's spin editor builds on: integer, float, date and time values
// with the common spin behaviour (TSpinEditBase). It differs from the spin edit of ExSpin.h: a float
// steps by IncrementFloat, 0 until set; a float takes one decimal separator at any Precision, a time
// two time separators; Up and Down step at the key-down message itself (OnKeyDown never sees them);
// there are no page keys, smart steps, hexadecimal values, flat look or label.
class TZgSpinEdit : public TSpinEditBase {
public:
  explicit TZgSpinEdit(platform::TComponent* AOwner);
  void Dispatch(platform::TMessage& Message) override;

  TZgSpinType SpinType() const { return static_cast<TZgSpinType>(Kind()); }
  void SetSpinType(TZgSpinType value) { SetKind(static_cast<TSpinValueKind>(value)); }
  bool IsWinXP() const { return isWinXP_; }
  // Set by the grid for its spin editor while the theme is in force.
  void SetIsWinXP(bool value);

protected:
  void LayoutControls() override;

private:
  bool isWinXP_ = false;
};

// The grid spin edit with its edit mask published.
class TExMaskSpinEdit : public TZgSpinEdit {
public:
  using TZgSpinEdit::TZgSpinEdit;
};

}  // namespace controls::zgspin
