#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// An edit mask in the class library's language: up to three fields separated by ";": the mask, then
// "0" when Text leaves the literal characters out (anything else, or no field, keeps them), then the
// character that stands for a position not yet filled (default "_").
//
// In the mask, each of these is one position the user fills:
//   L  a letter (required)            l  a letter (optional)
//   A  a letter or digit (required)   a  a letter or digit (optional)
//   C  any character (required)       c  any character (optional)
//   0  a digit (required)             9  a digit (optional)
//   #  a digit, "+" or "-" (optional)
// and every other character is a literal that the edit shows and the user cannot change: "\" makes
// the next character a literal, "_" is a blank, ":" and "/" are the time and date separators of the
// format settings. ">" makes the positions after it upper case, "<" lower case, "<>" ends either.
// "!" (optional characters at the front) is accepted and changes nothing here.
//
// The edit text is the text as shown: one character per position, literals in place and the blank
// character where nothing has been typed. Positions are characters (code points).
class TEditMask {
public:
  TEditMask() = default;
  explicit TEditMask(std::string_view mask);

  bool Empty() const { return positions_.empty(); }
  // Whether Text keeps the literal characters (the second field).
  bool SavesLiterals() const { return savesLiterals_; }
  char32_t Blank() const { return blank_; }
  size_t Length() const { return positions_.size(); }
  bool IsLiteral(size_t position) const;
  // Whether the position takes the character; `c` comes back in the position's case.
  bool Accepts(size_t position, char32_t& c) const;

  // An edit text from any text, position by position: literals in place, a character a position does
  // not take becomes the blank.
  std::u32string EditTextOf(std::u32string_view text) const;
  // The edit text for a Text: with literals kept as EditTextOf, else its characters fill the
  // positions in turn.
  std::u32string EditTextOfText(std::u32string_view text) const;
  // The Text of an edit text: blanks become spaces and, unless the mask keeps them, literals go.
  std::u32string TextOf(std::u32string_view editText) const;
  // An edit text with no position filled.
  std::u32string EmptyEditText() const { return EditTextOf({}); }
  // True while some position still shows the blank.
  bool HasBlanks(std::u32string_view editText) const;

private:
  enum class TKind { Literal, Letter, LetterOrDigit, Any, Digit, DigitOrSign };
  enum class TCase { Keep, Upper, Lower };
  struct TPosition {
    TKind kind = TKind::Literal;
    TCase letterCase = TCase::Keep;
    char32_t literal = 0;
  };

  std::vector<TPosition> positions_;
  bool savesLiterals_ = true;
  char32_t blank_ = U'_';
};

}  // namespace platform
