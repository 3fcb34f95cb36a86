#include "platform/gfx/Bitmap.h"

#include <algorithm>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageCodecs.h"
#include "platform/gfx/Raster.h"
#include "platform/gfx/Resources.h"

namespace platform {

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == width_ && height == height_) return;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0xFFFFFFFFu);
  const int keepW = std::min(width, width_), keepH = std::min(height, height_);
  for (int y = 0; y < keepH; ++y)
    std::copy_n(pixels_.data() + static_cast<size_t>(y) * width_, keepW, pixels.data() + static_cast<size_t>(y) * width);
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
  Changed();
}

void TBitmap::SwapPixels(TBitmap& other) {
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  pixels_.swap(other.pixels_);
  Changed();
  other.Changed();
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(*this);
  return *canvas_;
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == TTransparentMode::tmFixed) return transparentColor_;
  if (Empty()) return clNone;
  return ColorFromPixel(ScanLine(height_ - 1)[0]);
}

void TBitmap::SetTransparentColor(TColor value) {
  transparentColor_ = value;
  transparentMode_ = TTransparentMode::tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  transparentMode_ = value;
  Changed();
}

void TBitmap::SetAlphaFormat(TAlphaFormat value) {
  alphaFormat_ = value;
  Changed();
}

void TBitmap::Assign(const TBitmap& source) {
  if (&source == this) return;
  pixels_ = source.pixels_;
  width_ = source.width_;
  height_ = source.height_;
  transparentColor_ = source.transparentColor_;
  transparentMode_ = source.transparentMode_;
  alphaFormat_ = source.alphaFormat_;
  SetTransparent(source.Transparent());
  Changed();
}

void TBitmap::LoadFromBytes(std::string_view data) { AssignPixels(*this, DecodeBmpFile(data)); }

std::string TBitmap::SaveToBytes() const {
  if (Empty()) throw EInvalidGraphic("Bitmap image is not valid");
  return EncodeBmpFile(width_, height_, pixels_.data(), alphaFormat_ == TAlphaFormat::afDefined);
}

void TBitmap::LoadFromResourceName(const std::string& name) {
  LoadFromBytes(LoadResource(RT_BITMAP, name));
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
  HDC source = Canvas().Handle();
  HDC dest = canvas.Handle();
  const int x = rect.Left, y = rect.Top, w = rect.Width(), h = rect.Height();
  if (Transparent())
    TransparentBlt(dest, x, y, w, h, source, 0, 0, width_, height_, TransparentColor());
  else if (alphaFormat_ == TAlphaFormat::afDefined)
    AlphaBlend(dest, x, y, w, h, source, 0, 0, width_, height_);
  else
    StretchBlt(dest, x, y, w, h, source, 0, 0, width_, height_);
}

}  // namespace platform
