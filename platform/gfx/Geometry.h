#pragma once

#include <cstdint>

namespace platform {

// Points, sizes and rectangles in the class library's shape. A rectangle's right and bottom edges are
// exclusive: Rect(0, 0, 10, 10) covers the pixels 0..9 in both directions.

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
constexpr TRect Bounds(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

// True when the rectangle covers no pixel (right <= left or bottom <= top).
bool IsRectEmpty(const TRect& r);
bool PtInRect(const TRect& r, TPoint p);
void InflateRect(TRect& r, int dx, int dy);
void OffsetRect(TRect& r, int dx, int dy);
// The common part of a and b in dst; false (and dst empty at 0,0,0,0) when they do not overlap.
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);
// The smallest rectangle holding both; an empty rectangle adds nothing.
bool UnionRect(TRect& dst, const TRect& a, const TRect& b);

// number * numerator / denominator with a 64-bit intermediate, rounded half away from zero; -1 when the
// denominator is 0 or the result does not fit in an int.
int MulDiv(int number, int numerator, int denominator);

}  // namespace platform
