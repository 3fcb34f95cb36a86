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
  ASSERT_FALSE(lookup.Result().addresses.empty());
  EXPECT_EQ(lookup.Result().addresses[0], IpAddress::V4({127, 0, 0, 1}));
  EXPECT_TRUE(WaitReadable(lookup.ReadyDescriptor()));  // stays readable
}

TEST(HostLookupTest, AHangingLookupCanBeAbandoned) {
  test::HeldResolver resolver({{IpAddress::V4({10, 0, 0, 7})}, 0});
  {
    HostLookup lookup("held.example");
    pollfd entry{lookup.ReadyDescriptor(), POLLIN, 0};
    EXPECT_EQ(::poll(&entry, 1, 0), 0);
    EXPECT_FALSE(lookup.Finished());
  }
  resolver.Release();  // its thread finishes after the object went, alone
  HostLookup second("held.example");
  ASSERT_TRUE(WaitReadable(second.ReadyDescriptor()));
  EXPECT_EQ(second.Result().addresses, std::vector<IpAddress>{IpAddress::V4({10, 0, 0, 7})});
}

TEST(HostLookupTest, NumericAddresses) {
  IpAddress address;
  EXPECT_TRUE(ParseIpAddress("192.168.0.255", address));
  EXPECT_EQ(address, IpAddress::V4({192, 168, 0, 255}));
  EXPECT_TRUE(ParseIpAddress("2001:db8::25", address));
  EXPECT_EQ(address.family, IpFamily::V6);
  EXPECT_EQ(address.bytes[0], 0x20);
  EXPECT_EQ(address.bytes[15], 0x25);
  for (const char* text : {"10.0.0.256", "1.2.3", "1.2.3.4.", "1..2.3", " 1.2.3.4", "1.2.3.4 ", "a.b.c.d", "localhost",
                           "0001.2.3.4", "-1.2.3.4", "", "::1 ", "[::1]", "1::2::3", "::g"}) {
    EXPECT_FALSE(ParseIpAddress(text, address)) << text;
  }
  EXPECT_FALSE(ParseIpAddress(std::string("::1\0x", 5), address));
}

TEST(HostLookupTest, LocalHostNameIsNeverEmpty) { EXPECT_FALSE(LocalHostName().empty()); }

}  // namespace
}  // namespace platform
