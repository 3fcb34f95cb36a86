// One cell's painting: its colours and font, the row indicator, borders, the soft look of fixed cells,
// the user's drawing and the focus rectangle; the frame of a pending edit and the sizing line. The
// text of a cell is DovAdizPaintText.cpp.

#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "platform/gfx/Gdi.h"

using namespace platform;

namespace velmora {

void VUraRazuduVova::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Pen().SetStyle(TPenStyle::psSolid);
  TBaseGrid::Paint();
  if (EditPending) {
    canvas.Pen().SetColor(GridLineColor());
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Rectangle(CellRect(Col(), Row()));
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  }
  if (panning_) DrawIntelliFocusPoint();
  canvas.Pen().SetColor(clBlack);
}

void VUraRazuduVova::DrawSoftFrame(TCanvas& Canvas) {
  if (Look != TGridLook::glSoft || BorderStyle() != TBorderStyle::bsSingle) return;
  TBrush saved;
  saved.Assign(Canvas.Brush());
  TRect frame = Rect(0, 0, Width(), Height());
  Canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  Canvas.Brush().SetColor(Parent() ? Parent()->Color() : Color());
  Canvas.FrameRect(frame);
  InflateRect(frame, -1, -1);
  Canvas.Brush().SetColor(clGray);
  Canvas.FrameRect(frame);
  Canvas.Brush().Assign(saved);
}

bool VUraRazuduVova::IsFixed(int ACol, int ARow) {
  const int realCol = RemapCol(ACol);
  const TPoint base = BaseCell(realCol, ARow);
  const int baseCol = ACol - (realCol - base.X);  // a block's columns are consecutive on display
  if (base.Y >= RowCount() - fixedFooters_ || baseCol >= ColCount() - fixedRightCols_) return true;
  bool fixed = false;
  GetCellFixed(base.X, base.Y, fixed);
  return fixed;
}

void VUraRazuduVova::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                         TBrush& ABrush, TFont& AFont, TAlignment& HAlign, TVAlignment& VAlign,
                                         bool& /*WordWrap*/) {
  const int realCol = RemapCol(ACol);
  const bool normal = ACol >= FixedCols() && ARow >= FixedRows();
  AFont.Assign(Print ? PrintSettings().Font() : normal ? Font() : FixedFont());

  const TCellProperties* props = GetGridObject(realCol, ARow);
  TColor brush = props ? props->BrushColor() : clNone;
  if (brush == clNone) {
    brush = Color();
    const bool banded = bands_.Banding() && (bands_.Print || !Print) && ACol >= FixedCols() &&
                        ACol < ColCount() - fixedRightCols_ && ARow >= FixedRows() && ARow < RowCount() - fixedFooters_;
    if (banded)
      brush = (ARow - FixedRows()) % bands_.Period() < bands_.PrimaryLength() ? bands_.PrimaryColor()
                                                                              : bands_.SecondaryColor();
  }
  ABrush.SetColor(brush);
  const bool fixed = IsFixed(ACol, ARow);
  if (fixed && !Print) {
    ABrush.SetColor(FixedColor());
    AFont.SetColor(fixedFont_.Color());
    AState.Include(TGridDrawStateFlag::gdFixed);
  }
  if (Print)
    GetCellPrintColor(realCol, ARow, AState, ABrush, AFont);
  else
    GetCellColor(realCol, ARow, AState, ABrush, AFont);

  // Without ShowSelection the selection shows only while the grid has the focus.
  const bool selectable = !Print && Select && (showSelection_ || Focused()) && !fixed;
  auto paintSelected = [&] {
    if (selectionColor_ != clNone) ABrush.SetColor(selectionColor_);
    if (selectionTextColor_ != clNone) AFont.SetColor(selectionTextColor_);
  };
  const bool disjunct = MouseActions().DisjunctRowSelect;
  const bool stateSelected = AState.Contains(TGridDrawStateFlag::gdSelected);
  if (selectable && normal && disjunct) {
    if (RowSelect(ARow) || (MouseSelecting && stateSelected)) {
      AState = {TGridDrawStateFlag::gdSelected};
      paintSelected();
    }
  }
  if (selectable && ((IsSelected(ACol, ARow) && !disjunct) || (stateSelected && MouseSelecting))) {
    paintSelected();
    AState.Include(TGridDrawStateFlag::gdSelected);
  }
  GetCellAlignment(realCol, ARow, HAlign, VAlign);
}

