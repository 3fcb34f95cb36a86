#include "platform/core/DateTime.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <tuple>

#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/tests/TextTestSettings.h"

namespace platform {
namespace {

using testing::EnglishSettings;
using testing::GermanSettings;

constexpr int64_t kMarch5th2024UtcMs = 1'709'596'800'000;  // 2024-03-05 00:00 UTC

// Tuesday 2024-03-05 07:08:09.012
TDateTime Sample() { return EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 12); }

template <typename Call>
std::string ErrorOf(Call call) {
  try {
    call();
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return "no exception";
}

// Runs a test on the virtual clock in a given time zone, so that "now" and the current year are fixed.
class DateTimeOnVirtualClockTest : public ::testing::Test {
protected:
  void SetUp() override { SetZone("UTC0"); UseVirtualClock(kMarch5th2024UtcMs + 12 * 3'600'000); }
  void TearDown() override {
    UseRealClock();
    if (oldZone_) {
      setenv("TZ", oldZone_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  void SetZone(const char* zone) {
    if (!saved_) {
      if (const char* old = std::getenv("TZ")) oldZone_ = old;
      saved_ = true;
    }
    setenv("TZ", zone, 1);
    tzset();
  }

private:
  bool saved_ = false;
  std::optional<std::string> oldZone_;
};

TEST(DateTimeTest, EncodeDateCountsDaysFrom1899December30) {
  struct Case {
    int year, month, day;
    double expected;
  } cases[] = {
      {1899, 12, 30, 0}, {1900, 1, 1, 2},       {1970, 1, 1, 25569},      {2000, 2, 29, 36585},
      {2024, 3, 5, 45356}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465}, {1899, 12, 29, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.expected) << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(DateTimeTest, DecodeDateInvertsEncodeDateOnEveryDay) {
  int year = 0, month = 0, day = 0;
  for (int serial = -693593; serial <= 2958465; serial += 1) {
    DecodeDate(serial, year, month, day);
    TDateTime back = 0;
    ASSERT_TRUE(TryEncodeDate(year, month, day, back)) << serial;
    ASSERT_EQ(back, serial);
  }
  DecodeDate(-693594, year, month, day);
  EXPECT_EQ(year, 0);
  DecodeDate(NAN, year, month, day);
  EXPECT_EQ(month, 0);
}

TEST(DateTimeTest, LeapYearsAndInvalidDates) {
  TDateTime date = 0;
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, date));
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, date));
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, date));
  EXPECT_FALSE(TryEncodeDate(2100, 2, 29, date));
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, date));
  for (auto [y, m, d] : {std::tuple{2024, 0, 1}, {2024, 13, 1}, {2024, 4, 31}, {2024, 1, 0}, {0, 1, 1}, {10000, 1, 1}}) {
    EXPECT_FALSE(TryEncodeDate(y, m, d, date)) << y << "-" << m << "-" << d;
  }
  EXPECT_EQ(ErrorOf([] { EncodeDate(2023, 2, 29); }), "Invalid argument to date encode");
}

TEST(DateTimeTest, TimesEncodeAsFractionsAndRoundToTheMillisecond) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  int h = 0, n = 0, s = 0, ms = 0;
  DecodeTime(EncodeDate(2024, 3, 5) + EncodeTime(23, 59, 59, 999), h, n, s, ms);
  EXPECT_EQ((std::array{h, n, s, ms}), (std::array{23, 59, 59, 999}));
  // Just below midnight rounds up to the next day's midnight.
  TDateTime almost = EncodeDate(2024, 2, 29) + 0.9999999999;
  int y = 0, m = 0, d = 0;
  DecodeDate(almost, y, m, d);
  DecodeTime(almost, h, n, s, ms);
  EXPECT_EQ((std::array{y, m, d, h, n, s, ms}), (std::array{2024, 3, 1, 0, 0, 0, 0}));
  // Before 1899-12-30 the fraction still counts forward from midnight.
  DecodeDate(-1.25, y, m, d);
  DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ((std::array{y, m, d, h}), (std::array{1899, 12, 29, 6}));
  EXPECT_EQ(ErrorOf([] { EncodeTime(24, 0, 0, 0); }), "Invalid argument to time encode");
  EXPECT_EQ(ErrorOf([] { EncodeTime(0, 60, 0, 0); }), "Invalid argument to time encode");
  EXPECT_EQ(ErrorOf([] { EncodeTime(0, 0, 0, 1000); }), "Invalid argument to time encode");
}

