#include "platform/core/StrUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/core/Exception.h"
#include "platform/core/Utf8.h"

namespace platform {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

int HexValue(char c) {
  if (IsAsciiDigit(c)) return c - '0';
  c = AsciiUpper(c);
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The byte length of the first maxChars characters of s.
size_t CharPrefixBytes(std::string_view s, size_t maxChars) {
  size_t bytes = 0;
  for (size_t chars = 0; chars < maxChars && bytes < s.size(); ++chars) bytes = NextCodePoint(s, bytes);
  return bytes;
}

// A finite number as decimal digits: value = 0.d1 d2 d3 ... * 10^exponent, digits without leading or
// trailing zeros (empty for zero).
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

void StripTrailingZeros(Decimal& d) {
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.exponent = 0;
}

// The shortest decimal form that reads back as the same double, so that rounding it afterwards gives the
// results a person expects (1.005 to two decimals is 1.01, 0.1 + 0.2 to 15 digits is 0.3).
Decimal ToDecimal(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  std::string_view text(buffer, result.ptr - buffer);
  Decimal d;
  size_t i = 0;
  if (text[i] == '-') {
    d.negative = true;
    ++i;
  }
  for (; text[i] != 'e'; ++i) {
    if (text[i] != '.') d.digits += text[i];
  }
  ++i;
  if (text[i] == '+') ++i;
  int exponent = 0;
  std::from_chars(text.data() + i, text.data() + text.size(), exponent);
  d.exponent = exponent + 1;
  StripTrailingZeros(d);
  return d;
}

// Keeps `count` significant digits (none when count <= 0), rounding half away from zero.
void RoundDigits(Decimal& d, int count) {
  if (static_cast<int>(d.digits.size()) <= count) return;
  if (count < 0) {
    d.digits.clear();
    d.exponent = 0;
    return;
  }
  bool up = d.digits[count] >= '5';
  d.digits.resize(count);
  if (up) {
    int i = count - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    }
  }
  StripTrailingZeros(d);
}

char DigitAt(const Decimal& d, int index) {
  return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[index] : '0';
}

std::string SpecialValue(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

std::string ExponentText(int exponent, int minDigits, bool plusSign) {
  std::string text = exponent < 0 ? "-" : (plusSign ? "+" : "");
  std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  if (static_cast<int>(digits.size()) < minDigits) text.append(minDigits - digits.size(), '0');
  return text + digits;
}

// "-d.ddd...E+ddd" with `precision` significant digits and at least three exponent digits.
std::string ScientificText(double value, int precision, char decimalSeparator) {
  if (!std::isfinite(value)) return SpecialValue(value);
  precision = std::clamp(precision, 1, 18);
  Decimal d = ToDecimal(value);
  RoundDigits(d, precision);
  std::string text = d.negative && !d.digits.empty() ? "-" : "";
  text += DigitAt(d, 0);
  if (precision > 1) {
    text += decimalSeparator;
    for (int i = 1; i < precision; ++i) text += DigitAt(d, i);
  }
  return text + "E" + ExponentText(d.digits.empty() ? 0 : d.exponent - 1, 3, true);
}

// Fixed notation with `decimals` decimals; thousandSeparator 0 means no grouping. Values with more than
// 18 integer digits are written in scientific notation.
std::string FixedText(double value, int decimals, char decimalSeparator, char thousandSeparator) {
  if (!std::isfinite(value)) return SpecialValue(value);
  decimals = std::clamp(decimals, 0, 18);
  Decimal d = ToDecimal(value);
  if (d.exponent > 18) return ScientificText(value, 15, decimalSeparator);
  RoundDigits(d, d.exponent + decimals);
  std::string integerPart;
  for (int i = 0; i < d.exponent; ++i) integerPart += DigitAt(d, i);
  if (integerPart.empty()) integerPart = "0";
  std::string text = d.negative && !d.digits.empty() ? "-" : "";
  for (size_t i = 0; i < integerPart.size(); ++i) {
    if (thousandSeparator != 0 && i > 0 && (integerPart.size() - i) % 3 == 0) text += thousandSeparator;
    text += integerPart[i];
  }
  if (decimals > 0) {
    text += decimalSeparator;
    for (int i = 0; i < decimals; ++i) text += DigitAt(d, d.exponent + i);
  }
  return text;
}

// The shortest text with at most `precision` significant digits: fixed notation unless the decimal
// exponent is above precision - 1 or below -4.
std::string GeneralText(double value, int precision, int exponentDigits, char decimalSeparator) {
  if (!std::isfinite(value)) return SpecialValue(value);
  precision = std::clamp(precision, 1, 18);
  Decimal d = ToDecimal(value);
  RoundDigits(d, precision);
  if (d.digits.empty()) return "0";
  std::string text = d.negative ? "-" : "";
  int count = static_cast<int>(d.digits.size());
  if (d.exponent > precision || d.exponent < -3) {
    text += d.digits[0];
    if (count > 1) text += decimalSeparator + d.digits.substr(1);
    return text + "E" + ExponentText(d.exponent - 1, exponentDigits, false);
  }
  if (d.exponent <= 0) return text + "0" + decimalSeparator + std::string(-d.exponent, '0') + d.digits;
  for (int i = 0; i < d.exponent; ++i) text += DigitAt(d, i);
  if (count > d.exponent) text += decimalSeparator + d.digits.substr(d.exponent);
  return text;
}

std::string_view SkipLeadingSpaces(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return s.substr(i);
}

bool TryStrToInt(std::string_view s, int& value) {
  std::string_view rest = SkipLeadingSpaces(s);
  bool negative = false;
  if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
    negative = rest[0] == '-';
    rest.remove_prefix(1);
  }
  bool hex = false;
  if (!rest.empty() && rest[0] == '$') {
    hex = true;
    rest.remove_prefix(1);
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    hex = true;
    rest.remove_prefix(2);
  }
  if (rest.empty()) return false;
  const uint64_t limit = hex ? 0xFFFFFFFFu : (negative ? 2147483648u : 2147483647u);
  uint64_t magnitude = 0;
  for (char c : rest) {
    int digit = hex ? HexValue(c) : (IsAsciiDigit(c) ? c - '0' : -1);
    if (digit < 0) return false;
    magnitude = magnitude * (hex ? 16 : 10) + digit;
    if (magnitude > limit) return false;
  }
  uint32_t bits = static_cast<uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  value = static_cast<int32_t>(bits);
  return true;
}

bool TryStrToFloat(std::string_view s, double& value, char decimalSeparator) {
  size_t begin = 0, end = s.size();
  while (begin < end && s[begin] == ' ') ++begin;
  while (end > begin && s[end - 1] == ' ') --end;
  std::string_view text = s.substr(begin, end - begin);

  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::string integerDigits, fractionDigits;
  while (i < text.size() && IsAsciiDigit(text[i])) integerDigits += text[i++];
  if (i < text.size() && text[i] == decimalSeparator) {
    ++i;
    while (i < text.size() && IsAsciiDigit(text[i])) fractionDigits += text[i++];
  }
  if (integerDigits.empty() && fractionDigits.empty()) return false;
  std::string exponentDigits;
  bool negativeExponent = false;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    while (i < text.size() && IsAsciiDigit(text[i])) exponentDigits += text[i++];
    if (exponentDigits.empty()) return false;
  }
  if (i != text.size()) return false;

