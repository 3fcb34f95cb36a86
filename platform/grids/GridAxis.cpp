#include "platform/grids/GridAxis.h"

#include <algorithm>

namespace platform {

void GridAxis::SetCount(int count) {
  count_ = std::max(count, 0);
  if (fixed_ >= count_) fixed_ = std::max(count_ - 1, 0);
  if (static_cast<int>(sizes_.size()) > count_) sizes_.resize(count_);
  SetFirst(first_);
}

void GridAxis::SetFixed(int fixed) {
  fixed_ = std::clamp(fixed, 0, std::max(count_ - 1, 0));
  SetFirst(first_);
}

void GridAxis::SetFirst(int first) { first_ = std::clamp(first, fixed_, std::max(count_ - 1, fixed_)); }

void GridAxis::SetDefaultSize(int size) {
  defaultSize_ = std::max(size, 0);
  sizes_ = {};
}

int GridAxis::Size(int i) const {
  return i >= 0 && i < static_cast<int>(sizes_.size()) ? sizes_[i] : defaultSize_;
}

void GridAxis::SetSize(int i, int size) {
  if (i < 0 || i >= count_) return;
  if (static_cast<int>(sizes_.size()) <= i) sizes_.resize(count_, defaultSize_);
  sizes_[i] = std::max(size, 0);
}

int GridAxis::FixedExtent() const {
  int extent = 0;
  for (int i = 0; i < fixed_; ++i) extent += Size(i) + lineWidth_;
  return extent;
}

int GridAxis::Start(int i) const {
  if (i < fixed_) {
    int pos = 0;
    for (int k = 0; k < i; ++k) pos += Size(k) + lineWidth_;
    return pos;
  }
  int pos = FixedExtent();
  if (i >= first_)
    for (int k = first_; k < i; ++k) pos += Size(k) + lineWidth_;
  else
    for (int k = i; k < first_; ++k) pos -= Size(k) + lineWidth_;
  return pos;
}

bool GridAxis::StartsWithin(int i, int extent) const {
  if (i < fixed_) return Start(i) < extent;
  int pos = FixedExtent();
  for (int k = first_; k < i && pos < extent; ++k) pos += Size(k) + lineWidth_;
  return pos < extent;
}

int GridAxis::VisibleCount(int extent) const {
  int pos = FixedExtent(), visible = 0;
  for (int i = first_; i < count_; ++i) {
    pos += Size(i) + lineWidth_;
    if (pos > extent) break;
    ++visible;
  }
  return std::max(visible, first_ < count_ ? 1 : 0);
}

int GridAxis::ItemAt(int pos, int extent) const {
  if (pos < 0 || pos >= extent) return -1;
  int start = 0;
  for (int i = 0; i < fixed_; ++i) {
    start += Size(i) + lineWidth_;
    if (pos < start) return i;
  }
  for (int i = first_; i < count_ && start < extent; ++i) {
    start += Size(i) + lineWidth_;
    if (pos < start) return i;
  }
  return -1;
}

int GridAxis::FirstEndingAt(int last, int extent) const {
  if (count_ <= fixed_ || last < fixed_) return fixed_;
  const int room = extent - FixedExtent();
  int first = std::min(last, count_ - 1);
  int used = Size(first) + lineWidth_;
  while (first > fixed_ && used + Size(first - 1) + lineWidth_ <= room) used += Size(--first) + lineWidth_;
  return first;
}

int GridAxis::FirstShowing(int item, int extent) const {
  if (item < fixed_ || item >= count_) return first_;
  if (item <= first_) return item;
  // Walk back from the item while the one before it still fits; never before the current first.
  const int room = extent - FixedExtent();
  int first = item, used = Size(item);
  while (first > first_ && used + lineWidth_ + Size(first - 1) <= room) used += lineWidth_ + Size(--first);
  return first;
}

bool GridAxis::Shows(int lo, int hi, int extent) const {
  lo = std::max(lo, 0);
  hi = std::min(hi, count_ - 1);
  if (lo > hi) return false;
  if (lo < fixed_) return StartsWithin(lo, extent);
  if (hi < first_) return false;
  return StartsWithin(std::max(lo, first_), extent);
}

std::vector<GridAxis::Placed> GridAxis::ShownItems(int extent) const {
  std::vector<Placed> items;
  int pos = 0;
  for (int i = 0; i < fixed_ && i < count_ && pos < extent; pos += Size(i) + lineWidth_, ++i) items.push_back({i, pos});
  pos = FixedExtent();
  for (int i = first_; i < count_ && pos < extent; pos += Size(i) + lineWidth_, ++i) items.push_back({i, pos});
  return items;
}

void GridAxis::InsertItems(int at, int count) {
  if (at < 0 || at > count_ || count <= 0) return;
  if (at < static_cast<int>(sizes_.size())) sizes_.insert(at, count, defaultSize_);
  SetCount(count_ + count);
}

void GridAxis::DeleteItems(int at, int count) {
  if (at < 0 || at >= count_ || count <= 0) return;
  count = std::min(count, count_ - at);
  const int sized = static_cast<int>(sizes_.size());
  if (at < sized) sizes_.erase(at, std::min(at + count, sized) - at);
  SetCount(count_ - count);
}

void GridAxis::DeleteItemSet(const std::vector<int>& items) {
  if (items.empty()) return;
  const auto stored = std::lower_bound(items.begin(), items.end(), static_cast<int>(sizes_.size()));
  sizes_.extract(std::vector<int>(items.begin(), stored));
  SetCount(count_ - static_cast<int>(items.size()));
}

void GridAxis::InsertItemSet(const std::vector<int>& positions, const std::vector<int>& sizes) {
  if (positions.empty()) return;
  const int count = count_ + static_cast<int>(positions.size());
  const bool defaultSizes =
      std::all_of(sizes.begin(), sizes.end(), [this](int size) { return std::max(size, 0) == defaultSize_; });
  if (!sizes_.empty() || !defaultSizes) {
    // Each item between the first new one and the last moves once.
    sizes_.resize(count_, defaultSize_);
    std::vector<int> placed(positions.size(), defaultSize_);
    if (!sizes.empty())
      for (size_t j = 0; j < placed.size(); ++j) placed[j] = std::max(sizes[j], 0);
    sizes_.insert(positions, std::move(placed));
  }
  SetCount(count);
}

void GridAxis::SwapItems(int a, int b) {
  if (a < 0 || b < 0 || a >= count_ || b >= count_ || a == b) return;
  if (static_cast<int>(sizes_.size()) <= std::max(a, b)) {
    if (Size(a) == Size(b)) return;
    sizes_.resize(count_, defaultSize_);
  }
  std::swap(sizes_[a], sizes_[b]);
}

bool GridAxis::PermuteItems(int first, const std::vector<int>& order) {
  bool changed = false;
  for (size_t k = 0; k < order.size() && !changed; ++k) changed = Size(order[k]) != Size(first + static_cast<int>(k));
  if (!changed) return false;
  if (sizes_.size() < first + order.size()) sizes_.resize(count_, defaultSize_);
  sizes_.permute(first, order);
  return true;
}

void GridAxis::MoveItem(int from, int to) {
  if (sizes_.empty() || from == to || from < 0 || to < 0 || from >= count_ || to >= count_) return;
  // Sizes past the stored ones are the default: the moved ones are stored first.
  if (std::max(from, to) >= static_cast<int>(sizes_.size())) sizes_.resize(std::max(from, to) + 1, defaultSize_);
  sizes_.move(from, to);
}

void GridAxis::DeleteItem(int i) {
  if (i < 0 || i >= count_) return;
  if (i < static_cast<int>(sizes_.size())) sizes_.erase(i);
  SetCount(count_ - 1);
}

}  // namespace platform
