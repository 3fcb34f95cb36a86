#include "platform/edits/ParagraphLines.h"

#include <algorithm>
#include <cstddef>

#include "platform/edits/EditText.h"

namespace platform {

namespace {

// Appends the starts of the paragraphs that begin in [start, end) of the text (and at end, when that is
// the text's end, which a line break there begins); a paragraph begins at `start` and after every line
// break.
void AppendParagraphStarts(std::string_view text, size_t start, size_t end, bool toTextEnd, std::vector<size_t>& starts) {
  starts.push_back(start);
  // The next CR and the next LF, each found with one fast search of its own.
  const std::string_view within = text.substr(0, end);
  size_t cr = within.find('\r', start), lf = within.find('\n', start);
  for (size_t pos = std::min(cr, lf); pos != std::string_view::npos; pos = std::min(cr, lf)) {
    pos += LineBreakAt(text, pos);
    if (cr < pos) cr = within.find('\r', pos);
    if (lf < pos) lf = within.find('\n', pos);
    if (pos < end || (toTextEnd && pos == end)) starts.push_back(pos);
  }
}

}  // namespace

void TParagraphLines::Find(std::string_view text) {
  paragraphs_.clear();
  AppendParagraphStarts(text, 0, text.size(), true, paragraphs_);
  const size_t lineCount = paragraphs_.size() - (paragraphs_.back() == text.size() ? 1 : 0);
  bool mirrors = static_cast<size_t>(lines_.Count()) == lineCount;
  for (int i = 0; mirrors && i < lines_.Count(); ++i)
    mirrors = lines_.StoredString(i).find_first_of("\r\n") == std::string::npos;
  if (!mirrors) paragraphs_.clear();
}

size_t TParagraphLines::ParagraphOf(size_t pos) const {
  return static_cast<size_t>(std::upper_bound(paragraphs_.begin(), paragraphs_.end(), pos) - paragraphs_.begin() - 1);
}

bool TParagraphLines::FollowInLine(const std::string& text, size_t from, size_t removed, size_t inserted) {
  const size_t index = ParagraphOf(from);
  if (index >= static_cast<size_t>(lines_.Count())) return false;  // the empty paragraph after a final break
  const size_t start = paragraphs_[index], length = lines_.StoredString(static_cast<int>(index)).size();
  if (from + removed > start + length) return false;  // into its break
  // A last paragraph left empty is no line.
  if (index + 1 == paragraphs_.size() && length - removed + inserted == 0) return false;
  const std::string_view with = std::string_view(text).substr(from, inserted);
  if (with.find_first_of("\r\n") != std::string_view::npos) return false;
  // A CR before the change and an LF after it make one break where the change leaves nothing between.
  if (from > 0 && text[from - 1] == '\r' && from + inserted < text.size() && text[from + inserted] == '\n') return false;
  lines_.ReplaceInString(static_cast<int>(index), from - start, removed, with);
  const auto delta = static_cast<std::ptrdiff_t>(inserted) - static_cast<std::ptrdiff_t>(removed);
  for (size_t i = index + 1; i < paragraphs_.size(); ++i) paragraphs_[i] += delta;
  return true;
}

void TParagraphLines::Follow(const std::string& text, size_t from, size_t removed, size_t inserted) {
  if (FollowInLine(text, from, removed, inserted)) return;
  const auto delta = static_cast<std::ptrdiff_t>(inserted) - static_cast<std::ptrdiff_t>(removed);
  // From the paragraph before the change to the one after it, for line breaks that it joins or splits.
  size_t first = ParagraphOf(from);
  if (first > 0) --first;
  const size_t after = std::min(ParagraphOf(from + removed) + 2, paragraphs_.size());
  const size_t start = paragraphs_[first];
  const size_t end = after < paragraphs_.size() ? paragraphs_[after] + delta : text.size();
  const bool lastReached = after == paragraphs_.size();
  std::vector<size_t> starts;
  AppendParagraphStarts(text, start, end, lastReached, starts);

  StringListUpdateGuard update(lines_);
  // The lines leave out an empty last paragraph: it is taken in while the change reaches it.
  if (lastReached && static_cast<size_t>(lines_.Count()) < paragraphs_.size()) lines_.Add({});
  const auto paragraphText = [&](size_t i) {
    const size_t begin = starts[i];
    size_t to = i + 1 < starts.size() ? starts[i + 1] : end;
    if (i + 1 < starts.size() || after < paragraphs_.size()) to = PreviousCaretStop(text, to);
    return std::string_view(text).substr(begin, to - begin);
  };
  const size_t oldCount = after - first;
  for (size_t i = 0; i < std::min(oldCount, starts.size()); ++i) {
    const std::string_view line = paragraphText(i);
    const int index = static_cast<int>(first + i);
    if (lines_.StoredString(index) != line) lines_.SetStrings(index, std::string(line));
  }
  for (size_t i = oldCount; i < starts.size(); ++i) lines_.Insert(static_cast<int>(first + i), std::string(paragraphText(i)));
  for (size_t i = starts.size(); i < oldCount; ++i) lines_.Delete(static_cast<int>(first + starts.size()));
  for (size_t i = after; i < paragraphs_.size(); ++i) paragraphs_[i] += delta;
  paragraphs_.erase(paragraphs_.begin() + static_cast<std::ptrdiff_t>(first), paragraphs_.begin() + static_cast<std::ptrdiff_t>(after));
  paragraphs_.insert(paragraphs_.begin() + static_cast<std::ptrdiff_t>(first), starts.begin(), starts.end());
  if (lastReached && text.size() == paragraphs_.back() && static_cast<size_t>(lines_.Count()) == paragraphs_.size())
    lines_.Delete(lines_.Count() - 1);
}

}  // namespace platform
