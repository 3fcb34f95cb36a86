#include "platform/ui/FormLoader.h"

#include <vector>

#include "platform/core/Ascii.h"
#include "platform/gfx/Resources.h"
#include "platform/ui/ControlClasses.h"
#include "platform/app/FormLanguage.h"
#include "platform/app/PublishedClasses.h"

namespace platform {

const std::any* TFormMethods::Find(std::string_view name) const {
  auto it = methods_.find(Key(name));
  return it == methods_.end() ? nullptr : &it->second;
}

std::string TFormMethods::Key(std::string_view name) { return UpperCase(name); }

namespace {

class Loader : public TLoadContext {
public:
  Loader(TComponent& root, const std::string& resource, const TFormMethods& methods)
      : root_(root), resource_(resource), methods_(methods) {}

  void Load(const TResourceComponent& form) {
    [[maybe_unused]] static const bool controlsPublished = (PublishControlClasses(), true);
    const TPublishedClass* rootClass = PublishedClassOf(root_);
    if (!rootClass) Fail(form.line, form.className, "the form's class " + form.className + " has no published base");
    if (const TPublishedClass* named = NamedClass(form); named && !named->Cast(root_))
      Fail(form.line, form.className, "the form is not of class " + form.className);
    root_.SetName(form.name);
    root_.SetLoading();
    loaded_.push_back(&root_);
    try {
      Body(form, root_, rootClass, rootClass->Cast(root_));
      ResolveReferences();
    } catch (...) {
      for (auto it = loaded_.rbegin(); it != loaded_.rend(); ++it)
        if (*it != &root_) delete *it;
      throw;
    }
    for (TComponent* component : loaded_) component->Loaded();
  }

  const std::any& Method(const std::string& name) override {
    const std::any* method = methods_.Find(name);
    if (!method) throw EPropertyValueError("the form has no method " + name);
    return *method;
  }

  void ReferTo(const std::string& name, std::function<void(TComponent*)> assign) override {
    references_.push_back({line_, path_, name, std::move(assign)});
  }

private:
  struct Reference {
    int line;
    std::string path;
    std::string name;
    std::function<void(TComponent*)> assign;
  };

  [[noreturn]] void Fail(int line, const std::string& name, const std::string& problem) const {
    throw EFormResourceError(resource_, line, name, problem);
  }

  // The published class that the component's class name names, null when none does; a name that
  // several units publish fails.
  const TPublishedClass* NamedClass(const TResourceComponent& node) const {
    try {
      return FindPublishedClass(node.className);
    } catch (const EComponentError& e) {
      Fail(node.line, node.className, e.Message());
    }
  }

  // The properties of a component, then its nested components.
  void Body(const TResourceComponent& node, TComponent& component, const TPublishedClass* cls, void* object) {
    for (const TResourceProperty& property : node.properties) SetProperty(property, cls, object);
    for (const TResourceComponent& child : node.children) Create(child, component);
  }

  void Create(const TResourceComponent& node, TComponent& container) {
    const TPublishedClass* cls = NamedClass(node);
    if (!cls) Fail(node.line, node.className, "unknown class " + node.className);
    if (!cls->CanCreate()) Fail(node.line, node.className, "class " + node.className + " is not a component class");
    if (FindComponent(node.name)) Fail(node.line, node.name, "a component named " + node.name + " exists already");
    TComponent* component = nullptr;
    try {
      component = cls->Create(&root_);
      loaded_.push_back(component);
      component->SetName(node.name);
      component->SetLoading();
      cls->Nest(cls->Cast(*component), container);
    } catch (const EFormResourceError&) {
      throw;
    } catch (const Exception& e) {
      Fail(node.line, node.name, "component " + node.name + ": " + e.Message());
    }
    Body(node, *component, cls, cls->Cast(*component));
  }

