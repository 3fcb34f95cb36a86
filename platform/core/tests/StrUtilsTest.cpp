#include "platform/core/StrUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "platform/core/Exception.h"
#include "platform/core/tests/TextTestSettings.h"

namespace platform {
namespace {

using testing::EnglishSettings;
using testing::GermanSettings;

TEST(StrUtilsTest, PosIsOneBasedAndZeroWhenAbsent) {
  EXPECT_EQ(Pos("b", "abcb"), 2);
  EXPECT_EQ(Pos("abc", "abc"), 1);
  EXPECT_EQ(Pos("cb", "abcb"), 3);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("abcd", "abc"), 0);
}

TEST(StrUtilsTest, CopyClampsIndexAndCount) {
  struct Case {
    int index, count;
    const char* expected;
  } cases[] = {
      {1, 3, "abc"}, {2, 2, "bc"},  {0, 2, "ab"},  {-5, 2, "ab"}, {5, 1, "e"}, {5, 100, "e"},
      {6, 1, ""},    {99, 1, ""},   {2, 0, ""},    {2, -1, ""},   {1, 5, "abcde"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Copy("abcde", c.index, c.count), c.expected) << c.index << "," << c.count;
  }
  EXPECT_EQ(Copy("", 1, 1), "");
}

TEST(StrUtilsTest, DeleteIgnoresIndicesOutsideTheString) {
  struct Case {
    int index, count;
    const char* expected;
  } cases[] = {
      {1, 1, "bcde"}, {2, 2, "ade"}, {5, 1, "abcd"}, {4, 100, "abc"},
      {0, 2, "abcde"}, {6, 1, "abcde"}, {2, 0, "abcde"}, {2, -3, "abcde"},
  };
  for (const Case& c : cases) {
    std::string s = "abcde";
    Delete(s, c.index, c.count);
    EXPECT_EQ(s, c.expected) << c.index << "," << c.count;
  }
}

TEST(StrUtilsTest, InsertClampsTheIndex) {
  struct Case {
    int index;
    const char* expected;
  } cases[] = {{1, "XYabc"}, {2, "aXYbc"}, {4, "abcXY"}, {99, "abcXY"}, {0, "XYabc"}, {-3, "XYabc"}};
  for (const Case& c : cases) {
    std::string s = "abc";
    Insert("XY", s, c.index);
    EXPECT_EQ(s, c.expected) << c.index;
  }
}

TEST(StrUtilsTest, TrimRemovesBlanksAndControlCharactersOnly) {
  std::string s = " \t\r\n\x01 a b\x7F \x1F";
  EXPECT_EQ(Trim(s), "a b\x7F");
  EXPECT_EQ(TrimLeft(s), "a b\x7F \x1F");
  EXPECT_EQ(TrimRight(s), " \t\r\n\x01 a b\x7F");
  EXPECT_EQ(Trim("\xC2\xA0x\xC2\xA0"), "\xC2\xA0x\xC2\xA0");  // UTF-8 bytes are not blanks
  EXPECT_EQ(Trim("   "), "");
}

TEST(StrUtilsTest, CaseFunctionsTouchAsciiOnly) {
  EXPECT_EQ(UpperCase("abc-xyz_ÄÖü"), "ABC-XYZ_ÄÖü");
  EXPECT_EQ(LowerCase("ABC-XYZ_ÄÖÜ"), "abc-xyz_ÄÖÜ");
  EXPECT_TRUE(SameText("HostList.INI", "hostlist.ini"));
  EXPECT_FALSE(SameText("ä", "Ä"));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_GT(CompareText("a_", "aa"), 0);  // compared upper-cased: '_' (0x5F) is above 'A' (0x41)
  EXPECT_LT(CompareStr("ABC", "abc"), 0);
  EXPECT_GT(CompareStr("\xC3", "z"), 0);  // bytes compare unsigned
  EXPECT_EQ(CompareStr("abc", "abc"), 0);
}

TEST(StrUtilsTest, StrToIntReadsDecimalAndHexadecimal) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {
      {"0", 0},          {"42", 42},          {"  -17", -17},        {"+5", 5},
      {"$FF", 255},      {"0x1f", 31},        {"0X7FFFFFFF", 2147483647}, {"$FFFFFFFF", -1},
      {"-$10", -16},     {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"007", 7},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToInt(c.text), c.expected) << c.text;
}

TEST(StrUtilsTest, StrToIntRaisesTheClassLibraryText) {
  for (const char* text : {"", " ", "12 ", "1.5", "abc", "-", "$", "0x", "2147483648", "-2147483649", "$100000000",
                           "1e3", "\t5", "12a"}) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(text) + "' is not a valid integer value");
    }
    EXPECT_EQ(StrToIntDef(text, -99), -99) << text;
  }
  EXPECT_EQ(StrToIntDef("12", -99), 12);
}

TEST(StrUtilsTest, IntToStrAndIntToHex) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-9223372036854775807LL - 1), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 0), "FF");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(0xABCDEF, 2), "ABCDEF");  // digits is a minimum
  EXPECT_EQ(IntToHex(-1, 0), "FFFFFFFF");
  EXPECT_EQ(IntToHex(int64_t{-1}, 0), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(uint64_t{0x1234567890}, 12), "001234567890");
}

