#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Ascii.h"
#include "platform/app/Component.h"
#include "platform/app/FormResource.h"

namespace platform {

// The classes that form resources may name, with their published properties: what the form loader
// (platform/ui/FormLoader.h) creates and sets. A class publishes itself once, before the first form is
// loaded:
//
//   TClassPublisher<TPanel, TCustomControl>("TPanel")     // class name, then the published base
//       .Property("Caption", &TPanel::SetCaption)         // a Set... setter, typed
//       .Property("Tag", &TControl::Tag)                  // a plain field; events are fields too
//       .Object("Font", &TControl::Font)                  // a sub-object: "Font.Name = ..."
//       .Collection("Panels", &TStatusBar::Panels)        // Clear() and Add() of the collection
//       .Nested([](TControl& c, TComponent& container) { ... });  // how a nested component joins its container
//
// Two units may each have a class of the same name: each then publishes it under its unit-qualified name
// ("ExSpin.TExMaskSpinEdit", "zgspin.TExMaskSpinEdit"). A resource names a class by its published name,
// or by the class name alone while only one published class has that name.
//
// A component class that can be built from its owner (new T(owner)) gets a factory; other classes
// (sub-objects, collection items) are published for their properties only. Names of classes,
// properties and identifiers compare ignoring ASCII case. The value a setter takes decides what the
// resource must give: bool (True, False), integers and enumerations (ranges checked), floating point,
// std::string, std::vector<std::string> (a list), std::vector<uint8_t> (binary data), a set type
// published with PublishSet, a pointer to a component class (the name of a component of the form,
// resolved once all components exist) and std::function (an event handler, bound by name). Anything
// else is a mistake of the publisher and is reported at load time.

class TPublishedClass;

namespace published_detail {
TPublishedClass& Register(std::string name, std::type_index type);
}

// Named constants an integer property accepts besides numbers (colour names, for instance).
using TIdentifierTable = std::vector<std::pair<std::string, int64_t>>;

// A value a setter cannot take; the loader adds the resource, line and property.
class EPropertyValueError : public Exception {
public:
  using Exception::Exception;
};

// What a setter needs of the running load besides the value.
class TLoadContext {
public:
  virtual ~TLoadContext() = default;
  // The method that the form published under `name`; raises when there is none.
  virtual const std::any& Method(const std::string& name) = 0;
  // Runs `assign` with the form's component called `name` once every component exists.
  virtual void ReferTo(const std::string& name, std::function<void(TComponent*)> assign) = 0;
};

// A published property: a value to set, a sub-object to descend into, or a collection to fill.
struct TPublishedProperty {
  enum class TKind { Value, Object, Collection };
  TKind kind = TKind::Value;
  // Value: sets the value on the object (a pointer to the publishing class).
  std::function<void(void* object, const TResourceValue& value, TLoadContext& context)> set;
  // Object: the sub-object; Collection: the new item (after clear at the first item).
  std::function<void*(void* object)> get;
  std::function<void(void* object)> clear;
  std::type_index subClass = typeid(void);  // the class of the sub-object or item
};

class TPublishedClass {
public:
  // The class name without its unit ("TExMaskSpinEdit"), as messages about the class name it.
  const std::string& Name() const { return className_; }
  // The name it is published under: the class name, or "Unit.ClassName".
  const std::string& PublishedName() const { return name_; }
  const TPublishedClass* Base() const;
  bool CanCreate() const { return static_cast<bool>(create_); }
  // A new instance owned by `owner`; raises EComponentError for a class without a factory.
  TComponent* Create(TComponent* owner) const;

  // The property by name, searched in this class and its bases; `object` (a pointer to this class) is
  // adjusted to the class that publishes it. Null when there is none.
  const TPublishedProperty* FindProperty(std::string_view name, void*& object) const;
  // Joins a component of this class (as a pointer to it) to the component it is nested in, by the
  // nearest hook of the class and its bases; without a hook nothing is done.
  void Nest(void* child, TComponent& container) const;
  // The object as a pointer to this class; null when it is not one (only for TObject classes).
  void* Cast(TObject& object) const { return cast_ ? cast_(&object) : nullptr; }

private:
  template <class T, class Base>
  friend class TClassPublisher;
  friend TPublishedClass& published_detail::Register(std::string name, std::type_index type);

