// Row heights fitted to their contents, and cells sized in both directions.
#include <algorithm>

#include "controls/html/RenderHTML.h"
#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "platform/edits/RichEdit.h"
#include "platform/gfx/Gdi.h"

using namespace platform;

namespace velmora {

namespace {

enum TextKind { kPlain = 0, kMarkup = 1, kRichText = 2 };

}  // namespace

int VUraRazuduVova::MaxLinesInRow(int ARow) const {
  int lines = 1;
  for (int c = 0; c < ColCount(); ++c) lines = std::max(lines, LinesInText(Cells(RealColIndex(c), ARow), true));
  return lines;
}

void VUraRazuduVova::SizeToLines(int ARow, int Lines, int Padding) {
  Canvas().Font().Assign(Font());
  const int h = Canvas().TextHeight("gh");
  SetRowHeights(ARow, (h + h / 4) * Lines + Padding);
}

void VUraRazuduVova::AutoSizeRows(bool DoFixedRows, int Padding) {
  if (RowCount() == 0) return;
  const UpdateGuard lock(*this);
  for (int r = DoFixedRows ? 0 : FixedRows(); r < RowCount(); ++r) {
    if (WordWrap())
      AutoSizeRow(r);
    else
      SizeToLines(r, MaxLinesInRow(r), Padding);
  }
}

int VUraRazuduVova::WrappedTextHeight(int ACol, int ARow) {
  TCanvas& canvas = Canvas();
  TBrush brush;
  TGridDrawState state;
  TAlignment hAlign = TAlignment::taLeftJustify;
  TVAlignment vAlign = TVAlignment::vtaTop;
  bool wordWrap = false;
  GetVisualProperties(ACol, ARow, state, false, false, brush, canvas.Font(), hAlign, vAlign, wordWrap);
  const int realCol = RealColIndex(ACol);
  std::string text = Cells(realCol, ARow);
  TRect R = Rect(0, 0, std::max(ColWidths(ACol) - 4, 0), DefaultRowHeight());
  switch (TextType(text, EnableHTML)) {
    case kMarkup: {
      std::string anchor, stripped, focusAnchor;
      int xSize = 0, ySize = 0, links = 0, mouseLink = -1;
      TRect hover;
      controls::RenderHTML(canvas, text, Rect(0, 0, R.Right, 65535), gridImages_, 0, 0, -1, -1, 1, false, true, false,
                           false, true, false, !EnhTextSize, 1.0, URLColor, clNone, clNone, clGray, anchor, stripped,
                           focusAnchor, xSize, ySize, links, mouseLink, hover, &pictureCache_, pictureContainer_);
      return ySize;
    }
    case kRichText:
      CellToRich(realCol, ARow, RichEdit());
      text = RichEdit().Text();
      [[fallthrough]];
    case kPlain:
      return DrawText(canvas.Handle(), text, R,
                      VAlignmentFlag() | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK | DT_CALCRECT | DT_NOCLIP);
    default: return 0;
  }
}

void VUraRazuduVova::AutoSizeRow(int ARow) {
  if (ARow < 0 || ARow >= RowCount()) return;
  TFont saved;
  saved.Assign(Canvas().Font());
  int height = DefaultRowHeight();
  for (int c = 0; c < ColCount(); ++c) {
    if (CellSpan(RealColIndex(c), ARow).Y >= 1) continue;
    const int measured = std::max(WrappedTextHeight(c, ARow), GetCellGraphicSize(RealColIndex(c), ARow).Y);
    if (measured + 2 > height) height = measured + 4;
  }
  Canvas().Font().Assign(saved);
  SetRowHeights(ARow, height);
}

void VUraRazuduVova::AutoSizeCells(bool DoFixed, int PaddingX, int PaddingY) {
  // The flag skips the fixed cells, the other way round from AutoSizeColumns.
  const int firstCol = DoFixed ? FixedCols() : 0, firstRow = DoFixed ? FixedRows() : 0;
  const UpdateGuard lock(*this);
  for (int c = firstCol; c < ColCount(); ++c) SetColWidths(c, 0);
  for (int r = firstRow; r < RowCount(); ++r) SetRowHeights(r, 0);
  for (int c = firstCol; c < ColCount(); ++c)
    for (int r = firstRow; r < RowCount(); ++r) {
      const TSize size = GetCellTextSize(c, r);
      const platform::TPoint graphic = GetCellGraphicSize(RealColIndex(c), r);
      if (ColWidths(c) < size.cx + graphic.X + PaddingX) SetColWidths(c, size.cx + graphic.X + PaddingX);
      if (RowHeights(r) < size.cy + graphic.Y + PaddingY) SetRowHeights(r, size.cy + graphic.Y + PaddingY);
    }
}

}  // namespace velmora
