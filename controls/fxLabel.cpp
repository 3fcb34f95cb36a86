#include "controls/fxLabel.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace controls {

using platform::TBitmap;
using platform::TCanvas;

namespace {

// Which way Orientation shifts the effect's copies: -1, 0 or 1 per axis.
struct Direction {
  int x;
  int y;
};
constexpr Direction Directions[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}};

// The pixels that the text covers when drawn at (x, y) with `font` on a w x h area.
std::vector<bool> TextMask(const platform::TFont& font, int w, int h, int x, int y, const std::string& text) {
  TBitmap mask(w, h);
  TCanvas& canvas = mask.Canvas();
  canvas.Brush().SetColor(platform::clBlack);
  canvas.FillRect(platform::Rect(0, 0, w, h));
  canvas.Brush().SetStyle(platform::TBrushStyle::bsClear);
  canvas.SetFont(font);
  canvas.Font().SetColor(platform::clWhite);
  canvas.TextOut(x, y, text);
  std::vector<bool> covered(static_cast<size_t>(w) * h);
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) covered[static_cast<size_t>(py) * w + px] = platform::GetRValue(canvas.Pixels(px, py)) >= 128;
  }
  return covered;
}

// Strokes the edges of the covered pixels with a square pen of `width` pixels.
void StrokeOutline(TCanvas& canvas, const std::vector<bool>& covered, int w, int h, int width, TColor color) {
  auto at = [&](int px, int py) { return px >= 0 && py >= 0 && px < w && py < h && covered[static_cast<size_t>(py) * w + px]; };
  canvas.Brush().SetStyle(platform::TBrushStyle::bsSolid);
  canvas.Brush().SetColor(color);
  const int before = (width - 1) / 2;
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      if (!at(px, py) || (at(px - 1, py) && at(px + 1, py) && at(px, py - 1) && at(px, py + 1))) continue;
      canvas.FillRect(platform::Rect(px - before, py - before, px - before + width, py - before + width));
    }
  }
  canvas.Brush().SetStyle(platform::TBrushStyle::bsClear);
}

// Tiles the glyph, from the area's top-left corner, over the covered pixels.
void FillWithGlyph(TCanvas& canvas, const std::vector<bool>& covered, int w, int h, TBitmap& glyph) {
  TCanvas& source = glyph.Canvas();
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      if (covered[static_cast<size_t>(py) * w + px]) {
        canvas.SetPixels(px, py, source.Pixels(px % glyph.Width(), py % glyph.Height()));
      }
    }
  }
}

}  // namespace

TColor ColorStep(TColor c1, TColor c2, int n, int k) {
  auto channel = [&](uint8_t (*get)(TColor)) {
    return static_cast<uint8_t>(std::lround(static_cast<double>(k) * (get(c2) - get(c1)) / n + get(c1)));
  };
  return platform::RGB(channel(platform::GetRValue), channel(platform::GetGValue), channel(platform::GetBValue));
}

TFxLabel::TFxLabel(platform::TComponent* AOwner) : TGraphicControl(AOwner) {
  SetParentFont(false);
  SetBounds(0, 0, 65, 17);
}

void TFxLabel::SetStyle(TFxLabelStyle value) {
  style_ = value;
  Invalidate();
}

void TFxLabel::SetAngle(int value) {
  if (value < 0 || value > 360 || value == angle_) return;
  angle_ = value;
  Invalidate();
}

void TFxLabel::SetGlyph(const TBitmap& value) {
  glyph_.Assign(value);
  Invalidate();
}

void TFxLabel::SetPenWidth(int value) {
  penWidth_ = value;
  if (style_ == fxOutLine) Invalidate();
}

void TFxLabel::SetTransparent(bool value) {
  transparent_ = value;
  Invalidate();
}

void TFxLabel::Paint() {
  const int w = Width();
  const int h = Height();
  if (w <= 0 || h <= 0) return;
  TBitmap picture(w, h);
  TCanvas& canvas = picture.Canvas();
  canvas.SetFont(Font());
  canvas.Font().SetOrientation(angle_ % 360 * 10);
  const TColor background = platform::IsSystemColor(Color()) ? platform::RGB(192, 192, 192) : Color();
  canvas.Brush().SetColor(background);
  canvas.FillRect(platform::Rect(0, 0, w, h));
  canvas.Brush().SetStyle(platform::TBrushStyle::bsClear);

  const std::string& text = Caption();
  const bool textured = !glyph_.Empty() && glyph_.Width() > 0 && glyph_.Height() > 0;
  const platform::TSize extent = canvas.TextExtent(text);
  const double a = angle_ * std::numbers::pi / 180;
  const int x = w / 2 - static_cast<int>(std::lround(std::cos(a) * extent.cx / 2)) -
                static_cast<int>(std::lround(std::sin(a) * extent.cy / 2));
  const int y = h / 2 + static_cast<int>(std::lround(std::sin(a) * extent.cx / 2)) -
                static_cast<int>(std::lround(std::cos(a) * extent.cy / 2));
  auto draw = [&](int dx, int dy, TColor color) {
    canvas.Font().SetColor(color);
    canvas.TextOut(x + dx, y + dy, text);
  };

  if (const int depth = effect3D_.Depth(); depth > 0) {
    const Direction d = Directions[effect3D_.Orientation()];
    if (effect3D_.Style() == fxCool) {
      draw(d.x * depth, d.y * depth, effect3D_.ShadowedColor());
    } else {
      for (int k = depth; k >= 1; --k) {
        const TColor color = effect3D_.Style() == fxFun
                                 ? ColorStep(platform::ColorToRGB(effect3D_.ShadowedColor()), background, depth, k - 1)
                                 : effect3D_.ShadowedColor();
        draw(d.x * k, d.y * k, color);
      }
    }
  }

  const TColor fontColor = Font().Color();
  switch (style_) {
    case fxNormal:
      if (!textured) draw(0, 0, fontColor);
      break;
    case fxRaised:
      draw(0, 0, platform::clBtnHighlight);
      if (Font().Size() > 11) draw(2, 2, platform::clBtnShadow);
      if (!textured) draw(1, 1, fontColor);
      break;
    case fxLowered:
      draw(2, 2, platform::clBtnHighlight);
      if (!textured) {
        draw(1, 1, platform::IsSystemColor(Color()) ? platform::clBtnShadow : ColorStep(Color(), platform::clBlack, 3, 1));
      }
      break;
    case fxOutLine:
      StrokeOutline(canvas, TextMask(canvas.Font(), w, h, x, y, text), w, h, penWidth_, fontColor);
      break;
  }
  if (textured) {
    const int offset = style_ == fxNormal ? 0 : 1;
    FillWithGlyph(canvas, TextMask(canvas.Font(), w, h, x + offset, y + offset, text), w, h, glyph_);
  }

  if (transparent_) {
    picture.SetTransparentColor(background);
    Canvas().Draw(0, 0, picture);
  } else {
    Canvas().CopyRect(platform::Rect(0, 0, w, h), canvas, platform::Rect(0, 0, w, h));
  }
}

}  // namespace controls
