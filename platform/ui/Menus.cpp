#include "platform/ui/Menus.h"

#include <algorithm>
#include <utility>

#include "platform/core/Ascii.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/MenuWindows.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

// The names of the keys that are not a letter or digit, as shortcut texts spell them.
const std::vector<std::pair<WORD, std::string>>& KeyNames() {
  static const std::vector<std::pair<WORD, std::string>> names = [] {
    std::vector<std::pair<WORD, std::string>> list = {
        {VK_BACK, "BkSp"}, {VK_TAB, "Tab"},       {VK_ESCAPE, "Esc"},   {VK_RETURN, "Enter"}, {VK_SPACE, "Space"},
        {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},    {VK_END, "End"},      {VK_HOME, "Home"},    {VK_LEFT, "Left"},
        {VK_UP, "Up"},     {VK_RIGHT, "Right"},   {VK_DOWN, "Down"},    {VK_INSERT, "Ins"},   {VK_DELETE, "Del"}};
    for (int f = 1; f <= 12; ++f) list.emplace_back(static_cast<WORD>(VK_F1 + f - 1), "F" + std::to_string(f));
    return list;
  }();
  return names;
}

std::string KeyName(WORD key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
  for (const auto& [k, name] : KeyNames())
    if (k == key) return name;
  return {};
}

}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift) {
  if (Key & 0xFF00) return 0;
  TShortCut result = Key;
  if (Shift.Contains(TShiftStateFlag::ssShift)) result |= scShift;
  if (Shift.Contains(TShiftStateFlag::ssCtrl)) result |= scCtrl;
  if (Shift.Contains(TShiftStateFlag::ssAlt)) result |= scAlt;
  return result;
}

std::string ShortCutToText(TShortCut ShortCut) {
  const std::string name = KeyName(ShortCut & 0xFF);
  if (name.empty()) return {};
  std::string text;
  if (ShortCut & scShift) text += "Shift+";
  if (ShortCut & scCtrl) text += "Ctrl+";
  if (ShortCut & scAlt) text += "Alt+";
  return text + name;
}

TShortCut TextToShortCut(const std::string& Text) {
  TShortCut modifiers = 0;
  std::string rest = Text;
  for (const auto& [prefix, bit] : {std::pair<std::string, TShortCut>{"SHIFT+", scShift}, {"CTRL+", scCtrl}, {"ALT+", scAlt}}) {
    if (rest.size() > prefix.size() && UpperCase(rest.substr(0, prefix.size())) == prefix) {
      modifiers |= bit;
      rest = rest.substr(prefix.size());
    }
  }
  for (int key = 0; key < 0x100; ++key) {
    const std::string name = KeyName(static_cast<WORD>(key));
    if (!name.empty() && SameText(name, rest)) return static_cast<TShortCut>(key | modifiers);
  }
  return 0;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  while (!items_.empty()) delete items_.back();
  if (parent_) parent_->Remove(this);
}

void TMenuItem::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  if (!value || !radioItem_ || !parent_) return;
  for (TMenuItem* sibling : parent_->items_)
    if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->checked_ = false;
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (Item->parent_) Item->parent_->Remove(Item);
  items_.insert(items_.begin() + std::clamp(Index, 0, Count()), Item);
  Item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* Item) {
  items_.erase(std::remove(items_.begin(), items_.end(), Item), items_.end());
  if (Item->parent_ == this) Item->parent_ = nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut ShortCut) {
  if (!visible_ || !enabled_) return nullptr;
  for (TMenuItem* item : items_) {
    if (!item->visible_ || !item->enabled_) continue;
    if (item->shortCut_ == ShortCut && item->items_.empty()) return item;
    if (TMenuItem* found = item->FindShortCut(ShortCut)) return found;
  }
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(std::make_unique<TMenuItem>(nullptr)) {
  items_->menu_ = this;
}

TMenu::~TMenu() { CloseMenusOf(*this); }

void TMenu::SetImages(TCustomImageList* value) {
  if (images_ == value) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = value;
  if (value) value->FreeNotification(this);
}

bool TMenu::IsShortCut(TShortCut ShortCut) {
  TMenuItem* item = ShortCut ? items_->FindShortCut(ShortCut) : nullptr;
  if (!item) return false;
  item->Click();
  return true;
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == images_) images_ = nullptr;
}

void TPopupMenu::SetPopupComponent(TComponent* value) {
  if (popupComponent_ == value) return;
  if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
  popupComponent_ = value;
  if (value) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == popupComponent_) popupComponent_ = nullptr;
}

}  // namespace platform
