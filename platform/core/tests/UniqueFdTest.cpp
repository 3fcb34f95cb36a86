#include "platform/core/UniqueFd.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <type_traits>

#include "platform/core/Eintr.h"

namespace platform {
namespace {

static_assert(!std::is_copy_constructible_v<UniqueFd> && std::is_nothrow_move_constructible_v<UniqueFd>);

bool IsOpenDescriptor(int descriptor) { return ::fcntl(descriptor, F_GETFD) != -1; }

TEST(UniqueFdTest, OwnershipMovesAndTheDescriptorIsClosedOnce) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  UniqueFd writeEnd(fds[1]);
  {
    UniqueFd first(fds[0]);
    UniqueFd second(std::move(first));
    EXPECT_FALSE(first.IsValid());
    EXPECT_EQ(second.Descriptor(), fds[0]);
    UniqueFd third;
    third = std::move(second);
    EXPECT_EQ(third.Descriptor(), fds[0]);
    EXPECT_TRUE(IsOpenDescriptor(fds[0]));
  }
  EXPECT_FALSE(IsOpenDescriptor(fds[0]));
  int released = writeEnd.Release();
  EXPECT_FALSE(writeEnd.IsValid());
  EXPECT_TRUE(IsOpenDescriptor(released));
  UniqueFd owner(released);
  EXPECT_TRUE(owner.Close());
  EXPECT_FALSE(owner.IsValid());
  EXPECT_FALSE(IsOpenDescriptor(released));
}

TEST(RetryOnEintrTest, RepeatsOnlyInterruptedCalls) {
  int calls = 0;
  int result = RetryOnEintr([&] {
    ++calls;
    if (calls < 3) {
      errno = EINTR;
      return -1;
    }
    return 7;
  });
  EXPECT_EQ(result, 7);
  EXPECT_EQ(calls, 3);

  calls = 0;
  EXPECT_EQ(RetryOnEintr([&] {
              ++calls;
              errno = EBADF;
              return -1;
            }),
            -1);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace platform
