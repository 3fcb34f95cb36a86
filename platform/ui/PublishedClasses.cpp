#include "platform/ui/PublishedClasses.h"

#include <unordered_map>

#include "platform/ui/StandardClasses.h"

namespace platform {

namespace {

struct Registry {
  std::unordered_map<std::type_index, std::unique_ptr<TPublishedClass>> byType;
  std::map<std::string, TPublishedClass*, std::less<>> byName;  // upper-cased
  std::unordered_map<std::type_index, TIdentifierTable> enums;
  std::unordered_map<std::type_index, std::function<std::any(const TResourceValue&)>> sets;
};

Registry& Classes() {
  static Registry registry;
  return registry;
}

// The registry as lookups see it: with the platform's own classes published, once.
const Registry& PublishedRegistry() {
  static bool published = false;
  if (!published) {
    published = true;
    PublishStandardClasses();
  }
  return Classes();
}

int Depth(const TPublishedClass* c) {
  int depth = 0;
  for (; c; c = c->Base()) ++depth;
  return depth;
}

const int64_t* FindIdentifier(const TIdentifierTable& table, std::string_view name) {
  for (const auto& [identifier, value] : table)
    if (SameText(identifier, name)) return &value;
  return nullptr;
}

}  // namespace

const TPublishedClass* TPublishedClass::Base() const { return FindPublishedClass(base_); }

TComponent* TPublishedClass::Create(TComponent* owner) const {
  if (!create_) throw EComponentError("Class " + name_ + " cannot be created by the form loader");
  return create_(owner);
}

const TPublishedProperty* TPublishedClass::FindProperty(std::string_view name, void*& object) const {
  const std::string key = UpperCase(name);
  for (const TPublishedClass* c = this; c; c = c->Base()) {
    if (auto it = c->properties_.find(key); it != c->properties_.end()) return &it->second;
    if (c->toBase_) object = c->toBase_(object);
  }
  return nullptr;
}

void TPublishedClass::Nest(void* child, TComponent& container) const {
  for (const TPublishedClass* c = this; c; c = c->Base()) {
    if (c->nest_) {
      c->nest_(child, container);
      return;
    }
    if (c->toBase_) child = c->toBase_(child);
  }
}

const TPublishedClass* FindPublishedClass(std::string_view name) {
  const Registry& registry = PublishedRegistry();
  auto it = registry.byName.find(UpperCase(name));
  return it == registry.byName.end() ? nullptr : it->second;
}

const TPublishedClass* FindPublishedClass(std::type_index type) {
  const Registry& registry = PublishedRegistry();
  auto it = registry.byType.find(type);
  return it == registry.byType.end() ? nullptr : it->second.get();
}

const TPublishedClass* PublishedClassOf(TObject& object) {
  if (const TPublishedClass* own = FindPublishedClass(typeid(object))) return own;
  const TPublishedClass* best = nullptr;
  for (const auto& [type, c] : PublishedRegistry().byType)
    if (c->Cast(object) && (!best || Depth(c.get()) > Depth(best))) best = c.get();
  return best;
}

namespace published_detail {

TPublishedClass& Register(std::string name, std::type_index type) {
  Registry& registry = Classes();
  const std::string key = UpperCase(name);
  if (auto it = registry.byName.find(key); it != registry.byName.end() && it->second->type_ != type)
    throw EComponentError("Two classes are published as " + name);
  std::unique_ptr<TPublishedClass>& entry = registry.byType[type];
  if (!entry) entry = std::make_unique<TPublishedClass>();
  entry->name_ = std::move(name);
  entry->type_ = type;
  registry.byName[key] = entry.get();
  return *entry;
}

void RegisterEnum(std::type_index type, TIdentifierTable names) { Classes().enums[type] = std::move(names); }

void RegisterSet(std::type_index type, std::function<std::any(const TResourceValue&)> build) {
  Classes().sets[type] = std::move(build);
}

void WrongKind(const TResourceValue& value, std::string_view expected) {
  throw EPropertyValueError("expected " + std::string(expected) + ", found " +
                            std::string(ResourceValueKindName(value.kind)));
}

void OutOfRange(int64_t value) {
  throw EPropertyValueError("the value " + std::to_string(value) + " is out of the property's range");
}

bool BoolValue(const TResourceValue& value) {
  if (value.kind == TResourceValueKind::Identifier) {
    if (SameText(value.text, "True")) return true;
    if (SameText(value.text, "False")) return false;
  }
  WrongKind(value, "True or False");
}

int64_t EnumValue(std::type_index type, const TResourceValue& value) {
  const Registry& registry = Classes();
  auto table = registry.enums.find(type);
  if (table == registry.enums.end())
    throw EPropertyValueError("the property's enumeration type is not published");
  if (value.kind != TResourceValueKind::Identifier) WrongKind(value, "an identifier");
  if (const int64_t* v = FindIdentifier(table->second, value.text)) return *v;
  throw EPropertyValueError("unknown identifier " + value.text);
}

int64_t IntegerValue(const TResourceValue& value, const TIdentifierTable* identifiers) {
  if (value.kind == TResourceValueKind::Integer) return value.integer;
  if (value.kind == TResourceValueKind::Identifier && identifiers) {
    if (const int64_t* v = FindIdentifier(*identifiers, value.text)) return *v;
    throw EPropertyValueError("unknown identifier " + value.text);
  }
  WrongKind(value, "an integer");
}

std::any SetValue(std::type_index type, const TResourceValue& value) {
  const Registry& registry = Classes();
  auto set = registry.sets.find(type);
  if (set == registry.sets.end()) throw EPropertyValueError("the property's type cannot be set from a form resource");
  return set->second(value);
}

}  // namespace published_detail

}  // namespace platform
