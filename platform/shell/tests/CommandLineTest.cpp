#include "platform/shell/CommandLine.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(CommandLineTest, SplitsByTheWindowsRules) {
  struct Case {
    const char* parameters;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"host.example", {"host.example"}},
      {"  a   b\tc  ", {"a", "b", "c"}},
      {"\"two words\" three", {"two words", "three"}},
      {"a\"b c\"d", {"ab cd"}},
      {"\"\"", {""}},
      {"x \"\" y", {"x", "", "y"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"\\\"quoted\\\"", {"\"quoted\""}},
      {"C:\\dir\\file.txt", {"C:\\dir\\file.txt"}},
      {"\"C:\\dir with blank\\\\\" next", {"C:\\dir with blank\\", "next"}},
      {"a\\\\\\\"b", {"a\\\"b"}},
      {"\"unclosed quote runs to the end", {"unclosed quote runs to the end"}},
      {"a; touch x", {"a;", "touch", "x"}},
      {"\"a; touch x\" $(id) `id`", {"a; touch x", "$(id)", "`id`"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.parameters), c.arguments) << "parameters: " << c.parameters;
  }
}

}  // namespace
}  // namespace platform
