#include "platform/edits/EditMask.h"

#include "platform/core/FormatSettings.h"
#include "platform/core/Utf8.h"
#include "platform/edits/EditText.h"

namespace platform {

namespace {

// The mask's fields, split at the ";" that no "\" escapes.
std::vector<std::u32string> Fields(std::u32string_view mask) {
  std::vector<std::u32string> fields(1);
  for (size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == U'\\' && i + 1 < mask.size()) {
      fields.back() += mask.substr(i, 2);
      ++i;
    } else if (mask[i] == U';') {
      fields.emplace_back();
    } else {
      fields.back() += mask[i];
    }
  }
  return fields;
}

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

}  // namespace

TEditMask::TEditMask(std::string_view mask) {
  const std::vector<std::u32string> fields = Fields(DecodeText(mask));
  if (fields.size() > 1) savesLiterals_ = fields[1] != U"0";
  if (fields.size() > 2 && !fields[2].empty()) blank_ = fields[2][0];
  const std::u32string& spec = fields[0];
  TCase letterCase = TCase::Keep;
  for (size_t i = 0; i < spec.size(); ++i) {
    const char32_t c = spec[i];
    TPosition position;
    position.letterCase = letterCase;
    switch (c) {
      case U'!': continue;
      case U'>': letterCase = TCase::Upper; continue;
      case U'<':
        if (i + 1 < spec.size() && spec[i + 1] == U'>') {
          letterCase = TCase::Keep;
          ++i;
        } else {
          letterCase = TCase::Lower;
        }
        continue;
      case U'\\':
        if (++i >= spec.size()) continue;
        position.literal = spec[i];
        break;
      case U'L': case U'l': position.kind = TKind::Letter; break;
      case U'A': case U'a': position.kind = TKind::LetterOrDigit; break;
      case U'C': case U'c': position.kind = TKind::Any; break;
      case U'0': case U'9': position.kind = TKind::Digit; break;
      case U'#': position.kind = TKind::DigitOrSign; break;
      case U'_': position.literal = U' '; break;
      case U':': position.literal = static_cast<unsigned char>(FormatSettings().TimeSeparator); break;
      case U'/': position.literal = static_cast<unsigned char>(FormatSettings().DateSeparator); break;
      default: position.literal = c; break;
    }
    positions_.push_back(position);
  }
}

bool TEditMask::IsLiteral(size_t position) const {
  return position < positions_.size() && positions_[position].kind == TKind::Literal;
}

bool TEditMask::Accepts(size_t position, char32_t& c) const {
  if (position >= positions_.size() || c < 0x20 || c == 0x7F) return false;
  const TPosition& p = positions_[position];
  bool taken = false;
  switch (p.kind) {
    case TKind::Literal: return false;
    case TKind::Letter: taken = IsLetter(c); break;
    case TKind::LetterOrDigit: taken = IsLetter(c) || IsDigit(c); break;
    case TKind::Any: taken = true; break;
    case TKind::Digit: taken = IsDigit(c); break;
    case TKind::DigitOrSign: taken = IsDigit(c) || c == U'+' || c == U'-'; break;
  }
  if (taken && p.letterCase != TCase::Keep)
    c = ApplyCharCase(c, p.letterCase == TCase::Upper ? TEditCharCase::ecUpperCase : TEditCharCase::ecLowerCase);
  return taken;
}

std::u32string TEditMask::EditTextOf(std::u32string_view text) const {
  std::u32string edit;
  for (size_t i = 0; i < positions_.size(); ++i) {
    char32_t c = i < text.size() ? text[i] : blank_;
    if (IsLiteral(i))
      c = positions_[i].literal;
    else if (!Accepts(i, c))
      c = blank_;
    edit += c;
  }
  return edit;
}

std::u32string TEditMask::EditTextOfText(std::u32string_view text) const {
  if (savesLiterals_) return EditTextOf(text);
  std::u32string edit = EmptyEditText();
  size_t next = 0;
  for (size_t i = 0; i < edit.size(); ++i) {
    if (IsLiteral(i)) continue;
    if (next >= text.size()) break;
    char32_t c = text[next++];
    if (Accepts(i, c)) edit[i] = c;
  }
  return edit;
}

std::u32string TEditMask::TextOf(std::u32string_view editText) const {
  std::u32string text;
  for (size_t i = 0; i < editText.size(); ++i) {
    if (IsLiteral(i) && !savesLiterals_) continue;
    text += !IsLiteral(i) && editText[i] == blank_ ? U' ' : editText[i];
  }
  return text;
}

bool TEditMask::HasBlanks(std::u32string_view editText) const {
  for (size_t i = 0; i < positions_.size(); ++i)
    if (!IsLiteral(i) && (i >= editText.size() || editText[i] == blank_)) return true;
  return false;
}

}  // namespace platform
