#include <mutex>
#include <thread>
#include <vector>

#include "platform/app/Application.h"
#include "platform/app/Timer.h"
#include "platform/app/tests/LoopFixture.h"

namespace platform {
namespace {

// The service's two threads (the service thread started with StartThread, so it holds time from its
// start): the main thread's loop runs a check timer whose tick holds the service
// lock through a 500 ms status write and a 10 s confirmation; the service thread sleeps in 1 s steps and,
// at 22 s, takes the lock to pause (switching the timer off), so it waits for the running check.
TEST_F(LoopTest, TimersAndSleepsOfTwoThreadsKeepTimeOrder) {
  RecursiveClockMutex serviceLock;
  TApplication app;
  app.Initialize();
  TTimer check(nullptr);
  check.SetEnabled(false);
  check.SetInterval(5000);
  std::vector<int64_t> tickStarts, tickEnds, serviceWakes;
  int64_t pausedAt = 0;
  check.OnTimer = [&](TObject*) {
    std::lock_guard lock(serviceLock);
    check.SetEnabled(false);
    tickStarts.push_back(MonotonicMs());
    Sleep(500);
    Sleep(10'000);
    tickEnds.push_back(MonotonicMs());
    check.SetEnabled(true);  // the next interval counts from the end of the check
  };

  std::thread service = StartThread([&] {
    check.SetEnabled(true);
    for (;;) {
      Sleep(1000);
      int64_t now = MonotonicMs();
      serviceWakes.push_back(now);
      if (now == 22'000) {
        std::lock_guard lock(serviceLock);
        pausedAt = MonotonicMs();
        check.SetEnabled(false);
      }
      if (now >= 40'000) break;
    }
    app.Terminate();
  });
  app.Run();
  {
    OffClock off;
    service.join();
  }

  EXPECT_EQ(tickStarts, (std::vector<int64_t>{5000, 20'500}));
  EXPECT_EQ(tickEnds, (std::vector<int64_t>{15'500, 31'000}));
  EXPECT_EQ(pausedAt, 31'000);  // the pause waited for the check, and got the lock as it ended
  std::vector<int64_t> expectedWakes;
  for (int64_t t = 1000; t <= 22'000; t += 1000) expectedWakes.push_back(t);
  for (int64_t t = 32'000; t <= 40'000; t += 1000) expectedWakes.push_back(t);
  EXPECT_EQ(serviceWakes, expectedWakes);
}

}  // namespace
}  // namespace platform
