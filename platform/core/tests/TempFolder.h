#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "gtest/gtest.h"

namespace platform {

// A fresh folder per test, removed with everything in it at the end, so that tests running in parallel
// (and a release and a sanitizer run at once) never share a file.
class TempFolder {
public:
  TempFolder() {
    std::string pattern = ::testing::TempDir() + "velmora-XXXXXX";
    const char* made = ::mkdtemp(pattern.data());
    if (made == nullptr) ADD_FAILURE() << "mkdtemp failed for " << pattern;
    path_ = pattern + "/";
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  // The full name of a file in the folder.
  std::string File(const std::string& name) const { return path_ + name; }

private:
  std::string path_;
};

}  // namespace platform
