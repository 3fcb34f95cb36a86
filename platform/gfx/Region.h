#pragma once

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "platform/gfx/Geometry.h"

namespace platform {

// A set of pixels in device coordinates, kept as horizontal bands of disjoint spans (internal to
// platform/gfx). The canvas uses it for its clip region and for every figure it fills: a figure is
// built as a region, cut by the clip, and only then painted.
//
// Invariant: bands are sorted by Top, do not overlap, none is empty; the spans of a band are sorted,
// disjoint, not touching and not empty; two touching bands never hold the same spans.
class Region {
public:
  struct Span {
    int Y;
    int X0;  // first pixel
    int X1;  // one past the last pixel
  };

  Region() = default;
  explicit Region(const TRect& r);
  // Becomes the region of r, keeping the storage it has: a region reused this way allocates nothing.
  void AssignRect(const TRect& r);
  // Any spans, in any order, overlapping or not.
  static Region FromSpans(std::vector<Span> spans);

  bool Empty() const { return bands_.empty(); }
  TRect Box() const;
  bool IsRect() const { return bands_.size() == 1 && bands_[0].spans.size() == 1; }
  bool Contains(int x, int y) const;

  void Intersect(const Region& other);
  void Subtract(const Region& other);
  void Unite(const Region& other);
  void Offset(int dx, int dy);

  // Calls f(y, x0, x1) for every span, rows in ascending order; the second form for the rows in
  // [top, bottom) only.
  template <class F>
  void ForEachSpan(F&& f) const {
    ForEachSpan(INT_MIN, INT_MAX, f);
  }
  template <class F>
  void ForEachSpan(int top, int bottom, F&& f) const {
    for (const Band& b : bands_)
      for (int y = std::max(b.top, top); y < std::min(b.bottom, bottom); ++y)
        for (const auto& s : b.spans) f(y, s.first, s.second);
  }

  // Calls f(rect) for every span of every band: disjoint rectangles that together cover the region.
  template <class F>
  void ForEachRect(F&& f) const {
    for (const Band& b : bands_)
      for (const auto& s : b.spans) f(TRect{s.first, b.top, s.second, b.bottom});
  }

  // Calls f(x0, x1) for every part of [x0, x1) on row y that lies in the region.
  template <class F>
  void ClipSpan(int y, int x0, int x1, F&& f) const {
    const Band* b = BandAt(y);
    if (!b) return;
    for (const auto& s : b->spans) {
      if (s.first >= x1) break;
      int a = s.first > x0 ? s.first : x0;
      int e = s.second < x1 ? s.second : x1;
      if (a < e) f(a, e);
    }
  }

  friend bool operator==(const Region&, const Region&) = default;

private:
  using Spans = std::vector<std::pair<int, int>>;
  struct Band {
    int top;
    int bottom;
    Spans spans;
    friend bool operator==(const Band&, const Band&) = default;
  };
  enum class Op { And, Minus, Or };

  const Band* BandAt(int y) const;
  static Region Combine(const Region& a, const Region& b, Op op);
  static Spans CombineSpans(const Spans& a, const Spans& b, Op op);
  void Append(int top, int bottom, Spans spans);

  std::vector<Band> bands_;
};

}  // namespace platform
