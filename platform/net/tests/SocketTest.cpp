#include "platform/net/Socket.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <type_traits>

#include "platform/net/Resolver.h"

namespace platform {
namespace {

static_assert(!std::is_copy_constructible_v<Socket> && std::is_nothrow_move_constructible_v<Socket>);

bool IsOpenDescriptor(int descriptor) { return ::fcntl(descriptor, F_GETFD) != -1; }

TEST(SocketTest, OwnershipMovesAndTheDescriptorIsClosedOnce) {
  int descriptor = ::socket(AF_INET, SOCK_DGRAM, 0);
  ASSERT_GE(descriptor, 0);
  {
    Socket first(descriptor);
    Socket second(std::move(first));
    EXPECT_FALSE(first.IsValid());
    EXPECT_EQ(second.Descriptor(), descriptor);
    Socket third;
    third = std::move(second);
    EXPECT_EQ(third.Descriptor(), descriptor);
    EXPECT_TRUE(IsOpenDescriptor(descriptor));
  }
  EXPECT_FALSE(IsOpenDescriptor(descriptor));
}

TEST(ResolverTest, DottedAddressNeedsNoLookup) {
  ResolveResult resolved = ResolveIpv4("127.0.0.1");
  EXPECT_EQ(resolved.error, 0);
  EXPECT_EQ(resolved.address, (Ipv4Address{127, 0, 0, 1}));
}

}  // namespace
}  // namespace platform
