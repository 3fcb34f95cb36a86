#include "platform/core/SectionValues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Thousands of keys (the table grows many times) found in any order and case, the first of a name
// winning over later ones that differ in case only, and none found that was not added.
TEST(SectionValuesTest, ManyKeysFoundInAnyOrderAndCase) {
  constexpr int kKeys = 5000;
  TSectionValues values;
  for (int i = 0; i < kKeys; ++i) values.Add("host" + std::to_string(i) + ".example.net", std::to_string(i));
  for (int i = 0; i < kKeys; ++i) values.Add(" HOST" + std::to_string(i) + ".EXAMPLE.NET ", "later");
  // The section's own order, backwards, scattered, and every other key twice running.
  std::vector<int> order;
  for (int i = 0; i < kKeys; ++i) order.push_back(i);
  for (int i = kKeys - 1; i >= 0; --i) order.push_back(i);
  for (int i = 0; i < kKeys; ++i) order.push_back((i * 7919) % kKeys);
  for (int i = 0; i < kKeys; i += 2) order.insert(order.end(), {i, i});
  for (int i : order) {
    const std::string key = (i % 3 == 0 ? " Host" : "host") + std::to_string(i) + ".Example.net";
    ASSERT_EQ(values.Find(key), std::to_string(i)) << key;
  }
  for (const char* missing : {"host5000.example.net", "host1.example", "", "ost1.example.net"}) {
    EXPECT_EQ(values.Find(missing), std::nullopt) << missing;
    EXPECT_EQ(values.Find("host2.example.net"), "2") << "after " << missing;
  }
}

}  // namespace
}  // namespace platform