TEST(StrUtilsTest, FloatToStrUsesGeneralFormatAndTheDecimalSeparator) {
  struct Case {
    double value;
    const char* english;
    const char* german;
  } cases[] = {
      {0, "0", "0"},
      {1, "1", "1"},
      {-2.5, "-2.5", "-2,5"},
      {0.1 + 0.2, "0.3", "0,3"},
      {1.0 / 3, "0.333333333333333", "0,333333333333333"},
      {2.0 / 3, "0.666666666666667", "0,666666666666667"},
      {123456789012345.0, "123456789012345", "123456789012345"},
      {1e15, "1E15", "1E15"},
      {1234567890123456.0, "1.23456789012346E15", "1,23456789012346E15"},
      {0.0001, "0.0001", "0,0001"},
      {0.00001, "1E-5", "1E-5"},
      {-1.5e-7, "-1.5E-7", "-1,5E-7"},
      {999999999999999.9, "1E15", "1E15"},
      {INFINITY, "INF", "INF"},
      {-INFINITY, "-INF", "-INF"},
      {NAN, "NAN", "NAN"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FloatToStr(c.value, EnglishSettings()), c.english);
    EXPECT_EQ(FloatToStr(c.value, GermanSettings()), c.german);
  }
}

TEST(StrUtilsTest, StrToFloatFollowsTheDecimalSeparator) {
  EXPECT_DOUBLE_EQ(StrToFloat("1,5", GermanSettings()), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloat("1.5", EnglishSettings()), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloat("  -12,25E2 ", GermanSettings()), -1225);
  EXPECT_DOUBLE_EQ(StrToFloat(",5", GermanSettings()), 0.5);
  EXPECT_DOUBLE_EQ(StrToFloat("5,", GermanSettings()), 5);
  EXPECT_DOUBLE_EQ(StrToFloat("+3e-2", EnglishSettings()), 0.03);
  EXPECT_EQ(StrToFloat("1e-400", EnglishSettings()), 0.0);
  for (const char* text : {"", "1.5", ",", "1,5,0", "1e", "1e+", "1 000", "e5", "1e999", "abc", "0x10"}) {
    try {
      StrToFloat(text, GermanSettings());
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(text) + "' is not a valid floating point value");
    }
    EXPECT_EQ(StrToFloatDef(text, -1, GermanSettings()), -1) << text;
  }
}

TEST(StrUtilsTest, FloatToStrRoundTripsThroughStrToFloat) {
  for (double value : {0.5, -1234.0625, 3.14159265358979, 1e-10, 6.02214076e23}) {
    for (const TFormatSettings& settings : {GermanSettings(), EnglishSettings()}) {
      EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(value, settings), settings), value);
    }
  }
}

TEST(StrUtilsTest, FormatIntegersAndStrings) {
  struct Case {
    std::string expected, actual;
  } cases[] = {
      {"Socket Error # 10061\r\nConnection refused.",
       Format("Socket Error # %d\r\n%s", 10061, "Connection refused.")},
      {"100%", Format("%d%%", 100)},
      {"[   42][42   ][-0042][  007]", Format("[%5d][%-5d][%.4d][%5.3d]", 42, 42, -42, 7)},
      {"4294967295 FFFFFFFF FF 00FF", Format("%u %x %X %.4x", -1, -1, 255, 255)},
      {"FFFFFFFFFFFFFFFF 18446744073709551615", Format("%x %d", int64_t{-1}, UINT64_MAX)},
      {"[ab   ][  abc][ab][x]", Format("[%-5s][%5s][%.2s][%s]", "ab", std::string("abc"), "abcdef", 'x')},
      {"b a b", Format("%1:s %0:s %s", "a", "b")},
      {"[ ä][äö]", Format("[%2s][%.2s]", "ä", "äöü")},  // widths count characters, not bytes
      {"", Format("")},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(StrUtilsTest, FormatFloatsUseTheSeparatorsOfTheSettings) {
  const TFormatSettings german = GermanSettings();
  const TFormatSettings english = EnglishSettings();
  struct Case {
    const char* format;
    double value;
    const char* english;
    const char* german;
  } cases[] = {
      {"%.2f", 3.14159, "3.14", "3,14"},
      {"%f", 2, "2.00", "2,00"},
      {"%.0f", 2.5, "3", "3"},
      {"%.2f", 1.005, "1.01", "1,01"},
      {"%.2f", 0.125, "0.13", "0,13"},
      {"%.2f", -0.001, "0.00", "0,00"},
      {"%.1f", 9.96, "10.0", "10,0"},
      {"%8.3f", -1.5, "  -1.500", "  -1,500"},
      {"%n", 1234567.891, "1,234,567.89", "1.234.567,89"},
      {"%.0n", -999, "-999", "-999"},
      {"%g", 0.5, "0.5", "0,5"},
      {"%g", 1e20, "1E020", "1E020"},
      {"%.3g", 1234.5, "1.23E003", "1,23E003"},
      {"%e", 1234.5, "1.23450000000000E+003", "1,23450000000000E+003"},
      {"%.3e", -0.00012345, "-1.23E-004", "-1,23E-004"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(english, c.format, c.value), c.english) << c.format << " " << c.value;
    EXPECT_EQ(Format(german, c.format, c.value), c.german) << c.format << " " << c.value;
  }
}

TEST(StrUtilsTest, FormatRaisesOnBadSpecifiersAndArguments) {
  auto message = [](auto&& call) {
    try {
      call();
    } catch (const EConvertError& e) {
      return e.Message();
    }
    return std::string("no exception");
  };
  EXPECT_EQ(message([] { Format("%d", "x"); }), "Format '%d' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("%s", 1); }), "Format '%s' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("%f", 1); }), "Format '%f' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("%d", 1.5); }), "Format '%d' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("%k", 1); }), "Format '%k' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("50%", 1); }), "Format '50%' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("%.d", 1); }), "Format '%.d' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("%d %d", 1); }), "No argument for format '%d %d'");
  EXPECT_EQ(message([] { Format("%2:d", 1, 2); }), "No argument for format '%2:d'");
}

}  // namespace
}  // namespace platform
