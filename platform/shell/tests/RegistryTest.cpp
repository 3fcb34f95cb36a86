#include "platform/shell/Registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/core/Files.h"
#include "platform/core/StringList.h"
#include "platform/shell/RegistryIniFile.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class RegistryTest : public testing::Test {
protected:
  void SetUp() override {
    config_ = fs::temp_directory_path() / ("registry-" + std::to_string(::getpid()));
    ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(config_);
  }
  fs::path config_;
};

TEST_F(RegistryTest, ValuesAreKeptPerKeyInTheUsersConfigurationFolder) {
  EXPECT_EQ(TRegistry::FileName(), (config_ / "velmora" / "registry.ini").string());
  const std::string program = "/opt/velmora/ordelin";
  {
    TRegistry registry;
    EXPECT_EQ(registry.RootKey(), HKEY_CURRENT_USER);
    EXPECT_FALSE(registry.OpenKey("\\Software\\ClassLib\\Locales", false));  // not there yet
    ASSERT_TRUE(registry.OpenKey("\\Software\\ClassLib\\Locales", true));
    EXPECT_EQ(registry.CurrentPath(), "Software\\ClassLib\\Locales");
    EXPECT_FALSE(registry.ValueExists(program));
    registry.WriteString(program, "ENG");
    registry.WriteString("odd", "  \"quoted\" and blanks ");
    registry.CloseKey();
    EXPECT_EQ(registry.ReadString(program), "");
  }
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("software\\CLASSLIB\\locales\\", false));
  EXPECT_TRUE(registry.ValueExists(program));
  EXPECT_EQ(registry.ReadString(program), "ENG");
  EXPECT_EQ(registry.ReadString("odd"), "  \"quoted\" and blanks ");
  EXPECT_EQ(registry.ReadString("missing"), "");
  // A parent key exists through its sub-key, and a relative path opens below the open key.
  ASSERT_TRUE(registry.OpenKey("\\Software", false));
  ASSERT_TRUE(registry.OpenKey("ClassLib\\Locales", false));
  EXPECT_EQ(registry.ReadString(program), "ENG");
  EXPECT_NE(ReadFileBytes(TRegistry::FileName()).find("[Software\\ClassLib\\Locales]\r\n" + program + "=\"ENG\"\r\n"),
            std::string::npos);
}

TEST_F(RegistryTest, WhatCannotBeStoredIsRefusedAndLosesNothing) {
  TRegistry registry;
  EXPECT_THROW(registry.WriteString("x", "y"), ERegistryException);  // no key open
  ASSERT_TRUE(registry.OpenKey("\\Software\\Test", true));
  registry.WriteString("kept", "1");
  EXPECT_THROW(registry.WriteString("a=b", "y"), ERegistryException);
  EXPECT_THROW(registry.WriteString("x", "two\nlines"), ERegistryException);
  EXPECT_EQ(registry.ReadString("kept"), "1");
  EXPECT_FALSE(registry.ValueExists("x"));

  registry.SetRootKey(0x80000002);  // only the current user's root has keys
  EXPECT_FALSE(registry.OpenKey("\\Software\\Test", true));

  // A configuration folder that cannot be made: the write fails with an error, not silently.
  ::setenv("XDG_CONFIG_HOME", "/proc/no-such-folder", 1);
  TRegistry elsewhere;
  ASSERT_TRUE(elsewhere.OpenKey("\\Software\\Test", true));
  EXPECT_THROW(elsewhere.WriteString("x", "y"), ERegistryException);
}

// Sub-keys read and written as sections, stored only by UpdateFile, and the same values that TRegistry
// reads and writes.
TEST_F(RegistryTest, SectionsAreSubKeysSharedWithTheRegistry) {
  TRegistryIniFile ini("\\Software\\Velmora\\");
  ini.WriteString("Grid", "Col0", "  64 ");
  ini.WriteInteger("grid", "Col1", 80);
  ini.WriteString("Other", "x", "\"q\"");
  EXPECT_FALSE(FileExists(TRegistry::FileName()));  // nothing written before UpdateFile
  ini.UpdateFile();

  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("\\Software\\Velmora\\Grid", false));
  EXPECT_EQ(registry.ReadString("Col0"), "  64 ");
  EXPECT_EQ(registry.ReadString("Col1"), "80");
  registry.WriteString("Col2", "7");
  ASSERT_TRUE(registry.OpenKey("\\Software\\Velmora\\Other", false));
  EXPECT_EQ(registry.ReadString("x"), "\"q\"");

  const TRegistryIniFile again("Software\\Velmora");
  EXPECT_EQ(again.ReadInteger("GRID", "col2", -1), 7);
  TStringList sections;
  again.ReadSections(sections);
  ASSERT_EQ(sections.Count(), 2);
  EXPECT_EQ(sections.Strings(0), "Grid");
  EXPECT_EQ(sections.Strings(1), "Other");
}

}  // namespace
}  // namespace platform
