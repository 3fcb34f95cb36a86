#pragma once

#include <string>

#include "platform/core/StringList.h"
#include "platform/ui/Buttons.h"
#include "platform/edits/Edit.h"
#include "platform/ui/Menus.h"

namespace controls {

// A small container holding one speed button that fills it. A left press on the button raises OnClick
// at once (on the press, not the release) and then gives the focus to FocusControl. It is never narrower
// than 15 pixels.
class TZgEditButton : public platform::TWinControl {
public:
  explicit TZgEditButton(platform::TComponent* AOwner);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // Takes the focus after a press, when it can and has not got it.
  platform::TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(platform::TWinControl* value);
  bool Flat() const { return button_->Flat(); }
  void SetFlat(bool value) { button_->SetFlat(value); }
  platform::TBitmap& Glyph() { return button_->Glyph(); }
  void SetGlyph(const platform::TBitmap& value) { button_->SetGlyph(value); }
  std::string ButtonCaption() const { return button_->Caption(); }
  void SetButtonCaption(const std::string& value) { button_->SetCaption(value); }
  int NumGlyphs() const { return button_->NumGlyphs(); }
  void SetNumGlyphs(int value) { button_->SetNumGlyphs(value); }
  platform::TSpeedButton& Button() const { return *button_; }

protected:
  void Notification(platform::TComponent* AComponent, platform::TOperation Operation) override;

private:
  class TPressButton;
  void ButtonPressed();

  platform::TSpeedButton* button_;
  platform::TWinControl* focusControl_ = nullptr;
};

// A one-line edit with a button docked inside its right edge; the button and F4 call BtnClick, which
// raises OnClickBtn. Without EditorEnabled the user can neither type nor cut, paste or delete, while
// the button and F4 still work. The text starts as "0".
class TZgEditBtn : public platform::TCustomEdit {
public:
  explicit TZgEditBtn(platform::TComponent* AOwner);

  void Dispatch(platform::TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // The button and F4 end here (the sender is the button's container, or the edit for F4).
  virtual void BtnClick(platform::TObject* Sender);

  bool RightAlign() const { return rightAlign_; }
  void SetRightAlign(bool value);
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool value) { editorEnabled_ = value; }
  // The button's width in pixels.
  int ButtonWidth() const { return button_->Width(); }
  void SetButtonWidth(int value);
  platform::TBitmap& Glyph() { return button_->Glyph(); }
  void SetGlyph(const platform::TBitmap& value) { button_->SetGlyph(value); }
  std::string ButtonCaption() const { return button_->ButtonCaption(); }
  void SetButtonCaption(const std::string& value) { button_->SetButtonCaption(value); }
  TZgEditButton& Button() const { return *button_; }

  platform::TNotifyEvent OnClickBtn;

protected:
  void CreateParams(platform::TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  // Places the button and sets the text rectangle, which ends left of the button and the unit width.
  void LayoutControls();
  // The least height that shows the font.
  int MinHeight();
  // A reserve right of the text (the unit edit's unit).
  int UnitWidth() const { return unitWidth_; }
  void SetUnitWidth(int value);

private:
  TZgEditButton* button_;
  int unitWidth_ = 0;
  bool rightAlign_ = false;
  bool editorEnabled_ = true;
};

// An edit with button whose button opens a menu of Units; the chosen unit becomes UnitID, which shows
// right of the (right-aligned) text in a space of UnitSpace pixels.
class TZgUnitEditBtn : public TZgEditBtn {
public:
  explicit TZgUnitEditBtn(platform::TComponent* AOwner);

  void BtnClick(platform::TObject* Sender) override;

  const std::string& UnitID() const { return unitID_; }
  void SetUnitID(const std::string& value);
  platform::TStringList& Units() { return units_; }
  // Copies the list.
  void SetUnits(const platform::TStringList& value) { units_.Assign(value); }
  int UnitSpace() const { return UnitWidth(); }
  void SetUnitSpace(int value) { SetUnitWidth(value); }

protected:
  void Paint() override;

private:
  // A menu item's command: the unit at this 1-based position of the present Units list.
  void UnitChosen(int command);

  std::string unitID_;
  platform::TStringList units_;
  platform::TPopupMenu* menu_ = nullptr;
};

}  // namespace controls
