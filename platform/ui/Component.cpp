#include "platform/ui/Component.h"

#include <algorithm>

namespace platform {

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // The owned components go last-created first, unlinked without notifications: the owner is going too.
  while (!components_.empty()) {
    TComponent* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    delete last;
  }
  if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EComponentError("List index out of bounds (" + std::to_string(index) + ")");
  return components_[static_cast<size_t>(index)];
}

void TComponent::SetDesigning(bool value) {
  if (value)
    state_.Include(csDesigning);
  else
    state_.Exclude(csDesigning);
  for (TComponent* component : components_) component->SetDesigning(value);
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_) throw EComponentError("Component already has an owner");
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (std::find(components_.begin(), components_.end(), component) == components_.end()) return;
  Notification(component, TOperation::opRemove);
  auto it = std::find(components_.begin(), components_.end(), component);  // a handler may have moved it
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  // A handler may remove components, so the index is clamped at every step.
  for (size_t i = components_.size(); i-- > 0;) {
    if (i >= components_.size()) continue;
    if (components_[i] != AComponent) components_[i]->Notification(AComponent, Operation);
  }
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* component : components_) component->Destroying();
}

}  // namespace platform
