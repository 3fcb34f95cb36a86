#pragma once

#include <string>
#include <string_view>

namespace platform {

// Text as it crosses the X selections. The program's text has CR LF line ends and may hold bytes that
// are no UTF-8 (the edits show each such byte as its Windows-1252 character); other X programs expect
// LF line ends and well-formed UTF-8. Each reading of a malformed byte below is that Windows-1252 one,
// so every form offered of one copy (UTF-8, Latin-1, rich text) says the same.

// Whether the text already goes out as it is: well-formed UTF-8 without a CR.
bool IsSelectionText(std::string_view text);
// The text as other programs get it: CR LF and a lone CR become LF, malformed bytes their Windows-1252
// characters.
std::string SelectionText(std::string_view text);

// Well-formed UTF-8 as Latin-1 (STRING); characters beyond it become '?'.
std::string Latin1FromUtf8(std::string_view utf8);
std::string Utf8FromLatin1(std::string_view latin1);

// Text read from another program, as the program takes it: malformed bytes become their Windows-1252
// characters; line ends stay as they came (the edits take any).
std::string ReadableText(std::string text);

}  // namespace platform
