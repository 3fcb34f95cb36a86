#include "platform/core/AppendFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/Eintr.h"

namespace platform {

TAppendFile::TAppendFile(const std::string& path) : path_(path) {
  // O_NONBLOCK keeps the open of a FIFO from waiting for its other end; it means nothing for a file.
  fd_ = UniqueFd(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
  struct stat st{};
  if (!fd_.IsValid()) {
    const int error = errno;
    struct stat link{};
    opened_ = error == ELOOP && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode) ? TOpened::SymbolicLink
                                                                                             : TOpened::Unusable;
    error_ = "Cannot open file \"" + path + "\". " + std::strerror(error);
  } else if (::fstat(fd_.Descriptor(), &st) != 0 || !S_ISREG(st.st_mode)) {
    fd_.Close();
    error_ = "Cannot open file \"" + path + "\". It is not a regular file.";
  } else {
    opened_ = TOpened::Yes;
  }
}

TFileIdentity TAppendFile::Identity() const {
  struct stat st{};
  if (::fstat(fd_.Descriptor(), &st) != 0) return {};
  return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), static_cast<int64_t>(st.st_size)};
}

bool TAppendFile::Fail(const char* what) {
  error_ = std::string("Cannot ") + what + " file \"" + path_ + "\". " + std::strerror(errno);
  return false;
}

bool TAppendFile::ReadAll(std::string& bytes) {
  bytes.clear();
  char buffer[65536];
  for (off_t at = 0;;) {
    const ssize_t n = RetryOnEintr([&] { return ::pread(fd_.Descriptor(), buffer, sizeof buffer, at); });
    if (n < 0) return Fail("read");
    if (n == 0) return true;
    bytes.append(buffer, static_cast<size_t>(n));
    at += n;
  }
}

bool TAppendFile::Append(const std::string& bytes) {
  const int64_t before = Identity().size;
  const ssize_t n = RetryOnEintr([&] { return ::write(fd_.Descriptor(), bytes.data(), bytes.size()); });
  if (n == static_cast<ssize_t>(bytes.size())) return true;
  if (n >= 0) errno = ENOSPC;  // a short write: the disk took only part of it
  Fail("write");
  const std::string error = error_;
  if (n > 0) CutTo(before);
  error_ = error;
  return false;
}

bool TAppendFile::CutTo(int64_t size) {
  return RetryOnEintr([&] { return ::ftruncate(fd_.Descriptor(), size); }) == 0 || Fail("write");
}

bool TAppendFile::Flush() { return ::fsync(fd_.Descriptor()) == 0 || Fail("write"); }

}  // namespace platform
