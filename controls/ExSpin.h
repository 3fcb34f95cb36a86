#pragma once

#include <string>

#include "controls/SpinEditBase.h"
#include "platform/gfx/Font.h"
#include "platform/ui/StdCtrls.h"

namespace controls::exspin {

enum TExSpinType { sptNormal, sptFloat, sptDate, sptTime, sptHex };

enum TLabelPosition {
  lpLeftTop,
  lpLeftCenter,
  lpLeftBottom,
  lpTopLeft,
  lpBottomLeft,
  lpLeftTopLeft,
  lpLeftCenterLeft,
  lpLeftBottomLeft,
  lpTopCenter,
  lpBottomCenter
};

// Where an attached label of the given size goes beside an edit's bounds, `margin` pixels away: left of
// the edit (its right edge margin pixels off, or, for the ...Left positions, its left edge margin pixels
// left of the edit) at its top, centre or bottom, or above or below it, left-aligned or centred.
platform::TPoint LabelOrigin(TLabelPosition position, const platform::TRect& edit, platform::TSize label, int margin);

// The spin button's auto-repeat button.
class TExTimerSpeedButton : public TSpinRepeatButton {
public:
  using TSpinRepeatButton::TSpinRepeatButton;
};

// The up and down buttons of TExSpinEdit.
class TExSpinButton : public TSpinButtonPair {
public:
  explicit TExSpinButton(platform::TComponent* AOwner);
};

// The spin edit: an integer, float, date, time or hexadecimal ("0x" and the digits) value with the
// common spin behaviour (TSpinEditBase). Beyond it: a float takes a decimal separator only with a
// Precision, a time only one time separator; the page keys step integers by IncrementPage and floats by
// IncrementFloatPage; with IncrementSmart the arrow keys, page keys and buttons step the digit left of
// the caret. Flat drops the border and underlines the text in FlatLineColor. A label can be attached
// (LabelCaption creates it), owned by the edit's owner, placed at LabelPosition and following the edit.
class TExSpinEdit : public TSpinEditBase {
public:
  explicit TExSpinEdit(platform::TComponent* AOwner);
  ~TExSpinEdit() override;
  void Dispatch(platform::TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetParent(platform::TWinControl* AParent) override;

  TExSpinType SpinType() const { return static_cast<TExSpinType>(Kind()); }
  void SetSpinType(TExSpinType value) { SetKind(static_cast<TSpinValueKind>(value)); }
  using TSpinEditBase::HexValue;
  using TSpinEditBase::SetHexValue;
  int IncrementPage() const { return incrementPage_; }
  void SetIncrementPage(int value) { incrementPage_ = value; }
  double IncrementFloatPage() const { return incrementFloatPage_; }
  void SetIncrementFloatPage(double value) { incrementFloatPage_ = value; }
  bool IncrementSmart() const { return incrementSmart_; }
  void SetIncrementSmart(bool value) { incrementSmart_ = value; }
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  platform::TColor FlatLineColor() const { return flatLineColor_; }
  void SetFlatLineColor(platform::TColor value);

  std::string LabelCaption() const { return label_ ? label_->Caption() : std::string(); }
  void SetLabelCaption(const std::string& value);
  TLabelPosition LabelPosition() const { return labelPosition_; }
  void SetLabelPosition(TLabelPosition value);
  int LabelMargin() const { return labelMargin_; }
  void SetLabelMargin(int value);
  bool LabelTransparent() const { return labelTransparent_; }
  void SetLabelTransparent(bool value);
  platform::TFont& LabelFont() { return labelFont_; }
  // The attached label, or null before LabelCaption is first set.
  platform::TLabel* EditLabel() const { return label_; }

  void UpClick(platform::TObject* Sender) override;
  void DownClick(platform::TObject* Sender) override;

protected:
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void Paint() override;
  void Notification(platform::TComponent* AComponent, platform::TOperation Operation) override;
  void LayoutControls() override;

private:
  // Steps by the digit left of the caret; false when smart stepping does not apply.
  bool SmartStepValue(int direction);
  void PlaceLabel();

  int incrementPage_ = 10;
  double incrementFloatPage_ = 1.0;
  bool incrementSmart_ = false;
  bool flat_ = false;
  platform::TColor flatLineColor_ = 0;
  platform::TLabel* label_ = nullptr;
  TLabelPosition labelPosition_ = lpLeftTop;
  int labelMargin_ = 4;
  bool labelTransparent_ = false;
  platform::TFont labelFont_;
};

// The spin edit with its edit mask published.
class TExMaskSpinEdit : public TExSpinEdit {
public:
  using TExSpinEdit::TExSpinEdit;
};

}  // namespace controls::exspin
