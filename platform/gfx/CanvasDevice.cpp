#include "platform/gfx/CanvasDevice.h"

#include <algorithm>
#include <climits>
#include <span>
#include <utility>
#include <vector>

#include "platform/gfx/Bitmap.h"

namespace platform {

namespace {

bool DashIsOn(std::span<const int> pattern, int64_t position) {
  int period = 0;
  for (int n : pattern) period += n;
  auto p = static_cast<int>(position % period);
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (p < pattern[i]) return i % 2 == 0;
    p -= pattern[i];
  }
  return false;
}

int DeviceCoordinate(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, -kMaxDeviceCoordinate, kMaxDeviceCoordinate));
}

int Saturated(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

}  // namespace

std::span<const int> DashPattern(TPenStyle style) {
  static constexpr int kDash[] = {18, 6};
  static constexpr int kDot[] = {3, 3};
  static constexpr int kDashDot[] = {9, 6, 3, 6};
  static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case TPenStyle::psDash: return kDash;
    case TPenStyle::psDot: return kDot;
    case TPenStyle::psDashDot: return kDashDot;
    case TPenStyle::psDashDotDot: return kDashDotDot;
    default: return {};
  }
}

RasterTarget TCanvas::Device::Raster() const {
  RasterTarget t;
  if (target->Empty()) return t;
  t.pixels = target->ScanLine(0);
  t.width = target->Width();
  t.height = target->Height();
  t.clip = state.clip ? &*state.clip : nullptr;
  return t;
}

TRect TCanvas::Device::Bounds() const {
  return sink ? Rect(0, 0, sinkExtent.cx, sinkExtent.cy) : Rect(0, 0, target->Width(), target->Height());
}

TRect TCanvas::Device::Visible() const {
  TRect box = Bounds();
  if (state.clip) IntersectRect(box, box, state.clip->Box());
  return box;
}

namespace {

// v x ppi / 254, rounded half away from zero, and back.
int64_t MetricToPixels(int64_t v, int ppi) {
  const int64_t n = v * ppi;
  return n >= 0 ? (2 * n + 254) / 508 : -((-2 * n + 254) / 508);
}
int64_t PixelsToMetric(int64_t v, int ppi) {
  const int64_t n = v * 254;
  return n >= 0 ? (2 * n + ppi) / (2 * ppi) : -((-2 * n + ppi) / (2 * ppi));
}

}  // namespace

int TCanvas::Device::LengthToDevice(int logical) const {
  return Mapped() ? DeviceCoordinate(MetricToPixels(logical, pixelsPerInch)) : logical;
}

int TCanvas::Device::LengthToLogical(int device) const {
  return Mapped() ? Saturated(PixelsToMetric(device, pixelsPerInch)) : device;
}

TPoint TCanvas::Device::ToDevice(TPoint p) const {
  if (!Mapped())
    return {DeviceCoordinate(int64_t{p.X} + state.viewportOrg.X),
            DeviceCoordinate(int64_t{p.Y} + state.viewportOrg.Y)};
  return {DeviceCoordinate(MetricToPixels(p.X, pixelsPerInch) + state.viewportOrg.X),
          DeviceCoordinate(-MetricToPixels(p.Y, pixelsPerInch) + state.viewportOrg.Y)};
}

