#include "platform/ui/Buttons.h"

#include <algorithm>

#include "platform/gfx/Gdi.h"
#include "platform/ui/ClassicLook.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  // It raises Click itself on release, after its state changed.
  SetControlStyle(ControlStyle() - TControlStyleFlag::csSetCaption - TControlStyleFlag::csClickEvents -
                  TControlStyleFlag::csDoubleClicks);
  SetBounds(0, 0, 23, 22);
  glyph_.OnChange = [this] { Invalidate(); };
}

void TSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      mouseInControl_ = Message.Msg == CM_MOUSEENTER && Enabled();
      if (flat_) Invalidate();
      break;
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      if (!Enabled()) mouseInControl_ = false;
      break;
    case WM_CAPTURECHANGED:
      // Something else took the mouse while the button is held (a menu opened by the press): the
      // release will not come here.
      if (dragging_ && GetKeyState(VK_LBUTTON) < 0) {
        dragging_ = false;
        if (!down_) SetState(TButtonState::bsUp);
      }
      break;
    default:
      break;
  }
  TGraphicControl::Dispatch(Message);
}

void TSpeedButton::SetGlyph(const TBitmap& value) { glyph_.Assign(value); }

void TSpeedButton::SetNumGlyphs(int value) {
  value = std::clamp(value, 1, 4);
  if (numGlyphs_ == value) return;
  numGlyphs_ = value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
  if (layout_ == value) return;
  layout_ = value;
  Invalidate();
}

void TSpeedButton::SetMargin(int value) {
  if (margin_ == value || value < -1) return;
  margin_ = value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int value) {
  if (spacing_ == value) return;
  spacing_ = value;
  Invalidate();
}

void TSpeedButton::SetFlat(bool value) {
  if (flat_ == value) return;
  flat_ = value;
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int value) {
  if (groupIndex_ == value) return;
  groupIndex_ = value;
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value) {
  if (allowAllUp_ == value) return;
  allowAllUp_ = value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = value;
  SetState(value ? TButtonState::bsExclusive : TButtonState::bsUp);
  if (value) UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  TWinControl* parent = Parent();
  if (groupIndex_ == 0 || !parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TSpeedButton*>(parent->Controls(i));
    if (!other || other == this || other->groupIndex_ != groupIndex_) continue;
    if (down_ && other->down_) {
      other->down_ = false;
      other->SetState(TButtonState::bsUp);
    }
    other->allowAllUp_ = allowAllUp_;
  }
}

void TSpeedButton::SetState(TButtonState value) {
  if (state_ == value) return;
  state_ = value;
  Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft || !Enabled()) return;
  if (!down_) SetState(TButtonState::bsDown);
  dragging_ = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!dragging_) return;
  const bool inside = PtInRect(ClientRect(), {X, Y});
  if (!down_) SetState(inside ? TButtonState::bsDown : TButtonState::bsUp);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft || !std::exchange(dragging_, false)) return;
  const bool inside = PtInRect(ClientRect(), {X, Y});
  if (groupIndex_ == 0) {
    SetState(TButtonState::bsUp);
  } else if (inside) {
    SetDown(!down_);
  } else if (!down_) {
    SetState(TButtonState::bsUp);
  }
  if (inside) Click();
}

int TSpeedButton::GlyphWidth() const { return glyph_.Empty() ? 0 : glyph_.Width() / numGlyphs_; }

