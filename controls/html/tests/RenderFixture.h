#pragma once

#include <string>

#include "controls/html/RenderHTML.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/tests/TextTestFont.h"

namespace controls::test {

using namespace platform;

// One RenderHTML call with the arguments a test sets by name, on a white bitmap whose canvas draws
// black text in the test font at em 16: every character 8 pixels wide, lines 16 high, and the first
// line's text starting at x = 1 (the renderer leaves one pixel at the left).
struct Render {
  TRect rect = Rect(0, 0, 200, 100);
  TCustomImageList* images = nullptr;
  int x = -1, y = -1, focusLink = -1, hoverLink = -1, shadowOffset = 1;
  bool checkHotSpot = false, checkHeight = false, print = false, selected = false, blink = true,
       hoverStyle = false, wordWrap = true;
  double resizeFactor = 1.0;
  TColor urlColor = clBlue, hoverColor = clNone, hoverFontColor = clNone, shadowColor = clGray;
  TMarkupPictureCache* cache = nullptr;
  TPictureContainer* container = nullptr;

  std::string anchorVal, stripVal, focusAnchor;
  int xSize = 0, ySize = 0, hyperLinks = 0, mouseLink = 0;
  TRect hoverRect{};
  bool result = false;

  bool Run(TCanvas& canvas, const std::string& text) {
    result = RenderHTML(canvas, text, rect, images, x, y, focusLink, hoverLink, shadowOffset, checkHotSpot,
                        checkHeight, print, selected, blink, hoverStyle, wordWrap, resizeFactor, urlColor,
                        hoverColor, hoverFontColor, shadowColor, anchorVal, stripVal, focusAnchor, xSize, ySize,
                        hyperLinks, mouseLink, hoverRect, cache, container);
    return result;
  }
};

// A bitmap of the rectangle's size with the test font, white brush.
struct MarkupBitmap : platform::test::TextBitmap {
  explicit MarkupBitmap(int width = 200, int height = 100) : TextBitmap(width, height) {}
};

// The leftmost inked (not white) x of the pixel rows top..bottom - 1; -1 when none.
inline int InkLeft(const TBitmap& b, int top, int bottom) {
  for (int x = 0; x < b.Width(); ++x)
    for (int y = top; y < bottom && y < b.Height(); ++y)
      if (platform::test::PixelAt(b, x, y) != clWhite) return x;
  return -1;
}

// Whether any pixel of the rectangle has the colour.
inline bool HasColor(const TBitmap& b, const TRect& r, TColor color) {
  for (int y = std::max(0, r.Top); y < std::min(b.Height(), r.Bottom); ++y)
    for (int x = std::max(0, r.Left); x < std::min(b.Width(), r.Right); ++x)
      if (platform::test::PixelAt(b, x, y) == color) return true;
  return false;
}

}  // namespace controls::test
