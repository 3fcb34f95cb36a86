#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The end of a regular file: its last maxBytes, or all of it when it is no larger; opened and refused as
// ReadRegularFile (Files.h) opens and refuses a file, whose code in Files.cpp it shares; a missing file
// raises EFOpenError. `cut` tells that the bytes begin inside the file.
struct TFileTail {
  std::string bytes;
  bool cut = false;
};
TFileTail ReadRegularFileTail(const std::string& path, uint64_t maxBytes);

}  // namespace platform
