#pragma once

#include <string_view>

#include "platform/core/Ascii.h"

namespace velmora {

// A non-negative number written only in decimal digits (at most nine, so it fits an int).
inline bool ReadDecimalDigits(std::string_view s, int& value) {
  if (s.empty() || s.size() > 9) return false;
  value = 0;
  for (char c : s) {
    if (!platform::IsAsciiDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace velmora