void VUraRazuduVova::DrawGridCell(TCanvas& Canvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  const int realCol = RemapCol(ACol);
  TAlignment hAlign = TAlignment::taLeftJustify;
  TVAlignment vAlign = TVAlignment::vtaTop;
  bool wordWrap = false;
  GetVisualProperties(ACol, ARow, AState, false, !paintingFooter_, Canvas.Brush(), Canvas.Font(), hAlign, vAlign,
                      wordWrap);

  GraphicPlace place;
  const bool hasGraphic =
      GetGraphicDetails(ACol, ARow, place.Width, place.Height, place.DrawText, place.HAlign, place.VAlign);

  TRect rect = ARect;
  if (realCol == 0 && ARow == Row() && FixedCols() > 0 && !rowIndicator_.Empty()) {
    const int top = rect.Top + (rect.Height() - rowIndicator_.Height()) / 2;
    DrawBitmapTransp(Canvas, rowIndicator_, rowIndicator_.TransparentColor(),
                     Bounds(rect.Left, top, rowIndicator_.Width(), rowIndicator_.Height()));
    rect.Left += rowIndicator_.Width();
  }
  DrawCellText(Canvas, ACol, ARow, rect, AState, hAlign, vAlign, place);
  TRect borders = rect;
  InflateRect(borders, 1, 1);
  DrawCellBorders(Canvas, ACol, ARow, borders);

  if (pressedFixed_.X == ACol && pressedFixed_.Y == ARow) {
    // A fixed cell held down as a button shows pushed in, on the pixels of the soft look's raised lines.
    TRect pushed{ARect.Left, ARect.Top, ARect.Right + 1, ARect.Bottom};
    DrawEdge(Canvas.Handle(), pushed, BDR_SUNKENINNER, BF_RECT);
  } else if (Look == TGridLook::glSoft && (IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows())) {
    DrawSoftLook(Canvas, ACol, ARow, ARect);
  }
  if (HasNodes() && realCol == 0 && ARow >= FixedRows() && cellNode_.ShowTree()) DrawTreeLines(Canvas, ARow, ARect);
  if (hasGraphic) DrawCellGraphic(Canvas, ACol, ARow, rect, *GetCellGraphic(realCol, ARow), place, hAlign);

  if (OnDrawCell) {
    TRect user = ARect;
    user.Left += 1;
    user.Top += 1;
    user.Right -= GridLineWidth();
    user.Bottom -= GridLineWidth();
    OnDrawCell(this, ACol, ARow, user, AState);
  }
  if (!HideFocusRect && AState.Contains(TGridDrawStateFlag::gdFocused) &&
      !Options().Contains(TGridOption::goRowSelect)) {
    TRect focus = ARect;
    InflateRect(focus, GridLineWidth() - 1, GridLineWidth() - 1);
    focus.Right -= 1;
    focus.Bottom -= 1;
    Canvas.DrawFocusRect(focus);
  }
}

