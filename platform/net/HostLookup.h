#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/net/Resolver.h"

namespace platform {

// One host-name lookup on a thread of its own, so that the thread that asked keeps running its message
// loop while the resolver works (a lookup cannot be interrupted). ReadyDescriptor becomes readable when
// the result is there: register it with the message loop to wait for it. The object may go before the
// lookup ends; the thread then finishes alone.
class HostLookup {
public:
  explicit HostLookup(const std::string& Name);
  HostLookup(const HostLookup&) = delete;
  HostLookup& operator=(const HostLookup&) = delete;
  ~HostLookup();

  // Readable once Finished; stays readable. Valid while the object lives.
  int ReadyDescriptor() const;
  bool Finished() const;
  // The addresses or the failure; meaningful once Finished.
  HostAddresses Result() const;

private:
  struct State;
  std::shared_ptr<State> state_;
};

// Replaces the resolver that lookups started from now on call (tests make lookups fail or hang); an empty
// function restores ResolveHost.
void SetHostResolver(std::function<HostAddresses(const std::string&)> Resolver);

// This machine's host name; "localhost" when the system has none.
std::string LocalHostName();

}  // namespace platform
