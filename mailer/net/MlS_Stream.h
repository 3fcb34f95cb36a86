#pragma once

#include <array>
#include <functional>

#include "platform/core/Streams.h"

namespace mailnet {

// A stream that reads and writes another stream (not owned, which must outlive it) through a buffer of
// BufferSize bytes, so that small reads and writes become few large ones. The logical position is the
// underlying position corrected by what the buffer holds. Seek origins follow TStream (soFromEnd counts
// from the end: Seek(-n, soFromEnd) is n bytes before it); an unknown origin raises EStreamError.
class TMlBufferStream : public platform::TStream {
public:
  static constexpr int BufferSize = 32768;

  explicit TMlBufferStream(platform::TStream& Stream);
  ~TMlBufferStream() override;  // flushes pending written bytes

  int64_t Read(void* Buffer, int64_t Count) override;
  // Buffers the bytes and flushes each full buffer; after a failed flush it stops and counts none of its
  // bytes that were in the buffer as written.
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, platform::TSeekOrigin Origin) override;

  // Reads up to BufferSize bytes into the emptied buffer (after flushing what was written); returns how
  // many came.
  int FillBuffer();
  // Writes the buffered bytes and empties the buffer; true when all of them were written.
  bool FlushBuffer();
  // Steps back one byte in the buffer and stores Ch there, so the next Read returns it; raises
  // EStreamError "PutBack overflow" at the buffer's start.
  void PutBack(char Ch);
  // True when no byte is left to read.
  bool IsEof();
  // The read or write position inside the buffer.
  int BufferPosition() const { return static_cast<int>(pos_ - buffer_.data()); }

  std::function<void()> OnFillBuffer;   // after a fill that brought bytes
  std::function<void()> OnFlushBuffer;  // after a flush

private:
  enum class State { Unknown, Reading, Writing };

  int64_t LogicalPosition();
  void DropBuffer();

  platform::TStream& stream_;
  std::array<char, BufferSize> buffer_{};
  char* pos_ = buffer_.data();  // next byte to read, or the end of the bytes written
  char* end_ = buffer_.data();  // end of the bytes read (reading only)
  State state_ = State::Unknown;
};

}  // namespace mailnet
