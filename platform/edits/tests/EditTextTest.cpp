#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/edits/EditText.h"

namespace platform {
namespace {

// "a", "ä" (2 bytes), "€" (3), an emoji (4), CR LF, "b".
const std::string kMixed = "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\r\nb";

TEST(EditTextTest, CaretStopsFallBetweenCodePointsAndPassLineBreaksWhole) {
  std::vector<size_t> forward;
  for (size_t pos = 0; pos < kMixed.size(); pos = NextCaretStop(kMixed, pos)) forward.push_back(pos);
  forward.push_back(kMixed.size());
  EXPECT_EQ(forward, (std::vector<size_t>{0, 1, 3, 6, 10, 12, 13}));
  std::vector<size_t> backward;
  for (size_t pos = kMixed.size(); pos > 0; pos = PreviousCaretStop(kMixed, pos)) backward.push_back(pos);
  backward.push_back(0);
  EXPECT_EQ(std::vector<size_t>(forward.rbegin(), forward.rend()), backward);
  EXPECT_EQ(ByteOfChar(kMixed, 4), 10u);
  EXPECT_EQ(ByteOfChar(kMixed, 99), kMixed.size());
  EXPECT_EQ(CharOfByte(kMixed, 10), 4u);
}

TEST(EditTextTest, WordMovesAndTheWordUnderADoubleClick) {
  const std::string text = "one two,three  f\xC3\xBCr";  // "für" at 15
  struct Case {
    size_t from, before, after, first, last;
  };
  const Case cases[] = {
      {0, 0, 4, 0, 3},       // in "one"
      {4, 0, 7, 4, 7},       // at "two"
      {7, 4, 8, 7, 8},       // at the comma: punctuation is a word of its own
      {13, 8, 15, 13, 15},   // in the blanks after "three"
      {16, 15, 19, 15, 19},  // inside "für"
      {19, 15, 19, 15, 19},  // at the end: the last word
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    EXPECT_EQ(WordStartBefore(text, c.from), c.before);
    EXPECT_EQ(WordStartAfter(text, c.from), c.after);
    size_t first = 0, last = 0;
    WordAround(text, c.from, first, last);
    EXPECT_EQ(first, c.first);
    EXPECT_EQ(last, c.last);
  }
}

TEST(EditTextTest, PastedLineBreaksAndCase) {
  EXPECT_EQ(FirstLine("host1\r\nhost2"), "host1");
  EXPECT_EQ(FirstLine("\nrest"), "");
  EXPECT_EQ(WithCrLfBreaks("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(ApplyCharCase("gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC", TEditCharCase::ecUpperCase),
            "GR\xC3\x9C\xC3\x9F" "E \xE2\x82\xAC");
  EXPECT_EQ(ApplyCharCase("\xC3\x84X\xFF", TEditCharCase::ecLowerCase), "\xC3\xA4x\xFF");  // a stray byte stays
}

}  // namespace
}  // namespace platform
