#include "mailer/net/MimeHeader.h"

#include <algorithm>
#include <cstdint>

#include "mailer/net/MlUUE.h"
#include "platform/core/Ascii.h"
#include "platform/core/Exception.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Utf8.h"

namespace mailnet {

namespace {

constexpr size_t kMaxEncodedWord = 75;
constexpr size_t kFoldWidth = 78;  // the width a folded line keeps to where its entries allow

bool IsControl(uint8_t byte) { return (byte < 0x20 && byte != '\t') || byte == 0x7F; }

// The length of the longest start of text within maxBytes that holds whole characters; at least one byte.
size_t WholeCharacters(std::string_view text, size_t maxBytes) {
  size_t n = 0;
  while (n < text.size() && platform::NextCodePoint(text, n) <= maxBytes) n = platform::NextCodePoint(text, n);
  return std::max<size_t>(n, 1);
}

// Text that a reader would decode: "=?" with a "?=" after it.
bool LooksEncoded(std::string_view text) {
  size_t open = text.find("=?");
  return open != std::string_view::npos && text.find("?=", open + 2) != std::string_view::npos;
}

}  // namespace

bool IsAtomText(char c) {
  return platform::IsAsciiAlnum(c) || std::string_view("!#$%&'*+-/=?^_`{|}~").find(c) != std::string_view::npos;
}

bool IsAscii(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<uint8_t>(c) >= 0x80; });
}

void CheckNoControlChars(std::string_view what, std::string_view text) {
  if (std::any_of(text.begin(), text.end(), [](char c) { return IsControl(static_cast<uint8_t>(c)); })) {
    throw platform::Exception("Unzulässiges Steuerzeichen in " + std::string(what));
  }
}

void CheckAscii(std::string_view what, std::string_view text) {
  if (!IsAscii(text)) throw platform::Exception("8-Bit-Zeichen in " + std::string(what) + " (ohne SMTPUTF8 nicht möglich)");
}

std::string EightBitCharset(const std::string& charset) {
  return platform::SameText(charset, "us-ascii") ? "utf-8" : charset;
}

std::string Utf8Text(std::string_view text) { return platform::EncodeText(platform::DecodeText(text)); }

std::string EncodedWords(std::string_view value, std::string_view charset) {
  const bool utf8 = platform::SameText(charset, "utf-8");
  const std::string repaired = utf8 ? Utf8Text(value) : std::string();
  std::string_view text = utf8 ? std::string_view(repaired) : value;
  const std::string prefix = "=?" + std::string(charset) + "?B?";
  const size_t room = kMaxEncodedWord > prefix.size() + 2 ? kMaxEncodedWord - prefix.size() - 2 : 4;
  const size_t maxBytes = std::max<size_t>(room / 4 * 3, 3);
  std::string words;
  while (!text.empty()) {
    // A UTF-8 word holds whole characters.
    size_t n = utf8 ? WholeCharacters(text, maxBytes) : std::min(maxBytes, text.size());
    if (!words.empty()) words += "\r\n ";
    words += prefix + Base64Text(text.substr(0, n)) + "?=";
    text.remove_prefix(n);
  }
  return words;
}

std::string HeaderText(std::string_view name, std::string_view value, std::string_view charset) {
  bool ascii = IsAscii(value);
  if (ascii && name.size() + 2 + value.size() <= kMaxLineOctets && !LooksEncoded(value)) return std::string(value);
  return EncodedWords(value, ascii ? "us-ascii" : EightBitCharset(std::string(charset)));
}

std::string Phrase(std::string_view name, std::string_view charset) {
  std::string trimmed = platform::Trim(name);
  if (!IsAscii(trimmed) || LooksEncoded(trimmed)) {
    return EncodedWords(trimmed, IsAscii(trimmed) ? "us-ascii" : EightBitCharset(std::string(charset)));
  }
  bool atoms = true;
  for (size_t i = 0; i < trimmed.size(); ++i) {
    bool blankBetweenWords = trimmed[i] == ' ' && trimmed[i - 1] != ' ';
    if (!IsAtomText(trimmed[i]) && !blankBetweenWords) atoms = false;
  }
  if (atoms) return trimmed;
  std::string quoted = "\"";
  for (char c : trimmed) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string AddressListLine(std::string_view name, const std::vector<std::string>& entries) {
  std::string line = std::string(name) + ": ";
  size_t total = line.size();
  for (const std::string& entry : entries) total += entry.size() + 1;
  bool fold = total > kMaxLineOctets + 1;
  size_t lineStart = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) {
      line += ',';
      if (fold && line.size() - lineStart + entries[i].size() > kFoldWidth) {
        line += "\r\n ";
        lineStart = line.size() - 1;
      }
    }
    line += entries[i];
  }
  return line;
}

std::string FileNameParameter(std::string_view parameter, std::string_view fileName) {
  std::string text(parameter);
  if (IsAscii(fileName)) {
    text += "=\"";
    for (char c : fileName) {
      if (c == '"' || c == '\\') text += '\\';
      text += c;
    }
    return text + "\"";
  }
  text += "*=utf-8''";
  for (char c : fileName) {
    auto byte = static_cast<uint8_t>(c);
    bool plain = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                 byte == '.' || byte == '-' || byte == '_';
    if (plain) {
      text += c;
    } else {
      text += '%' + platform::HexDigits(byte, 2);
    }
  }
  return text;
}

}  // namespace mailnet
