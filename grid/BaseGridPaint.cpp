#include "grid/BaseGrid.h"
#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"

// Painting: cell rectangles, merged blocks drawn once per pass as one cell, and the grid lines, which
// lie inside each cell's rectangle (right and bottom edge).

using namespace platform;

namespace velmora {

TRect TBaseGrid::GetCellRect(int ACol, int ARow) const {
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return {};
  // The class library's lines are off, so an item's start is the sum of the sizes before it, less
  // those scrolled away for a scrolling item.
  return Bounds(ColAxis().Start(ACol), RowAxis().Start(ARow), ColWidths(ACol), RowHeights(ARow));
}

TRect TBaseGrid::CellRect(int ACol, int ARow) const {
  const TGridRect block = DisplayBlockOf(ACol, ARow);
  TRect rect;
  UnionRect(rect, GetCellRect(block.Left, block.Top), GetCellRect(block.Right, block.Bottom));
  return rect;
}

TSize TBaseGrid::CellSize(int ACol, int ARow) const {
  const TRect rect = CellRect(ACol, ARow);
  return {rect.Width(), rect.Height()};
}

void TBaseGrid::Paint() {
  // Counted before the pass, so a stamp of 0 never matches a pass.
  ++paintCounter_;
  TStringGrid::Paint();
}

TGridDrawState TBaseGrid::BlockState(const TGridRect& block, TGridDrawState AState) const {
  const TGridRect sel = Selection();
  AState.Exclude(TGridDrawStateFlag::gdSelected);
  AState.Exclude(TGridDrawStateFlag::gdFocused);
  if (SelectionShown() && sel.Left <= block.Right && block.Left <= sel.Right && sel.Top <= block.Bottom &&
      block.Top <= sel.Bottom)
    AState.Include(TGridDrawStateFlag::gdSelected);
  if (block.Contains(Col(), Row()) && Focused()) AState.Include(TGridDrawStateFlag::gdFocused);
  return AState;
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas& canvas = Canvas();
  if (LastRowFooter && ARow == RowCount() - 1) {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ARect);
    return;
  }
  const int col = RemapCol(ACol);  // the store column shown here
  const auto block = DisplayBlock(ACol, ARow);
  if (block) {
    TCellProperties* base = GetGridObject(col - (ACol - block->Left), block->Top);
    if (base->PaintStamp == paintCounter_) return;  // this pass has drawn the block
    if (block->Left != ACol || block->Top != ARow) {
      DrawCell(block->Left, block->Top, ARect, AState);
      return;
    }
    base->PaintStamp = paintCounter_;
  }

  const bool fixed = ACol < FixedCols() || ARow < FixedRows() || IsFixed(ACol, ARow);
  if (fixed) {
    AState.Exclude(TGridDrawStateFlag::gdSelected);
    AState.Include(TGridDrawStateFlag::gdFixed);
  } else if (block) {
    AState = BlockState(*block, AState);
  }
  TRect rect = CellRect(ACol, ARow);

  // A block of scrolling columns (rows) that reaches into scrolled-away ones stays within the scrolling
  // area, so it never paints over the fixed cells.
  HDC dc = canvas.Handle();
  CanvasStateGuard state(canvas);  // also when an overridden call below throws
  const int clipLeft = ACol >= FixedCols() ? FixedColsWidth() : 0;
  const int clipTop = ARow >= FixedRows() ? FixedRowsHeight() : 0;
  if (rect.Left < clipLeft || rect.Top < clipTop)
    IntersectClipRect(dc, clipLeft, clipTop, ClientWidth(), ClientHeight());

  canvas.Pen().SetWidth(1);
  canvas.Font().Assign(Font());
  const TCellProperties* props = GetGridObject(col, ARow);
  TColor background = fixed ? FixedColor() : props && props->BrushColor() != clNone ? props->BrushColor() : Color();
  if (!fixed && AState.Contains(TGridDrawStateFlag::gdSelected) &&
      (Options().Contains(TGridOption::goDrawFocusSelected) || !AState.Contains(TGridDrawStateFlag::gdFocused))) {
    background = clHighlight;
    canvas.Font().SetColor(clHighlightText);
  }
  canvas.Brush().SetColor(background);
  TAlignment hAlign = props ? props->Alignment : TAlignment::taLeftJustify;
  TVAlignment vAlign = props ? props->VAlignment() : TVAlignment::vtaTop;
  bool wordWrap = props && props->WordWrap();
  GetVisualProperties(ACol, ARow, AState, false, true, canvas.Brush(), canvas.Font(), hAlign, vAlign, wordWrap);
  canvas.Pen().SetColor(canvas.Brush().Color());
  canvas.FillRect(rect);

  if (ACol == 0 && ARow >= FixedRows()) rect.Left += NodeIndent(ARow);
  DrawGridLines(canvas, rect, block ? block->Left : ACol, fixed);
  const int inset = fixed ? 1 : gridLineWidth_;
  InflateRect(rect, -inset, -inset);
  DrawGridCell(canvas, ACol, ARow, rect, AState);
}

void TBaseGrid::DrawGridLines(TCanvas& canvas, const TRect& rect, int baseCol, bool fixed) {
  if (!fixed && gridLineWidth_ <= 0) return;
  const int width = fixed ? 1 : gridLineWidth_;
  const int inset = fixed ? 1 : (gridLineWidth_ + 1) / 2;
  canvas.Pen().SetColor(fixed ? clGray : gridLineColor_);
  canvas.Pen().SetWidth(width);
  const TGridOptions options = Options();
  const bool horz = options.Contains(fixed ? TGridOption::goFixedHorzLine : TGridOption::goHorzLine);
  const bool vert = options.Contains(fixed ? TGridOption::goFixedVertLine : TGridOption::goVertLine);
  if (horz && !(baseCol == 0 && HasNodes())) {
    canvas.MoveTo(rect.Left - inset, rect.Bottom - inset);
    canvas.LineTo(rect.Right - inset, rect.Bottom - inset);
  }
  if (vert) {
    canvas.MoveTo(rect.Right - inset, rect.Bottom - inset);
    canvas.LineTo(rect.Right - inset, rect.Top - inset);
  }
  canvas.Pen().SetWidth(1);
}

void TBaseGrid::DrawGridCell(TCanvas& Canvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TRect rect = ARect;
  const int oldMode = SetBkMode(Canvas.Handle(), TRANSPARENT);
  DrawText(Canvas.Handle(), GetCellEx(RemapCol(ACol), ARow), rect,
           DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetBkMode(Canvas.Handle(), oldMode);
  if (AState.Contains(TGridDrawStateFlag::gdFocused)) Canvas.DrawFocusRect(ARect);
}

}  // namespace velmora
