#include "platform/ui/DragCursors.h"

#include <cstdlib>

namespace platform {

namespace {

constexpr int kSize = 32;

// The arrow, its tip at (0, 0).
constexpr const char* kArrow[] = {
    "#",          "##",         "#.#",         "#..#",         "#...#",        "#....#",      "#.....#",
    "#......#",   "#.......#",  "#........#",  "#.........#",  "#......#####", "#...#..#",    "#..##..#",
    "#.# #..#",   "##   #..#",  "#    #..#",   "      #..#",   "       ##",
};

using Picture = std::vector<std::string>;

Picture Blank() { return Picture(kSize, std::string(kSize, ' ')); }

void Put(Picture& picture, int x, int y, char c) {
  if (x >= 0 && y >= 0 && x < kSize && y < kSize) picture[static_cast<size_t>(y)][static_cast<size_t>(x)] = c;
}

void DrawArrow(Picture& picture) {
  for (int y = 0; y < static_cast<int>(std::size(kArrow)); ++y)
    for (int x = 0; kArrow[y][x] != '\0'; ++x)
      if (kArrow[y][x] != ' ') Put(picture, x, y, kArrow[y][x]);
}

// The dashed box below the arrow that stands for the dragged data.
void DrawBox(Picture& picture) {
  constexpr int left = 9, top = 20, right = 24, bottom = 29;
  for (int x = left; x <= right; ++x) {
    Put(picture, x, top, (x & 1) ? '#' : '.');
    Put(picture, x, bottom, (x & 1) ? '#' : '.');
  }
  for (int y = top; y <= bottom; ++y) {
    Put(picture, left, y, (y & 1) ? '#' : '.');
    Put(picture, right, y, (y & 1) ? '#' : '.');
  }
}

// A white square with a black plus at the box's lower right.
void DrawPlus(Picture& picture) {
  constexpr int left = 19, top = 22, size = 9;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const bool edge = x == 0 || y == 0 || x == size - 1 || y == size - 1;
      const bool plus = (x == size / 2 && y >= 2 && y <= size - 3) || (y == size / 2 && x >= 2 && x <= size - 3);
      Put(picture, left + x, top + y, edge || plus ? '#' : '.');
    }
}

// A black ring with a black slash from its upper left to its lower right, on a white disc with a
// white rim, so it shows on any ground.
Picture NoDropSign() {
  Picture picture = Blank();
  constexpr int centre = 15, outer = 11, inner = 8;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const int dx = x - centre, dy = y - centre;
      const int d2 = dx * dx + dy * dy;
      if (d2 > (outer + 1) * (outer + 1) + 1) continue;
      const bool ring = d2 <= outer * outer && d2 >= inner * inner;
      const bool slash = d2 < inner * inner && std::abs(dx - dy) <= 2;
      Put(picture, x, y, ring || slash ? '#' : '.');
    }
  return picture;
}

}  // namespace

std::optional<CursorImage> DragCursorImage(TBackendCursor cursor) {
  switch (cursor) {
    case TBackendCursor::DragMove:
    case TBackendCursor::DragCopy: {
      Picture picture = Blank();
      DrawArrow(picture);
      DrawBox(picture);
      if (cursor == TBackendCursor::DragCopy) DrawPlus(picture);
      return CursorImage{0, 0, std::move(picture)};
    }
    case TBackendCursor::NoDrop: return CursorImage{15, 15, NoDropSign()};
    default: return std::nullopt;
  }
}

}  // namespace platform
