#include "platform/net/Resolver.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(ResolverTest, DottedAddressNeedsNoLookup) {
  ResolveResult resolved = ResolveIpv4("127.0.0.1");
  EXPECT_EQ(resolved.error, 0);
  EXPECT_EQ(resolved.address, (Ipv4Address{127, 0, 0, 1}));
}

}  // namespace
}  // namespace platform
