#pragma once

#include "platform/ui/Component.h"

namespace platform {

class TControl;

// The pop-up menu a control shows on a right click (its PopupMenu property). This is the part the
// control framework needs: the component the menu was opened for and the OnPopup event; the menu's
// items come with the menus themselves.
class TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}

  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value);
  // Opens the menu at a screen point; the base runs OnPopup.
  virtual void Popup(int X, int Y);

  TNotifyEvent OnPopup;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TComponent* popupComponent_ = nullptr;
};

}  // namespace platform
