#include "platform/core/Collation.h"

#include <locale.h>
#include <wchar.h>
#include <wctype.h>

#include <mutex>

#include "platform/core/Utf8.h"

namespace platform {
namespace {

// The one collation locale of the process; replaced as a whole by SetCollationLocale.
class CollationLocale {
public:
  locale_t Get() {
    std::lock_guard lock(mutex_);
    if (!loaded_) Load("");
    return locale_;
  }
  void Set(const std::string& name) {
    std::lock_guard lock(mutex_);
    Load(name);
  }

private:
  void Load(const std::string& name) {
    locale_t next = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, name.c_str(), nullptr);
    if (next == nullptr) next = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "C.UTF-8", nullptr);
    if (locale_ != nullptr) freelocale(locale_);
    locale_ = next;
    loaded_ = true;
  }

  std::mutex mutex_;
  locale_t locale_ = nullptr;  // null: code-point order
  bool loaded_ = false;
};

CollationLocale& Collation() {
  static CollationLocale collation;
  return collation;
}

std::wstring Wide(std::string_view text, locale_t locale, bool lower) {
  std::wstring out;
  out.reserve(text.size());
  for (char32_t c : DecodeText(text)) {
    const auto w = static_cast<wchar_t>(c);
    out.push_back(lower && locale != nullptr ? static_cast<wchar_t>(towlower_l(static_cast<wint_t>(w), locale)) : w);
  }
  return out;
}

int Compare(std::string_view a, std::string_view b, bool lower) {
  const locale_t locale = Collation().Get();
  const std::wstring wa = Wide(a, locale, lower), wb = Wide(b, locale, lower);
  return locale != nullptr ? wcscoll_l(wa.c_str(), wb.c_str(), locale) : wa.compare(wb);
}

}  // namespace

int AnsiCompareStr(std::string_view a, std::string_view b) { return Compare(a, b, false); }
int AnsiCompareText(std::string_view a, std::string_view b) { return Compare(a, b, true); }
void SetCollationLocale(const std::string& name) { Collation().Set(name); }

std::wstring AnsiCollationKey(std::string_view text, bool IgnoreCase) {
  const locale_t locale = Collation().Get();
  std::wstring wide = Wide(text, locale, IgnoreCase);
  if (locale == nullptr) return wide;
  std::wstring key(wcsxfrm_l(nullptr, wide.c_str(), 0, locale), L'\0');
  wcsxfrm_l(key.data(), wide.c_str(), key.size() + 1, locale);
  return key;
}

}  // namespace platform
