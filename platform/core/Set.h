#pragma once

#include <cstdint>
#include <initializer_list>

namespace platform {

// A set of the values of a small enumeration (at most 64 values), as the class library's sets are:
// TSet<TAnchorKind>{TAnchorKind::akLeft, TAnchorKind::akTop}, set + value, set.Contains(value).
template <class E>
class TSet {
public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) bits_ |= Bit(v);
  }

  constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr uint64_t Bits() const { return bits_; }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }

  constexpr void Include(E v) { bits_ |= Bit(v); }
  constexpr void Exclude(E v) { bits_ &= ~Bit(v); }

  friend constexpr TSet operator+(TSet a, E v) { return FromBits(a.bits_ | Bit(v)); }
  friend constexpr TSet operator-(TSet a, E v) { return FromBits(a.bits_ & ~Bit(v)); }
  friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
  friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }
  friend constexpr bool operator==(TSet, TSet) = default;

private:
  static constexpr uint64_t Bit(E v) { return uint64_t{1} << static_cast<unsigned>(v); }
  uint64_t bits_ = 0;
};

}  // namespace platform
