#pragma once

#include <string_view>

namespace quillet {

// The sender when Quillet.ini names none.
inline constexpr std::string_view DefaultFromAddress = "quillet@localhost";

// The page that a click on the caption strip opens.
inline constexpr std::string_view HomePage = "https://www.example.org/quillet/";

}  // namespace quillet
