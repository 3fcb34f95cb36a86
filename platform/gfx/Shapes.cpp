#include "platform/gfx/Shapes.h"

#include <algorithm>
#include <cmath>
#include <climits>

namespace platform {

namespace {

// The ellipse test multiplies squares of half axes, and a polygon edge's crossing two distances in
// 1/64 pixel; both pass 64 bits for large figures.
__extension__ typedef __int128 Wide;

template <class T>
T FloorDiv(T a, T b) {  // b > 0
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}
template <class T>
T CeilDiv(T a, T b) {
  return -FloorDiv(-a, b);
}

// Largest d >= 0 with d * d * den <= num (num >= 0, den > 0).
int64_t IntSqrtRatio(Wide num, Wide den) {
  auto d = static_cast<int64_t>(std::sqrt(static_cast<double>(num) / static_cast<double>(den)));
  while (d > 0 && Wide{d} * d * den > num) --d;
  while (Wide{d + 1} * (d + 1) * den <= num) ++d;
  return d;
}

}  // namespace

Region RoundedBoxRegion(const TRect& box, int ellipseWidth, int ellipseHeight, const TRect& limit) {
  if (IsRectEmpty(box)) return {};
  const int64_t ew = std::clamp(ellipseWidth, 0, box.Width());
  const int64_t eh = std::clamp(ellipseHeight, 0, box.Height());
  if (ew == 0 || eh == 0) return Region(box);
  // Doubled coordinates: the centre of pixel x is 2x + 1, the corner ellipses' centres lie ew (eh) in
  // from the box's edges and their half axes are ew and eh.
  const int64_t cxL = 2 * int64_t{box.Left} + ew, cxR = 2 * int64_t{box.Right} - ew;
  const int64_t cyT = 2 * int64_t{box.Top} + eh, cyB = 2 * int64_t{box.Bottom} - eh;
  const int top = std::max(box.Top, limit.Top), bottom = std::min(box.Bottom, limit.Bottom);
  const int left = std::max(box.Left, limit.Left), right = std::min(box.Right, limit.Right);
  std::vector<Region::Span> spans;
  if (top < bottom) spans.reserve(static_cast<size_t>(bottom - top));
  for (int y = top; y < bottom; ++y) {
    const int64_t Y = 2 * int64_t{y} + 1;
    const int64_t dy = Y < cyT ? cyT - Y : Y > cyB ? Y - cyB : 0;
    const int64_t d = dy == 0 ? ew : IntSqrtRatio(Wide{ew} * ew * (Wide{eh} * eh - Wide{dy} * dy), Wide{eh} * eh);
    const int64_t x0 = CeilDiv<int64_t>(cxL - d - 1, 2), x1 = FloorDiv<int64_t>(cxR + d - 1, 2) + 1;
    spans.push_back({y, static_cast<int>(std::max<int64_t>(x0, left)), static_cast<int>(std::min<int64_t>(x1, right))});
  }
  return Region::FromSpans(std::move(spans));
}

Region PolygonRegion(const std::vector<Contour>& contours, FillRule rule, const TRect& limit) {
  struct Edge {
    int64_t x0, y0, x1, y1;
    int dir;
  };
  std::vector<Edge> edges;
  int64_t ymin = INT64_MAX, ymax = INT64_MIN;
  for (const Contour& c : contours) {
    for (size_t i = 0; i < c.size(); ++i) {
      FixedPoint a = c[i], b = c[(i + 1) % c.size()];
      if (a.y == b.y) continue;
      int dir = a.y < b.y ? 1 : -1;
      if (dir < 0) std::swap(a, b);
      edges.push_back({a.x, a.y, b.x, b.y, dir});
      ymin = std::min(ymin, a.y);
      ymax = std::max(ymax, b.y);
    }
  }
  if (edges.empty()) return {};
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
  // Row y is sampled at 64y + 32; an edge counts on the rows whose sample lies in [y0, y1).
  const int64_t firstRow = std::max<int64_t>(CeilDiv<int64_t>(ymin - 32, 64), limit.Top);
  const int64_t endRow = std::min<int64_t>(CeilDiv<int64_t>(ymax - 32, 64), limit.Bottom);
  std::vector<Region::Span> spans;
  std::vector<const Edge*> active;
  // (first pixel right of the crossing, kept within limit; direction)
  std::vector<std::pair<int, int>> crossings;
  size_t next = 0;
  for (int64_t row = firstRow; row < endRow; ++row) {
    const int64_t yc = 64 * row + 32;
    while (next < edges.size() && edges[next].y0 <= yc) active.push_back(&edges[next++]);
    active.erase(std::remove_if(active.begin(), active.end(), [yc](const Edge* e) { return e->y1 <= yc; }),
                 active.end());
    crossings.clear();
    for (const Edge* e : active) {
      if (e->y0 > yc) continue;
      // Crossing at x = N / D; the first pixel whose centre lies at or right of it.
      const Wide D = e->y1 - e->y0;
      const Wide N = e->x0 * D + Wide{yc - e->y0} * (e->x1 - e->x0);
      const Wide x = std::clamp<Wide>(CeilDiv<Wide>(N - 32 * D, 64 * D), limit.Left, limit.Right);
      crossings.emplace_back(static_cast<int>(x), e->dir);
    }
    std::sort(crossings.begin(), crossings.end());
    int winding = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += rule == FillRule::Alternate ? 1 : crossings[i].second;
      bool inside = rule == FillRule::Alternate ? (winding & 1) != 0 : winding != 0;
      if (inside && crossings[i].first < crossings[i + 1].first)
        spans.push_back({static_cast<int>(row), crossings[i].first, crossings[i + 1].first});
    }
  }
  return Region::FromSpans(std::move(spans));
}

