#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/ui/ControlAppearance.h"
#include "platform/grids/Grids.h"

namespace velmora {

class TBaseGrid;

enum class TVAlignment : uint8_t { vtaTop, vtaCenter, vtaBottom };

// What one cell needs beyond its text: colours, alignment, the user's object, the cell graphic and the
// merge data. Made on demand by the grid, kept in the string grid's object slot of the cell and owned
// by the grid; the user's object is not owned, the cell graphic belongs to the grid object above.
//
// Merge encoding: a cell that is not merged has SpanX = SpanY = -1 and IsBase. The base (top-left)
// cell of a block of NX x NY cells has IsBase, SpanX = NX - 1, SpanY = NY - 1; every other cell of it
// has IsBase false and its offset from the base in SpanX, SpanY, so any cell finds its base in one
// step. A 1 x 1 block (spans 0, 0) counts as merged.
class TCellProperties : public platform::TObject {
public:
  TCellProperties(TBaseGrid* AOwner, int ACol, int ARow) : Owner(AOwner), Col(ACol), Row(ARow) {}

  // These three repaint the cell.
  platform::TColor BrushColor() const { return brushColor_; }
  void SetBrushColor(platform::TColor value);
  TVAlignment VAlignment() const { return vAlignment_; }
  void SetVAlignment(TVAlignment value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  TBaseGrid* Owner;
  // Where the cell lies; the grid keeps it current when rows and columns move.
  int Col;
  int Row;
  platform::TObject* ObjectEx = nullptr;
  platform::TObject* GraphicObject = nullptr;
  int SpanY = -1;
  int SpanX = -1;
  platform::TAlignment Alignment = platform::TAlignment::taLeftJustify;
  // The grid's paint pass in which the block of this base cell was last drawn.
  uint32_t PaintStamp = 0;
  bool IsBase = true;

private:
  void Repaint();

  platform::TColor brushColor_ = platform::clNone;
  TVAlignment vAlignment_ = TVAlignment::vtaTop;
  bool wordWrap_ = false;
};

using TGetDisplTextEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, std::string& Value)>;

// The first layer of the grid component on the class library's string grid: per-cell property objects,
// merged cells and its own drawing of grid lines and merged blocks (a block is painted once per pass,
// as one cell over its whole rectangle, without lines inside it). The class library's own lines and
// default drawing are off; every line is drawn inside its cell's rectangle.
//
// Merged blocks stay consistent with the grid: a merge is clamped to the grid and first splits the
// blocks it overlaps; a row or column move splits the blocks it would tear apart; lowering a count cuts
// the blocks that reach past it and frees the property objects of the cells that go. Every lookup of a
// base validates the stored spans, so a stale encoding never leads outside the grid.
class TBaseGrid : public platform::TStringGrid {
public:
  explicit TBaseGrid(platform::TComponent* AOwner);
  ~TBaseGrid() override;

