#include "platform/core/Utf8.h"

#include <gtest/gtest.h>

#include <vector>

namespace platform {
namespace {

// The character starts found going forward, and the same found going back from the end.
std::vector<size_t> ForwardStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); i = NextCodePoint(text, i)) starts.push_back(i);
  return starts;
}

std::vector<size_t> BackwardStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t i = text.size(); i > 0;) starts.insert(starts.begin(), i = PreviousCodePoint(text, i));
  return starts;
}

TEST(Utf8Test, NextAndPreviousAgreeOnWellFormedAndMalformedText) {
  struct Case {
    const char* text;
    std::vector<size_t> starts;
  } cases[] = {
      {"", {}},
      {"abc", {0, 1, 2}},
      {"a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80z", {0, 1, 3, 6, 10}},  // a ä € 😀 z
      {"\x80\xBF", {0, 1}},                                            // stray continuation bytes
      {"\xC3\xA4\xA4", {0, 2}},                                        // one continuation too many
      {"\xE2\x82", {0, 1}},                                            // cut sequence
      {"\xF0\xE2\x82\xAC", {0, 1}},                                    // a lead without its bytes, then €
      {"\xC0\xAF", {0, 1}},                                            // overlong "/"
      {"\xED\xA0\x80", {0, 1, 2}},                                     // surrogate
      {"\xF4\x90\x80\x80", {0, 1, 2, 3}},                              // beyond U+10FFFF
      {"\x80\x80\x80\x80\x80", {0, 1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    std::string_view text(c.text);
    EXPECT_EQ(ForwardStarts(text), c.starts) << c.text;
    EXPECT_EQ(BackwardStarts(text), c.starts) << c.text;
    EXPECT_EQ(CodePointCount(text), c.starts.size()) << c.text;
  }
}

TEST(Utf8Test, DecodesValuesAndTakesStrayBytesAsWindows1252) {
  EXPECT_EQ(DecodeCodePoint("\xF0\x9F\x98\x80", 0).value, U'\U0001F600');
  EXPECT_EQ(DecodeText("a\xC3\xA4\x80\xE9\x9F"), (std::u32string{U'a', U'ä', U'€', U'é', U'Ÿ'}));
  EXPECT_EQ(NextCodePoint("ab", 5), 2u);
  EXPECT_EQ(PreviousCodePoint("ab", 0), 0u);
}

TEST(Utf8Test, EncodedCodePointsDecodeToThemselvesAtEachLengthBoundary) {
  for (char32_t c : {U'\0', U'\x7F', U'\x80', U'\x7FF', U'\x800', U'\xFFFF', U'\U00010000', U'\U0010FFFF'}) {
    std::string text;
    AppendCodePoint(text, c);
    const CodePoint decoded = DecodeCodePoint(text, 0);
    EXPECT_TRUE(decoded.valid) << static_cast<uint32_t>(c);
    EXPECT_EQ(decoded.value, c);
    EXPECT_EQ(decoded.length, text.size());
  }
}

}  // namespace
}  // namespace platform
