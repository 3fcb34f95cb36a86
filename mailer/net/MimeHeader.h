#pragma once

#include <string>
#include <string_view>
#include <vector>

// Helpers that keep header lines and commands well formed: refusing control characters, encoding text
// with bytes of 0x80 and above, and folding lines that would pass the 998-octet limit.
namespace mailnet {

constexpr size_t kMaxLineOctets = 998;  // longest line of a message, without its CR LF

// True for the characters of an atom of RFC 5322: letters, digits and !#$%&'*+-/=?^_`{|}~.
bool IsAtomText(char c);

// True when every byte is below 0x80.
bool IsAscii(std::string_view text);

// Raises platform::Exception "Unzulässiges Steuerzeichen in <what>" when text holds a byte below 0x20
// other than tab, or 0x7F: CR and LF in a value would end the header line or the command early.
void CheckNoControlChars(std::string_view what, std::string_view text);

// Raises platform::Exception "8-Bit-Zeichen in <what> (ohne SMTPUTF8 nicht möglich)" unless text is
// ASCII: after a plain HELO no byte of 0x80 and above may reach a command or the message.
void CheckAscii(std::string_view what, std::string_view text);

// The charset that labels text with bytes of 0x80 and above: the given one, or utf-8 (the encoding of
// every string here) when the given one is us-ascii and cannot hold such bytes.
std::string EightBitCharset(const std::string& charset);

// The text as valid UTF-8: each byte that begins no well-formed sequence is read as its Windows-1252
// character (text that is no UTF-8 is most likely in that code page).
std::string Utf8Text(std::string_view text);

// Text as encoded words ("=?charset?B?...?="), each within 75 characters and whole characters of
// UTF-8, joined by CR LF and a blank so that a header line folds between them. Under utf-8 the text is
// made valid UTF-8 first (Utf8Text).
std::string EncodedWords(std::string_view text, std::string_view charset);

// An unstructured header value as it goes into the line "Name: value": unchanged when it is ASCII, the
// line fits in 998 octets and no part of it would be read as an encoded word ("=?...?="), otherwise as
// encoded words.
std::string HeaderText(std::string_view name, std::string_view value, std::string_view charset);

// A display name (trimmed) as the phrase of an address: unchanged when it is words of atom characters,
// a quoted string when it holds other ASCII (commas, dots, quotes, "<"), encoded words when it holds bytes
// of 0x80 and above or text that would be read as an encoded word.
std::string Phrase(std::string_view name, std::string_view charset);

// "Name: " and the entries joined by ","; a line that would pass 998 octets is folded after commas.
std::string AddressListLine(std::string_view name, const std::vector<std::string>& entries);

// A file-name parameter of a Content-Type or Content-Disposition line: name="file" with quotes and
// backslashes escaped, or, for a name with bytes of 0x80 and above, name*=utf-8''percent-encoded.
std::string FileNameParameter(std::string_view parameter, std::string_view fileName);

}  // namespace mailnet
