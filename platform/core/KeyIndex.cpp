#include "platform/core/KeyIndex.h"

#include <stdexcept>
#include <utility>

namespace platform {

void TKeyIndex::Grow() {
  const size_t size = slots_.empty() ? 16 : 2 * slots_.size();
  const std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(size));
  shift_ = 32;
  for (size_t bits = size; bits > 1; bits /= 2) --shift_;
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.position == kFree) continue;
    size_t at = Home(slot.hash);
    while (slots_[at].position != kFree) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

void TKeyIndex::CheckPosition(size_t position) {
  if (position >= kFree) throw std::length_error("TKeyIndex: more than 4 294 967 295 keys");
}

}  // namespace platform
