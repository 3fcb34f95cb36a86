#include "platform/app/FormLanguage.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/core/Paths.h"
#include "platform/shell/Registry.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class FormLanguageTest : public testing::Test {
protected:
  void SetUp() override {
    config_ = fs::temp_directory_path() / ("form-language-" + std::to_string(::getpid()));
    ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
  }
  void TearDown() override {
    for (const char* variable : {"XDG_CONFIG_HOME", "LC_ALL", "LC_MESSAGES", "LANG"}) ::unsetenv(variable);
    SetResourceLanguage("");
    fs::remove_all(config_);
  }
  static void SetLocale(const char* all, const char* messages, const char* lang) {
    auto set = [](const char* variable, const char* value) {
      if (value)
        ::setenv(variable, value, 1);
      else
        ::unsetenv(variable);
    };
    set("LC_ALL", all);
    set("LC_MESSAGES", messages);
    set("LANG", lang);
  }
  static void SetOverride(const std::string& program, const std::string& value) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(std::string(kLocaleOverrideKey), true));
    registry.WriteString(program, value);
  }
  fs::path config_;
};

TEST_F(FormLanguageTest, TheUsersLocaleChoosesGermanOrEnglish) {
  struct Case {
    const char* all;
    const char* messages;
    const char* lang;
    std::string_view expected;
  };
  const Case cases[] = {
      {nullptr, nullptr, "de_DE.UTF-8", kLanguageGerman},
      {nullptr, nullptr, "de_AT", kLanguageGerman},
      {nullptr, nullptr, "de", kLanguageGerman},
      {nullptr, nullptr, "en_US.UTF-8", kLanguageEnglish},
      {nullptr, nullptr, "fr_FR.UTF-8", kLanguageEnglish},
      {nullptr, nullptr, "dev", kLanguageEnglish},
      {nullptr, nullptr, nullptr, kLanguageEnglish},
      {"", "de_CH.UTF-8", "en_GB", kLanguageGerman},  // an empty variable counts as unset
      {"C", "de_DE", "de_DE", kLanguageEnglish},      // LC_ALL wins
  };
  for (const Case& c : cases) {
    SetLocale(c.all, c.messages, c.lang);
    EXPECT_EQ(ChooseResourceLanguage(), c.expected) << (c.lang ? c.lang : "(none)");
  }
}

TEST_F(FormLanguageTest, TheRegistryOverrideForThisProgramWins) {
  SetLocale(nullptr, nullptr, "de_DE.UTF-8");
  SetOverride("/some/other/program", "ENG");
  EXPECT_EQ(ChooseResourceLanguage(), kLanguageGerman);
  SetOverride(ParamStr(0), "eng");
  EXPECT_EQ(ChooseResourceLanguage(), kLanguageEnglish);

  SetLocale(nullptr, nullptr, "en_US.UTF-8");
  SetOverride(ParamStr(0), "DE");
  EXPECT_EQ(ChooseResourceLanguage(), kLanguageGerman);
  SetOverride(ParamStr(0), "FR");  // not a language of ours: the locale decides
  EXPECT_EQ(ChooseResourceLanguage(), kLanguageEnglish);
}

TEST_F(FormLanguageTest, TheLanguageIsDecidedOnceUnlessSetAgain) {
  SetLocale(nullptr, nullptr, "de_DE.UTF-8");
  SetResourceLanguage("");
  EXPECT_EQ(ResourceLanguage(), kLanguageGerman);
  SetLocale(nullptr, nullptr, "en_US.UTF-8");
  EXPECT_EQ(ResourceLanguage(), kLanguageGerman);
  SetResourceLanguage(std::string(kLanguageEnglish));
  EXPECT_EQ(ResourceLanguage(), kLanguageEnglish);
}

}  // namespace
}  // namespace platform
