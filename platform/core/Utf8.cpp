#include "platform/core/Utf8.h"

#include <algorithm>

#include "platform/core/CodePages.h"

namespace platform {

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

CodePoint DecodeCodePoint(std::string_view text, size_t index) {
  const auto b = static_cast<unsigned char>(text[index]);
  const CodePoint invalid{b, 1, false};
  size_t length = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
  if (length == 0 || index + length > text.size()) return invalid;
  char32_t c = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
  for (size_t k = 1; k < length; ++k) {
    if (!IsContinuation(text[index + k])) return invalid;
    c = (c << 6) | (static_cast<unsigned char>(text[index + k]) & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are no characters.
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return invalid;
  return {c, length, true};
}

size_t NextCodePoint(std::string_view text, size_t index) {
  if (index >= text.size()) return text.size();
  return index + DecodeCodePoint(text, index).length;
}

size_t PreviousCodePoint(std::string_view text, size_t index) {
  index = std::min(index, text.size());
  if (index == 0) return 0;
  // A sequence is at most four bytes: its lead lies at most three continuation bytes back, and it is
  // the character before `index` only when it ends exactly there.
  size_t lead = index - 1;
  while (lead > 0 && index - lead < 4 && IsContinuation(text[lead])) --lead;
  return NextCodePoint(text, lead) == index ? lead : index - 1;
}

size_t CodePointCount(std::string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); i = NextCodePoint(text, i)) ++count;
  return count;
}

std::u32string DecodeText(std::string_view text) {
  std::u32string out;
  DecodeTextInto(text, out);
  return out;
}

void DecodeTextInto(std::string_view text, std::u32string& out) {
  out.clear();
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    CodePoint c = DecodeCodePoint(text, i);
    out.push_back(c.valid ? c.value : CodePageChar(1252, static_cast<unsigned char>(c.value)));
    i += c.length;
  }
}

void AppendCodePoint(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string EncodeText(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) AppendCodePoint(out, c);
  return out;
}

}  // namespace platform
