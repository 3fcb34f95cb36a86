#pragma once

#include <string>
#include <string_view>

namespace platform {

// A text of a program in its two languages, English and German; the program's language picks one.
struct TTextPair {
  std::string_view English;
  std::string_view German;

  std::string In(bool english) const { return std::string(english ? English : German); }
};

}  // namespace platform