void TSpeedButton::DrawGlyph(TCanvas& canvas, int x, int y, TButtonState state) {
  const int w = GlyphWidth();
  const int h = glyph_.Height();
  int index = 0;
  switch (state) {
    case TButtonState::bsDisabled: index = numGlyphs_ > 1 ? 1 : -1; break;
    case TButtonState::bsDown: index = numGlyphs_ > 2 ? 2 : 0; break;
    case TButtonState::bsExclusive: index = numGlyphs_ > 3 ? 3 : numGlyphs_ > 2 ? 2 : 0; break;
    default: break;
  }
  TCanvas& source = glyph_.Canvas();
  const TColor transparent = source.Pixels(0, h - 1);
  // Without a disabled image the up image is embossed: its shape in the highlight colour one pixel
  // down and right, under the same shape in the shadow colour. Light pixels (every channel at least
  // that of the light grey face) are no part of the shape, so that the light details of a solid
  // picture stay apart from its outline.
  auto light = [](TColor color) {
    const TColor rgb = ColorToRGB(color);
    return GetRValue(rgb) >= 0xC0 && GetGValue(rgb) >= 0xC0 && GetBValue(rgb) >= 0xC0;
  };
  const int from = index < 0 ? 0 : index * w;
  for (int pass = index < 0 ? 0 : 1; pass < 2; ++pass) {
    const int shift = index < 0 && pass == 0 ? 1 : 0;
    for (int sy = 0; sy < h; ++sy) {
      for (int sx = 0; sx < w; ++sx) {
        const TColor pixel = source.Pixels(from + sx, sy);
        if (pixel == transparent) continue;
        if (index < 0 && light(pixel)) continue;
        TColor color = pixel;
        if (index < 0) color = pass == 0 ? clBtnHighlight : clBtnShadow;
        canvas.SetPixels(x + sx + shift, y + sy + shift, ColorToRGB(color));
      }
    }
  }
}

void TSpeedButton::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  const TButtonState state = Enabled() ? state_ : TButtonState::bsDisabled;
  const bool pushed = state == TButtonState::bsDown || state == TButtonState::bsExclusive;

  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(r);
  if (flat_) {
    if (pushed)
      DrawEdge(canvas.Handle(), r, BDR_SUNKENOUTER, BF_RECT);
    else if (mouseInControl_)
      DrawEdge(canvas.Handle(), r, BDR_RAISEDINNER, BF_RECT);
  } else {
    TRect frame = r;
    DrawFrameControl(canvas.Handle(), frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  }
  // A stuck-down button shows its face in the light colour, as the classic desktop dithers it.
  if (state == TButtonState::bsExclusive && !mouseInControl_) {
    TRect face = r;
    InflateRect(face, -2, -2);
    canvas.Brush().SetColor(clBtnHighlight);
    canvas.FillRect(face);
  }

  canvas.SetFont(Font());
  const std::string& caption = Caption();
  const TSize text = caption.empty() ? TSize{0, 0} : CaptionExtent(canvas, caption, DT_SINGLELINE);
  const TSize glyph{GlyphWidth(), glyph_.Empty() ? 0 : glyph_.Height()};
  const bool vertical = layout_ == TButtonLayout::blGlyphTop || layout_ == TButtonLayout::blGlyphBottom;
  const int gap = glyph.cx > 0 && !caption.empty() ? spacing_ : 0;
  const int along = vertical ? r.Height() : r.Width();
  const int glyphAlong = vertical ? glyph.cy : glyph.cx;
  const int textAlong = vertical ? text.cy : text.cx;
  const int total = glyphAlong + gap + textAlong;
  int start = margin_ < 0 ? (along - total) / 2 : margin_;
  const bool glyphFirst = layout_ == TButtonLayout::blGlyphLeft || layout_ == TButtonLayout::blGlyphTop;
  if (margin_ >= 0 && !glyphFirst) start = along - margin_ - total;
  const int glyphStart = glyphFirst ? start : start + textAlong + gap;
  const int textStart = glyphFirst ? start + glyphAlong + gap : start;

  TPoint glyphAt = vertical ? TPoint{(r.Width() - glyph.cx) / 2, glyphStart} : TPoint{glyphStart, (r.Height() - glyph.cy) / 2};
  TPoint textAt = vertical ? TPoint{(r.Width() - text.cx) / 2, textStart} : TPoint{textStart, (r.Height() - text.cy) / 2};
  if (pushed) {
    glyphAt = {glyphAt.X + 1, glyphAt.Y + 1};
    textAt = {textAt.X + 1, textAt.Y + 1};
  }
  if (glyph.cx > 0) DrawGlyph(canvas, glyphAt.X, glyphAt.Y, state);
  if (!caption.empty())
    DrawCaption(canvas, caption, Bounds(textAt.X, textAt.Y, text.cx, text.cy), DT_SINGLELINE | DT_LEFT,
                state != TButtonState::bsDisabled);
}

}  // namespace platform
