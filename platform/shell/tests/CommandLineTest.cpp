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

TEST(CommandLineTest, AQuotedArgumentSplitsBackIntoItselfAlone) {
  struct Case {
    std::string argument;
    std::string quoted;
  };
  const Case cases[] = {
      {"host.example", "host.example"},
      {"C:\\dir\\", "C:\\dir\\"},
      {"a b c", "\"a b c\""},
      {"--help x", "\"--help x\""},
      {"", "\"\""},
      {"tab\there", "\"tab\there\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"back\\\" slash", "\"back\\\\\\\" slash\""},
      {"ends in \\", "\"ends in \\\\\""},
      {"\"", "\"\\\"\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QuoteCommandLineArgument(c.argument), c.quoted) << c.argument;
    EXPECT_EQ(SplitCommandLine(QuoteCommandLineArgument(c.argument)), std::vector<std::string>{c.argument}) << c.argument;
  }
}

}  // namespace
}  // namespace platform
