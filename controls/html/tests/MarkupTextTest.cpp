#include <gtest/gtest.h>

#include "controls/html/MarkupColors.h"
#include "controls/html/MarkupText.h"

namespace controls {
namespace {

TEST(MarkupTextTest, StripHTMLTurnsBreaksIntoLineEndsAndDropsOtherTags) {
  const std::pair<const char*, const char*> cases[] = {
      {"one<BR>two", "one\r\ntwo"},
      {"one<br>two<hR>three", "one\r\ntwo\r\nthree"},
      {"<b>word</b>", "word"},
      {"one<BR x>two", "onetwo"},  // a BR with attributes just goes
      {"text <b", "text <b"},      // an unclosed "<" keeps the text before it once
      {"a>b<c>d", "a>bd"},         // a ">" before the first "<" is text
      {"", ""},
  };
  for (const auto& [markup, plain] : cases) EXPECT_EQ(StripHTML(markup), plain) << markup;
}

TEST(MarkupTextTest, VisibleTextLeavesOutTagsAndAnUnclosedTail) {
  EXPECT_EQ(VisibleText("a<BR>b<i>c</i>"), "abc");
  EXPECT_EQ(VisibleText("text <b"), "text ");
}

TEST(MarkupTextTest, VisibleToRawMapsACharacterToTheFirstTagBeforeIt) {
  const std::string markup = "a<b><i>bc";
  EXPECT_EQ(VisibleToRaw(markup, 1), 1);
  EXPECT_EQ(VisibleToRaw(markup, 2), 2);  // "b" follows two tags: the first one's position
  EXPECT_EQ(VisibleToRaw(markup, 3), 9);
  EXPECT_EQ(VisibleToRaw(markup, 4), 10);  // just past the text
  EXPECT_EQ(VisibleToRaw(markup, 5), 0);
}

TEST(MarkupTextTest, FindVisibleSearchesAfterTheStartAndIgnoresCaseUnlessAsked) {
  int found = -1;
  EXPECT_EQ(FindVisible("AB", "xabab", 0, found, false), 2);
  EXPECT_EQ(found, 2);
  EXPECT_EQ(FindVisible("AB", "xabab", 2, found, false), 4);
  EXPECT_EQ(FindVisible("AB", "xabab", 0, found, true), 0);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(FindVisible("ab", "xabab", 99, found, false), 0);
}

TEST(MarkupTextTest, HilightHTMLMarksEveryVisibleOccurrence) {
  struct Case {
    const char* markup;
    const char* search;
    bool caseSensitive;
    const char* marked;
  };
  const Case cases[] = {
      {"one two one", "one", false, "<hi>one</hi> two <hi>one</hi>"},
      {"x<b>One</b> one", "one", true, "x<b>One</b> <hi>one</hi>"},
      {"x<b>One</b>", "one", false, "x<hi><b>One</hi></b>"},  // tags before a match stay inside it
      {"<font color=\"red\">a</font>", "color", false, "<font color=\"red\">a</font>"},  // only visible text
      {"abab", "ab", false, "<hi>ab</hi><hi>ab</hi>"},  // touching matches are both marked
      {"aaa", "aa", false, "<hi>aa</hi>a"},             // matches do not overlap
      {"find <b", "b", false, "find <b"},               // an unclosed "<" ends the searched text
      {"same", "", false, "same"},
  };
  for (const Case& c : cases) {
    std::string result;
    HilightHTML(c.markup, c.search, "hi", result, c.caseSensitive);
    EXPECT_EQ(result, c.marked) << c.markup << " / " << c.search;
    EXPECT_EQ(VisibleText(result), VisibleText(c.markup)) << c.markup;
  }
}

TEST(MarkupTextTest, UnHilightHTMLRemovesThePairsInAnyCaseAndNothingElse) {
  std::string result;
  UnHilightHTML("<hi>a</hi> <HI>b</Hi> <hi x>c</hi> <hit>", "hi", result);
  EXPECT_EQ(result, "a b <hi x>c <hit>");
  UnHilightHTML("<h<hi>i>x", "hi", result);  // a removal that forms a new tag removes that too
  EXPECT_EQ(result, "x");
  std::string marked;
  HilightHTML("a <b>b</b> a", "a", "e", marked, false);
  UnHilightHTML(marked, "e", result);
  EXPECT_EQ(result, "a <b>b</b> a");
}

TEST(MarkupTextTest, PositionHelpers) {
  int position = 0;
  EXPECT_EQ(VarPos("b", "abc", position), 2);
  EXPECT_EQ(position, 2);
  EXPECT_EQ(IPos("<br>", "a<BR>"), 2);
  std::string s = "x&AMP;y&amp;";
  EXPECT_TRUE(ReplaceFirst("&amp;", "&", s));
  EXPECT_EQ(s, "x&y&amp;");
  EXPECT_FALSE(ReplaceFirst("&lt;", "<", s));
}

TEST(MarkupColorsTest, NamesAndHexValues) {
  EXPECT_EQ(ColorFromName("clred"), 0x0000FFu);
  EXPECT_EQ(ColorFromName("clbtnface"), 0x8000000Fu);
  EXPECT_EQ(ColorFromName("clinfobk"), 0x80000018u);
  EXPECT_EQ(ColorFromName("clblack"), 0u);
  EXPECT_EQ(ColorFromName("nonsense"), 0u);
  EXPECT_EQ(ColorFromHex("#FF0000"), 0x0000FFu);
  EXPECT_EQ(ColorFromHex("#123456"), 0x563412u);
  EXPECT_EQ(ColorFromHex("#FF"), 0x0000FFu);  // pairs cut short read 0
  EXPECT_EQ(ColorFromHex("#F"), 0u);
  EXPECT_EQ(ColorFromHex(""), 0u);
  EXPECT_EQ(ColorFromHex("#!!!!!!") & 0xFF000000u, 0u);  // always a plain RGB value
}

}  // namespace
}  // namespace controls
