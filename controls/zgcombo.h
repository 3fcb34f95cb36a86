#pragma once

#include "platform/edits/ComboBox.h"

namespace controls {

// A combo box with a flat look: it draws its own one-pixel frames and drop button instead of the 3-D
// border and raises them to a 3-D look while the mouse is over it or it has the focus. Disabled, a flat
// combo takes its parent's colour and gets its own back when enabled again.
class TZGCustomCombo : public platform::TCustomComboBox {
public:
  explicit TZGCustomCombo(platform::TComponent* AOwner);

  void Dispatch(platform::TMessage& Message) override;

  // Take the focus when the mouse enters.
  bool AutoFocus() const { return autoFocus_; }
  void SetAutoFocus(bool value) { autoFocus_ = value; }
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  // An etched instead of a raised button edge.
  bool Etched() const { return etched_; }
  void SetEtched(bool value);
  // Raise the frame to 3-D while hot or focused.
  bool FocusBorder() const { return focusBorder_; }
  void SetFocusBorder(bool value);
  // The drop button area in pixels, 14 to 32; other values are ignored.
  int ButtonWidth() const { return DropButtonWidth(); }
  void SetButtonWidth(int value);
  // The open list's width; 0 leaves it as wide as the combo.
  int DropWidth() const { return dropWidth_; }
  void SetDropWidth(int value);
  // Draw the drop button through the theme library (the grid sets it when themes are in use).
  bool ThemedButton() const { return themedButton_; }
  void SetThemedButton(bool value);
  bool MouseInside() const { return mouseInside_; }

protected:
  void Paint() override;

private:
  bool Designing() const;
  bool Active() const;
  bool FrameRaised() const;
  bool ButtonRaised() const;
  void DrawBorders(platform::TCanvas& canvas);
  void DrawDropButton(platform::TCanvas& canvas, platform::TRect button);
  void EnabledChanging();

  bool autoFocus_ = false;
  bool flat_ = true;
  bool etched_ = false;
  bool savedParentColor_;
  platform::TColor savedColor_;
  bool mouseInside_ = false;
  bool focusBorder_ = false;
  int dropWidth_ = 0;
  bool themedButton_ = false;
};

// The published flat combo box.
class TZGComboBox : public TZGCustomCombo {
public:
  using TZGCustomCombo::TZGCustomCombo;
};

}  // namespace controls
