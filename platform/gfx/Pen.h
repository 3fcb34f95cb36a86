#pragma once

#include <functional>

#include "platform/gfx/Colors.h"

namespace platform {

// Line styles. The dash styles are cosmetic one-pixel pens for lines, polylines, polygons and
// rectangles; a width above 1, an ellipse and a rounded rectangle draw them solid;
// psInsideFrame keeps a wide pen inside the figure of a rectangle, rounded rectangle or ellipse.
enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// How the pen (and the brush inside a figure) combines with the pixels below: the sixteen binary
// raster operations on the 24 colour bits. pmXor drawn twice leaves the pixels as they were.
enum class TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

// The pen of a canvas: colour, width in pixels, style and mode. OnChange fires after every change
// (the canvas uses it to select the new pen before it next draws).
class TPen {
public:
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Width() const { return width_; }
  void SetWidth(int value);  // values below 1 are taken as 1
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode value);

  void Assign(const TPen& source);  // copies the values, keeps OnChange; fires it

  std::function<void()> OnChange;

private:
  void Changed();

  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = TPenStyle::psSolid;
  TPenMode mode_ = TPenMode::pmCopy;
};

}  // namespace platform
