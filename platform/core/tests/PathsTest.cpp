#include "platform/core/Paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "platform/core/Files.h"

namespace platform {
namespace {

TEST(PathsTest, ExeDirEndsWithSlashAndHoldsTheTestBinary) {
  std::string dir = ExeDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_EQ(ExeFileName().substr(0, dir.size()), dir);
  EXPECT_TRUE(FileExists(ExeFileName()));
}

TEST(PathsTest, OverrideMovesTheExecutableFolder) {
  OverrideExeFileName("/tmp/velmora-x/velmora");
  EXPECT_EQ(ExeDir(), "/tmp/velmora-x/");
  EXPECT_EQ(ParamStr(0), "/tmp/velmora-x/velmora");
  OverrideExeFileName("");
  EXPECT_NE(ExeDir(), "/tmp/velmora-x/");
}

TEST(PathsTest, ParamStrOutsideTheArgumentsIsEmpty) {
  const char* argv[] = {"prog", "/INSTALL", "two words"};
  SetCommandLine(3, argv);
  EXPECT_EQ(ParamCount(), 2);
  EXPECT_EQ(ParamStr(1), "/INSTALL");
  EXPECT_EQ(ParamStr(2), "two words");
  EXPECT_EQ(ParamStr(3), "");
  EXPECT_EQ(ParamStr(-1), "");
  SetCommandLine(0, nullptr);
  EXPECT_EQ(ParamCount(), 0);
}

TEST(PathsTest, ResolvePathMatchesComponentsIgnoringCase) {
  char templ[] = "/tmp/paths-XXXXXX";
  std::string root = mkdtemp(templ);
  ASSERT_EQ(mkdir((root + "/Images").c_str(), 0755), 0);
  std::ofstream(root + "/Images/Logo.gif") << "x";

  EXPECT_EQ(ResolvePath(root + "\\IMAGES\\LOGO.GIF"), root + "/Images/Logo.gif");
  EXPECT_EQ(ResolvePath(root + "/images/logo.gif"), root + "/Images/Logo.gif");
  EXPECT_EQ(ResolvePath(root + "/Images/Logo.gif"), root + "/Images/Logo.gif");
  EXPECT_EQ(ResolvePath(root + "\\missing\\x.gif"), root + "/missing/x.gif");
  std::system(("rm -rf " + root).c_str());
}

}  // namespace
}  // namespace platform