void VUraRazuduVova::DrawCellBorders(TCanvas& Canvas, int ACol, int ARow, TRect ARect) {
  TCellBorders borders;
  TPen saved;
  saved.Assign(Canvas.Pen());
  GetCellBorder(RemapCol(ACol), ARow, Canvas.Pen(), borders);
  if (!borders.Empty()) {
    TPen left, top, right, bottom;
    for (TPen* pen : {&left, &top, &right, &bottom}) pen->Assign(Canvas.Pen());
    if (OnGetCellBorderProp) OnGetCellBorderProp(this, ARow, RemapCol(ACol), left, top, right, bottom);
    const int inset = (Canvas.Pen().Width() + 1) / 2;
    InflateRect(ARect, -inset, -inset);
    auto line = [&Canvas](const TPen& pen, int x1, int y1, int x2, int y2) {
      Canvas.Pen().Assign(pen);
      Canvas.MoveTo(x1, y1);
      Canvas.LineTo(x2, y2);
    };
    if (borders.Contains(TCellBorder::cbLeft)) line(left, ARect.Left, ARect.Top, ARect.Left, ARect.Bottom);
    if (borders.Contains(TCellBorder::cbRight))
      line(right, ARect.Right - 1, ARect.Top, ARect.Right - 1, ARect.Bottom);
    if (borders.Contains(TCellBorder::cbTop)) line(top, ARect.Left, ARect.Top, ARect.Right, ARect.Top);
    if (borders.Contains(TCellBorder::cbBottom))
      line(bottom, ARect.Left, ARect.Bottom - 1, ARect.Right, ARect.Bottom - 1);
  }
  Canvas.Pen().Assign(saved);
}

void VUraRazuduVova::DrawSoftLook(TCanvas& Canvas, int ACol, int ARow, TRect ARect) {
  const bool horz = Options().Contains(TGridOption::goFixedHorzLine);
  const bool vert = Options().Contains(TGridOption::goFixedVertLine);
  TPen saved;
  saved.Assign(Canvas.Pen());
  Canvas.Pen().SetWidth(1);
  auto line = [&Canvas](TColor color, int x1, int y1, int x2, int y2) {
    Canvas.Pen().SetColor(color);
    Canvas.MoveTo(x1, y1);
    Canvas.LineTo(x2, y2);
  };
  if (!Flat()) {
    // Raised: white at the top and left, gray at the bottom, gray then white at the right.
    InflateRect(ARect, 1, 1);
    ARect.Bottom -= 1;
    if (horz) {
      line(clGray, ARect.Left, ARect.Bottom - 1, ARect.Right - 1, ARect.Bottom - 1);
      line(clWhite, ARect.Right, ARect.Top + 1, ARect.Left + 1, ARect.Top + 1);
      Canvas.LineTo(ARect.Left + 1, ARect.Bottom - 1);
    }
    if (vert) {
      line(clGray, ARect.Right - 2, ARect.Top, ARect.Right - 2, ARect.Bottom - 1);
      line(clWhite, ARect.Right - 1, ARect.Top, ARect.Right - 1, ARect.Bottom - 1);
    }
  } else {
    // Flat: one black line round the cell, on its own edge pixels.
    if (horz) {
      line(clBlack, ARect.Left - 1, ARect.Top - 1, ARect.Right + 1, ARect.Top - 1);
      line(clBlack, ARect.Left - 1, ARect.Bottom, ARect.Right + 1, ARect.Bottom);
    }
    if (vert) {
      line(clBlack, ARect.Left - 1, ARect.Top - 1, ARect.Left - 1, ARect.Bottom + 1);
      line(clBlack, ARect.Right, ARect.Top - 1, ARect.Right, ARect.Bottom + 1);
    }
  }
  Canvas.Pen().Assign(saved);
}

void VUraRazuduVova::DrawSizingLine(int X) {
  TCanvas& canvas = Canvas();
  TPen saved;
  saved.Assign(canvas.Pen());
  canvas.Pen().SetStyle(TPenStyle::psDot);
  canvas.Pen().SetMode(TPenMode::pmXor);
  canvas.Pen().SetColor(clWhite);
  canvas.Pen().SetWidth(1);
  // The rows shown, not every row above them, give the bottom of the last one.
  const std::vector<GridAxis::Placed> rows = RowAxis().ShownItems(RowsExtent());
  const int lastBottom = rows.empty() ? 0 : rows.back().start + RowHeights(rows.back().index);
  canvas.MoveTo(X, 0);
  canvas.LineTo(X, std::max(ClientHeight(), lastBottom));
  canvas.Pen().Assign(saved);
}

}  // namespace velmora
