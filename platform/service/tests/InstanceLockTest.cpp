#include "platform/service/InstanceLock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/core/Files.h"
#include "platform/core/tests/FileAccessAs.h"
#include "platform/core/tests/TempFolder.h"

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

// The lock file was 0644 and flock works on a read-only descriptor: any local user could hold the lock
// and keep the service from starting. Now the file is its owner's alone, also one left with a wider mode.
TEST(InstanceLockTest, NoOtherUserMayOpenTheLock) {
  TempFolder folder;
  ASSERT_EQ(::chmod(folder.File("").c_str(), 0755), 0);
  const std::string path = folder.File(".service.lock");
  WriteFileAtomic(path, "");
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
  bool heldByNobody = false;
  if (!RunWithFileAccessOf(kNobodyUid, kNobodyGid, [&] {
        ASSERT_EQ(::access(path.c_str(), R_OK), 0);  // the fault: the old lock file was open to all
      }))
    GTEST_SKIP() << "needs root to act as another user";
  {
    InstanceLock service(path);
    ASSERT_TRUE(service.Held()) << service.Error();
  }
  struct stat st{};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  RunWithFileAccessOf(kNobodyUid, kNobodyGid, [&] { heldByNobody = InstanceLock(path).Held(); });
  EXPECT_FALSE(heldByNobody);
  InstanceLock again(path);
  EXPECT_TRUE(again.Held());
}

TEST(InstanceLockTest, AFolderThatMayNotBeWrittenIsNamedAsTheReason) {
  TempFolder folder;
  ASSERT_EQ(::chmod(folder.File("").c_str(), 0755), 0);
  std::string error;
  if (!RunWithFileAccessOf(kNobodyUid, kNobodyGid, [&] { error = InstanceLock(folder.File(".service.lock")).Error(); }))
    GTEST_SKIP() << "needs root to act as another user";
  EXPECT_NE(error.find("its folder " + folder.File("") + " may not be written by this user"), std::string::npos)
      << error;
}

}  // namespace
}  // namespace platform