  // Rebuilt in the C form that from_chars reads, which does not depend on the process's locale.
  std::string plain = (negative ? "-" : "") + (integerDigits.empty() ? "0" : integerDigits) + "." +
                      fractionDigits + "e" + (negativeExponent ? "-" : "") +
                      (exponentDigits.empty() ? "0" : exponentDigits);
  double result = 0;
  auto [ptr, error] = std::from_chars(plain.data(), plain.data() + plain.size(), result);
  if (error == std::errc::result_out_of_range) {
    // Too small to hold reads as zero, too large is an error.
    if (!negativeExponent) return false;
    result = negative ? -0.0 : 0.0;
  } else if (error != std::errc() || ptr != plain.data() + plain.size()) {
    return false;
  }
  value = result;
  return true;
}

}  // namespace

int Pos(std::string_view sub, std::string_view s) {
  if (sub.empty()) return 0;
  size_t found = s.find(sub);
  return found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
}

std::string Copy(std::string_view s, int index, int count) {
  if (index < 1) index = 1;
  if (count < 1 || static_cast<size_t>(index) > s.size()) return "";
  return std::string(s.substr(index - 1, count));
}

void Delete(std::string& s, int index, int count) {
  if (index < 1 || static_cast<size_t>(index) > s.size() || count < 1) return;
  s.erase(index - 1, count);
}

void Insert(std::string_view sub, std::string& s, int index) {
  if (index < 1) index = 1;
  size_t at = std::min(static_cast<size_t>(index - 1), s.size());
  s.insert(at, sub);
}

std::string Trim(std::string_view s) { return std::string(TrimmedView(s)); }

std::string_view TrimmedView(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t end = s.size();
  while (end > 0 && IsBlank(s[end - 1])) --end;
  return std::string(s.substr(0, end));
}

