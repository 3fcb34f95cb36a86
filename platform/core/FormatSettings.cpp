#include "platform/core/FormatSettings.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cstring>

#include "platform/core/Ascii.h"

namespace platform {

namespace {

// Appends literal text, quoted when it holds letters that the format language would read as specifiers.
void AppendLiteral(std::string& out, const std::string& literal) {
  bool hasLetter = false;
  for (char c : literal) hasLetter = hasLetter || IsAsciiLetter(c);
  if (!hasLetter) {
    out += literal;
    return;
  }
  char quote = literal.find('"') == std::string::npos ? '"' : '\'';
  out += quote + literal + quote;
}

// The class library's specifier for one strftime conversion; padded selects the two-digit form.
std::string SpecifierFor(char conversion, bool padded) {
  switch (conversion) {
    case 'd': return padded ? "dd" : "d";
    case 'e': return "d";
    case 'm': return padded ? "mm" : "m";
    case 'y': return "yy";
    case 'Y': return "yyyy";
    case 'b':
    case 'h': return "mmm";
    case 'B': return "mmmm";
    case 'a': return "ddd";
    case 'A': return "dddd";
    case 'H':
    case 'I': return padded ? "hh" : "h";
    case 'k':
    case 'l': return "h";
    case 'M': return padded ? "nn" : "n";
    case 'S': return padded ? "ss" : "s";
    case 'p':
    case 'P': return "ampm";
    default: return "";
  }
}

bool IsCLocaleName(std::string_view name) {
  return name.empty() || name == "C" || name == "POSIX" || name.substr(0, 2) == "C.";
}

// Text from nl_langinfo in the locale's character set, as UTF-8.
std::string ToUtf8(const char* text, const char* codeset) {
  std::string input = text ? text : "";
  if (codeset == nullptr || std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "ANSI_X3.4-1968") == 0) {
    return input;
  }
  iconv_t converter = iconv_open("UTF-8", codeset);
  if (converter == reinterpret_cast<iconv_t>(-1)) return input;
  std::string output(input.size() * 4 + 4, '\0');
  char* in = input.data();
  size_t inLeft = input.size();
  char* out = output.data();
  size_t outLeft = output.size();
  size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<size_t>(-1)) return input;
  output.resize(output.size() - outLeft);
  return output;
}

// The first ASCII punctuation byte of a pattern outside its conversions, else fallback.
char SeparatorOf(std::string_view pattern, char fallback) {
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c == '%') {
      ++i;
      continue;
    }
    if (c > ' ' && c < 0x7F && !IsAsciiLetter(c) && !(c >= '0' && c <= '9')) return c;
  }
  return fallback;
}

// Replaces every conversion %<c> in pattern by replacement.
std::string ExpandConversion(std::string pattern, char conversion, std::string_view replacement) {
  for (size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    if (pattern[i + 1] == conversion) {
      pattern.replace(i, 2, replacement);
      i += replacement.size() - 1;
    } else {
      ++i;
    }
  }
  return pattern;
}

// The time pattern without its seconds and the separator before them.
std::string WithoutSeconds(std::string pattern) {
  size_t at = pattern.find("%S");
  if (at == std::string::npos) return pattern;
  size_t from = at;
  if (from > 0 && pattern[from - 1] != '%' && !(from >= 2 && pattern[from - 2] == '%')) --from;
  pattern.erase(from, at + 2 - from);
  return pattern;
}

// The date part of a date-and-time pattern: everything before its first time conversion.
std::string DatePart(std::string_view pattern) {
  for (size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    size_t c = i + 1;
    while (c < pattern.size() && std::strchr("EO-_0^#", pattern[c])) ++c;
    if (c < pattern.size() && std::strchr("HIklMSpPrRTXZzs", pattern[c])) {
      std::string part(pattern.substr(0, i));
      while (!part.empty() && (part.back() == ' ' || part.back() == ',')) part.pop_back();
      return part;
    }
    i = c;
  }
  return std::string(pattern);
}

