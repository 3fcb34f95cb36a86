// The grid's drawing helpers: bitmaps with a transparent colour, and error underlines.

#include <algorithm>

#include "grid/ExUtil.h"
#include "platform/core/Utf8.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Gdi.h"
#include "platform/edits/Edit.h"

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

void DrawErrorLines(platform::TWinControl& control, platform::TCanvas& canvas, const std::string& text,
                    const platform::TRect& r, int first, int length, int verticalOffset) {
  const int count = static_cast<int>(platform::CodePointCount(text));
  if (length <= 0 || first < 1 || first > count) return;
  platform::TEdit edit(nullptr);
  edit.SetVisible(false);
  edit.SetBorderStyle(platform::TBorderStyle::bsNone);
  edit.SetParent(&control);
  edit.SetBounds(r.Left, r.Top, r.Width(), r.Height());
  edit.Font().Assign(canvas.Font());
  edit.SetText(text);
  auto xOf = [&](int index) { return r.Left + platform::LParamX(edit.Perform(platform::EM_POSFROMCHAR, index)); };
  const int end = first - 1 + length;  // 0-based, just past the run
  const int x1 = xOf(first - 1);
  const int x2 = end >= count ? xOf(count - 1) + 4 : xOf(end);

  platform::TPen saved;
  saved.Assign(canvas.Pen());
  canvas.Pen().SetColor(platform::clRed);
  canvas.Pen().SetWidth(2);
  const int top = r.Top + verticalOffset;
  bool down = true;
  canvas.MoveTo(x1, top + 3);
  for (int x = x1; x < x2;) {
    x = std::min(x + 3, x2);
    down = !down;
    canvas.LineTo(x, top + (down ? 3 : 0));
  }
  canvas.Pen().Assign(saved);
}

}  // namespace velmora
