#include <gtest/gtest.h>

#include <random>
#include <string>

#include "grid/ExUtil.h"
#include "grid/WildcardMatch.h"
#include "LocaleFixture.h"

namespace velmora::testing {
namespace {

struct MatchCase {
  const char* pattern;
  const char* text;
  bool caseSensitive;
  bool expected;
};

class PatternMatchTest : public LocaleFixture {};

TEST_F(PatternMatchTest, CompoundPatternsWildcardsComparisonsAndCase) {
  const MatchCase cases[] = {
      // wildcards
      {"a*", "abc", false, true},
      {"a*", "bac", false, false},
      {"?b", "ab", false, true},
      {"?b", "b", false, false},
      {"a**c", "abbbc", false, true},
      {"*", "", false, true},
      {"", "", false, true},
      {"", "x", false, false},
      {"a?c*", "abcdef", false, true},
      // negation anywhere in the pattern
      {"!a*", "bc", false, true},
      {"!a*", "abc", false, false},
      {"a!*", "bc", false, true},
      // compound operators, strictly left to right, blanks around them ignored
      {"a*&*c", "abc", false, true},
      {"a*&*c", "abd", false, false},
      {"x;y", "y", false, true},
      {"x^y", "y", false, true},
      {"x ; y", "y", false, true},
      {"  a* &  *c  ", "abc", false, true},
      {"x;y&z", "y", false, false},  // (x or y) and z
      {"x&y;z", "z", false, true},   // (x and y) or z
      // comparisons: numbers, dates in the short date format, then bytes
      {">5", "10", false, true},
      {"<5", "10", false, false},
      {">=10", "10", false, true},
      {">10", "10", false, false},
      {"<=10", "10", false, true},
      {"> 5", "6", false, true},
      {">5&<10", "7", false, true},
      {">5&<10", "12", false, false},
      {">5 & <10", "3", false, false},
      {">=b", "b", false, true},
      {">b", "a", false, false},
      {">15.01.2020", "01.02.2020", false, true},  // by bytes "01" < "15": only the date reading holds
      {"<01.02.2020", "15.01.2020", false, true},
      {">9", "10", false, true},                   // by bytes "10" < "9": only the number reading holds
      // case
      {"ABC", "abc", false, true},
      {"ABC", "abc", true, false},
      {"a*", "ABC", true, false},
      {"A*", "ABC", true, true},
  };
  for (const MatchCase& c : cases)
    EXPECT_EQ(MatchStrEx(c.pattern, c.text, c.caseSensitive), c.expected)
        << "pattern \"" << c.pattern << "\" text \"" << c.text << "\"";
}

TEST_F(PatternMatchTest, NothingIsCutAt255Characters) {
  const std::string longText = std::string(300, 'a') + "b";
  EXPECT_TRUE(MatchStrEx(std::string(300, 'a') + "b", longText, true));
  EXPECT_FALSE(MatchStrEx(std::string(300, 'a') + "c", longText, true));
  EXPECT_TRUE(MatchStrEx(std::string(280, '?') + "*b", longText, true));
  // Byte comparison of long texts that differ only past the 255th byte.
  EXPECT_TRUE(MatchStrEx(">" + std::string(300, 'a'), longText, true));
  EXPECT_FALSE(MatchStrEx("<" + std::string(300, 'a'), longText, true));
}

// A plain backtracking matcher, exponential in the worst case but obviously right, for short inputs.
bool ReferenceMatch(std::string_view p, std::string_view t) {
  if (p.empty()) return t.empty();
  if (p[0] == '*') return ReferenceMatch(p.substr(1), t) || (!t.empty() && ReferenceMatch(p, t.substr(1)));
  return !t.empty() && (p[0] == '?' || p[0] == t[0]) && ReferenceMatch(p.substr(1), t.substr(1));
}

TEST(WildcardMatchTest, AgreesWithABacktrackingMatcherOnRandomInputs) {
  std::mt19937 random(12345);
  const auto make = [&](std::string_view alphabet, int maxLength) {
    std::string s(random() % (maxLength + 1), ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  for (int i = 0; i < 20000; ++i) {
    const std::string pattern = make("ab*?", 7);
    const std::string text = make("ab", 9);
    ASSERT_EQ(WildcardMatch(pattern, text), ReferenceMatch(pattern, text))
        << "pattern \"" << pattern << "\" text \"" << text << "\"";
  }
}

TEST(WildcardMatchTest, ManyStarsOverALongTextTakeLinearSteps) {
  const std::string text(100000, 'a');
  struct Adversary {
    std::string pattern;
    bool expected;
  };
  std::string stars;
  for (int i = 0; i < 1000; ++i) stars += "*a";
  const Adversary adversaries[] = {
      {stars + "*b", false},
      {stars + "*b*a", false},  // the last segment fits, the middle ones are searched to the end
      {stars + "*", true},
      {"*" + std::string(3, '?') + "*b*", false},
      {std::string(5000, '*') + "a", true},
      {"*aab*aab*aab*aab*aab*aab*aab*", false},
  };
  for (const Adversary& a : adversaries) {
    uint64_t steps = 0;
    EXPECT_EQ(WildcardMatch(a.pattern, text, &steps), a.expected) << a.pattern.substr(0, 40);
    // At most |text| x (longest segment + 1); the longest segment here has 3 bytes.
    EXPECT_LE(steps, 4 * (text.size() + a.pattern.size())) << a.pattern.substr(0, 40);
  }
  // The whole matcher, through the compound pattern, on the worst of them.
  EXPECT_FALSE(MatchStrEx(stars + "*b", text, true));
}

}  // namespace
}  // namespace velmora::testing
