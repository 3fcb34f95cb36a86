#include "platform/ui/Menus.h"

namespace platform {

void TPopupMenu::SetPopupComponent(TComponent* value) {
  if (popupComponent_ == value) return;
  if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
  popupComponent_ = value;
  if (value) value->FreeNotification(this);
}

void TPopupMenu::Popup(int X, int Y) {
  if (OnPopup) OnPopup(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == popupComponent_) popupComponent_ = nullptr;
}

}  // namespace platform
