#include "platform/net/HostLookup.h"

#include <unistd.h>

#include <climits>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform {

struct HostLookup::State {
  std::mutex mutex;
  bool finished = false;
  ResolveResult result;
  std::function<void()> done;  // cleared when the object goes
};

namespace {

constexpr int kNoBufferSpace = 10055;  // the Winsock code for a lack of system resources

std::mutex resolverMutex;
std::function<ResolveResult(const std::string&)> resolverOverride;

std::function<ResolveResult(const std::string&)> CurrentResolver() {
  std::lock_guard lock(resolverMutex);
  if (resolverOverride) return resolverOverride;
  return ResolveIpv4;
}

}  // namespace

HostLookup::HostLookup(const std::string& Name, std::function<void()> Done) : state_(std::make_shared<State>()) {
  state_->done = std::move(Done);
  auto finish = [](State& state, const ResolveResult& result) {
    std::lock_guard lock(state.mutex);
    state.result = result;
    state.finished = true;
    if (state.done) state.done();
  };
  try {
    std::thread([state = state_, name = Name, resolve = CurrentResolver(), finish] {
      finish(*state, resolve(name));
    }).detach();
  } catch (const std::system_error&) {
    finish(*state_, ResolveResult{{}, kNoBufferSpace});  // no thread to be had: the lookup fails at once
  }
}

HostLookup::~HostLookup() {
  std::lock_guard lock(state_->mutex);
  state_->done = nullptr;
}

bool HostLookup::Finished() const {
  std::lock_guard lock(state_->mutex);
  return state_->finished;
}

ResolveResult HostLookup::Result() const {
  std::lock_guard lock(state_->mutex);
  return state_->result;
}

void SetHostResolver(std::function<ResolveResult(const std::string&)> Resolver) {
  std::lock_guard lock(resolverMutex);
  resolverOverride = std::move(Resolver);
}

std::string LocalHostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
  return name;
}

}  // namespace platform
