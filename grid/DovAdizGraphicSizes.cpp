// The room a cell graphic takes when columns are sized and cells printed, and the image a cell shows.

#include <cmath>
#include <optional>

#include "grid/DovAdiz.h"
#include "platform/ui/ImgList.h"

using namespace platform;

namespace velmora {

namespace {

constexpr int kRadioButtonRoom = 12;  // a radio item's button beside its caption

TPoint Sized(const TGraphic* graphic, bool widthCounts) {
  if (!graphic) return {0, 0};
  return {widthCounts ? graphic->Width() : 0, graphic->Height()};
}

}  // namespace

TPoint VUraRazuduVova::RadioGroupSize(int ACol, int ARow, const TCellGraphic& Radio) {
  const TStringList* items = Radio.Strings.Get();
  if (!items) return {0, 0};
  TCanvas& canvas = Canvas();
  TFont saved;
  saved.Assign(canvas.Font());
  SelectCellFont(DisplColIndex(ACol), ARow, canvas.Font());
  const int lineHeight = canvas.TextHeight("gh");
  TPoint size{0, 0};
  for (int i = 0; i < items->Count(); ++i) {
    const int width = canvas.TextWidth(items->Strings(i));
    size.X = Radio.State ? size.X + width + kRadioButtonRoom : std::max(size.X, width);
  }
  if (Radio.State) {
    size.Y = lineHeight;
  } else {
    size.X += kRadioButtonRoom;
    size.Y = lineHeight * items->Count();
  }
  canvas.Font().Assign(saved);
  return size;
}

TPoint VUraRazuduVova::GraphicSize(int ACol, int ARow, TSize Cell, std::optional<double> PrintFactor) {
  const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  if (!graphic) return {0, 0};
  const bool besideText = graphic->HAlign == TCellHAlign::haBeforeText ||
                          graphic->HAlign == TCellHAlign::haAfterText || Cells(ACol, ARow).empty();
  const auto picture = [&](const auto* shown) -> TPoint {
    if (!shown) return {0, 0};
    const TPoint size =
        GetPictureSize(Cell.cx, Cell.cy, shown->Width(), shown->Height(), graphic->Padding, graphic->StretchMode);
    const double factor = PrintFactor.value_or(1.0) > 0 ? PrintFactor.value_or(1.0) : 1.0;
    return {static_cast<int>(std::lround(size.X / factor)), static_cast<int>(std::lround(size.Y / factor))};
  };
  switch (graphic->CellType()) {
    case TCellType::ctBitmap: return Sized(graphic->Bitmap.Get(), besideText || PrintFactor);
    case TCellType::ctIcon: return Sized(graphic->Icon.Get(), besideText || PrintFactor);
    case TCellType::ctImageList:
      if (!gridImages_) return {0, 0};
      return {besideText ? gridImages_->Width() : 0, gridImages_->Height()};
    case TCellType::ctCheckBox:
    case TCellType::ctDataCheckBox: return {controlLook_.CheckSize(), controlLook_.CheckSize()};
    case TCellType::ctRadio: return RadioGroupSize(ACol, ARow, *graphic);
    case TCellType::ctImages: {
      const int count = graphic->Images ? graphic->Images->Count() : 0;
      if (!gridImages_) return {0, 0};
      if (graphic->State) return {count * gridImages_->Width(), gridImages_->Height()};
      return {gridImages_->Width(), count * gridImages_->Height()};
    }
    case TCellType::ctPicture: return picture(graphic->Picture.Get());
    case TCellType::ctFilePicture: return picture(graphic->FilePicture.Get());
    case TCellType::ctButton:
    case TCellType::ctBitButton: return {graphic->ButtonSize.cx, graphic->ButtonSize.cy};
    default: return {0, 0};
  }
}

TPoint VUraRazuduVova::GetCellGraphicSize(int ACol, int ARow) {
  const int col = DisplColIndex(ACol);
  const TSize cell{col < ColCount() ? ColWidths(col) : 0, ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0};
  return GraphicSize(ACol, ARow, cell, std::nullopt);
}

TPoint VUraRazuduVova::GetPrintGraphicSize(int ACol, int ARow, int Width, int Height, double Factor) {
  return GraphicSize(ACol, ARow, {Width, Height}, Factor);
}

int VUraRazuduVova::GetCellImageIdx(int ACol, int ARow) {
  const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  if (!graphic) return -1;
  switch (graphic->CellType()) {
    case TCellType::ctImageList: return graphic->ImageIndex;
    case TCellType::ctDataImage:
      // The image of the cell's number, as painting picks it.
      try {
        return Ints(ACol, ARow) + graphic->ImageIndex;
      } catch (const EDovAdizError&) {
        return -1;
      }
    case TCellType::ctImages:
      return graphic->Images && graphic->Images->Count() > 0 ? graphic->Images->GetInteger(0) : -1;
    default: return -1;
  }
}

}  // namespace velmora
