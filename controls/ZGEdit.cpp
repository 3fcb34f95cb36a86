#include "controls/ZGEdit.h"

#include <algorithm>

#include "controls/EditMinHeight.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/VirtualKeys.h"

namespace controls {

using namespace platform;

namespace {

constexpr int kMinContainerWidth = 15;

}  // namespace

// The container's speed button: a left press reports to the container at once.
class TZgEditButton::TPressButton : public TSpeedButton {
public:
  explicit TPressButton(TZgEditButton* container) : TSpeedButton(container), container_(container) {}

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TGuard guard(*this);
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (guard.Alive() && Button == TMouseButton::mbLeft && Enabled()) container_->ButtonPressed();
  }

private:
  TZgEditButton* container_;
};

TZgEditButton::TZgEditButton(TComponent* AOwner) : TWinControl(AOwner), button_(new TPressButton(this)) {
  button_->SetParent(this);
  SetBounds(Left(), Top(), 20, 25);
}

void TZgEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, std::max(AWidth, kMinContainerWidth), AHeight);
  button_->SetBounds(0, 0, ClientWidth(), ClientHeight());
}

void TZgEditButton::SetFocusControl(TWinControl* value) {
  if (focusControl_ == value) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = value;
  if (value) value->FreeNotification(this);
}

void TZgEditButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TZgEditButton::ButtonPressed() {
  TGuard guard(*this);
  if (OnClick) OnClick(this);
  if (guard.Gone()) return;
  auto wantsFocus = [](TWinControl* control) {
    return control && control->TabStop() && control->CanFocus() && !control->Focused();
  };
  if (wantsFocus(focusControl_))
    focusControl_->SetFocus();
  else if (wantsFocus(this))
    SetFocus();
}

TZgEditBtn::TZgEditBtn(TComponent* AOwner) : TCustomEdit(AOwner), button_(new TZgEditButton(this)) {
  button_->SetBounds(0, 0, 15, 17);
  button_->SetParent(this);
  button_->SetFocusControl(this);
  button_->OnClick = [this](TObject* sender) { BtnClick(sender); };
  SetText("0");
}

void TZgEditBtn::BtnClick(TObject* Sender) {
  if (OnClickBtn) OnClickBtn(Sender);
}

void TZgEditBtn::SetRightAlign(bool value) {
  if (value == rightAlign_) return;
  rightAlign_ = value;
  StyleChanged();
}

void TZgEditBtn::SetButtonWidth(int value) {
  button_->SetWidth(value);
  LayoutControls();
}

void TZgEditBtn::SetUnitWidth(int value) {
  unitWidth_ = value;
  LayoutControls();
  Invalidate();
}

void TZgEditBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CHAR:
      if (!editorEnabled_) return;
      break;
    case WM_PASTE:
    case WM_CUT:
      if (!editorEnabled_ || ReadOnly()) return;
      break;
    case WM_MBUTTONDOWN:  // pastes the primary selection
      if (!editorEnabled_) return;
      break;
    case CM_FONTCHANGED:
      TCustomEdit::Dispatch(Message);
      SetBounds(Left(), Top(), Width(), Height());
      return;
    default:
      break;
  }
  TCustomEdit::Dispatch(Message);
}

void TZgEditBtn::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomEdit::SetBounds(ALeft, ATop, AWidth, std::max(AHeight, MinHeight()));
  LayoutControls();
}

void TZgEditBtn::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  // A one-line edit: the formatting rectangle that keeps the text off the button works without the
  // multi-line style here, which would let Enter and pasted line breaks into the field.
  Params.Style |= WS_CLIPCHILDREN;
  if (rightAlign_) Params.Style |= ES_RIGHT;
}

void TZgEditBtn::CreateWnd() {
  TCustomEdit::CreateWnd();
  LayoutControls();
}

void TZgEditBtn::KeyDown(WORD& Key, TShiftState Shift) {
  TGuard guard(*this);
  TCustomEdit::KeyDown(Key, Shift);  // OnKeyDown may free the edit
  if (guard.Gone()) return;
  if (Key == VK_DELETE && !editorEnabled_) Key = 0;
  if (Key == VK_F4) BtnClick(this);
}

void TZgEditBtn::LayoutControls() {
  const bool border = BorderStyle() == TBorderStyle::bsSingle;
  const int margin = border ? 5 : 2;
  const int buttonWidth = button_->Width();
  button_->SetBounds(Width() - buttonWidth - margin, 0, buttonWidth, Height() - margin);
  const int inset = border ? 1 : 2;
  TRect rect{inset, inset, ClientWidth() - buttonWidth - 3 - unitWidth_, ClientHeight() + 1};
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
}

int TZgEditBtn::MinHeight() { return EditMinHeight(Font()); }

TZgUnitEditBtn::TZgUnitEditBtn(TComponent* AOwner) : TZgEditBtn(AOwner) {
  SetUnitSpace(20);
  SetRightAlign(true);
}

void TZgUnitEditBtn::SetUnitID(const std::string& value) {
  unitID_ = value;
  Invalidate();
}

void TZgUnitEditBtn::BtnClick(TObject*) {
  // The menu of the last press may still be open: close it before its items go.
  delete menu_;
  menu_ = new TPopupMenu(this);
  for (int i = 0; i < units_.Count(); ++i) {
    auto* item = new TMenuItem(menu_);
    item->SetCaption(units_.Strings(i));
    item->OnClick = [this, command = i + 1](TObject*) { UnitChosen(command); };
    menu_->Items()->Add(item);
  }
  const TPoint at = Parent() ? Parent()->ClientToScreen({Left(), Top()}) : TPoint{Left(), Top()};
  menu_->SetPopupComponent(this);
  menu_->Popup(at.X + ClientWidth() - 15, at.Y + ClientHeight());
}

void TZgUnitEditBtn::UnitChosen(int command) {
  // The list may have changed while the menu was open.
  if (command >= 1 && command <= units_.Count()) SetUnitID(units_.Strings(command - 1));
}

void TZgUnitEditBtn::Paint() {
  TZgEditBtn::Paint();
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  const int left = ClientWidth() - Button().Width() - 3 - UnitSpace();
  TRect r{left, 2, left + UnitSpace(), ClientHeight()};
  DrawText(canvas.Handle(), unitID_, r, DT_EDITCONTROL);
}

}  // namespace controls
