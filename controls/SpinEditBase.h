#pragma once

#include <functional>
#include <string>

#include "controls/SpinButtons.h"
#include "controls/SpinRules.h"
#include "platform/core/DateTime.h"
#include "platform/edits/MaskEdit.h"

namespace controls {

// What the spin edits have in common: a masked edit holding one value of a kind, with a button pair at
// its right edge. The value lives in the text: the readers parse it and fall back (never raise) when it
// does not parse, the writers clamp to the bounds (equal bounds: none) and format. Typed characters pass
// the kind's filter (a refused one beeps); the buttons and the Up and Down keys step the value, by the
// caret's field in dates and times; leaving the control clamps the value. Enter with ReturnIsTab moves to
// the next control. The units' spin edits differ in their dialect and add their own kinds and keys.
class TSpinEditBase : public platform::TCustomMaskEdit {
public:
  void Dispatch(platform::TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // The integer of the text, or MinValue when it is none.
  int Value() const;
  void SetValue(int value);
  // The number of the text, or MinValue when it is none.
  double FloatValue() const;
  void SetFloatValue(double value);
  // The date of the text: now when it is empty or "0", MinDateValue when it is no date.
  platform::TDateTime DateValue() const;
  void SetDateValue(platform::TDateTime value);
  // The time of the text, 0 when it is no time.
  platform::TDateTime TimeValue() const;
  void SetTimeValue(platform::TDateTime value);

  int MinValue() const { return minValue_; }
  void SetMinValue(int value) { minValue_ = value; }
  int MaxValue() const { return maxValue_; }
  void SetMaxValue(int value) { maxValue_ = value; }
  double MinFloatValue() const { return minFloatValue_; }
  void SetMinFloatValue(double value) { minFloatValue_ = value; }
  double MaxFloatValue() const { return maxFloatValue_; }
  void SetMaxFloatValue(double value) { maxFloatValue_ = value; }
  platform::TDateTime MinDateValue() const { return minDateValue_; }
  void SetMinDateValue(platform::TDateTime value) { minDateValue_ = value; }
  platform::TDateTime MaxDateValue() const { return maxDateValue_; }
  void SetMaxDateValue(platform::TDateTime value) { maxDateValue_ = value; }
  int Increment() const { return increment_; }
  void SetIncrement(int value) { increment_ = value; }
  double IncrementFloat() const { return incrementFloat_; }
  void SetIncrementFloat(double value) { incrementFloat_ = value; }
  // Decimals of a float's text; 0 writes the general format.
  int Precision() const { return precision_; }
  void SetPrecision(int value);
  // Whether the user may type and paste.
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool value) { editorEnabled_ = value; }
  bool ReturnIsTab() const { return returnIsTab_; }
  void SetReturnIsTab(bool value) { returnIsTab_ = value; }
  TSpinDirection Direction() const { return button_->Direction(); }
  void SetDirection(TSpinDirection value);
  bool SpinFlat() const { return button_->UpButton().Flat(); }
  void SetSpinFlat(bool value);
  TSpinButtonPair& Button() { return *button_; }

  // Whether a typed key is taken (it may change the key, as a float's thousand separator).
  virtual bool IsValidChar(char32_t& Key);
  virtual void UpClick(platform::TObject* Sender);
  virtual void DownClick(platform::TObject* Sender);

  // The value clamped to its kind's bounds.
  int CheckValue(int value) const { return ClampToBounds(value, minValue_, maxValue_); }
  double CheckFloatValue(double value) const { return ClampToBounds(value, minFloatValue_, maxFloatValue_); }
  platform::TDateTime CheckDateValue(platform::TDateTime value) const {
    return ClampToBounds(value, minDateValue_, maxDateValue_);
  }

protected:
  // Makes a unit's own button pair, owned by the given edit.
  using TMakeSpinButton = TSpinButtonPair* (*)(platform::TComponent* edit);
  // A unit's spin edit names its button pair and its filter's dialect.
  TSpinEditBase(platform::TComponent* AOwner, TMakeSpinButton makeButton, const TSpinFilterRules& rules);

  void CreateParams(platform::TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void DoEnter() override;
  void DoExit() override;

  TSpinValueKind Kind() const { return kind_; }
  // Re-writes the present value in the new kind's format.
  void SetKind(TSpinValueKind value);
  int HexValue() const;
  void SetHexValue(int value);
  // Steps the value by direction (+1, -1) times `step`, or by the kind's increment when step is 0
  // (dates and times step by the caret's field). The caret and selection stay.
  void StepValue(int direction, double step = 0);
  // Writes the present value again in its kind's format.
  void RewriteValue();
  // Places the button pair and sets the text rectangle; the units lay out differently.
  virtual void LayoutControls();
  // The least height that shows the font: the edit's (EditMinHeight), 2 pixels, and 4 for a border.
  int MinHeight();

private:
  void KeepCaret(const std::function<void()>& change);

  TSpinButtonPair* button_;
  TSpinFilterRules rules_;
  TSpinValueKind kind_ = TSpinValueKind::Integer;
  int minValue_ = 0;
  int maxValue_ = 100;
  double minFloatValue_ = 0;
  double maxFloatValue_ = 100;
  platform::TDateTime minDateValue_ = 0;
  platform::TDateTime maxDateValue_ = 0;
  int increment_ = 1;
  double incrementFloat_ = 0;
  int precision_ = 0;
  bool editorEnabled_ = true;
  bool returnIsTab_ = false;
};

}  // namespace controls
