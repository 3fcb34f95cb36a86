#include "platform/gfx/Geometry.h"

#include <algorithm>
#include <climits>

namespace platform {

bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

bool PtInRect(const TRect& r, TPoint p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

void InflateRect(TRect& r, int dx, int dy) {
  r.Left -= dx;
  r.Top -= dy;
  r.Right += dx;
  r.Bottom += dy;
}

void OffsetRect(TRect& r, int dx, int dy) {
  r.Left += dx;
  r.Top += dy;
  r.Right += dx;
  r.Bottom += dy;
}

bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  if (IsRectEmpty(r)) {
    dst = {};
    return false;
  }
  dst = r;
  return true;
}

bool UnionRect(TRect& dst, const TRect& a, const TRect& b) {
  if (IsRectEmpty(a)) {
    dst = IsRectEmpty(b) ? TRect{} : b;
  } else if (IsRectEmpty(b)) {
    dst = a;
  } else {
    dst = {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
           std::max(a.Bottom, b.Bottom)};
  }
  return !IsRectEmpty(dst);
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t product = int64_t{number} * numerator;
  int64_t half = (denominator < 0 ? -int64_t{denominator} : denominator) / 2;
  bool negative = (product < 0) != (denominator < 0);
  int64_t magnitude = (product < 0 ? -product : product);
  int64_t divisor = denominator < 0 ? -int64_t{denominator} : denominator;
  int64_t result = (magnitude + half) / divisor;
  if (negative) result = -result;
  if (result > INT_MAX || result < INT_MIN) return -1;
  return static_cast<int>(result);
}

}  // namespace platform
