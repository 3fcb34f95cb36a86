#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/StringList.h"

namespace platform {

// Keeps a string list equal to a text split at its line breaks (CR LF, a lone CR or a lone LF; no line
// after a break that ends the text), as TStringList::SetText splits it, following each change of the
// text in the paragraphs that it touches only.
class TParagraphLines {
public:
  explicit TParagraphLines(TStringList& lines) : lines_(lines) {}

  // Takes the lines as the ones of `text`, when they are: lines set by the program may hold line
  // breaks inside a line, and are then not followed until found again.
  void Find(std::string_view text);
  bool Known() const { return !paragraphs_.empty(); }
  // Makes the lines equal to `text` again after bytes [from, from + removed) of the text that they
  // were found or kept for became [from, from + inserted). Only when Known.
  void Follow(const std::string& text, size_t from, size_t removed, size_t inserted);

private:
  // Follow for a change inside one line that makes, removes, joins or splits no line break: only that
  // line changes, in place. False (nothing done) for any other change.
  bool FollowInLine(const std::string& text, size_t from, size_t removed, size_t inserted);
  size_t ParagraphOf(size_t pos) const;

  TStringList& lines_;
  // Where the text's paragraphs start: those that the lines hold and, when the text ends with a line
  // break, the empty one after it that the lines leave out.
  std::vector<size_t> paragraphs_;
};

}  // namespace platform
