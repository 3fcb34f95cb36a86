#include "platform/net/RawSocket.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

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

}  // namespace
}  // namespace platform
