#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

bool FileExists(const std::string& path);       // a regular file (or a link to one)
bool DirectoryExists(const std::string& path);
bool PathExists(const std::string& path);       // anything of that name, a dangling link too
bool IsSymbolicLink(const std::string& path);

// One entry of a folder, as ListDirectory finds it: a link counts as what it points to.
struct TDirectoryEntry {
  std::string Name;
  bool IsDirectory = false;
  uint64_t Size = 0;
  int64_t ModifiedUnixMs = 0;
};

// The entries of a folder but "." and "..", in no particular order; raises EFOpenError when the
// folder cannot be read.
std::vector<TDirectoryEntry> ListDirectory(const std::string& folder);

// Renames a file or folder within its file system, replacing a file of the new name; false on failure.
bool RenameFile(const std::string& from, const std::string& to);

// Removes a file; false when it could not be removed (also when it did not exist).
bool DeleteFile(const std::string& path);

// The whole content of a file; raises EFOpenError when it cannot be opened or read.
std::string ReadFileBytes(const std::string& path);

enum class MissingFile { Raises, ReadsEmpty };
inline constexpr uint64_t kUnlimitedFileBytes = UINT64_MAX - 1;

// The whole content of a regular file (or of a link to one) of at most maxBytes, opened without blocking,
// so a FIFO without a writer never holds the caller. Anything else (a FIFO, a device, a socket, a folder),
// a larger file, or one that cannot be opened or read raises EFOpenError naming the file, at once; a
// missing file reads as empty when the caller says so.
std::string ReadRegularFile(const std::string& path, uint64_t maxBytes = kUnlimitedFileBytes,
                            MissingFile missing = MissingFile::Raises);

// Whether an atomic write waits until its bytes are on the disk. Unflushed suits files that describe
// live processes only, which a crash of the machine makes stale anyway.
enum class Durability { Flushed, Unflushed };

// Replaces the file's content atomically: the bytes go to a temporary file in the same folder
// (`path`.tmp-XXXXXX), which is flushed to disk (unless Unflushed) and then renamed over `path`. A reader
// sees the old or the new content, never a part; on any failure the old file is untouched and
// EFCreateError is raised. A replaced file keeps its permissions; a new one gets 0666 less the process's
// umask. A symbolic link in the file's place is replaced too, like a new file: its target is neither
// written nor looked at. `prepare`, when given, is handed the temporary file's descriptor before the
// rename (to give the file its owner and mode before readers can open it).
void WriteFileAtomic(const std::string& path, const std::string& bytes, Durability durability = Durability::Flushed,
                     const std::function<void(int descriptor)>& prepare = {});

// Removes the temporary files that writes of `path` left when their process was killed mid-write. Call
// it only where no other process writes that file at the same time.
void RemoveAtomicWriteLeftovers(const std::string& path);

}  // namespace platform
