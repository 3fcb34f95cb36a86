#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Set.h"
#include "platform/core/StringList.h"
#include "platform/ui/ControlAppearance.h"
#include "platform/ui/Controls.h"
#include "platform/edits/MaskEdit.h"
#include "platform/grids/GridAxis.h"
#include "platform/grids/GridCells.h"
#include "platform/ui/ScrollInfo.h"

namespace platform {

struct TGridCoord {
  int X = 0;
  int Y = 0;
  bool operator==(const TGridCoord&) const = default;
};

// A block of cells, both corners included.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const TGridRect&) const = default;
  bool Contains(int col, int row) const { return col >= Left && col <= Right && row >= Top && row <= Bottom; }
};

enum class TGridOption {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking,
};
using TGridOptions = TSet<TGridOption>;

enum class TGridDrawStateFlag { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateFlag>;

// A column or a row of a grid.
enum class TGridLine { Column, Row };

// What a press of the left button started.
enum class TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

class TCustomGrid;

// The grid's in-place editor: a masked edit that the grid makes through CreateEditor, owns, and
// places over the current cell while it edits it, with the mask that GetEditMask gives for the cell.
// Every change of its text goes to the cell at once (the grid's SetEditText, with the masked text); the
// keys that leave the cell (Up, Down, Page Up, Page Down, Escape, and Tab with goTabs) go to the grid's
// key handling instead, and Enter to the grid's key press.
class TInplaceEdit : public TCustomMaskEdit {
public:
  explicit TInplaceEdit(TComponent* AOwner);

  TCustomGrid* Grid() const { return grid_; }
  // Places the editor over a rectangle of the grid's client area and shows it, focused when the grid
  // has the focus; an empty rectangle (the cell scrolled away) hides it.
  void Move(const TRect& Loc);
  // The caret at the end of the text, nothing selected.
  void Deselect();

protected:
  // Takes the current cell's mask, text and length limit from the grid.
  virtual void UpdateContents();
  // The editor has been placed: the text keeps a margin of 2 pixels from the left and top.
  virtual void BoundsChanged();

  void Dispatch(TMessage& Message) override;
  void Change() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;

private:
  friend class TCustomGrid;

  TCustomGrid* grid_ = nullptr;
};

// The class library's grid: columns and rows with fixed ones at the top and left, a current cell with a
// selection anchored at the cell where it started, scrolling by TopRow and LeftCol, and a paint loop
// that hands every visible cell to the virtual DrawCell. It stores no cells itself (TStringGrid does).
//
// Geometry lives in two GridAxis objects, one for columns and one for rows, which painting, CellRect
// and MouseToCell all ask. The selection is the block between the anchor and the current cell (the
// whole row's scrolling columns with goRowSelect); without goRangeSelect the anchor follows the
// current cell.
class TCustomGrid : public TCustomControl {
public:
  explicit TCustomGrid(TComponent* AOwner);

  int ColCount() const { return cols_.Count(); }
  void SetColCount(int value) { SetCounts(value, RowCount()); }
  int RowCount() const { return rows_.Count(); }
  void SetRowCount(int value) { SetCounts(ColCount(), value); }
  // At most the count - 1; lowering a count to or below them lowers them.
  int FixedCols() const { return cols_.Fixed(); }
  void SetFixedCols(int value) { SetFixed(TGridLine::Column, value); }
  int FixedRows() const { return rows_.Fixed(); }
  void SetFixedRows(int value) { SetFixed(TGridLine::Row, value); }

