#include "platform/net/HostLookup.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <condition_variable>
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

bool WaitReadable(int fd) {
  pollfd entry{fd, POLLIN, 0};
  return ::poll(&entry, 1, 10000) == 1;
}

TEST(HostLookupTest, LooksUpOnItsOwnThreadAndSignalsItsDescriptor) {
  HostLookup lookup("localhost");
  ASSERT_TRUE(WaitReadable(lookup.ReadyDescriptor()));
  EXPECT_TRUE(lookup.Finished());
  EXPECT_EQ(lookup.Result().error, 0);
  EXPECT_EQ(lookup.Result().address, (Ipv4Address{127, 0, 0, 1}));
  EXPECT_TRUE(WaitReadable(lookup.ReadyDescriptor()));  // stays readable
}

TEST(HostLookupTest, AHangingLookupCanBeAbandoned) {
  HeldResolver resolver;
  {
    HostLookup lookup("held.example");
    pollfd entry{lookup.ReadyDescriptor(), POLLIN, 0};
    EXPECT_EQ(::poll(&entry, 1, 0), 0);
    EXPECT_FALSE(lookup.Finished());
  }
  resolver.Release();  // its thread finishes after the object went, alone
  HostLookup second("held.example");
  ASSERT_TRUE(WaitReadable(second.ReadyDescriptor()));
  EXPECT_EQ(second.Result().address, (Ipv4Address{10, 0, 0, 7}));
}

TEST(HostLookupTest, DottedAddresses) {
  Ipv4Address address{};
  EXPECT_TRUE(ParseDottedAddress("192.168.0.255", address));
  EXPECT_EQ(address, (Ipv4Address{192, 168, 0, 255}));
  for (const char* text : {"10.0.0.256", "1.2.3", "1.2.3.4.", "1..2.3", " 1.2.3.4", "1.2.3.4 ", "a.b.c.d", "localhost",
                           "0001.2.3.4", "-1.2.3.4", ""}) {
    EXPECT_FALSE(ParseDottedAddress(text, address)) << text;
  }
}

TEST(HostLookupTest, LocalHostNameIsNeverEmpty) { EXPECT_FALSE(LocalHostName().empty()); }

}  // namespace
}  // namespace platform
