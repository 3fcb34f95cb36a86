#pragma once

#include <optional>

namespace platform {

// The single-byte code pages of Western documents: Windows-1252 and the DOS code page 850. Any other
// number is read as 1252, the code page such documents use when they name none or an unknown one.

// The character of a byte in the code page (a byte that the page leaves unassigned stands for itself).
char32_t CodePageChar(int codePage, unsigned char byte);

// The byte of a character in the code page, none when the page has no such character.
std::optional<unsigned char> CodePageByte(int codePage, char32_t c);

}  // namespace platform
