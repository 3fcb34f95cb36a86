#include "platform/gfx/Canvas.h"

#include <algorithm>
#include <array>

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

TRect Deflated(TRect r, int d) {
  InflateRect(r, -d, -d);
  return r;
}

}  // namespace

TCanvas::TCanvas(TBitmap& target, int pixelsPerInch) : target_(&target), device_(std::make_unique<Device>()) {
  device_->target = &target;
  device_->pixelsPerInch = pixelsPerInch > 0 ? pixelsPerInch : 96;
  font_.SetPixelsPerInch(device_->pixelsPerInch);
  font_.SetSize(8);
  pen_.OnChange = [this] { penValid_ = false; };
  brush_.OnChange = [this] { brushValid_ = false; };
  font_.OnChange = [this] { fontValid_ = false; };
}

TCanvas::TCanvas(PageSink& sink, TSize extent, int pixelsPerInch)
    : target_(nullptr), pageTarget_(std::make_unique<TBitmap>()), device_(std::make_unique<Device>()) {
  target_ = pageTarget_.get();
  device_->target = target_;
  device_->sink = &sink;
  device_->sinkExtent = {std::clamp(extent.cx, 0, kMaxDeviceCoordinate), std::clamp(extent.cy, 0, kMaxDeviceCoordinate)};
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
  device_->sink = nullptr;
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
  if (d.PenWidth() > 1) {
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
  const int w = d.PenWidth();
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
