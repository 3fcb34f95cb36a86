#pragma once

#include <string>
#include <string_view>

namespace platform {

// ASCII character classes and case. They never depend on the C library's locale, and every byte
// outside ASCII (a part of a UTF-8 sequence) is left alone and belongs to no class.

constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsAsciiAlnum(char c) { return IsAsciiDigit(c) || IsAsciiLetter(c); }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

// Comparison ignoring ASCII case; CompareText returns < 0, 0 or > 0 (the difference of the first
// differing bytes after upper-casing, else of the lengths).
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);

}  // namespace platform
