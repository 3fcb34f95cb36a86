#pragma once

#include "service/icmp/NxRawBase.h"

namespace velmora {

// A raw-socket client with the base's properties public.
class TNxRawClient : public TNxRawBase {
public:
  using TNxRawBase::TNxRawBase;
};

}  // namespace velmora
