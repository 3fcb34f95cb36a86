#pragma once

#include "platform/app/Component.h"

namespace velmora {

// Root component class of the socket units: a component of the owner tree, destroyed by its owner.
class TNxBaseComponent : public platform::TComponent {
public:
  explicit TNxBaseComponent(platform::TComponent* AOwner = nullptr) : TComponent(AOwner) {}
};

}  // namespace velmora