TEST(DateTimeTest, IncMonthClampsTheDayAndKeepsTheTime) {
  struct Case {
    int year, month, day, months;
    int toYear, toMonth, toDay;
  } cases[] = {
      {2024, 1, 31, 1, 2024, 2, 29},   {2023, 1, 31, 1, 2023, 2, 28},  {2024, 3, 31, -1, 2024, 2, 29},
      {2024, 5, 31, 1, 2024, 6, 30},   {2024, 12, 15, 1, 2025, 1, 15}, {2024, 1, 15, -13, 2022, 12, 15},
      {2024, 2, 29, 12, 2025, 2, 28}, {2024, 2, 29, 48, 2028, 2, 29}, {2024, 8, 31, 0, 2024, 8, 31},
  };
  for (const Case& c : cases) {
    TDateTime from = EncodeDate(c.year, c.month, c.day) + EncodeTime(10, 30, 0, 0);
    EXPECT_EQ(IncMonth(from, c.months), EncodeDate(c.toYear, c.toMonth, c.toDay) + EncodeTime(10, 30, 0, 0))
        << c.year << "-" << c.month << "-" << c.day << " + " << c.months;
  }
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 31)), EncodeDate(2024, 2, 29));
  EXPECT_EQ(ErrorOf([] { IncMonth(EncodeDate(9999, 12, 1), 1); }), "Invalid argument to date encode");
}

TEST(DateTimeTest, FormatDateTimeUnderGermanSettings) {
  const TFormatSettings german = GermanSettings();
  struct Case {
    const char* format;
    const char* expected;
  } cases[] = {
      {"dd.mm.yyyy", "05.03.2024"},
      {"d.m.yy", "5.3.24"},
      {"ddd dddd", "Di Dienstag"},
      {"mmm MMMM", "Mrz März"},
      {"hh:nn:ss", "07:08:09"},
      {"h:n:s", "7:8:9"},
      {"hh:mm:ss", "07:08:09"},       // m right after h means minutes
      {"hh \"Uhr\" mm", "07 Uhr 08"}, // also with a literal between them
      {"mm/dd/yyyy", "03.05.2024"},   // "/" becomes the date separator
      {"zzz z", "012 12"},
      {"c", "05.03.2024 07:08:09"},
      {"ddddd", "05.03.2024"},
      {"dddddd", "Dienstag, 5. März 2024"},
      {"t|tt", "07:08|07:08:09"},
      {"'d' d \"m\"", "d 5 m"},
      {"yyyy-mm-dd hh:nn", "2024-03-05 07:08"},
      {"[x] ", "[x] "},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, Sample(), german), c.expected) << c.format;
}

TEST(DateTimeTest, FormatDateTimeUnderEnglishSettings) {
  const TFormatSettings english = EnglishSettings();
  TDateTime date = EncodeDate(2024, 3, 5);
  struct Case {
    const char* format;
    TDateTime time;
    const char* expected;
  } cases[] = {
      {"m/d/yyyy", 0, "3/5/2024"},
      {"dddd, mmmm d, yyyy", 0, "Tuesday, March 5, 2024"},
      {"tt", EncodeTime(13, 5, 0, 0), "1:05:00 PM"},
      {"tt", EncodeTime(0, 30, 0, 0), "12:30:00 AM"},
      {"tt", EncodeTime(12, 0, 0, 0), "12:00:00 PM"},
      {"hh:nn am/pm", EncodeTime(13, 5, 0, 0), "01:05 pm"},
      {"h A/P", EncodeTime(9, 0, 0, 0), "9 A"},
      {"h Am/Pm", EncodeTime(21, 0, 0, 0), "9 Pm"},
      {"hh:nn", EncodeTime(13, 5, 0, 0), "13:05"},
      {"h \"am/pm\"", EncodeTime(13, 0, 0, 0), "13 am/pm"},  // quoted: no 12-hour clock
      {"c", EncodeTime(7, 8, 9, 0), "3/5/2024 7:08:09 AM"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDateTime(c.format, date + c.time, english), c.expected) << c.format;
  }
}

TEST(DateTimeTest, DateTimeToStrOmitsAMidnightTime) {
  const TFormatSettings german = GermanSettings();
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5), german), "05.03.2024");
  EXPECT_EQ(DateTimeToStr(Sample(), german), "05.03.2024 07:08:09");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5) + EncodeTime(0, 0, 0, 1), german), "05.03.2024 00:00:00");
  EXPECT_EQ(DateToStr(Sample(), german), "05.03.2024");
  EXPECT_EQ(TimeToStr(Sample(), german), "07:08:09");
  EXPECT_EQ(DateTimeToStr(Sample(), EnglishSettings()), "3/5/2024 7:08:09 AM");
}

TEST_F(DateTimeOnVirtualClockTest, StrToDateReadsByTheShortDateOrder) {
  const TFormatSettings german = GermanSettings();
  TFormatSettings iso;  // the C locale's fallback: yyyy-mm-dd
  struct Case {
    const TFormatSettings& settings;
    const char* text;
    int year, month, day;
  } cases[] = {
      {german, "05.03.2024", 2024, 3, 5},
      {german, " 5.3.2024 ", 2024, 3, 5},
      {german, "5 . 3 . 2024", 2024, 3, 5},
      {german, "29.2.2024", 2024, 2, 29},
      {german, "7.8", 2024, 8, 7},        // no year: the current one
      {german, "5.3.24", 2024, 3, 5},
      {german, "5.3.73", 2073, 3, 5},     // two-digit years lie within 50 years of now
      {german, "5.3.74", 1974, 3, 5},
      {german, "5.3.024", 24, 3, 5},      // three digits are a full year
      {EnglishSettings(), "3/5/2024", 2024, 3, 5},
      {EnglishSettings(), "12/31/99", 1999, 12, 31},
      {iso, "2024-03-05", 2024, 3, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StrToDate(c.text, c.settings), EncodeDate(c.year, c.month, c.day)) << c.text;
  }
}

