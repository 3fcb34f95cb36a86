// The grid's two bitmap drawing helpers.

#include "grid/ExUtil.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Gdi.h"

namespace velmora {

void DrawBitmapTransp(platform::TCanvas& canvas, platform::TBitmap& bitmap, platform::TColor transparent,
                      const platform::TRect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  platform::TBitmap work(r.Width(), r.Height());
  work.Canvas().Brush().SetColor(canvas.Brush().Color());
  work.Canvas().FillRect({0, 0, r.Width(), r.Height()});
  platform::TransparentBlt(work.Canvas().Handle(), 0, 0, r.Width(), r.Height(), bitmap.Canvas().Handle(), 0, 0,
                           bitmap.Width(), bitmap.Height(), transparent);
  platform::StretchBlt(canvas.Handle(), r.Left, r.Top, r.Width(), r.Height(), work.Canvas().Handle(), 0, 0,
                       r.Width(), r.Height());
}

void DrawBitmapResourceTransp(platform::TCanvas& canvas, platform::TColor transparent, const platform::TRect& r,
                              const std::string& resourceName) {
  platform::TBitmap bitmap;
  bitmap.LoadFromResourceName(resourceName);
  DrawBitmapTransp(canvas, bitmap, transparent, r);
}

}  // namespace velmora
