#include "controls/SpinRules.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/tests/TextTestSettings.h"

namespace controls {
namespace {

using platform::EncodeDate;
using platform::EncodeTime;
using platform::TFormatSettings;



TEST(SpinRulesTest, ClampingTreatsEqualBoundsAsNone) {
  EXPECT_EQ(ClampToBounds(150, 0, 100), 100);
  EXPECT_EQ(ClampToBounds(-3, 0, 100), 0);
  EXPECT_EQ(ClampToBounds(42, 0, 100), 42);
  EXPECT_EQ(ClampToBounds(150, 7, 7), 150);
  EXPECT_EQ(ClampToBounds(-1.5, 0.0, 0.0), -1.5);
}

TEST(SpinRulesTest, HexTextReadsEitherCaseAndWrapsAs32Bits) {
  EXPECT_EQ(HexText(255), "0xFF");
  EXPECT_EQ(HexText(-1), "0xFFFFFFFF");
  struct Case {
    const char* text;
    int value;
  };
  for (const Case& c : {Case{"0xff", 255}, {"0xFF", 255}, {"0xAbC", 0xABC}, {"0x7FFFFFFF", 0x7FFFFFFF},
                        {"0xFFFFFFFF", -1}, {"0x1FFFFFFFF", -1}, {"0x100000000", 0}, {"0x", 0}, {"", 0},
                        {"0x1G2", 1}, {"0x-5", 0}}) {
    EXPECT_EQ(HexTextValue(c.text), c.value) << c.text;
  }
}

TEST(SpinRulesTest, SmartStepChangesTheDigitLeftOfTheCaret) {
  struct Case {
    const char* text;
    int caret;
    bool isFloat;
    double step;
  };
  const Case cases[] = {
      {"1.25", 3, true, 0.1},   {"1.25", 4, true, 0.01}, {"1.25", 1, true, 1},  {"125", 3, false, 1},
      {"125", 2, false, 10},    {"125", 1, false, 100},  {"125", 0, false, 5},  {"-125", 1, false, 5},
      {"-125", 2, false, 100},  {"1.25", 4, false, 0},   {"10.5", 2, true, 1},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(SmartStep(c.text, c.caret, '.', 5, c.isFloat), c.step) << c.text << " at " << c.caret;
  }
  EXPECT_DOUBLE_EQ(SmartStep("1,25", 3, ',', 5, true), 0.1);
}

TEST(SpinRulesTest, DateStepsTheFieldOfTheCaretInTheFormatsOrder) {
  struct Case {
    TFormatSettings settings;
    const char* text;
    int caret;
    int direction;
    platform::TDateTime from, to;
  };
  const TFormatSettings iso;  // yyyy-mm-dd
  const Case cases[] = {
      {platform::testing::GermanSettings(), "29.02.2024", 0, 1, EncodeDate(2024, 2, 29), EncodeDate(2024, 3, 1)},
      {platform::testing::GermanSettings(), "29.02.2024", 4, 1, EncodeDate(2024, 2, 29), EncodeDate(2024, 3, 29)},
      {platform::testing::GermanSettings(), "31.03.2024", 4, -1, EncodeDate(2024, 3, 31), EncodeDate(2024, 2, 29)},
      {platform::testing::GermanSettings(), "29.02.2024", 8, 1, EncodeDate(2024, 2, 29), EncodeDate(2025, 2, 28)},
      {platform::testing::GermanSettings(), "29.02.2024", 8, -1, EncodeDate(2024, 2, 29), EncodeDate(2023, 2, 28)},
      {platform::testing::EnglishSettings(), "2/29/2024", 0, 1, EncodeDate(2024, 2, 29), EncodeDate(2024, 3, 29)},
      {platform::testing::EnglishSettings(), "2/29/2024", 3, 1, EncodeDate(2024, 2, 29), EncodeDate(2024, 3, 1)},
      {iso, "2024-02-29", 2, 1, EncodeDate(2024, 2, 29), EncodeDate(2025, 2, 28)},
      {iso, "2024-02-29", 9, 1, EncodeDate(2024, 2, 29), EncodeDate(2024, 3, 1)},
      {iso, "9999-12-01", 0, 1, EncodeDate(9999, 12, 1), EncodeDate(9999, 12, 1)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StepDateField(c.from, c.text, c.caret, c.direction, c.settings), c.to) << c.text << " at " << c.caret;
  }
  // A year step drops the time of day; a day step keeps it.
  const platform::TDateTime noon = EncodeDate(2024, 5, 6) + 0.5;
  EXPECT_EQ(StepDateField(noon, "06.05.2024", 8, 1, platform::testing::GermanSettings()), EncodeDate(2025, 5, 6));
  EXPECT_EQ(StepDateField(noon, "06.05.2024", 1, 1, platform::testing::GermanSettings()), EncodeDate(2024, 5, 7) + 0.5);
}

TEST(SpinRulesTest, TimeStepsTheFieldOfTheCaretAndWrapsRoundMidnight) {
  struct Case {
    int caret, direction;
    platform::TDateTime from, to;
  };
  const Case cases[] = {
      {0, 1, EncodeTime(23, 59, 30, 0), EncodeTime(0, 59, 30, 0)},
      {4, -1, EncodeTime(23, 59, 30, 0), EncodeTime(23, 58, 30, 0)},
      {7, 1, EncodeTime(23, 59, 30, 0), EncodeTime(23, 59, 31, 0)},
      {7, 1, EncodeTime(23, 59, 59, 0), EncodeTime(0, 0, 0, 0)},
      {7, -1, EncodeTime(0, 0, 0, 0), EncodeTime(23, 59, 59, 0)},
      {0, -1, EncodeTime(0, 30, 0, 0), EncodeTime(23, 30, 0, 0)},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(StepTimeField(c.from, "hh:mm:ss", c.caret, c.direction, ':'), c.to, 1e-9) << c.caret;
  }
}

TEST(SpinRulesTest, FilterUnderGermanAndEnglishSeparators) {
  struct Case {
    const char* what;
    TFormatSettings settings;
    TSpinValueKind kind;
    int precision;
    const char* text;
    int caret;
    char32_t key;
    bool taken;
    char32_t becomes;
  };
  using enum TSpinValueKind;
  const TSpinFilterRules exSpin{.decimalNeedsPrecision = true, .maxTimeSeparators = 1};
  const Case cases[] = {
      {"digit", platform::testing::EnglishSettings(), Integer, 0, "12", 2, '5', true, '5'},
      {"letter", platform::testing::EnglishSettings(), Integer, 0, "12", 2, 'a', false, 'a'},
      {"minus", platform::testing::GermanSettings(), Integer, 0, "12", 0, '-', true, '-'},
      {"enter", platform::testing::EnglishSettings(), Integer, 0, "12", 2, '\r', false, '\r'},
      {"backspace", platform::testing::EnglishSettings(), Integer, 0, "12", 2, 8, true, 8},
      {"en decimal point", platform::testing::EnglishSettings(), Float, 2, "12", 2, '.', true, '.'},
      {"en comma becomes the point", platform::testing::EnglishSettings(), Float, 2, "12", 2, ',', true, '.'},
      {"de decimal comma", platform::testing::GermanSettings(), Float, 2, "12", 2, ',', true, ','},
      {"de point becomes the comma", platform::testing::GermanSettings(), Float, 2, "12", 2, '.', true, ','},
      {"second separator", platform::testing::GermanSettings(), Float, 2, "1,2", 3, ',', false, ','},
      {"no separator at precision 0", platform::testing::EnglishSettings(), Float, 0, "12", 2, '.', false, '.'},
      {"decimals full", platform::testing::EnglishSettings(), Float, 2, "1.25", 4, '7', false, '7'},
      {"decimals not full", platform::testing::EnglishSettings(), Float, 2, "1.2", 3, '7', true, '7'},
      {"integer part with decimals full", platform::testing::EnglishSettings(), Float, 2, "1.25", 1, '7', true, '7'},
      {"en date separator in a date", platform::testing::EnglishSettings(), Date, 0, "2", 1, '/', true, '/'},
      {"en date separator in a number", platform::testing::EnglishSettings(), Integer, 0, "2", 1, '/', false, '/'},
      {"de date separator in a date", platform::testing::GermanSettings(), Date, 0, "2", 1, '.', true, '.'},
      {"time separator in a time", platform::testing::GermanSettings(), Time, 0, "12", 2, ':', true, ':'},
      {"second time separator", platform::testing::GermanSettings(), Time, 0, "12:30", 5, ':', false, ':'},
      {"time separator in a date", platform::testing::EnglishSettings(), Date, 0, "12", 2, ':', false, ':'},
      {"hex digit", platform::testing::EnglishSettings(), Hex, 0, "0x1", 3, 'f', true, 'f'},
      {"hex letter beyond F", platform::testing::EnglishSettings(), Hex, 0, "0x1", 3, 'g', false, 'g'},
      {"hex before the prefix", platform::testing::EnglishSettings(), Hex, 0, "0x1", 1, '1', false, '1'},
      {"backspace into the prefix", platform::testing::EnglishSettings(), Hex, 0, "0x1", 2, 8, false, 8},
  };
  for (const Case& c : cases) {
    char32_t key = c.key;
    const TSpinTyping typing{c.kind, c.precision, true, c.text, c.caret, 0};
    EXPECT_EQ(FilterSpinKey(key, typing, exSpin, c.settings), c.taken) << c.what;
    EXPECT_EQ(static_cast<int>(key), static_cast<int>(c.becomes)) << c.what;
  }
}

TEST(SpinRulesTest, GridDialectAndDisabledEditor) {
  const TSpinFilterRules grid;
  char32_t key = '.';
  EXPECT_TRUE(FilterSpinKey(key, {TSpinValueKind::Float, 0, true, "12", 2, 0}, grid, platform::testing::EnglishSettings()));
  key = '.';
  EXPECT_FALSE(FilterSpinKey(key, {TSpinValueKind::Float, 0, true, "1.2", 3, 0}, grid, platform::testing::EnglishSettings()));
  key = ':';
  EXPECT_TRUE(FilterSpinKey(key, {TSpinValueKind::Time, 0, true, "12:30", 5, 0}, grid, platform::testing::EnglishSettings()));
  key = ':';
  EXPECT_FALSE(FilterSpinKey(key, {TSpinValueKind::Time, 0, true, "12:30:00", 8, 0}, grid, platform::testing::EnglishSettings()));
  for (char32_t typed : {char32_t{'5'}, char32_t{8}, char32_t{'\r'}}) {
    key = typed;
    EXPECT_FALSE(FilterSpinKey(key, {TSpinValueKind::Integer, 0, false, "1", 1, 0}, grid, platform::testing::EnglishSettings())) << static_cast<int>(typed);
  }
  key = 3;  // Ctrl+C still copies
  EXPECT_TRUE(FilterSpinKey(key, {TSpinValueKind::Integer, 0, false, "1", 1, 0}, grid, platform::testing::EnglishSettings()));
}

}  // namespace
}  // namespace controls