  std::string name_;
  std::string className_;
  std::type_index type_ = typeid(void);
  std::type_index base_ = typeid(void);
  std::function<void*(void*)> toBase_;
  std::function<TComponent*(TComponent*)> create_;
  std::function<void*(TObject*)> cast_;
  std::function<void(void*, TComponent&)> nest_;
  std::map<std::string, TPublishedProperty, std::less<>> properties_;  // keys upper-cased
};

// The class published under `name` (ignoring case), null when none is. A class name without a unit
// also finds a class published under "Unit.ClassName" when no other published class has that name; when
// several have it, raises EComponentError naming their published names.
const TPublishedClass* FindPublishedClass(std::string_view name);
// The class published for a C++ type, null when none is.
const TPublishedClass* FindPublishedClass(std::type_index type);
// The most derived published class of an object (its own, else the deepest published base it converts
// to); null when none fits.
const TPublishedClass* PublishedClassOf(TObject& object);

// Publishes the names of an enumeration's values.
template <class E>
void PublishEnum(std::vector<std::pair<std::string, E>> names);

// Publishes a set type S of enumeration E (published with PublishEnum); the loader builds it from the
// empty set with `set = set + element` or, for a set class with Include, `set.Include(element)`.
template <class S, class E>
void PublishSet();

namespace published_detail {

void RegisterEnum(std::type_index type, TIdentifierTable names);
void RegisterSet(std::type_index type, std::function<std::any(const TResourceValue&)> build);
int64_t EnumValue(std::type_index type, const TResourceValue& value);
int64_t IntegerValue(const TResourceValue& value, const TIdentifierTable* identifiers);
std::any SetValue(std::type_index type, const TResourceValue& value);
[[noreturn]] void WrongKind(const TResourceValue& value, std::string_view expected);
[[noreturn]] void OutOfRange(int64_t value);
bool BoolValue(const TResourceValue& value);

template <class V>
struct IsFunction : std::false_type {};
template <class Sig>
struct IsFunction<std::function<Sig>> : std::true_type {};

template <class V>
V Convert(const TResourceValue& value, TLoadContext& context, const TIdentifierTable* identifiers) {
  using K = TResourceValueKind;
  if constexpr (std::is_same_v<V, bool>) {
    return BoolValue(value);
  } else if constexpr (std::is_enum_v<V>) {
    return static_cast<V>(EnumValue(typeid(V), value));
  } else if constexpr (std::is_integral_v<V>) {
    const int64_t n = IntegerValue(value, identifiers);
    if constexpr (std::is_unsigned_v<V>) {
      if (n < 0 || static_cast<uint64_t>(n) > std::numeric_limits<V>::max()) OutOfRange(n);
    } else {
      if (n < std::numeric_limits<V>::min() || n > std::numeric_limits<V>::max()) OutOfRange(n);
    }
    return static_cast<V>(n);
  } else if constexpr (std::is_floating_point_v<V>) {
    if (value.kind == K::Integer) return static_cast<V>(value.integer);
    if (value.kind != K::Float) WrongKind(value, "a number");
    return static_cast<V>(value.real);
  } else if constexpr (std::is_same_v<V, std::string>) {
    if (value.kind != K::String) WrongKind(value, "a string");
    return value.text;
  } else if constexpr (std::is_same_v<V, std::vector<std::string>>) {
    if (value.kind != K::StringList) WrongKind(value, "a list of strings");
    return value.names;
  } else if constexpr (std::is_same_v<V, std::vector<uint8_t>>) {
    if (value.kind != K::Binary) WrongKind(value, "binary data");
    return V(value.text.begin(), value.text.end());
  } else if constexpr (IsFunction<V>::value) {
    if (value.kind != K::Handler) WrongKind(value, "an event handler (@Name)");
    const V* method = std::any_cast<V>(&context.Method(value.text));
    if (!method) throw EPropertyValueError("method " + value.text + " does not take this event's parameters");
    return *method;
  } else {
    return std::any_cast<V>(SetValue(typeid(V), value));
  }
}

template <class V>
constexpr bool IsComponentPointer =
    std::is_pointer_v<V> && std::is_base_of_v<TComponent, std::remove_cv_t<std::remove_pointer_t<V>>>;

// Converts the value to V and hands it to `apply`; a component reference is applied once resolved.
template <class V, class Apply>
void SetValue(const TResourceValue& value, TLoadContext& context, const TIdentifierTable* identifiers, Apply apply) {
  if constexpr (IsComponentPointer<V>) {
    if (value.kind != TResourceValueKind::Identifier) WrongKind(value, "the name of a component");
    context.ReferTo(value.text, [apply, name = value.text](TComponent* component) {
      auto* target = dynamic_cast<V>(component);
      if (!target) throw EPropertyValueError("component " + name + " is not of the class this property takes");
      apply(target);
    });
  } else {
    apply(Convert<V>(value, context, identifiers));
  }
}

// The parameter type of a setter: a member function, a data member or a callable taking (T&, value).
template <class F>
struct SetterValue : SetterValue<decltype(&F::operator())> {};
template <class C, class R, class P>
struct SetterValue<R (C::*)(P)> {
  using type = std::remove_cvref_t<P>;
};
template <class C, class R, class P>
struct SetterValue<R (C::*)(P) noexcept> {
  using type = std::remove_cvref_t<P>;
};
template <class C, class R, class O, class P>
struct SetterValue<R (C::*)(O&, P) const> {
  using type = std::remove_cvref_t<P>;
};
template <class C, class R, class O, class P>
struct SetterValue<R (C::*)(O&, P)> {
  using type = std::remove_cvref_t<P>;
};

template <class T, class Setter>
void Assign(T& object, const Setter& setter, auto&& v) {
  if constexpr (std::is_member_function_pointer_v<Setter>) {
    (object.*setter)(std::forward<decltype(v)>(v));
  } else if constexpr (std::is_member_object_pointer_v<Setter>) {
    object.*setter = std::forward<decltype(v)>(v);
  } else {
    setter(object, std::forward<decltype(v)>(v));
  }
}

template <class Setter>
struct ValueOf {
  using type = typename SetterValue<Setter>::type;
};
template <class C, class F>
  requires(!std::is_function_v<F>)
struct ValueOf<F C::*> {
  using type = std::remove_cvref_t<F>;
};

template <class T, class Getter>
auto& SubObject(T& object, const Getter& getter) {
  if constexpr (std::is_member_object_pointer_v<Getter>) {
    return object.*getter;
  } else {
    auto&& result = std::invoke(getter, object);
    if constexpr (std::is_pointer_v<std::remove_cvref_t<decltype(result)>>)
      return *result;
    else
      return result;
  }
}

}  // namespace published_detail

template <class T, class Base = void>
class TClassPublisher {
public:
  explicit TClassPublisher(std::string name) : class_(published_detail::Register(std::move(name), typeid(T))) {
    if constexpr (!std::is_void_v<Base>) {
      static_assert(std::is_base_of_v<Base, T>);
      class_.base_ = typeid(Base);
      class_.toBase_ = [](void* p) -> void* { return static_cast<Base*>(static_cast<T*>(p)); };
    }
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>)
      class_.create_ = [](TComponent* owner) -> TComponent* { return new T(owner); };
    if constexpr (std::is_base_of_v<TObject, T>)
      class_.cast_ = [](TObject* p) -> void* { return dynamic_cast<T*>(p); };
  }

