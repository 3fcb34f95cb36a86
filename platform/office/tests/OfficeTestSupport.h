#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/Spawn.h"

namespace office_test {

// A folder of its own for one test, removed at the end unless the test failed.
class TempFolder {
public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-office-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    if (!::testing::Test::HasFailure()) std::filesystem::remove_all(path_);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

private:
  std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Runs a Python script (its text) with the arguments in Debian's Python, which has the peers that
// scripts/setup.sh installs (a python3 earlier in PATH may not). Its asserts fail the test with the
// script's error output, which goes to a file beside it.
inline void RunPython(const TempFolder& folder, const std::string& name, const std::string& script,
                      const std::vector<std::string>& arguments = {}) {
  const std::string path = folder / (name + ".py");
  WriteFile(path, "import sys\nsys.stderr = open(" + std::string("sys.argv[0] + '.err', 'w')\n") + script);
  std::vector<std::string> all{path};
  all.insert(all.end(), arguments.begin(), arguments.end());
  const platform::SpawnResult result = platform::SpawnAndWait({"/usr/bin/python3", all, folder.Path().string(), {}});
  ASSERT_EQ(result.error, 0) << "python3 could not be started (scripts/setup.sh installs it)";
  ASSERT_EQ(result.exitCode, 0) << name << ": " << ReadFile(path + ".err");
}

// Runs LibreOffice headless with a profile in the folder: --convert-to `format` of `input` into the
// folder. The first start of a fresh profile sometimes fails to read the source: a second run settles it.
inline void ConvertWithLibreOffice(const TempFolder& folder, const std::string& input, const std::string& format,
                                   const std::string& expectedOutput) {
  platform::SpawnResult result;
  for (int attempt = 0; attempt < 2 && !std::filesystem::exists(expectedOutput); ++attempt) {
    result = platform::SpawnAndWait({"soffice",
                                     {"-env:UserInstallation=file://" + (folder / "profile"), "--headless",
                                      "--convert-to", format, "--outdir", folder.Path().string(), input},
                                     folder.Path().string(),
                                     {"HOME=" + folder.Path().string()}});
    ASSERT_EQ(result.error, 0) << "soffice could not be started (scripts/setup.sh installs libreoffice-calc-nogui)";
  }
  ASSERT_TRUE(std::filesystem::exists(expectedOutput)) << "soffice exit " << result.exitCode;
}

}  // namespace office_test
