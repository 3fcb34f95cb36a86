#include "platform/shell/FileIcons.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include <gtest/gtest.h>

#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/core/tests/TempFolder.h"

namespace platform {
namespace {

using Names = std::vector<std::string>;

// A MIME database and an icon theme of the test's own in data/, and files beside a program in bin/.
class FileIconsTest : public ::testing::Test {
protected:
  void SetUp() override {
    Write("data/mime/globs2",
          "# comment\n50:text/plain:*.txt\n50:application/gzip:*.gz\n50:application/x-compressed-tar:*.tar.gz\n"
          "60:text/x-readme:README\n50:text/x-csrc:*.C:cs\n50:application/x-ms-dos-executable:*.exe\n");
    Write("data/mime/icons", "text/x-readme:text-x-readme-special\n");
    Write("data/mime/generic-icons",
          "application/x-ms-dos-executable:application-x-executable\napplication/gzip:package-x-generic\n");
    OverrideExeFileName(folder_.File("bin/program"));
  }
  void TearDown() override { OverrideExeFileName(""); }

  void Write(const std::string& name, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(folder_.File(name)).parent_path());
    WriteFileAtomic(folder_.File(name), text);
  }
  std::vector<std::string> Data() const { return {folder_.File("nothing-here"), folder_.File("data")}; }

  TempFolder folder_;
};

TEST_F(FileIconsTest, FilesAndFoldersThatExistAndNamesByTheirType) {
  Write("bin/tool", "#!/bin/sh\n");
  ::chmod(folder_.File("bin/tool").c_str(), 0755);
  Write("bin/notes.txt", "x");
  ::chmod(folder_.File("bin/notes.txt").c_str(), 0644);
  std::filesystem::create_directories(folder_.File("bin/Sub"));
  struct Case {
    std::string path;
    Names names;
    TFileIconKind kind;
  };
  const Case cases[] = {
      {"Sub", {"folder"}, TFileIconKind::Folder},
      {"SUB", {"folder"}, TFileIconKind::Folder},  // spelled as the system spells it
      {folder_.File("bin/Sub"), {"folder"}, TFileIconKind::Folder},
      {"tool", {"application-x-executable"}, TFileIconKind::Program},
      {"TOOL.EXE", {"application-x-executable"}, TFileIconKind::Program},  // the program as Windows names it
      {"notes.txt", {"text-plain", "text-x-generic"}, TFileIconKind::Document},
      {"missing.TXT", {"text-plain", "text-x-generic"}, TFileIconKind::Document},
      {"QUILLET.EXE", {"application-x-ms-dos-executable", "application-x-executable"}, TFileIconKind::Program},
      {"a.tar.gz", {"application-x-compressed-tar", "application-x-generic"}, TFileIconKind::Document},
      {"a.gz", {"application-gzip", "package-x-generic"}, TFileIconKind::Document},
      {"README", {"text-x-readme-special", "text-x-generic"}, TFileIconKind::Document},
      {"a.C", {"text-x-csrc", "text-x-generic"}, TFileIconKind::Document},
      {"a.c", {"text-x-generic"}, TFileIconKind::Document},  // a case-sensitive glob
      {"a.unknown", {"text-x-generic"}, TFileIconKind::Document},
      {"", {"folder"}, TFileIconKind::Folder},  // the executable's folder
  };
  for (const Case& c : cases) {
    const TFileIcon icon = FileIcon(c.path, Data());
    EXPECT_EQ(icon.names, c.names) << c.path;
    EXPECT_EQ(icon.kind, c.kind) << c.path;
  }
  EXPECT_EQ(FileIcon("notes.txt", {}).names, Names{"text-x-generic"}) << "no MIME database";
}

TEST_F(FileIconsTest, ThemeIconsOfEachSizeInAdwaitaBeforeHicolor) {
  Write("data/icons/hicolor/16x16/mimetypes/text-plain.png", "h16");
  Write("data/icons/hicolor/32x32/mimetypes/text-plain.png", "h32");
  Write("data/icons/Adwaita/32x32/mimetypes/text-plain.png", "a32");
  Write("data/icons/hicolor/16x16/places/folder.png", "f16");
  EXPECT_EQ(FindThemeIcon("text-plain", 16, Data()), folder_.File("data/icons/hicolor/16x16/mimetypes/text-plain.png"));
  EXPECT_EQ(FindThemeIcon("text-plain", 32, Data()), folder_.File("data/icons/Adwaita/32x32/mimetypes/text-plain.png"));
  EXPECT_EQ(FindThemeIcon("folder", 16, Data()), folder_.File("data/icons/hicolor/16x16/places/folder.png"));
  EXPECT_EQ(FindThemeIcon("folder", 32, Data()), "");
  EXPECT_EQ(FindThemeIcon("text-plain", 16, {}), "");
}

TEST(DataFoldersTest, FromTheEnvironmentWithTheirDefaults) {
  struct Case {
    const char* home;
    const char* dataHome;
    const char* dataDirs;
    Names folders;
  };
  const Case cases[] = {
      {"/h", nullptr, nullptr, {"/h/.local/share", "/usr/local/share", "/usr/share"}},
      {"/h", "/d", "/x::/y", {"/d", "/x", "/y"}},
      {nullptr, nullptr, "/x", {"/x"}},
  };
  auto set = [](const char* name, const char* value) { value ? ::setenv(name, value, 1) : ::unsetenv(name); };
  auto saved = [](const char* name) { return std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt; };
  const auto home = saved("HOME"), dataHome = saved("XDG_DATA_HOME"), dataDirs = saved("XDG_DATA_DIRS");
  for (const Case& c : cases) {
    set("HOME", c.home);
    set("XDG_DATA_HOME", c.dataHome);
    set("XDG_DATA_DIRS", c.dataDirs);
    EXPECT_EQ(DataFolders(), c.folders);
  }
  set("HOME", home ? home->c_str() : nullptr);
  set("XDG_DATA_HOME", dataHome ? dataHome->c_str() : nullptr);
  set("XDG_DATA_DIRS", dataDirs ? dataDirs->c_str() : nullptr);
}

}  // namespace
}  // namespace platform