  // Stored only: the class library's default drawing stays off.
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool value);
  // The lines this grid draws itself: width in pixels and the colour of the normal cells' lines.
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int value);
  platform::TColor GridLineColor() const { return gridLineColor_; }
  void SetGridLineColor(platform::TColor value);
  // Counts the paint passes.
  uint32_t PaintCounter() const { return paintCounter_; }

  // May rewrite the text that Cells returns (for rows below DisplRowLimit).
  TGetDisplTextEvent OnGetDisplText;
  // The floating footer shows the last row: it is painted blank and kept out of paging.
  bool LastRowFooter = false;
  // Rows from this one on are returned raw by Cells.
  int DisplRowLimit = 0;

  // The text of the cell's block (stored at its base cell).
  std::string Cells(int ACol, int ARow) const { return GetCellEx(ACol, ARow); }
  void SetCells(int ACol, int ARow, const std::string& Value) { SetCellEx(ACol, ARow, Value); }
  std::string GetCellEx(int ACol, int ARow) const;
  void SetCellEx(int ACol, int ARow, const std::string& Value);

  // The user's object of the cell, kept in its property object (the string grid's object slot holds
  // the property object itself).
  platform::TObject* Objects(int ACol, int ARow) const { return GetObjectEx(ACol, ARow); }
  void SetObjects(int ACol, int ARow, platform::TObject* AObject) { SetObjectEx(ACol, ARow, AObject); }
  platform::TObject* GetObjectEx(int ACol, int ARow) const;
  void SetObjectEx(int ACol, int ARow, platform::TObject* AObject);
  platform::TObject* GetGraphicObjectEx(int ACol, int ARow) const;
  void SetGraphicObjectEx(int ACol, int ARow, platform::TObject* AObject);
  // The object slot as it stands: nothing is made. Storing a property object there tells it its place.
  TCellProperties* GetGridObject(int ACol, int ARow) const;
  void SetGridObject(int ACol, int ARow, TCellProperties* AObject);
  // The cell's property object, made on demand for a cell of the grid (null outside it).
  TCellProperties* GetCellProperties(int ACol, int ARow);
  bool HasCellProperties(int ACol, int ARow) const { return GetGridObject(ACol, ARow) != nullptr; }
  // Frees the cell's property object and stores AProps (the grid owns it from now on).
  void SetCellProperties(int ACol, int ARow, TCellProperties* AProps);

  // Merged cells. Coordinates are cells; a cell outside every block is its own base with span (0, 0).
  platform::TPoint BaseCell(int ACol, int ARow) const;
  bool IsBaseCell(int ACol, int ARow) const;
  bool IsBaseCellEx(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
  bool IsMergedCell(int ACol, int ARow) const { return MergedBlock(ACol, ARow).has_value(); }
  // The block is wider / taller than one cell.
  bool IsXMergedCell(int ACol, int ARow) const { return CellSpan(ACol, ARow).X > 0; }
  bool IsYMergedCell(int ACol, int ARow) const { return CellSpan(ACol, ARow).Y > 0; }
  // The block's extent minus one in each direction.
  platform::TPoint CellSpan(int ACol, int ARow) const;
  // The block as (base column, base row, last column, last row).
  platform::TRect FullCell(int ACol, int ARow) const;
  // Client pixels of the one cell at a display column, also for a cell scrolled out of view (it lies
  // before the scrolling area); CellRect covers the cell's whole block.
  platform::TRect GetCellRect(int ACol, int ARow) const;
  platform::TRect CellRect(int ACol, int ARow) const;
  platform::TSize CellSize(int ACol, int ARow) const;
  // Whether two rows (columns) are merged alike, for merging equal cells after a sort.
  bool RowSpanIdentical(int ARow1, int ARow2) const;
  bool ColSpanIdentical(int ACol1, int ACol2) const;
  // The smallest positive (largest) vertical span of the blocks of a row.
  int MinRowSpan(int ARow) const;
  int MaxRowSpan(int ARow) const;

  // Invalidates the cell's whole block (ACol a store column; nothing while it is not shown).
  void RepaintCell(int ACol, int ARow);
  // In the selection, or in a block that holds the current cell (display columns).
  bool IsSelected(int ACol, int ARow) const;
  // Moves the current cell to the base of its block.
  void SelectBaseCell();
  int FixedColsWidth() const;
  int FixedRowsHeight() const;
  // Empty the text and the object slot of a cell, a row or a column without freeing the property
  // objects (the caller has moved them elsewhere).
  void NilCell(int ACol, int ARow);
  void NilRow(int ARow);
  void NilCol(int ACol);
  // Copy texts and object slots; the property objects are then shared by both places.
  void CopyRows(int ToRow, int FromRow);
  void CopyCols(int ToCol, int FromCol);

  // The grid's virtual operations, in their slot order (the grid object overrides the first five).
protected:
  // Whether a cell is drawn as fixed besides the fixed rows and columns.
  virtual bool IsFixed(int ACol, int ARow) { return false; }
  // Pixels by which column 0 of a data row is indented for tree nodes.
  virtual int NodeIndent(int ARow) { return 0; }
  virtual bool HasNodes() { return false; }
  // Draws the content of a cell (or of its block) into the prepared rectangle, ACol the display column:
  // here its text, centred on one line, and the focus rectangle.
  virtual void DrawGridCell(platform::TCanvas& Canvas, int ACol, int ARow, const platform::TRect& ARect,
                            platform::TGridDrawState AState);
  // Sets the brush, font and alignments with which a cell (ACol the display column) is drawn; here they
  // stay as they come.
  virtual void GetVisualProperties(int ACol, int ARow, platform::TGridDrawState& AState, bool Print, bool Select,
                                   platform::TBrush& ABrush, platform::TFont& AFont, platform::TAlignment& HAlign,
                                   TVAlignment& VAlign, bool& WordWrap) {}

public:
  // Makes the NX x NY cells from (ACol, ARow), clamped to the store, one block; blocks it overlaps are
  // split first. Nothing when NX or NY is below 1 or nothing of the range lies in the grid.
  virtual void MergeCells(int ACol, int ARow, int NX, int NY);
  // Splits the block of the cell back into single cells; their own texts show again.
  virtual void SplitCells(int ACol, int ARow);

protected:
  void Paint() override;
  void DrawCell(int ACol, int ARow, const platform::TRect& ARect, platform::TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  bool DoMouseWheelDown(platform::TShiftState Shift, platform::TPoint MousePos) override;
  bool DoMouseWheelUp(platform::TShiftState Shift, platform::TPoint MousePos) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void SizeChanged(int OldColCount, int OldRowCount) override;
  void RowsInserted(int At, int Count) override;
  void RowsDeleted(int At, int Count) override;
  void RowsSwapped(int ARow1, int ARow2) override;
  void RowsPermuted(int First, const std::vector<int>& Order) override;
  void RowSetDeleted(const std::vector<int>& Rows) override;
  void RowSetInserted(const std::vector<int>& Positions) override;
  // The store column shown at display column ADispCol, and the display column of store column ACol (-1
  // while it is not shown): the identity here. Painting, CellRect, the keys' and the selection's block
  // lookups go through them, so the grid above can show the store's columns in another order.
  virtual int RemapCol(int ADispCol) const { return ADispCol; }
  virtual int DisplayCol(int ACol) const { return ACol; }
  // A footer row is never the current one: the current row moves off it.
  void KeepOffFooter();
  // Every freeing of a cell's property object goes through here (the object has left its cell).
  virtual void FreeCellProperties(TCellProperties* AProps) { delete AProps; }
  // Frees every cell's property object. The destructor calls it, which no longer reaches a
  // descendant's FreeCellProperties: a descendant that frees more with a cell calls this in its own
  // destructor.
  void FreeAllCellProperties();

private:
  enum class TGridAxisKind { Columns, Rows };

  // The validated block of a merged cell in a grid of the given size; none for a cell that is not
  // merged or whose spans do not lead to a base whose block holds it within that size.
  std::optional<platform::TGridRect> MergedBlock(int ACol, int ARow, int colCount, int rowCount) const;
  std::optional<platform::TGridRect> MergedBlock(int ACol, int ARow) const {
    return MergedBlock(ACol, ARow, StoredColCount(), RowCount());
  }
  // The block of the cell at display column ADispCol in display columns (a block holds no column that is
  // not shown, so its columns are consecutive on display too).
  std::optional<platform::TGridRect> DisplayBlock(int ADispCol, int ARow) const;
  platform::TGridRect DisplayBlockOf(int ADispCol, int ARow) const {
    return DisplayBlock(ADispCol, ARow).value_or(platform::TGridRect{ADispCol, ARow, ADispCol, ARow});
  }
  void CopyCell(int ToCol, int ToRow, int FromCol, int FromRow);
  // The cell's block, the cell alone when it is not merged.
  platform::TGridRect BlockOf(int ACol, int ARow) const;
  // Every cell of the rectangle unmerged.
  void ClearMerge(const platform::TGridRect& cells);
  void SplitBlocksAt(int ACol, int ARow, const std::function<bool(const platform::TGridRect&)>& broken);
  // Splits the blocks over row ARow that `torn` names, through the store's whole width, validated in a
  // grid of rowCount rows (the cells' count while the grid's has already changed).
  void SplitBlocksAcross(int ARow, int rowCount, const std::function<bool(const platform::TGridRect&)>& torn);
  // Frees the property objects of the cells, or of the rows through the store's width (each once, the
  // slots emptied).
  void FreeProperties(const platform::TGridRect& cells);
  void FreeRowProperties(const std::vector<int>& rows);
  // Empties the object slots of columns left..right of a row, gathering their property objects.
  void GatherProperties(int row, int left, int right, std::unordered_set<TCellProperties*>& owned);
  // Splits the blocks that moving item `from` to `to` along the axis would tear apart.
  void SplitBlocksTornByMove(TGridAxisKind axis, int from, int to);
  // Tells the property objects of items lo..hi along the axis their new place.
  void RenumberProperties(TGridAxisKind axis, int lo, int hi);
  // The state in which a block is drawn: selected and focused when any cell of it is.
  platform::TGridDrawState BlockState(const platform::TGridRect& block, platform::TGridDrawState AState) const;
  void DrawGridLines(platform::TCanvas& canvas, const platform::TRect& rect, int baseCol, bool fixed);

  bool defaultDrawing_ = false;
  int gridLineWidth_ = 1;
  platform::TColor gridLineColor_ = platform::clSilver;
  uint32_t paintCounter_ = 0;
};

}  // namespace velmora
