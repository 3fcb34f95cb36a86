#include "platform/core/Streams.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>

#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"

namespace platform {
namespace {

// Both seekable kinds must agree on every origin, including a target past the end (allowed, and a write
// there extends the stream) and one before the start (refused, position unchanged).
TEST(StreamsTest, SeekOriginsAgreeForFileAndMemoryStreams) {
  TempFolder folder;
  std::vector<std::pair<const char*, std::function<std::unique_ptr<TStream>()>>> kinds = {
      {"memory", [] { return std::make_unique<TMemoryStream>(); }},
      {"file", [&] { return std::make_unique<TFileStream>(folder.File("seek.bin"), fmCreate); }},
  };
  struct Case {
    int64_t offset;
    TSeekOrigin origin;
    int64_t expected;  // returned and new position; -1 leaves the position at 4
  } cases[] = {
      {2, soFromBeginning, 2}, {0, soFromEnd, 10},      {-3, soFromEnd, 7},
      {3, soFromCurrent, 7},   {-4, soFromCurrent, 0},  {5, soFromEnd, 15},
      {-5, soFromCurrent, -1}, {-11, soFromEnd, -1},    {1, static_cast<TSeekOrigin>(7), -1},
  };
  for (auto& [name, make] : kinds) {
    for (const Case& c : cases) {
      std::unique_ptr<TStream> stream = make();
      stream->WriteBuffer("0123456789", 10);
      stream->SetPosition(4);
      EXPECT_EQ(stream->Seek(c.offset, c.origin), c.expected) << name << " " << c.offset << "/" << c.origin;
      EXPECT_EQ(stream->Position(), c.expected < 0 ? 4 : c.expected) << name;
      EXPECT_EQ(stream->Size(), 10) << name;
    }
    std::unique_ptr<TStream> stream = make();
    stream->WriteBuffer("ab", 2);
    stream->Seek(2, soFromEnd);
    stream->WriteBuffer("c", 1);
    EXPECT_EQ(stream->Size(), 5) << name;
    char bytes[5];
    stream->SetPosition(0);
    stream->ReadBuffer(bytes, 5);
    EXPECT_EQ(std::string(bytes, 5), std::string("ab\0\0c", 5)) << name;
  }
}

TEST(StreamsTest, ReadBufferAndWriteBufferRaiseWhenShort) {
  TMemoryStream memory;
  memory.WriteBuffer("abc", 3);
  memory.SetPosition(1);
  char buffer[4];
  EXPECT_EQ(memory.Read(buffer, 4), 2);
  memory.SetPosition(1);
  try {
    memory.ReadBuffer(buffer, 4);
    FAIL() << "no EReadError";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }

  TempFolder folder;
  WriteFileAtomic(folder.File("read-only.txt"), "x");
  TFileStream readOnly(folder.File("read-only.txt"), fmOpenRead | fmShareDenyWrite);
  try {
    readOnly.WriteBuffer("y", 1);
    FAIL() << "no EWriteError";
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), "Stream write error");
  }
}

// A memory stream may be positioned anywhere past its end, but a write that would end beyond the largest
// position raises and changes nothing, and a seek that would overflow the position is refused like one
// before the start.
TEST(StreamsTest, MemoryStreamRefusesWhatItCouldNeverHold) {
  constexpr int64_t kFarthest = std::numeric_limits<int64_t>::max();
  TMemoryStream memory;
  memory.WriteBuffer("abc", 3);
  EXPECT_EQ(memory.Seek(kFarthest, soFromBeginning), kFarthest);
  EXPECT_THROW(memory.WriteBuffer("x", 1), EStreamError);
  EXPECT_EQ(memory.Seek(1, soFromCurrent), -1);
  EXPECT_EQ(memory.Seek(kFarthest, soFromEnd), -1);
  EXPECT_EQ(memory.Position(), kFarthest);
  EXPECT_EQ(memory.Size(), 3);
  EXPECT_EQ(std::string(memory.Memory(), 3), "abc");
}

TEST(StreamsTest, FileStreamModesAndTheirErrors) {
  TempFolder folder;
  std::string name = folder.File("data.bin");
  try {
    TFileStream missing(name, fmOpenRead);
    FAIL() << "no EFOpenError";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + name + "\". No such file or directory");
  }
  try {
    TFileStream noFolder(folder.File("none/data.bin"), fmCreate);
    FAIL() << "no EFCreateError";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"" + folder.File("none/data.bin") + "\". No such file or directory");
  }

  { TFileStream(name, fmCreate | fmShareExclusive).WriteBuffer("hello", 5); }
  {
    TFileStream writer(name, fmOpenWrite);  // does not truncate
    writer.Seek(0, soFromEnd);
    writer.WriteBuffer(" you", 4);
  }
  EXPECT_EQ(ReadFileBytes(name), "hello you");
  {
    TFileStream both(name, fmOpenReadWrite | fmShareDenyNone);
    both.SetSize(5);
    EXPECT_EQ(both.Position(), 0);
    both.Seek(0, soFromEnd);
    both.WriteBuffer("!", 1);
  }
  EXPECT_EQ(ReadFileBytes(name), "hello!");
  { TFileStream(name, fmCreate); }
  EXPECT_EQ(ReadFileBytes(name), "");
}

TEST(StreamsTest, CopyFromAndMemoryFiles) {
  TStringStream source("0123456789");
  source.SetPosition(3);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 4), 4);
  EXPECT_EQ(std::string(target.Memory(), 4), "3456");
  EXPECT_EQ(target.CopyFrom(source, 0), 10);  // 0 copies all of the source from its start
  EXPECT_EQ(std::string(target.Memory(), static_cast<size_t>(target.Size())), "34560123456789");
  source.SetPosition(8);
  EXPECT_THROW(target.CopyFrom(source, 5), EReadError);

  TempFolder folder;
  target.SaveToFile(folder.File("copy.bin"));
  TMemoryStream loaded;
  loaded.LoadFromFile(folder.File("copy.bin"));
  EXPECT_EQ(loaded.Position(), 0);
  EXPECT_EQ(std::string(loaded.Memory(), static_cast<size_t>(loaded.Size())), "34560123456789");
  EXPECT_THROW(loaded.LoadFromFile(folder.File("missing.bin")), EFOpenError);
  EXPECT_THROW(loaded.SaveToFile(folder.File("none/copy.bin")), EFCreateError);
  EXPECT_EQ(loaded.Size(), 14);  // a failed load keeps the content
}

TEST(StreamsTest, StringStreamReadsAndWritesText) {
  TStringStream stream("Subject: x\r\n");
  stream.Seek(0, soFromEnd);
  stream.WriteString("\r\nbody\r\n");
  EXPECT_EQ(stream.DataString(), "Subject: x\r\n\r\nbody\r\n");
  stream.SetPosition(9);
  EXPECT_EQ(stream.ReadString(3), "x\r\n");
  EXPECT_EQ(stream.ReadString(100), "\r\nbody\r\n");
  EXPECT_EQ(stream.ReadString(1), "");
  stream.SetSize(4);
  EXPECT_EQ(stream.DataString(), "Subj");
  EXPECT_EQ(stream.Position(), 4);
}

}  // namespace
}  // namespace platform
