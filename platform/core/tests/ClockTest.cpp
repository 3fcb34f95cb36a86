#include "platform/core/Clock.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace platform {
namespace {

class VirtualClockTest : public ::testing::Test {
protected:
  void SetUp() override { UseVirtualClock(1'700'000'000'000, 0); }
  void TearDown() override { UseRealClock(); }
};

TEST_F(VirtualClockTest, SleepAdvancesTimeAtOnce) {
  int64_t mono = MonotonicMs();
  int64_t wall = UnixTimeMs();
  Sleep(10'000);
  EXPECT_EQ(MonotonicMs(), mono + 10'000);
  EXPECT_EQ(UnixTimeMs(), wall + 10'000);
  SleepUntil(mono + 5'000);  // a deadline in the past does not move time back
  EXPECT_EQ(MonotonicMs(), mono + 10'000);
  AdvanceVirtualClock(250);
  EXPECT_EQ(MonotonicMs(), mono + 10'250);
}

TEST_F(VirtualClockTest, TickCountWrapsAt32Bits) {
  UseVirtualClock(0, 0xFFFFFFFFLL - 99);
  EXPECT_EQ(GetTickCount(), 0xFFFFFF9Cu);
  Sleep(100);
  EXPECT_EQ(GetTickCount(), 0u);
  Sleep(5);
  EXPECT_EQ(GetTickCount(), 5u);
  EXPECT_EQ(MonotonicMs(), 0xFFFFFFFFLL + 6);
}

TEST_F(VirtualClockTest, SleepsOfSeveralThreadsAllCount) {
  WaitOnClock(MonotonicMs(), nullptr, {});               // this thread takes part from here,
  std::thread other = StartThread([] { Sleep(1000); });  // so both sleeps begin at 0
  Sleep(1000);
  EXPECT_EQ(MonotonicMs(), 1000);
  OffClock off;
  other.join();
}

// A thread that computes for longer than the stall time (a slow check on a loaded machine, a sanitizer
// build) still holds time: the other thread's sleep must not jump past it meanwhile. The worker computes
// until the clock has looked at it three times and found it computing.
TEST_F(VirtualClockTest, AThreadThatComputesLongHoldsTime) {
  SetVirtualClockStallMs(5);
  WaitOnClock(MonotonicMs(), nullptr, {});  // this thread takes part from here
  int64_t seenByWorker = -1;
  std::thread worker = StartThread([&] {
    const int64_t checks = VirtualClockComputingChecks();
    volatile uint64_t spin = 0;
    while (VirtualClockComputingChecks() < checks + 3) spin = spin + 1;
    seenByWorker = MonotonicMs();
    Sleep(1);
  });
  Sleep(10'000);
  EXPECT_EQ(seenByWorker, 0);
  {
    OffClock off;
    worker.join();
  }
  SetVirtualClockStallMs(500);
}

// The strict clock names a thread that blocks off the clock and ends the process; the lenient one lets
// it leave, and time goes on.
TEST_F(VirtualClockTest, AThreadBlockedOffTheClockEndsTheStrictClockAndLeavesTheLenientOne) {
  auto blockOffTheClock = [] {
    SetVirtualClockStallMs(5);
    WaitOnClock(MonotonicMs(), nullptr, {});
    std::promise<void> released;
    std::thread waiter = StartThread([] { Sleep(1000); });
    std::thread releaser([&] {
      while (MonotonicMs() < 1000) std::this_thread::yield();
      released.set_value();
    });
    released.get_future().wait();  // blocks on what only the other thread's sleep brings about
    releaser.join();
    waiter.join();
  };
  EXPECT_DEATH(blockOffTheClock(), "blocked off the clock");
  UseVirtualClock(0, 0, VirtualClockMode::Lenient);
  blockOffTheClock();
  EXPECT_EQ(MonotonicMs(), 1000);
  SetVirtualClockStallMs(500);
}

TEST(RealClockTest, MonotonicAndWallClockMove) {
  UseRealClock();
  int64_t before = MonotonicMs();
  Sleep(20);
  EXPECT_GE(MonotonicMs() - before, 20);
  EXPECT_GT(UnixTimeMs(), 1'600'000'000'000);
}

}  // namespace
}  // namespace platform
