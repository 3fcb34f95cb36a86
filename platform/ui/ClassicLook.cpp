#include "platform/ui/ClassicLook.h"

#include "platform/gfx/Gdi.h"

namespace platform {

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  TBrush saved;
  saved.Assign(canvas.Brush());
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  for (int i = 0; i < width && rect.Width() > 0 && rect.Height() > 0; ++i) {
    canvas.Brush().SetColor(topColor);
    canvas.FillRect(Rect(rect.Left, rect.Top, rect.Right - 1, rect.Top + 1));
    canvas.FillRect(Rect(rect.Left, rect.Top, rect.Left + 1, rect.Bottom - 1));
    canvas.Brush().SetColor(bottomColor);
    canvas.FillRect(Rect(rect.Right - 1, rect.Top, rect.Right, rect.Bottom));
    canvas.FillRect(Rect(rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom));
    InflateRect(rect, -1, -1);
  }
  canvas.Brush().Assign(saved);
}

unsigned AlignmentFlag(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::taRightJustify: return DT_RIGHT;
    case TAlignment::taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

void DrawCaption(TCanvas& canvas, const std::string& text, TRect rect, unsigned flags, bool enabled) {
  HDC dc = canvas.Handle();
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const TColor fontColor = canvas.Font().Color();
  if (enabled) {
    DrawText(dc, text, rect, flags);
  } else {
    TRect shifted = rect;
    OffsetRect(shifted, 1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    DrawText(canvas.Handle(), text, shifted, flags);
    canvas.Font().SetColor(clBtnShadow);
    DrawText(canvas.Handle(), text, rect, flags);
    canvas.Font().SetColor(fontColor);
  }
  SetBkMode(canvas.Handle(), oldMode);
}

TSize CaptionExtent(TCanvas& canvas, const std::string& text, unsigned flags, int width) {
  TRect r = Rect(0, 0, width, 0);
  DrawText(canvas.Handle(), text.empty() ? std::string(" ") : text, r, flags | DT_CALCRECT);
  return {r.Width(), r.Height()};
}

}  // namespace platform
