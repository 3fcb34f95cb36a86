// The service on a full disk: its folder is a small tmpfs that the test fills.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "service/tests/TarvonexFixture.h"

namespace velmora::testing {
namespace {

class FullDiskTest : public TarvonexTest {
protected:
  void SetUp() override {
    TarvonexTest::SetUp();
    mountPoint = folder.File("");
    mountPoint.pop_back();
    mounted = ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=256k,mode=0755") == 0;
  }
  void TearDown() override {
    TarvonexTest::TearDown();
    if (mounted) ::umount2(mountPoint.c_str(), MNT_DETACH);
  }

  // Fills the file system with one file, until no byte more fits.
  void FillDisk() const {
    const int fd = ::open(folder.File("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    const std::string block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    while (::write(fd, block.data(), 1) > 0) {
    }
    ::close(fd);
  }

  std::string mountPoint;
  bool mounted = false;
};

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A full disk stopped the checks for good, silently: the status write raised, the same host was checked
// at every tick and no command ran. Now every check and command goes on, and the failures of status.ini,
// the page and events.log are each reported once on standard error.
TEST_F(FullDiskTest, AHostGoesDownAndComesBackWhileTheDiskIsFull) {
  if (!mounted) GTEST_SKIP() << "needs root to mount a tmpfs";
  WriteOneHost("1", {"Intervall=5", "WebStatus=1"});
  platform::WriteFileAtomic(folder.File("status1.vdr"), "<#CONTENT>");
  platform::WriteFileAtomic(folder.File("status2.vdr"), "<#HOSTNAME> <#ROUNDTRIP>");
  network->Script("alpha", {Echo()});
  FillDisk();
  ::testing::internal::CaptureStderr();
  Start();
  RunFor(8000);
  network->Script("alpha", {Silent()});
  RunFor(35000);
  network->Script("alpha", {Echo()});
  RunFor(25000);
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Started(), (Lines{UpCommand(), DownCommand(), UpCommand()}));
  EXPECT_EQ(Count(errors, "status.ini"), 1u) << errors;
  EXPECT_EQ(Count(errors, "index.htm"), 1u) << errors;
  EXPECT_EQ(Count(errors, "events.log"), 1u) << errors;
  EXPECT_TRUE(LogLines().empty());

  // With room again, the next line is written.
  ASSERT_TRUE(platform::DeleteFile(folder.File("filler")));
  service->Controller(platform::ServiceControl::Pause);
  RunFor(12000);
  ASSERT_EQ(LogLines().size(), 1u);
  EXPECT_NE(LogLines()[0].find("Service paused"), std::string::npos);
}

}  // namespace
}  // namespace velmora::testing
