#pragma once

#include <sstream>
#include <string>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Gdi.h"

namespace platform::test {

// The five parts of a canvas's state as its users read them (pen, brush, font, origin and clip), as
// one line, so that a test compares them at once and a failure shows which part differs.
inline std::string CanvasStateText(TCanvas& c) {
  std::ostringstream out;
  const TPen& pen = c.Pen();
  const TBrush& brush = c.Brush();
  const TFont& font = c.Font();
  TPoint origin;
  GetViewportOrgEx(&c, origin);
  const TRect clip = c.ClipRect();
  out << "pen " << pen.Color() << '/' << pen.Width() << '/' << static_cast<int>(pen.Style()) << '/'
      << static_cast<int>(pen.Mode()) << ", brush " << brush.Color() << '/' << static_cast<int>(brush.Style())
      << ", font " << font.Name() << '/' << font.Height() << '/' << font.Color() << '/'
      << font.Style().Contains(TFontStyle::fsBold) << font.Style().Contains(TFontStyle::fsItalic)
      << ", origin " << origin.X << ',' << origin.Y << ", clip " << clip.Left << ',' << clip.Top << ','
      << clip.Right << ',' << clip.Bottom;
  return out.str();
}

}  // namespace platform::test
