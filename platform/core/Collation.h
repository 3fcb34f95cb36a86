#pragma once

#include <string>
#include <string_view>

namespace platform {

// Locale-aware comparison of UTF-8 texts by the collation of the user's locale (LC_COLLATE, read
// once); SetCollationLocale chooses another one by name (tests fix one), falling back to code-point
// order when the system has no such locale. Results are < 0, 0 or > 0. AnsiCompareText compares the
// texts lowered by that locale's character classes.
int AnsiCompareStr(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);
void SetCollationLocale(const std::string& name);
// A key whose ordinal order (std::wstring::compare) is the order of AnsiCompareStr (IgnoreCase false)
// or AnsiCompareText (true), for sorting many texts with one conversion each.
std::wstring AnsiCollationKey(std::string_view text, bool IgnoreCase);

}  // namespace platform
