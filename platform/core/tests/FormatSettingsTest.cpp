#include "platform/core/FormatSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace platform {
namespace {

TEST(FormatSettingsTest, StrftimePatternsBecomeClassLibraryFormats) {
  struct Case {
    const char* pattern;
    const char* expected;
  } cases[] = {
      {"%d.%m.%Y", "dd.mm.yyyy"},
      {"%m/%d/%y", "mm/dd/yy"},
      {"%-d.%-m.%Y", "d.m.yyyy"},
      {"%e/%m/%Y", "d/mm/yyyy"},
      {"%D", "mm/dd/yy"},
      {"%F", "yyyy-mm-dd"},
      {"%H:%M:%S", "hh:nn:ss"},
      {"%T", "hh:nn:ss"},
      {"%I:%M:%S %p", "hh:nn:ss ampm"},
      {"%l:%M %P", "h:nn ampm"},
      {"%a %d %b %Y", "ddd dd mmm yyyy"},
      {"%A, %B %e, %Y", "dddd, mmmm d, yyyy"},
      {"%d de %B de %Y", "dd\" de \"mmmm\" de \"yyyy"},
      {"%Y年%m月%d日", "yyyy年mm月dd日"},
      {"%Ey %OH h%%", "yy hh\" h%\""},
      {"%H:%M %Z", "hh:nn "},
  };
  for (const Case& c : cases) EXPECT_EQ(DateFormatFromStrftime(c.pattern), c.expected) << c.pattern;
}

// Sets an environment variable for one test and puts it and the process-wide settings back afterwards.
class ScopedVariable {
public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
    ResetFormatSettings();
  }

private:
  const char* name_;
  std::optional<std::string> old_;
};

// What glibc's locales say, as nl_langinfo gives it.
LocaleInfo German(const std::string& codeset, const std::string& march) {
  LocaleInfo info;
  info.timeLocaleName = "de_DE." + codeset;
  info.codeset = codeset;
  info.radix = ",";
  info.thousands = ".";
  info.dateFormat = "%d.%m.%Y";
  info.timeFormat = "%T";
  info.dateTimeFormat = "%a %d %b %Y %T %Z";
  info.shortMonths = {"Jan", "Feb", march.substr(0, 3), "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  info.longMonths = {"Januar", "Februar", march, "April", "Mai", "Juni", "Juli", "August", "September", "Oktober",
                     "November", "Dezember"};
  info.shortDays = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  info.longDays = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
  return info;
}

LocaleInfo AmericanEnglish() {
  LocaleInfo info;
  info.timeLocaleName = "en_US.UTF-8";
  info.codeset = "UTF-8";
  info.radix = ".";
  info.thousands = ",";
  info.dateFormat = "%m/%d/%Y";
  info.timeFormat = "%r";
  info.timeFormatAmPm = "%I:%M:%S %p";
  info.dateTimeFormat = "%a %d %b %Y %r %Z";
  info.am = "AM";
  info.pm = "PM";
  info.longMonths[0] = "January";
  return info;
}

TEST(FormatSettingsTest, GermanLocaleGivesItsSeparatorsFormatsAndNames) {
  const TFormatSettings s = FormatSettingsFromLocale(German("UTF-8", "März"));
  EXPECT_EQ(s.DecimalSeparator, ',');
  EXPECT_EQ(s.ThousandSeparator, '.');
  EXPECT_EQ(s.DateSeparator, '.');
  EXPECT_EQ(s.TimeSeparator, ':');
  EXPECT_EQ(s.ShortDateFormat, "dd.mm.yyyy");
  EXPECT_EQ(s.LongDateFormat, "ddd dd mmm yyyy");
  EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(s.ShortTimeFormat, "hh:nn");
  EXPECT_EQ(s.LongMonthNames[2], "März");
  EXPECT_EQ(s.ShortMonthNames[11], "Dez");
  EXPECT_EQ(s.LongDayNames[0], "Sonntag");
  EXPECT_EQ(s.ShortDayNames[1], "Mo");
}

TEST(FormatSettingsTest, NamesOfALatin1LocaleArriveAsUtf8) {
  const TFormatSettings s = FormatSettingsFromLocale(German("ISO-8859-1", "M\xE4rz"));
  EXPECT_EQ(s.LongMonthNames[2], "März");
  EXPECT_EQ(s.ShortMonthNames[2], "Mär");
  EXPECT_EQ(s.ShortDateFormat, "dd.mm.yyyy");
}

TEST(FormatSettingsTest, EnglishLocaleGivesTwelveHourTimes) {
  const TFormatSettings s = FormatSettingsFromLocale(AmericanEnglish());
  EXPECT_EQ(s.DecimalSeparator, '.');
  EXPECT_EQ(s.ThousandSeparator, ',');
  EXPECT_EQ(s.DateSeparator, '/');
  EXPECT_EQ(s.ShortDateFormat, "mm/dd/yyyy");
  EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss ampm");
  EXPECT_EQ(s.ShortTimeFormat, "hh:nn ampm");
  EXPECT_EQ(s.TimeAMString, "AM");
  EXPECT_EQ(s.TimePMString, "PM");
  EXPECT_EQ(s.LongMonthNames[0], "January");
}

TEST(FormatSettingsTest, SeparatorsOfLocalesWithoutOrWithWideGrouping) {
  LocaleInfo info = German("UTF-8", "März");
  info.thousands = "";
  EXPECT_EQ(FormatSettingsFromLocale(info).ThousandSeparator, '.');
  info.thousands = "\xE2\x80\xAF";  // a narrow no-break space
  EXPECT_EQ(FormatSettingsFromLocale(info).ThousandSeparator, ' ');
}

TEST(FormatSettingsTest, CAndUnknownLocalesGetTheDocumentedFallback) {
  const TFormatSettings fallback;
  for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
    ScopedVariable environment("LC_ALL", name);
    ResetFormatSettings();
    const TFormatSettings& s = FormatSettings();
    EXPECT_EQ(s.DecimalSeparator, '.') << name;
    EXPECT_EQ(s.ThousandSeparator, ',') << name;
    EXPECT_EQ(s.DateSeparator, '-') << name;
    EXPECT_EQ(s.ShortDateFormat, "yyyy-mm-dd") << name;
    EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss") << name;
    EXPECT_EQ(s.ShortTimeFormat, "hh:nn") << name;
    EXPECT_EQ(s.LongMonthNames, fallback.LongMonthNames) << name;
    EXPECT_EQ(s.ShortDayNames[0], "Sun") << name;
  }
}

TEST(FormatSettingsTest, AssignedSettingsStayUntilReset) {
  ScopedVariable environment("LC_ALL", "C");
  FormatSettings().DecimalSeparator = ',';
  EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
  ResetFormatSettings();
  EXPECT_EQ(FormatSettings().DecimalSeparator, '.');
}

}  // namespace
}  // namespace platform
