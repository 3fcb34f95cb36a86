#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/Colors.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Region.h"

namespace platform {

class FontFace;
class TBitmap;

// The device-level output of a canvas that draws on no bitmap (internal to platform/gfx): what the
// rasteriser would have painted, handed on as it is made, in device pixels (the canvas's resolution),
// y growing downwards. A printer canvas gives it to a PDF page; the same drawing on a bitmap canvas of
// the same resolution paints the same geometry.
//
// Everything arrives already cut by the device's bounds; regions are also cut by the clip, while glyph
// runs and images carry the clip for the sink to apply. Raster operations other than copying have no
// meaning on paper: a sink paints every region in its colour.

// One character of a glyph run at its place: the origin of its glyph on the baseline.
struct PageGlyph {
  char32_t code = 0;
  double x = 0;
  double y = 0;
};

struct PageGlyphRun {
  std::shared_ptr<FontFace> face;  // the face the canvas measured the run with (its pixel size)
  int escapement = 0;              // tenths of a degree, counter-clockwise on the page
  TColor color = clBlack;          // an RGB value
  std::vector<PageGlyph> glyphs;
  const Region* clip = nullptr;    // none: the whole device
};

enum class PageImageMode { Copy, Transparent, Alpha };

class PageSink {
public:
  virtual ~PageSink() = default;
  // Filled rectangles, regions and the pixels of pen strokes, in one RGB colour.
  virtual void FillRegion(const Region& region, TColor color) = 0;
  virtual void GlyphRun(const PageGlyphRun& run) = 0;
  // The source rectangle of a bitmap stretched into dest; Transparent leaves out the pixels of
  // `transparent` (RGB), Alpha blends by the pixels' alpha.
  virtual void Image(const TRect& dest, const TBitmap& source, const TRect& src, PageImageMode mode,
                     TColor transparent, const Region* clip) = 0;
};

}  // namespace platform
