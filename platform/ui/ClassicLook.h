#pragma once

#include <string>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colors.h"
#include "platform/ui/ControlAppearance.h"

namespace platform {

// The drawing the standard controls share, in the system colours of the classic desktop.

// Draws a frame `width` pixels wide inside `rect`, the top and left sides in `topColor`, the bottom and
// right ones in `bottomColor`, and shrinks `rect` by it.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// The DrawText flag of an alignment.
unsigned AlignmentFlag(TAlignment alignment);

// Draws a caption with DrawText (an "&" underlines the next character unless DT_NOPREFIX is given) in
// the canvas's font. Enabled text is drawn in the font's colour; disabled text is embossed, in the
// highlight colour one pixel down and right under the shadow colour, as the classic desktop greys it.
void DrawCaption(TCanvas& canvas, const std::string& text, TRect rect, unsigned flags, bool enabled);

// The size the caption takes (DrawText's calc-rect) within `width` pixels, or on one line when
// `width` is 0.
TSize CaptionExtent(TCanvas& canvas, const std::string& text, unsigned flags, int width = 0);

}  // namespace platform
