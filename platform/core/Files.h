#pragma once

#include <string>

namespace platform {

bool FileExists(const std::string& path);       // a regular file (or a link to one)
bool DirectoryExists(const std::string& path);

// Removes a file; false when it could not be removed (also when it did not exist).
bool DeleteFile(const std::string& path);

// The whole content of a file; raises EFOpenError when it cannot be opened or read.
std::string ReadFileBytes(const std::string& path);

// Replaces the file's content atomically: the bytes go to a temporary file in the same folder, which is
// flushed to disk and then renamed over `path`. A reader sees the old or the new content, never a part;
// on any failure the old file is untouched and EFCreateError is raised.
void WriteFileAtomic(const std::string& path, const std::string& bytes);

}  // namespace platform
