#pragma once

#include <string>
#include <string_view>

namespace platform {

// The languages of form resources.
inline constexpr std::string_view kLanguageGerman = "DE";
inline constexpr std::string_view kLanguageEnglish = "ENG";

// The registry key and value that override the resource language of a program: under the current user,
// the value named by the program's full path (ParamStr(0)) holds "DE" or "ENG".
inline constexpr std::string_view kLocaleOverrideKey = "\\Software\\ClassLib\\Locales";

// The language of the form resources that this program loads: the one SetResourceLanguage gave, else
// ChooseResourceLanguage(), decided at the first call and kept.
std::string ResourceLanguage();
// Fixes the language (tests, programs with a language switch of their own); "" decides anew at the next call.
void SetResourceLanguage(const std::string& language);

// The registry's locale override for this program when it names a language of ours (ignoring case),
// else German for a German user locale (LC_ALL, else LC_MESSAGES, else LANG beginning with "de"),
// else English.
std::string ChooseResourceLanguage();

}  // namespace platform
