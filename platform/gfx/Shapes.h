#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Region.h"

namespace platform {

// The pixel sets of the canvas's figures (internal to platform/gfx). Coordinates are device pixels;
// every shape is sampled at pixel centres, so a figure built on integer corners covers exactly the
// pixels inside them. A shape is only built within its `limit` (the pixels drawing can reach) and may
// leave out everything outside it, so a figure far larger than the bitmap costs no more than the
// bitmap.

// A limit that leaves nothing out.
inline constexpr TRect kAllPixels = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};

// A point in 1/64 pixel: (0, 0) is the top-left corner of pixel (0, 0).
struct FixedPoint {
  int64_t x = 0;
  int64_t y = 0;
};
using Contour = std::vector<FixedPoint>;
enum class FillRule { Alternate, Winding };

// The pixels of a rectangle whose corners are rounded by ellipse quarters of ellipseWidth by
// ellipseHeight (each clamped to the box); with both equal to the box size it is the ellipse that
// fills the box.
Region RoundedBoxRegion(const TRect& box, int ellipseWidth, int ellipseHeight, const TRect& limit);

// The pixels whose centres lie inside the closed contours.
Region PolygonRegion(const std::vector<Contour>& contours, FillRule rule, const TRect& limit);

// The pixels within width / 2 of the connected segments through `points` (pixel (x, y) has its centre
// at (x + 0.5, y + 0.5)); round ends and round joins. `closed` joins the last point to the first.
struct PointF {
  double x = 0;
  double y = 0;
};
Region WideStrokeRegion(const std::vector<PointF>& points, double width, bool closed, const TRect& limit);

// Calls plot(x, y, k) for the pixels of the one-pixel line from (x0, y0) to (x1, y1), the end point
// excluded, k counting the pixels from the start; only the pixels whose coordinate along the major
// axis lies within limit are visited. Each step along the major axis takes the minor coordinate
// nearest to the exact line; an exact tie goes to the larger coordinate. Returns the number of pixels
// of the whole line.
template <class F>
int64_t ForEachLinePixel(int x0, int y0, int x1, int y1, const TRect& limit, F&& plot) {
  const int64_t dx = int64_t{x1} - x0, dy = int64_t{y1} - y0;
  const bool alongX = std::llabs(dx) >= std::llabs(dy);
  const int64_t n = alongX ? std::llabs(dx) : std::llabs(dy);
  auto roundDiv = [n](int64_t v) {  // floor((2v + n) / 2n)
    int64_t num = 2 * v + n, den = 2 * n;
    return num >= 0 ? num / den : -((-num + den - 1) / den);
  };
  // The steps whose major coordinate start + k (or start - k) lies in [lo, hi).
  const int64_t start = alongX ? x0 : y0;
  const int64_t lo = alongX ? limit.Left : limit.Top, hi = alongX ? limit.Right : limit.Bottom;
  const bool forward = (alongX ? dx : dy) > 0;
  const int64_t first = std::max<int64_t>(0, forward ? lo - start : start - hi + 1);
  const int64_t end = std::min(n, forward ? hi - start : start - lo + 1);
  for (int64_t k = first; k < end; ++k) {
    if (alongX)
      plot(static_cast<int>(x0 + (forward ? k : -k)), static_cast<int>(y0 + roundDiv(k * dy)), k);
    else
      plot(static_cast<int>(x0 + roundDiv(k * dx)), static_cast<int>(y0 + (forward ? k : -k)), k);
  }
  return n;
}

}  // namespace platform
