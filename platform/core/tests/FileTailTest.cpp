#include "platform/core/FileTail.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"

namespace platform {
namespace {

TEST(FileTailTest, TheLastBytesOfAFileAndWhetherItWasCut) {
  TempFolder folder;
  const std::string path = folder.File("log");
  const struct {
    std::string content;
    uint64_t maxBytes;
    std::string bytes;
    bool cut;
  } cases[] = {
      {"", 4, "", false}, {"abcd", 4, "abcd", false}, {"abcdef", 4, "cdef", true}, {"abcdef", 0, "", true}};
  for (const auto& c : cases) {
    WriteFileAtomic(path, c.content, Durability::Unflushed);
    const TFileTail tail = ReadRegularFileTail(path, c.maxBytes);
    EXPECT_EQ(tail.bytes, c.bytes) << c.content << " " << c.maxBytes;
    EXPECT_EQ(tail.cut, c.cut) << c.content << " " << c.maxBytes;
  }
}

// A FIFO in the file's place is refused at once, not waited on; a missing file raises.
TEST(FileTailTest, WhatIsNoRegularFileRaises) {
  TempFolder folder;
  ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
  EXPECT_THROW(ReadRegularFileTail(folder.File("fifo"), 100), EFOpenError);
  EXPECT_THROW(ReadRegularFileTail(folder.File("missing"), 100), EFOpenError);
}

}  // namespace
}  // namespace platform
