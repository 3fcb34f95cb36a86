// The text of a cell: its kind (plain, markup, rich text, formula), password masking, URLs, the
// background bitmap, the selection rectangle, the sort indicator of the header, and the measuring of
// a cell's text.

#include <algorithm>

#include "controls/html/RenderHTML.h"
#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "platform/edits/RichEdit.h"
#include "platform/edits/RichEditMessages.h"
#include "platform/gfx/Gdi.h"

using namespace platform;

namespace velmora {
namespace {

enum TextKind { kPlain = 0, kMarkup = 1, kRichText = 2, kFormula = 3 };

constexpr unsigned HorizontalFlag(TAlignment align) {
  switch (align) {
    case TAlignment::taRightJustify: return DT_RIGHT;
    case TAlignment::taCenter: return DT_CENTER;
    case TAlignment::taLeftJustify: break;
  }
  return DT_LEFT;
}

constexpr unsigned VerticalFlag(TVAlignment align) {
  switch (align) {
    case TVAlignment::vtaCenter: return DT_VCENTER;
    case TVAlignment::vtaBottom: return DT_BOTTOM;
    case TVAlignment::vtaTop: break;
  }
  return DT_TOP;
}

// The part of the bitmap from (sx, sy) copied into the piece of the canvas.
void CopyPiece(TCanvas& canvas, const TRect& piece, const TBitmap& bitmap, int sx, int sy) {
  StretchDIBits(canvas.Handle(), piece.Left, piece.Top, piece.Width(), piece.Height(), sx, sy, piece.Width(),
                piece.Height(), bitmap);
}

// A non-negative remainder, for tiles that start left of or above their area.
int Wrap(int value, int period) { return ((value % period) + period) % period; }


}  // namespace

bool VUraRazuduVova::SortIndicatorShown(int ACol, int ARow) const {
  const TSortSettings& sort = sortSettings_;
  if (!sort.Show || ARow != sort.Row() || RowCount() <= 2 || FixedRows() <= 0) return false;
  if (ACol < FixedCols() && !sort.FixedCols) return false;
  const int realCol = RemapCol(ACol);
  if (realCol == sort.Column) return true;
  const int at = sortIndexes_.FindIndex(realCol);
  return at == 0 || (at > 0 && sort.IndexShow);
}

void VUraRazuduVova::DrawSortIndicator(TCanvas& Canvas, int ACol, int Y, int X) {
  TPen pen;
  pen.Assign(Canvas.Pen());
  TBrush brush;
  brush.Assign(Canvas.Brush());
  TFont font;
  font.Assign(Canvas.Font());
  const int at = sortIndexes_.FindIndex(RemapCol(ACol));
  if (sortSettings_.IndexShow && at >= 0) {
    const bool descending = (static_cast<uint32_t>(sortIndexes_.GetInteger(at)) & TSortIndexList::kDescending) != 0;
    const TPoint down[] = {{X - 7, Y - 5}, {X + 7, Y - 5}, {X, Y + 8}};
    const TPoint up[] = {{X - 6, Y + 8}, {X + 6, Y + 8}, {X, Y - 4}};
    Canvas.Pen().SetColor(clBlack);
    Canvas.Brush().SetColor(clYellow);
    Canvas.Polygon(descending ? std::span<const TPoint>(down) : std::span<const TPoint>(up));
    Canvas.Brush().SetStyle(TBrushStyle::bsClear);
    Canvas.Font().SetColor(clBlack);
    Canvas.Font().SetSize(5);
    Canvas.TextOut(X - 2, Y - 4, std::to_string(at + 1));
  } else {
    const bool ascending = sortSettings_.Direction == TSortDirection::sdAscending;
    const TBitmap& glyph = ascending ? sortSettings_.UpGlyph() : sortSettings_.DownGlyph();
    if (!sortSettings_.UpGlyph().Empty() && !sortSettings_.DownGlyph().Empty()) {
      TBitmap copy;
      copy.Assign(glyph);
      copy.SetTransparent(true);
      Canvas.Draw(X - 4, Y - 4, copy);
      Canvas.Brush().SetColor(FixedColor());
    } else {
      Canvas.Pen().SetWidth(1);
      auto edge = [&Canvas](TColor color, TPoint to) {
        Canvas.Pen().SetColor(color);
        Canvas.LineTo(to.X, to.Y);
      };
      if (ascending) {
        Canvas.MoveTo(X - 4, Y + 4);
        edge(clWhite, {X + 4, Y + 4});
        edge(clWhite, {X, Y - 4});
        edge(clGray, {X - 4, Y + 4});
      } else {
        Canvas.MoveTo(X + 4, Y - 4);
        edge(clWhite, {X, Y + 4});
        edge(clGray, {X - 4, Y - 4});
        edge(clGray, {X + 4, Y - 4});
      }
    }
  }
  Canvas.Pen().Assign(pen);
  Canvas.Brush().Assign(brush);
  Canvas.Font().Assign(font);
}

void VUraRazuduVova::DrawBackGround(TCanvas& Canvas, int ACol, int ARow, const TRect& ARect) {
  const TBitmap& bitmap = backGround_.Bitmap();
  const bool normalArea = backGround_.Cells() == TBackgroundCells::bcNormal;
  const int bw = bitmap.Width(), bh = bitmap.Height();
  TRect piece;
  if (backGround_.Display() == TBackgroundDisplay::bdFixed) {
    const TRect placed = Bounds(ARect.Left + backGround_.Left(), ARect.Top + backGround_.Top(), bw, bh);
    if (IntersectRect(piece, placed, ARect))
      CopyPiece(Canvas, piece, bitmap, piece.Left - placed.Left, piece.Top - placed.Top);
    return;
  }
  // The tiles are laid from the area's first shown column and row (the fixed ones' edge for normal
  // cells), so a cell's phase comes from its place on screen in constant time, however far the grid
  // has scrolled.
  const int areaLeft = normalArea && ACol >= FixedCols() ? FixedColsWidth() : 0;
  const int areaTop = normalArea && ARow >= FixedRows() ? FixedRowsHeight() : 0;
  for (int y = ARect.Top - Wrap(ARect.Top - areaTop, bh); y < ARect.Bottom; y += bh) {
    for (int x = ARect.Left - Wrap(ARect.Left - areaLeft, bw); x < ARect.Right; x += bw) {
      if (IntersectRect(piece, Bounds(x, y, bw, bh), ARect))
        CopyPiece(Canvas, piece, bitmap, piece.Left - x, piece.Top - y);
    }
  }
}

void VUraRazuduVova::DrawSelectionRectangle(TCanvas& Canvas, int ACol, int ARow, const TRect& ARect) {
  const TGridRect sel = Selection();
  if (!sel.Contains(ACol, ARow)) return;
  TPen saved;
  saved.Assign(Canvas.Pen());
  Canvas.Pen().SetColor(SelectionRectangleColor);
  Canvas.Pen().SetWidth(2);
  auto line = [&Canvas](int x1, int y1, int x2, int y2) {
    Canvas.MoveTo(x1, y1);
    Canvas.LineTo(x2, y2);
  };
  if (ACol == sel.Left) line(ARect.Left, ARect.Top, ARect.Left, ARect.Bottom);
  if (ACol == sel.Right) line(ARect.Right - 1, ARect.Top, ARect.Right - 1, ARect.Bottom);
  if (ARow == sel.Top) line(ARect.Left, ARect.Top, ARect.Right, ARect.Top);
  if (ARow == sel.Bottom) line(ARect.Left, ARect.Bottom - 1, ARect.Right, ARect.Bottom - 1);
  Canvas.Pen().Assign(saved);
}

void VUraRazuduVova::DrawCellText(TCanvas& Canvas, int ACol, int ARow, TRect ARect, TGridDrawState AState,
                                  TAlignment HAlign, TVAlignment VAlign, const GraphicPlace& Place) {
  const int realCol = RemapCol(ACol);
  const bool normal = ACol >= FixedCols() && ARow >= FixedRows();
  const bool disjunct = MouseActions().DisjunctRowSelect;
  const bool focused = AState.Contains(TGridDrawStateFlag::gdFocused);

  // Selection colours.
  TColor urlColor = URLColor;
  const bool selected = AState.Contains(TGridDrawStateFlag::gdSelected) ||
                        (!paintingFooter_ && disjunct && Options().Contains(TGridOption::goRowSelect) &&
                         ACol >= FixedCols() && RowSelect(ARow));
  const bool paintedSelected =
      selected && (!focused || Options().Contains(TGridOption::goDrawFocusSelected)) && showSelection_;
  if (paintedSelected) {
    if (selectionColor_ != clNone) Canvas.Brush().SetColor(selectionColor_);
    if (selectionTextColor_ != clNone) {
      Canvas.Font().SetColor(selectionTextColor_);
      urlColor = selectionTextColor_;
    }
  }
  if (!showSelection_ && !Focused()) {
    Canvas.Brush().SetColor(Color());
    Canvas.Font().SetColor(Font().Color());
  }

  // The text and its kind; a password is masked before anything else looks at it.
  std::string text = Cells(realCol, ARow);
  bool password = false;
  GetCellPassword(realCol, ARow, password);
  int kind = kPlain;
  if (password) {
    StringToPassword(text, '*');
  } else {
    kind = TextType(text, EnableHTML);
    if (kind == kFormula) text = CalcCell(realCol, ARow);
  }

  if (disjunct && !MouseSelecting && normal && !RowSelect(ARow)) {
    Canvas.Brush().SetColor(Color());
    Canvas.Font().SetColor(Font().Color());
    GetCellColor(realCol, ARow, AState, Canvas.Brush(), Canvas.Font());
  }

  const bool fixed = AState.Contains(TGridDrawStateFlag::gdFixed);
  const bool backgroundCells = backGround_.Cells() == TBackgroundCells::bcNormal ? !fixed : fixed;
  if (!backGround_.Bitmap().Empty() && backgroundCells && !paintedSelected)
    DrawBackGround(Canvas, ACol, ARow, ARect);
  if (selectionRectangle_) DrawSelectionRectangle(Canvas, ACol, ARow, ARect);

  const bool sortHere = SortIndicatorShown(ACol, ARow);
  const int sortY = VAlign == TVAlignment::vtaTop      ? ARect.Top + 8
                    : VAlign == TVAlignment::vtaCenter ? (ARect.Top + ARect.Bottom) / 2
                                                       : ARect.Bottom - 8;
  if (!Place.DrawText) return;
  const int oldMode = SetBkMode(Canvas.Handle(), TRANSPARENT);
  if (kind == kMarkup) {
    TRect r = TextRoom(ARect, Place);
    r.Left += 2;
    r.Top += 2;
    if (sortHere) r.Right -= 10;
    std::string anchor, stripped, focusAnchor;
    int xSize = 0, ySize = 0, links = 0, mouseLink = -1;
    TRect hover;
    controls::RenderHTML(Canvas, text, r, gridImages_, 0, 0, -1, -1, 1, false, false, false, paintedSelected,
                         blinkPhase_, false, !EnhTextSize, 1.0, urlColor, clNone, clNone, clGray, anchor, stripped, focusAnchor,
                         xSize, ySize, links, mouseLink, hover, &pictureCache_, pictureContainer_);
    if (sortHere) DrawSortIndicator(Canvas, ACol, sortY, r.Right + 2);
  } else if (kind == kRichText) {
    if (!(selected && !focused && selectionColor_ == clNone)) Canvas.FillRect(ARect);
    RTFPaint(ACol, ARow, Canvas, ARect);
  } else {
    TRect r = TextRoom(ARect, Place);
    r.Right -= 2;
    r.Left += xyOffset_.X;
    r.Top += xyOffset_.Y;
    if (sortHere) {
      if (HAlign == TAlignment::taCenter) r.Left += 10;
      if (HAlign == TAlignment::taLeftJustify)
        r.Right -= 14;
      else
        r.Left += 14;
    }
    if (URLShow && IsURL(text)) {
      if (!URLFull) StripURLProtocol(text);
      Canvas.Font().SetStyle(Canvas.Font().Style() + TFontStyle::fsUnderline);
      Canvas.Font().SetColor(urlColor);
    }
    const TCellProperties* props = GetGridObject(realCol, ARow);
    const bool wrap = wordWrap_ || (props && props->WordWrap());
    unsigned flags = DT_EDITCONTROL;
    if (LinesInText(text, Multilinecells) == 1 && !wrap) {
      std::string firstLine;
      GetNextLine(text, false, firstLine);
      text = firstLine;
      flags = DT_SINGLELINE | (EnhTextSize ? DT_END_ELLIPSIS : 0);
    }
    // The word-wrap entry, from this grid's own flags at every call.
    const unsigned wrapFlag = wrap ? DT_WORDBREAK | DT_EDITCONTROL : Multilinecells ? 0 : DT_SINGLELINE;
    flags |= DT_EXPANDTABS | DT_NOPREFIX | wrapFlag | HorizontalFlag(HAlign) | VerticalFlag(VAlign);
    TRect drawn = r;
    DrawText(Canvas.Handle(), text, drawn, flags);
    uint16_t first = 0, length = 0;
    GetMarker(realCol, ARow, first, length);
    if (length > 0) DrawErrorLines(*this, Canvas, text, drawn, first, length, Canvas.TextHeight("gh"));
    if (sortHere) {
      const int shown = std::min(Canvas.TextWidth(text), ARect.Width() - 16);
      const int x = HAlign == TAlignment::taLeftJustify    ? r.Left + shown + 10
                    : HAlign == TAlignment::taRightJustify ? r.Right - shown - 10
                                                           : r.Left + 8;
      DrawSortIndicator(Canvas, ACol, sortY, x);
    }
  }
  SetBkMode(Canvas.Handle(), oldMode);
}

TCustomRichEdit& VUraRazuduVova::RichEdit() {
  if (!paintRichEdit_) paintRichEdit_ = new TRichEdit(this);
  return *paintRichEdit_;
}

void VUraRazuduVova::RTFPaint(int ACol, int ARow, TCanvas& Canvas, const TRect& ARect) {
  TCustomRichEdit& rich = RichEdit();
  CellToRich(RemapCol(ACol), ARow, rich);
  const bool selected = IsSelected(ACol, ARow) && ACol >= FixedCols() && ARow >= FixedRows();
  if (!SelectionRTFKeep && selected && showSelection_ && selectionTextColor_ != clNone) {
    rich.SelectAll();
    rich.SelAttributes().SetColor(selectionTextColor_);
  }
  const int ppiX = GetDeviceCaps(Canvas.Handle(), LOGPIXELSX), ppiY = GetDeviceCaps(Canvas.Handle(), LOGPIXELSY);
  FORMATRANGE range;
  range.hdc = range.hdcTarget = &Canvas;
  range.rc = Rect(ARect.Left * 1440 / ppiX, ARect.Top * 1440 / ppiY, ARect.Right * 1440 / ppiX,
                  ARect.Bottom * 1440 / ppiY);
  range.rcPage = range.rc;
  range.chrg = {0, -1};
  const TBrushStyle style = Canvas.Brush().Style();
  Canvas.Brush().SetStyle(TBrushStyle::bsClear);
  const int mapMode = GetMapMode(Canvas.Handle());
  rich.Perform(EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&range));
  SetMapMode(Canvas.Handle(), mapMode);
  Canvas.Brush().SetStyle(style);
}

