#include "platform/net/Resolver.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/net/SocketError.h"
#include "platform/net/tests/IsolatedResolver.h"

namespace platform {
namespace {

TEST(ResolverTest, DottedAddressNeedsNoLookup) {
  ResolveResult resolved = ResolveIpv4("127.0.0.1");
  EXPECT_EQ(resolved.error, 0);
  EXPECT_EQ(resolved.address, (Ipv4Address{127, 0, 0, 1}));
}

TEST(ResolverTest, ANameWithANulByteIsNotFoundRatherThanCutShort) {
  EXPECT_EQ(ResolveIpv4(std::string("127.0.0.1\0.example", 18)).error, WsaHostNotFound);
  EXPECT_FALSE(HasOnlyIpv6Addresses(std::string("::1\0x", 5)));
}

TEST(ResolverTest, IPv6AddressesAreToldApartFromIPv4Ones) {
  for (const char* address : {"::1", "fe80::1", "2001:db8::7"}) EXPECT_TRUE(HasOnlyIpv6Addresses(address)) << address;
  EXPECT_FALSE(HasOnlyIpv6Addresses("127.0.0.1"));
}

// A hosts file with a name of IPv6 addresses only, one with both kinds and one with IPv4 only.
const std::string kMixedHosts = "2001:db8::7 six\n"
                                "fe80::2 both\n192.0.2.9 both\n"
                                "192.0.2.4 four\n";

// Names of a hosts file with IPv6 addresses only, with both kinds, and unknown names.
TEST(IsolatedResolverTest, ANameWithOnlyIPv6AddressesIsToldApart) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a child process its own resolver settings";
  const std::string answers = test::InIsolatedResolver(kMixedHosts, [] {
    std::string result;
    for (const char* name : {"six", "both", "four", "none.invalid"}) result += HasOnlyIpv6Addresses(name) ? '1' : '0';
    return result;
  });
  EXPECT_EQ(answers, "1000");
}

TEST(ResolverTest, NumericAddressesAreTheirOwnHost) {
  IpAddress loopback6{IpFamily::V6, {}};
  loopback6.bytes[15] = 1;
  EXPECT_EQ(ResolveHost("::1").addresses, std::vector<IpAddress>{loopback6});
  EXPECT_EQ(ResolveHost("127.0.0.1").addresses, std::vector<IpAddress>{IpAddress::V4({127, 0, 0, 1})});
  EXPECT_EQ(ResolveHost(std::string("127.0.0.1\0.example", 18)).error, WsaHostNotFound);
}

// Every address of a name, IPv4 and IPv6, each once.
TEST(IsolatedResolverTest, AllAddressesOfANameAreFound) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a child process its own resolver settings";
  const std::string answers = test::InIsolatedResolver(kMixedHosts, [] {
    std::string result;
    for (const char* name : {"six", "both", "four", "none.invalid"}) {
      HostAddresses found = ResolveHost(name);
      for (const IpAddress& address : found.addresses) result += address.family == IpFamily::V6 ? '6' : '4';
      result += found.error == 0 ? "," : " error,";
    }
    return result;
  });
  EXPECT_EQ(answers, "6,64,4, error,");
}

}  // namespace
}  // namespace platform
