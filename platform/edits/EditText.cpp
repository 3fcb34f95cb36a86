#include "platform/edits/EditText.h"

#include <locale.h>
#include <wctype.h>

#include "platform/core/Utf8.h"

namespace platform {

namespace {

enum class TCharClass { Blank, Word, Punctuation };

TCharClass ClassOf(char32_t c) {
  if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0xA0 || c == 0x3000) return TCharClass::Blank;
  if (c < 0x80 && !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'))
    return TCharClass::Punctuation;
  return TCharClass::Word;
}

TCharClass ClassAt(std::string_view text, size_t pos) { return ClassOf(DecodeCodePoint(text, pos).value); }

// The UTF-8 locale whose case tables cover all of Unicode, else the C locale's (ASCII only); made
// once, never freed.
locale_t CaseLocale() {
  static locale_t locale = [] {
    locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return utf8 ? utf8 : newlocale(LC_CTYPE_MASK, "C", nullptr);
  }();
  return locale;
}

}  // namespace

size_t NextCaretStop(std::string_view text, size_t pos) {
  if (pos >= text.size()) return text.size();
  if (size_t breakLength = LineBreakAt(text, pos)) return pos + breakLength;
  return NextCodePoint(text, pos);
}

size_t PreviousCaretStop(std::string_view text, size_t pos) {
  if (pos == 0) return 0;
  if (pos >= 2 && text[pos - 1] == '\n' && text[pos - 2] == '\r') return pos - 2;
  return PreviousCodePoint(text, pos);
}

size_t WordStartBefore(std::string_view text, size_t pos) {
  while (pos > 0 && ClassAt(text, PreviousCaretStop(text, pos)) == TCharClass::Blank)
    pos = PreviousCaretStop(text, pos);
  if (pos == 0) return 0;
  const TCharClass run = ClassAt(text, PreviousCaretStop(text, pos));
  while (pos > 0 && ClassAt(text, PreviousCaretStop(text, pos)) == run) pos = PreviousCaretStop(text, pos);
  return pos;
}

size_t WordStartAfter(std::string_view text, size_t pos) {
  if (pos >= text.size()) return text.size();
  const TCharClass run = ClassAt(text, pos);
  if (run != TCharClass::Blank)
    while (pos < text.size() && ClassAt(text, pos) == run) pos = NextCaretStop(text, pos);
  while (pos < text.size() && ClassAt(text, pos) == TCharClass::Blank && !LineBreakAt(text, pos))
    pos = NextCaretStop(text, pos);
  return pos;
}

void WordAround(std::string_view text, size_t pos, size_t& first, size_t& last) {
  first = last = pos;
  if (text.empty()) return;
  // At the end of the text or of a line, the word before the caret.
  if (pos >= text.size() || LineBreakAt(text, pos)) {
    if (pos == 0) return;
    pos = PreviousCaretStop(text, pos);
    if (LineBreakAt(text, pos)) return;
  }
  const TCharClass run = ClassAt(text, pos);
  first = pos;
  while (first > 0) {
    size_t before = PreviousCaretStop(text, first);
    if (LineBreakAt(text, before) || ClassAt(text, before) != run) break;
    first = before;
  }
  last = pos;
  while (last < text.size() && !LineBreakAt(text, last) && ClassAt(text, last) == run) last = NextCaretStop(text, last);
}

size_t LineBreakAt(std::string_view text, size_t pos) {
  if (pos >= text.size()) return 0;
  if (text[pos] == '\r') return pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
  return text[pos] == '\n' ? 1 : 0;
}

std::string FirstLine(std::string_view text) {
  size_t end = text.find_first_of("\r\n");
  return std::string(text.substr(0, end));
}

size_t CaretAfterHorizontalKey(std::string_view text, size_t anchor, size_t caret, bool forward, bool byWord,
                               bool extend) {
  if (caret != anchor && !extend && !byWord) return forward ? std::max(anchor, caret) : std::min(anchor, caret);
  if (byWord) return forward ? WordStartAfter(text, caret) : WordStartBefore(text, caret);
  return forward ? NextCaretStop(text, caret) : PreviousCaretStop(text, caret);
}

size_t DeletionEnd(std::string_view text, size_t anchor, size_t caret, TDeleteKey key) {
  if (anchor != caret) return anchor;
  return key == TDeleteKey::Delete ? NextCaretStop(text, caret) : PreviousCaretStop(text, caret);
}

size_t CaretStopAtOrBefore(std::string_view text, size_t pos) {
  if (pos >= text.size()) return text.size();
  for (size_t stop = PreviousCaretStop(text, pos);;) {
    const size_t next = NextCaretStop(text, stop);
    if (next > pos) return stop;
    stop = next;
  }
}

std::string WithoutControlCharacters(std::string_view text, bool keepTabs) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 || c == '\r' || c == '\n' || (c == '\t' && keepTabs)) out += c;
  }
  return out;
}

std::string WithCrLfBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    if (size_t breakLength = LineBreakAt(text, pos)) {
      out += "\r\n";
      pos += breakLength;
    } else {
      out += text[pos++];
    }
  }
  return out;
}

size_t ByteOfChar(std::string_view text, size_t index) {
  size_t pos = 0;
  for (; index > 0 && pos < text.size(); --index) pos = NextCodePoint(text, pos);
  return pos;
}

size_t CharOfByte(std::string_view text, size_t byte) { return CodePointCount(text.substr(0, byte)); }

std::string ApplyCharCase(std::string_view text, TEditCharCase charCase) {
  if (charCase == TEditCharCase::ecNormal) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    CodePoint c = DecodeCodePoint(text, pos);
    if (!c.valid) {
      out += text.substr(pos, c.length);
    } else {
      AppendCodePoint(out, ApplyCharCase(c.value, charCase));
    }
    pos += c.length;
  }
  return out;
}

char32_t ApplyCharCase(char32_t c, TEditCharCase charCase) {
  const auto wide = static_cast<wint_t>(c);
  switch (charCase) {
    case TEditCharCase::ecUpperCase: return static_cast<char32_t>(towupper_l(wide, CaseLocale()));
    case TEditCharCase::ecLowerCase: return static_cast<char32_t>(towlower_l(wide, CaseLocale()));
    default: return c;
  }
}

bool IsLetter(char32_t c) { return iswalpha_l(static_cast<wint_t>(c), CaseLocale()) != 0; }

}  // namespace platform
