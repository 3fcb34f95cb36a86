#include "platform/core/FormatSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/core/tests/TempFolder.h"

// The leak checker's switches, present only in sanitizer builds.
extern "C" void __lsan_disable() __attribute__((weak));
extern "C" void __lsan_enable() __attribute__((weak));

namespace platform {
namespace {

// Reads the locale again. glibc keeps a copy of LOCPATH for every locale loaded through it (by design
// locales are never unloaded), which the leak checker would report against this test.
void ResetFormatSettingsFromLocalePath() {
  if (__lsan_disable) __lsan_disable();
  ResetFormatSettings();
  if (__lsan_enable) __lsan_enable();
}

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

// Compiles one locale from the system's locale sources into a folder of its own and selects it.
class CompiledLocale {
public:
  CompiledLocale(const std::string& source, const std::string& charset) {
    std::string name = source + "." + charset;
    std::string command = "localedef -i " + source + " -f " + charset + " " + folder_.File(name) + " 2>/dev/null";
    compiled_ = std::system(command.c_str()) == 0;
    path_.emplace("LOCPATH", folder_.File(""));
    all_.emplace("LC_ALL", name);
    ResetFormatSettingsFromLocalePath();
  }
  ~CompiledLocale() {
    path_.reset();
    all_.reset();
  }
  bool Compiled() const { return compiled_; }

private:
  TempFolder folder_;
  bool compiled_ = false;
  std::optional<ScopedVariable> path_, all_;
};

TEST(FormatSettingsTest, GermanLocaleGivesItsSeparatorsFormatsAndNames) {
  CompiledLocale locale("de_DE", "UTF-8");
  ASSERT_TRUE(locale.Compiled()) << "localedef and the locale sources (Debian package locales) are needed";
  const TFormatSettings& s = FormatSettings();
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
  CompiledLocale locale("de_DE", "ISO-8859-1");
  ASSERT_TRUE(locale.Compiled()) << "localedef and the locale sources (Debian package locales) are needed";
  EXPECT_EQ(FormatSettings().LongMonthNames[2], "März");
  EXPECT_EQ(FormatSettings().ShortDateFormat, "dd.mm.yyyy");
}

TEST(FormatSettingsTest, EnglishLocaleGivesTwelveHourTimes) {
  CompiledLocale locale("en_US", "UTF-8");
  ASSERT_TRUE(locale.Compiled()) << "localedef and the locale sources (Debian package locales) are needed";
  const TFormatSettings& s = FormatSettings();
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
