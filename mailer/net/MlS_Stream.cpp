#include "mailer/net/MlS_Stream.h"

#include <algorithm>

#include "mailer/net/MlS_Huge.h"

namespace mailnet {

using platform::EStreamError;

TMlBufferStream::TMlBufferStream(platform::TStream& Stream) : stream_(Stream) {}

TMlBufferStream::~TMlBufferStream() {
  try {
    if (state_ == State::Writing) FlushBuffer();
  } catch (...) {
    // A destructor never throws; a caller who must know flushes first.
  }
}

int64_t TMlBufferStream::LogicalPosition() {
  int64_t underlying = stream_.Position();
  switch (state_) {
    case State::Reading: return underlying - (end_ - pos_);
    case State::Writing: return underlying + (pos_ - buffer_.data());
    case State::Unknown: break;
  }
  return underlying;
}

void TMlBufferStream::DropBuffer() {
  pos_ = end_ = buffer_.data();
  state_ = State::Unknown;
}

int TMlBufferStream::FillBuffer() {
  if (state_ == State::Writing && !FlushBuffer()) return 0;
  DropBuffer();
  int64_t n = stream_.Read(buffer_.data(), BufferSize);
  if (n <= 0) return 0;
  end_ = HugeOffset(buffer_.data(), n);
  state_ = State::Reading;
  if (OnFillBuffer) OnFillBuffer();
  return static_cast<int>(n);
}

bool TMlBufferStream::FlushBuffer() {
  int64_t count = pos_ - buffer_.data();
  int64_t written = count > 0 ? stream_.Write(buffer_.data(), count) : 0;
  DropBuffer();
  if (OnFlushBuffer) OnFlushBuffer();
  return written == count;
}

int64_t TMlBufferStream::Read(void* Buffer, int64_t Count) {
  if (state_ == State::Writing && !FlushBuffer()) return 0;
  char* out = static_cast<char*>(Buffer);
  int64_t done = 0;
  while (done < Count) {
    if (pos_ == end_ && FillBuffer() == 0) break;
    int64_t n = std::min<int64_t>(Count - done, end_ - pos_);
    HMemCpy(HugeOffset(out, done), pos_, static_cast<size_t>(n));
    HugeInc(pos_, n);
    done += n;
  }
  return done;
}

int64_t TMlBufferStream::Write(const void* Buffer, int64_t Count) {
  if (state_ == State::Reading) {
    stream_.SetPosition(LogicalPosition());
    DropBuffer();
  }
  const char* in = static_cast<const char*>(Buffer);
  int64_t done = 0;
  while (done < Count) {
    int64_t room = HugeOffset(buffer_.data(), BufferSize) - pos_;
    int64_t n = std::min(Count - done, room);
    HMemCpy(pos_, in + done, static_cast<size_t>(n));
    HugeInc(pos_, n);
    state_ = State::Writing;
    done += n;
    if (pos_ == HugeOffset(buffer_.data(), BufferSize) && !FlushBuffer()) {
      // The bytes of this call that were in the buffer may not have reached the stream.
      done -= std::min<int64_t>(done, BufferSize);
      break;
    }
  }
  return done;
}

int64_t TMlBufferStream::Seek(int64_t Offset, platform::TSeekOrigin Origin) {
  int64_t target;
  switch (Origin) {
    case platform::soFromBeginning: target = Offset; break;
    case platform::soFromCurrent: target = LogicalPosition() + Offset; break;
    case platform::soFromEnd:
      if (state_ == State::Writing && !FlushBuffer()) throw EStreamError("Seek error");
      target = stream_.Size() + Offset;
      break;
    default: throw EStreamError("Invalid seek origin = " + std::to_string(static_cast<int>(Origin)));
  }
  if (target < 0) return -1;
  if (target == LogicalPosition()) return target;
  if (state_ == State::Writing && !FlushBuffer()) throw EStreamError("Seek error");
  DropBuffer();
  return stream_.Seek(target, platform::soFromBeginning);
}

void TMlBufferStream::PutBack(char Ch) {
  if (pos_ == buffer_.data()) throw EStreamError("PutBack overflow");
  HugeDec(pos_, 1);
  *pos_ = Ch;
}

bool TMlBufferStream::IsEof() {
  if (state_ == State::Writing && !FlushBuffer()) return true;
  return pos_ == end_ && FillBuffer() == 0;
}

}  // namespace mailnet
