#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "platform/net/HostLookup.h"

namespace platform::test {

// Replaces the host resolver, while it lives, by one that answers only once released, with the answer
// given. A lookup thread may outlive the object (an abandoned lookup finishes alone), so what the threads
// touch is shared with them, and the destructor releases every lookup still held.
class HeldResolver {
public:
  explicit HeldResolver(HostAddresses answer) : gate_(std::make_shared<Gate>()) {
    gate_->answer = answer;
    SetHostResolver([gate = gate_](const std::string&) {
      std::unique_lock lock(gate->mutex);
      ++gate->calls;
      gate->released.wait(lock, [&] { return gate->open; });
      return gate->answer;
    });
  }
  HeldResolver(const HeldResolver&) = delete;
  HeldResolver& operator=(const HeldResolver&) = delete;
  ~HeldResolver() {
    Release();
    SetHostResolver(nullptr);
  }

  void Release() {
    std::lock_guard lock(gate_->mutex);
    gate_->open = true;
    gate_->released.notify_all();
  }
  int Calls() {
    std::lock_guard lock(gate_->mutex);
    return gate_->calls;
  }

private:
  struct Gate {
    std::mutex mutex;
    std::condition_variable released;
    bool open = false;
    int calls = 0;
    HostAddresses answer;
  };
  std::shared_ptr<Gate> gate_;
};

}  // namespace platform::test
