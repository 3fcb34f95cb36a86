#pragma once

#include "platform/ui/Buttons.h"
#include "platform/ui/Controls.h"
#include "platform/app/Timer.h"

namespace controls {

enum TSpinDirection { spVertical, spHorizontal };

// The kinds of a spin button: the two scroll arrows of a horizontal pair and the glyph buttons of a
// vertical one.
enum TSpinButtonKind { sbkLeftArrow = 0, sbkRightArrow = 1, sbkUpGlyph = 2, sbkDownGlyph = 3 };

// A speed button that repeats its click while held: pressed with the left button (repeat allowed), it
// clicks again after 400 ms and then every 100 ms as long as it stays down with the mouse captured;
// releasing it stops the repeat. Arrow kinds draw a scroll arrow, pushed while down and flat when Flat;
// glyph kinds draw their glyph as a speed button.
class TSpinRepeatButton : public platform::TSpeedButton {
public:
  explicit TSpinRepeatButton(platform::TComponent* AOwner);

  TSpinButtonKind ButtonKind() const { return kind_; }
  void SetButtonKind(TSpinButtonKind value);
  bool RepeatAllowed() const { return repeatAllowed_; }
  void SetRepeatAllowed(bool value) { repeatAllowed_ = value; }

protected:
  void Paint() override;
  void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
  void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;

private:
  void Repeat();

  TSpinButtonKind kind_ = sbkUpGlyph;
  bool repeatAllowed_ = true;
  platform::TTimer* timer_;
};

// The up and down buttons of a spin edit, top and bottom (vertical, 15 pixels wide) or right and left
// (horizontal, 20 pixels wide), each taking half of the control. Pressing one moves the focus to
// FocusControl when it can take it and marks that button as the focused one (Space clicks it); a click
// raises OnUpClick or OnDownClick. It has no tab stop and asks for the arrow keys. A unit's pair makes its
// own repeat buttons and hands them to SetButtons.
class TSpinButtonPair : public platform::TWinControl {
public:
  explicit TSpinButtonPair(platform::TComponent* AOwner);
  void Dispatch(platform::TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TSpinRepeatButton& UpButton() { return *up_; }
  TSpinRepeatButton& DownButton() { return *down_; }
  platform::TBitmap& UpGlyph() { return up_->Glyph(); }
  void SetUpGlyph(const platform::TBitmap& value);
  platform::TBitmap& DownGlyph() { return down_->Glyph(); }
  void SetDownGlyph(const platform::TBitmap& value);
  int UpNumGlyphs() const { return up_->NumGlyphs(); }
  void SetUpNumGlyphs(int value) { up_->SetNumGlyphs(value); }
  int DownNumGlyphs() const { return down_->NumGlyphs(); }
  void SetDownNumGlyphs(int value) { down_->SetNumGlyphs(value); }
  TSpinDirection Direction() const { return direction_; }
  void SetDirection(TSpinDirection value);
  platform::TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(platform::TWinControl* value);
  // The button that Space clicks.
  TSpinRepeatButton* FocusedButton() const { return focused_; }

  platform::TNotifyEvent OnUpClick;
  platform::TNotifyEvent OnDownClick;

protected:
  void SetButtons(TSpinRepeatButton* up, TSpinRepeatButton* down);
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void Notification(platform::TComponent* AComponent, platform::TOperation Operation) override;

private:
  void Pressed(TSpinRepeatButton* button);
  void LayoutButtons();

  TSpinRepeatButton* up_ = nullptr;
  TSpinRepeatButton* down_ = nullptr;
  TSpinRepeatButton* focused_ = nullptr;
  TSpinDirection direction_ = spVertical;
  platform::TWinControl* focusControl_ = nullptr;
};

}  // namespace controls