TRect TCanvas::Device::ToDevice(TRect r) const {
  const TPoint topLeft = ToDevice(r.TopLeft()), bottomRight = ToDevice(r.BottomRight());
  TRect d{topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
  if (Mapped()) {
    if (d.Right < d.Left) std::swap(d.Left, d.Right);
    if (d.Bottom < d.Top) std::swap(d.Top, d.Bottom);
  }
  return d;
}

TPoint TCanvas::Device::ToLogical(TPoint p) const {
  const TPoint o = state.viewportOrg;
  if (!Mapped()) return {Saturated(int64_t{p.X} - o.X), Saturated(int64_t{p.Y} - o.Y)};
  return {Saturated(PixelsToMetric(int64_t{p.X} - o.X, pixelsPerInch)),
          Saturated(-PixelsToMetric(int64_t{p.Y} - o.Y, pixelsPerInch))};
}

TRect TCanvas::Device::ToLogical(TRect r) const {
  const TPoint topLeft = ToLogical(r.TopLeft()), bottomRight = ToLogical(r.BottomRight());
  return {topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
}

int TCanvas::Device::PenWidth() const {
  if (!Mapped()) return state.penWidth;
  return std::max(1, LengthToDevice(state.penWidth));
}

TLogFont TCanvas::Device::DeviceFont() const {
  TLogFont font = state.font;
  if (Mapped()) font.Height = LengthToDevice(font.Height);
  return font;
}

FontFace& TCanvas::Device::Face() {
  if (!face) face = ResolveFont(DeviceFont());
  return *face;
}

void TCanvas::Device::SelectLogFont(const TLogFont& font) {
  if (font == state.font && face) return;
  state.font = font;
  face.reset();
}

void TCanvas::Device::IntersectClip(const Region& region) {
  Region clip = state.clip ? *state.clip : Region(Bounds());
  clip.Intersect(region);
  state.clip = std::move(clip);
}

ClipRectGuard::ClipRectGuard(TCanvas::Device& d, const TRect& deviceRect) : d_(d) {
  TRect box;
  IntersectRect(box, deviceRect, d.Bounds());
  const std::optional<Region>& clip = d.state.clip;
  if (clip && clip->IsRect()) IntersectRect(box, box, clip->Box());
  Region narrowed = std::move(d.spareClip);
  narrowed.AssignRect(box);
  if (clip && !clip->IsRect()) narrowed.Intersect(*clip);
  saved_ = std::exchange(d.state.clip, std::move(narrowed));
}

ClipRectGuard::~ClipRectGuard() {
  if (d_.state.clip) d_.spareClip = std::move(*d_.state.clip);
  d_.state.clip = std::move(saved_);
}

DcStateGuard::~DcStateGuard() {
  if (!(d_.state.font == state_.font) || d_.state.mapMode != state_.mapMode) d_.face.reset();
  d_.state = std::move(state_);
}

void TCanvas::Device::Paint(const Region& region, TColor color, int rop) {
  if (color == clNone || region.Empty()) return;
  if (sink) {
    Region visible = region;
    visible.Intersect(Region(Bounds()));
    if (state.clip) visible.Intersect(*state.clip);
    if (!visible.Empty()) sink->FillRegion(visible, ColorToRGB(color));
    return;
  }
  PaintRegion(Raster(), region, PixelFromColor(ColorToRGB(color)), rop);
}

void TCanvas::Device::FillSolid(const TRect& logical, TColor color) {
  Paint(Region(ToDevice(logical)), color, R2_COPYPEN);
}

void TCanvas::Device::PenLine(TPoint from, TPoint to, int64_t& dashPos) {
  if (state.penStyle == TPenStyle::psClear) return;
  const TPoint a = ToDevice(from), b = ToDevice(to);
  if (PenWidth() > 1) {
    Paint(WideStrokeRegion({{double(a.X), double(a.Y)}, {double(b.X), double(b.Y)}}, PenWidth(), false,
                           Visible()),
          state.penColor, state.rop2);
    return;
  }
  const std::span<const int> pattern = DashPattern(state.penStyle);
  const RasterTarget raster = Raster();
  const bool drawPen = state.penColor != clNone;
  const bool drawGap = state.bkMode == OPAQUE && state.bkColor != clNone;
  const uint32_t on = PixelFromColor(ColorToRGB(state.penColor));
  const uint32_t gap = PixelFromColor(ColorToRGB(state.bkColor));
  const int rop = state.rop2;
  const int64_t start = dashPos;
  if (sink) {
    // A page collects the stroke's pixels and hands them on as regions.
    std::vector<Region::Span> onSpans, gapSpans;
    dashPos += ForEachLinePixel(a.X, a.Y, b.X, b.Y, Visible(), [&](int x, int y, int64_t k) {
      (pattern.empty() || DashIsOn(pattern, start + k) ? onSpans : gapSpans).push_back({y, x, x + 1});
    });
    if (drawPen) Paint(Region::FromSpans(std::move(onSpans)), state.penColor, rop);
    if (drawGap) Paint(Region::FromSpans(std::move(gapSpans)), state.bkColor, rop);
    return;
  }
  dashPos += ForEachLinePixel(a.X, a.Y, b.X, b.Y, Visible(), [&](int x, int y, int64_t k) {
    if (pattern.empty() || DashIsOn(pattern, start + k)) {
      if (drawPen) PlotPixel(raster, x, y, on, rop);
    } else if (drawGap) {
      PlotPixel(raster, x, y, gap, rop);
    }
  });
}

TCanvas::Device::PenPixels TCanvas::Device::PenOutline(const std::vector<TPoint>& points, bool closed) {
  PenPixels result;
  if (state.penStyle == TPenStyle::psClear || points.empty()) return result;
  if (PenWidth() > 1) {
    std::vector<PointF> p;
    for (TPoint q : points) p.push_back({double(q.X), double(q.Y)});
    result.on = WideStrokeRegion(p, PenWidth(), closed, Visible());
    return result;
  }
  const std::span<const int> pattern = DashPattern(state.penStyle);
  const TRect visible = Visible();
  std::vector<Region::Span> on, gap;
  int64_t dashPos = 0;
  const size_t segments = closed ? points.size() : points.size() - 1;
  for (size_t i = 0; i < segments; ++i) {
    const TPoint a = points[i], b = points[(i + 1) % points.size()];
    dashPos += ForEachLinePixel(a.X, a.Y, b.X, b.Y, visible, [&](int x, int y, int64_t k) {
      (pattern.empty() || DashIsOn(pattern, dashPos + k) ? on : gap).push_back({y, x, x + 1});
    });
  }
  result.on = Region::FromSpans(std::move(on));
  result.gap = Region::FromSpans(std::move(gap));
  return result;
}

void TCanvas::Device::PaintPen(const PenPixels& pixels) {
  Paint(pixels.on, state.penColor, state.rop2);
  if (state.bkMode == OPAQUE) Paint(pixels.gap, state.bkColor, state.rop2);
}

void TCanvas::Device::PaintFigure(const Region& inside, const PenPixels& outline) {
  if (state.brushStyle == TBrushStyle::bsSolid) {
    Region brush = inside;
    brush.Subtract(outline.on);
    if (state.bkMode == OPAQUE) brush.Subtract(outline.gap);
    Paint(brush, state.brushColor, state.rop2);
  }
  PaintPen(outline);
}

void TCanvas::Device::Blit(const TRect& dest, const TBitmap& source, const TRect& src, BlitMode mode, TColor key) {
  if (IsRectEmpty(dest) || IsRectEmpty(src) || source.Empty()) return;
  if (sink) {
    TRect visible;
    if (!IntersectRect(visible, dest, Visible())) return;
    if (mode == BlitMode::Transparent && key == clNone) mode = BlitMode::Copy;
    const PageImageMode pageMode = mode == BlitMode::Copy          ? PageImageMode::Copy
                                   : mode == BlitMode::Transparent ? PageImageMode::Transparent
                                                                   : PageImageMode::Alpha;
    sink->Image(dest, source, src, pageMode, mode == BlitMode::Transparent ? ColorToRGB(key) : clNone,
                state.clip ? &*state.clip : nullptr);
    return;
  }
  const RasterTarget raster = Raster();
  if (!raster.pixels) return;
  // Copying a bitmap onto itself reads from a snapshot, so overlapping rectangles copy cleanly.
  std::vector<uint32_t> snapshot;
  const uint32_t* sourcePixels = source.ScanLine(0);
  if (&source == target) {
    snapshot.assign(sourcePixels, sourcePixels + static_cast<size_t>(source.Width()) * source.Height());
    sourcePixels = snapshot.data();
  }
  if (mode == BlitMode::Transparent && key == clNone) mode = BlitMode::Copy;  // no colour to leave out
  const int64_t dw = dest.Width(), dh = dest.Height(), sw = src.Width(), sh = src.Height();
  const uint32_t keyPixel = PixelFromColor(ColorToRGB(key)) & 0xFFFFFF;
  const TRect visible = Visible();
  for (int y = std::max(dest.Top, visible.Top); y < std::min(dest.Bottom, visible.Bottom); ++y) {
    // Nearest source pixel to the centre of the destination pixel.
    const int64_t sy = src.Top + ((2 * (int64_t{y} - dest.Top) + 1) * sh) / (2 * dh);
    if (sy < 0 || sy >= source.Height()) continue;
    const uint32_t* srcRow = sourcePixels + sy * source.Width();
    raster.Visible(y, dest.Left, dest.Right, [&](int a, int b) {
      uint32_t* row = raster.Row(y);
      for (int x = a; x < b; ++x) {
        const int64_t sx = src.Left + ((2 * (int64_t{x} - dest.Left) + 1) * sw) / (2 * dw);
        if (sx < 0 || sx >= source.Width()) continue;
        const uint32_t p = srcRow[sx];
        switch (mode) {
          case BlitMode::Copy: row[x] = p; break;
          case BlitMode::Transparent:
            if ((p & 0xFFFFFF) != keyPixel) row[x] = p | 0xFF000000u;
            break;
          case BlitMode::Alpha: {
            const uint32_t alpha = p >> 24;
            if (alpha == 0) break;
            const uint32_t d = row[x];
            auto mix = [alpha](uint32_t s, uint32_t v) { return (s * alpha + v * (255 - alpha) + 127) / 255; };
            row[x] = 0xFF000000u | (mix((p >> 16) & 0xFF, (d >> 16) & 0xFF) << 16) |
                     (mix((p >> 8) & 0xFF, (d >> 8) & 0xFF) << 8) | mix(p & 0xFF, d & 0xFF);
            break;
          }
        }
      }
    });
  }
}

}  // namespace platform
