#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/net/Ipv4Header.h"
#include "service/icmp/IcmpEcho.h"
#include "service/icmp/NxException.h"
#include "service/icmp/NxRawTransport.h"
#include "service/icmp/NxStack.h"

namespace velmora {

// Stands in for the network under a TNxIcmpClient in tests: answers every echo request by a script per
// host, and waits on the platform clock, so on the virtual clock a ping costs no real time.
//
//   auto responder = std::make_unique<ScriptedIcmpResponder>();
//   responder->Script("router", {ScriptedIcmpResponder::EchoAfter(12), ScriptedIcmpResponder::Silence()});
//   ScriptedIcmpResponder& script = *responder;
//   icmp.SetTransport(std::move(responder));
//
// Each ping of a host takes the next answer of its script; the last answer stands for every later ping.
// Pinging a host without a script raises ENxSocketError 11001, as a name nobody knows would.
class ScriptedIcmpResponder : public TNxRawTransport {
public:
  enum class Kind { Echo, Silence, Foreign, Unreachable, Failure };
  struct Answer {
    Kind kind = Kind::Silence;
    uint32_t afterMs = 0;
    std::function<void()> raise;  // Failure: throws the exception
  };

  // An echo reply after ms (no answer when ms exceeds the client's time-out).
  static Answer EchoAfter(uint32_t ms) { return {Kind::Echo, ms, {}}; }
  // No answer: the wait runs to its time-out, advancing the clock by it.
  static Answer Silence() { return {Kind::Silence, 0, {}}; }
  // Another program's echo reply after ms, with the sequence number of the request but an identifier of
  // its own (skipped by the client), then no answer.
  static Answer ForeignAfter(uint32_t ms) { return {Kind::Foreign, ms, {}}; }
  // A router's host-unreachable message quoting the request, after ms.
  static Answer UnreachableAfter(uint32_t ms) { return {Kind::Unreachable, ms, {}}; }
  // The send raises the exception (a failed lookup, a socket error).
  template <typename E>
  static Answer Raising(E exception) {
    return {Kind::Failure, 0, [exception] { throw exception; }};
  }

  void Script(const std::string& host, std::vector<Answer> answers) { scripts_[host] = std::move(answers); }

  // The hosts pinged, in order; the last request sent and the time to live set for it.
  const std::vector<std::string>& Pinged() const { return pinged_; }
  const std::vector<uint8_t>& LastRequest() const { return lastRequest_; }
  int LastTtl() const { return lastTtl_; }

  void Open(int AProtocol, int ATtl, std::span<const uint8_t> AIcmpTypes) override { lastTtl_ = ATtl; }

  std::string SendTo(const std::string& AHost, int APort, std::span<const uint8_t> ADatagram) override {
    pinged_.push_back(AHost);
    lastRequest_.assign(ADatagram.begin(), ADatagram.end());
    pending_.reset();
    auto script = scripts_.find(AHost);
    if (script == scripts_.end() || script->second.empty()) throw ENxSocketError(11001);
    std::vector<Answer>& answers = script->second;
    Answer answer = answers.front();
    if (answers.size() > 1) answers.erase(answers.begin());
    if (answer.kind == Kind::Failure) answer.raise();
    const platform::Ipv4Address address = SourceOf(AHost);
    if (answer.kind != Kind::Silence) {
      pending_ = Pending{platform::MonotonicMs() + answer.afterMs, AnswerDatagram(answer.kind, address)};
    }
    return TNxStack::TInAddrToString(address);
  }

  uint16_t SentEchoIdentifier(uint16_t AWritten) override { return AWritten; }

  int ReceiveWithin(std::span<uint8_t> ABuffer, int ATimeoutMs) override {
    if (ATimeoutMs < 0 && !pending_) throw ENxSocketError(10060);  // would wait for ever: no test wants that
    const int64_t deadline = ATimeoutMs < 0 ? INT64_MAX : platform::MonotonicMs() + ATimeoutMs;
    if (!pending_ || pending_->atMs > deadline) {
      platform::SleepUntil(deadline);
      return 0;
    }
    platform::SleepUntil(pending_->atMs);
    const std::vector<uint8_t> datagram = std::move(pending_->datagram);
    pending_.reset();
    const size_t length = std::min(datagram.size(), ABuffer.size());
    std::copy_n(datagram.begin(), length, ABuffer.begin());
    return static_cast<int>(length);
  }

  void Close() override { pending_.reset(); }

private:
  struct Pending {
    int64_t atMs;
    std::vector<uint8_t> datagram;
  };

  // The address a host resolves to, which also sends its answers: the host itself when it is a dotted
  // address, else a documentation address.
  static platform::Ipv4Address SourceOf(const std::string& host) {
    return TNxStack::IsIP(host) ? TNxStack::StringToTInAddr(host) : platform::Ipv4Address{192, 0, 2, 1};
  }

  std::vector<uint8_t> AnswerDatagram(Kind kind, const platform::Ipv4Address& source) const {
    std::vector<uint8_t> icmp;
    if (kind == Kind::Unreachable) {
      // Type 3 code 1 (host unreachable), then the request's IP header and the request itself.
      icmp = {3, 1, 0, 0, 0, 0, 0, 0};
      auto quoted = platform::Ipv4Header(platform::Ipv4HeaderLength + lastRequest_.size(), 1,
                                         platform::IpProtocolIcmp, {192, 0, 2, 254}, source);
      icmp.insert(icmp.end(), quoted.begin(), quoted.end());
      icmp.insert(icmp.end(), lastRequest_.begin(), lastRequest_.end());
    } else {
      icmp = lastRequest_;
      icmp[0] = 0;  // echo reply
      if (kind == Kind::Foreign) {
        icmp[4] ^= 0x5A;  // the identifier of another program
        icmp[5] ^= 0xA5;
      }
      icmp[2] = icmp[3] = 0;
      const uint16_t checksum = IcmpChecksum(icmp);
      icmp[2] = static_cast<uint8_t>(checksum);
      icmp[3] = static_cast<uint8_t>(checksum >> 8);
    }
    auto header = platform::Ipv4Header(platform::Ipv4HeaderLength + icmp.size(), 64, platform::IpProtocolIcmp, source,
                                       {192, 0, 2, 254});
    icmp.insert(icmp.begin(), header.begin(), header.end());
    return icmp;
  }

  std::map<std::string, std::vector<Answer>> scripts_;
  std::vector<std::string> pinged_;
  std::vector<uint8_t> lastRequest_;
  int lastTtl_ = 0;
  std::optional<Pending> pending_;
};

}  // namespace velmora
