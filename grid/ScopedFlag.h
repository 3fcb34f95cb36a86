#pragma once

#include "platform/app/Component.h"

namespace velmora {

// Sets a flag of a component for a scope and puts back the value it had on every way out, an
// exception included; nothing is written once the component is gone.
class ScopedFlag {
public:
  ScopedFlag(platform::TComponent& owner, bool& flag, bool value = true)
      : alive_(owner), flag_(flag), saved_(flag) {
    flag_ = value;
  }
  ~ScopedFlag() {
    if (alive_.Alive()) flag_ = saved_;
  }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
  platform::TComponent::TGuard alive_;
  bool& flag_;
  bool saved_;
};

}  // namespace velmora
