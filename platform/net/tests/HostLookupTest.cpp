#include "platform/net/HostLookup.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include "platform/net/SocketError.h"

namespace platform {
namespace {

// A resolver that answers only when the test lets it.
class HeldResolver {
public:
  HeldResolver() {
    SetHostResolver([this](const std::string& name) {
      std::unique_lock lock(mutex_);
      released_.wait(lock, [this] { return open_; });
      return ResolveResult{{10, 0, 0, 7}, 0};
    });
  }
  ~HeldResolver() {
    Release();
    SetHostResolver(nullptr);
  }
  void Release() {
    std::lock_guard lock(mutex_);
    open_ = true;
    released_.notify_all();
  }

private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool open_ = false;
};

TEST(HostLookupTest, LooksUpOnItsOwnThreadAndCallsDone) {
  std::promise<void> done;
  HostLookup lookup("localhost", [&] { done.set_value(); });
  ASSERT_EQ(done.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_TRUE(lookup.Finished());
  EXPECT_EQ(lookup.Result().error, 0);
  EXPECT_EQ(lookup.Result().address, (Ipv4Address{127, 0, 0, 1}));
}

TEST(HostLookupTest, AbandonedLookupCallsNothing) {
  HeldResolver resolver;
  bool called = false;
  {
    HostLookup lookup("held.example", [&] { called = true; });
    EXPECT_FALSE(lookup.Finished());
  }
  resolver.Release();
  // The thread finishes after the object went; a second lookup proves the resolver ran on.
  std::promise<void> done;
  HostLookup second("held.example", [&] { done.set_value(); });
  ASSERT_EQ(done.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(second.Result().address, (Ipv4Address{10, 0, 0, 7}));
  EXPECT_FALSE(called);
}

TEST(HostLookupTest, LocalHostNameIsNeverEmpty) { EXPECT_FALSE(LocalHostName().empty()); }

}  // namespace
}  // namespace platform