int CompareStr(std::string_view a, std::string_view b) {
  size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    int difference = static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
    if (difference != 0) return difference;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

int StrToInt(std::string_view s) {
  int value = 0;
  if (!TryStrToInt(s, value)) throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return value;
}

int StrToIntDef(std::string_view s, int defaultValue) {
  int value = 0;
  return TryStrToInt(s, value) ? value : defaultValue;
}

std::string HexDigits(uint64_t value, int digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kHex[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
  return text;
}

std::string FloatToStr(double value) { return FloatToStr(value, FormatSettings()); }

std::string FloatToStr(double value, const TFormatSettings& settings) {
  return GeneralText(value, 15, 0, settings.DecimalSeparator);
}

double StrToFloat(std::string_view s) { return StrToFloat(s, FormatSettings()); }

double StrToFloat(std::string_view s, const TFormatSettings& settings) {
  double value = 0;
  if (!TryStrToFloat(s, value, settings.DecimalSeparator)) {
    throw EConvertError("'" + std::string(s) + "' is not a valid floating point value");
  }
  return value;
}

double StrToFloatDef(std::string_view s, double defaultValue) {
  return StrToFloatDef(s, defaultValue, FormatSettings());
}

double StrToFloatDef(std::string_view s, double defaultValue, const TFormatSettings& settings) {
  double value = 0;
  return TryStrToFloat(s, value, settings.DecimalSeparator) ? value : defaultValue;
}

uint64_t FormatArg::UnsignedBits() const {
  return wide_ ? static_cast<uint64_t>(integer_) : static_cast<uint32_t>(integer_);
}

std::string FormatArg::IntegerDigits() const {
  return unsigned_ ? std::to_string(static_cast<uint64_t>(integer_)) : std::to_string(integer_);
}

std::string FormatArgs(const TFormatSettings& settings, std::string_view format, const FormatArg* args,
                       size_t count) {
  auto invalid = [&] {
    return EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
  };
  auto readNumber = [&](size_t& i, int& number) {
    size_t start = i;
    number = 0;
    while (i < format.size() && IsAsciiDigit(format[i])) {
      number = number * 10 + (format[i] - '0');
      if (number > 1'000'000) throw invalid();
      ++i;
    }
    return i > start;
  };

  std::string out;
  size_t nextArg = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    if (++i >= format.size()) throw invalid();
    if (format[i] == '%') {
      out += '%';
      continue;
    }
    int number = 0;
    bool hasNumber = readNumber(i, number);
    if (hasNumber && i < format.size() && format[i] == ':') {
      nextArg = number;
      ++i;
      hasNumber = false;
    }
    bool leftAlign = false;
    if (!hasNumber && i < format.size() && format[i] == '-') {
      leftAlign = true;
      ++i;
    }
    int width = 0;
    if (hasNumber) {
      width = number;
    } else {
      readNumber(i, width);
    }
    int precision = -1;
    if (i < format.size() && format[i] == '.') {
      ++i;
      if (!readNumber(i, precision)) throw invalid();
    }
    if (i >= format.size()) throw invalid();
    char type = AsciiLower(format[i]);
    if (std::string_view("duxsfneg").find(type) == std::string_view::npos) throw invalid();
    if (nextArg >= count) throw EConvertError("No argument for format '" + std::string(format) + "'");
    const FormatArg& arg = args[nextArg++];

    FormatArg::Kind needed = type == 's'                               ? FormatArg::Kind::String
                             : (type == 'd' || type == 'u' || type == 'x') ? FormatArg::Kind::Integer
                                                                            : FormatArg::Kind::Float;
    if (arg.ArgKind() != needed) throw invalid();

    std::string piece;
    switch (type) {
      case 'd':
      case 'u':
      case 'x': {
        std::string digits = type == 'd' ? arg.IntegerDigits()
                             : type == 'u' ? std::to_string(arg.UnsignedBits())
                                           : HexDigits(arg.UnsignedBits(), 0);
        bool negative = digits[0] == '-';
        if (negative) digits.erase(0, 1);
        if (precision > static_cast<int>(digits.size())) digits.insert(0, precision - digits.size(), '0');
        piece = (negative ? "-" : "") + digits;
        break;
      }
      case 's':
        piece = arg.String();
        if (precision >= 0) piece.resize(CharPrefixBytes(piece, precision));
        break;
      case 'f':
        piece = FixedText(arg.Float(), precision < 0 ? 2 : precision, settings.DecimalSeparator, 0);
        break;
      case 'n':
        piece = FixedText(arg.Float(), precision < 0 ? 2 : precision, settings.DecimalSeparator,
                          settings.ThousandSeparator);
        break;
      case 'e':
        piece = ScientificText(arg.Float(), precision < 0 ? 15 : precision, settings.DecimalSeparator);
        break;
      case 'g':
        piece = GeneralText(arg.Float(), precision < 0 ? 15 : precision, 3, settings.DecimalSeparator);
        break;
    }
    size_t chars = CodePointCount(piece);
    if (static_cast<size_t>(width) > chars) {
      std::string padding(width - chars, ' ');
      piece = leftAlign ? piece + padding : padding + piece;
    }
    out += piece;
  }
  return out;
}

}  // namespace platform
