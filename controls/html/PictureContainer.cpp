#include "controls/html/PictureContainer.h"

#include <algorithm>

#include "platform/core/Ascii.h"
#include "platform/core/StrUtils.h"

namespace controls {

TMarkupPicture* TMarkupPictureCache::AddPicture() {
  pictures_.push_back(std::make_unique<TMarkupPicture>());
  return pictures_.back().get();
}

TMarkupPicture* TMarkupPictureCache::FindPicture(std::string_view url) const {
  for (const auto& picture : pictures_)
    if (picture->ID == url) return picture.get();
  return nullptr;
}

TMarkupPicture* TMarkupPictureCache::GetPicture(int index) const {
  return index >= 0 && index < Count() ? pictures_[static_cast<size_t>(index)].get() : nullptr;
}

void TMarkupPictureCache::SetPicture(int index, std::unique_ptr<TMarkupPicture> picture) {
  if (index >= 0 && index < Count() && picture) pictures_[static_cast<size_t>(index)] = std::move(picture);
}

bool TMarkupPictureCache::Animate() {
  bool changed = false;
  for (const auto& picture : pictures_) changed = picture->Step() || changed;
  return changed;
}

TPictureItem* TPictureCollection::Add() { return Insert(Count()); }

TPictureItem* TPictureCollection::Insert(int index) {
  index = std::clamp(index, 0, Count());
  return items_.insert(items_.begin() + index, std::make_unique<TPictureItem>())->get();
}

TPictureItem* TPictureCollection::GetItem(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

void TPictureCollection::SetItem(int index, const TPictureItem& value) {
  TPictureItem* item = GetItem(index);
  if (!item || item == &value) return;
  item->SetPicture(value.Picture());
  item->Name = value.Name;
  item->Tag = value.Tag;
}

bool TPictureCollection::Animate() {
  bool changed = false;
  for (const auto& item : items_) changed = item->Picture().Step() || changed;
  return changed;
}

TPictureContainer::TPictureContainer(TComponent* AOwner) : TComponent(AOwner) {}

void TPictureContainer::SetItems(std::unique_ptr<TPictureCollection> value) {
  if (value) items_ = std::move(value);
}

TMarkupPicture* TPictureContainer::FindPicture(std::string_view name) const {
  for (int i = 0; i < items_->Count(); ++i) {
    TPictureItem* item = items_->GetItem(i);
    if (platform::UpperCase(item->Name) == name) return &item->Picture();
  }
  return nullptr;
}

}  // namespace controls
