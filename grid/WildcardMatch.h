#pragma once

#include <cstdint>
#include <string_view>

namespace velmora {

// Wildcard matching of a whole text: "*" matches any run of bytes (a run of stars counts as one), "?"
// any one byte, every other byte itself.
//
// No backtracking: the pattern is cut at its stars into segments; the first segment must start the
// text, the last must end it, and each one between is taken at its leftmost place after the previous
// one (a leftmost place never loses a match that a later one would find). Each segment is tried at each
// place at most once, so the work is at most |text| x (longest segment + 1) byte comparisons, however
// many stars the pattern holds. `steps`, when given, receives the number of comparisons made.
bool WildcardMatch(std::string_view pattern, std::string_view text, uint64_t* steps = nullptr);

}  // namespace velmora
