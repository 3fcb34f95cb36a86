#include "mailer/net/MessageDataStream.h"

#include <cstring>

namespace mailnet {

TMessageDataStream::TMessageDataStream(std::function<void(const char* data, size_t count)> Send)
    : send_(std::move(Send)) {
  buffer_.reserve(ChunkSize + 1);
}

int64_t TMessageDataStream::Write(const void* Buffer, int64_t Count) {
  const char* at = static_cast<const char*>(Buffer);
  const char* end = at + Count;
  while (at < end) {
    if (lineStart_ && *at == '.') buffer_ += '.';
    const void* lf = std::memchr(at, '\n', static_cast<size_t>(end - at));
    const char* next = lf == nullptr ? end : static_cast<const char*>(lf) + 1;
    size_t count = std::min(static_cast<size_t>(next - at), ChunkSize - std::min(ChunkSize, buffer_.size()));
    buffer_.append(at, count);
    at += count;
    lineStart_ = buffer_.back() == '\n';
    if (buffer_.size() >= ChunkSize) Flush();
  }
  written_ += Count;
  return Count;
}

int64_t TMessageDataStream::Seek(int64_t Offset, platform::TSeekOrigin Origin) {
  bool here = (Origin == platform::soFromCurrent && Offset == 0) || (Origin == platform::soFromBeginning && Offset == written_);
  return here ? written_ : -1;
}

void TMessageDataStream::Flush() {
  if (buffer_.empty()) return;
  send_(buffer_.data(), buffer_.size());
  buffer_.clear();
}

}  // namespace mailnet
