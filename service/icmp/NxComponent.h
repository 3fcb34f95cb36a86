#pragma once

#include "service/icmp/NxBaseComponent.h"

namespace velmora {

// A component of the socket units. The first one created in the process creates the process-wide socket
// stack (GStack), the last one destroyed frees it; any thread may create and destroy them.
class TNxComponent : public TNxBaseComponent {
public:
  explicit TNxComponent(platform::TComponent* AOwner = nullptr);
  ~TNxComponent() override;
};

}  // namespace velmora
