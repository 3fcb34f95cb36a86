#pragma once

#include <string>

namespace platform {

// Makes room in `s` for `size` bytes before a change makes it that long. It grows by a sixteenth rather
// than doubling, as the string's own growth would: a text of many megabytes that is typed into keeps
// little unused room, and copying it once per sixteenth of its size added keeps typing cheap.
inline void ReserveForGrowth(std::string& s, size_t size) {
  if (size <= s.capacity()) return;
  std::string grown;
  grown.reserve(size + size / 16 + 64);  // a new string takes what it is asked for
  grown.append(s);
  s.swap(grown);
}

}  // namespace platform
