#include "platform/core/Ascii.h"

#include <algorithm>

namespace platform {

std::string UpperCase(std::string_view s) {
  std::string result(s);
  for (char& c : result) c = AsciiUpper(c);
  return result;
}

std::string LowerCase(std::string_view s) {
  std::string result(s);
  for (char& c : result) c = AsciiLower(c);
  return result;
}

bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareText(a, b) == 0; }

int CompareText(std::string_view a, std::string_view b) {
  size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    int difference = static_cast<unsigned char>(AsciiUpper(a[i])) - static_cast<unsigned char>(AsciiUpper(b[i]));
    if (difference != 0) return difference;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

}  // namespace platform
