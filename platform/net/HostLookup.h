#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/net/Resolver.h"

namespace platform {

// One host-name lookup on a thread of its own, so that the thread that asked keeps running its message
// loop while the resolver works (a lookup cannot be interrupted). The object may go before the lookup
// ends: the thread then finishes alone and calls nothing.
class HostLookup {
public:
  // Starts looking Name up. Done, if given, runs on the lookup's thread once the result is there, and
  // never after the object was destroyed (the destructor waits for a Done that is running).
  HostLookup(const std::string& Name, std::function<void()> Done);
  HostLookup(const HostLookup&) = delete;
  HostLookup& operator=(const HostLookup&) = delete;
  ~HostLookup();

  bool Finished() const;
  // The first IPv4 address or the failure; meaningful once Finished.
  ResolveResult Result() const;

private:
  struct State;
  std::shared_ptr<State> state_;
};

// Replaces the resolver that lookups started from now on call (tests make lookups fail or hang); an empty
// function restores ResolveIpv4.
void SetHostResolver(std::function<ResolveResult(const std::string&)> Resolver);

// This machine's host name; "localhost" when the system has none.
std::string LocalHostName();

}  // namespace platform
