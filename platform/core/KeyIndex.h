#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/core/Ascii.h"

namespace platform {

// The positions of keys by their text ignoring ASCII case, for sections of many keys (one per host of a
// long list). It is an open-addressing table of 8-byte slots (a hash and a position), at most half of
// them used, and holds no key text: the caller keeps the keys, and keyAt(position) gives the key of a
// position as a string_view. So 100 000 keys take 2 MiB of table in one allocation, which stays in the
// cache while the keys are added and looked up; a table of nodes, one allocation per key, does not.
class TKeyIndex {
public:
  // The position of the key equal to `key`, none when no key is.
  template <typename KeyAt>
  std::optional<uint32_t> Find(std::string_view key, const KeyAt& keyAt) const {
    if (slots_.empty()) return std::nullopt;
    const Slot& slot = slots_[SlotOf(key, Hash(key), keyAt)];
    if (slot.position == kFree) return std::nullopt;
    return slot.position;
  }

  // Records `position` for `key` unless an equal key is there already (the first of a name wins);
  // returns whether it was recorded. Positions run below UINT32_MAX (std::length_error).
  template <typename KeyAt>
  bool Add(std::string_view key, size_t position, const KeyAt& keyAt) {
    CheckPosition(position);
    if (2 * (count_ + 1) > slots_.size()) Grow();
    const uint32_t hash = Hash(key);
    Slot& slot = slots_[SlotOf(key, hash, keyAt)];
    if (slot.position != kFree) return false;
    slot = {hash, static_cast<uint32_t>(position)};
    ++count_;
    return true;
  }

private:
  struct Slot {
    uint32_t hash = 0;
    uint32_t position = kFree;
  };
  static constexpr uint32_t kFree = UINT32_MAX;

  // FNV-1a over the upper-cased bytes, so keys that differ in ASCII case only hash alike.
  static uint32_t Hash(std::string_view key) {
    uint32_t hash = 2166136261u;
    for (char c : key) hash = (hash ^ static_cast<unsigned char>(AsciiUpper(c))) * 16777619u;
    return hash;
  }

  // The first slot of a hash: its high bits after a multiplicative mix, which FNV's low bits need.
  size_t Home(uint32_t hash) const { return static_cast<size_t>((hash * 2654435769u) >> shift_); }

  // The used slot of the key, else the free slot where it goes (linear probing; a free slot always exists).
  template <typename KeyAt>
  size_t SlotOf(std::string_view key, uint32_t hash, const KeyAt& keyAt) const {
    const size_t mask = slots_.size() - 1;
    for (size_t at = Home(hash);; at = (at + 1) & mask) {
      const Slot& slot = slots_[at];
      if (slot.position == kFree) return at;
      if (slot.hash == hash && SameText(keyAt(slot.position), key)) return at;
    }
  }

  static void CheckPosition(size_t position);
  // Doubles the table; slots move by their stored hashes, without reading a key.
  void Grow();

  std::vector<Slot> slots_;  // empty or a power of two in size
  size_t count_ = 0;
  int shift_ = 32;  // 32 - log2(slots_.size())
};

}  // namespace platform
