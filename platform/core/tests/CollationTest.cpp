#include <gtest/gtest.h>

#include "platform/core/Collation.h"

namespace platform {
namespace {

// The fixed locale every machine has: its collation is code-point order, its lowering Unicode's.
TEST(CollationTest, ComparesByTheChosenLocaleWithAndWithoutCase) {
  SetCollationLocale("C.UTF-8");
  struct Case {
    const char *a, *b;
    int str, text;  // signs of AnsiCompareStr and AnsiCompareText
  };
  const Case cases[] = {
      {"a", "b", -1, -1}, {"Z", "a", -1, 1}, {"ABC", "abc", -1, 0}, {"\xC3\x84rger", "\xC3\xA4rger", -1, 0},
      {"abc", "ab", 1, 1}, {"", "", 0, 0},
  };
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const Case& c : cases) {
    EXPECT_EQ(sign(AnsiCompareStr(c.a, c.b)), c.str) << c.a << " " << c.b;
    EXPECT_EQ(sign(AnsiCompareText(c.a, c.b)), c.text) << c.a << " " << c.b;
    EXPECT_EQ(sign(AnsiCollationKey(c.a, false).compare(AnsiCollationKey(c.b, false))), c.str) << c.a << " " << c.b;
    EXPECT_EQ(sign(AnsiCollationKey(c.a, true).compare(AnsiCollationKey(c.b, true))), c.text) << c.a << " " << c.b;
  }
  SetCollationLocale("no such locale");  // falls back to code-point order
  EXPECT_LT(AnsiCompareStr("Z", "a"), 0);
}

}  // namespace
}  // namespace platform
