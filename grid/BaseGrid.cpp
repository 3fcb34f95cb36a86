#include "grid/BaseGrid.h"

#include <unordered_set>

using namespace platform;

namespace velmora {

void TCellProperties::SetBrushColor(TColor value) {
  brushColor_ = value;
  Repaint();
}

void TCellProperties::SetVAlignment(TVAlignment value) {
  vAlignment_ = value;
  Repaint();
}

void TCellProperties::SetWordWrap(bool value) {
  wordWrap_ = value;
  Repaint();
}

void TCellProperties::Repaint() {
  if (Owner) Owner->RepaintCell(Col, Row);
}

TBaseGrid::TBaseGrid(TComponent* AOwner) : TStringGrid(AOwner) {
  SetOptions(Options() + TGridOption::goDrawFocusSelected);
  TStringGrid::SetGridLineWidth(0);
  TStringGrid::SetDefaultDrawing(false);
}

TBaseGrid::~TBaseGrid() { FreeAllCellProperties(); }

void TBaseGrid::FreeAllCellProperties() { FreeProperties({0, 0, StoredColCount() - 1, RowCount() - 1}); }

// A copied row or column shares its objects until the caller empties the source: each is freed once.
void TBaseGrid::FreeProperties(const TGridRect& cells) {
  std::unordered_set<TCellProperties*> owned;
  for (int r : RowsWithObjects(cells.Top, cells.Bottom)) GatherProperties(r, cells.Left, cells.Right, owned);
  for (TCellProperties* props : owned) FreeCellProperties(props);
}

void TBaseGrid::FreeRowProperties(const std::vector<int>& rows) {
  std::unordered_set<TCellProperties*> owned;
  for (int r : rows) GatherProperties(r, 0, StoredColCount() - 1, owned);
  for (TCellProperties* props : owned) FreeCellProperties(props);
}

void TBaseGrid::GatherProperties(int row, int left, int right, std::unordered_set<TCellProperties*>& owned) {
  if (!RowHasObjects(row)) return;
  for (int c = std::max(left, 0); c <= right; ++c) {
    if (TCellProperties* props = GetGridObject(c, row)) {
      owned.insert(props);
      TStringGrid::SetObjects(c, row, nullptr);
    }
  }
}

void TBaseGrid::SetDefaultDrawing(bool value) {
  defaultDrawing_ = value;
  TStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(int value) {
  gridLineWidth_ = value;
  Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor value) {
  gridLineColor_ = value;
  Invalidate();
}

std::string TBaseGrid::GetCellEx(int ACol, int ARow) const {
  const TPoint base = BaseCell(ACol, ARow);
  std::string text = TStringGrid::Cells(base.X, base.Y);
  if (OnGetDisplText && base.Y < DisplRowLimit) OnGetDisplText(const_cast<TBaseGrid*>(this), base.X, base.Y, text);
  return text;
}

void TBaseGrid::SetCellEx(int ACol, int ARow, const std::string& Value) {
  if (!HasCellProperties(ACol, ARow)) {
    TStringGrid::SetCells(ACol, ARow, Value);
    return;
  }
  const TPoint base = BaseCell(ACol, ARow);
  TStringGrid::SetCells(base.X, base.Y, Value);
  if (Parent()) RepaintCell(ACol, ARow);
}

TObject* TBaseGrid::GetObjectEx(int ACol, int ARow) const {
  const TCellProperties* props = GetGridObject(ACol, ARow);
  return props ? props->ObjectEx : nullptr;
}

void TBaseGrid::SetObjectEx(int ACol, int ARow, TObject* AObject) {
  if (TCellProperties* props = GetCellProperties(ACol, ARow)) props->ObjectEx = AObject;
}

TObject* TBaseGrid::GetGraphicObjectEx(int ACol, int ARow) const {
  const TCellProperties* props = GetGridObject(ACol, ARow);
  return props ? props->GraphicObject : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int ACol, int ARow, TObject* AObject) {
  if (TCellProperties* props = GetCellProperties(ACol, ARow)) props->GraphicObject = AObject;
}

TCellProperties* TBaseGrid::GetGridObject(int ACol, int ARow) const {
  return static_cast<TCellProperties*>(TStringGrid::Objects(ACol, ARow));
}

void TBaseGrid::SetGridObject(int ACol, int ARow, TCellProperties* AObject) {
  if (AObject) {
    AObject->Col = ACol;
    AObject->Row = ARow;
  }
  TStringGrid::SetObjects(ACol, ARow, AObject);
}

TCellProperties* TBaseGrid::GetCellProperties(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || ACol >= StorageColCount() || ARow >= RowCount()) return nullptr;
  TCellProperties* props = GetGridObject(ACol, ARow);
  if (!props) {
    props = new TCellProperties(this, ACol, ARow);
    SetGridObject(ACol, ARow, props);
  }
  return props;
}

void TBaseGrid::SetCellProperties(int ACol, int ARow, TCellProperties* AProps) {
  if (ACol < 0 || ARow < 0 || ACol >= StorageColCount() || ARow >= RowCount()) return;
  if (TCellProperties* old = GetGridObject(ACol, ARow)) FreeCellProperties(old);
  SetGridObject(ACol, ARow, AProps);
}

int TBaseGrid::FixedColsWidth() const {
  int width = 0;
  for (int c = 0; c < FixedCols(); ++c) width += ColWidths(c);
  return width;
}

int TBaseGrid::FixedRowsHeight() const {
  int height = 0;
  for (int r = 0; r < FixedRows(); ++r) height += RowHeights(r);
  return height;
}

void TBaseGrid::NilCell(int ACol, int ARow) {
  TStringGrid::SetCells(ACol, ARow, "");
  TStringGrid::SetObjects(ACol, ARow, nullptr);
}

void TBaseGrid::NilRow(int ARow) {
  for (int c = 0; c < StoredColCount(); ++c) NilCell(c, ARow);
}

void TBaseGrid::NilCol(int ACol) {
  for (int r = 0; r < RowCount(); ++r) NilCell(ACol, r);
}

void TBaseGrid::CopyRows(int ToRow, int FromRow) {
  for (int c = 0; c < StoredColCount(); ++c) CopyCell(c, ToRow, c, FromRow);
}

void TBaseGrid::CopyCols(int ToCol, int FromCol) {
  for (int r = 0; r < RowCount(); ++r) CopyCell(ToCol, r, FromCol, r);
}

void TBaseGrid::CopyCell(int ToCol, int ToRow, int FromCol, int FromRow) {
  TStringGrid::SetCells(ToCol, ToRow, TStringGrid::Cells(FromCol, FromRow));
  SetGridObject(ToCol, ToRow, GetGridObject(FromCol, FromRow));
}

void TBaseGrid::RepaintCell(int ACol, int ARow) {
  // Only a block that reaches into the cells shown (above the footer) is measured, so a cell far from
  // the rows shown costs no walk over the rows between.
  const int col = DisplayCol(ACol);
  if (col < 0) return;
  const TGridRect block = DisplayBlockOf(col, ARow);
  if (!ColAxis().Shows(block.Left, block.Right, ClientWidth()) ||
      !RowAxis().Shows(block.Top, block.Bottom, RowsExtent()))
    return;
  // The block alone is painted again, not the whole grid.
  TRect area, shown;
  UnionRect(area, CellRect(block.Left, block.Top), CellRect(block.Right, block.Bottom));
  if (IntersectRect(shown, area, ClientRect())) InvalidateRect(shown);
}

bool TBaseGrid::IsSelected(int ACol, int ARow) const {
  if (Selection().Contains(ACol, ARow)) return true;
  const auto block = DisplayBlock(ACol, ARow);
  return block && (block->Right > block->Left || block->Bottom > block->Top) && block->Contains(Col(), Row());
}

void TBaseGrid::SelectBaseCell() {
  const TGridRect block = DisplayBlockOf(Col(), Row());
  if (block.Left != Col() || block.Top != Row()) FocusCell(block.Left, block.Top, true);
}

}  // namespace velmora
