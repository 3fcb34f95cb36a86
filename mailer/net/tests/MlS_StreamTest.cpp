#include "mailer/net/MlS_Stream.h"

#include "gtest/gtest.h"

namespace mailnet {
namespace {

using platform::TStringStream;

std::string Bytes(size_t n) {
  std::string bytes(n, '\0');
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>('a' + i % 26);
  return bytes;
}

std::string ReadAll(platform::TStream& stream, int64_t chunk) {
  std::string text;
  std::string buffer(static_cast<size_t>(chunk), '\0');
  for (int64_t n; (n = stream.Read(buffer.data(), chunk)) > 0;) text.append(buffer, 0, static_cast<size_t>(n));
  return text;
}

TEST(MlBufferStream, ReadsAndWritesAcrossBufferFills) {
  const std::string data = Bytes(3 * TMlBufferStream::BufferSize + 17);
  for (int64_t chunk : {1, 7, 4096, 40000}) {
    TStringStream source(data);
    TMlBufferStream in(source);
    EXPECT_EQ(ReadAll(in, chunk), data) << chunk;
    EXPECT_TRUE(in.IsEof());

    TStringStream target;
    {
      TMlBufferStream out(target);
      for (size_t at = 0; at < data.size(); at += static_cast<size_t>(chunk)) {
        std::string piece = data.substr(at, static_cast<size_t>(chunk));
        out.WriteBuffer(piece.data(), static_cast<int64_t>(piece.size()));
      }
      EXPECT_EQ(out.Position(), static_cast<int64_t>(data.size()));
    }  // the last partial buffer is flushed when the stream goes
    EXPECT_EQ(target.DataString(), data) << chunk;
  }
}

TEST(MlBufferStream, SeekOrigins) {
  TStringStream source(Bytes(100));
  TMlBufferStream stream(source);
  char c = 0;
  struct Case {
    int64_t offset;
    platform::TSeekOrigin origin;
    int64_t position;
  };
  // Each seek starts where the previous one left, one byte after the position read.
  for (Case k : {Case{10, platform::soFromBeginning, 10}, Case{5, platform::soFromCurrent, 16},
                 Case{-3, platform::soFromCurrent, 14}, Case{-1, platform::soFromEnd, 99},
                 Case{-100, platform::soFromEnd, 0}}) {
    EXPECT_EQ(stream.Seek(k.offset, k.origin), k.position);
    EXPECT_EQ(stream.Position(), k.position);
    ASSERT_EQ(stream.Read(&c, 1), 1);
    EXPECT_EQ(c, Bytes(100)[static_cast<size_t>(k.position)]);
  }
  EXPECT_EQ(stream.Seek(-1, platform::soFromBeginning), -1);
  EXPECT_EQ(stream.Position(), 1);
  try {
    stream.Seek(0, static_cast<platform::TSeekOrigin>(3));
    FAIL() << "an unknown origin must raise";
  } catch (const platform::EStreamError& e) {
    EXPECT_EQ(e.Message(), "Invalid seek origin = 3");
  }
}

TEST(MlBufferStream, WriteAfterReadAndSeekAfterWrite) {
  TStringStream source(Bytes(10));
  {
    TMlBufferStream stream(source);
    char two[2];
    stream.ReadBuffer(two, 2);
    stream.WriteBuffer("XY", 2);  // lands at the logical position 2, not at the underlying end of the fill
    stream.Seek(8, platform::soFromBeginning);
    stream.WriteBuffer("Z", 1);
    stream.Seek(0, platform::soFromBeginning);
    EXPECT_EQ(ReadAll(stream, 3), "abXYefghZj");
    stream.WriteBuffer("!", 1);
    EXPECT_EQ(stream.FillBuffer(), 0);  // at the end; what was written before is kept
  }
  EXPECT_EQ(source.DataString(), "abXYefghZj!");
}

TEST(MlBufferStream, AFailedFlushIsNeverReportedAsWritten) {
  struct HalfTaking : TStringStream {
    int64_t Write(const void* Buffer, int64_t Count) override { return TStringStream::Write(Buffer, Count / 2); }
  } half;
  TMlBufferStream stream(half);
  const std::string data = Bytes(TMlBufferStream::BufferSize);
  EXPECT_LT(stream.Write(data.data(), static_cast<int64_t>(data.size())), static_cast<int64_t>(data.size()));
  EXPECT_THROW(stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size())), platform::EWriteError);
}

TEST(MlBufferStream, PutBack) {
  TStringStream source("abc");
  TMlBufferStream stream(source);
  EXPECT_THROW(stream.PutBack('x'), platform::EStreamError);  // nothing read yet: at the buffer's start
  char c;
  stream.ReadBuffer(&c, 1);
  stream.ReadBuffer(&c, 1);
  stream.PutBack('Q');
  EXPECT_EQ(stream.Position(), 1);
  EXPECT_EQ(ReadAll(stream, 10), "Qc");
  EXPECT_EQ(source.DataString(), "abc");  // put back into the buffer only
  try {
    TMlBufferStream fresh(source);
    fresh.PutBack('x');
    FAIL();
  } catch (const platform::EStreamError& e) {
    EXPECT_EQ(e.Message(), "PutBack overflow");
  }
}

TEST(MlBufferStream, PutBackAtTheBufferEdges) {
  constexpr int64_t size = TMlBufferStream::BufferSize;
  const std::string data = Bytes(2 * size);
  TStringStream source(data);
  TMlBufferStream stream(source);
  std::string first(size, '\0');
  stream.ReadBuffer(first.data(), size);  // the whole first fill: at the buffer's end
  stream.PutBack('Q');
  EXPECT_EQ(stream.Position(), size - 1);
  char two[2];
  stream.ReadBuffer(two, 2);  // the put-back byte, then the first of the next fill
  EXPECT_EQ(std::string(two, 2), std::string("Q") + data[size]);
  stream.PutBack('R');  // one byte into the new fill
  EXPECT_EQ(stream.Position(), size);
  EXPECT_THROW(stream.PutBack('S'), platform::EStreamError);  // the byte before lies in the fill that went
  EXPECT_EQ(ReadAll(stream, 4096), "R" + data.substr(size + 1));
}

}  // namespace
}  // namespace mailnet