  int DefaultColWidth() const { return cols_.DefaultSize(); }
  void SetDefaultColWidth(int value) { SetDefaultSize(TGridLine::Column, value); }
  int DefaultRowHeight() const { return rows_.DefaultSize(); }
  void SetDefaultRowHeight(int value) { SetDefaultSize(TGridLine::Row, value); }
  int ColWidths(int index) const { return cols_.Size(index); }
  void SetColWidths(int index, int value) { SetSize(TGridLine::Column, index, value); }
  int RowHeights(int index) const { return rows_.Size(index); }
  void SetRowHeights(int index, int value) { SetSize(TGridLine::Row, index, value); }
  int GridLineWidth() const { return cols_.LineWidth(); }
  void SetGridLineWidth(int value);

  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions value);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor value);
  // Fills each cell's background (and the string grid draws its text) before DrawCell's event runs.
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool value);

  // The first scrolling row and column shown; clamped to the scrolling ones.
  int TopRow() const { return rows_.First(); }
  void SetTopRow(int value) { MoveTopLeft(LeftCol(), value); }
  int LeftCol() const { return cols_.First(); }
  void SetLeftCol(int value) { MoveTopLeft(value, TopRow()); }
  // The scroll bars the grid shows (when there is something to scroll); both by default.
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  // bsSingle frames the grid with the sunken client edge, 2 pixels outside its client area. None by
  // default here, so that a grid's client area is the whole of its bounds.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  // Scrolling rows and columns that fit whole into the client area (at least one while there is one).
  int VisibleRowCount() const { return rows_.VisibleCount(RowsExtent()); }
  int VisibleColCount() const { return cols_.VisibleCount(ClientWidth()); }

  // The current cell; setting it moves the anchor too and scrolls the cell into view.
  int Col() const { return current_.X; }
  void SetCol(int value) { FocusCell(value, Row(), true); }
  int Row() const { return current_.Y; }
  void SetRow(int value) { FocusCell(Col(), value, true); }
  TGridRect Selection() const;
  // Makes the anchor the block's top-left corner and the current cell its bottom-right one.
  void SetSelection(const TGridRect& value);
  // While off, the selection is kept but no cell is painted selected; on by default.
  bool SelectionShown() const { return selectionShown_; }
  void SetSelectionShown(bool value);

  // The cell under a client point, (-1, -1) outside every cell shown.
  TGridCoord MouseCoord(int X, int Y) const;
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
  // The client rectangle of a shown cell, without the lines after it; empty for a cell not shown.
  TRect CellRect(int ACol, int ARow) const;
  TGridState GridState() const { return state_; }

  // A column or row moves to another index, with its size; ColumnMoved/RowMoved follow.
  void MoveColumn(int FromIndex, int ToIndex) { MoveLine(TGridLine::Column, FromIndex, ToIndex); }
  void MoveRow(int FromIndex, int ToIndex) { MoveLine(TGridLine::Row, FromIndex, ToIndex); }
  void DeleteColumn(int ACol) { DeleteLine(TGridLine::Column, ACol); }
  void DeleteRow(int ARow) { DeleteLine(TGridLine::Row, ARow); }
  // Count rows of the default height inserted before At (0 .. RowCount()), or deleted from At on (fewer
  // where the grid ends first), each in one step whatever the count. The current cell, the anchor and
  // TopRow stay on the rows they were on (from a deleted row to the one that takes its place);
  // RowsInserted or RowsDeleted follows.
  void InsertRows(int At, int Count);
  void DeleteRows(int At, int Count);
  // Sets of rows, each in one step over the rows whatever the set: DeleteRowSet deletes the rows at the
  // strictly increasing indices Rows; InsertRowSet inserts rows of the default height so that the j-th
  // new row stands at Positions[j] afterwards (strictly increasing, each below the row count that
  // results). The current cell, the anchor and TopRow stay on their rows as with DeleteRows and
  // InsertRows; RowSetDeleted or RowSetInserted follows. A set outside these rules raises EListError
  // before anything changes; an empty set changes nothing.
  void DeleteRowSet(const std::vector<int>& Rows);
  void InsertRowSet(const std::vector<int>& Positions) { InsertSizedRowSet(Positions, {}); }
  // Two rows exchange places with their heights, in time independent of the row count; the current
  // cell stays where it is. RowsSwapped follows.
  void SwapRows(int ARow1, int ARow2);

  // Editing: while EditorMode is on, the in-place editor shows the current cell, as long as CanEditShow
  // allows it. F2, Enter and typing a character turn it on; Enter turns it off, and Escape restores the
  // text the cell had when the editor took it and turns it off; moving to another cell turns it off
  // unless goAlwaysShowEditor keeps the editor on every cell.
  bool EditorMode() const { return editorMode_; }
  // On: the caret at the end of the text (ShowEditor selects all of it).
  void SetEditorMode(bool value);
  void ShowEditor();
  void HideEditor();
  // The editor, once editing has made it; the grid owns it.
  TInplaceEdit* InplaceEditor() const { return inplaceEdit_; }

  void Dispatch(TMessage& Message) override;

