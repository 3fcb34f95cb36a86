#include "platform/core/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/Eintr.h"
#include "platform/core/Exception.h"
#include "platform/core/UniqueFd.h"

namespace platform {

namespace {

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = RetryOnEintr([&] { return ::write(fd, bytes.data() + done, bytes.size() - done); });
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::string ReadFileBytes(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.IsValid()) throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(errno));
  std::string bytes;
  char buffer[65536];
  for (;;) {
    ssize_t n = RetryOnEintr([&] { return ::read(fd.Descriptor(), buffer, sizeof buffer); });
    if (n < 0) throw EFOpenError("Cannot read file \"" + path + "\". " + std::strerror(errno));
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  return bytes;
}

void WriteFileAtomic(const std::string& path, const std::string& bytes) {
  std::string temp = path + ".tmp-XXXXXX";
  UniqueFd fd(::mkstemp(temp.data()));
  if (!fd.IsValid()) throw EFCreateError("Cannot create file \"" + path + "\". " + std::strerror(errno));

  // A replaced file keeps its permissions; a new one gets the usual 0666 less the umask.
  struct stat old{};
  mode_t mode;
  if (::stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = ::fchmod(fd.Descriptor(), mode) == 0 && WriteAll(fd.Descriptor(), bytes) && ::fsync(fd.Descriptor()) == 0;
  int error = errno;
  ok = fd.Close() && ok;
  if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return;
  if (!ok) errno = error;
  error = errno;
  ::unlink(temp.c_str());
  throw EFCreateError("Cannot create file \"" + path + "\". " + std::strerror(error));
}

}  // namespace platform
