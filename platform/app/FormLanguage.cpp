#include "platform/app/FormLanguage.h"

#include <cstdlib>
#include <mutex>

#include "platform/core/Paths.h"
#include "platform/core/Ascii.h"
#include "platform/core/StrUtils.h"
#include "platform/shell/Registry.h"

namespace platform {

namespace {

struct Chosen {
  std::mutex mutex;
  std::string language;
};

Chosen& ChosenLanguage() {
  static Chosen chosen;
  return chosen;
}

std::string LocaleOverride() {
  TRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  if (!registry.OpenKey(std::string(kLocaleOverrideKey), false)) return {};
  const std::string value = UpperCase(Trim(registry.ReadString(ParamStr(0))));
  return value == kLanguageGerman || value == kLanguageEnglish ? value : std::string();
}

// The user's locale for messages, as setlocale would resolve it.
std::string UserLocale() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
    if (const char* value = std::getenv(variable); value && *value) return value;
  return {};
}

}  // namespace

std::string ResourceLanguage() {
  Chosen& chosen = ChosenLanguage();
  std::lock_guard lock(chosen.mutex);
  if (chosen.language.empty()) chosen.language = ChooseResourceLanguage();
  return chosen.language;
}

void SetResourceLanguage(const std::string& language) {
  Chosen& chosen = ChosenLanguage();
  std::lock_guard lock(chosen.mutex);
  chosen.language = language;
}

std::string ChooseResourceLanguage() {
  if (std::string language = LocaleOverride(); !language.empty()) return language;
  const std::string locale = LowerCase(UserLocale());
  const bool german = locale.rfind("de", 0) == 0 && (locale.size() == 2 || locale[2] == '_' || locale[2] == '.');
  return std::string(german ? kLanguageGerman : kLanguageEnglish);
}

}  // namespace platform
