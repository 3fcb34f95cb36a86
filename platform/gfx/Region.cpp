#include "platform/gfx/Region.h"

#include <algorithm>
#include <climits>

namespace platform {

Region::Region(const TRect& r) {
  if (!IsRectEmpty(r)) bands_.push_back({r.Top, r.Bottom, {{r.Left, r.Right}}});
}

void Region::AssignRect(const TRect& r) {
  if (IsRectEmpty(r)) {
    bands_.clear();
    return;
  }
  bands_.resize(1);
  bands_[0].top = r.Top;
  bands_[0].bottom = r.Bottom;
  bands_[0].spans.assign(1, {r.Left, r.Right});
}

Region Region::FromSpans(std::vector<Span> spans) {
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
    return a.Y != b.Y ? a.Y < b.Y : a.X0 < b.X0;
  });
  Region r;
  size_t i = 0;
  while (i < spans.size()) {
    int y = spans[i].Y;
    Spans row;
    for (; i < spans.size() && spans[i].Y == y; ++i) {
      const Span& s = spans[i];
      if (s.X0 >= s.X1) continue;
      if (!row.empty() && s.X0 <= row.back().second)
        row.back().second = std::max(row.back().second, s.X1);
      else
        row.emplace_back(s.X0, s.X1);
    }
    if (!row.empty()) r.Append(y, y + 1, std::move(row));
  }
  return r;
}

TRect Region::Box() const {
  if (bands_.empty()) return {};
  TRect box{INT_MAX, bands_.front().top, INT_MIN, bands_.back().bottom};
  for (const Band& b : bands_) {
    box.Left = std::min(box.Left, b.spans.front().first);
    box.Right = std::max(box.Right, b.spans.back().second);
  }
  return box;
}

bool Region::Contains(int x, int y) const {
  const Band* b = BandAt(y);
  if (!b) return false;
  for (const auto& s : b->spans) {
    if (x < s.first) return false;
    if (x < s.second) return true;
  }
  return false;
}

void Region::Intersect(const Region& other) { *this = Combine(*this, other, Op::And); }
void Region::Subtract(const Region& other) { *this = Combine(*this, other, Op::Minus); }
void Region::Unite(const Region& other) { *this = Combine(*this, other, Op::Or); }

void Region::Offset(int dx, int dy) {
  for (Band& b : bands_) {
    b.top += dy;
    b.bottom += dy;
    for (auto& s : b.spans) {
      s.first += dx;
      s.second += dx;
    }
  }
}

const Region::Band* Region::BandAt(int y) const {
  if (bands_.size() == 1) {
    const Band& b = bands_[0];
    return y >= b.top && y < b.bottom ? &b : nullptr;
  }
  auto it = std::upper_bound(bands_.begin(), bands_.end(), y,
                             [](int v, const Band& b) { return v < b.bottom; });
  return it != bands_.end() && it->top <= y ? &*it : nullptr;
}

Region::Spans Region::CombineSpans(const Spans& a, const Spans& b, Op op) {
  // Sweep over the span edges of both lists, keeping whether each list covers the current stretch.
  std::vector<std::pair<int, int>> edges;  // (x, which list toggles: 1 = a, 2 = b)
  edges.reserve(2 * (a.size() + b.size()));
  for (const auto& s : a) {
    edges.emplace_back(s.first, 1);
    edges.emplace_back(s.second, 1);
  }
  for (const auto& s : b) {
    edges.emplace_back(s.first, 2);
    edges.emplace_back(s.second, 2);
  }
  std::sort(edges.begin(), edges.end());
  Spans out;
  bool inA = false, inB = false, inside = false;
  int start = 0;
  for (size_t i = 0; i < edges.size();) {
    int x = edges[i].first;
    for (; i < edges.size() && edges[i].first == x; ++i) (edges[i].second == 1 ? inA : inB) ^= true;
    bool now = op == Op::And ? (inA && inB) : op == Op::Minus ? (inA && !inB) : (inA || inB);
    if (now && !inside) start = x;
    if (!now && inside) out.emplace_back(start, x);
    inside = now;
  }
  return out;
}

void Region::Append(int top, int bottom, Spans spans) {
  if (spans.empty() || top >= bottom) return;
  if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
    bands_.back().bottom = bottom;
    return;
  }
  bands_.push_back({top, bottom, std::move(spans)});
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
  // Walk both band lists together, cutting at every band edge of either.
  Region out;
  static const Spans kNone;
  size_t i = 0, j = 0;
  int y = std::min(a.bands_.empty() ? INT_MAX : a.bands_[0].top, b.bands_.empty() ? INT_MAX : b.bands_[0].top);
  while (i < a.bands_.size() || j < b.bands_.size()) {
    const Band* ba = i < a.bands_.size() ? &a.bands_[i] : nullptr;
    const Band* bb = j < b.bands_.size() ? &b.bands_[j] : nullptr;
    bool aHere = ba && ba->top <= y;
    bool bHere = bb && bb->top <= y;
    if (!aHere && !bHere) {
      y = std::min(ba ? ba->top : INT_MAX, bb ? bb->top : INT_MAX);
      continue;
    }
    int end = INT_MAX;
    if (ba) end = std::min(end, aHere ? ba->bottom : ba->top);
    if (bb) end = std::min(end, bHere ? bb->bottom : bb->top);
    out.Append(y, end, CombineSpans(aHere ? ba->spans : kNone, bHere ? bb->spans : kNone, op));
    y = end;
    if (ba && ba->bottom <= y) ++i;
    if (bb && bb->bottom <= y) ++j;
  }
  return out;
}

}  // namespace platform
