#include "platform/ui/ExtCtrls.h"

#include "platform/gfx/Gdi.h"
#include "platform/gfx/Graphic.h"
#include "platform/ui/ClassicLook.h"

namespace platform {

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyleFlag::csOpaque);
  SetBounds(0, 0, 105, 105);
  picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::SetCenter(bool value) {
  if (center_ == value) return;
  center_ = value;
  Invalidate();
}

void TImage::SetStretch(bool value) {
  if (stretch_ == value) return;
  stretch_ = value;
  Invalidate();
}

void TImage::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  PictureChanged();
}

void TImage::PictureChanged() {
  if (TGraphic* graphic = picture_.Graphic()) {
    if (graphic->Transparent() != transparent_) graphic->SetTransparent(transparent_);
  }
  TControlStyle style = ControlStyle() - TControlStyleFlag::csOpaque;
  TGraphic* graphic = picture_.Graphic();
  if (graphic && !transparent_ && (stretch_ || (graphic->Width() >= Width() && graphic->Height() >= Height())))
    style.Include(TControlStyleFlag::csOpaque);
  SetControlStyle(style);
  Invalidate();
}

TRect TImage::DestRect() const {
  int w = picture_.Width();
  int h = picture_.Height();
  if (stretch_) return Rect(0, 0, ClientWidth(), ClientHeight());
  TRect r = Rect(0, 0, w, h);
  if (center_) OffsetRect(r, (ClientWidth() - w) / 2, (ClientHeight() - h) / 2);
  return r;
}

void TImage::Paint() {
  if (ComponentState().Contains(csDesigning)) {
    Canvas().Pen().SetStyle(TPenStyle::psDash);
    Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    Canvas().Rectangle(0, 0, Width(), Height());
  }
  TGraphic* graphic = picture_.Graphic();
  if (graphic && !graphic->Empty()) Canvas().StretchDraw(DestRect(), *graphic);
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() - TControlStyleFlag::csSetCaption - TControlStyleFlag::csClickEvents);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
  if (shape_ == value) return;
  shape_ = value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
  if (style_ == value) return;
  style_ = value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas& canvas = Canvas();
  const bool lowered = style_ == TBevelStyle::bsLowered;
  const TColor first = lowered ? clBtnShadow : clBtnHighlight;
  const TColor second = lowered ? clBtnHighlight : clBtnShadow;
  TRect r = ClientRect();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  auto line = [&](TRect part, TColor color) {
    canvas.Brush().SetColor(color);
    canvas.FillRect(part);
  };
  switch (shape_) {
    case TBevelShape::bsBox: Frame3D(canvas, r, first, second, 1); break;
    case TBevelShape::bsFrame: {
      TRect outer = Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
      TRect inner = Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom);
      canvas.Brush().SetColor(second);
      canvas.FrameRect(inner);
      canvas.Brush().SetColor(first);
      canvas.FrameRect(outer);
      break;
    }
    case TBevelShape::bsTopLine:
      line(Rect(r.Left, r.Top, r.Right, r.Top + 1), first);
      line(Rect(r.Left, r.Top + 1, r.Right, r.Top + 2), second);
      break;
    case TBevelShape::bsBottomLine:
      line(Rect(r.Left, r.Bottom - 2, r.Right, r.Bottom - 1), first);
      line(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), second);
      break;
    case TBevelShape::bsLeftLine:
      line(Rect(r.Left, r.Top, r.Left + 1, r.Bottom), first);
      line(Rect(r.Left + 1, r.Top, r.Left + 2, r.Bottom), second);
      break;
    case TBevelShape::bsRightLine:
      line(Rect(r.Right - 2, r.Top, r.Right - 1, r.Bottom), first);
      line(Rect(r.Right - 1, r.Top, r.Right, r.Bottom), second);
      break;
    case TBevelShape::bsSpacer: break;
  }
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyleFlag::csAcceptsControls + TControlStyleFlag::csOpaque +
                  TControlStyleFlag::csSetCaption);
  SetBounds(0, 0, 185, 41);
  SetParentColor(false);
  SetColor(clBtnFace);
}

void TCustomPanel::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED) Invalidate();
  TCustomControl::Dispatch(Message);
}

void TCustomPanel::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
  if (bevelInner_ == value) return;
  bevelInner_ = value;
  BevelsChanged();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
  if (bevelOuter_ == value) return;
  bevelOuter_ = value;
  BevelsChanged();
}

void TCustomPanel::SetBevelWidth(int value) {
  if (bevelWidth_ == value || value < 1) return;
  bevelWidth_ = value;
  BevelsChanged();
}

void TCustomPanel::SetBorderWidth(int value) {
  if (borderWidth_ == value || value < 0) return;
  borderWidth_ = value;
  BevelsChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  RecreateWnd();
  BevelsChanged();
}

void TCustomPanel::BevelsChanged() {
  Realign();
  Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (borderStyle_ == TBorderStyle::bsSingle) Params.Style |= WS_BORDER;
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  int inset = borderWidth_;
  if (bevelOuter_ != TBevelCut::bvNone) inset += bevelWidth_;
  if (bevelInner_ != TBevelCut::bvNone) inset += bevelWidth_;
  InflateRect(Rect, -inset, -inset);
}

void TCustomPanel::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == TBevelCut::bvNone) return;
    const TColor top = cut == TBevelCut::bvLowered ? clBtnShadow : cut == TBevelCut::bvRaised ? clBtnHighlight : Color();
    const TColor bottom = cut == TBevelCut::bvLowered ? clBtnHighlight : cut == TBevelCut::bvRaised ? clBtnShadow : Color();
    Frame3D(canvas, r, top, bottom, bevelWidth_);
  };
  bevel(bevelOuter_);
  Frame3D(canvas, r, Color(), Color(), borderWidth_);
  bevel(bevelInner_);
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(r);
  canvas.SetFont(Font());
  DrawCaption(canvas, Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | AlignmentFlag(alignment_), Enabled());
}

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 105, 105); }

void TPaintBox::Paint() {
  Canvas().SetFont(Font());
  Canvas().Brush().SetColor(Color());
  if (OnPaint) OnPaint(this);
}

}  // namespace platform
