#pragma once

#include <cassert>
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace platform {

// A sequence with a movable gap: indexing is constant time, and inserting or erasing costs the distance
// from the previous insertion or erasure (plus an occasional growth of the gap), so a loop that inserts
// or erases rows one after another at one place is linear, not quadratic. Appending and removing the
// last element are constant time wherever the gap is, so "append, then move the last element to i"
// stays cheap too. Elements are kept in [0, gapBegin) and [gapEnd, size of storage).
template <typename T>
class GapVector {
public:
  size_t size() const { return storage_.size() - GapSize(); }
  bool empty() const { return size() == 0; }

  T& operator[](size_t i) { return storage_[Physical(i)]; }
  const T& operator[](size_t i) const { return storage_[Physical(i)]; }

  void push_back(T value) {
    if (gapEnd_ == storage_.size() && GapSize() > 0)  // the gap is at the end: fill it from its front
      storage_[gapBegin_++] = std::move(value);
    else
      storage_.push_back(std::move(value));
  }

  void pop_back() {
    assert(size() > 0);
    if (gapEnd_ < storage_.size())
      storage_.pop_back();
    else
      storage_[--gapBegin_] = T();
  }

  void insert(size_t i, T value) {
    assert(i <= size());
    if (i == size()) return push_back(std::move(value));
    MoveGapTo(i);
    if (GapSize() == 0) GrowGap();
    storage_[gapBegin_++] = std::move(value);
  }

  // Inserts n default elements (n copies of value) at i, with one move of the gap.
  void insert(size_t i, size_t n) { InsertMade(i, n, [] { return T(); }); }
  void insert(size_t i, size_t n, const T& value) { InsertMade(i, n, [&value] { return value; }); }

  // Erases the n elements from i on, with one move of the gap.
  void erase(size_t i, size_t n) {
    assert(i + n <= size());
    if (n == 0) return;
    MoveGapTo(i);
    for (size_t k = 0; k < n; ++k) storage_[gapEnd_++] = T();
  }

  void erase(size_t i) {
    assert(i < size());
    if (i + 1 == size()) return pop_back();
    MoveGapTo(i);
    storage_[gapEnd_++] = T();
  }

  // Moves the element at `from` so that it stands at `to` afterwards.
  void move(size_t from, size_t to) {
    if (from == to) return;
    T value = std::move((*this)[from]);
    erase(from);
    insert(to, std::move(value));
  }

  // Takes out the elements at the strictly increasing `indices` (each below size()) and returns them in
  // that order, with one pass from the first index to the last: each kept element between them moves
  // once, to the front of the gap, which ends after the last index, wider by the elements taken.
  std::vector<T> extract(const std::vector<int>& indices) {
    std::vector<T> taken;
    if (indices.empty()) return taken;
    taken.reserve(indices.size());
    MoveGapTo(indices.front());
    for (size_t i = indices.front(), next = 0; next < indices.size(); ++i) {
      T& element = storage_[gapEnd_++];
      if (i == static_cast<size_t>(indices[next])) {
        taken.push_back(std::move(element));
        ++next;
      } else {
        storage_[gapBegin_++] = std::move(element);
      }
    }
    return taken;
  }

  // Inserts `values` so that values[j] stands at positions[j] afterwards (strictly increasing, each below
  // size() + values.size()), with one pass from the first position to the last: each element between
  // them moves once, from behind the gap to its front.
  void insert(const std::vector<int>& positions, std::vector<T>&& values) {
    assert(positions.size() == values.size());
    if (values.empty()) return;
    MoveGapTo(positions.front());
    if (GapSize() < values.size()) GrowGap(values.size());
    for (size_t at = positions.front(), next = 0; next < values.size(); ++at) {
      if (at == static_cast<size_t>(positions[next]))
        storage_[gapBegin_++] = std::move(values[next++]);
      else
        storage_[gapBegin_++] = std::move(storage_[gapEnd_++]);
    }
  }

  // Element first + k takes the element that stood at order[k], for order a permutation of first ..
  // first + order.size() - 1 (all below size()); each element moves twice, through a buffer.
  void permute(size_t first, const std::vector<int>& order) {
    std::vector<T> moved;
    moved.reserve(order.size());
    for (int from : order) moved.push_back(std::move((*this)[from]));
    for (size_t k = 0; k < moved.size(); ++k) (*this)[first + k] = std::move(moved[k]);
  }

  void resize(size_t n) { ResizeMade(n, [] { return T(); }); }
  void resize(size_t n, const T& value) { ResizeMade(n, [&value] { return value; }); }

private:
  template <typename Make>
  void InsertMade(size_t i, size_t n, Make make) {
    assert(i <= size());
    if (n == 0) return;
    MoveGapTo(i);
    if (GapSize() < n) GrowGap(n);
    for (size_t k = 0; k < n; ++k) storage_[gapBegin_++] = make();
  }
  template <typename Make>
  void ResizeMade(size_t n, Make make) {
    while (size() > n) pop_back();
    while (size() < n) push_back(make());
  }

  size_t GapSize() const { return gapEnd_ - gapBegin_; }
  size_t Physical(size_t i) const { return i < gapBegin_ ? i : i + GapSize(); }

  void MoveGapTo(size_t i) {
    if (GapSize() == 0) {  // an empty gap may stand anywhere
      gapBegin_ = gapEnd_ = i;
      return;
    }
    while (gapBegin_ > i) storage_[--gapEnd_] = std::move(storage_[--gapBegin_]);
    while (gapBegin_ < i) storage_[gapBegin_++] = std::move(storage_[gapEnd_++]);
  }

  // Gives the gap room for at least `least` more elements and about half as many as there are, at its
  // current place.
  void GrowGap(size_t least = 1) {
    const size_t extra = std::max({size_t{16}, size() / 2, least});
    storage_.resize(storage_.size() + extra);
    for (size_t from = storage_.size() - extra; from-- > gapEnd_;) storage_[from + extra] = std::move(storage_[from]);
    gapEnd_ += extra;
  }

  std::vector<T> storage_;
  size_t gapBegin_ = 0;
  size_t gapEnd_ = 0;
};

}  // namespace platform
