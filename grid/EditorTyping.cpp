#include "grid/EditorTyping.h"

#include <algorithm>

#include "platform/core/Utf8.h"
#include "platform/edits/EditText.h"
#include "platform/ui/Backend.h"

using namespace platform;

namespace velmora {

namespace {

bool Refuse(bool beep) {
  if (beep) Backend().Beep();
  return false;
}

std::string Folded(std::string_view text, bool caseSensitive) {
  return caseSensitive ? std::string(text) : ApplyCharCase(text, TEditCharCase::ecUpperCase);
}

}  // namespace

bool NumberCharAccepted(TNumberFilter filter, char32_t c, std::string_view text, int selStart, int selLength) {
  if (c == '\b' || c == '\t' || c == '\r' || (c >= '0' && c <= '9')) return true;
  const size_t first = ByteOfChar(text, static_cast<size_t>(std::max(selStart, 0)));
  const size_t last = ByteOfChar(text, static_cast<size_t>(std::max(selStart, 0) + std::max(selLength, 0)));
  const std::string_view selected = text.substr(first, last - first);
  const std::string outside = std::string(text.substr(0, first)) + std::string(text.substr(last));
  const bool hasMinus = text.find('-') != std::string_view::npos;
  switch (filter) {
    case TNumberFilter::PositiveInteger: return Refuse(true);
    case TNumberFilter::Integer:
      if (c != '-') return Refuse(true);
      return hasMinus || selStart != 0 ? Refuse(true) : true;
    case TNumberFilter::Float:
      if (c == '.' || c == ',') return outside.find_first_of(".,") == std::string::npos;
      if (c != '-') return false;
      if (selStart == 0 && !hasMinus) return true;
      return selected.find('-') != std::string_view::npos ? true : Refuse(true);
  }
  return false;
}

std::pair<std::string, std::string> SplitNumberAndUnit(std::string_view text) {
  const size_t end = std::min(text.find_first_not_of("0123456789,.-+"), text.size());
  return {std::string(text.substr(0, end)), std::string(text.substr(end))};
}

bool BeginsWith(std::string_view text, std::string_view prefix, bool caseSensitive) {
  const size_t length = CodePointCount(prefix);
  return CodePointCount(text) >= length &&
         Folded(text.substr(0, ByteOfChar(text, length)), caseSensitive) == Folded(prefix, caseSensitive);
}

bool CompleteFromList(const TStringList& items, std::string_view typed, bool caseSensitive, std::string& completed,
                      int& index) {
  index = -1;
  if (typed.empty()) return false;
  const size_t length = CodePointCount(typed);
  for (int i = 0; i < items.Count(); ++i) {
    const std::string& item = items.Strings(i);
    if (!BeginsWith(item, typed, caseSensitive)) continue;
    completed = std::string(typed) + item.substr(ByteOfChar(item, length));
    index = i;
    return true;
  }
  return false;
}

}  // namespace velmora
