#pragma once

#include <string>
#include <vector>

namespace platform {

// The picture of a cursor that the program makes itself: each row is a string of pixels, '#' black,
// '.' white, ' ' transparent, and the hot spot is the pixel that points.
struct CursorImage {
  int hotX = 0;
  int hotY = 0;
  std::vector<std::string> rows;  // all of one width
};

// A program cursor as the screen keeps it (TScreen::Cursors): its picture, which lives as long as the
// program; null is none.
using HCURSOR = const CursorImage*;

}  // namespace platform
