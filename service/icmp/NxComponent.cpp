#include "service/icmp/NxComponent.h"

#include <memory>
#include <mutex>

#include "service/icmp/NxStack.h"

namespace velmora {

namespace {

// The stack and the count of the components that keep it, guarded by one lock.
struct StackInstance {
  std::mutex lock;
  int components = 0;
  std::unique_ptr<TNxStack> stack;
  std::atomic<TNxStack*> current{nullptr};
};

StackInstance& Instance() {
  static StackInstance instance;
  return instance;
}

}  // namespace

TNxStack* GStack() { return Instance().current; }

TNxComponent::TNxComponent(platform::TComponent* AOwner) : TNxBaseComponent(AOwner) {
  StackInstance& instance = Instance();
  std::lock_guard guard(instance.lock);
  if (instance.components++ == 0) {
    instance.stack = std::make_unique<TNxStack>();
    instance.current = instance.stack.get();
  }
}

TNxComponent::~TNxComponent() {
  StackInstance& instance = Instance();
  std::lock_guard guard(instance.lock);
  if (--instance.components == 0) {
    instance.current = nullptr;
    instance.stack.reset();
  }
}

}  // namespace velmora
