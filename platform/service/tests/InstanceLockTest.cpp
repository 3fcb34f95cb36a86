#include "platform/service/InstanceLock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace platform {
namespace {

TEST(InstanceLockTest, ASecondHolderIsRefusedUntilTheFirstEnds) {
  std::string path = std::filesystem::temp_directory_path() / ("lock-" + std::to_string(::getpid()));
  {
    InstanceLock first(path);
    ASSERT_TRUE(first.Held()) << first.Error();
    InstanceLock second(path);
    EXPECT_FALSE(second.Held());
    EXPECT_TRUE(second.HeldElsewhere());
    EXPECT_FALSE(second.Error().empty());
  }
  InstanceLock third(path);
  EXPECT_TRUE(third.Held());

  InstanceLock nowhere("/nonexistent-folder/x.lock");
  EXPECT_FALSE(nowhere.Held());
  EXPECT_FALSE(nowhere.HeldElsewhere());
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace platform
