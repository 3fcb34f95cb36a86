#pragma once

#include <string>

#include "platform/ui/ControlAppearance.h"
#include "platform/ui/Controls.h"
#include "platform/app/ModalResult.h"

namespace platform {

// A caption painted on its parent. It can size itself to its text (AutoSize, the default), wrap the
// text at its width (WordWrap: auto-size then keeps the width and fits the height), underline the
// character after an "&" (ShowAccelChar) and give the focus to FocusControl when that mnemonic is
// typed with Alt.
class TCustomLabel : public TGraphicControl {
public:
  explicit TCustomLabel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  // A transparent label paints only its text; otherwise it fills its area with its colour first.
  bool Transparent() const { return !ControlStyle().Contains(TControlStyleFlag::csOpaque); }
  void SetTransparent(bool value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);

protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Fits the size to the text when AutoSize is on, keeping the side that the alignment anchors.
  virtual void AdjustBounds();
  // The DrawText flags of the label's settings.
  unsigned TextFlags() const;

private:
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool autoSize_ = true;
  TTextLayout layout_ = TTextLayout::tlTop;
  bool wordWrap_ = false;
  TWinControl* focusControl_ = nullptr;
  bool showAccelChar_ = true;
};

class TLabel : public TCustomLabel {
public:
  using TCustomLabel::TCustomLabel;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// The base of the buttons: pressed by a click (released over it), by Space (released) or by Alt with
// its mnemonic, which also focuses it; it is drawn pushed in while the mouse or Space holds it. The
// base paints a check box or radio box (BoxState) with the caption beside it.
class TButtonControl : public TCustomControl {
public:
  explicit TButtonControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  // taRightJustify (the default) puts the caption right of the box.
  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight value);

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  // What a press does (click, toggle, select).
  virtual void Press() = 0;
  // The DFCS_ flags of the box as it stands (kind, checked).
  virtual unsigned BoxState() const { return 0; }
  bool Pressed() const { return pressed_; }

private:
  void SetPressed(bool value);

  TLeftRight alignment_ = TLeftRight::taRightJustify;
  bool pressed_ = false;
  bool spaceDown_ = false;
};

// A push button. Enter presses the focused button, else the form's Default button; Escape presses
// the form's Cancel button. Pressing it sets the form's ModalResult to the button's own (mrNone leaves
// the form open) before OnClick runs.
class TButton : public TButtonControl {
public:
  explicit TButton(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  void Click() override;

protected:
  void Paint() override;
  void Press() override { Click(); }
  // The button Enter presses: the focused one, or the Default one while no other button has the focus.
  bool IsActiveDefault() const;

private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
};

// A check box with two states, or three with AllowGrayed: a press goes unchecked, checked, grayed (when
// allowed), unchecked. Every change of state, by the user or by code, runs OnClick.
class TCustomCheckBox : public TButtonControl {
public:
  explicit TCustomCheckBox(TComponent* AOwner);

  bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
  void SetChecked(bool value) { SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }

protected:
  void Press() override;
  unsigned BoxState() const override;

private:
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
  bool allowGrayed_ = false;
};

class TCheckBox : public TCustomCheckBox {
public:
  using TCustomCheckBox::TCustomCheckBox;
};

// A radio button: checking it unchecks the other radio buttons of its parent. Checking it runs OnClick.
class TRadioButton : public TButtonControl {
public:
  explicit TRadioButton(TComponent* AOwner);

  bool Checked() const { return checked_; }
  void SetChecked(bool value);

protected:
  void Press() override { SetChecked(true); }
  unsigned BoxState() const override;

private:
  bool checked_ = false;
};

// A frame with a caption that groups controls: an etched line from the middle of the caption's line
// round the control, the caption over it near the left. Enabling or disabling the group box enables or
// disables every control inside it as well (and so each of them draws and answers as it then is);
// aligned children lie within the frame.
class TCustomGroupBox : public TCustomControl {
public:
  explicit TCustomGroupBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

protected:
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
public:
  using TCustomGroupBox::TCustomGroupBox;
};

}  // namespace platform
