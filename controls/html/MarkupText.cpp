#include "controls/html/MarkupText.h"

#include <algorithm>

#include "platform/core/Ascii.h"
#include "platform/core/StrUtils.h"

namespace controls {

namespace {

// The text outside tags. A tag runs from a "<" to the first ">" after it; from a "<" without one on,
// the text is kept when keepUnclosed is set and left out otherwise.
std::string TextOutsideTags(std::string_view s, bool keepUnclosed) {
  std::string out;
  size_t from = 0;
  while (from < s.size()) {
    const size_t lt = s.find('<', from);
    const size_t gt = lt == std::string_view::npos ? lt : s.find('>', lt);
    if (gt == std::string_view::npos) {
      if (keepUnclosed || lt == std::string_view::npos) out.append(s.substr(from));
      else out.append(s.substr(from, lt - from));
      break;
    }
    out.append(s.substr(from, lt - from));
    from = gt + 1;
  }
  return out;
}

}  // namespace

size_t FindText(std::string_view s, std::string_view sub, size_t from) {
  if (sub.empty() || sub.size() > s.size()) return std::string_view::npos;
  const char first = platform::AsciiUpper(sub[0]);
  for (size_t i = from; i + sub.size() <= s.size(); ++i) {
    if (platform::AsciiUpper(s[i]) != first) continue;
    size_t k = 1;
    while (k < sub.size() && platform::AsciiUpper(s[i + k]) == platform::AsciiUpper(sub[k])) ++k;
    if (k == sub.size()) return i;
  }
  return std::string_view::npos;
}

std::string ReplaceAllText(std::string_view s, std::string_view sub, std::string_view replacement) {
  std::string out;
  size_t from = 0;
  for (size_t p = FindText(s, sub); p != std::string_view::npos; p = FindText(s, sub, from)) {
    out.append(s.substr(from, p - from)).append(replacement);
    from = p + sub.size();
  }
  return out.append(s.substr(from));
}

std::string StripHTML(std::string_view markup) {
  const std::string text = ReplaceAllText(ReplaceAllText(markup, "<BR>", "\r\n"), "<HR>", "\r\n");
  return TextOutsideTags(text, true);
}

std::string VisibleText(std::string_view markup) { return TextOutsideTags(markup, false); }

int VisibleToRaw(std::string_view markup, int k) {
  int visible = 1;
  bool inTag = false;
  for (size_t i = 0; i < markup.size(); ++i) {
    if (markup[i] == '<') inTag = true;
    if (visible == k) return static_cast<int>(i) + 1;
    if (!inTag) ++visible;
    if (markup[i] == '>') inTag = false;
  }
  return visible == k ? static_cast<int>(markup.size()) + 1 : 0;
}

int FindVisible(std::string_view search, std::string_view visible, int start, int& found, bool caseSensitive) {
  found = 0;
  if (search.empty() || start < 0 || static_cast<size_t>(start) > visible.size()) return 0;
  const std::string_view rest = visible.substr(static_cast<size_t>(start));
  const size_t p = caseSensitive ? rest.find(search) : FindText(rest, search);
  if (p == std::string_view::npos) return 0;
  found = start + static_cast<int>(p) + 1;
  return found;
}

void HilightHTML(std::string_view markup, std::string_view search, std::string_view tag, std::string& result,
                 bool caseSensitive) {
  std::string text(markup);
  const std::string open = "<" + std::string(tag) + ">";
  const std::string close = "</" + std::string(tag) + ">";
  const std::string visible = VisibleText(text);
  // A match's opening tag goes after the previous match's closing tag, also when the two matches
  // touch (a visible character maps to the first of the tags before it).
  int afterClose = 1;
  int start = 0;
  int found = 0;
  while (!search.empty() && FindVisible(search, visible, start, found, caseSensitive) >= 1) {
    start = found + static_cast<int>(search.size()) - 1;
    const int openAt = std::max(VisibleToRaw(text, found), afterClose);
    platform::Insert(open, text, openAt);
    const int closeAt = VisibleToRaw(text, start + 1);
    platform::Insert(close, text, closeAt);
    afterClose = closeAt + static_cast<int>(close.size());
  }
  result = std::move(text);
}

void UnHilightHTML(std::string_view markup, std::string_view tag, std::string& result) {
  std::string text(markup);
  for (const std::string& t : {"<" + std::string(tag) + ">", "</" + std::string(tag) + ">"}) {
    // Removing one occurrence can join the text around it into a new one, which starts at most
    // t.size() - 1 bytes earlier; no occurrence lies before that.
    size_t from = 0;
    for (size_t p = FindText(text, t); p != std::string::npos; p = FindText(text, t, from)) {
      text.erase(p, t.size());
      from = p >= t.size() - 1 ? p - (t.size() - 1) : 0;
    }
  }
  result = std::move(text);
}

int VarPos(std::string_view sub, std::string_view s, int& position) {
  position = platform::Pos(sub, s);
  return position;
}

int IPos(std::string_view sub, std::string_view s) {
  const size_t p = FindText(s, sub);
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

bool ReplaceFirst(std::string_view entity, std::string_view replacement, std::string& s) {
  const size_t p = FindText(s, entity);
  if (p == std::string::npos) return false;
  s.replace(p, entity.size(), replacement);
  return true;
}

}  // namespace controls
