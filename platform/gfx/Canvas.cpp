#include "platform/gfx/Canvas.h"

#include <algorithm>
#include <array>
#include <climits>
#include <span>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/CanvasDevice.h"
#include "platform/gfx/Graphic.h"

namespace platform {

namespace {

int Rop2Of(TPenMode mode) {
  static constexpr std::array<int, 16> kRops = {
      R2_BLACK,      R2_WHITE,      R2_NOP,       R2_NOT,         R2_COPYPEN,   R2_NOTCOPYPEN,
      R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
      R2_MASKPEN,    R2_NOTMASKPEN, R2_XORPEN,    R2_NOTXORPEN};
  return kRops[static_cast<size_t>(mode)];
}

// On and off run lengths of the cosmetic dash styles; empty for a solid line.
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

TRect Deflated(TRect r, int d) {
  InflateRect(r, -d, -d);
  return r;
}

int DeviceCoordinate(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, -kMaxDeviceCoordinate, kMaxDeviceCoordinate));
}

int Saturated(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

}  // namespace

// ---- device context ----------------------------------------------------------------------------

RasterTarget TCanvas::Device::Raster() const {
  RasterTarget t;
  if (target->Empty()) return t;
  t.pixels = target->ScanLine(0);
  t.width = target->Width();
  t.height = target->Height();
  t.clip = state.clip ? &*state.clip : nullptr;
  return t;
}

TRect TCanvas::Device::Visible() const {
  TRect box = Rect(0, 0, target->Width(), target->Height());
  if (state.clip) IntersectRect(box, box, state.clip->Box());
  return box;
}

TPoint TCanvas::Device::ToDevice(TPoint p) const {
  return {DeviceCoordinate(int64_t{p.X} + state.viewportOrg.X), DeviceCoordinate(int64_t{p.Y} + state.viewportOrg.Y)};
}

