#pragma once

#include <cstdint>
#include <string>

#include "platform/core/UniqueFd.h"

namespace platform {

// Where a file stands on disk: two opens of one file with the same size give equal identities.
struct TFileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = -1;
  bool operator==(const TFileIdentity&) const = default;
};

// A regular file opened to read and to add to its end, for logs. It is never opened through a symbolic
// link in its place, and a FIFO or a device in its place is refused without waiting. Each Append is one
// write at the end of the file, so a reader or a crash of the process never sees part of it.
class TAppendFile {
public:
  enum class TOpened { Yes, SymbolicLink, Unusable };

  // Opens the file, creating it (0666 less the umask) when it is missing.
  explicit TAppendFile(const std::string& path);

  TOpened Opened() const { return opened_; }
  // Why the open failed ("Cannot open file "path". reason"), or why the last call failed.
  const std::string& Error() const { return error_; }

  TFileIdentity Identity() const;
  // The whole content; false with Error() when it cannot be read.
  bool ReadAll(std::string& bytes);
  // Adds the bytes at the end; false with Error() when they could not all be written, and then the file
  // is cut back to what it held before.
  bool Append(const std::string& bytes);
  // Cuts the file back to size bytes (what an earlier Identity() showed); false when it cannot.
  bool CutTo(int64_t size);
  // Flushes the content to disk; false with Error() when it cannot.
  bool Flush();

private:
  bool Fail(const char* what);

  std::string path_;
  UniqueFd fd_;
  TOpened opened_ = TOpened::Unusable;
  std::string error_;
};

}  // namespace platform
