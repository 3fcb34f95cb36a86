#include <gtest/gtest.h>

#include "grid/ExUtil.h"
#include "LocaleFixture.h"
#include "platform/core/Exception.h"
#include "platform/core/StringList.h"
#include "platform/gfx/Bitmap.h"

namespace velmora::testing {
namespace {

using platform::EncodeDate;

class ExUtilTest : public LocaleFixture {};

TEST_F(ExUtilTest, IsTypeTellsIntegersFloatsAndOtherText) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {
      {"12", 0}, {"-12", 0}, {"-1.5", 1}, {"1,234", 1}, {"1,234,567.5", 1}, {"1.2.3", 2}, {"--1", 2},
      {"1-2", 2},  // a sign only in front
      {"12-", 2}, {"-", 2}, {".", 2},  // a number needs a digit
      {",123", 2}, {"1,2,3", 2}, {"", 2}, {"12a", 2}, {" 12", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(IsType(c.text), c.expected) << '"' << c.text << '"';
}

TEST_F(ExUtilTest, IsTypeFollowsTheLocaleSeparators) {
  platform::FormatSettings().DecimalSeparator = ',';
  platform::FormatSettings().ThousandSeparator = '.';
  EXPECT_EQ(IsType("1.234,5"), 1);
  EXPECT_EQ(IsType("1,5,5"), 2);
}

TEST_F(ExUtilTest, TextTypeAndRemoveSeps) {
  EXPECT_EQ(TextType("=A1+B1", false), 3);
  EXPECT_EQ(TextType("{\\rtf1 x}", false), 2);
  EXPECT_EQ(TextType("a <B>bold</B>", true), 1);
  EXPECT_EQ(TextType("a <B>bold</B>", false), 0);
  EXPECT_EQ(TextType("a <b>bold", true), 0);  // the markup tests are case-sensitive
  EXPECT_EQ(TextType("", true), 0);

  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"$ 1,234.50", "1234.50"}, {"\xE2\x82\xAC 1,234.50", "1234.50"}, {"(12)", "-12"}, {"12 kg", "12"},
      {"-5", "-5"}, {"  7  ", "7"}, {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveSeps(c.text), c.expected) << '"' << c.text << '"';

  EXPECT_EQ(FixDecimalSeparator("1,5"), "1,5");
  platform::FormatSettings().DecimalSeparator = ',';
  EXPECT_EQ(FixDecimalSeparator("1,5,6"), "1.5,6");
}

TEST_F(ExUtilTest, ShortDatesWithTheTwoDigitYearWindowOnlyBelow100) {
  EXPECT_EQ(StrToShortDateEU("31/12/99"), EncodeDate(1999, 12, 31));
  EXPECT_EQ(StrToShortDateEU("1.2.03"), EncodeDate(2003, 2, 1));
  EXPECT_EQ(StrToShortDateEU("1-2-25"), EncodeDate(2025, 2, 1));
  EXPECT_EQ(StrToShortDateEU("1-2-26"), EncodeDate(1926, 2, 1));
  EXPECT_EQ(StrToShortDateEU("1.2.2003"), EncodeDate(2003, 2, 1));  // four digits stand as written
  EXPECT_EQ(StrToShortDateEU("1.2.1850"), EncodeDate(1850, 2, 1));
  EXPECT_EQ(StrToShortdateUS("12/31/99"), EncodeDate(1999, 12, 31));
  for (const char* bad : {"", "12", "1.2", "a.2.03", "1..03", "1.2.x"}) EXPECT_EQ(StrToShortDateEU(bad), 0) << bad;
  EXPECT_THROW(StrToShortDateEU("31.2.03"), platform::EConvertError);
  EXPECT_THROW(StrToShortDateEU("1.13.03"), platform::EConvertError);
}

TEST_F(ExUtilTest, GetNextDateMovesByExactlyOneUnit) {
  const platform::TDateTime start = EncodeDate(2023, 11, 15) + 0.25;
  EXPECT_EQ(GetNextDate(start, 0, 0, 20, 0), EncodeDate(2023, 12, 5) + 0.25);
  EXPECT_EQ(GetNextDate(start, 0, 3, 0, 0), EncodeDate(2024, 2, 15) + 0.25);
  EXPECT_EQ(GetNextDate(start, 0, 14, 0, 0), EncodeDate(2025, 1, 15) + 0.25);
  EXPECT_EQ(GetNextDate(start, 2, 0, 0, 0), EncodeDate(2025, 11, 15) + 0.25);
  EXPECT_EQ(GetNextDate(start, 1, 1, 0, 7), start + 7);  // more than one unit: the step date
  EXPECT_EQ(GetNextDate(start, 0, 0, 0, 7), start + 7);
  EXPECT_THROW(GetNextDate(EncodeDate(2023, 1, 31), 0, 1, 0, 0), platform::EConvertError);
}

TEST_F(ExUtilTest, NameToCell) {
  platform::TPoint cell;
  EXPECT_TRUE(NameToCell("R12C3", cell));
  EXPECT_EQ(cell, (platform::TPoint{3, 12}));
  EXPECT_TRUE(NameToCell("r1c20", cell));
  EXPECT_EQ(cell, (platform::TPoint{20, 1}));
  for (const char* bad : {"R1C", "RC12", "R1X2", "R-1C2", "C1R2", "R1C2x"}) EXPECT_FALSE(NameToCell(bad, cell)) << bad;
}

TEST_F(ExUtilTest, LineBreakConversionsRoundTrip) {
  std::string text = "one\r\ntwo\rthree";
  std::string line;
  GetNextLine(text, true, line);
  EXPECT_EQ(line, "one");
  EXPECT_EQ(text, "two\rthree");
  GetNextLine(text, false, line);
  EXPECT_EQ(line, "two");
  EXPECT_EQ(text, "");
  text = "last";
  GetNextLine(text, true, line);
  EXPECT_EQ(line, "last");
  EXPECT_EQ(text, "");

  EXPECT_EQ(LinesInText("a\r\nb\r\nc", true), 3);
  EXPECT_EQ(LinesInText("a\r\nb\r\nc", false), 1);
  EXPECT_EQ(CLFToLF("a\\nb"), "a\rb");
  EXPECT_EQ(LFToCLF("a\r\nb"), "a\\nb");
  EXPECT_EQ(HTMLLineBreaks("a\r\nb"), "a<br>\nb");
  EXPECT_EQ(LineFeedsToCSV("a\r\nb"), "\"a\nb\"");
  EXPECT_EQ(CSVToLineFeeds("a\nb"), "a\r\nb");
  EXPECT_EQ(CSVToLineFeeds("a\r\nb\nc"), "a\r\nb\r\nc");  // a CR LF stays one line break
  EXPECT_EQ(LineFeedsToJava("a\r\nb"), "a~b");
  EXPECT_EQ(JavaToLineFeeds("a~b"), "a\r\nb");
  EXPECT_EQ(LineFeedsToXLS("a\r\nb"), "a\nb");

  const std::string cell = "first\r\nsecond\tx";
  EXPECT_EQ(LfToFile(cell), "first\t\bsecond\tx");
  EXPECT_EQ(LfToFile("tab\tonly"), "tab\tonly");
  EXPECT_EQ(FileToLf(LfToFile("a\r\nb"), true), "a\r\nb");
  EXPECT_EQ(FileToLf(LfToFile("a\r\nb"), false), "a");
  EXPECT_EQ(FileToLf("tab\tonly", false), "tab\tonly");
}

TEST_F(ExUtilTest, SingleAndDoubledCharacters) {
  EXPECT_EQ(SinglePos('"', "a\"\"b\"c"), 5);
  EXPECT_EQ(SinglePos('"', "a\"\""), 3);  // the last position always counts
  EXPECT_EQ(SinglePos('"', "abc"), 0);
  EXPECT_EQ(NumSingleChar('"', "\"a\"\"b\""), 2);
  EXPECT_EQ(DoubleToSingleChar('"', "\"\"a\"\"\"b"), "\"a\"b");
  EXPECT_EQ(DoubleToSingleChar('"', "abc"), "abc");
}

TEST_F(ExUtilTest, TokensPositionsAndURLs) {
  std::string text = "key=value=x";
  EXPECT_EQ(GetToken(text, "="), "key");
  EXPECT_EQ(text, "value=x");
  EXPECT_EQ(GetToken(text, ";"), "");
  EXPECT_EQ(text, "value=x");
  EXPECT_EQ(FIPos("LUE", "value"), 3);
  int position = 0;
  EXPECT_EQ(VarPos("lu", "value", position), 3);
  EXPECT_EQ(position, 3);
  EXPECT_EQ(FirstChar(",;", "ab;c,d"), ';');
  EXPECT_EQ(FirstChar(",;", "abc"), '\0');

  EXPECT_TRUE(IsURL("http://x"));
  EXPECT_TRUE(IsURL("mailto:a@b"));
  EXPECT_FALSE(IsURL("c:\\x"));
  std::string url = "https://host/p";
  StripURLProtocol(url);
  EXPECT_EQ(url, "host/p");
  url = "mailto:a@b";
  StripURLProtocol(url);
  EXPECT_EQ(url, "a@b");

  std::string secret = "p\xC3\xA4ss";  // four characters, five bytes
  StringToPassword(secret, '*');
  EXPECT_EQ(secret, "****");
}

TEST_F(ExUtilTest, ShiftCase) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"mcdonald", "McDonald"}, {"henry ii", "Henry II"}, {"louis iv", "Louis IV"}, {"henry iii", "Henry III"},
      {"JOHN O'BRIEN-SMITH", "John O'Brien-Smith"}, {"ivan ivanov", "Ivan Ivanov"}, {"a.b,c", "A.B,C"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShiftCase(c.text), c.expected) << c.text;
}