Region WideStrokeRegion(const std::vector<PointF>& points, double width, bool closed, const TRect& limit) {
  if (points.empty()) return {};
  // Worked out relative to a whole pixel at the first point: moving the figure by whole pixels then
  // moves its pixels and changes none of them, also where a pixel centre lies exactly on the edge.
  auto wholePixel = [](double v) { return static_cast<int>(std::clamp(std::floor(v), -1e9, 1e9)); };
  const int ox = wholePixel(points[0].x), oy = wholePixel(points[0].y);
  auto local = [](int v, int o) { return static_cast<int>(std::clamp<int64_t>(int64_t{v} - o, INT_MIN, INT_MAX)); };
  const TRect area = {local(limit.Left, ox), local(limit.Top, oy), local(limit.Right, ox), local(limit.Bottom, oy)};
  const double r = width / 2;
  std::vector<Region::Span> spans;
  auto addRow = [&](int y, double lo, double hi) {
    // Pixels whose centre x + 0.5 lies in [lo, hi), within the limit.
    const double left = area.Left, right = area.Right;
    auto x0 = static_cast<int>(std::clamp(std::ceil(lo - 0.5), left, right));
    auto x1 = static_cast<int>(std::clamp(std::ceil(hi - 0.5), left, right));
    if (x0 < x1) spans.push_back({y, x0, x1});
  };
  auto segment = [&](PointF a, PointF b) {
    a = {a.x - ox + 0.5, a.y - oy + 0.5};
    b = {b.x - ox + 0.5, b.y - oy + 0.5};
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    const double nx = len > 0 ? -(b.y - a.y) / len * r : 0, ny = len > 0 ? (b.x - a.x) / len * r : 0;
    const PointF quad[4] = {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    const double top = std::clamp<double>(std::floor(std::min(a.y, b.y) - r - 0.5), area.Top, area.Bottom);
    const double bottom = std::min<double>(std::ceil(std::max(a.y, b.y) + r), static_cast<double>(area.Bottom) - 1);
    for (int y = static_cast<int>(top); y <= bottom; ++y) {
      const double yc = y + 0.5;
      double lo = INFINITY, hi = -INFINITY;
      for (PointF c : {a, b}) {
        const double dy = yc - c.y;
        if (dy >= -r && dy < r) {
          const double s = std::sqrt(std::max(0.0, r * r - dy * dy));
          lo = std::min(lo, c.x - s);
          hi = std::max(hi, c.x + s);
        }
      }
      for (int i = 0; i < 4; ++i) {
        PointF p = quad[i], q = quad[(i + 1) % 4];
        if (p.y == q.y) {
          if (p.y == yc) {
            lo = std::min({lo, p.x, q.x});
            hi = std::max({hi, p.x, q.x});
          }
          continue;
        }
        if (yc < std::min(p.y, q.y) || yc > std::max(p.y, q.y)) continue;
        const double x = p.x + (yc - p.y) * (q.x - p.x) / (q.y - p.y);
        lo = std::min(lo, x);
        hi = std::max(hi, x);
      }
      if (lo < hi) addRow(y, lo, hi);
    }
  };
  if (points.size() == 1) segment(points[0], points[0]);
  for (size_t i = 0; i + 1 < points.size(); ++i) segment(points[i], points[i + 1]);
  if (closed && points.size() > 2) segment(points.back(), points.front());
  Region region = Region::FromSpans(std::move(spans));
  region.Offset(ox, oy);
  return region;
}

}  // namespace platform
