#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/core/Ascii.h"
#include "platform/core/FormatSettings.h"

namespace platform {

// String helpers with the class library's semantics. Strings are UTF-8 held in std::string; positions
// and counts are in bytes and 1-based where the system's algorithms use them. Case functions and trimming
// work on ASCII and leave every other byte alone.

// Position (1-based) of the first occurrence of sub in s; 0 when absent or when sub is empty.
int Pos(std::string_view sub, std::string_view s);

// Up to count bytes of s from position index. An index below 1 counts as 1; an index past the end or a
// count below 1 gives "".
std::string Copy(std::string_view s, int index, int count);

// Removes up to count bytes from position index; nothing happens when index is outside 1..Length(s) or
// count is below 1.
void Delete(std::string& s, int index, int count);

// Inserts sub before position index; an index below 1 counts as 1, one past the end appends.
void Insert(std::string_view sub, std::string& s, int index);

// Remove leading and/or trailing blanks and control characters (bytes up to ' ').
std::string Trim(std::string_view s);
std::string_view TrimmedView(std::string_view s);  // Trim without a copy
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// Byte comparison; returns < 0, 0 or > 0 (the difference of the first differing bytes, else of the
// lengths). The ASCII case functions (UpperCase, SameText, CompareText, ...) are in Ascii.h.
int CompareStr(std::string_view a, std::string_view b);

std::string IntToStr(int64_t value);

// Leading blanks, an optional sign, then decimal digits or "$", "0x" or "0X" and hexadecimal digits (which
// may spell the full 32-bit pattern, "$FFFFFFFF" being -1). Anything else, a trailing blank included, or a
// value outside the 32-bit range raises EConvertError "'<s>' is not a valid integer value".
int StrToInt(std::string_view s);
int StrToIntDef(std::string_view s, int defaultValue);

// Upper-case hexadecimal, zero-padded to at least `digits` digits. Negative values give their two's
// complement at the width of their type, 32 bits for int and narrower types.
std::string HexDigits(uint64_t value, int digits);
template <std::integral T>
std::string IntToHex(T value, int digits) {
  using Bits = std::conditional_t<(sizeof(T) <= 4), uint32_t, uint64_t>;
  return HexDigits(static_cast<Bits>(value), digits);
}

// General format: at most 15 significant digits, trailing zeros dropped, scientific ("1.5E-7", "1E20")
// when the exponent is below -4 or above 14; "NAN", "INF", "-INF".
std::string FloatToStr(double value);
std::string FloatToStr(double value, const TFormatSettings& settings);

// Leading and trailing blanks, an optional sign, digits with the decimal separator, an optional exponent
// ("E" or "e", optional sign, digits). Anything else raises EConvertError
// "'<s>' is not a valid floating point value".
double StrToFloat(std::string_view s);
double StrToFloat(std::string_view s, const TFormatSettings& settings);
double StrToFloatDef(std::string_view s, double defaultValue);
double StrToFloatDef(std::string_view s, double defaultValue, const TFormatSettings& settings);

// One argument of Format: an integer, a floating-point number or a string (a char is a one-character
// string). The string forms are views: an argument lives only for the Format call it is made for.
class FormatArg {
public:
  enum class Kind { Integer, Float, String };

  template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>)
  FormatArg(T value)
      : kind_(Kind::Integer),
        integer_(static_cast<int64_t>(value)),
        wide_(sizeof(T) > 4),
        unsigned_(std::is_unsigned_v<T> && sizeof(T) == 8) {}
  FormatArg(bool) = delete;
  FormatArg(char c) : kind_(Kind::String), string_(&char_, 1), char_(c) {}
  FormatArg(double value) : kind_(Kind::Float), float_(value) {}
  FormatArg(const char* s) : kind_(Kind::String), string_(s ? s : "") {}
  FormatArg(std::string_view s) : kind_(Kind::String), string_(s) {}
  FormatArg(const std::string& s) : kind_(Kind::String), string_(s) {}

  // Not copyable: a character argument views its own member. Format builds its list in place.
  FormatArg(const FormatArg&) = delete;
  FormatArg& operator=(const FormatArg&) = delete;

  Kind ArgKind() const { return kind_; }
  int64_t Integer() const { return integer_; }
  // The integer's bits as an unsigned number: 32 bits for int and narrower types, else 64.
  uint64_t UnsignedBits() const;
  // The integer as a signed decimal value; an unsigned 64-bit value above INT64_MAX stays positive.
  std::string IntegerDigits() const;
  double Float() const { return float_; }
  std::string_view String() const { return string_; }

private:
  Kind kind_;
  int64_t integer_ = 0;
  bool wide_ = false;
  bool unsigned_ = false;
  double float_ = 0;
  std::string_view string_;
  char char_ = 0;
};

// The class library's Format for the specifiers
//   "%" [index ":"] ["-"] [width] ["." precision] type
// with types d (decimal; precision = minimum digits), u (unsigned), x and X (upper-case hexadecimal;
// precision = minimum digits), s (string; precision = maximum characters), f (fixed; precision =
// decimals, 2 by default), n (as f, with thousand separators), e (scientific, precision significant
// digits, 15 by default), g (general, 15 by default), and "%%". An index selects the argument; later
// specifiers without one go on from it. Width pads with blanks, on the left unless "-" is given.
// A specifier that is malformed or does not fit its argument's kind raises EConvertError
// "Format '<format>' invalid or incompatible with argument"; a missing argument raises
// "No argument for format '<format>'".
std::string FormatArgs(const TFormatSettings& settings, std::string_view format, const FormatArg* args, size_t count);

template <typename... Args>
std::string Format(const TFormatSettings& settings, std::string_view format, const Args&... args) {
  const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
  return FormatArgs(settings, format, list.data(), list.size());
}

template <typename... Args>
std::string Format(std::string_view format, const Args&... args) {
  return Format(FormatSettings(), format, args...);
}

}  // namespace platform
