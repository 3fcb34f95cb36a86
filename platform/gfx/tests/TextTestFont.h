#pragma once

#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/TestFont.h"
#include "platform/gfx/tests/PixelArt.h"

namespace platform::test {

// A white bitmap whose canvas draws black text in the test font with an em height of 16 pixels:
// cells 8 wide and 16 high, ink 7 x 12 from the cell's top-left corner.
struct TextBitmap : TBitmap {
  TextBitmap(int width, int height) : TBitmap(width, height) {
    TFont& f = Canvas().Font();
    f.SetName(kTestFontName);
    f.SetHeight(-16);
    f.SetColor(clBlack);
  }

  // The text as laid out: one string per 16-pixel line, 'X' for each inked 8-pixel cell, trailing
  // blanks removed, trailing empty lines dropped.
  std::vector<std::string> Cells(int top = 0, int left = 0) const {
    std::vector<std::string> lines;
    for (int y = top; y + 12 <= Height(); y += 16) {
      std::string line;
      for (int x = left; x + 1 < Width(); x += 8) line += PixelAt(*this, x + 1, y + 1) == clBlack ? 'X' : ' ';
      line.erase(line.find_last_not_of(' ') + 1);
      lines.push_back(line);
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
  }

  // Bounding box of the pixels that are not white.
  TRect Ink() const {
    TRect box{Width(), Height(), 0, 0};
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x)
        if (PixelAt(*this, x, y) != clWhite) {
          box.Left = std::min(box.Left, x);
          box.Top = std::min(box.Top, y);
          box.Right = std::max(box.Right, x + 1);
          box.Bottom = std::max(box.Bottom, y + 1);
        }
    return box.Right == 0 ? TRect{} : box;
  }
};

}  // namespace platform::test