protected:
  // Paints one cell; the background is already filled when DefaultDrawing is set.
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
  // May refuse a new current cell.
  virtual bool SelectCell(int ACol, int ARow) { return true; }
  // After every change of TopRow or LeftCol, by the program, the keys, the wheel or the scroll bars.
  virtual void TopLeftChanged() {}
  // After any change of a column's width (a row's height): the scroll bars follow.
  virtual void ColWidthsChanged() { UpdateScrollRange(); }
  virtual void RowHeightsChanged() { UpdateScrollRange(); }
  virtual void ColumnMoved(int FromIndex, int ToIndex) {}
  virtual void RowMoved(int FromIndex, int ToIndex) {}
  // A column (row) dragged by the mouse was released over ToIndex, at least FixedCols (FixedRows).
  virtual void MoveDropped(TGridLine Line, int FromIndex, int ToIndex) { MoveLine(Line, FromIndex, ToIndex); }
  // The counts changed (cells outside them are gone).
  virtual void SizeChanged(int OldColCount, int OldRowCount) {}
  // After InsertRows, DeleteRows or SwapRows have changed the rows' geometry and the current cell
  // (TopRow follows afterwards): a descendant's storage still holds the rows as they were, and moves
  // them here.
  virtual void RowsInserted(int At, int Count) {}
  virtual void RowsDeleted(int At, int Count) {}
  virtual void RowsSwapped(int ARow1, int ARow2) {}
  // The same after PermuteRows, with its arguments.
  virtual void RowsPermuted(int First, const std::vector<int>& Order) {}
  // The same after DeleteRowSet and InsertRowSet, with their sets.
  virtual void RowSetDeleted(const std::vector<int>& Rows) {}
  virtual void RowSetInserted(const std::vector<int>& Positions) {}
  // What a press at a client point starts: gsColSizing or gsRowSizing near a line between fixed
  // cells when the options allow sizing (with the index of the item being sized, the line's position
  // and the offset of the press from it), gsNormal otherwise.
  virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs);
  // Makes the in-place editor (owned by the grid), the first time editing starts.
  virtual TInplaceEdit* CreateEditor();
  // Escape has ended an edit: the cell gets back the text it had when the editor took it (through
  // SetEditText here; a descendant whose editor shows a cell's text changed restores its own).
  virtual void EditCanceled(int ACol, int ARow, const std::string& OriginalText) {
    SetEditText(ACol, ARow, OriginalText);
  }
  // The height of a child panel at the grid's bottom (its footer), in client pixels: rows are laid
  // out, painted, hit and scrolled into view only above it. None here.
  virtual int FooterHeight() const { return 0; }
  // Whether the editor may show now: goEditing without goRowSelect, EditorMode on, a scrolling current
  // cell, and the grid or its editor focused (or goAlwaysShowEditor).
  virtual bool CanEditShow();
  // The text the editor offers for a cell, and where its every change goes.
  virtual std::string GetEditText(int ACol, int ARow) { return {}; }
  virtual void SetEditText(int ACol, int ARow, const std::string& Value) {}
  // The editor's length limit in characters; 0 is none.
  virtual int GetEditLimit() { return 0; }
  // The edit mask of a cell; "" is none.
  virtual std::string GetEditMask(int ACol, int ARow) { return {}; }

  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

  // Moves the current cell when SelectCell allows it; the anchor follows when MoveAnchor is set or
  // range selection is off. The cell is then scrolled into view.
  void FocusCell(int ACol, int ARow, bool MoveAnchor);
  void MoveTopLeft(int ALeft, int ATop);
  void InvalidateCell(int ACol, int ARow);
  // The part of the client area that shows a column or a row, with its line.
  void InvalidateCol(int ACol) { InvalidateLine(TGridLine::Column, ACol); }
  void InvalidateRow(int ARow) { InvalidateLine(TGridLine::Row, ARow); }
  void InvalidateGrid() { Invalidate(); }
  // The editor takes its cell's text again and its place over it.
  void InvalidateEditor();
  // The cell the editor holds, (-1, -1) while it holds none.
  TGridCoord InplaceCell() const { return inplaceCell_; }
  // The scroll bars' ranges (after a change of the counts, sizes or client size) and positions (after
  // a move of TopRow or LeftCol); GridScroll.cpp.
  void UpdateScrollRange();
  void UpdateScrollPos();
  // What WM_HSCROLL (SB_HORZ) or WM_VSCROLL (SB_VERT) asks: a line, a page, an end, or the thumb's
  // position (0..127); the thumb's tracking moves the grid only with goThumbTracking.
  void ModifyScrollBar(int ScrollBar, WORD ScrollCode, int Pos);
  // The geometry of the columns and of the rows, for descendants that place cells themselves (a
  // scrolled-away item's start lies before the scrolling area).
  const GridAxis& ColAxis() const { return cols_; }
  const GridAxis& RowAxis() const { return rows_; }
  // Rows First .. First + Order.size() - 1 rearranged in one step: row First + k takes the row that
  // stood at Order[k], with its height; the current cell, the anchor and TopRow stay where they are, as
  // with SwapRows. One repaint and one RowsPermuted follow (RowHeightsChanged too when heights moved).
  // Order must be a permutation of those rows, within the grid: else EListError before anything changes.
  void PermuteRows(int First, const std::vector<int>& Order);
  // InsertRowSet with the new rows' heights, Heights[j] for the j-th (the default where Heights is empty).
  void InsertSizedRowSet(const std::vector<int>& Positions, const std::vector<int>& Heights);
  // Raises EListError unless `rows` is strictly increasing within 0 .. limit - 1.
  static void CheckRowSet(const std::vector<int>& rows, int limit);
  // The client height the rows have: the client area above the footer.
  int RowsExtent() const { return std::max(ClientHeight() - FooterHeight(), 0); }
  // The column (gsColSizing) or row (gsRowSizing) that the mouse is sizing, -1 while none is.
  int SizingIndex() const {
    return state_ == TGridState::gsColSizing || state_ == TGridState::gsRowSizing ? sizingIndex_ : -1;
  }

