#include "platform/backends/X11SelectionText.h"

#include "platform/core/CodePages.h"
#include "platform/core/Utf8.h"

namespace platform {

namespace {

bool IsWellFormed(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const CodePoint c = DecodeCodePoint(text, i);
    if (!c.valid) return false;
    i += c.length;
  }
  return true;
}

}  // namespace

bool IsSelectionText(std::string_view text) { return text.find('\r') == std::string_view::npos && IsWellFormed(text); }

std::string SelectionText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const CodePoint c = DecodeCodePoint(text, i);
    i += c.length;
    if (c.value == '\r') {
      out += '\n';
      if (i < text.size() && text[i] == '\n') ++i;
    } else if (c.valid) {
      out.append(text.substr(i - c.length, c.length));
    } else {
      AppendCodePoint(out, CodePageChar(1252, static_cast<unsigned char>(c.value)));
    }
  }
  return out;
}

std::string Latin1FromUtf8(std::string_view utf8) {
  std::string latin1;
  latin1.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const CodePoint c = DecodeCodePoint(utf8, i);
    latin1 += c.valid && c.value <= 0xFF ? static_cast<char>(c.value) : '?';
    i += c.length;
  }
  return latin1;
}

std::string Utf8FromLatin1(std::string_view latin1) {
  std::string utf8;
  utf8.reserve(latin1.size());
  for (const char c : latin1) AppendCodePoint(utf8, static_cast<unsigned char>(c));
  return utf8;
}

std::string ReadableText(std::string text) {
  if (IsWellFormed(text)) return text;
  return EncodeText(DecodeText(text));
}

}  // namespace platform
