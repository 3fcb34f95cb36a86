#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Region.h"

namespace platform {

// The pixel sets of the canvas's figures (internal to platform/gfx). Coordinates are device pixels;
// every shape is sampled at pixel centres, so a figure built on integer corners covers exactly the
// pixels inside them.

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
Region RoundedBoxRegion(const TRect& box, int ellipseWidth, int ellipseHeight);

// The pixels whose centres lie inside the closed contours.
Region PolygonRegion(const std::vector<Contour>& contours, FillRule rule);

// The pixels within width / 2 of the connected segments through `points` (pixel (x, y) has its centre
// at (x + 0.5, y + 0.5)); round ends and round joins. `closed` joins the last point to the first.
struct PointF {
  double x = 0;
  double y = 0;
};
Region WideStrokeRegion(const std::vector<PointF>& points, double width, bool closed);

// Calls plot(x, y) for the pixels of the one-pixel line from (x0, y0) to (x1, y1), the end point
// excluded. Each step along the major axis takes the minor coordinate nearest to the exact line; an
// exact tie goes to the larger coordinate.
template <class F>
void ForEachLinePixel(int x0, int y0, int x1, int y1, F&& plot) {
  const int64_t dx = x1 - x0, dy = y1 - y0;
  const int64_t n = std::llabs(dx) > std::llabs(dy) ? std::llabs(dx) : std::llabs(dy);
  auto roundDiv = [n](int64_t v) {  // floor((2v + n) / 2n)
    int64_t num = 2 * v + n, den = 2 * n;
    return num >= 0 ? num / den : -((-num + den - 1) / den);
  };
  for (int64_t k = 0; k < n; ++k) {
    if (std::llabs(dx) >= std::llabs(dy))
      plot(static_cast<int>(x0 + (dx > 0 ? k : -k)), static_cast<int>(y0 + roundDiv(k * dy)));
    else
      plot(static_cast<int>(x0 + roundDiv(k * dx)), static_cast<int>(y0 + (dy > 0 ? k : -k)));
  }
}

}  // namespace platform
