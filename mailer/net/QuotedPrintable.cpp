#include "mailer/net/QuotedPrintable.h"

#include <cstdint>

#include "platform/core/StrUtils.h"

namespace mailnet {

namespace {

constexpr size_t kMaxLine = 76;  // including the "=" of a soft line break

std::string Token(uint8_t byte, bool last) {
  bool literal = (byte >= 33 && byte <= 126 && byte != '=') || ((byte == ' ' || byte == '\t') && !last);
  if (literal) return std::string(1, static_cast<char>(byte));
  return "=" + platform::HexDigits(byte, 2);
}

}  // namespace

void TQuotedPrintableLine::Add(std::string_view piece, bool endsLine) {
  for (size_t i = 0; i < piece.size(); ++i) {
    const bool last = endsLine && i + 1 == piece.size();
    const std::string token = Token(static_cast<uint8_t>(piece[i]), last);
    // A line that goes on needs room for the soft break's "="; the last token of the text does not.
    const size_t limit = last ? kMaxLine : kMaxLine - 1;
    if (current_.size() + token.size() > limit) {
      current_ += '=';
      line_(current_);
      current_.clear();
    }
    current_ += token;
  }
  if (!endsLine) return;
  line_(current_);
  current_.clear();
}

std::vector<std::string> QuotedPrintableLines(std::string_view line) {
  std::vector<std::string> lines;
  TQuotedPrintableLine encoder([&](std::string_view encoded) { lines.emplace_back(encoded); });
  encoder.Add(line, true);
  return lines;
}

}  // namespace mailnet
