// Cell graphics: making, finding and freeing them, and the bitmap, picture and icon kinds.

#include "grid/DovAdiz.h"

using namespace platform;

namespace velmora {

TCellGraphic* VUraRazuduVova::GraphicOf(int ACol, int ARow) const {
  const TCellProperties* props = GetGridObject(ACol, ARow);
  return props ? static_cast<TCellGraphic*>(props->GraphicObject) : nullptr;
}

TCellType VUraRazuduVova::GetCellType(int ACol, int ARow) {
  const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  return graphic ? graphic->CellType() : TCellType::ctEmpty;
}

TCellGraphic* VUraRazuduVova::GetCellGraphic(int ACol, int ARow) { return GraphicOf(ACol, ARow); }

TCellGraphic* VUraRazuduVova::MakeCellGraphic(int ACol, int ARow, TCellType AType) {
  FreeCellGraphic(ACol, ARow);
  TCellProperties* props = GetCellProperties(ACol, ARow);
  if (!props) return nullptr;
  auto* graphic = new TCellGraphic(AType);
  props->GraphicObject = graphic;
  if (AType == TCellType::ctNode) {
    ++nodeCount_;
    NodesChanged();
  }
  return graphic;
}

void VUraRazuduVova::FreeGraphic(TCellGraphic* AGraphic) {
  if (!AGraphic) return;
  if (AGraphic->CellType() == TCellType::ctNode) {
    --nodeCount_;
    NodesChanged();
  }
  delete AGraphic;
}

void VUraRazuduVova::FreeCellProperties(TCellProperties* AProps) {
  FreeGraphic(static_cast<TCellGraphic*>(AProps->GraphicObject));
  TBaseGrid::FreeCellProperties(AProps);
}

bool VUraRazuduVova::FreeCellGraphic(int ACol, int ARow) {
  TCellProperties* props = GetGridObject(ACol, ARow);
  if (!props || !props->GraphicObject) return false;
  // A contracted node that goes shows its rows first; they come after its row.
  const auto* node = static_cast<const TCellGraphic*>(props->GraphicObject);
  if (ACol == 0 && node->CellType() == TCellType::ctNode && node->State) ExpandNode(RealRowIndex(ARow));
  FreeGraphic(static_cast<TCellGraphic*>(props->GraphicObject));
  props->GraphicObject = nullptr;
  return true;
}

bool VUraRazuduVova::RemoveCellGraphic(int ACol, int ARow, TCellType AType) {
  const TCellGraphic* graphic = GraphicOf(ACol, ARow);
  return graphic && graphic->CellType() == AType && FreeCellGraphic(ACol, ARow);
}

namespace {

TCellGraphic* Placed(TCellGraphic* graphic, TCellHAlign HAlign, TCellVAlign VAlign) {
  if (graphic) {
    graphic->HAlign = HAlign;
    graphic->VAlign = VAlign;
  }
  return graphic;
}

// A picture graphic of either kind.
TCellGraphic* PlacedPicture(TCellGraphic* graphic, bool Transparent, TStretchMode StretchMode, int Padding,
                            TCellHAlign HAlign, TCellVAlign VAlign) {
  if (Placed(graphic, HAlign, VAlign)) {
    graphic->Transparent = Transparent;
    graphic->StretchMode = StretchMode;
    graphic->Padding = Padding;
  }
  return graphic;
}

}  // namespace

void VUraRazuduVova::AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign HAlign,
                               TCellVAlign VAlign) {
  if (TCellGraphic* graphic = Placed(MakeCellGraphic(ACol, ARow, TCellType::ctBitmap), HAlign, VAlign)) {
    graphic->Transparent = Transparent;
    graphic->Bitmap.Borrow(ABmp);
  }
}

TBitmap* VUraRazuduVova::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign) {
  AddBitmap(ACol, ARow, nullptr, Transparent, HAlign, VAlign);
  TCellGraphic* graphic = GraphicOf(ACol, ARow);
  return graphic ? &graphic->Bitmap.Own(std::make_unique<TBitmap>()) : nullptr;
}

TBitmap* VUraRazuduVova::GetBitmap(int ACol, int ARow) {
  TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  return graphic && graphic->CellType() == TCellType::ctBitmap ? graphic->Bitmap.Get() : nullptr;
}

void VUraRazuduVova::AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                                int Padding, TCellHAlign HAlign, TCellVAlign VAlign) {
  if (TCellGraphic* graphic = PlacedPicture(MakeCellGraphic(ACol, ARow, TCellType::ctPicture), Transparent,
                                            StretchMode, Padding, HAlign, VAlign))
    graphic->Picture.Borrow(APicture);
}

TPicture* VUraRazuduVova::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                        TCellHAlign HAlign, TCellVAlign VAlign) {
  AddPicture(ACol, ARow, nullptr, Transparent, StretchMode, Padding, HAlign, VAlign);
  TCellGraphic* graphic = GraphicOf(ACol, ARow);
  return graphic ? &graphic->Picture.Own(std::make_unique<TPicture>()) : nullptr;
}

TPicture* VUraRazuduVova::GetPicture(int ACol, int ARow) {
  TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  return graphic && graphic->CellType() == TCellType::ctPicture ? graphic->Picture.Get() : nullptr;
}

void VUraRazuduVova::AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent,
                                    TStretchMode StretchMode, int Padding, TCellHAlign HAlign, TCellVAlign VAlign) {
  if (TCellGraphic* graphic = PlacedPicture(MakeCellGraphic(ACol, ARow, TCellType::ctFilePicture), Transparent,
                                            StretchMode, Padding, HAlign, VAlign))
    graphic->FilePicture.Borrow(APicture);
}

TFilePicture* VUraRazuduVova::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                                int Padding, TCellHAlign HAlign, TCellVAlign VAlign) {
  AddFilePicture(ACol, ARow, nullptr, Transparent, StretchMode, Padding, HAlign, VAlign);
  TCellGraphic* graphic = GraphicOf(ACol, ARow);
  return graphic ? &graphic->FilePicture.Own(std::make_unique<TFilePicture>()) : nullptr;
}

TFilePicture* VUraRazuduVova::GetFilePicture(int ACol, int ARow) {
  TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  return graphic && graphic->CellType() == TCellType::ctFilePicture ? graphic->FilePicture.Get() : nullptr;
}

void VUraRazuduVova::AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign HAlign, TCellVAlign VAlign) {
  if (TCellGraphic* graphic = Placed(MakeCellGraphic(ACol, ARow, TCellType::ctIcon), HAlign, VAlign))
    graphic->Icon.Borrow(AIcon);
}

TIcon* VUraRazuduVova::CreateIcon(int ACol, int ARow, TCellHAlign HAlign, TCellVAlign VAlign) {
  AddIcon(ACol, ARow, nullptr, HAlign, VAlign);
  TCellGraphic* graphic = GraphicOf(ACol, ARow);
  return graphic ? &graphic->Icon.Own(std::make_unique<TIcon>()) : nullptr;
}

}  // namespace velmora
