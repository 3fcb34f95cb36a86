#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// UTF-8 text, one character (code point) at a time. A byte that does not begin a well-formed sequence
// (a stray continuation byte, a cut or overlong sequence, a surrogate, a value beyond U+10FFFF) is one
// character of its own, so every string, however malformed, splits into characters without loss, and
// NextCodePoint and PreviousCodePoint always agree on where characters begin.

// One decoded character: its value and its length in bytes (1 to 4). A byte that is no valid sequence
// gives `valid` false, `length` 1 and the byte itself as its value.
struct CodePoint {
  char32_t value = 0;
  size_t length = 0;
  bool valid = false;
};

// The character that begins at `index` (which must be below text.size()).
CodePoint DecodeCodePoint(std::string_view text, size_t index);

// Where the character after the one at `index` begins; text.size() at most.
size_t NextCodePoint(std::string_view text, size_t index);

// Where the character that ends at `index` begins; 0 at `index` 0.
size_t PreviousCodePoint(std::string_view text, size_t index);

// The number of characters of the text.
size_t CodePointCount(std::string_view text);

// Appends the UTF-8 sequence of `c`, a Unicode scalar value (not a surrogate, at most U+10FFFF).
void AppendCodePoint(std::string& out, char32_t c);

// The text as code points, as it is drawn: a byte that is no valid sequence stands for its Windows-1252
// character.
std::u32string DecodeText(std::string_view text);
// The same into `out`, which it replaces: a caller that decodes often keeps one buffer.
void DecodeTextInto(std::string_view text, std::u32string& out);
// Code points as UTF-8 (each a Unicode scalar value).
std::string EncodeText(std::u32string_view text);

}  // namespace platform
