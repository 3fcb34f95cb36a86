#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/PageSink.h"
#include "platform/gfx/Raster.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/Shapes.h"

namespace platform {

// The device context behind a canvas (internal to platform/gfx).

struct DcState {
  TColor penColor = clBlack;
  int penWidth = 1;
  TPenStyle penStyle = TPenStyle::psSolid;
  int rop2 = R2_COPYPEN;
  TColor brushColor = clWhite;
  TBrushStyle brushStyle = TBrushStyle::bsSolid;
  TColor bkColor = clWhite;
  int bkMode = OPAQUE;
  TColor textColor = clBlack;
  TLogFont font;
  std::optional<Region> clip;  // device coordinates; none: the whole bitmap
  TPoint viewportOrg;
  TPoint penPos;  // logical
  int mapMode = MM_TEXT;
};

enum class BlitMode { Copy, Transparent, Alpha };

// On and off run lengths of the cosmetic dash styles; empty for a solid line.
std::span<const int> DashPattern(TPenStyle style);

// Device coordinates and pen widths stay within 2^27, as the device context allows, so that the
// rasteriser's arithmetic cannot overflow; a figure reaching further is drawn as if it ended there,
// far beyond any bitmap.
constexpr int kMaxDeviceCoordinate = 1 << 27;

// Logical and device units meet here and nowhere else. MM_TEXT: device = logical + viewport origin, so
// every pixel of the screen's drawing is exactly as without mapping. MM_LOMETRIC: one logical unit is
// 0.1 mm and y grows upward: device = round(logical x pixelsPerInch / 254), y negated, + viewport
// origin. Pen widths and font heights are logical too and become device pixels where they are used;
// rectangles are normalised once in device space.
struct TCanvas::Device {
  TBitmap* target = nullptr;
  PageSink* sink = nullptr;  // a page device: the output goes to the sink, target is an empty bitmap
  TSize sinkExtent;          // the page device's size in pixels
  int pixelsPerInch = 96;
  DcState state;
  std::vector<DcState> saved;
  std::shared_ptr<FontFace> face;  // of state.font, resolved when first needed
  enum class PathState { None, Recording, Closed } pathState = PathState::None;
  std::vector<Contour> path;  // device coordinates
  Region spareClip;           // storage for ClipRectGuard's clips, so that narrowing allocates nothing

  RasterTarget Raster() const;
  // The device pixels drawing can reach: the bitmap cut to the clip region's box. Shapes are built
  // only within it.
  TRect Visible() const;
  // The device's own pixels: the bitmap, or the page.
  TRect Bounds() const;
  TPoint ToDevice(TPoint p) const;
  TRect ToDevice(TRect r) const;  // normalised
  TPoint ToLogical(TPoint p) const;
  TRect ToLogical(TRect r) const;
  // Lengths without the origin, rounded; a logical length in device pixels and back.
  int LengthToDevice(int logical) const;
  int LengthToLogical(int device) const;
  bool Mapped() const { return state.mapMode != MM_TEXT; }
  // The selected pen's width in device pixels (at least 1 when mapped).
  int PenWidth() const;
  // The selected font with its height in device pixels: what the face is resolved for.
  TLogFont DeviceFont() const;

  FontFace& Face();
  void SelectLogFont(const TLogFont& font);
  // The clip intersected with a device rectangle, for the duration of a guard.
  void IntersectClip(const Region& region);

  // Painting in a colour (nothing for clNone) with a raster operation; regions in device coordinates.
  void Paint(const Region& region, TColor color, int rop);
  void FillSolid(const TRect& logical, TColor color);

  // Pen strokes: a one-pixel line (end excluded) continuing the dash pattern at dashPos, or the
  // pixels a pen of any width covers along connected points (device coordinates). OnPixels and
  // GapPixels collect instead of painting, for figures that must not paint a pixel twice.
  void PenLine(TPoint from, TPoint to, int64_t& dashPos);
  struct PenPixels {
    Region on;
    Region gap;
  };
  PenPixels PenOutline(const std::vector<TPoint>& devicePoints, bool closed);
  void PaintPen(const PenPixels& pixels);
  void PaintFigure(const Region& inside, const PenPixels& outline);

  // Text in the selected font at logical (x, y), the top-left of its cell; mnemonic is the index of a
  // character to underline (-1 none). Adds outlines to the path instead while one is recorded.
  int RunWidth(std::u32string_view text);
  void TextRun(int x, int y, std::u32string_view text, int mnemonic = -1);

  void Blit(const TRect& dest, const TBitmap& source, const TRect& src, BlitMode mode, TColor key);
};

struct CanvasAccess {
  static TCanvas::Device& Of(TCanvas& canvas) { return *canvas.device_; }
};

// Restores the device context's state on every path out of a scope.
class DcStateGuard {
public:
  explicit DcStateGuard(TCanvas::Device& d) : d_(d), state_(d.state) {}
  ~DcStateGuard();
  DcStateGuard(const DcStateGuard&) = delete;
  DcStateGuard& operator=(const DcStateGuard&) = delete;

private:
  TCanvas::Device& d_;
  DcState state_;
};

// Narrows the clip to a device rectangle for a scope and puts the previous clip back on every path.
// Unlike DcStateGuard it copies no state: text drawn word by word narrows the clip for every word.
class ClipRectGuard {
public:
  ClipRectGuard(TCanvas::Device& d, const TRect& deviceRect);
  ~ClipRectGuard();
  ClipRectGuard(const ClipRectGuard&) = delete;
  ClipRectGuard& operator=(const ClipRectGuard&) = delete;

private:
  TCanvas::Device& d_;
  std::optional<Region> saved_;
};

}  // namespace platform
