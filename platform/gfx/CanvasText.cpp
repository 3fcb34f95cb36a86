#include <cmath>

#include "platform/core/Utf8.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/CanvasDevice.h"

namespace platform {

namespace {

// Unit vectors of a text's baseline and of its "down" direction on screen for an escapement; exact
// for the right angles.
struct TextAxes {
  double cx, cy;  // along the baseline
  double dx, dy;  // towards the descent
};

TextAxes AxesOf(int escapement) {
  escapement %= 3600;
  if (escapement < 0) escapement += 3600;
  double c, s;
  switch (escapement) {
    case 0: c = 1, s = 0; break;
    case 900: c = 0, s = 1; break;
    case 1800: c = -1, s = 0; break;
    case 2700: c = 0, s = -1; break;
    default: {
      const double a = escapement * M_PI / 1800.0;
      c = std::cos(a), s = std::sin(a);
    }
  }
  return {c, -s, s, c};
}

// The quadrilateral from `along` to `along + length` on the baseline axis and from `down` to
// `down + depth` on the descent axis, from the origin (ox, oy), in 1/64 pixel.
Contour Band(double ox, double oy, const TextAxes& ax, double along, double length, double down, double depth) {
  auto point = [&](double a, double d) {
    return FixedPoint{std::llround((ox + a * ax.cx + d * ax.dx) * 64), std::llround((oy + a * ax.cy + d * ax.dy) * 64)};
  };
  return {point(along, down), point(along + length, down), point(along + length, down + depth),
          point(along, down + depth)};
}

}  // namespace

int TCanvas::Device::RunWidth(std::u32string_view text) {
  FontFace& f = Face();
  int width = 0;
  for (char32_t c : text) width += f.Advance(c);
  return width;
}

void TCanvas::Device::TextRun(int x, int y, std::u32string_view text, int mnemonic) {
  FontFace& f = Face();
  const TTextMetric& m = f.Metrics();
  const TextAxes ax = AxesOf(state.font.Escapement);
  const TPoint org = ToDevice(TPoint{x, y});
  const double ox = org.X, oy = org.Y;
  // The run's width, which only its bands need.
  const int width = state.font.Underline || state.font.StrikeOut || state.bkMode == OPAQUE ? RunWidth(text) : 0;
  const double baseX = ox + m.tmAscent * ax.dx, baseY = oy + m.tmAscent * ax.dy;

  // Underline, strike-out and the mnemonic's underline, as bands along the baseline.
  std::vector<Contour> strokes;
  if (state.font.Underline)
    strokes.push_back(Band(baseX, baseY, ax, 0, width, f.Underline().offset, f.Underline().thickness));
  if (state.font.StrikeOut)
    strokes.push_back(Band(baseX, baseY, ax, 0, width, f.StrikeOut().offset, f.StrikeOut().thickness));
  if (mnemonic >= 0 && mnemonic < static_cast<int>(text.size())) {
    int before = 0;
    for (int i = 0; i < mnemonic; ++i) before += f.Advance(text[static_cast<size_t>(i)]);
    strokes.push_back(Band(baseX, baseY, ax, before, f.Advance(text[static_cast<size_t>(mnemonic)]),
                           f.Underline().offset, f.Underline().thickness));
  }

  // The outline of a character at its place in the run, in 1/64 pixels.
  auto placeOutline = [&](char32_t c, int advance, std::vector<Contour>& into) {
    const auto gx = std::llround((baseX + advance * ax.cx) * 64), gy = std::llround((baseY + advance * ax.cy) * 64);
    for (Contour& contour : RotateContours(f.Outline(c), state.font.Escapement)) {
      for (FixedPoint& p : contour) p = {p.x + gx, p.y + gy};
      into.push_back(std::move(contour));
    }
  };

  if (pathState == PathState::Recording) {
    int advance = 0;
    for (char32_t c : text) {
      placeOutline(c, advance, path);
      advance += f.Advance(c);
    }
    path.insert(path.end(), strokes.begin(), strokes.end());
    return;
  }

  if (state.bkMode == OPAQUE)
    Paint(PolygonRegion({Band(ox, oy, ax, 0, width, 0, m.tmHeight)}, FillRule::Winding, Visible()), state.bkColor,
          R2_COPYPEN);
  if (state.textColor == clNone) return;
  if (sink) {
    PageGlyphRun run;
    run.face = face;
    run.escapement = state.font.Escapement;
    run.color = ColorToRGB(state.textColor);
    run.clip = state.clip ? &*state.clip : nullptr;
    int advance = 0;
    for (char32_t c : text) {
      run.glyphs.push_back({c, baseX + advance * ax.cx, baseY + advance * ax.cy});
      advance += f.Advance(c);
    }
    if (!run.glyphs.empty()) sink->GlyphRun(run);
    if (!strokes.empty()) Paint(PolygonRegion(strokes, FillRule::Winding, Visible()), state.textColor, R2_COPYPEN);
    return;
  }
  const RasterTarget raster = Raster();
  const uint32_t pixel = PixelFromColor(ColorToRGB(state.textColor));
  std::vector<Contour> outlines;
  const bool upright = state.font.Escapement % 3600 == 0;
  int advance = 0;
  for (char32_t c : text) {
    if (f.DrawsOutlines()) {
      placeOutline(c, advance, outlines);
    } else {
      std::shared_ptr<const GlyphImage> held;
      const GlyphImage* g = upright ? f.KeptGlyph(c) : nullptr;
      if (!g) g = (held = f.Glyph(c, state.font.Escapement)).get();
      if (!g->coverage.empty()) {
        // Upright text stays on whole pixels: no rounding needed.
        const int gx = upright ? org.X + advance : static_cast<int>(std::lround(baseX + advance * ax.cx));
        const int gy = upright ? org.Y + m.tmAscent : static_cast<int>(std::lround(baseY + advance * ax.cy));
        BlendMask(raster, gx + g->left, gy + g->top, g->coverage.data(), g->width, g->height, pixel);
      }
    }
    advance += f.Advance(c);
  }
  if (!outlines.empty()) Paint(PolygonRegion(outlines, FillRule::Winding, Visible()), state.textColor, R2_COPYPEN);
  if (!strokes.empty()) Paint(PolygonRegion(strokes, FillRule::Winding, Visible()), state.textColor, R2_COPYPEN);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  RequireFont();
  RequireBrush();
  const std::u32string chars = DecodeText(text);
  device_->TextRun(x, y, chars);
  MoveTo(x + device_->LengthToLogical(device_->RunWidth(chars)), y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
  RequireFont();
  RequireBrush();
  Device& d = *device_;
  DcStateGuard guard(d);
  if (d.state.brushStyle == TBrushStyle::bsSolid) d.FillSolid(r, d.state.bkColor);
  d.IntersectClip(Region(d.ToDevice(r)));
  d.TextRun(x, y, DecodeText(text));
}

TSize TCanvas::TextExtent(const std::string& text) {
  RequireFont();
  Device& d = *device_;
  return {d.LengthToLogical(d.RunWidth(DecodeText(text))), d.LengthToLogical(d.Face().Metrics().tmHeight)};
}

}  // namespace platform
