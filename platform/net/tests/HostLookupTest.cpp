#include "platform/net/HostLookup.h"

#include <gtest/gtest.h>
#include <poll.h>

#include "platform/net/SocketError.h"
#include "platform/net/tests/HeldResolver.h"

namespace platform {
namespace {

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
  test::HeldResolver resolver({{10, 0, 0, 7}, 0});
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
