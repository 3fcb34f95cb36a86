// How a cell graphic is drawn: its size and place in the cell (GetGraphicDetails), and each kind's
// drawing after the cell's text. Check boxes and radio groups are DovAdizCellControlsDraw.cpp.

#include <algorithm>
#include <cmath>
#include <optional>

#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/ImgList.h"

using namespace platform;

namespace velmora {

bool VUraRazuduVova::GetGraphicDetails(int ACol, int ARow, int& Width, int& Height, bool& DrawText,
                                       TCellHAlign& HAlign, TCellVAlign& VAlign) {
  Width = Height = 0;
  DrawText = true;
  HAlign = TCellHAlign::haLeft;
  VAlign = TCellVAlign::vaTop;
  const int realCol = RemapCol(ACol);
  const TCellGraphic* graphic = GetCellGraphic(realCol, ARow);
  if (!graphic) return false;
  HAlign = graphic->HAlign;
  VAlign = graphic->VAlign;
  const int imageW = gridImages_ ? gridImages_->Width() : 0, imageH = gridImages_ ? gridImages_->Height() : 0;
  switch (graphic->CellType()) {
    case TCellType::ctBitmap:
      if (const TBitmap* bitmap = graphic->Bitmap.Get()) Width = bitmap->Width(), Height = bitmap->Height();
      break;
    case TCellType::ctIcon:
      if (const TIcon* icon = graphic->Icon.Get()) Width = icon->Width(), Height = icon->Height();
      break;
    case TCellType::ctImageList: Width = imageW, Height = imageH; break;
    case TCellType::ctDataImage: Width = imageW, Height = imageH, DrawText = false; break;
    case TCellType::ctCheckBox: Width = Height = controlLook_.CheckSize(); break;
    case TCellType::ctDataCheckBox: Width = Height = controlLook_.CheckSize(), DrawText = false; break;
    case TCellType::ctRotated:
    case TCellType::ctRadio:
    case TCellType::ctProgress: DrawText = false; break;
    case TCellType::ctImages: {
      const int count = graphic->Images ? graphic->Images->Count() : 0;
      Width = graphic->State ? count * imageW : imageW;
      Height = graphic->State ? imageH : count * imageH;
      break;
    }
    case TCellType::ctPicture:
    case TCellType::ctFilePicture: {
      const TPicture* picture = graphic->Picture.Get();
      const TFilePicture* file = graphic->FilePicture.Get();
      const bool isFile = graphic->CellType() == TCellType::ctFilePicture;
      const int w = isFile ? (file ? file->Width() : 0) : (picture ? picture->Width() : 0);
      const int h = isFile ? (file ? file->Height() : 0) : (picture ? picture->Height() : 0);
      const TPoint size =
          GetPictureSize(ColWidths(ACol), RowHeights(ARow), w, h, graphic->Padding, graphic->StretchMode);
      Width = size.X, Height = size.Y;
      break;
    }
    case TCellType::ctButton:
    case TCellType::ctBitButton: Width = graphic->ButtonSize.cx, Height = graphic->ButtonSize.cy; break;
    default: break;
  }
  return true;
}

TRect VUraRazuduVova::GraphicRect(const TRect& ARect, const GraphicPlace& Place) {
  const int w = Place.Width, h = Place.Height;
  int x = ARect.Left + 1, y = ARect.Top + 1;
  switch (Place.HAlign) {
    case TCellHAlign::haRight:
    case TCellHAlign::haAfterText: x = std::max(ARect.Right - 1 - w, ARect.Left + 1); break;
    case TCellHAlign::haCenter:
      if (w < ARect.Width()) x = ARect.Left + (ARect.Width() - w) / 2;
      break;
    case TCellHAlign::haFull: x = ARect.Left; break;
    case TCellHAlign::haLeft:
    case TCellHAlign::haBeforeText: break;
  }
  switch (Place.VAlign) {
    case TCellVAlign::vaBottom: y = ARect.Bottom - 1 - h; break;
    case TCellVAlign::vaUnderText: y = ARect.Bottom - h; break;
    case TCellVAlign::vaCenter:
      if (h < ARect.Height()) y = ARect.Top + (ARect.Height() - h) / 2;
      break;
    case TCellVAlign::vaFull: y = ARect.Top; break;
    case TCellVAlign::vaTop:
    case TCellVAlign::vaAboveText: break;
  }
  return Bounds(x, y, w, h);
}

TRect VUraRazuduVova::TextRoom(TRect ARect, const GraphicPlace& Place) {
  // The text gives up the side where the graphic stands, whatever the text's alignment, so the two
  // never overlap.
  if (Place.HAlign == TCellHAlign::haBeforeText) ARect.Left += Place.Width;
  if (Place.HAlign == TCellHAlign::haAfterText) ARect.Right -= Place.Width;
  if (Place.VAlign == TCellVAlign::vaAboveText) ARect.Top += Place.Height;
  if (Place.VAlign == TCellVAlign::vaUnderText) ARect.Bottom -= Place.Height;
  return ARect;
}

namespace {

// The number a cell holds, none for a text that is no number.
std::optional<int> CellNumber(const VUraRazuduVova& grid, int ACol, int ARow) {
  try {
    return grid.Ints(ACol, ARow);
  } catch (const EDovAdizError&) {
    return std::nullopt;
  }
}

void DrawBitmapAt(TCanvas& canvas, TBitmap& bitmap, const TRect& r, bool transparent) {
  if (transparent)
    DrawBitmapTransp(canvas, bitmap, bitmap.TransparentColor(), Bounds(r.Left, r.Top, bitmap.Width(), bitmap.Height()));
  else
    canvas.Draw(r.Left, r.Top, bitmap);
}

}  // namespace

void VUraRazuduVova::DrawCellGraphic(TCanvas& Canvas, int ACol, int ARow, const TRect& ARect, TCellGraphic& Graphic,
                                     const GraphicPlace& Place, TAlignment TextAlign) {
  const int realCol = RemapCol(ACol);
  const TRect at = GraphicRect(ARect, Place);
  switch (Graphic.CellType()) {
    case TCellType::ctBitmap:
      if (TBitmap* bitmap = Graphic.Bitmap.Get(); bitmap && !bitmap->Empty())
        DrawBitmapAt(Canvas, *bitmap, at, Graphic.Transparent);
      break;
    case TCellType::ctIcon:
      if (TIcon* icon = Graphic.Icon.Get(); icon && !icon->Empty()) Canvas.Draw(at.Left, at.Top, *icon);
      break;
    case TCellType::ctImageList:
    case TCellType::ctDataImage: {
      if (!gridImages_) break;
      std::optional<int> index = Graphic.ImageIndex;
      if (Graphic.CellType() == TCellType::ctDataImage) {
        index = CellNumber(*this, realCol, ARow);
        if (index) *index += Graphic.ImageIndex;
      }
      if (index && *index >= 0 && *index < gridImages_->Count()) gridImages_->Draw(Canvas, at.Left, at.Top, *index);
      break;
    }
    case TCellType::ctImages:
      if (!gridImages_ || !Graphic.Images) break;
      for (int i = 0, x = at.Left, y = at.Top; i < Graphic.Images->Count(); ++i) {
        const int index = Graphic.Images->GetInteger(i);
        if (index >= 0 && index < gridImages_->Count()) gridImages_->Draw(Canvas, x, y, index);
        (Graphic.State ? x : y) += Graphic.State ? gridImages_->Width() : gridImages_->Height();
      }
      break;
    case TCellType::ctCheckBox:
    case TCellType::ctDataCheckBox: {
      bool checked = false;
      GetCheckBoxState(realCol, ARow, checked);
      const int w = Place.Width;
      int x = ARect.Left + 1;
      if (TextAlign == TAlignment::taRightJustify) x = std::max(ARect.Right - w, ARect.Left + 1);
      if (TextAlign == TAlignment::taCenter) x = ARect.Left + (ARect.Width() - w) / 2;
      DrawCheck(Canvas, controlLook_.ControlStyle(), checked, CellEditable(realCol, ARow),
                Bounds(x, at.Top, w, Place.Height));
      break;
    }
    case TCellType::ctRadio: {
      const TStringList* items = Graphic.Strings.Get();
      int index = -1;
      GetRadioIdx(realCol, ARow, index);
      if (items) DrawRadio(Canvas, ARect, *items, !CellEditable(realCol, ARow), Graphic.State, index);
      break;
    }
    case TCellType::ctRotated: DrawRotated(Canvas, realCol, ARow, ARect, Graphic.Angle); break;
    case TCellType::ctPicture:
      if (TPicture* picture = Graphic.Picture.Get(); picture && picture->Graphic() && at.Width() > 0 &&
                                                     at.Height() > 0) {
        if (Graphic.StretchMode == TStretchMode::noStretch)
          Canvas.Draw(at.Left, at.Top, *picture->Graphic());
        else
          Canvas.StretchDraw(at, *picture->Graphic());
      }
      break;
    case TCellType::ctFilePicture:
      if (const TFilePicture* file = Graphic.FilePicture.Get(); file && at.Width() > 0 && at.Height() > 0) {
        try {
          file->DrawPicture(Canvas, at);
        } catch (const Exception&) {
          // A file that went or no longer reads is left out, as painting raises nothing.
        }
      }
      break;
    case TCellType::ctNode: DrawNode(Canvas, ARect, Graphic.State); break;
    case TCellType::ctProgress: DrawProgress(Canvas, realCol, ARow, ARect, Graphic); break;
    case TCellType::ctComment: {
      const TPoint corner[] = {{ARect.Right - 7, ARect.Top + 1}, {ARect.Right - 2, ARect.Top + 1},
                               {ARect.Right - 2, ARect.Top + 6}};
      Canvas.Pen().SetColor(clRed);
      Canvas.Brush().SetColor(clRed);
      Canvas.Polygon(corner);
      Canvas.Brush().SetColor(Color());
      break;
    }
    case TCellType::ctButton:
    case TCellType::ctBitButton: {
      const TRect cell = GetCellRect(ACol, ARow);
      Graphic.ButtonPos = {at.Left - cell.Left, at.Top - cell.Top};
      DrawCellButton(Canvas, at, Graphic);
      break;
    }
    default: break;
  }
}

void VUraRazuduVova::DrawRotated(TCanvas& Canvas, int ACol, int ARow, TRect ARect, int Angle) {
  InflateRect(ARect, -2, -2);
  const std::string text = Cells(ACol, ARow);
  Canvas.Font().SetOrientation(Angle * 10);
  const int w = Canvas.TextWidth(text), h = Canvas.TextHeight(text);
  // The text turns round its top-left corner; that corner is placed so the turned box centres in
  // the cell.
  const double a = Angle * M_PI / 180.0;
  const double cx = w / 2.0 * std::cos(a) + h / 2.0 * std::sin(a);
  const double cy = -w / 2.0 * std::sin(a) + h / 2.0 * std::cos(a);
  const int x = static_cast<int>(std::lround((ARect.Left + ARect.Right) / 2.0 - cx));
  const int y = static_cast<int>(std::lround((ARect.Top + ARect.Bottom) / 2.0 - cy));
  const int saved = SaveDC(Canvas.Handle());
  IntersectClipRect(Canvas.Handle(), ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
  Canvas.Brush().SetStyle(TBrushStyle::bsClear);
  Canvas.TextOut(x, y, text);
  Canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  RestoreDC(Canvas.Handle(), saved);
  Canvas.Font().SetOrientation(0);
}

void VUraRazuduVova::DrawNode(TCanvas& Canvas, const TRect& ARect, bool Contracted) {
  switch (cellNode_.NodeType()) {
    case TNodeType::cn3D: {
      Canvas.FillRect(ARect);
      TRect edge = ARect;
      DrawEdge(Canvas.Handle(), edge, BDR_RAISEDINNER, BF_RECT);
      return;
    }
    case TNodeType::cnLeaf: {
      TBitmap leaf;
      leaf.LoadFromResourceName(Contracted ? "ZGLEAFCLOSE" : "ZGLEAFOPEN");
      const int top = ARect.Top + (ARect.Height() - leaf.Height()) / 2;
      DrawBitmapTransp(Canvas, leaf, leaf.TransparentColor(), Bounds(ARect.Left + 1, top, leaf.Width(), leaf.Height()));
      return;
    }
    case TNodeType::cnGlyph: {
      TBitmap glyph;
      glyph.Assign(Contracted ? cellNode_.ExpandGlyph() : cellNode_.ContractGlyph());
      if (cellNode_.ExpandGlyph().Empty() || cellNode_.ContractGlyph().Empty()) return;
      const int top = ARect.Top + (ARect.Height() - glyph.Height()) / 2;
      DrawBitmapTransp(Canvas, glyph, glyph.TransparentColor(),
                       Bounds(ARect.Left + 1, top, glyph.Width(), glyph.Height()));
      return;
    }
    case TNodeType::cnFlat: {
      const TRect box = Bounds(ARect.Left + 4, ARect.Top + (ARect.Height() - 9) / 2, 9, 9);
      Canvas.Pen().SetColor(cellNode_.NodeColor);
      Canvas.Brush().SetColor(clWhite);
      Canvas.Rectangle(box);
      const int midX = box.Left + 4, midY = box.Top + 4;
      Canvas.MoveTo(box.Left + 2, midY);
      Canvas.LineTo(box.Right - 2, midY);
      if (Contracted) {
        Canvas.MoveTo(midX, box.Top + 2);
        Canvas.LineTo(midX, box.Bottom - 2);
      }
      return;
    }
  }
}

void VUraRazuduVova::DrawProgress(TCanvas& Canvas, int ACol, int ARow, TRect ARect, const TCellGraphic& Graphic) {
  const std::optional<int> value = CellNumber(*this, ACol, ARow);
  if (!value) return;  // a text that is no number shows no bar
  const int percent = std::clamp(*value, 0, 100);
  InflateRect(ARect, -2, -2);
  const int barRight = ARect.Left + static_cast<int>(std::lround(percent * ARect.Width() / 100.0));
  const TRect bar{ARect.Left, ARect.Top, barRight, ARect.Bottom};
  const TRect rest{barRight, ARect.Top, ARect.Right, ARect.Bottom};
  const TProgressColors& colors = Graphic.Progress;
  const TColor cellBrush = Canvas.Brush().Color();
  const std::string text = std::to_string(percent) + "%";
  const int tx = ARect.Left + (ARect.Width() - Canvas.TextWidth(text)) / 2;
  const int ty = ARect.Top + (ARect.Height() - Canvas.TextHeight(text)) / 2;
  auto part = [&](const TRect& r, TColor fill, TColor ownText) {
    if (r.Width() <= 0) return;
    Canvas.Brush().SetColor(fill);
    Canvas.FillRect(r);
    Canvas.Font().SetColor(Graphic.State ? ownText : ColorToRGB(fill) ^ 0xFFFFFF);
    Canvas.Brush().SetStyle(TBrushStyle::bsClear);
    Canvas.TextRect(r, tx, ty, text);
    Canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  };
  part(bar, colors.Bar, colors.BarText);
  part(rest, colors.Background, colors.Text);
  TRect frame = ARect;
  InflateRect(frame, 1, 1);
  Canvas.Brush().SetColor(clBlack);
  Canvas.FrameRect(frame);
  InflateRect(frame, 1, 1);
  Canvas.Brush().SetColor(cellBrush);
  Canvas.FrameRect(frame);
}

void VUraRazuduVova::DrawTreeLines(TCanvas& Canvas, int ARow, const TRect& ARect) {
  const int spanType = GetNodeSpanType(ARow);
  const bool nodeRow = IsNode(ARow);
  if (spanType == 0 && !(nodeRow && !GetNodeState(ARow))) return;
  TPen saved;
  saved.Assign(Canvas.Pen());
  Canvas.Pen().SetColor(cellNode_.Color);
  Canvas.Pen().SetWidth(1);
  Canvas.Pen().SetStyle(TPenStyle::psSolid);
  // The line runs under the middle of the node's box, in the indent before the rows it holds.
  const int cellLeft = ARect.Left - NodeIndent(ARow);
  const int x = cellLeft + 8, stubY = ARect.Bottom - 8;
  if (nodeRow) {
    // An expanded node leads its line from its box down to the row below.
    Canvas.MoveTo(x, ARect.Top + (ARect.Height() - 9) / 2 + 9);
    Canvas.LineTo(x, ARect.Bottom + 1);
  } else {
    Canvas.MoveTo(x, ARect.Top - 1);
    Canvas.LineTo(x, spanType == 1 ? stubY + 1 : ARect.Bottom + 1);
    Canvas.MoveTo(x, stubY);
    Canvas.LineTo(ARect.Left, stubY);
  }
  Canvas.Pen().Assign(saved);
}

}  // namespace velmora
