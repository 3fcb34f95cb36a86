// Line-break conversions and the other text routines of the grid.

#include <algorithm>

#include "grid/ExUtil.h"
#include "platform/core/StrUtils.h"
#include "platform/core/StringList.h"
#include "platform/core/Utf8.h"

namespace velmora {
namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';

// Every occurrence of `from` replaced by `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string result;
  size_t start = 0;
  for (size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, start)) {
    result.append(text.substr(start, at - start)).append(to);
    start = at + from.size();
  }
  result.append(text.substr(start));
  return result;
}

// Each byte mapped through `map` (which gives the replacement, "" to drop the byte).
template <typename Map>
std::string MapBytes(std::string_view text, Map map) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) result.append(map(c));
  return result;
}

bool Holds(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

// Is the occurrence of c at the 0-based index i doubled (a neighbour is c too)? One at the end never is.
bool IsSingleAt(char c, std::string_view text, size_t i) {
  if (text[i] != c) return false;
  if (i + 1 == text.size()) return true;
  return text[i + 1] != c && (i == 0 || text[i - 1] != c);
}

bool IsWordSeparator(char c) { return c == ' ' || c == '\'' || c == ',' || c == '-' || c == '.'; }

}  // namespace

int LinesInText(std::string_view text, bool multiLine) {
  return multiLine ? 1 + static_cast<int>(std::ranges::count(text, CR)) : 1;
}

void GetNextLine(std::string& text, bool keepRest, std::string& line) {
  const size_t at = text.find(CR);
  if (at == std::string::npos) {
    line = std::move(text);
    text.clear();
    return;
  }
  line = text.substr(0, at);
  if (!keepRest) {
    text.clear();
    return;
  }
  const size_t rest = at + 1 < text.size() && text[at + 1] == LF ? at + 2 : at + 1;
  text.erase(0, rest);
}

std::string CLFToLF(std::string_view text) { return ReplaceAll(text, "\\n", "\r"); }

std::string LFToCLF(std::string_view text) {
  return MapBytes(text, [](char c) { return c == CR ? std::string("\\n") : c == LF ? "" : std::string(1, c); });
}

std::string HTMLLineBreaks(std::string_view text) { return ReplaceAll(text, "\r", "<br>"); }

std::string LineFeedsToCSV(std::string_view text) { return "\"" + ReplaceAll(text, "\r\n", "\n") + "\""; }

std::string CSVToLineFeeds(std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == LF && (i == 0 || text[i - 1] != CR)) result += CR;
    result += text[i];
  }
  return result;
}

std::string LineFeedsToJava(std::string_view text) {
  return MapBytes(text, [](char c) { return c == CR ? std::string("~") : c == LF ? "" : std::string(1, c); });
}

std::string JavaToLineFeeds(std::string_view text) { return ReplaceAll(text, "~", "\r\n"); }

std::string LineFeedsToXLS(std::string_view text) {
  return MapBytes(text, [](char c) { return c == CR ? std::string() : std::string(1, c); });
}

std::string LfToFile(std::string_view text) {
  if (!Holds(text, CR)) return std::string(text);
  return MapBytes(text, [](char c) { return std::string(1, c == CR ? '\t' : c == LF ? '\b' : c); });
}

std::string FileToLf(std::string_view text, bool keepAll) {
  if (!Holds(text, '\b')) return std::string(text);
  std::string lines = MapBytes(text, [](char c) { return std::string(1, c == '\t' ? CR : c == '\b' ? LF : c); });
  if (keepAll) return lines;
  std::string first;
  GetNextLine(lines, false, first);
  return first;
}

int FIPos(std::string_view sub, std::string_view text) { return platform::Pos(sub, platform::UpperCase(text)); }

std::string GetToken(std::string& text, std::string_view separator) {
  const size_t at = separator.empty() ? std::string::npos : text.find(separator);
  if (at == std::string::npos) return "";
  std::string token = text.substr(0, at);
  text.erase(0, at + separator.size());
  return token;
}

char FirstChar(std::string_view characters, std::string_view text) {
  const size_t at = text.find_first_of(characters);
  return at == std::string_view::npos ? '\0' : text[at];
}

int SinglePos(char c, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i)
    if (IsSingleAt(c, text, i)) return static_cast<int>(i) + 1;
  return 0;
}

int NumSingleChar(char c, std::string_view text) {
  int count = 0;
  for (size_t i = 0; i < text.size(); ++i) count += IsSingleAt(c, text, i);
  return count;
}

std::string DoubleToSingleChar(char c, std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i)
    if (i == 0 || text[i] != c || text[i - 1] != c) result += text[i];
  return result;
}

void StringToPassword(std::string& text, char c) { text.assign(platform::CodePointCount(text), c); }

void StringToOem(std::string&) {}
void OemToString(std::string&) {}

std::string ShiftCase(std::string_view text) {
  std::string result(text);
  const size_t n = result.size();
  size_t wordStart = 0;
  for (size_t i = 0; i < n; ++i) {
    const char c = result[i];
    if (IsWordSeparator(c)) {
      wordStart = i + 1;
      continue;
    }
    const std::string_view before = std::string_view(result).substr(0, i);
    const bool upper = i == wordStart || (i == wordStart + 2 && before.ends_with("Mc")) ||
                       (i + 2 >= n && (before.ends_with(" I") || before.ends_with(" II")));
    result[i] = upper ? platform::AsciiUpper(c) : platform::AsciiLower(c);
  }
  return result;
}

bool IsURL(std::string_view text) {
  return text.find("://") != std::string_view::npos || text.find("mailto:") != std::string_view::npos;
}

void StripURLProtocol(std::string& text) {
  for (std::string_view marker : {"://", "mailto:"}) {
    const size_t at = text.find(marker);
    if (at != std::string::npos) {
      text.erase(0, at + marker.size());
      return;
    }
  }
}

std::string HTMLColor(platform::TColor color) {
  const platform::TColor rgb = platform::ColorToRGB(color);
  return platform::IntToHex(platform::GetRValue(rgb), 2) + platform::IntToHex(platform::GetGValue(rgb), 2) +
         platform::IntToHex(platform::GetBValue(rgb), 2);
}

std::string RectString(const platform::TRect& r) {
  return platform::Format("[%d:%d][%d:%d]", r.Left, r.Top, r.Right, r.Bottom);
}

std::string StringListToText(const platform::TStringList& list) {
  std::string result;
  for (int i = 0; i < list.Count(); ++i) result += list.Strings(i);
  return result;
}

}  // namespace velmora
