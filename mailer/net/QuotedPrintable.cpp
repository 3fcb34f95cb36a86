#include "mailer/net/QuotedPrintable.h"

#include <cstdint>

#include "platform/core/StrUtils.h"

namespace mailnet {

namespace {

constexpr size_t kMaxLine = 76;  // including the "=" of a soft line break

std::string Token(std::string_view line, size_t i) {
  auto byte = static_cast<uint8_t>(line[i]);
  bool last = i + 1 == line.size();
  bool literal = (byte >= 33 && byte <= 126 && byte != '=') || ((byte == ' ' || byte == '\t') && !last);
  if (literal) return std::string(1, static_cast<char>(byte));
  return "=" + platform::HexDigits(byte, 2);
}

}  // namespace

std::vector<std::string> QuotedPrintableLines(std::string_view line) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < line.size(); ++i) {
    std::string token = Token(line, i);
    bool last = i + 1 == line.size();
    // A line that goes on needs room for the soft break's "="; the last token of the text does not.
    size_t limit = last ? kMaxLine : kMaxLine - 1;
    if (lines.back().size() + token.size() > limit) {
      lines.back() += '=';
      lines.emplace_back();
    }
    lines.back() += token;
  }
  return lines;
}

}  // namespace mailnet
