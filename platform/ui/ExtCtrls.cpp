#include "platform/ui/ExtCtrls.h"

#include "platform/gfx/Graphic.h"

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

}  // namespace platform
