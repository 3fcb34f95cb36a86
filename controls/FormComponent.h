#pragma once

#include <string>

#include "platform/ui/Forms.h"

namespace controls {

// The form that owns a component of which a form may hold one. Throws E "Control parent must be a form!"
// when the owner is not a form, and E with `duplicateMessage` when the form holds another T already.
template <class E, class T>
platform::TCustomForm& OwningForm(const T& component, const std::string& duplicateMessage) {
  auto* form = dynamic_cast<platform::TCustomForm*>(component.Owner());
  if (!form) throw E("Control parent must be a form!");
  for (int i = 0; i < form->ComponentCount(); ++i) {
    const auto* other = dynamic_cast<const T*>(form->Components(i));
    if (other && other != &component) throw E(duplicateMessage);
  }
  return *form;
}

}  // namespace controls
