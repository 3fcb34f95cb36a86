#include "platform/core/Files.h"
#include "platform/core/FileTail.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "platform/core/Eintr.h"
#include "platform/core/Exception.h"
#include "platform/core/UniqueFd.h"

namespace platform {

namespace {

constexpr const char* kTemporarySuffix = ".tmp-";
constexpr int kTemporarySuffixLength = 6;

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = RetryOnEintr([&] { return ::write(fd, bytes.data() + done, bytes.size() - done); });
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Creates `path`.tmp-XXXXXX under a new random suffix, for writing. Its mode is 0666 less the umask, as
// the kernel applies it: no thread reads or changes the process-wide umask. -1 with errno on failure.
int CreateTemporaryFile(const std::string& path, std::string& temp) {
  static constexpr char kSuffixCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, sizeof kSuffixCharacters - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = path + kTemporarySuffix;
    for (int i = 0; i < kTemporarySuffixLength; ++i) temp += kSuffixCharacters[pick(random)];
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// What the descriptor holds from its position to its end, at most maxBytes + 1 bytes; room for
// `expected` bytes is taken at once.
std::string ReadToEnd(int fd, const std::string& path, uint64_t maxBytes, size_t expected) {
  std::string bytes;
  bytes.reserve(expected);
  char buffer[65536];
  while (bytes.size() <= maxBytes) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(sizeof buffer, maxBytes + 1 - bytes.size()));
    ssize_t n = RetryOnEintr([&] { return ::read(fd, buffer, want); });
    if (n < 0) throw EFOpenError("Cannot read file \"" + path + "\". " + std::strerror(errno));
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  return bytes;
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

bool PathExists(const std::string& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0;
}

bool IsSymbolicLink(const std::string& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool RenameFile(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::vector<TDirectoryEntry> ListDirectory(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) throw EFOpenError("Cannot open folder \"" + folder + "\". " + std::strerror(errno));
  std::vector<TDirectoryEntry> entries;
  while (const dirent* found = ::readdir(dir)) {
    const std::string name = found->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    const std::string path = folder + (folder.ends_with('/') ? "" : "/") + name;
    if (::stat(path.c_str(), &info) != 0 && ::lstat(path.c_str(), &info) != 0) continue;
    TDirectoryEntry entry;
    entry.Name = name;
    entry.IsDirectory = S_ISDIR(info.st_mode);
    entry.Size = entry.IsDirectory ? 0 : static_cast<uint64_t>(info.st_size);
    entry.ModifiedUnixMs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1'000'000;
    entries.push_back(std::move(entry));
  }
  ::closedir(dir);
  return entries;
}

std::string ReadFileBytes(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.IsValid()) throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(errno));
  return ReadToEnd(fd.Descriptor(), path, kUnlimitedFileBytes, 0);
}

namespace {

// Opens a regular file for reading and tells its size; an invalid descriptor for a missing file when
// the caller says so. Without O_NONBLOCK the open of a FIFO would wait for a writer, for ever.
UniqueFd OpenRegularFile(const std::string& path, MissingFile missing, uint64_t& size) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd.IsValid() && errno == ENOENT && missing == MissingFile::ReadsEmpty) return fd;
  if (!fd.IsValid()) throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(errno));
  struct stat status{};
  if (::fstat(fd.Descriptor(), &status) != 0)
    throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(errno));
  if (!S_ISREG(status.st_mode)) throw EFOpenError("Cannot open file \"" + path + "\". It is not a regular file.");
  size = static_cast<uint64_t>(status.st_size);
  return fd;
}

}  // namespace

std::string ReadRegularFile(const std::string& path, uint64_t maxBytes, MissingFile missing) {
  uint64_t size = 0;
  UniqueFd fd = OpenRegularFile(path, missing, size);
  if (!fd.IsValid()) return {};
  const std::string tooLarge =
      "Cannot read file \"" + path + "\". It is larger than " + std::to_string(maxBytes) + " bytes";
  if (size > maxBytes) throw EFOpenError(tooLarge);
  std::string bytes = ReadToEnd(fd.Descriptor(), path, maxBytes, size);  // it may have grown meanwhile
  if (bytes.size() > maxBytes) throw EFOpenError(tooLarge);
  return bytes;
}

TFileTail ReadRegularFileTail(const std::string& path, uint64_t maxBytes) {
  uint64_t size = 0;
  UniqueFd fd = OpenRegularFile(path, MissingFile::Raises, size);
  TFileTail tail;
  if (size > maxBytes) {
    if (::lseek(fd.Descriptor(), static_cast<off_t>(size - maxBytes), SEEK_SET) < 0)
      throw EFOpenError("Cannot read file \"" + path + "\". " + std::strerror(errno));
    tail.cut = true;
  }
  // A file that grows meanwhile is read to its new end, of which the last maxBytes are kept.
  tail.bytes = ReadToEnd(fd.Descriptor(), path, 2 * maxBytes, static_cast<size_t>(std::min(size, maxBytes)));
  if (tail.bytes.size() > maxBytes) {
    tail.bytes.erase(0, tail.bytes.size() - maxBytes);
    tail.cut = true;
  }
  return tail;
}

void WriteFileAtomic(const std::string& path, const std::string& bytes, Durability durability,
                     const std::function<void(int descriptor)>& prepare) {
  std::string temp;
  UniqueFd fd(CreateTemporaryFile(path, temp));
  if (!fd.IsValid()) throw EFCreateError("Cannot create file \"" + path + "\". " + std::strerror(errno));

  struct stat old{};
  const bool keepsMode = ::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  bool ok = (!keepsMode || ::fchmod(fd.Descriptor(), old.st_mode & 07777) == 0) &&
            WriteAll(fd.Descriptor(), bytes) && (durability == Durability::Unflushed || ::fsync(fd.Descriptor()) == 0);
  int error = errno;
  if (ok && prepare) prepare(fd.Descriptor());
  ok = fd.Close() && ok;
  if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return;
  if (!ok) errno = error;
  error = errno;
  ::unlink(temp.c_str());
  throw EFCreateError("Cannot create file \"" + path + "\". " + std::strerror(error));
}

void RemoveAtomicWriteLeftovers(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string prefix = path.substr(slash == std::string::npos ? 0 : slash + 1) + kTemporarySuffix;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::string> leftovers;
  while (dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() == prefix.size() + kTemporarySuffixLength && name.compare(0, prefix.size(), prefix) == 0)
      leftovers.push_back(folder + name);
  }
  ::closedir(dir);
  for (const std::string& leftover : leftovers) ::unlink(leftover.c_str());
}

}  // namespace platform
