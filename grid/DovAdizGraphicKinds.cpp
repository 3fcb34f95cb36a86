// The cell graphics beyond pictures and cell controls: images of the grid's image list, buttons,
// progress bars, comments, rotated text and markers; and the size a picture takes in its cell.

#include <algorithm>
#include <cmath>

#include "grid/DovAdiz.h"

using namespace platform;

namespace velmora {

void VUraRazuduVova::AddImageIdx(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign) {
  if (!GridImages()) return;
  if (TCellGraphic* graphic = MakeCellGraphic(ACol, ARow, TCellType::ctImageList)) {
    graphic->ImageIndex = Index;
    graphic->HAlign = HAlign;
    graphic->VAlign = VAlign;
  }
}

bool VUraRazuduVova::GetImageIdx(int ACol, int ARow, int& Index) {
  const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  if (!graphic || graphic->CellType() != TCellType::ctImageList) return false;
  Index = graphic->ImageIndex;
  return true;
}

void VUraRazuduVova::AddDataImage(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign) {
  if (!GridImages()) return;
  if (TCellGraphic* graphic = MakeCellGraphic(ACol, ARow, TCellType::ctDataImage)) {
    graphic->ImageIndex = Index;
    graphic->HAlign = HAlign;
    graphic->VAlign = VAlign;
  }
}

void VUraRazuduVova::AddMultiImage(int ACol, int ARow, int Direction, TCellHAlign HAlign, TCellVAlign VAlign) {
  if (!GridImages()) return;
  TCellGraphic* graphic = MakeCellGraphic(ACol, ARow, TCellType::ctImages);
  if (!graphic) return;
  graphic->State = Direction == 0;
  graphic->HAlign = HAlign;
  graphic->VAlign = VAlign;
  // The property object knows where the cell stands now; it lives as long as the graphic.
  TCellProperties* props = GetGridObject(ACol, ARow);
  graphic->Images = std::make_unique<TIntList>();
  graphic->Images->OnChange = [this, props](TIntList&, int, int) { RepaintCell(props->Col, props->Row); };
}

TIntList* VUraRazuduVova::GetCellImages(int ACol, int ARow) {
  TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  return graphic && graphic->CellType() == TCellType::ctImages ? graphic->Images.get() : nullptr;
}

void VUraRazuduVova::AddButton(int ACol, int ARow, int Width, int Height, const std::string& Caption,
                               TCellHAlign HAlign, TCellVAlign VAlign) {
  if (TCellGraphic* graphic = MakeCellGraphic(ACol, ARow, TCellType::ctButton)) {
    graphic->ButtonSize = {Width, Height};
    graphic->Strings.Own(std::make_unique<TStringList>()).SetText(Caption);
    graphic->HAlign = HAlign;
    graphic->VAlign = VAlign;
  }
}

TBitmap* VUraRazuduVova::CreateBitButton(int ACol, int ARow, int Width, int Height, const std::string& Caption,
                                         TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* graphic = MakeCellGraphic(ACol, ARow, TCellType::ctBitButton);
  if (!graphic) return nullptr;
  graphic->ButtonSize = {Width, Height};
  graphic->Strings.Own(std::make_unique<TStringList>()).SetText(Caption);
  graphic->HAlign = HAlign;
  graphic->VAlign = VAlign;
  return &graphic->Bitmap.Own(std::make_unique<TBitmap>());
}

void VUraRazuduVova::AddBitButton(int ACol, int ARow, int Width, int Height, const std::string& Caption,
                                  const TBitmap& Glyph, TCellHAlign HAlign, TCellVAlign VAlign) {
  if (TBitmap* glyph = CreateBitButton(ACol, ARow, Width, Height, Caption, HAlign, VAlign)) glyph->Assign(Glyph);
}

bool VUraRazuduVova::HasButton(int ACol, int ARow) const {
  return BaseGraphicOf(ACol, ARow, TCellType::ctButton) || BaseGraphicOf(ACol, ARow, TCellType::ctBitButton);
}

bool VUraRazuduVova::RemoveButton(int ACol, int ARow) {
  return RemoveCellGraphic(ACol, ARow, TCellType::ctButton) || RemoveCellGraphic(ACol, ARow, TCellType::ctBitButton);
}

void VUraRazuduVova::PushButton(int ACol, int ARow, bool Down) {
  const int col = RealColIndex(ACol);
  if (!HasButton(col, ARow)) return;
  GetCellGraphic(col, ARow)->State = Down;
  RepaintCell(col, ARow);
}

TRect VUraRazuduVova::ButtonRect(int ACol, int ARow) {
  const TCellGraphic* graphic = GetCellGraphic(RealColIndex(ACol), ARow);
  if (!graphic || !HasButton(RealColIndex(ACol), ARow)) return {};
  const TRect cell = GetCellRect(ACol, ARow);
  const int left = cell.Left + graphic->ButtonPos.X, top = cell.Top + graphic->ButtonPos.Y;
  return {left, top, left + graphic->ButtonSize.cx, top + graphic->ButtonSize.cy};
}

void VUraRazuduVova::AddProgress(int ACol, int ARow, TColor Color1, TColor Color2) {
  if (TCellGraphic* graphic = MakeCellGraphic(ACol, ARow, TCellType::ctProgress))
    graphic->Progress = {Color1, Color2, clNone, clNone};
}

void VUraRazuduVova::AddProgressEx(int ACol, int ARow, TColor Color1, TColor Color2, TColor Color3, TColor Color4) {
  if (TCellGraphic* graphic = MakeCellGraphic(ACol, ARow, TCellType::ctProgress)) {
    graphic->Progress = {Color1, Color2, Color3, Color4};
    graphic->State = true;
  }
}

void VUraRazuduVova::AddComment(int ACol, int ARow, const std::string& Comment) {
  if (TCellGraphic* graphic = MakeCellGraphic(ACol, ARow, TCellType::ctComment))
    graphic->Strings.Own(std::make_unique<TStringList>()).SetText(Comment);
}

bool VUraRazuduVova::IsComment(int ACol, int ARow, std::string& Comment) {
  const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  if (!graphic || graphic->CellType() != TCellType::ctComment) return false;
  Comment = graphic->Strings.Get()->Text();
  if (Comment.ends_with("\r\n")) Comment.resize(Comment.size() - 2);
  return true;
}

namespace {

// Negative angles gain whole turns until not negative, those above 360 lose them until at most 360.
int NormalisedAngle(int Angle) {
  if (Angle < 0) return (Angle % 360 + 360) % 360;
  if (Angle > 360) return (Angle - 1) % 360 + 1;
  return Angle;
}

}  // namespace

void VUraRazuduVova::AddRotated(int ACol, int ARow, int Angle, const std::string& Text) {
  if (TCellGraphic* graphic = MakeCellGraphic(ACol, ARow, TCellType::ctRotated)) {
    graphic->Angle = NormalisedAngle(Angle);
    SetCells(ACol, ARow, Text);
  }
}

void VUraRazuduVova::SetRotated(int ACol, int ARow, int Angle) {
  TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  if (!graphic || graphic->CellType() != TCellType::ctRotated) return;
  graphic->Angle = NormalisedAngle(Angle);
  RepaintCell(ACol, ARow);
}

bool VUraRazuduVova::IsRotated(int ACol, int ARow, int& Angle) {
  const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  if (!graphic || graphic->CellType() != TCellType::ctRotated) return false;
  Angle = graphic->Angle;
  return true;
}

void VUraRazuduVova::AddMarker(int ACol, int ARow, uint16_t Marker1, uint16_t Marker2) {
  TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  if (!graphic) graphic = MakeCellGraphic(ACol, ARow, TCellType::ctEmpty);
  if (!graphic) return;
  graphic->Marker1 = Marker1;
  graphic->Marker2 = Marker2;
  RepaintCell(ACol, ARow);
}

void VUraRazuduVova::GetMarker(int ACol, int ARow, uint16_t& Marker1, uint16_t& Marker2) {
  const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  Marker1 = graphic ? graphic->Marker1 : 0;
  Marker2 = graphic ? graphic->Marker2 : 0;
}

void VUraRazuduVova::RemoveMarker(int ACol, int ARow) {
  TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  if (!graphic) return;
  if (graphic->CellType() == TCellType::ctEmpty) {
    FreeCellGraphic(ACol, ARow);
  } else {
    graphic->Marker1 = 0;
    graphic->Marker2 = 0;
  }
  RepaintCell(ACol, ARow);
}

TPoint VUraRazuduVova::GetPictureSize(int CellWidth, int CellHeight, int W, int H, int Padding,
                                      TStretchMode StretchMode) {
  // Padding larger than the cell leaves no room rather than a negative size.
  const int a = std::max(CellWidth - Padding, 0), b = std::max(CellHeight - Padding, 0);
  double rx = W < 1 ? 1 : static_cast<double>(a) / W;
  double ry = H < 1 ? 1 : static_cast<double>(b) / H;
  const bool fits = W <= a && H <= b;
  const auto keepAspect = [&] {
    return rx < ry ? TPoint{a, static_cast<int>(std::lround(H * rx))} : TPoint{static_cast<int>(std::lround(W * ry)), b};
  };
  switch (StretchMode) {
    case TStretchMode::noStretch: return {W, H};
    case TStretchMode::Stretch: return {a, b};
    case TStretchMode::StretchWithAspectRatio: return keepAspect();
    case TStretchMode::Shrink: return fits ? TPoint{W, H} : TPoint{a, b};
    case TStretchMode::ShrinkWithAspectRatio:
      if (fits) return {W, H};
      rx = std::min(rx, 1.0);
      ry = std::min(ry, 1.0);
      return keepAspect();
  }
  return {W, H};
}

}  // namespace velmora
