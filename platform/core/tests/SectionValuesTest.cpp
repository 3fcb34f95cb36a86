#include "platform/core/SectionValues.h"

#include <gtest/gtest.h>

#include "platform/core/Files.h"
#include "platform/core/IniFile.h"
#include "platform/core/tests/TempFolder.h"

namespace platform {
namespace {

// The lookups read as TIniFile reads the same file.
TEST(SectionValuesTest, ReadsAsTheIniFileDoes) {
  platform::TempFolder folder;
  WriteFileAtomic(folder.File("x.ini"),
                            "[RoundTrip]\r\nAlpha=3\r\nalpha=9\r\n beta = \"7\" \r\ngamma=x\r\n[Other]\r\ndelta=1\r\n");
  const TIniFile ini(folder.File("x.ini"));
  const TSectionValues values(ini, "roundtrip");
  for (const char* key : {"alpha", "ALPHA", " beta ", "gamma", "delta", "missing"}) {
    EXPECT_EQ(values.ReadInteger(key, -1), ini.ReadInteger("RoundTrip", key, -1)) << key;
    EXPECT_EQ(values.ReadBool(key, true), ini.ReadBool("RoundTrip", key, true)) << key;
  }
  EXPECT_EQ(values.ReadInteger("alpha", -1), 3);
  EXPECT_EQ(values.ReadInteger("beta", -1), 7);
}

}  // namespace
}  // namespace platform