  // Walks the path ("Font.Name") through sub-objects and sets the last property.
  void SetProperty(const TResourceProperty& property, const TPublishedClass* cls, void* object) {
    line_ = property.line;
    path_ = property.path;
    size_t start = 0;
    for (;;) {
      const size_t dot = property.path.find('.', start);
      const std::string name = property.path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
      const TPublishedProperty* published = cls->FindProperty(name, object);
      if (!published) Fail(property.line, name, "unknown property " + name + " of class " + cls->Name());
      if (dot == std::string::npos) return Set(property, *published, object);
      if (published->kind != TPublishedProperty::TKind::Object)
        Fail(property.line, name, "property " + name + " of class " + cls->Name() + " has no properties of its own");
      object = published->get(object);
      cls = SubClass(property, *published, name);
      start = dot + 1;
    }
  }

  void Set(const TResourceProperty& property, const TPublishedProperty& published, void* object) {
    try {
      switch (published.kind) {
        case TPublishedProperty::TKind::Value:
          published.set(object, property.value, *this);
          return;
        case TPublishedProperty::TKind::Object:
          Fail(property.line, property.path,
               "property " + property.path + " is an object; set its properties (" + property.path + ".Name)");
        case TPublishedProperty::TKind::Collection:
          return Fill(property, published, object);
      }
    } catch (const EFormResourceError&) {
      throw;
    } catch (const Exception& e) {
      Fail(property.line, property.path, "property " + property.path + ": " + e.Message());
    }
  }

  void Fill(const TResourceProperty& property, const TPublishedProperty& published, void* object) {
    if (property.value.kind != TResourceValueKind::Collection)
      published_detail::WrongKind(property.value, "a collection (items { ... })");
    const TPublishedClass* itemClass = SubClass(property, published, property.path);
    published.clear(object);
    for (const TResourceItem& item : property.value.items) {
      void* itemObject = published.get(object);
      for (const TResourceProperty& itemProperty : item.properties) SetProperty(itemProperty, itemClass, itemObject);
    }
  }

  const TPublishedClass* SubClass(const TResourceProperty& property, const TPublishedProperty& published,
                                  const std::string& name) const {
    const TPublishedClass* cls = FindPublishedClass(published.subClass);
    if (!cls) Fail(property.line, name, "the class of property " + name + " is not published");
    return cls;
  }

  TComponent* FindComponent(const std::string& name) const {
    if (SameText(root_.Name(), name)) return &root_;
    for (int i = 0; i < root_.ComponentCount(); ++i)
      if (SameText(root_.Components(i)->Name(), name)) return root_.Components(i);
    return nullptr;
  }

  void ResolveReferences() {
    for (Reference& reference : references_) {
      TComponent* component = FindComponent(reference.name);
      if (!component) Fail(reference.line, reference.name, "property " + reference.path + ": no component " + reference.name);
      try {
        reference.assign(component);
      } catch (const Exception& e) {
        Fail(reference.line, reference.path, "property " + reference.path + ": " + e.Message());
      }
    }
  }

  TComponent& root_;
  const std::string& resource_;
  const TFormMethods& methods_;
  std::vector<TComponent*> loaded_;  // the root, then each new component in order of creation
  std::vector<Reference> references_;
  int line_ = 0;      // of the property being set, for references
  std::string path_;  // of the property being set, for references
};

}  // namespace

void ReadFormText(TComponent& root, std::string_view text, const std::string& resourceName,
                  const TFormMethods& methods) {
  Loader(root, resourceName, methods).Load(ParseFormResource(text, resourceName));
}

void ReadFormResource(TComponent& root, const std::string& formClass, const TFormMethods& methods) {
  std::string name = UpperCase(formClass) + "." + ResourceLanguage();
  std::optional<std::string_view> text = FindResource(RT_FORM, name);
  if (!text) {
    name = UpperCase(formClass);
    text = FindResource(RT_FORM, name);
  }
  if (!text)
    throw EResNotFound("Resource " + UpperCase(formClass) + "." + ResourceLanguage() + " not found");
  const TResourceComponent form = ParseFormResource(*text, name);
  if (!SameText(form.className, formClass))
    throw EFormResourceError(name, form.line, form.className, "the resource is of class " + form.className + ", not " + formClass);
  Loader(root, name, methods).Load(form);
}

}  // namespace platform
