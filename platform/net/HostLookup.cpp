#include "platform/net/HostLookup.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/core/Eintr.h"
#include "platform/core/UniqueFd.h"

namespace platform {

namespace {

constexpr int kNoBufferSpace = 10055;  // the Winsock code for a lack of system resources

std::mutex resolverMutex;
std::function<HostAddresses(const std::string&)> resolverOverride;

std::function<HostAddresses(const std::string&)> CurrentResolver() {
  std::lock_guard lock(resolverMutex);
  if (resolverOverride) return resolverOverride;
  return ResolveHost;
}

}  // namespace

// Shared by the object and its thread; the last of them to go closes the descriptor.
struct HostLookup::State {
  State() : ready(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

  void Finish(const HostAddresses& answer) {
    {
      std::lock_guard lock(mutex);
      result = answer;
      finished = true;
    }
    uint64_t one = 1;
    if (ready.IsValid()) (void)!RetryOnEintr([&] { return ::write(ready.Descriptor(), &one, sizeof one); });
  }

  const UniqueFd ready;
  mutable std::mutex mutex;
  bool finished = false;
  HostAddresses result;
};

HostLookup::HostLookup(const std::string& Name) : state_(std::make_shared<State>()) {
  if (!state_->ready.IsValid()) {
    state_->Finish({{}, kNoBufferSpace});
    return;
  }
  try {
    std::thread([state = state_, name = Name, resolve = CurrentResolver()] { state->Finish(resolve(name)); })
        .detach();
  } catch (const std::system_error&) {
    state_->Finish({{}, kNoBufferSpace});  // no thread to be had: the lookup fails at once
  }
}

HostLookup::~HostLookup() = default;

int HostLookup::ReadyDescriptor() const { return state_->ready.Descriptor(); }

bool HostLookup::Finished() const {
  std::lock_guard lock(state_->mutex);
  return state_->finished;
}

HostAddresses HostLookup::Result() const {
  std::lock_guard lock(state_->mutex);
  return state_->result;
}

void SetHostResolver(std::function<HostAddresses(const std::string&)> Resolver) {
  std::lock_guard lock(resolverMutex);
  resolverOverride = std::move(Resolver);
}

std::string LocalHostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
  return name;
}

}  // namespace platform