TEST_F(ExUtilTest, ColoursRectanglesAndLists) {
  EXPECT_EQ(HTMLColor(platform::RGB(0x12, 0xAB, 0xF0)), "12ABF0");
  EXPECT_EQ(HTMLColor(platform::clBtnFace), "C0C0C0");  // a system colour by its value
  EXPECT_EQ(RectString({1, 2, 3, 4}), "[1:2][3:4]");
  const platform::TGridRect block{1, 2, 3, 4};
  EXPECT_TRUE(IsInGridRect(block, 1, 2));
  EXPECT_TRUE(IsInGridRect(block, 3, 4));
  EXPECT_FALSE(IsInGridRect(block, 0, 3));
  EXPECT_FALSE(IsInGridRect(block, 2, 5));
  platform::TStringList list;
  list.Add("a");
  list.Add("bc");
  EXPECT_EQ(StringListToText(list), "abc");
}

TEST_F(ExUtilTest, DrawBitmapTranspShowsTheBrushThroughTheTransparentColour) {
  platform::TBitmap source(2, 1);
  source.Canvas().SetPixels(0, 0, platform::clRed);
  source.Canvas().SetPixels(1, 0, platform::clLime);
  platform::TBitmap target(6, 3);
  target.Canvas().Brush().SetColor(platform::clBlue);
  DrawBitmapTransp(target.Canvas(), source, platform::clLime, {1, 1, 5, 2});
  const platform::TColor row[] = {platform::clWhite, platform::clRed, platform::clRed,
                                  platform::clBlue,  platform::clBlue, platform::clWhite};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(target.Canvas().Pixels(x, 1), row[x]) << x;
  EXPECT_EQ(target.Canvas().Pixels(1, 0), platform::clWhite);
}

}  // namespace
}  // namespace velmora::testing