  // A value property: a member setter, a plain field, or a callable taking (T&, value).
  template <class Setter>
  TClassPublisher& Property(const std::string& name, Setter setter) {
    return Add(name, ValueProperty(setter, nullptr));
  }
  // An integer property that also takes the named constants of `identifiers` (which must outlive the
  // registry; a static table).
  template <class Setter>
  TClassPublisher& Property(const std::string& name, Setter setter, const TIdentifierTable& identifiers) {
    return Add(name, ValueProperty(setter, &identifiers));
  }

  // A sub-object (a getter returning a reference or pointer, or a data member) whose own published
  // properties the resource sets as "Name.Property".
  template <class Getter>
  TClassPublisher& Object(const std::string& name, Getter getter) {
    using O = std::remove_cvref_t<decltype(published_detail::SubObject(std::declval<T&>(), getter))>;
    TPublishedProperty property;
    property.kind = TPublishedProperty::TKind::Object;
    property.subClass = typeid(O);
    property.get = [getter](void* p) -> void* { return &published_detail::SubObject(*static_cast<T*>(p), getter); };
    return Add(name, std::move(property));
  }

  // A collection (reached as by Object) with Clear() and Add(); Add returns the new item, whose class
  // is published. The resource's items replace the collection's.
  template <class Getter>
  TClassPublisher& Collection(const std::string& name, Getter getter) {
    using C = std::remove_cvref_t<decltype(published_detail::SubObject(std::declval<T&>(), getter))>;
    using Item = std::remove_cvref_t<std::remove_pointer_t<decltype(std::declval<C&>().Add())>>;
    TPublishedProperty property;
    property.kind = TPublishedProperty::TKind::Collection;
    property.subClass = typeid(Item);
    property.clear = [getter](void* p) { published_detail::SubObject(*static_cast<T*>(p), getter).Clear(); };
    property.get = [getter](void* p) -> void* {
      auto&& item = published_detail::SubObject(*static_cast<T*>(p), getter).Add();
      if constexpr (std::is_pointer_v<std::remove_cvref_t<decltype(item)>>)
        return item;
      else
        return &item;
    };
    return Add(name, std::move(property));
  }