TEST_F(DateTimeOnVirtualClockTest, StrToDateRaisesOnBadDates) {
  const TFormatSettings german = GermanSettings();
  for (const char* text : {"", " ", "5", "5.", "5.3.", "31.02.2024", "29.2.2023", "5.13.2024", "2024-03-05",
                           "5.3.2024x", "5.3.2024 12:00", "5/3/2024", "05.03.20245", "a.b.c"}) {
    EXPECT_EQ(ErrorOf([&] { StrToDate(text, german); }), "'" + std::string(text) + "' is not a valid date");
  }
}

TEST(DateTimeTest, StrToTimeReadsHoursMinutesSecondsAndMarkers) {
  const TFormatSettings german = GermanSettings();
  const TFormatSettings english = EnglishSettings();
  struct Case {
    const TFormatSettings& settings;
    const char* text;
    int hour, minute, second, msec;
  } cases[] = {
      {german, "07:08:09", 7, 8, 9, 0},     {german, " 7:8 ", 7, 8, 0, 0},        {german, "23", 23, 0, 0, 0},
      {german, "07:08:09,012", 7, 8, 9, 12}, {english, "1:05:00 PM", 13, 5, 0, 0}, {english, "12:00 AM", 0, 0, 0, 0},
      {english, "12:30 pm", 12, 30, 0, 0},  {english, "PM 1:05", 13, 5, 0, 0},    {english, "11:59:59 am", 11, 59, 59, 0},
      {english, "13:05", 13, 5, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StrToTime(c.text, c.settings), EncodeTime(c.hour, c.minute, c.second, c.msec)) << c.text;
  }
  for (const char* text : {"", "24:00", "7:60", "7:", "7:08:09:10", "13:00 PM", "0:30 AM", "7.08", "x"}) {
    EXPECT_EQ(ErrorOf([&] { StrToTime(text, english); }), "'" + std::string(text) + "' is not a valid time");
  }
}

TEST_F(DateTimeOnVirtualClockTest, StrToDateTimeAndRoundTrips) {
  const TFormatSettings german = GermanSettings();
  EXPECT_EQ(StrToDateTime("05.03.2024 07:08:09", german), EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 0));
  EXPECT_EQ(StrToDateTime("05.03.2024", german), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDateTime("29.12.1899 06:00", german), -1.25);
  for (const char* text : {"", "07:08:09", "05.03.2024 25:00", "05.03.2024 07:08 x"}) {
    EXPECT_EQ(ErrorOf([&] { StrToDateTime(text, german); }),
              "'" + std::string(text) + "' is not a valid date and time");
  }
  for (const TFormatSettings& settings : {german, EnglishSettings(), TFormatSettings()}) {
    for (TDateTime value : {EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59, 0), EncodeDate(2000, 1, 1),
                            EncodeDate(1999, 12, 31) + EncodeTime(12, 0, 0, 0), EncodeDate(2024, 3, 5) + EncodeTime(0, 0, 1, 0)}) {
      EXPECT_EQ(StrToDateTime(DateTimeToStr(value, settings), settings), value) << DateTimeToStr(value, settings);
      EXPECT_EQ(StrToDate(DateToStr(value, settings), settings), std::trunc(value));
    }
  }
}

TEST_F(DateTimeOnVirtualClockTest, NowFollowsTheVirtualClockInLocalTime) {
  UseVirtualClock(kMarch5th2024UtcMs + 7 * 3'600'000 + 8 * 60'000 + 9'500);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", Now(), TFormatSettings()), "2024-03-05 07:08:09.500");
  EXPECT_EQ(Date(), EncodeDate(2024, 3, 5));
  EXPECT_EQ(Time(), EncodeTime(7, 8, 9, 500));
  Sleep(17 * 3'600'000);
  EXPECT_EQ(DateTimeToStr(Now(), GermanSettings()), "06.03.2024 00:08:09");

  SetZone("CET-1CEST,M3.5.0,M10.5.0/3");
  UseVirtualClock(1'719'835'200'000);  // 2024-07-01 12:00 UTC, summer time
  EXPECT_EQ(DateTimeToStr(Now(), GermanSettings()), "01.07.2024 14:00:00");
  UseVirtualClock(kMarch5th2024UtcMs - 1);  // 2024-03-04 23:59:59.999 UTC, winter time
  EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn:ss.zzz", Now(), GermanSettings()), "05.03.2024 00:59:59.999");
}

}  // namespace
}  // namespace platform
