// The drawing of a cell's check box, radio group and push button in the grid's ControlLook styles:
// frame controls, the grid's own bitmaps, drawn boxes, the user's glyphs, or the theme library's parts
// where a theme is active.

#include <algorithm>

#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "grid/xpvs/ExXPVS.h"
#include "platform/gfx/Gdi.h"

using namespace platform;

namespace velmora {
namespace {

// The theme library's button class parts and states.
constexpr int BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3;
constexpr int PBS_NORMAL = 1, PBS_PRESSED = 3;
// Check box and radio button states: unchecked normal 1, unchecked disabled 4, checked normal 5,
// checked disabled 8.
constexpr int ThemeCheckState(bool on, bool enabled) { return on ? (enabled ? 5 : 8) : (enabled ? 1 : 4); }

// A bitmap drawn transparent at its own size, centred in r.
void DrawCentred(TCanvas& canvas, TBitmap& bitmap, const TRect& r) {
  if (bitmap.Empty()) return;
  const int x = r.Left + (r.Width() - bitmap.Width()) / 2, y = r.Top + (r.Height() - bitmap.Height()) / 2;
  DrawBitmapTransp(canvas, bitmap, bitmap.TransparentColor(), Bounds(x, y, bitmap.Width(), bitmap.Height()));
}

void DrawResourceCentred(TCanvas& canvas, const std::string& name, const TRect& r) {
  TBitmap bitmap;
  bitmap.LoadFromResourceName(name);
  DrawCentred(canvas, bitmap, r);
}

// The grid's bitmaps of a look: checked/on and enabled first, then off, then the two disabled.
std::string ResourceName(const char* prefix, bool second, bool on, bool enabled) {
  const int n = (second ? 5 : 1) + (on ? 0 : 1) + (enabled ? 0 : 2);
  return std::string(prefix) + "0" + std::to_string(n);
}

void DrawThemePart(HWND window, TCanvas& canvas, int part, int state, const TRect& r) {
  xpvs::HTHEME theme = xpvs::OpenThemeData(window, "button");
  if (!theme) return;
  xpvs::DrawThemeBackground(theme, canvas.Handle(), part, state, &r, nullptr);
  xpvs::CloseThemeData(theme);
}

// A filled box with a shadow at the top and left and a highlight at the bottom and right.
void DrawBoxed(TCanvas& canvas, bool checked, bool enabled, const TRect& box) {
  canvas.Brush().SetColor(enabled ? clWindow : clBtnFace);
  canvas.FillRect(box);
  auto line = [&canvas](TColor color, int x1, int y1, int x2, int y2) {
    canvas.Pen().SetColor(color);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
  };
  line(clBtnShadow, box.Left, box.Bottom - 1, box.Left, box.Top);
  line(clBtnShadow, box.Left, box.Top, box.Right, box.Top);
  line(clBtnHighlight, box.Right - 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
  line(clBtnHighlight, box.Right - 1, box.Bottom - 1, box.Left, box.Bottom - 1);
  if (!checked) return;
  // Four line pairs: two strokes down, two up, each two pixels high.
  const TColor mark = enabled ? clBlack : clGray;
  const int x = box.Left + (box.Width() - 7) / 2, y = box.Top + (box.Height() - 7) / 2 + 2;
  for (int i = 0; i < 2; ++i) {
    line(mark, x, y + i, x + 2, y + 2 + i);
    line(mark, x + 2, y + 2 + i, x + 7, y - 3 + i);
  }
}

}  // namespace

bool VUraRazuduVova::ThemeActive() { return xpvs::IsThemeActive && xpvs::IsThemeActive() != 0; }

void VUraRazuduVova::DrawCheck(TCanvas& Canvas, TControlStyle Style, bool Checked, bool Enabled, const TRect& ARect) {
  const int size = controlLook_.CheckSize();
  const TRect square = Bounds(ARect.Left + (ARect.Width() - size) / 2, ARect.Top + (ARect.Height() - size) / 2,
                              size, size);
  switch (Style) {
    case TControlStyle::csWinXP:
    case TControlStyle::raDUR:
      DrawResourceCentred(Canvas, ResourceName("ZGCHK", Style == TControlStyle::raDUR, Checked, Enabled), square);
      return;
    case TControlStyle::csBoxed: DrawBoxed(Canvas, Checked, Enabled, square); return;
    case TControlStyle::csGlyph: {
      TBitmap glyph;
      glyph.Assign(Checked ? controlLook_.CheckedGlyph() : controlLook_.UnCheckedGlyph());
      DrawCentred(Canvas, glyph, square);
      return;
    }
    case TControlStyle::csTheme:
      if (isThemed_) {
        DrawThemePart(Handle(), Canvas, BP_CHECKBOX, ThemeCheckState(Checked, Enabled), square);
        return;
      }
      [[fallthrough]];  // without a theme the classic box shows
    case TControlStyle::csClassic:
    case TControlStyle::csFlat: {
      TRect r = square;
      DrawFrameControl(Canvas.Handle(), r, DFC_BUTTON,
                       DFCS_BUTTONCHECK | (Checked ? DFCS_CHECKED : 0) | (Enabled ? 0 : DFCS_INACTIVE) |
                           (Style == TControlStyle::csFlat ? DFCS_FLAT : 0));
      return;
    }
  }
}

void VUraRazuduVova::DrawRadio(TCanvas& Canvas, const TRect& ARect, const TStringList& Items, bool Disabled,
                               bool Horizontal, int Index) {
  const TControlStyle style = controlLook_.ControlStyle();
  const bool bitmaps = style == TControlStyle::csWinXP || style == TControlStyle::raDUR ||
                       style == TControlStyle::csGlyph || (style == TControlStyle::csTheme && isThemed_);
  const int size = bitmaps ? 16 : controlLook_.RadioSize() + (style == TControlStyle::csFlat ? 2 : 0);
  const int textH = Canvas.TextHeight("gh");
  const int itemH = bitmaps ? std::max(textH, 16) : std::max(textH, size);
  const int saved = SaveDC(Canvas.Handle());
  IntersectClipRect(Canvas.Handle(), ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
  const TColor brush = Canvas.Brush().Color();
  int x = ARect.Left + 2, y = ARect.Top + 2;
  for (int i = 0; i < Items.Count(); ++i) {
    const std::string& caption = Items.Strings(i);
    const bool on = i == Index;
    int bx = x, by = y + (itemH - size) / 2;
    if (Horizontal) by = ARect.Top + (ARect.Height() - size) / 2;
    if (!Horizontal && caption.empty()) bx = ARect.Left + (ARect.Width() - size) / 2;
    const TRect button = Bounds(bx, by, size, size);
    if (style == TControlStyle::csTheme && isThemed_) {
      DrawThemePart(Handle(), Canvas, BP_RADIOBUTTON, ThemeCheckState(on, !Disabled), button);
    } else if (style == TControlStyle::csGlyph) {
      TBitmap glyph;
      glyph.Assign(on ? controlLook_.RadioOnGlyph() : controlLook_.RadioOffGlyph());
      DrawCentred(Canvas, glyph, button);
    } else if (bitmaps) {
      DrawResourceCentred(Canvas, ResourceName("ZGRAD", style == TControlStyle::raDUR, on, !Disabled), button);
    } else {
      TRect r = button;
      DrawFrameControl(Canvas.Handle(), r, DFC_BUTTON,
                       DFCS_BUTTONRADIO | (on ? DFCS_CHECKED : 0) | (Disabled ? DFCS_INACTIVE : 0) |
                           (style == TControlStyle::csFlat ? DFCS_FLAT : 0));
    }
    Canvas.Brush().SetColor(brush);
    Canvas.Brush().SetStyle(TBrushStyle::bsClear);
    const int textX = bx + size + 2;
    const int textY = (Horizontal ? ARect.Top + (ARect.Height() - textH) / 2 : y + (itemH - textH) / 2);
    if (!caption.empty()) Canvas.TextOut(textX, textY, caption);
    Canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    if (Horizontal)
      x = textX + Canvas.TextWidth(caption) + 4;
    else
      y += itemH;
  }
  RestoreDC(Canvas.Handle(), saved);
}

void VUraRazuduVova::DrawCellButton(TCanvas& Canvas, const TRect& ARect, TCellGraphic& Graphic) {
  const bool pressed = Graphic.State;
  TRect content = ARect;
  if (isThemed_) {
    DrawThemePart(Handle(), Canvas, BP_PUSHBUTTON, pressed ? PBS_PRESSED : PBS_NORMAL, ARect);
    InflateRect(content, -2, -2);
  } else {
    TRect r = ARect;
    DrawFrameControl(Canvas.Handle(), r, DFC_BUTTON,
                     DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0) | (controlLook_.FlatButton() ? DFCS_FLAT : 0));
    InflateRect(content, pressed ? -3 : -2, pressed ? -3 : -2);
  }
  const TStringList* strings = Graphic.Strings.Get();
  std::string caption = strings && strings->Count() > 0 ? strings->Strings(0) : std::string();
  const int saved = SaveDC(Canvas.Handle());
  IntersectClipRect(Canvas.Handle(), content.Left, content.Top, content.Right, content.Bottom);
  if (Graphic.CellType() == TCellType::ctBitButton) {
    if (TBitmap* glyph = Graphic.Bitmap.Get(); glyph && !glyph->Empty()) {
      const int width = glyph->Width() + 2 + Canvas.TextWidth(caption);
      const int gx = content.Left + std::max((content.Width() - width) / 2, 0);
      DrawBitmapTransp(Canvas, *glyph, glyph->TransparentColor(),
                       Bounds(gx, content.Top + (content.Height() - glyph->Height()) / 2, glyph->Width(),
                              glyph->Height()));
      content.Left = gx + glyph->Width() + 2;
      content.Right = content.Left + Canvas.TextWidth(caption);
    }
  }
  Canvas.Brush().SetStyle(TBrushStyle::bsClear);
  Canvas.Font().SetColor(clBtnText);
  DrawText(Canvas.Handle(), caption, content, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  Canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  RestoreDC(Canvas.Handle(), saved);
}

}  // namespace velmora
