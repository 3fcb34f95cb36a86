#include <algorithm>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/CanvasDevice.h"

namespace platform {

void TCanvas::Device::Blit(const TRect& dest, const TBitmap& source, const TRect& src, BlitMode mode, TColor key) {
  if (IsRectEmpty(dest) || IsRectEmpty(src) || source.Empty()) return;
  const RasterTarget raster = Raster();
  if (!raster.pixels) return;
  // Copying a bitmap onto itself reads from a snapshot, so overlapping rectangles copy cleanly.
  std::vector<uint32_t> snapshot;
  const uint32_t* sourcePixels = source.ScanLine(0);
  if (&source == target) {
    snapshot.assign(sourcePixels, sourcePixels + static_cast<size_t>(source.Width()) * source.Height());
    sourcePixels = snapshot.data();
  }
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
