// Save on a full disk: the folder of HostList.ini is a small tmpfs that the test fills.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "configurator/HostListFile.h"
#include "configurator/tests/HostListTestSupport.h"
#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"

namespace configurator::testing {
namespace {

// Fills the file system of `filler` with that one file, until no byte more fits.
void FillDisk(const std::string& filler) {
  const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  ASSERT_GE(fd, 0);
  const std::string block(4096, 'x');
  while (::write(fd, block.data(), block.size()) > 0) {
  }
  while (::write(fd, block.data(), 1) > 0) {
  }
  ::close(fd);
}

TEST(HostListFullDiskTest, ASaveThatDoesNotFitKeepsTheOldFileAndSaysWhy) {
  platform::TempFolder folder;
  std::string mountPoint = folder.File("");
  mountPoint.pop_back();
  if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0) {
    GTEST_SKIP() << "needs root to mount a tmpfs";
  }
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{mountPoint};
  const std::string path = folder.File("HostList.ini");
  SaveHostEntries(path, {Host("old.lan", "down.sh", "up.sh", 3)});
  const std::string before = platform::ReadFileBytes(path);
  FillDisk(folder.File("filler"));

  std::vector<THostEntry> rows;
  for (int i = 0; i < 200; ++i) rows.push_back(Host("host" + std::to_string(i) + ".lan"));
  try {
    SaveHostEntries(path, rows);
    ADD_FAILURE() << "saved on a full disk";
  } catch (const platform::Exception& e) {
    EXPECT_NE(e.Message().find(path), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find("No space left on device"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(platform::ReadFileBytes(path), before);
  std::vector<std::string> names;
  for (const platform::TDirectoryEntry& entry : platform::ListDirectory(mountPoint)) names.push_back(entry.Name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"HostList.ini", "filler"}));  // no temporary file left

  // With room again the same save goes through.
  ASSERT_TRUE(platform::DeleteFile(folder.File("filler")));
  SaveHostEntries(path, rows);
  EXPECT_EQ(ReadHostEntries(path), rows);
}

}  // namespace
}  // namespace configurator::testing
