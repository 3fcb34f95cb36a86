#include "grid/WildcardMatch.h"

namespace velmora {
namespace {

// The segment (stars excluded) against the text from position `at`, which leaves room for all of it.
bool SegmentAt(std::string_view segment, std::string_view text, size_t at, uint64_t& steps) {
  for (size_t i = 0; i < segment.size(); ++i) {
    ++steps;
    if (segment[i] != '?' && segment[i] != text[at + i]) return false;
  }
  return true;
}

bool MatchSegments(std::string_view pattern, std::string_view text, uint64_t& steps) {
  const size_t firstStar = pattern.find('*');
  if (firstStar == std::string_view::npos)
    return pattern.size() == text.size() && SegmentAt(pattern, text, 0, steps);

  const size_t lastStar = pattern.rfind('*');
  const std::string_view head = pattern.substr(0, firstStar);
  const std::string_view tail = pattern.substr(lastStar + 1);
  if (head.size() + tail.size() > text.size()) return false;
  const size_t end = text.size() - tail.size();
  if (!SegmentAt(head, text, 0, steps) || !SegmentAt(tail, text, end, steps)) return false;

  // The segments between the first and the last star, each at its leftmost place within [pos, end).
  size_t pos = head.size();
  size_t i = firstStar;
  while (i < lastStar) {
    if (pattern[i] == '*') {
      ++i;
      continue;
    }
    const size_t next = pattern.find('*', i);
    const std::string_view segment = pattern.substr(i, next - i);
    while (pos + segment.size() <= end && !SegmentAt(segment, text, pos, steps)) ++pos;
    if (pos + segment.size() > end) return false;
    pos += segment.size();
    i = next;
  }
  return true;
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view text, uint64_t* steps) {
  uint64_t count = 0;
  const bool result = MatchSegments(pattern, text, count);
  if (steps) *steps = count;
  return result;
}

}  // namespace velmora