void VUraRazuduVova::SelectCellFont(int ACol, int ARow, TFont& AFont) {
  TBrush brush;
  TGridDrawState state;
  TAlignment hAlign = TAlignment::taLeftJustify;
  TVAlignment vAlign = TVAlignment::vtaTop;
  bool wordWrap = false;
  GetVisualProperties(ACol, ARow, state, false, false, brush, AFont, hAlign, vAlign, wordWrap);
}

TSize VUraRazuduVova::GetCellTextSize(int ACol, int ARow) {
  TCanvas& canvas = Canvas();
  TFont saved;
  saved.Assign(canvas.Font());
  SelectCellFont(ACol, ARow, canvas.Font());
  const int realCol = RemapCol(ACol);
  std::string text = Cells(realCol, ARow);
  bool password = false;
  GetCellPassword(realCol, ARow, password);
  const int kind = password ? kPlain : TextType(text, EnableHTML);
  if (password) StringToPassword(text, '*');
  TSize size{0, 0};
  if (kind == kMarkup) {
    std::string anchor, stripped, focusAnchor;
    int links = 0, mouseLink = -1;
    TRect hover;
    controls::RenderHTML(canvas, text, Rect(0, 0, 4096, 4096), gridImages_, 0, 0, -1, -1, 1, false, true, false,
                         false, true, false, !EnhTextSize, 1.0, URLColor, clNone, clNone, clGray, anchor, stripped,
                         focusAnchor, size.cx, size.cy, links, mouseLink, hover, &pictureCache_,
                         pictureContainer_);
  } else if (kind == kRichText) {
    TCustomRichEdit& rich = RichEdit();
    CellToRich(realCol, ARow, rich);
    FORMATRANGE range;
    range.hdc = range.hdcTarget = &canvas;
    range.rc = Rect(0, 0, 4096 * 15, 4096 * 15);
    range.rcPage = range.rc;
    range.chrg = {0, -1};
    rich.Perform(EM_FORMATRANGE, 0, reinterpret_cast<LPARAM>(&range));
    size.cy = range.rc.Bottom / 15;
    for (int i = 0; i < rich.Lines().Count(); ++i)
      size.cx = std::max(size.cx, canvas.TextWidth(rich.Lines().Strings(i)));
  } else {
    if (kind == kFormula) text = CalcCell(realCol, ARow);
    if (URLShow && !URLFull && IsURL(text)) StripURLProtocol(text);
    const int lines = LinesInText(text, true);
    for (int i = 0; i < lines; ++i) {
      std::string line;
      GetNextLine(text, true, line);
      size.cx = std::max(size.cx, canvas.TextWidth(line));
    }
    size.cy = canvas.TextHeight("gh") * lines;
  }
  canvas.Font().Assign(saved);
  return size;
}

}  // namespace velmora
