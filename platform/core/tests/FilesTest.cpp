#include "platform/core/Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/core/tests/TempFolder.h"

namespace platform {
namespace {

mode_t ModeOf(const std::string& path) {
  struct stat st{};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// The mode of a new file came from reading the umask by setting it to 0 and back: a thread that wrote a
// new file meanwhile read 0 and made its file writable by everybody.
TEST(FilesTest, NewFilesWrittenByManyThreadsAtOnceAllGetTheUmasksMode) {
  TempFolder folder;
  const mode_t previous = ::umask(022);
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) WriteFileAtomic(folder.File(std::to_string(t) + "-" + std::to_string(i)), "x");
    });
  }
  for (std::thread& writer : writers) writer.join();
  ::umask(previous);
  for (int t = 0; t < 4; ++t)
    for (int i = 0; i < 50; ++i) ASSERT_EQ(ModeOf(folder.File(std::to_string(t) + "-" + std::to_string(i))), 0644u);
}

TEST(FilesTest, AReplacedFileKeepsItsMode) {
  TempFolder folder;
  WriteFileAtomic(folder.File("f"), "old");
  ASSERT_EQ(::chmod(folder.File("f").c_str(), 0640), 0);
  WriteFileAtomic(folder.File("f"), "new");
  EXPECT_EQ(ModeOf(folder.File("f")), 0640u);
  EXPECT_EQ(ReadFileBytes(folder.File("f")), "new");
}

// A file that others read gets its mode from the writer before it takes its name.
TEST(FilesTest, APreparedFileTakesItsNameWithTheModeThePreparationGaveIt) {
  TempFolder folder;
  WriteFileAtomic(folder.File("list"), "old");
  int calls = 0;
  WriteFileAtomic(folder.File("list"), "new", Durability::Unflushed, [&](int fd) {
    ++calls;
    EXPECT_EQ(ReadFileBytes(folder.File("list")), "old");  // not yet renamed
    ASSERT_EQ(::fchmod(fd, 0604), 0);
  });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(ModeOf(folder.File("list")), 0604u);
  EXPECT_EQ(ReadFileBytes(folder.File("list")), "new");
}

TEST(FilesTest, LeftoversOfKilledWritesAreRemovedAndNothingElse) {
  TempFolder folder;
  for (const char* name : {"events.log", "events.log.tmp-a1B2c3", "events.log.tmp-zzzzzz", "events.log.tmp-short",
                           "other.log.tmp-a1B2c3", "events.log.unreadable"})
    WriteFileAtomic(folder.File(name), "x");
  RemoveAtomicWriteLeftovers(folder.File("events.log"));
  for (const char* name : {"events.log", "events.log.tmp-short", "other.log.tmp-a1B2c3", "events.log.unreadable"})
    EXPECT_TRUE(FileExists(folder.File(name))) << name;
  for (const char* name : {"events.log.tmp-a1B2c3", "events.log.tmp-zzzzzz"})
    EXPECT_FALSE(PathExists(folder.File(name))) << name;
}

}  // namespace
}  // namespace platform
