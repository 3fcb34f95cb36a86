#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Colors.h"
#include "platform/gfx/Graphic.h"

namespace platform {

struct PixelImage;

enum class TTransparentMode { tmAuto, tmFixed };
// afDefined: the pixels' alpha bytes are coverage (not premultiplied) and drawing blends by them;
// afIgnored: drawing copies, alpha is not looked at.
enum class TAlphaFormat { afIgnored, afDefined };

// A bitmap of 32-bit pixels, 0xAARRGGBB, rows top-down. A new or grown bitmap is white.
// Transparent drawing leaves out the pixels of TransparentColor: in tmAuto the colour of the
// bottom-left pixel, in tmFixed the colour set. Files are BMP.
class TBitmap : public TGraphic {
public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap() override;

  void SetWidth(int value) { SetSize(value, height_); }
  void SetHeight(int value) { SetSize(width_, value); }
  // Keeps the pixels of the top-left part that both sizes share; negative sizes are taken as 0.
  void SetSize(int width, int height);
  // Exchanges size and pixels with another bitmap without copying them; canvases, transparency and
  // alpha format stay where they are.
  void SwapPixels(TBitmap& other);
  uint32_t* ScanLine(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint32_t* ScanLine(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }

  // The canvas drawing on this bitmap, created on first use and owned by the bitmap.
  TCanvas& Canvas();

  TColor TransparentColor() const;
  void SetTransparentColor(TColor value);  // also switches to tmFixed
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode value);
  TAlphaFormat AlphaFormat() const { return alphaFormat_; }
  void SetAlphaFormat(TAlphaFormat value);

  void Assign(const TBitmap& source);  // pixels, size, transparency and alpha format

  // BMP: 1, 4, 8 (also run-length encoded), 16, 24 and 32 bits per pixel; raises EInvalidGraphic
  // "Bitmap image is not valid" for anything else. Saving writes 32 bits per pixel.
  void LoadFromBytes(std::string_view data) override;
  std::string SaveToBytes() const override;
  // A bitmap resource compiled into the program (type RT_BITMAP); raises EResNotFound.
  void LoadFromResourceName(const std::string& name);

protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;
  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }
  bool GetEmpty() const override { return width_ == 0 || height_ == 0; }

private:
  friend void AssignPixels(TBitmap& bitmap, PixelImage&& image);

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
  std::unique_ptr<TCanvas> canvas_;
  TColor transparentColor_ = clNone;
  TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
  TAlphaFormat alphaFormat_ = TAlphaFormat::afIgnored;
};

}  // namespace platform