TRect TCanvas::Device::ToDevice(TRect r) const {
  const TPoint topLeft = ToDevice(r.TopLeft()), bottomRight = ToDevice(r.BottomRight());
  return {topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
}

TRect TCanvas::Device::ToLogical(TRect r) const {
  const TPoint o = state.viewportOrg;
  return {Saturated(int64_t{r.Left} - o.X), Saturated(int64_t{r.Top} - o.Y), Saturated(int64_t{r.Right} - o.X),
          Saturated(int64_t{r.Bottom} - o.Y)};
}

FontFace& TCanvas::Device::Face() {
  if (!face) face = ResolveFont(state.font);
  return *face;
}

void TCanvas::Device::SelectLogFont(const TLogFont& font) {
  if (font == state.font && face) return;
  state.font = font;
  face.reset();
}

void TCanvas::Device::IntersectClip(const Region& region) {
  Region clip = state.clip ? *state.clip : Region(Rect(0, 0, target->Width(), target->Height()));
  clip.Intersect(region);
  state.clip = std::move(clip);
}

DcStateGuard::~DcStateGuard() {
  if (!(d_.state.font == state_.font)) d_.face.reset();
  d_.state = std::move(state_);
}

void TCanvas::Device::Paint(const Region& region, TColor color, int rop) {
  if (color == clNone || region.Empty()) return;
  PaintRegion(Raster(), region, PixelFromColor(ColorToRGB(color)), rop);
}

void TCanvas::Device::FillSolid(const TRect& logical, TColor color) {
  Paint(Region(ToDevice(logical)), color, R2_COPYPEN);
}

void TCanvas::Device::PenLine(TPoint from, TPoint to, int64_t& dashPos) {
  if (state.penStyle == TPenStyle::psClear) return;
  const TPoint a = ToDevice(from), b = ToDevice(to);
  if (state.penWidth > 1) {
    Paint(WideStrokeRegion({{double(a.X), double(a.Y)}, {double(b.X), double(b.Y)}}, state.penWidth, false,
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
  if (state.penWidth > 1) {
    std::vector<PointF> p;
    for (TPoint q : points) p.push_back({double(q.X), double(q.Y)});
    result.on = WideStrokeRegion(p, state.penWidth, closed, Visible());
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

// ---- canvas ------------------------------------------------------------------------------------

TCanvas::TCanvas(TBitmap& target, int pixelsPerInch) : target_(&target), device_(std::make_unique<Device>()) {
  device_->target = &target;
  device_->pixelsPerInch = pixelsPerInch > 0 ? pixelsPerInch : 96;
  font_.SetPixelsPerInch(device_->pixelsPerInch);
  font_.SetSize(8);
  pen_.OnChange = [this] { penValid_ = false; };
  brush_.OnChange = [this] { brushValid_ = false; };
  font_.OnChange = [this] { fontValid_ = false; };
}

TCanvas::~TCanvas() = default;

void TCanvas::SetTarget(TBitmap& target) {
  target_ = &target;
  device_->target = &target;
  device_->state = DcState{};
  device_->saved.clear();
  device_->face.reset();
  device_->pathState = Device::PathState::None;
  device_->path.clear();
  penValid_ = brushValid_ = fontValid_ = false;
}

void TCanvas::RequirePen() {
  if (penValid_) return;
  DcState& s = device_->state;
  s.penColor = pen_.Color();
  s.penWidth = std::min(pen_.Width(), kMaxDeviceCoordinate);
  s.penStyle = pen_.Style();
  s.rop2 = Rop2Of(pen_.Mode());
  penValid_ = true;
}

void TCanvas::RequireBrush() {
  if (brushValid_) return;
  DcState& s = device_->state;
  s.brushColor = brush_.Color();
  s.brushStyle = brush_.Style();
  s.bkColor = brush_.Color();
  s.bkMode = brush_.Style() == TBrushStyle::bsSolid ? OPAQUE : TRANSPARENT;
  brushValid_ = true;
}

void TCanvas::RequireFont() {
  if (fontValid_) return;
  device_->SelectLogFont(font_.LogFont());
  device_->state.textColor = font_.Color();
  fontValid_ = true;
}

HDC TCanvas::Handle() {
  RequirePen();
  RequireBrush();
  RequireFont();
  return this;
}

TPoint TCanvas::PenPos() const { return device_->state.penPos; }

int TCanvas::PixelsPerInch() const { return device_->pixelsPerInch; }

TRect TCanvas::ClipRect() const {
  TRect box;
  GetClipBox(const_cast<TCanvas*>(this), box);
  return box;
}

void TCanvas::MoveTo(int x, int y) { device_->state.penPos = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  RequirePen();
  RequireBrush();
  int64_t dashPos = 0;
  device_->PenLine(device_->state.penPos, {x, y}, dashPos);
  device_->state.penPos = {x, y};
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  RequirePen();
  RequireBrush();
  Device& d = *device_;
  if (points.empty()) return;
  if (d.state.penWidth > 1) {
    std::vector<TPoint> devicePoints;
    for (TPoint p : points) devicePoints.push_back(d.ToDevice(p));
    d.PaintPen(d.PenOutline(devicePoints, false));
    return;
  }
  int64_t dashPos = 0;
  for (size_t i = 0; i + 1 < points.size(); ++i) d.PenLine(points[i], points[i + 1], dashPos);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  RequirePen();
  RequireBrush();
  Device& d = *device_;
  if (points.empty()) return;
  std::vector<TPoint> devicePoints;
  Contour contour;
  for (TPoint p : points) {
    const TPoint q = d.ToDevice(p);
    devicePoints.push_back(q);
    contour.push_back({64 * int64_t{q.X}, 64 * int64_t{q.Y}});
  }
  d.PaintFigure(PolygonRegion({contour}, FillRule::Alternate, d.Visible()), d.PenOutline(devicePoints, true));
}

namespace {

// The inside and outline of a rectangle-like figure: corner ellipses of ew x eh (both -1 for an
// ellipse, whose corners are the whole box).
void DrawFigure(TCanvas::Device& d, TRect box, int ew, int eh) {
  if (box.Right < box.Left) std::swap(box.Left, box.Right);
  if (box.Bottom < box.Top) std::swap(box.Top, box.Bottom);
  box = d.ToDevice(box);
  const bool ellipse = ew < 0;
  const TRect visible = d.Visible();
  auto shape = [&](const TRect& r, int shrink) {
    return ellipse ? RoundedBoxRegion(r, r.Width(), r.Height(), visible)
                   : RoundedBoxRegion(r, std::max(0, ew - 2 * shrink), std::max(0, eh - 2 * shrink), visible);
  };
  const DcState& s = d.state;
  if (s.penStyle == TPenStyle::psClear) {
    d.PaintFigure(shape(Rect(box.Left, box.Top, box.Right - 1, box.Bottom - 1), 0), {});
    return;
  }
  const int w = s.penWidth;
  const TRect outer = s.penStyle == TPenStyle::psInsideFrame ? box : Deflated(box, -(w / 2));
  const TRect inner = Deflated(outer, w);
  Region inside = shape(inner, w);
  TCanvas::Device::PenPixels outline;
  if (w == 1 && !ellipse && ew == 0 && !DashPattern(s.penStyle).empty()) {
    outline = d.PenOutline({{outer.Left, outer.Top}, {outer.Right - 1, outer.Top},
                            {outer.Right - 1, outer.Bottom - 1}, {outer.Left, outer.Bottom - 1}},
                           true);
  } else {
    outline.on = shape(outer, 0);
    outline.on.Subtract(inside);
  }
  d.PaintFigure(inside, outline);
}

}  // namespace

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  RequirePen();
  RequireBrush();
  DrawFigure(*device_, Rect(left, top, right, bottom), 0, 0);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  RequirePen();
  RequireBrush();
  DrawFigure(*device_, Rect(left, top, right, bottom), std::max(0, ellipseWidth), std::max(0, ellipseHeight));
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  RequirePen();
  RequireBrush();
  DrawFigure(*device_, Rect(left, top, right, bottom), -1, -1);
}

void TCanvas::FillRect(const TRect& r) {
  RequireBrush();
  if (device_->state.brushStyle == TBrushStyle::bsSolid) device_->FillSolid(r, device_->state.brushColor);
}

void TCanvas::FrameRect(const TRect& r) {
  RequireBrush();
  Device& d = *device_;
  if (d.state.brushStyle != TBrushStyle::bsSolid) return;
  const TRect box = d.ToDevice(r);
  Region frame(box);
  frame.Subtract(Region(Deflated(box, 1)));
  d.Paint(frame, d.state.brushColor, R2_COPYPEN);
}

void TCanvas::DrawFocusRect(const TRect& r) {
  RequireBrush();
  Device& d = *device_;
  const TRect box = d.ToDevice(r);
  Region frame(box);
  frame.Subtract(Region(Deflated(box, 1)));
  const RasterTarget raster = d.Raster();
  frame.ForEachSpan(0, raster.height, [&](int y, int x0, int x1) {
    raster.Visible(y, x0, x1, [&](int a, int b) {
      uint32_t* row = raster.Row(y);
      for (int x = a + ((a + y) & 1); x < b; x += 2) row[x] ^= 0x00FFFFFF;
    });
  });
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
  if (graphic.Empty()) return;
  graphic.Draw(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& r, TGraphic& graphic) {
  if (graphic.Empty()) return;
  graphic.Draw(*this, device_->ToLogical(device_->ToDevice(r)));  // within the device's range
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src) {
  StretchBlt(Handle(), dest.Left, dest.Top, dest.Width(), dest.Height(), source.Handle(), src.Left, src.Top,
             src.Width(), src.Height());
}

TColor TCanvas::Pixels(int x, int y) {
  const TPoint p = device_->ToDevice(TPoint{x, y});
  const RasterTarget raster = device_->Raster();
  if (!raster.IsVisible(p.X, p.Y)) return CLR_INVALID;
  return ColorFromPixel(raster.Row(p.Y)[p.X]);
}

void TCanvas::SetPixels(int x, int y, TColor color) { device_->FillSolid(Bounds(x, y, 1, 1), color); }

}  // namespace platform
