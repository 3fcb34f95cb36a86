#include "platform/gfx/Gdi.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/CanvasDevice.h"

namespace platform {

namespace {

using Device = TCanvas::Device;

Device* Of(HDC dc) { return dc ? &CanvasAccess::Of(*dc) : nullptr; }

int Complexity(const Region& r) { return r.Empty() ? NULLREGION : r.IsRect() ? SIMPLEREGION : COMPLEXREGION; }

TRect BitmapBounds(const Device& d) { return d.Bounds(); }

}  // namespace

int SetBkMode(HDC dc, int mode) {
  Device* d = Of(dc);
  if (!d || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int previous = d->state.bkMode;
  d->state.bkMode = mode;
  return previous;
}

int GetBkMode(HDC dc) { return Of(dc) ? Of(dc)->state.bkMode : 0; }

TColor SetBkColor(HDC dc, TColor color) {
  Device* d = Of(dc);
  if (!d) return CLR_INVALID;
  TColor previous = d->state.bkColor;
  d->state.bkColor = color;
  return previous;
}

TColor SetTextColor(HDC dc, TColor color) {
  Device* d = Of(dc);
  if (!d) return CLR_INVALID;
  TColor previous = d->state.textColor;
  d->state.textColor = color;
  return previous;
}

TColor GetTextColor(HDC dc) { return Of(dc) ? Of(dc)->state.textColor : CLR_INVALID; }

TLogFont SelectFont(HDC dc, const TLogFont& font) {
  Device* d = Of(dc);
  if (!d) return {};
  TLogFont previous = d->state.font;
  d->SelectLogFont(font);
  return previous;
}

bool GetTextMetrics(HDC dc, TTextMetric& metrics) {
  Device* d = Of(dc);
  if (!d) return false;
  metrics = d->Face().Metrics();
  if (d->Mapped()) {
    for (int* v : {&metrics.tmHeight, &metrics.tmAscent, &metrics.tmDescent, &metrics.tmInternalLeading,
                   &metrics.tmExternalLeading, &metrics.tmAveCharWidth, &metrics.tmMaxCharWidth})
      *v = d->LengthToLogical(*v);
  }
  const TLogFont& f = d->state.font;
  metrics.tmWeight = f.Weight >= FW_BOLD ? FW_BOLD : FW_NORMAL;
  metrics.tmItalic = f.Italic;
  metrics.tmUnderlined = f.Underline;
  metrics.tmStruckOut = f.StrikeOut;
  return true;
}

std::string GetTextFace(HDC dc) { return Of(dc) ? Of(dc)->Face().FamilyName() : std::string(); }

int GetDeviceCaps(HDC dc, int index) {
  Device* d = Of(dc);
  if (!d) return 0;
  switch (index) {
    case HORZRES: return d->Bounds().Width();
    case VERTRES: return d->Bounds().Height();
    case BITSPIXEL: return 32;
    case LOGPIXELSX:
    case LOGPIXELSY: return d->pixelsPerInch;
    default: return 0;
  }
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  Device* d = Of(dc);
  if (!d) return 0;
  d->IntersectClip(Region(d->ToDevice(Rect(left, top, right, bottom))));
  return Complexity(*d->state.clip);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
  Device* d = Of(dc);
  if (!d) return 0;
  Region clip = d->state.clip ? *d->state.clip : Region(BitmapBounds(*d));
  clip.Subtract(Region(d->ToDevice(Rect(left, top, right, bottom))));
  d->state.clip = std::move(clip);
  return Complexity(*d->state.clip);
}

int GetClipBox(HDC dc, TRect& box) {
  Device* d = Of(dc);
  if (!d) return 0;
  Region clip(BitmapBounds(*d));
  if (d->state.clip) clip.Intersect(*d->state.clip);
  box = clip.Empty() ? TRect{} : d->ToLogical(clip.Box());
  return Complexity(clip);
}

int SaveDC(HDC dc) {
  Device* d = Of(dc);
  if (!d) return 0;
  d->saved.push_back(d->state);
  return static_cast<int>(d->saved.size());
}

bool RestoreDC(HDC dc, int savedDC) {
  Device* d = Of(dc);
  if (!d) return false;
  const int depth = static_cast<int>(d->saved.size());
  const int level = savedDC < 0 ? depth + 1 + savedDC : savedDC;
  if (savedDC == 0 || level < 1 || level > depth) return false;
  const TLogFont font = d->state.font;
  const int mapMode = d->state.mapMode;
  d->state = std::move(d->saved[static_cast<size_t>(level - 1)]);
  d->saved.resize(static_cast<size_t>(level - 1));
  if (!(d->state.font == font) || d->state.mapMode != mapMode) d->face.reset();
  return true;
}

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous) {
  Device* d = Of(dc);
  if (!d) return false;
  if (previous) *previous = d->state.viewportOrg;
  d->state.viewportOrg = {x, y};
  return true;
}

bool GetViewportOrgEx(HDC dc, TPoint& origin) {
  Device* d = Of(dc);
  if (!d) return false;
  origin = d->state.viewportOrg;
  return true;
}

int SetMapMode(HDC dc, int mode) {
  Device* d = Of(dc);
  if (!d || (mode != MM_TEXT && mode != MM_LOMETRIC)) return 0;
  const int previous = d->state.mapMode;
  if (mode != previous) {
    d->state.mapMode = mode;
    d->face.reset();
  }
  return previous;
}

int GetMapMode(HDC dc) { return Of(dc) ? Of(dc)->state.mapMode : 0; }

bool LPtoDP(HDC dc, TPoint* points, int count) {
  Device* d = Of(dc);
  if (!d || (count > 0 && !points)) return false;
  for (int i = 0; i < count; ++i) points[i] = d->ToDevice(points[i]);
  return true;
}

bool DPtoLP(HDC dc, TPoint* points, int count) {
  Device* d = Of(dc);
  if (!d || (count > 0 && !points)) return false;
  for (int i = 0; i < count; ++i) points[i] = d->ToLogical(points[i]);
  return true;
}

bool BeginPath(HDC dc) {
  Device* d = Of(dc);
  if (!d) return false;
  d->path.clear();
  d->pathState = Device::PathState::Recording;
  return true;
}

bool EndPath(HDC dc) {
  Device* d = Of(dc);
  if (!d || d->pathState != Device::PathState::Recording) return false;
  d->pathState = Device::PathState::Closed;
  return true;
}

bool AbortPath(HDC dc) {
  Device* d = Of(dc);
  if (!d) return false;
  d->path.clear();
  d->pathState = Device::PathState::None;
  return true;
}

bool StrokePath(HDC dc) {
  Device* d = Of(dc);
  if (!d || d->pathState != Device::PathState::Closed) return false;
  // Path points lie in continuous coordinates (pixel centres at +0.5); pens take pixel positions.
  Region stroke;
  for (const Contour& contour : d->path) {
    if (d->PenWidth() > 1) {
      std::vector<PointF> points;
      for (FixedPoint p : contour) points.push_back({p.x / 64.0 - 0.5, p.y / 64.0 - 0.5});
      stroke.Unite(WideStrokeRegion(points, d->PenWidth(), true, d->Visible()));
    } else {
      std::vector<TPoint> points;
      for (FixedPoint p : contour) {
        const TPoint q{static_cast<int>(p.x >> 6), static_cast<int>(p.y >> 6)};  // the pixel holding p
        if (points.empty() || !(points.back() == q)) points.push_back(q);
      }
      stroke.Unite(d->PenOutline(points, true).on);
    }
  }
  d->Paint(stroke, d->state.penColor, d->state.rop2);
  d->path.clear();
  d->pathState = Device::PathState::None;
  return true;
}

bool SelectClipPath(HDC dc) {
  Device* d = Of(dc);
  if (!d || d->pathState != Device::PathState::Closed) return false;
  // The clip only narrows, so the path matters only within what is visible now.
  d->IntersectClip(PolygonRegion(d->path, FillRule::Winding, d->Visible()));
  d->path.clear();
  d->pathState = Device::PathState::None;
  return true;
}

namespace {

// The three blits differ only by how a source pixel meets the destination.
bool BlitBetween(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                 BlitMode mode, TColor transparent) {
  if (!dest || !source) return false;
  Device& d = CanvasAccess::Of(*dest);
  Device& s = CanvasAccess::Of(*source);
  d.Blit(d.ToDevice(Bounds(x, y, width, height)), *s.target, s.ToDevice(Bounds(sx, sy, sw, sh)), mode, transparent);
  return true;
}

}  // namespace

bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh) {
  return BlitBetween(dest, x, y, width, height, source, sx, sy, sw, sh, BlitMode::Copy, 0);
}

bool TransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                    TColor transparent) {
  return BlitBetween(dest, x, y, width, height, source, sx, sy, sw, sh, BlitMode::Transparent, transparent);
}

int StretchDIBits(HDC dest, int x, int y, int width, int height, int sx, int sy, int sw, int sh, const TBitmap& bits,
                  unsigned rop) {
  if (!dest || rop != SRCCOPY) return 0;
  Device& d = CanvasAccess::Of(*dest);
  d.Blit(d.ToDevice(Bounds(x, y, width, height)), bits, Bounds(sx, sy, sw, sh), BlitMode::Copy, 0);
  return sh;
}

bool AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh) {
  return BlitBetween(dest, x, y, width, height, source, sx, sy, sw, sh, BlitMode::Alpha, 0);
}

}  // namespace platform
