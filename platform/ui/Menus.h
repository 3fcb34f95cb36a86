#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/app/Component.h"
#include "platform/ui/Keyboard.h"

namespace platform {

class TControl;
class TCustomForm;
class TCustomImageList;
class TMenu;

// A key with its modifiers, as menu items store it: the virtual key in the low byte, scShift, scCtrl
// and scAlt above.
using TShortCut = WORD;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(WORD Key, TShiftState Shift);
// "Ctrl+S", "Shift+F5", "Del": the text a menu shows beside the item; empty for 0.
std::string ShortCutToText(TShortCut ShortCut);
// The reverse of ShortCutToText; 0 for a text it does not know.
TShortCut TextToShortCut(const std::string& Text);

// One entry of a menu: a command, a check or radio item, a separator (caption "-") or, with items
// of its own, a sub-menu. Items are components of the form (their owner) and lie in their parent
// item's list; an item that is destroyed leaves the list, and destroying an item destroys its items.
// Radio items of one GroupIndex under one parent are checked one at a time.
class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool value) { radioItem_ = value; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value) { groupIndex_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value) { shortCut_ = value; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value) { imageIndex_ = value; }
  bool IsLine() const { return caption_ == "-"; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int Index) const { return items_.at(static_cast<size_t>(Index)); }
  TMenuItem* Parent() const { return parent_; }
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Remove(TMenuItem* Item);
  // The item (here or below) whose shortcut this is and that can run: visible and enabled up its
  // parents. Null when none is.
  TMenuItem* FindShortCut(TShortCut ShortCut);
  // The menu this item belongs to, when it lies in one.
  TMenu* GetParentMenu() const;

  // Runs OnClick (an item with items opens them instead, which the menu windows do).
  virtual void Click();

  TNotifyEvent OnClick;

private:
  friend class TMenu;
  std::string caption_;
  bool checked_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
  TShortCut shortCut_ = 0;
  int imageIndex_ = -1;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item of a menu
};

// A menu: a root item whose items are its entries, and the image list their ImageIndex points into.
class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  TMenuItem* Items() const { return items_.get(); }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  // Runs the item with this shortcut; true when one ran.
  bool IsShortCut(TShortCut ShortCut);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  std::unique_ptr<TMenuItem> items_;
  TCustomImageList* images_ = nullptr;
};

// The menu bar of a form: assigned to the form (SetMainMenu), it shows as a bar across the top of
// the form's client area. Alt alone, or F10, selects its first entry; the arrows move along it and
// open an entry's items; Alt with an entry's mnemonic opens it at once.
class TMainMenu : public TMenu {
public:
  using TMenu::TMenu;
};

// A menu that opens at a point: by Popup, or as a control's PopupMenu on a right click or the
// context-menu key (at the cursor).
class TPopupMenu : public TMenu {
public:
  explicit TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value);
  // Runs OnPopup and opens the menu with its top-left corner at the screen point.
  virtual void Popup(int X, int Y);

  TNotifyEvent OnPopup;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TComponent* popupComponent_ = nullptr;
};

// Shows the main menu as the form's menu bar (null removes it).
void SetMainMenu(TCustomForm& Form, TMainMenu* Menu);
TMainMenu* GetMainMenu(const TCustomForm& Form);

// The menu keyboard for a key that reaches a focused control: an open menu's navigation, the menu
// bar's Alt navigation and mnemonics, then the shortcuts of the pop-up menus of the control and its
// parents and of the form's main menu. True when a menu took the key; the control then does not see
// it (nor the character it makes).
bool MenuKeyDown(TControl& Focused, WORD Key, TShiftState Shift);
// Alt (VK_MENU) released with no other key since it went down: selects the form's menu bar.
bool MenuAltReleased(TControl& Focused);

// The menu windows that are open, outermost first (for tests and the keyboard).
class TMenuWindow;
const std::vector<TMenuWindow*>& OpenMenuWindows();
// Closes every open menu window.
void CloseMenus();

}  // namespace platform
