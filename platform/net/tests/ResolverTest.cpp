#include "platform/net/Resolver.h"

#include <gtest/gtest.h>

#include "platform/net/SocketError.h"

namespace platform {
namespace {

TEST(ResolverTest, DottedAddressNeedsNoLookup) {
  ResolveResult resolved = ResolveIpv4("127.0.0.1");
  EXPECT_EQ(resolved.error, 0);
  EXPECT_EQ(resolved.address, (Ipv4Address{127, 0, 0, 1}));
}

// IPv6 names resolve too: "ip6-localhost" is ::1 in Debian's hosts file, and a numeric address is its own
// answer.
TEST(ResolverTest, ResolvesIpv6) {
  IpAddress loopback6{IpFamily::V6, {}};
  loopback6.bytes[15] = 1;
  EXPECT_EQ(ResolveHost("::1").addresses, std::vector<IpAddress>{loopback6});
  EXPECT_EQ(ResolveHost(std::string("localhost\0.evil", 15)).error, WsaHostNotFound);  // never cut at the NUL
  HostAddresses named = ResolveHost("ip6-localhost");
  if (named.error != 0) GTEST_SKIP() << "no ip6-localhost in the hosts file";
  EXPECT_EQ(named.addresses[0], loopback6);
}

}  // namespace
}  // namespace platform