  // How a component of this class joins the component it is nested in (a control gets it as its parent).
  template <class Hook>
  TClassPublisher& Nested(Hook hook) {
    class_.nest_ = [hook](void* child, TComponent& container) { hook(*static_cast<T*>(child), container); };
    return *this;
  }

private:
  template <class Setter>
  static TPublishedProperty ValueProperty(Setter setter, const TIdentifierTable* identifiers) {
    using V = typename published_detail::ValueOf<Setter>::type;
    TPublishedProperty property;
    property.set = [setter, identifiers](void* p, const TResourceValue& value, TLoadContext& context) {
      T& object = *static_cast<T*>(p);
      published_detail::SetValue<V>(value, context, identifiers,
                                    [&object, setter](auto&& v) { published_detail::Assign(object, setter, v); });
    };
    return property;
  }

  TClassPublisher& Add(const std::string& name, TPublishedProperty property);

  TPublishedClass& class_;
};

template <class T, class Base>
TClassPublisher<T, Base>& TClassPublisher<T, Base>::Add(const std::string& name, TPublishedProperty property) {
  class_.properties_[UpperCase(name)] = std::move(property);
  return *this;
}

template <class E>
void PublishEnum(std::vector<std::pair<std::string, E>> names) {
  TIdentifierTable table;
  for (auto& [name, value] : names) table.emplace_back(std::move(name), static_cast<int64_t>(value));
  published_detail::RegisterEnum(typeid(E), std::move(table));
}

template <class S, class E>
void PublishSet() {
  published_detail::RegisterSet(typeid(S), [](const TResourceValue& value) -> std::any {
    if (value.kind != TResourceValueKind::Set) published_detail::WrongKind(value, "a set");
    S set{};
    for (const std::string& name : value.names) {
      TResourceValue element;
      element.kind = TResourceValueKind::Identifier;
      element.text = name;
      const auto e = static_cast<E>(published_detail::EnumValue(typeid(E), element));
      if constexpr (requires { set.Include(e); })
        set.Include(e);
      else if constexpr (requires { set = set + e; })
        set = set + e;
      else
        set = static_cast<S>(static_cast<uint64_t>(set) | static_cast<uint64_t>(e));
    }
    return set;
  });
}

}  // namespace platform