void ReadDateAndTime(const LocaleInfo& info, TFormatSettings& settings) {
  auto text = [&](const std::string& raw) { return ToUtf8(raw.c_str(), info.codeset.c_str()); };

  std::string datePattern = text(info.dateFormat);
  std::string timePattern = ExpandConversion(text(info.timeFormat), 'r', text(info.timeFormatAmPm));
  timePattern = ExpandConversion(ExpandConversion(timePattern, 'T', "%H:%M:%S"), 'R', "%H:%M");
  std::string dateTimePattern = ExpandConversion(text(info.dateTimeFormat), 'x', datePattern);
  if (!datePattern.empty()) {
    settings.ShortDateFormat = DateFormatFromStrftime(datePattern);
    settings.DateSeparator = SeparatorOf(datePattern, settings.DateSeparator);
  }
  std::string longDate = DateFormatFromStrftime(DatePart(dateTimePattern));
  settings.LongDateFormat = longDate.empty() ? settings.ShortDateFormat : longDate;
  if (!timePattern.empty()) {
    settings.LongTimeFormat = DateFormatFromStrftime(timePattern);
    settings.ShortTimeFormat = DateFormatFromStrftime(WithoutSeconds(timePattern));
    settings.TimeSeparator = SeparatorOf(timePattern, settings.TimeSeparator);
  }
  settings.TimeAMString = text(info.am);
  settings.TimePMString = text(info.pm);
  for (int i = 0; i < 12; ++i) {
    settings.ShortMonthNames[i] = text(info.shortMonths[i]);
    settings.LongMonthNames[i] = text(info.longMonths[i]);
  }
  for (int i = 0; i < 7; ++i) {
    settings.ShortDayNames[i] = text(info.shortDays[i]);
    settings.LongDayNames[i] = text(info.longDays[i]);
  }
}

LocaleInfo ReadLocaleInfo(locale_t locale) {
  auto text = [&](nl_item item) {
    const char* value = nl_langinfo_l(item, locale);
    return std::string(value ? value : "");
  };
  LocaleInfo info;
  info.timeLocaleName = text(_NL_LOCALE_NAME(LC_TIME));
  info.codeset = text(CODESET);
  info.radix = text(RADIXCHAR);
  info.thousands = text(THOUSEP);
  info.dateFormat = text(D_FMT);
  info.timeFormat = text(T_FMT);
  info.timeFormatAmPm = text(T_FMT_AMPM);
  info.dateTimeFormat = text(D_T_FMT);
  info.am = text(AM_STR);
  info.pm = text(PM_STR);
  for (int i = 0; i < 12; ++i) {
    info.shortMonths[i] = text(ABMON_1 + i);
    info.longMonths[i] = text(MON_1 + i);
  }
  for (int i = 0; i < 7; ++i) {
    info.shortDays[i] = text(ABDAY_1 + i);
    info.longDays[i] = text(DAY_1 + i);
  }
  return info;
}

}  // namespace

std::string DateFormatFromStrftime(std::string_view pattern) {
  std::string out;
  std::string literal;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      literal += pattern[i];
      continue;
    }
    bool padded = true;
    size_t c = i + 1;
    for (; c < pattern.size() && std::strchr("EO-_0^#", pattern[c]); ++c) {
      if (pattern[c] == '-' || pattern[c] == '_') padded = false;
    }
    if (c >= pattern.size()) break;
    i = c;
    char conversion = pattern[c];
    std::string expansion;
    switch (conversion) {
      case '%': literal += '%'; continue;
      case 'n':
      case 't': literal += ' '; continue;
      case 'D': expansion = DateFormatFromStrftime("%m/%d/%y"); break;
      case 'F': expansion = DateFormatFromStrftime("%Y-%m-%d"); break;
      case 'T': expansion = DateFormatFromStrftime("%H:%M:%S"); break;
      case 'R': expansion = DateFormatFromStrftime("%H:%M"); break;
      default: expansion = SpecifierFor(conversion, padded); break;
    }
    AppendLiteral(out, literal);
    literal.clear();
    out += expansion;
  }
  AppendLiteral(out, literal);
  return out;
}

TFormatSettings LocaleFormatSettings() {
  locale_t locale = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return TFormatSettings();
  const LocaleInfo info = ReadLocaleInfo(locale);
  freelocale(locale);
  return FormatSettingsFromLocale(info);
}

TFormatSettings FormatSettingsFromLocale(const LocaleInfo& info) {
  TFormatSettings settings;
  if (info.radix.size() == 1) settings.DecimalSeparator = info.radix[0];
  // The separators are single bytes: a locale without grouping gets the one that does not clash with its
  // decimal separator, a multi-byte one (a narrow no-break space) becomes a blank.
  if (info.thousands.size() == 1) {
    settings.ThousandSeparator = info.thousands[0];
  } else if (info.thousands.size() > 1) {
    settings.ThousandSeparator = ' ';
  } else {
    settings.ThousandSeparator = settings.DecimalSeparator == ',' ? '.' : ',';
  }
  if (!IsCLocaleName(info.timeLocaleName)) ReadDateAndTime(info, settings);
  return settings;
}

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = LocaleFormatSettings();
  return settings;
}

void ResetFormatSettings() { FormatSettings() = LocaleFormatSettings(); }

}  // namespace platform
