#pragma once

#include <atomic>
#include <initializer_list>
#include <string>

#include "platform/net/Ipv4Address.h"

namespace velmora {

// The socket stack of the process: resolves host names, checks the results of socket calls and turns
// their errors into ENxSocketError. One instance exists while any TNxComponent does (see GStack).
class TNxStack {
public:
  // "LOCALHOST" in any case gives "127.0.0.1" and a dotted address comes back unchanged, both without a
  // lookup; any other name is looked up and its first IPv4 address returned in dotted form. A failed
  // lookup raises ENxSocketError (11001 "Host not found." for an unknown name).
  std::string ResolveHost(const std::string& AHost);

  // AErrorCode is the Winsock code of a socket call, 0 when it succeeded. Returns false for 0. Otherwise
  // the code becomes LastError(); the result is true when it is one of AIgnore, else ENxSocketError is
  // raised.
  bool CheckForSocketError(int AErrorCode, std::initializer_list<int> AIgnore = {});
  int LastError() const { return lastError_; }

  // Four decimal numbers from 0 to 255, separated by dots.
  static bool IsIP(const std::string& AIP);
  static std::string TInAddrToString(const platform::Ipv4Address& AInAddr);
  // The parts of a dotted address converted as integers; call it on what IsIP accepts.
  static platform::Ipv4Address StringToTInAddr(const std::string& AIP);

private:
  std::atomic<int> lastError_{0};
};

// The process-wide stack; nullptr while no TNxComponent exists.
TNxStack* GStack();

}  // namespace velmora
