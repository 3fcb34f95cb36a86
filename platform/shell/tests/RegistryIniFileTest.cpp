#include "platform/shell/RegistryIniFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/core/Files.h"
#include "platform/core/StringList.h"
#include "platform/shell/Registry.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class RegistryIniFileTest : public testing::Test {
protected:
  void SetUp() override {
    config_ = fs::temp_directory_path() / ("registry-ini-" + std::to_string(::getpid()));
    ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(config_);
  }
  fs::path config_;
};

// Sub-keys read and written as sections, stored only by UpdateFile, and the same values that TRegistry
// reads and writes.
TEST_F(RegistryIniFileTest, SectionsAreSubKeysSharedWithTheRegistry) {
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
