// The floating footer: its panel under the rows, the three ways it shows the grid's data, the
// template filled from the current row, and how its settings reach the panel and the grid.

#include "grid/DovAdizFooter.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "controls/html/RenderHTML.h"
#include "grid/DovAdiz.h"
#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"

using namespace platform;

namespace velmora {

TFooterPanel::TFooterPanel(TComponent* AOwner, VUraRazuduVova& Grid) : TCustomPanel(AOwner), grid_(Grid) {
  SetBevelOuter(TBevelCut::bvNone);
  SetAlign(TAlign::alBottom);
  SetHeight(0);
  SetVisible(false);
}

void TFooterPanel::CreateWnd() {
  TCustomPanel::CreateWnd();
  const TFloatingFooter& footer = grid_.FloatingFooter();
  SetHeight(footer.Visible() ? footer.Height() : 0);
}

void TFooterPanel::Paint() {
  switch (grid_.FloatingFooter().FooterStyle()) {
    case TFooterStyle::fsFixedLastRow: PaintLastRow(); break;
    case TFooterStyle::fsColumnPreview: PaintColPreview(); break;
    case TFooterStyle::fsCustomPreview: PaintCustomPreview(); break;
  }
}

int TFooterPanel::ColumnsWidth() const {
  int width = 0;
  for (const GridAxis::Placed& col : grid_.ColAxis().ShownItems(grid_.ClientWidth()))
    width = std::max(width, col.start + grid_.ColWidths(col.index));
  return width;
}

void TFooterPanel::DrawRaisedFrame(const TRect& R, bool Horizontal, bool Vertical) {
  TCanvas& canvas = Canvas();
  canvas.Pen().SetWidth(1);
  auto line = [&canvas](TColor color, int x1, int y1, int x2, int y2) {
    canvas.Pen().SetColor(color);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
  };
  if (Horizontal) {
    line(clWhite, R.Left, R.Top, R.Right, R.Top);
    line(clGray, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
  }
  if (Vertical) {
    line(clWhite, R.Left, R.Top, R.Left, R.Bottom);
    line(clGray, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
  }
}

void TFooterPanel::FillRest(int W) {
  Canvas().Brush().SetColor(grid_.Color());
  Canvas().FillRect(Rect(W, 0, Width(), Height()));
}

void TFooterPanel::PaintLastRow() {
  TCanvas& canvas = Canvas();
  const int W = ColumnsWidth();
  canvas.Brush().SetColor(grid_.FixedColor());
  canvas.FillRect(Rect(0, 0, W, Height()));
  FillRest(W);
  const bool soft = grid_.Look == TGridLook::glSoft;
  const bool horz = !soft || grid_.Options().Contains(TGridOption::goFixedHorzLine);
  const bool vert = !soft || grid_.Options().Contains(TGridOption::goFixedVertLine);
  // The last row is drawn only while it is a data row of its own.
  const int row = grid_.RowCount() - 1;
  const bool content = row >= grid_.FixedRows();
  for (const GridAxis::Placed& col : grid_.ColAxis().ShownItems(grid_.ClientWidth())) {
    const TRect cell = Bounds(col.start, 0, grid_.ColWidths(col.index), Height());
    DrawRaisedFrame(cell, horz, vert);
    if (content) DrawCellInto(cell, col.index, row);
  }
}

void TFooterPanel::DrawCellInto(const TRect& Frame, int ACol, int ARow) {
  TRect inside = Frame;
  InflateRect(inside, -1, -1);
  CanvasStateGuard save(Canvas());
  IntersectClipRect(Canvas().Handle(), inside.Left, inside.Top, inside.Right, inside.Bottom);
  // The current row's cell shows as data here, not as the grid's selection.
  struct Restore {
    bool& flag;
    bool value;
    ~Restore() { flag = value; }
  } restore{grid_.paintingFooter_, std::exchange(grid_.paintingFooter_, true)};
  grid_.DrawGridCell(Canvas(), ACol, ARow, inside, {});
}

TRect TFooterPanel::PaintPreviewFrame() {
  const int W = ColumnsWidth();
  const TRect area = Rect(0, 0, W, Height());
  Canvas().Brush().SetColor(grid_.FloatingFooter().Color());
  Canvas().FillRect(area);
  DrawRaisedFrame(area, true, true);
  FillRest(W);
  return area;
}

void TFooterPanel::PaintColPreview() {
  const TRect area = PaintPreviewFrame();
  const int realCol = grid_.FloatingFooter().Column();
  const bool shown = realCol >= 0 && realCol < grid_.StorageColCount() && !grid_.IsHiddenColumn(realCol);
  const int row = grid_.Row();
  if (!shown || row < 0 || row >= grid_.RowCount()) return;
  Canvas().Brush().SetColor(grid_.FloatingFooter().Color());
  DrawCellInto(area, grid_.DisplColIndex(realCol), row);
}

void TFooterPanel::PaintCustomPreview() {
  TCanvas& canvas = Canvas();
  const TRect area = PaintPreviewFrame();
  TRect inside = Rect(area.Left + 2, area.Top + 2, area.Right - 2, area.Bottom - 1);
  canvas.Font().Assign(grid_.Font());
  const int oldMode = SetBkMode(canvas.Handle(), TRANSPARENT);
  if (grid_.ComponentState().Contains(csDesigning)) {
    DrawText(canvas.Handle(), grid_.FloatingFooter().CustomTemplate(), inside, DT_SINGLELINE | DT_NOPREFIX);
  } else {
    std::string anchor, stripped, focusAnchor;
    int xSize = 0, ySize = 0, links = 0, mouseLink = -1;
    TRect hover;
    controls::RenderHTML(canvas, grid_.HTMLColReplace(grid_.FloatingFooter().CustomTemplate()), inside,
                         grid_.GridImages(), 0, 0, -1, -1, 1, false, false, false, false, true, false, true, 1.0,
                         grid_.URLColor, clNone, clNone, clGray, anchor, stripped, focusAnchor, xSize, ySize, links,
                         mouseLink, hover, &grid_.pictureCache_, grid_.PictureContainer());
  }
  SetBkMode(canvas.Handle(), oldMode);
}

void VUraRazuduVova::FooterChanged(TFooterChange Change) {
  if (!footerPanel_) return;  // the settings are set up before the panel is made
  if (Change == TFooterChange::Layout) {
    const bool visible = floatingFooter_.Visible();
    LastRowFooter = visible && floatingFooter_.FooterStyle() == TFooterStyle::fsFixedLastRow;
    // The full height on every path, so no row is ever laid out under the panel.
    footerPanel_->SetHeight(visible ? floatingFooter_.Height() : 0);
    footerPanel_->SetVisible(visible);
    KeepOffFooter();
    UpdateScrollRange();
    Invalidate();
  }
  footerPanel_->Invalidate();
}

int VUraRazuduVova::FooterHeight() const {
  return footerPanel_ && footerPanel_->Visible() ? footerPanel_->Height() : 0;
}

void VUraRazuduVova::UpdateFooter() {
  if (footerPanel_) footerPanel_->Invalidate();
}

std::string VUraRazuduVova::HTMLColReplace(const std::string& Template) {
  std::string result;
  size_t pos = 0;
  while (pos < Template.size()) {
    const size_t ref = Template.find("<#", pos);
    const size_t end = ref == std::string::npos ? ref : Template.find('>', ref + 2);
    if (end == std::string::npos) break;
    result.append(Template, pos, ref - pos);
    int col = -1;
    const char* first = Template.data() + ref + 2;
    const char* last = Template.data() + end;
    const auto [stop, error] = std::from_chars(first, last, col);
    const bool number = error == std::errc() && stop == last && first != last;
    if (number && col >= 0 && col < StorageColCount() && Row() >= 0 && Row() < RowCount()) result += Cells(col, Row());
    pos = end + 1;
  }
  result.append(Template, std::min(pos, Template.size()));
  return result;
}

}  // namespace velmora