private:
  friend class TInplaceEdit;

  void SetCounts(int colCount, int rowCount);
  // The column and row setters, one body each with the axis named by `line`.
  GridAxis& AxisOf(TGridLine line);
  void SetFixed(TGridLine line, int value);
  void SetDefaultSize(TGridLine line, int value);
  void SetSize(TGridLine line, int index, int value);
  // ColWidthsChanged or RowHeightsChanged.
  void SizesChanged(TGridLine line);
  void MoveLine(TGridLine line, int from, int to);
  void DeleteLine(TGridLine line, int index);
  // InsertRows (Count > 0) and DeleteRows (Count < 0) of checked arguments.
  void ShiftRows(int At, int Count);
  // The steps of every insertion and deletion of rows: `changeAxis` changes the rows' geometry, `where`
  // maps a row of the grid as it was to its index afterwards (a deleted row to the one that takes its
  // place), `editorRowGone` tells whether the editor's row is deleted, and `moved` runs the hook.
  void ChangeRows(const std::function<void()>& changeAxis, const std::function<int(int)>& where, bool editorRowGone,
                  const std::function<void()>& moved);
  // Keeps the current cell and anchor within the scrolling cells.
  void ClampCurrent();
  void ScrollInView(TGridCoord cell);
  // The current cell has moved: the editor goes (or, with goAlwaysShowEditor, follows), and the cell
  // is scrolled into view.
  void CurrentMoved();
  TGridDrawState CellState(int col, int row) const;
  // The axis a scroll bar moves and the client extent along it.
  const GridAxis& Axis(int bar) const;
  int Extent(int bar) const;
  void DrawLines(int col, int row, const TRect& cell);
  void InvalidateLine(TGridLine line, int index);
  // The editor (made on first use) takes the current cell and its place, when CanEditShow allows.
  void UpdateEdit();
  // The editor lets go of its cell and hides, handing the focus back to the grid.
  void HideEdit();
  void HideEditorWindow();
  // After a change of geometry: the editor moves with its cell, or takes the current one.
  void EditorFollows();
  void LoadEditor();
  // The editor's text goes to its cell.
  void UpdateText();
  void CancelEdit();

  GridAxis cols_;
  GridAxis rows_;
  TGridCoord current_{1, 1};
  TGridCoord anchor_{1, 1};
  TGridOptions options_{TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine, TGridOption::goVertLine,
                        TGridOption::goHorzLine, TGridOption::goRangeSelect};
  TColor fixedColor_ = clBtnFace;
  bool defaultDrawing_ = true;
  bool selectionShown_ = true;
  TGridState state_ = TGridState::gsNormal;
  TScrollStyle scrollBars_ = TScrollStyle::ssBoth;
  TBorderStyle borderStyle_ = TBorderStyle::bsNone;
  bool updatingScrollRange_ = false;
  int sizingIndex_ = 0;  // the item sized or moved
  int sizingPos_ = 0;    // the sizing line's position
  int sizingOfs_ = 0;    // the press's offset from it
  TInplaceEdit* inplaceEdit_ = nullptr;
  bool editorMode_ = false;
  TGridCoord inplaceCell_{-1, -1};
  std::string originalText_;          // the text of the editor's cell when it took it, for Escape
  bool editorHandsFocusBack_ = false;  // the grid's focus comes from its own editor
};

using TDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;

// A grid whose cells the program paints in OnDrawCell.
class TDrawGrid : public TCustomGrid {
public:
  using TCustomGrid::TCustomGrid;

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnTopLeftChanged;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;

protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  void TopLeftChanged() override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
};

class TStringGrid;

// A column or a row of a string grid as a string list whose lines are its cells, read and written
// through the grid. It counts the grid's rows (a column) or columns (a row), none while its index lies
// outside the grid. Add fills the first cell with no text and answers -1 when there is none; Assign
// fills the cells from the start and leaves the rest as they were; Clear empties every cell; Insert
// and Delete raise EListError, as a line of the grid has the grid's length.
class TStringGridStrings : public TStringList {
public:
  TStringGridStrings(TStringGrid& grid, TGridLine line, int index) : grid_(grid), line_(line), index_(index) {}

  int AddObject(std::string S, void* AObject) override;
  void Assign(const TStringList& Source) override;
  void Delete(int Index) override;
  void Clear() override;

protected:
  int GetCount() const override;
  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void* GetObject(int Index) const override;
  void PutObject(int Index, void* AObject) override;
  void InsertItem(int Index, std::string S, void* AObject) override;

private:
  TGridCoord Cell(int i) const { return line_ == TGridLine::Column ? TGridCoord{index_, i} : TGridCoord{i, index_}; }

  TStringGrid& grid_;
  TGridLine line_;
  int index_;
};

// A grid that keeps a text and a non-owning object per cell, draws the text and edits it in place.
class TStringGrid : public TDrawGrid {
public:
  explicit TStringGrid(TComponent* AOwner);

  const std::string& Cells(int ACol, int ARow) const { return cells_.Text(ACol, ARow); }
  void SetCells(int ACol, int ARow, const std::string& value);
  void* Objects(int ACol, int ARow) const { return cells_.Object(ACol, ARow); }
  void SetObjects(int ACol, int ARow, void* value) { cells_.SetObject(ACol, ARow, value); }
  // A column or a row as a live string list (above), made on first use and owned by the grid; it
  // stays bound to its index when columns or rows move.
  TStringList& Cols(int Index) { return Line(TGridLine::Column, Index); }
  void SetCols(int Index, const TStringList& Value) { Cols(Index).Assign(Value); }
  TStringList& Rows(int Index) { return Line(TGridLine::Row, Index); }
  void SetRows(int Index, const TStringList& Value) { Rows(Index).Assign(Value); }

  // The columns whose cells the grid keeps: ColCount, or more while SetStorageColCount asks for more.
  // The cells of columns past ColCount are not shown but keep their texts and objects at their own
  // index, and show again when ColCount grows. (DeleteColumn moves the deleted column to the last
  // shown index, so with a wider store its cells stay there.)
  int StorageColCount() const { return std::max(ColCount(), storageColCount_); }
  void SetStorageColCount(int value);

