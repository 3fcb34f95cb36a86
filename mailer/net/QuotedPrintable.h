#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mailnet {

// Quoted-printable encoding of one text line (which holds no CR or LF), handed in as pieces in their
// order, so that a line of any length passes through a buffer of a fixed size: bytes outside printable
// ASCII, "=" and a blank or tab at the end of the line are written as "=XX", and soft line breaks ("="
// at the end) keep every encoded line within 76 characters. Each encoded line goes to `line` without a
// line end, the last one when the piece that ends the text line comes (which is empty only when the
// whole line is).
class TQuotedPrintableLine {
public:
  explicit TQuotedPrintableLine(std::function<void(std::string_view encoded)> line) : line_(std::move(line)) {}

  void Add(std::string_view piece, bool endsLine);

private:
  std::function<void(std::string_view)> line_;
  std::string current_;
};

// The encoded lines of a whole text line at once.
std::vector<std::string> QuotedPrintableLines(std::string_view line);

}  // namespace mailnet
