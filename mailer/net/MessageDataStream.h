#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/core/Streams.h"

namespace mailnet {

// The message data of SMTP's DATA phase as a stream that only goes forward. Every line that begins
// with "." gets a second one in front (dot-stuffing), so no line of the message can end the data
// early; the bytes go to Send in chunks of ChunkSize (the rest at Flush), so a message of any size
// passes through a buffer of that size. Seek tells the count written (Position) and refuses any other
// position with -1, as TStream allows; Read reads nothing.
class TMessageDataStream : public platform::TStream {
public:
  static constexpr size_t ChunkSize = 65536;

  explicit TMessageDataStream(std::function<void(const char* data, size_t count)> Send);

  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, platform::TSeekOrigin Origin) override;

  void WriteText(std::string_view Text) { Write(Text.data(), static_cast<int64_t>(Text.size())); }
  // Sends what the buffer holds.
  void Flush();

private:
  std::function<void(const char*, size_t)> send_;
  std::string buffer_;
  bool lineStart_ = true;
  int64_t written_ = 0;
};

}  // namespace mailnet
