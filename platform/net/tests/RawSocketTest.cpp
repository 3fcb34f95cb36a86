#include "platform/net/RawSocket.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <net/if.h>
#include <sys/ioctl.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "platform/net/Ipv4Header.h"

namespace platform {
namespace {

// A signal caught by a handler interrupts the wait for a datagram. The wait must go on for the time that
// is left instead of failing, or the service would count a host as not answering because of it. The
// socket lives in a network namespace of its own, where no other program's ICMP traffic can reach it.
TEST(RawSocketTest, ACaughtSignalDoesNotEndTheWaitEarly) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root for a raw socket in a network namespace of its own";
  struct sigaction caught{}, previous{};
  caught.sa_handler = [](int) {};  // without SA_RESTART, so that poll returns EINTR
  ASSERT_EQ(::sigaction(SIGRTMIN, &caught, &previous), 0);

  constexpr int kTimeoutMs = 300;
  enum State { Starting, Waiting, NoSocket };
  std::atomic<State> state{Starting};
  NetResult result{};
  std::chrono::milliseconds waited{};
  std::thread waiter([&] {
    RawSocket socket;
    if (::unshare(CLONE_NEWNET) != 0 || socket.Open(IPPROTO_ICMP, RawSocketMode::RawFirst) != 0) {
      state = NoSocket;
      return;
    }
    const auto started = std::chrono::steady_clock::now();
    state = Waiting;
    result = socket.WaitReadable(kTimeoutMs);
    waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  });
  while (state == Starting) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // into the wait, on the real clock it uses
  if (state == Waiting) ::pthread_kill(waiter.native_handle(), SIGRTMIN);
  waiter.join();
  ::sigaction(SIGRTMIN, &previous, nullptr);

  ASSERT_NE(state, NoSocket) << "no raw socket in a new network namespace";
  EXPECT_EQ(result.error, 0);
  EXPECT_EQ(result.count, 0u);
  EXPECT_GE(waited.count(), kTimeoutMs);
}

// Runs body on a thread in a network namespace of its own with its loopback up, where no other
// program's ICMP traffic arrives. Needs root.
void InOwnNetwork(const std::function<void()>& body) {
  std::thread([&] {
    ASSERT_EQ(::unshare(CLONE_NEWNET), 0);
    Socket control(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    ifreq loopback{};
    std::strcpy(loopback.ifr_name, "lo");
    ASSERT_EQ(::ioctl(control.Descriptor(), SIOCGIFFLAGS, &loopback), 0);
    loopback.ifr_flags |= IFF_UP;
    ASSERT_EQ(::ioctl(control.Descriptor(), SIOCSIFFLAGS, &loopback), 0);
    body();
  }).join();
}

constexpr Ipv4Address Loopback{127, 0, 0, 1};

// An ICMP message of the given type with a correct checksum (the Internet checksum reads the same in
// either byte order).
std::vector<uint8_t> IcmpMessage(uint8_t type) {
  std::vector<uint8_t> message(IcmpHeaderLength + 28, 0);
  message[0] = type;
  message[4] = 0x12;
  message[7] = 0x01;
  uint32_t sum = 0;
  for (size_t i = 0; i < message.size(); i += 2) sum += message[i] | message[i + 1] << 8;
  sum = (sum >> 16) + (sum & 0xFFFF);
  sum += sum >> 16;
  message[2] = static_cast<uint8_t>(~sum);
  message[3] = static_cast<uint8_t>(~sum >> 8);
  return message;
}

// The ICMP types of the datagrams that arrive within a short wait.
std::vector<uint8_t> ReceivedTypes(RawSocket& socket) {
  std::vector<uint8_t> types;
  std::array<uint8_t, 1024> buffer{};
  while (socket.WaitReadable(100).count > 0) {
    const NetResult received = socket.Receive(buffer);
    if (received.error != 0 || received.count <= Ipv4HeaderLength) break;
    types.push_back(buffer[(buffer[0] & 0x0F) * 4u]);
  }
  return types;
}

TEST(RawSocketTest, TheIcmpFilterLetsOnlyTheListedTypesThrough) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root for a raw socket in a network namespace of its own";
  InOwnNetwork([] {
    RawSocket filtered, unfiltered;
    ASSERT_EQ(filtered.Open(IPPROTO_ICMP, RawSocketMode::RawFirst), 0);
    ASSERT_EQ(unfiltered.Open(IPPROTO_ICMP, RawSocketMode::RawFirst), 0);
    constexpr std::array<uint8_t, 3> answers{0, 3, 11};
    ASSERT_EQ(filtered.FilterIcmpTypes(answers), 0);
    // A redirect, then an echo request that loopback answers.
    for (uint8_t type : {5, 8}) ASSERT_EQ(unfiltered.SendTo(Loopback, 0, IcmpMessage(type)).error, 0);
    EXPECT_EQ(ReceivedTypes(unfiltered), (std::vector<uint8_t>{5, 8, 0}));
    EXPECT_EQ(ReceivedTypes(filtered), std::vector<uint8_t>{0});
  });
}

TEST(RawSocketTest, DatagramSocketRepliesCarryItsLocalPortAsIdentifier) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root for a network namespace of its own";
  InOwnNetwork([] {
    std::ofstream("/proc/sys/net/ipv4/ping_group_range") << "0 2147483647\n";
    RawSocket socket;
    ASSERT_EQ(socket.Open(IPPROTO_ICMP, RawSocketMode::DatagramOnly), 0);
    ASSERT_TRUE(socket.IsDatagram());
    uint16_t port = 1;
    ASSERT_EQ(socket.LocalPort(port), 0);
    EXPECT_EQ(port, 0) << "no identifier before the first send";
    ASSERT_EQ(socket.SendTo(Loopback, 0, IcmpMessage(8)).error, 0);
    ASSERT_EQ(socket.LocalPort(port), 0);
    EXPECT_NE(port, 0);
    EXPECT_EQ(socket.FilterIcmpTypes(std::array<uint8_t, 1>{0}), 0) << "nothing to filter on this socket";

    std::array<uint8_t, 1024> reply{};
    ASSERT_EQ(socket.WaitReadable(1000).count, 1u);
    const NetResult received = socket.Receive(reply);
    ASSERT_EQ(received.error, 0);
    ASSERT_GE(received.count, Ipv4HeaderLength + IcmpHeaderLength);
    EXPECT_EQ(reply[Ipv4HeaderLength], 0);
    EXPECT_EQ(reply[Ipv4HeaderLength + 4], port >> 8);
    EXPECT_EQ(reply[Ipv4HeaderLength + 5], port & 0xFF);
  });
}

}  // namespace
}  // namespace platform
