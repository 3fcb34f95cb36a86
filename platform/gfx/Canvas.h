#pragma once

#include <memory>
#include <span>
#include <string>

#include "platform/gfx/Brush.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Pen.h"

namespace platform {

class PageSink;
class TBitmap;
class TCanvas;
class TGraphic;

// A canvas is its own device context: the GDI-level functions of Gdi.h take its Handle().
using HDC = TCanvas*;

constexpr TColor CLR_INVALID = 0xFFFFFFFF;

// Drawing on a bitmap with the device context's semantics, rasterised by our own code so that every
// result is exact and repeatable.
//
// Two layers, as in the class library: the canvas's Pen, Brush and Font objects, and the device
// context's selected pen, brush, font, text colour, background colour and mode, clip region, origin
// and current position. The canvas's own drawing calls first select whichever of its objects have
// changed since it last did (a new brush also sets the background colour to its colour and the
// background mode to opaque, or transparent for a clear brush; a new font sets the text colour);
// Handle() selects all three. The GDI-level functions use the device context's state as it stands, so
// SetTextColor, SetBkMode or SelectFont on the handle hold until the canvas next selects its own font
// or brush. SaveDC and RestoreDC save and restore the device context's state only, not the Pen, Brush
// and Font objects; CanvasStateGuard saves and restores both.
//
// Coordinates are logical: device = logical + viewport origin. Rectangles exclude their right and
// bottom edges. Every primitive is cut by the clip region and the bitmap's bounds before it touches a
// pixel. The canvas keeps a reference to its bitmap, which must outlive it.
class TCanvas {
public:
  explicit TCanvas(TBitmap& target, int pixelsPerInch = 96);
  // A canvas on a page device of `extent` pixels: its output goes to the sink (which must outlive
  // it), and Target() is an empty bitmap. Pixels() reads CLR_INVALID everywhere.
  TCanvas(PageSink& sink, TSize extent, int pixelsPerInch);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  TFont& Font() { return font_; }
  void SetPen(const TPen& value) { pen_.Assign(value); }
  void SetBrush(const TBrush& value) { brush_.Assign(value); }
  void SetFont(const TFont& value) { font_.Assign(value); }

  TPoint PenPos() const;
  void SetPenPos(TPoint value) { MoveTo(value.X, value.Y); }
  // The clip region's bounding box in logical coordinates (the bitmap when nothing clips).
  TRect ClipRect() const;
  HDC Handle();
  int PixelsPerInch() const;
  TBitmap& Target() { return *target_; }
  // Points the canvas at another bitmap with a fresh device context (no clip, origin 0,0, nothing
  // saved); the Pen, Brush and Font objects stay and are selected again at the next drawing call.
  // Controls use it to paint into their window's back buffer with a canvas of their own.
  void SetTarget(TBitmap& target);

  // Lines use the pen and leave out their end point; LineTo moves the current position there.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(std::span<const TPoint> points);  // does not use or move the current position

  // Figures: the pen draws the outline, the brush fills the inside, both in the pen's mode. With a
  // one-pixel pen, Rectangle(l, t, r, b) draws its outline on the pixels l..r-1 and t..b-1 and fills
  // l+1..r-2 by t+1..b-2; without a pen (psClear) it fills l..r-2 by t..b-2. A wider pen lies centred
  // on that outline (inside it with psInsideFrame). Ellipse and RoundRect follow the same rules.
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
  void Ellipse(int left, int top, int right, int bottom);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  // Fills by the alternate rule, then draws the closed outline through every point.
  void Polygon(std::span<const TPoint> points);

  // Brush only, ignoring the pen mode: FillRect fills the rectangle, FrameRect draws a one-pixel frame
  // on its outermost pixels.
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  // Inverts every other pixel of the rectangle's one-pixel frame (those with an even x + y in device
  // coordinates); drawing it twice restores the pixels.
  void DrawFocusRect(const TRect& r);

  // Text with the font, with (x, y) the top-left corner of the text's cell (turned with the font's
  // orientation); TextOut moves the current position to (x + text width, y). TextRect clips the
  // text to r and, unless the brush is clear, first fills r with the brush colour.
  void TextOut(int x, int y, const std::string& text);
  void TextRect(const TRect& r, int x, int y, const std::string& text);
  TSize TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }

  // A graphic at its own size with its top-left corner at (x, y), or stretched into r.
  void Draw(int x, int y, TGraphic& graphic);
  void StretchDraw(const TRect& r, TGraphic& graphic);
  // Copies source's rectangle src into dest, stretching by nearest pixel when the sizes differ.
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& src);

  // The colour of a pixel; CLR_INVALID outside the bitmap or the clip region.
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);

  // The device context behind the canvas; its definition is internal to platform/gfx.
  struct Device;

private:
  friend struct CanvasAccess;
  friend class CanvasStateGuard;

  void RequirePen();
  void RequireBrush();
  void RequireFont();

  TBitmap* target_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  bool penValid_ = false;
  bool brushValid_ = false;
  bool fontValid_ = false;
  std::unique_ptr<TBitmap> pageTarget_;  // the empty bitmap of a page device
  std::unique_ptr<Device> device_;
};

}  // namespace platform
