#include "platform/core/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/core/Eintr.h"
#include "platform/core/Files.h"

namespace platform {

namespace {

constexpr char kReadError[] = "Stream read error";
constexpr char kWriteError[] = "Stream write error";
constexpr char kMemoryError[] = "Out of memory while expanding memory stream";

// The position that Seek would reach, or -1 for an unknown origin or a target before the start.
int64_t SeekTarget(int64_t offset, TSeekOrigin origin, int64_t position, int64_t size) {
  int64_t base;
  switch (origin) {
    case soFromBeginning: base = 0; break;
    case soFromCurrent: base = position; break;
    case soFromEnd: base = size; break;
    default: return -1;
  }
  int64_t target = 0;
  if (__builtin_add_overflow(base, offset, &target)) return -1;
  return target < 0 ? -1 : target;
}

}  // namespace

int64_t TStream::Size() {
  int64_t position = Seek(0, soFromCurrent);
  int64_t size = Seek(0, soFromEnd);
  Seek(position, soFromBeginning);
  return size;
}

void TStream::SetSize(int64_t NewSize) { throw EStreamError("Stream does not support SetSize"); }

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(kReadError);
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(kWriteError);
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  constexpr int64_t kChunk = 65536;
  std::vector<char> buffer(static_cast<size_t>(std::min(Count, kChunk)));
  for (int64_t left = Count; left > 0;) {
    int64_t n = std::min(left, kChunk);
    Source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return Count;
}

TFileStream::TFileStream(const std::string& FileName, uint16_t Mode) : fileName_(FileName) {
  if ((Mode & fmCreate) == fmCreate) {
    fd_ = UniqueFd(::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd_.IsValid()) throw EFCreateError("Cannot create file \"" + FileName + "\". " + std::strerror(errno));
    return;
  }
  int access;
  switch (Mode & 0x0003) {
    case fmOpenRead: access = O_RDONLY; break;
    case fmOpenWrite: access = O_WRONLY; break;
    case fmOpenReadWrite: access = O_RDWR; break;
    default: throw EFOpenError("Cannot open file \"" + FileName + "\". " + std::strerror(EINVAL));
  }
  fd_ = UniqueFd(::open(FileName.c_str(), access | O_CLOEXEC));
  int error = errno;
  // A folder opens for reading on this platform, but is no file.
  struct stat st{};
  if (fd_.IsValid() && ::fstat(fd_.Descriptor(), &st) == 0 && S_ISDIR(st.st_mode)) {
    fd_.Close();
    error = EISDIR;
  }
  if (!fd_.IsValid()) throw EFOpenError("Cannot open file \"" + FileName + "\". " + std::strerror(error));
}

TFileStream::~TFileStream() = default;

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  auto* out = static_cast<char*>(Buffer);
  int64_t done = 0;
  while (done < Count) {
    ssize_t n = RetryOnEintr([&] { return ::read(fd_.Descriptor(), out + done, static_cast<size_t>(Count - done)); });
    if (n < 0) throw EReadError(kReadError);
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  const auto* in = static_cast<const char*>(Buffer);
  int64_t done = 0;
  while (done < Count) {
    ssize_t n = RetryOnEintr([&] { return ::write(fd_.Descriptor(), in + done, static_cast<size_t>(Count - done)); });
    if (n <= 0) throw EWriteError(kWriteError);
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence;
  switch (Origin) {
    case soFromBeginning: whence = SEEK_SET; break;
    case soFromCurrent: whence = SEEK_CUR; break;
    case soFromEnd: whence = SEEK_END; break;
    default: return -1;
  }
  return ::lseek(fd_.Descriptor(), Offset, whence);
}

void TFileStream::SetSize(int64_t NewSize) {
  if (NewSize < 0 || ::ftruncate(fd_.Descriptor(), NewSize) != 0) throw EWriteError(kWriteError);
  if (Position() > NewSize) Seek(0, soFromEnd);
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  int64_t available = Size() - position_;
  if (Count <= 0 || available <= 0) return 0;
  int64_t n = std::min(Count, available);
  std::memcpy(Buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  // Seek allows any position, but the stream can never grow beyond the largest one.
  int64_t end = 0;
  if (__builtin_add_overflow(position_, Count, &end)) throw EStreamError(kMemoryError);
  if (end > Size()) data_.resize(static_cast<size_t>(end));
  std::memcpy(data_.data() + position_, Buffer, static_cast<size_t>(Count));
  position_ += Count;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t target = SeekTarget(Offset, Origin, position_, Size());
  if (target >= 0) position_ = target;
  return target;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) throw EWriteError(kWriteError);
  data_.resize(static_cast<size_t>(NewSize));
  position_ = std::min(position_, NewSize);
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
  Stream.SetPosition(0);
  std::string bytes(static_cast<size_t>(Stream.Size()), '\0');
  Stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  data_ = std::move(bytes);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  data_ = ReadFileBytes(FileName);
  position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& Stream) { Stream.WriteBuffer(data_.data(), Size()); }

void TMemoryStream::SaveToFile(const std::string& FileName) { WriteFileAtomic(FileName, data_); }

TStringStream::TStringStream(std::string AString) { data_ = std::move(AString); }

std::string TStringStream::ReadString(int64_t Count) {
  std::string result(static_cast<size_t>(std::clamp<int64_t>(Size() - position_, 0, std::max<int64_t>(Count, 0))), '\0');
  Read(result.data(), static_cast<int64_t>(result.size()));
  return result;
}

void TStringStream::WriteString(const std::string& AString) {
  Write(AString.data(), static_cast<int64_t>(AString.size()));
}

}  // namespace platform