  // A row taken out of the grid whole (texts, objects and height), to be put back later, for a row
  // the program hides: TakeRow removes it as DeleteRows(ARow, 1) does, PutRow inserts it as
  // InsertRows(ARow, 1) does. The objects of a taken row are the holder's until it is put back. A taken
  // row does not follow what happens to the columns while it is out (moves, inserts, deletions, a
  // narrower store, which drops the cells past its width when the row is put back): the holder puts its
  // rows back, or changes them alike, before it changes the columns. PutRow raises EListError for a row
  // index outside 0..RowCount and then leaves Row with the caller.
  struct TTakenRow {
    GridCells::StoredRow Cells;
    int Height = 0;
  };
  TTakenRow TakeRow(int ARow);
  void PutRow(int ARow, TTakenRow&& Row);
  // The same for sets of rows, each in one step: TakeRows removes the rows as DeleteRowSet(ARows) does
  // and returns them in that order; PutRows inserts them as InsertRowSet(Positions) does, Rows[j] at
  // Positions[j]. Both raise EListError for a set that those refuse (PutRows also for a count of
  // positions other than that of the rows) before anything changes, PutRows leaving Rows with the caller.
  std::vector<TTakenRow> TakeRows(const std::vector<int>& ARows);
  void PutRows(const std::vector<int>& Positions, std::vector<TTakenRow>&& Rows);
  // The cells of a taken row while it is out: "" and null past its columns.
  static const std::string& TakenText(const TTakenRow& Row, int ACol) { return GridCells::StoredText(Row.Cells, ACol); }
  static void* TakenObject(const TTakenRow& Row, int ACol) { return GridCells::StoredObject(Row.Cells, ACol); }
  static void SetTakenText(TTakenRow& Row, int ACol, std::string Value) {
    GridCells::SetStoredText(Row.Cells, ACol, std::move(Value));
  }
  static void SetTakenObject(TTakenRow& Row, int ACol, void* AObject) {
    GridCells::SetStoredObject(Row.Cells, ACol, AObject);
  }
  static bool TakenHasObjects(const TTakenRow& Row) { return GridCells::StoredHasObjects(Row.Cells); }

protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void SizeChanged(int OldColCount, int OldRowCount) override;
  void RowsInserted(int At, int Count) override;
  void RowsDeleted(int At, int Count) override;
  void RowsSwapped(int ARow1, int ARow2) override;
  void RowsPermuted(int First, const std::vector<int>& Order) override;
  void RowSetDeleted(const std::vector<int>& Rows) override;
  void RowSetInserted(const std::vector<int>& Positions) override;
  std::string GetEditText(int ACol, int ARow) override { return Cells(ACol, ARow); }
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  // False when every object of the row is null, so a walk over objects can pass the row at once.
  bool RowHasObjects(int ARow) const { return cells_.HasObjects(ARow); }
  // The rows of AFirst..ALast for which RowHasObjects holds, in increasing order, in time of their number.
  std::vector<int> RowsWithObjects(int AFirst, int ALast) const { return cells_.ObjectRows(AFirst, ALast); }
  // The width the store has now: StorageColCount() except inside SizeChanged, before the string grid's
  // own SizeChanged gives the store its new size.
  int StoredColCount() const { return cells_.ColCount(); }
  // Inside RowsDeleted or RowSetDeleted (RowsInserted or RowSetInserted), until the string grid's own
  // hook has moved the cells: the rows are being taken out (put back) whole, objects included.
  bool MovingRowWhole() const { return wholeRow_ || wholeRows_; }

private:
  TStringList& Line(TGridLine line, int index);

  GridCells cells_;
  int storageColCount_ = 0;
  GridCells::StoredRow* wholeRow_ = nullptr;  // where TakeRow takes a row to, or PutRow takes it from
  std::vector<GridCells::StoredRow>* wholeRows_ = nullptr;  // the same for TakeRows and PutRows
  std::map<std::pair<TGridLine, int>, std::unique_ptr<TStringGridStrings>> lines_;
  bool settingEditText_ = false;  // the editor writes its cell: it need not reload it
};

}  // namespace platform
