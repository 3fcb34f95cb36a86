#include <gtest/gtest.h>

#include "platform/gfx/Gdi.h"
#include "platform/gfx/tests/TextTestFont.h"

namespace platform {
namespace {

using test::TextBitmap;
using Lines = std::vector<std::string>;

// Test font, em 16: every character is an 8-pixel cell, lines are 16 pixels high.
struct Case {
  const char* text;
  int width;  // of the rectangle
  unsigned format;
  Lines drawn;     // cells inked per line
  TSize measured;  // by DT_CALCRECT
};

void Check(const Case& c) {
  TextBitmap b(160, 64);
  TCanvas& canvas = b.Canvas();
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  TRect r = Rect(0, 0, c.width, 64);
  const int height = DrawText(canvas.Handle(), c.text, r, c.format);
  EXPECT_EQ(b.Cells(), c.drawn) << c.text;
  EXPECT_EQ(r, Rect(0, 0, c.width, 64)) << c.text;
  TRect calc = Rect(0, 0, c.width, 64);
  const int calcHeight = DrawText(canvas.Handle(), c.text, calc, c.format | DT_CALCRECT);
  EXPECT_EQ(calc, Rect(0, 0, c.measured.cx, c.measured.cy)) << c.text;
  EXPECT_EQ(calcHeight, c.measured.cy) << c.text;
  EXPECT_EQ(height, c.measured.cy) << c.text;
}

TEST(DrawTextTest, WordBreakWrapsAtBlanksOnly) {
  const unsigned wrap = DT_WORDBREAK;
  const Case cases[] = {
      {"aa bb cc", 40, wrap, {"XX XX", "XX"}, {40, 32}},
      {"aa   bb", 24, wrap, {"XX", "XX"}, {16, 32}},                        // the blanks at a break vanish
      {"aa-bb cc", 24, wrap, {"XXX", "XX"}, {40, 32}},                       // no break at a hyphen
      {"aaaaa bb", 24, wrap, {"XXX", "XX"}, {40, 32}},                       // too wide a word stays whole (clipped)
      {"aaaaa bb", 24, wrap | DT_EDITCONTROL, {"XXX", "XX", "XX"}, {24, 48}},  // unless edit-control breaks it
      {"aa\r\nbb\ncc\rdd", 80, wrap, {"XX", "XX", "XX", "XX"}, {16, 64}},
      {"aa bb", 80, 0, {"XX XX"}, {40, 16}},                                 // no word break: one line
  };
  for (const Case& c : cases) Check(c);
}

TEST(DrawTextTest, SingleLineIgnoresLineBreaks) {
  Check({"aa\r\nbb", 80, DT_SINGLELINE, {"XXXX"}, {32, 16}});
  Check({"aa bb cc", 24, DT_SINGLELINE | DT_WORDBREAK, {"XX"}, {64, 16}});
}

TEST(DrawTextTest, EndEllipsisCutsALineThatDoesNotFit) {
  // The rectangle is 6.5 cells wide: cut text shows 3 characters and "...", whole text is clipped.
  Check({"abcdefgh", 52, DT_SINGLELINE | DT_END_ELLIPSIS, {"XXXXXX"}, {64, 16}});
  Check({"abcdefgh", 52, DT_SINGLELINE, {"XXXXXXX"}, {64, 16}});
  Check({"abcdef", 52, DT_SINGLELINE | DT_END_ELLIPSIS, {"XXXXXX"}, {48, 16}});
  Check({"abcdefgh", 16, DT_SINGLELINE | DT_END_ELLIPSIS, {"XX"}, {64, 16}});  // the dots alone, clipped
}

TEST(DrawTextTest, AmpersandsFollowThePrefixRules) {
  struct PrefixCase {
    const char* text;
    unsigned format;
    int width;
    bool underlined;  // the first cell's underline row is inked
  };
  const PrefixCase cases[] = {
      {"&&a", 0, 16, false},          {"&File", 0, 32, true},          {"a&", 0, 8, false},
      {"&&a", DT_NOPREFIX, 24, false}, {"&File", DT_NOPREFIX, 40, false},
  };
  for (const PrefixCase& c : cases) {
    TextBitmap b(64, 16);
    b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    TRect r = Rect(0, 0, 64, 16);
    DrawText(b.Canvas().Handle(), c.text, r, c.format | DT_SINGLELINE);
    EXPECT_EQ(b.Ink().Right, c.width - 1) << c.text;
    EXPECT_EQ(test::PixelAt(b, 7, 14) == clBlack, c.underlined) << c.text;  // baseline 12 + descent / 2
    TRect calc = r;
    DrawText(b.Canvas().Handle(), c.text, calc, c.format | DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(calc.Width(), c.width) << c.text;
  }
}

// The underline of an "&" sits under its character in whichever line, and whichever piece between
// tabs, that character lands; an ellipsis that cuts the character away carries no underline.
TEST(DrawTextTest, AMnemonicUnderlinesItsCharacterWhereverTheLineShowsIt) {
  struct MnemonicCase {
    const char* text;
    unsigned format;
    int line, cell;  // of the underlined character; cell -1: none
  };
  const MnemonicCase cases[] = {
      {"ab&cdefgh", DT_SINGLELINE | DT_END_ELLIPSIS, 0, 2},
      {"abcd&efgh", DT_SINGLELINE | DT_END_ELLIPSIS, 0, -1},
      {"a\t&b", DT_EXPANDTABS, 0, 8},
      {"a\nb&c", 0, 1, 1},
  };
  for (const MnemonicCase& c : cases) {
    TextBitmap b(160, 32);
    b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    TRect r = Rect(0, 0, 52, 32);
    if (c.format & DT_EXPANDTABS) r.Right = 160;
    DrawText(b.Canvas().Handle(), c.text, r, c.format);
    for (int line = 0; line < 2; ++line)
      for (int cell = 0; cell < 20; ++cell)
        EXPECT_EQ(test::PixelAt(b, cell * 8 + 7, line * 16 + 14) == clBlack, line == c.line && cell == c.cell)
            << c.text << ": line " << line << ", cell " << cell;
  }
}

TEST(DrawTextTest, TabsExpandToEightAverageCharacterWidths) {
  Check({"a\tb", 160, DT_EXPANDTABS, {"X       X"}, {72, 16}});
  Check({"abcdefghi\tb", 160, DT_EXPANDTABS, {"XXXXXXXXX       X"}, {136, 16}});
  Check({"a\tb", 160, 0, {"XX"}, {16, 16}});  // unexpanded, a tab takes no room
}

TEST(DrawTextTest, AlignmentPlacesEachLine) {
  struct AlignCase {
    unsigned format;
    TRect ink;
  };
  const AlignCase cases[] = {
      {DT_SINGLELINE, Rect(10, 4, 25, 16)},
      {DT_SINGLELINE | DT_RIGHT, Rect(59, 4, 74, 16)},
      {DT_SINGLELINE | DT_CENTER, Rect(34, 4, 49, 16)},
      {DT_SINGLELINE | DT_VCENTER, Rect(10, 16, 25, 28)},
      {DT_SINGLELINE | DT_BOTTOM, Rect(10, 28, 25, 40)},
      {DT_VCENTER, Rect(10, 4, 25, 16)},  // vertical alignment needs a single line
  };
  for (const AlignCase& c : cases) {
    TextBitmap b(80, 48);
    b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    TRect r = Rect(10, 4, 75, 44);
    const int result = DrawText(b.Canvas().Handle(), "ab", r, c.format);
    EXPECT_EQ(b.Ink(), c.ink) << c.format;
    EXPECT_EQ(result, c.ink.Top - 4 + 16) << c.format;
  }
}

TEST(DrawTextTest, EditControlLeavesOutAPartlyVisibleLastLine) {
  TextBitmap b(40, 64);
  b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
  TRect r = Rect(0, 0, 40, 40);
  DrawText(b.Canvas().Handle(), "a\nb\nc", r, DT_EDITCONTROL);
  EXPECT_EQ(b.Cells(), (Lines{"X", "X"}));
  TextBitmap plain(40, 64);
  plain.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
  DrawText(plain.Canvas().Handle(), "a\nb\nc", r, 0);
  EXPECT_EQ(plain.Ink(), Rect(0, 0, 7, 40));  // the third line shows clipped
}

TEST(DrawTextTest, ExternalLeadingAndEmptyText) {
  TextBitmap b(40, 64);
  TRect r = Rect(0, 0, 40, 64);
  EXPECT_EQ(DrawText(b.Canvas().Handle(), "a\nb", r, DT_CALCRECT | DT_EXTERNALLEADING), 36);
  r = Rect(5, 5, 40, 64);
  EXPECT_EQ(DrawText(b.Canvas().Handle(), "", r, DT_CALCRECT), 16);
  EXPECT_EQ(r, Rect(5, 5, 5, 21));
}

TEST(DrawTextTest, NoClipLetsTextPassTheRectangle) {
  TextBitmap b(40, 16);
  b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
  TRect r = Rect(0, 0, 8, 16);
  DrawText(b.Canvas().Handle(), "abc", r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_EQ(b.Ink(), Rect(0, 0, 23, 12));
}

}  // namespace
}  // namespace platform
