#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

#include "platform/net/Ipv4Header.h"
#include "service/icmp/IcmpEcho.h"
#include "service/icmp/NxStack.h"
#include "service/icmp/tests/TestNetworks.h"

namespace velmora::testing {

// ICMP traffic of others, sent from one side of the test networks through a raw socket until the object
// is destroyed: the echo requests of a second pinger, or redirects. The sequence numbers (and the
// identifiers that a redirect quotes) are one fixed value, or run through every value in turn, so that
// during a wait of a few seconds they meet whatever sequence number a client is waiting for.
class IcmpNoise {
public:
  enum class Kind {
    EchoRequests,  // a pinger of its own identifier; the destination answers them unless it ignores echo
    Redirects,     // "redirect host" messages quoting echo requests from the destination to the far host
  };

  // Every pause of 5 ms follows a burst of this many datagrams: about 10 000 a second, all 65536 sequence
  // numbers in under 7 s.
  static constexpr int Burst = 50;

  IcmpNoise(const TestNetworks& networks, TestNetworks::Side from, Kind kind, const char* destination,
            std::optional<uint16_t> sequence = std::nullopt)
      : thread_(networks.StartIn(from, [kind, to = TNxStack::StringToTInAddr(destination), sequence](std::stop_token stop) {
          Spray(stop, kind, to, sequence);
        })) {}

private:
  static void Spray(const std::stop_token& stop, Kind kind, const platform::Ipv4Address& to,
                    std::optional<uint16_t> sequence) {
    const int sender = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (sender < 0) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    std::copy(to.begin(), to.end(), reinterpret_cast<uint8_t*>(&address.sin_addr.s_addr));
    for (uint32_t count = 0; !stop.stop_requested(); ++count) {
      const uint16_t number = sequence.value_or(static_cast<uint16_t>(count));
      const std::vector<uint8_t> message = kind == Kind::EchoRequests ? Request(0xBEEF, number) : Redirect(number, to);
      ::sendto(sender, message.data(), message.size(), 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
      if (count % Burst == Burst - 1) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::close(sender);
  }

  static std::vector<uint8_t> Request(uint16_t identifier, uint16_t sequence) {
    const TEchoRequest request = BuildEchoRequest(identifier, sequence, 0, "noise");
    return {request.begin(), request.end()};
  }

  // Type 5 code 1, the gateway to use instead, then the quoted IP header and the first 8 bytes of an
  // echo request from `to` to the far host, with identifier and sequence number both set to number.
  static std::vector<uint8_t> Redirect(uint16_t number, const platform::Ipv4Address& to) {
    std::vector<uint8_t> message = {5, 1, 0, 0, 192, 0, 2, 99};
    const auto quotedHeader =
        platform::Ipv4Header(platform::Ipv4HeaderLength + EchoRequestLength, 64, platform::IpProtocolIcmp, to,
                             TNxStack::StringToTInAddr(TestNetworks::SilentHost));
    message.insert(message.end(), quotedHeader.begin(), quotedHeader.end());
    const TEchoRequest request = BuildEchoRequest(number, number, 0, "");
    message.insert(message.end(), request.begin(), request.begin() + platform::IcmpHeaderLength);
    const uint16_t checksum = IcmpChecksum(message);
    message[2] = static_cast<uint8_t>(checksum);
    message[3] = static_cast<uint8_t>(checksum >> 8);
    return message;
  }

  std::jthread thread_;
};

}  // namespace velmora::testing
