#pragma once

#include <any>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/app/Component.h"
#include "platform/app/FormResource.h"

namespace platform {

// The resource type of form resources. A form's resources are named "<form class>.<language>"
// ("TFORM1.DE", "TFORM1.ENG"; a file TForm1.DE.form given to velmora_resources with TYPE FORM), or
// "<form class>" for a form that has one language only.
inline constexpr std::string_view RT_FORM = "FORM";

// The methods that a form offers to the event properties of its resource, by name (ignoring case).
// A method is bound to an event that takes exactly its parameters.
class TFormMethods {
public:
  template <class Sig>
  void Add(const std::string& name, std::function<Sig> method) {
    methods_[Key(name)] = std::move(method);
  }
  // A member function of the form: Add("FormCreate", this, &TForm1::FormCreate).
  template <class C, class R, class... A>
  void Add(const std::string& name, C* object, R (C::*method)(A...)) {
    Add(name, std::function<R(A...)>([object, method](A... args) { return (object->*method)(args...); }));
  }

  // The method (a std::function), null when none has that name.
  const std::any* Find(std::string_view name) const;

private:
  static std::string Key(std::string_view name);
  std::map<std::string, std::any, std::less<>> methods_;
};

// Builds the components of `root` from the resource of its form class in the resource language
// (ResourceLanguage(), FormLanguage.h), else from its language-neutral resource. The resource's root
// names the form and must be of class `formClass`.
//
// Loading: root and each new component are marked csLoading. Components are created in the order
// written, owned by `root` and joined to the component they are nested in (controls get it as their
// parent); the properties of each are set in the order written, before its nested components are made.
// References to other components by name are set once all exist; then Loaded runs on the root and on
// every new component, in order of creation. A fault raises EFormResourceError naming the resource,
// the line and the name: an unknown class or one that several units publish (the resource must name it
// with its unit), an unknown property, identifier, method or component, a value of the wrong kind or
// range, a setter that raised. The components made so far are then destroyed. Before the first form,
// the loader publishes the control framework's classes (ControlClasses.h); other libraries publish theirs.
void ReadFormResource(TComponent& root, const std::string& formClass, const TFormMethods& methods);

// As ReadFormResource, from resource text named `resourceName` in errors; the root's class is not checked
// against a form class.
void ReadFormText(TComponent& root, std::string_view text, const std::string& resourceName,
                  const TFormMethods& methods);

}  // namespace platform
