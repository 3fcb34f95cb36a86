#include "platform/app/PublishedClasses.h"

#include <algorithm>
#include <unordered_map>

#include "platform/app/AppClasses.h"

namespace platform {

namespace {

struct Registry {
  std::unordered_map<std::type_index, std::unique_ptr<TPublishedClass>> byType;
  std::map<std::string, TPublishedClass*, std::less<>> byName;  // published names, upper-cased
  std::unordered_map<std::type_index, TIdentifierTable> enums;
  std::unordered_map<std::type_index, std::function<std::any(const TResourceValue&)>> sets;
};

Registry& Classes() {
  static Registry registry;
  return registry;
}

// The registry as lookups see it: with the classes of its own layer published, once.
const Registry& PublishedRegistry() {
  static bool published = false;
  if (!published) {
    published = true;
    PublishAppClasses();
  }
  return Classes();
}

int Depth(const TPublishedClass* c) {
  int depth = 0;
  for (; c; c = c->Base()) ++depth;
  return depth;
}

// The class name of a published name: what follows the unit's dot.
std::string_view ClassNameOf(std::string_view publishedName) {
  const size_t dot = publishedName.rfind('.');
  return dot == std::string_view::npos ? publishedName : publishedName.substr(dot + 1);
}

// The one class whose class name is `className`, null when none is; raises when several units publish one.
const TPublishedClass* FindByClassName(const Registry& registry, std::string_view className) {
  std::vector<std::string> names;
  const TPublishedClass* found = nullptr;
  for (const auto& [type, c] : registry.byType) {
    if (!SameText(c->Name(), className)) continue;
    found = c.get();
    names.push_back(c->PublishedName());
  }
  if (names.size() < 2) return found;
  std::sort(names.begin(), names.end());
  std::string choices = names[0];
  for (size_t i = 1; i < names.size(); ++i) choices += " or " + names[i];
  throw EComponentError("Class " + std::string(className) + " is published by several units: write " + choices);
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
  if (auto it = registry.byName.find(UpperCase(name)); it != registry.byName.end()) return it->second;
  return ClassNameOf(name).size() == name.size() ? FindByClassName(registry, name) : nullptr;
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

// Two types may share a class name only when both are published under their units' names, so that the
// qualified names tell them apart.
TPublishedClass& Register(std::string name, std::type_index type) {
  Registry& registry = Classes();
  const std::string className(ClassNameOf(name));
  const bool qualified = className.size() != name.size();
  for (const auto& [otherType, other] : registry.byType) {
    if (otherType == type) continue;
    if (SameText(other->name_, name)) throw EComponentError("Two classes are published as " + name);
    if (SameText(other->className_, className) && (!qualified || other->name_ == other->className_))
      throw EComponentError("Two classes are published as " + className + "; publish each as Unit." + className);
  }
  std::unique_ptr<TPublishedClass>& entry = registry.byType[type];
  if (!entry)
    entry = std::make_unique<TPublishedClass>();
  else
    registry.byName.erase(UpperCase(entry->name_));  // a type published again takes its new name only
  registry.byName[UpperCase(name)] = entry.get();
  entry->name_ = std::move(name);
  entry->className_ = className;
  entry->type_ = type;
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
