#include "platform/app/Component.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>

#include "platform/core/StrUtils.h"

namespace platform {

std::string TObject::ClassName() const {
  // Demangled once per class: a control asks for its class name whenever it works out its borders
  // before it has a window, many times while a form is first shown.
  // Never freed: objects of static storage (a program's forms) still ask while they are destroyed.
  static std::mutex& mutex = *new std::mutex;
  static auto& names = *new std::unordered_map<std::type_index, std::string>;
  const std::type_index type(typeid(*this));
  std::lock_guard lock(mutex);
  if (const auto known = names.find(type); known != names.end()) return known->second;
  const char* mangled = type.name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                          &std::free);
  std::string name = status == 0 && demangled ? demangled.get() : mangled;
  size_t colon = name.rfind("::");
  return names.emplace(type, colon == std::string::npos ? name : name.substr(colon + 2)).first->second;
}

void TPersistent::Assign(const TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + Dest->ClassName());
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  life_.reset();
  Destroying();
  // Those that asked hear of the end first, while the owner tree is still whole.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  // Unlinked without notifications: the owner is going too, or asked for all of them to go.
  while (!components_.empty()) {
    TComponent* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    delete last;
  }
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EComponentError("List index out of bounds (" + std::to_string(index) + ")");
  return components_[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : components_)
    if (SameText(component->Name(), name)) return component;
  return nullptr;
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

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) != freeNotifies_.end()) return;
  freeNotifies_.push_back(AComponent);
  AComponent->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), AComponent), freeNotifies_.end());
  auto& back = AComponent->freeNotifies_;
  back.erase(std::remove(back.begin(), back.end(), this), back.end());
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
