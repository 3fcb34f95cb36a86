#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "controls/html/PictureContainer.h"
#include "grid/BaseGrid.h"
#include "grid/CellGraphic.h"
#include "grid/DovAdizEditors.h"
#include "grid/DovAdizFilter.h"
#include "grid/DovAdizFooter.h"
#include "grid/DovAdizSettings.h"
#include "grid/DovAdizSortKeys.h"
#include "grid/DovAdizTypes.h"
#include "grid/GridItem.h"
#include "grid/VovUra.h"
#include "platform/core/DateTime.h"
#include "platform/core/StringList.h"
#include "platform/gfx/Bitmap.h"

namespace platform {
class TCustomImageList;
class TCustomRichEdit;
class THintWindow;
struct THintInfo;
}

namespace velmora {

class VUraRazuduVova;

// A component that hears of every change of a grid's cells once the grid has registered it
// (RegisterNotifier); the grid calls CellsChanged after its own OnCellsChanged, in registration order.
// The grid forgets a notifier that is destroyed.
class TGridChangeNotifier : public platform::TComponent {
public:
  using TComponent::TComponent;

  // R holds the changed cells (columns Left..Right, rows Top..Bottom). Nothing here.
  virtual void CellsChanged(const platform::TRect& R) {}
};

enum class TGridLook : uint8_t { glStandard, glSoft };
enum class TIntelliPan : uint8_t { ipVertical, ipHorizontal, ipBoth, ipNone };
enum class TScrollType : uint8_t { ssNormal, ssFlat, ssEncarta };
enum class TScrollHintType : uint8_t { shNone, shVertical, shHorizontal, shBoth };

// The grid component that forms place: the base grid with its settings objects, typed cell views,
// headers, selection, an update lock and the events through which the owning form customises cells.
// Its implementation is split into files by concern (DovAdiz*.cpp).
//
// Index space: Cells[c, r] addresses the real (stored) column c and the display row r. Every caller
// that holds a display column (painting, hints, mouse, keys, selection text, sums over a selection)
// maps it with RealColIndex first. Hidden columns keep their data at their real index in the string
// grid's wider storage.
//
// Lifetime: the constructor makes the grid's own objects (fonts, lists, bitmaps; the drag markers
// unless designing) and, when its owner is a form, chains its resize handler in front of the form's
// OnResize. Other components that the grid refers to (GridImages, PictureContainer, the registered
// notifiers) may live on other forms: the grid asks each for FreeNotification and drops it when it
// goes. The destructor never throws.
class VUraRazuduVova : public TBaseGrid, private GridSettingsOwner {
public:
  explicit VUraRazuduVova(platform::TComponent* AOwner);
  ~VUraRazuduVova() override;

  // ---- Object, settings, events, update lock (DovAdiz.cpp, DovAdizVirtuals.cpp, DovAdizUpdate.cpp) ----

  // The settings objects, owned by the grid.
  TFloatingFooter& FloatingFooter() { return floatingFooter_; }
  TPrintSettings& PrintSettings() { return printSettings_; }
  TMarkupSettings& HTMLSettings() { return htmlSettings_; }
  TSortSettings& SortSettings() { return sortSettings_; }
  TDragDropSettings& DragDropSettings() { return dragDropSettings_; }
  TControlLook& ControlLook() { return controlLook_; }
  TNavigation& Navigation() { return navigation_; }
  TColumnSize& ColumnSize() { return columnSize_; }
  TCellNode& CellNode() { return cellNode_; }
  TBands& Bands() { return bands_; }
  TSizeWhileTyping& SizeWhileTyping() { return sizeWhileTyping_; }
  TMouseActions& MouseActions() { return mouseActions_; }
  TBackGround& BackGround() { return backGround_; }

  // Fonts: the fixed cells' and the active cell's headers'; a change repaints.
  platform::TFont& FixedFont() { return fixedFont_; }
  void SetFixedFont(const platform::TFont& value) { fixedFont_.Assign(value); }
  platform::TFont& ActiveCellFont() { return activeCellFont_; }
  void SetActiveCellFont(const platform::TFont& value) { activeCellFont_.Assign(value); }

  // The header texts of row 0 and column 0, and the items that typing looks up.
  platform::TStringList& ColumnHeaders() { return columnHeaders_; }
  platform::TStringList& RowHeaders() { return rowHeaders_; }
  platform::TStringList& LookupItems() { return lookupItems_; }
  void SetLookupItems(const platform::TStringList& value) { lookupItems_.Assign(value); }

  // The bitmap drawn in the fixed column of the current row.
  platform::TBitmap& RowIndicator() { return rowIndicator_; }
  void SetRowIndicator(const platform::TBitmap& value) {
    rowIndicator_.Assign(value);
    RepaintCell(0, Row());
  }

  // The sort's column order and directions (the multi-column sort fills it).
  TSortIndexList& SortIndexes() { return sortIndexes_; }

  // References to components that may live elsewhere; null when none or once they are gone.
  platform::TCustomImageList* GridImages() const { return gridImages_; }
  // A different list is stored and the grid repainted; SetGridImages is the same by the property's name.
  void SetImages(platform::TCustomImageList* value);
  void SetGridImages(platform::TCustomImageList* value) { SetImages(value); }
  controls::TPictureContainer* PictureContainer() const { return pictureContainer_; }
  void SetPictureContainer(controls::TPictureContainer* value);

  // With IntegralHeigth set, SetBounds gives the grid a height of whole default rows (the frame and
  // the horizontal scroll bar accounted for); setting it applies the current bounds again.
  bool IntegralHeigth() const { return integralHeight_; }
  void SetIntegralHeight(bool value);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Invalidate() override;
  void Loaded() override;

  // The column widths, kept where ColumnSize says (Key and Section both given); the grid loads them
  // when its window is made and saves them when it is destroyed while ColumnSize.Save is set.
  void SaveColSizes();
  void LoadColSizes();

  // Change notifiers: each is registered once; CellsChanged reaches them in registration order.
  void RegisterNotifier(TGridChangeNotifier* Notifier);
  void UnRegisterNotifier(TGridChangeNotifier* Notifier);

  // The update lock: while BeginUpdate's nesting count is above 0, the grid paints neither its cells
  // nor its frame; the EndUpdate that brings it to 0 invalidates the whole window. EndUpdate never goes
  // below 0; ResetUpdate sets 0 without a repaint. LockFlag true is BeginUpdate, false EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  void ResetUpdate() { updateCount_ = 0; }
  bool GetLockFlag() const { return updateCount_ != 0; }
  void SetLockFlag(bool value);
  // Holds the update lock for a scope, so an exception between the pair never leaves the grid locked.
  // Safe when the grid is destroyed within the scope.
  class UpdateGuard {
  public:
    explicit UpdateGuard(VUraRazuduVova& grid) : grid_(grid), alive_(grid) { grid_.BeginUpdate(); }
    ~UpdateGuard() {
      if (alive_.Alive()) grid_.EndUpdate();
    }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

  private:
    VUraRazuduVova& grid_;
    platform::TComponent::TGuard alive_;
  };

  // Invalidates the cells from the rectangle's top-left to its bottom-right cell.
  void InvalidateGridRect(const platform::TGridRect& GridRect);

  // Stored only: the painting, mouse, hint and exchange code of the grid reads them.
  bool EnableWheel = true;
  bool EnableHTML = true;
  bool IntelliZoom = true;
  TIntelliPan IntelliPan = TIntelliPan::ipVertical;
  bool HideFocusRect = false;
  bool FixedAsButtons = false;
  bool ScrollSynch = false;
  TScrollHintType ScrollHints = TScrollHintType::shNone;
  platform::TColor HintColor = platform::clInfoBk;
  bool HintShowCells = false;
  bool HintShowLargeText = false;
  bool HintShowSizing = false;
  bool AnchorHint = false;
  platform::TColor URLColor = platform::clBlue;
  bool URLShow = false;
  bool URLFull = false;
  bool URLEdit = false;
  TGridLook Look = TGridLook::glSoft;
  // These store and repaint: URLColor and URLFull only while URLShow is set; a new Look also repaints
  // the footer panel.
  void SetURLShow(bool Value);
  void SetURLColor(platform::TColor Value);
  void SetURLFull(bool Value);
  void SetLook(TGridLook Value);
  bool EnhTextSize = false;
  bool EnhRowColMove = false;
  bool SizeWithForm = false;
  bool Multilinecells = false;
  bool ExcelStyleDecimalSeparator = false;
  bool SelectionRTFKeep = false;
  bool OemConvert = false;
  bool Lookup = false;
  bool LookupCaseSensitive = false;
  bool LookupHistory = false;
  // The text editor's length limit, 0 for none, kept within 0..32767; an open text editor takes a new
  // one at once.
  int MaxEditLength() const { return maxEditLength_; }
  void SetMaxEditLength(int Value);
  // The header cells of the current row and column are drawn in ActiveCellFont.
  bool ActiveCellShow = false;
  // Keep one fixed row (column) once the grid has more than one row (column).
  bool FixedRowAlways = false;
  bool FixedColAlways = false;
  // The fixed counts with the Always flags: 1 where the string grid has none and the flag is set.
  int GetFixedRowsEx() const {
    return TBaseGrid::FixedRows() == 0 && FixedRowAlways ? 1 : TBaseGrid::FixedRows();
  }
  int GetFixedColsEx() const {
    return TBaseGrid::FixedCols() == 0 && FixedColAlways ? 1 : TBaseGrid::FixedCols();
  }
  // The texts that a data check box reads as checked and unchecked.
  std::string CheckTrue = "Y";
  std::string CheckFalse = "N";

  // The events; an unassigned event is skipped.
  TGridColorEvent OnGetCellColor;
  TGridColorEvent OnGetCellPrintColor;
  TGridBorderEvent OnGetCellBorder;
  TGridBorderEvent OnGetCellPrintBorder;
  TGridBorderPropEvent OnGetCellBorderProp;
  TGridAlignEvent OnGetAlignment;
  TGridFormatEvent OnGetFormat;
  TGetCheckEvent OnGetCheckTrue;
  TGetCheckEvent OnGetCheckFalse;
  TGridHintEvent OnGridHint;
  TRowChangingEvent OnRowChanging;
  TColChangingEvent OnColChanging;
  TCellChangingEvent OnCellChanging;
  TCanAddRowEvent OnCanAddRow;
  TAutoAddRowEvent OnAutoAddRow;
  TAutoInsertRowEvent OnAutoInsertRow;
  TAutoDeleteRowEvent OnAutoDeleteRow;
  TCanInsertRowEvent OnCanInsertRow;
  TCanDeleteRowEvent OnCanDeleteRow;
  TAutoInsertColEvent OnAutoInsertCol;
  TClickSortEvent OnClickSort;
  TCanSortEvent OnCanSort;
  TNodeClickEvent OnExpandNode;
  TNodeClickEvent OnContractNode;
  TCustomCompareEvent OnCustomCompare;
  TRawCompareEvent OnRawCompare;
  TClickCellEvent OnClickCell;
  TClickCellEvent OnRightClickCell;
  TClickCellEvent OnDblClickCell;
  TCanEditCellEvent OnCanEditCell;
  TIsFixedCellEvent OnIsFixedCell;
  TIsPasswordCellEvent OnIsPasswordCell;
  TAnchorClickEvent OnAnchorClick;
  TAnchorEvent OnAnchorEnter;
  TAnchorEvent OnAnchorExit;
  TAnchorHintEvent OnAnchorHint;
  TClipboardEvent OnClipboardPaste;
  TClipboardEvent OnClipboardCopy;
  TClipboardEvent OnClipboardCut;
  TCellValidateEvent OnCellValidate;
  TCellsChangedEvent OnCellsChanged;
  TGridProgressEvent OnFileProgress;
  TGridProgressEvent OnFilterProgress;
  TGetEditorTypeEvent OnGetEditorType;
  TGetEditorPropEvent OnGetEditorProp;
  TEllipsClickEvent OnEllipsClick;
  TButtonClickEvent OnButtonClick;
  TCheckBoxClickEvent OnCheckBoxClick;
  TCheckBoxClickEvent OnCheckBoxMouseUp;
  TRadioClickEvent OnRadioClick;
  TRadioClickEvent OnRadioMouseUp;
  TComboChangeEvent OnComboChange;
  TComboObjectChangeEvent OnComboObjectChange;
  TSpinClickEvent OnSpinClick;
  TFloatSpinClickEvent OnFloatSpinClick;
  TDateTimeSpinClickEvent OnTimeSpinClick;
  TDateTimeSpinClickEvent OnDateSpinClick;
  platform::TNotifyEvent OnRichEditSelectionChange;
  TOleDragDropEvent OnOleDrop;
  TOleDroppedEvent OnOleDropped;
  TOleDragDropEvent OnOleDrag;
  TOleDragOverEvent OnOleDragOver;
  TOleDragStartEvent OnOleDragStart;
  TOleDragStopEvent OnOleDragStop;
  TOleDropColEvent OnOleDropCol;
  TScrollHintEvent OnScrollHint;
  TColumnSizeEvent OnColumnSize;
  TColumnSizeEvent OnColumnMove;
  TRowSizeEvent OnRowSize;
  TRowSizeEvent OnRowMove;
  TEndColumnSizeEvent OnEndColumnSize;
  TEndRowSizeEvent OnEndRowSize;
  TPrintStartEvent OnPrintStart;
  TPrintPageEvent OnPrintPage;
  TPrintPageDoneEvent OnPrintPageDone;
  TPrintNewPageEvent OnPrintNewPage;
  TPrintColumnWidthEvent OnPrintSetColumnWidth;
  TPrintRowHeightEvent OnPrintSetRowHeight;
  TFitToPageEvent OnFitToPage;

  // ---- Cells, counts, headers, selection, accessors (DovAdizCells.cpp, DovAdizCounts.cpp,
  //      DovAdizHeaders.cpp, DovAdizSelection.cpp, DovAdizAccessors.cpp) ----

  // Typed views of Cells. Ints reads "" as 0 and otherwise only leading blanks, an optional "-" and
  // decimal digits within 32 bits; Floats reads "" as 0 and otherwise the numeric part that RemoveSeps
  // finds, which needs a digit. Both raise EDovAdizError; Dates and Times pass the conversion's
  // EConvertError on.
  int Ints(int ACol, int ARow) const;
  void SetInts(int ACol, int ARow, int Value);
  double Floats(int ACol, int ARow) const;
  // Written with FloatFormat.
  void SetFloats(int ACol, int ARow, double Value);
  platform::TDateTime Dates(int ACol, int ARow) const;
  void SetDates(int ACol, int ARow, platform::TDateTime Value);
  platform::TDateTime Times(int ACol, int ARow) const;
  void SetTimes(int ACol, int ARow, platform::TDateTime Value);
  // The current cell's text, its column mapped to the real one.
  std::string CurrentCell() const;
  void SetCurrentCell(const std::string& Value);
  // Cells and objects by real row.
  std::string GetCellsEx(int ACol, int ARow) const;
  void SetCellsEx(int ACol, int ARow, const std::string& Value);
  platform::TObject* GetObjectsEx(int ACol, int ARow) const;
  void SetObjectsEx(int ACol, int ARow, platform::TObject* AObject);
  // The cell's brush colour, clNone while it has no property object; setting it repaints the cell.
  platform::TColor GetColors(int ACol, int ARow) const;
  void SetColors(int ACol, int ARow, platform::TColor AColor);
  // Cells without their markup.
  std::string GetStrippedCell(int ACol, int ARow) const;
  // The cell of the row that stood at ARow before the last sort.
  std::string GetUnSortedCell(int ACol, int ARow) const;
  void SetUnSortedCell(int ACol, int ARow, const std::string& Value);

  // Counts through the accessors below, which keep a fixed row (column) with FixedRowAlways
  // (FixedColAlways).
  int RowCount() const { return GetRowCountEx(); }
  void SetRowCount(int Value) { SetRowCountEx(Value); }
  int ColCount() const { return GetColCountEx(); }
  void SetColCount(int Value) { SetColCountEx(Value); }
  int FixedRows() const { return GetFixedRowsEx(); }
  void SetFixedRows(int Value) { SetFixedRowsEx(Value); }
  int FixedCols() const { return GetFixedColsEx(); }
  void SetFixedCols(int Value) { SetFixedColsEx(Value); }
  int GetRowCountEx() const { return TBaseGrid::RowCount(); }
  // Also makes N the limit below which Cells applies OnGetDisplText.
  void SetRowCountEx(int N);
  int GetColCountEx() const { return TBaseGrid::ColCount(); }
  void SetColCountEx(int N);
  void SetFixedRowsEx(int N) { TBaseGrid::SetFixedRows(N); }
  void SetFixedColsEx(int N) { TBaseGrid::SetFixedCols(N); }
  // The width of column 0; setting it sizes every fixed column. FixedRowHeight likewise for rows.
  int FixedColWidth() const { return TBaseGrid::ColWidths(0); }
  void SetFixedColWidth(int W);
  int FixedRowHeight() const { return TBaseGrid::RowHeights(0); }
  void SetFixedRowHeight(int H);
  // The default row height is the floating footer's height too.
  int DefaultRowHeight() const { return GetDefRowHeightEx(); }
  void SetDefaultRowHeight(int Value) { SetDefRowHeightEx(Value); }
  int GetDefRowHeightEx() const { return TBaseGrid::DefaultRowHeight(); }
  void SetDefRowHeightEx(int Value);
  // Footer rows at the bottom and fixed columns at the right, drawn as fixed.
  int FixedFooters() const { return fixedFooters_; }
  void SetFixedFooters(int Value);
  int FixedRightCols() const { return fixedRightCols_; }
  void SetFixedRightCols(int Value);
  // One empty row above the footer rows; one empty column at the end.
  void AddRow();
  void AddColumn();

  // Headers: the texts of row 0 and of column 0, shown while there are fixed rows (columns); a
  // backslash-n pair in a text is a line break. A change of a list shows it again.
  void SetColumnHeaders(const platform::TStringList& List);
  void SetRowHeaders(const platform::TStringList& List);
  void ShowColumnHeaders();
  void ShowRowHeaders();
  void ClearColumnHeaders();
  void ClearRowHeaders();

  // Selection: the range, and the rows marked one by one (the row-select list). SelectRows marks rows
  // below RowCount with MouseActions.DisjunctRowSelect, else selects them from the first scrolling
  // column to the last.
  void SelectRows(int ARow, int N);
  void SelectCols(int ACol, int N);
  void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
  // ARow outside 0 .. RowCount - 1 raises EDovAdizError "Invalid Row accessed".
  bool RowSelect(int ARow) const;
  void SetRowSelect(int ARow, bool Value);
  int RowSelectCount() const;
  void ClearRowSelect();
  // Marks the data rows of the selection; ClearOthers unmarks every other data row.
  void SelectToRowSelect(bool ClearOthers);
  platform::TColor SelectionColor() const { return selectionColor_; }
  void SetSelectionColor(platform::TColor Value);
  platform::TColor SelectionTextColor() const { return selectionTextColor_; }
  void SetSelectionTextColor(platform::TColor Value);
  bool SelectionRectangle() const { return selectionRectangle_; }
  void SetSelectionRectangle(bool Value);
  bool ShowSelection() const { return showSelection_; }
  void SetShowSelection(bool Value);

  // Repainting and filling.
  void RepaintRect(const platform::TRect& R);
  void RepaintRow(int ARow) { InvalidateRow(ARow); }
  void RepaintCol(int ACol) { InvalidateCol(ACol); }
  // Every cell, or the non-fixed ones only.
  void TextFill(bool AllCells, const std::string& Text);
  // Random integers in 0 .. Max - 1; 0 when Max is below 1.
  void RandomFill(bool AllCells, int Max);

  // Numbers are right-aligned when AutoNumAlign is set.
  bool AutoNumAlign = false;
  TVAlignment VAlignment() const { return vAlignment_; }
  void SetVAlignment(TVAlignment Value);
  // The text-drawing flag of VAlignment: top 0, vertical centre 4, bottom 8.
  unsigned VAlignmentFlag() const;
  void GetCellAlignment(int ACol, int ARow, platform::TAlignment& HAlign, TVAlignment& VAlign);

  // The cell as rich text in RichEdit, and back.
  void CellToRich(int ACol, int ARow, platform::TCustomRichEdit& RichEdit);
  void RichToCell(int ACol, int ARow, platform::TCustomRichEdit& RichEdit);

  // The format with which Floats writes.
  std::string FloatFormat = "%.2f";
  // The in-place editor sees a cell's markup; otherwise it gets the text without it.
  bool EditWithTags = false;
  bool Hovering = false;

  // Every column width and row height grows by N where it stays above 0, when the zoom level (kept
  // within -10 .. 10) can take N; otherwise nothing happens.
  void Zoom(int N);
  // A column's width and left offset in the last print layout; -1 outside it.
  int GetPrintColWidth(int ACol) const;
  int GetPrintColOffset(int ACol) const;
  // The width kept for a real column.
  int AllColWidths(int ACol) const;
  void SetAllColWidths(int ACol, int Value);
  // The cursor, remembered as the one the grid goes back to after sizing and hovering.
  platform::TCursor Cursor() const { return GetCursorEx(); }
  void SetCursor(platform::TCursor Value) { SetCursorEx(Value); }
  platform::TCursor GetCursorEx() const { return TBaseGrid::Cursor(); }
  void SetCursorEx(platform::TCursor Value);
  // Where the row that stood at I before the last sort stands now, and the reverse; I itself outside
  // the sort's cross-reference.
  int SortedRowIndex(int I) const;
  int UnSortedRowIndex(int I) const;

  // Stored; a change repaints (WordWrap and VAlignment while updates are not locked, Flat while no
  // form resource is being applied).
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  bool Flat() const { return flat_; }
  void SetFlat(bool Value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value);
  // The text's offset from the cell's top-left corner.
  platform::TPoint XYOffset() const { return xyOffset_; }
  void SetXYOffset(platform::TPoint Value);

  // ---- Index model: real and display rows and columns (DovAdizIndex.cpp, DovAdizHidden.cpp,
  //      DovAdizHiddenCols.cpp, DovAdizRowsCols.cpp, DovAdizClear.cpp, DovAdizMergeCells.cpp) ----
  //
  // A real index counts every row (column) of the grid's data, hidden or not; a display index counts
  // only those the string grid shows. The model keeps these invariants after every public call:
  // - Columns: the string grid's store holds every real column at its real index (StorageColCount() is
  //   the real count, ColCount() the displayed one). colMap_ maps display to real columns and
  //   colDispl_ real to display (-1 for a hidden one), both dense and O(1) for any column count, both
  //   empty while nothing is hidden (the identity). A hidden column's width is kept in colWidths_ at
  //   its real index (AllColWidths reads it); visibility and width move with their column in every
  //   column operation. No merged block contains a hidden column: hiding one splits the blocks over it,
  //   so a block's real columns are consecutive on display too. The base grid paints display column d
  //   as real column RealColIndex(d) (RemapCol).
  // - Rows: a hidden row is out of the string grid whole, in its TGridItem (texts and objects of every
  //   real column, property objects, height, row-select mark); hiddenRows_ is sorted by strictly
  //   increasing Idx. Real rows are RowCount() + NumHiddenRows(); DisplRowIndex, RealRowIndex and
  //   IsHiddenRow are binary searches over hiddenRows_. Column operations put the hidden rows into the
  //   string grid after the display rows for their time (one batch each way), so they change hidden
  //   rows alike and keep every block of display rows whole.
  // - Property objects: each has one owner at any moment: a cell of the string grid, a hidden item, or
  //   none (freed). Col always holds its real column; Row its display row while it lies in the string
  //   grid and its real row (the item's Idx) while its row is hidden.
  // - The row-select list is indexed by display row; a hidden row keeps its mark in its item, and every
  //   operation moves the marks with their rows.

  // Display to real and back. RealColIndex of a column outside the display gives it back unchanged;
  // DisplColIndex of a hidden column gives the display column that follows its place.
  int RealColIndex(int ADispCol) const;
  int DisplColIndex(int ACol) const;
  // RealRowIndex of a display row at or past RowCount() is that row plus the hidden count; DisplRowIndex
  // of a hidden row is the display row that took its place.
  int RealRowIndex(int ADispRow) const;
  int DisplRowIndex(int ARow) const;
  bool IsHiddenRow(int ARow) const;
  int GetRealCol() const { return RealColIndex(Col()); }
  int GetRealRow() const { return RealRowIndex(Row()); }
  int NumHiddenRows() const { return static_cast<int>(hiddenRows_.size()); }
  bool IsHiddenColumn(int ACol) const;
  int NumHiddenColumns() const { return hiddenColCount_; }
  // The hidden row of real index ARow, null when that row is not hidden.
  const TGridItem* HiddenRow(int ARow) const;

  // Hiding rows by real index; every set goes in one batch. HideRows hides the visible rows of
  // AFrom..ATo (each under its own index) and holds those the filter or a node hid as well, UnHideRows
  // shows the hidden rows of the range at their own places whatever hid them; rows of another kind in
  // the range stay as they are. Hidden rows keep their real index through moves and swaps of the
  // display rows.
  void HideRow(int ARow) { HideRows(ARow, ARow); }
  void HideRows(int AFrom, int ATo);
  void UnHideRow(int ARow) { UnHideRows(ARow, ARow); }
  void UnHideRows(int AFrom, int ATo);
  void UnHideRowsAll();
  // Hides the data rows marked in the row-select list.
  void HideSelectedRows();
  // The batch calls that the filter uses (nodes take holds of their own). A row stays hidden while any
  // cause holds it: HideRowSet adds Cause (the program or the filter) to rows hidden already (rows
  // outside the grid are passed over); UnHideRowSet shows the rows whatever holds them;
  // UnHideFilteredRows releases the filter's hold and shows the rows no other cause holds.
  void HideRowSet(const std::vector<int>& realRows, HideCause Cause);
  void UnHideRowSet(const std::vector<int>& realRows);
  void UnHideFilteredRows();

  // Hiding columns by real index. The grid keeps at least one displayed column; a hidden column's width
  // comes back with it. The in-place editor closes and the current cell stays on its real column.
  void HideColumn(int ACol) { HideColumns(ACol, ACol); }
  void HideColumns(int AFrom, int ATo);
  void UnHideColumn(int ACol) { UnHideColumns(ACol, ACol); }
  void UnHideColumns(int AFrom, int ATo);
  void UnHideColumnsAll();
  // Visible = !IsHiddenColumn; setting it hides or shows the column.
  void SetVisibleCol(int ACol, bool Visible);
  bool GetVisibleCol(int ACol) const { return !IsHiddenColumn(ACol); }

  // Row and column operations. Rows are display rows; columns are display columns for insert, remove,
  // swap and move, real columns for clearing and MergeCols (as Cells). Every column operation applies
  // to the hidden rows too.
  // Removes the data rows marked in the row-select list, in one batch.
  void RemoveSelectedRows();
  // Empty the cells of N rows (every real column) or N real columns; nothing for N below 1.
  void ClearRows(int ARow, int N);
  void ClearCols(int ACol, int N);
  // The cells outside the fixed rows, columns and footers.
  void ClearNormalCells();
  // The rows marked in the row-select list (with DisjunctRowSelect), else the selected cells.
  void ClearSelection();
  // Every cell, those of hidden columns and rows included.
  void Clear();
  // Two display rows (columns) exchange their cells, property objects, heights (widths) and marks in
  // place; SortSettings' column follows its column.
  void SwapRows(int ARow1, int ARow2);
  void SwapColumns(int ACol1, int ACol2);
  void MoveRow(int AFrom, int ATo);
  void MoveColumn(int AFrom, int ATo);
  // Cells[ACol1, r] := the trimmed join of Cells[ACol1, r], " " and Cells[ACol2, r] for every data row;
  // then real column ACol2 goes. Nothing when the two are one column.
  void MergeCols(int ACol1, int ACol2);
  // Moves the selection off the grid and back.
  void HideSelection();
  void UnHideSelection();

  // The range that the file formats save: every cell with ExportFixedCells, else the cells without the
  // fixed rows, columns, footers and right columns.
  bool ExportFixedCells = true;
  int GetSaveStartCol() const;
  int GetSaveStartRow() const;
  int GetSaveEndCol() const;
  int GetSaveEndRow() const;
  int GetSaveColCount() const;
  int GetSaveRowCount() const;

  // Merging equal neighbouring cells: of a column over the data rows (First: without regard to the
  // other columns' blocks), of a row over the data columns; the splits undo them.
  void MergeColumnCells(int ACol, bool First);
  void MergeRowCells(int ARow, bool First);
  void SplitColumnCells(int ACol);
  void SplitRowCells(int ARow);
  // The columns whose equal cells are merged; a change of the list undoes and applies the merging.
  TIntList& MergedColumns() { return mergedColumns_; }
  void ApplyColumnMerge();
  void UndoColumnMerge();

  // A block never takes a hidden column: it ends before the first one in its range, and a block that
  // starts at one is not made.
  void MergeCells(int ACol, int ARow, int NX, int NY) override;

  // The first cell (row by row, real columns) whose stored text is Value.
  bool IsCell(const std::string& Value, int& ACol, int& ARow) const;

  // ---- Filter (DovAdizFilter.cpp) ----
  // The conditions that every data row must satisfy while FilterActive is set; the grid owns them.
  TFilter& Filter() { return filter_; }
  // Tests every data row once with MatchFilter and hides the failing ones in one batch, marked as
  // hidden by the filter. OnFilterProgress hears the share of data rows tested, rising to 100.
  void ApplyFilter();
  // Setting it applies the filter; clearing it shows again exactly the rows the filter hid. When no
  // row passes (and FixedRowAlways is not set), one blank data row under the fixed rows keeps them in
  // place while the filter is active. The fixed-row count at activation is the one restored after.
  bool FilterActive() const { return filterActive_; }
  void SetFilterActive(bool Value);

  // ---- Files: CSV (DovAdizCSV.cpp), ASCII and fixed-width (DovAdizFixedFiles.cpp), HTML and XML
  //      (DovAdizMarkupFiles.cpp), print settings (DovAdizPrintSettingsFile.cpp) ----
  // The CSV text itself is CsvFormat.h's. Exports cover the export range above, and each cell's text
  // comes from SaveCell; a replaced file is written to a temporary file and renamed, an appended one
  // takes its bytes in one write; file errors raise EDovAdizError with the file name. Every load ends
  // with CellsChanged over the whole grid and then CellsLoaded. OnFileProgress hears the rounded
  // percentage of rows written or lines read each time it changes.

  // The CSV delimiter: '\0' writes "," and detects the delimiter on reading.
  char FieldDelimiter = '\0';
  bool JavaStyleCSV = false;
  bool QuoteEmptyFields = true;
  bool QuoteAllFields = false;
  // The CSV export writes the hidden columns too, by real column.
  bool ExportHiddenCols = false;
  void SaveToCSV(const std::string& FileName);
  void AppendToCSV(const std::string& FileName);
  // Read from the first non-fixed cell (cell 0, 0 with ExportFixedCells) or into rows added after the
  // last. RowCount follows the file's lines and ColCount grows to its widest line, each set once.
  void LoadFromCSV(const std::string& FileName);
  void InsertFromCSV(const std::string& FileName);
  // The whole grid as a table of blank-padded columns, each as wide as its widest line (code points).
  void SaveToASCII(const std::string& FileName);
  // The export range in columns of the given widths (code points); a column without an entry gets one
  // of MaxCharsInCol + 1, added to Widths. A text is cut at its first line break and at its width.
  void SaveToFixed(const std::string& FileName, TIntList& Widths);
  // Lines cut at the 1-based character positions (at least two, strictly ascending) into trimmed
  // fields from SaveStartCol, SaveStartRow on; other positions raise EDovAdizError.
  void LoadFromFixed(const std::string& FileName, const TIntList& Positions);
  // The most characters (code points) in any line of a real column's cells.
  int MaxCharsInCol(int ACol) const;

  // The cells as an HTML table, with HTMLSettings (replacing or appending to the file), and as XML:
  // a ListTag element of RecordTag elements, one per row, whose fields are named by FieldTags (or
  // FIELD0, FIELD1, ... where it has no entry). Plain texts are escaped; markup cells stay markup. A
  // tag that is not an XML name raises EDovAdizError.
  void SaveToHTML(const std::string& FileName);
  void AppendToHTML(const std::string& FileName);
  void SaveToXML(const std::string& FileName, const std::string& ListTag, const std::string& RecordTag,
                 const platform::TStringList* FieldTags);

  // The print settings in one section of an INI file, written with one replacement of the file. A
  // relative file name, like a relative ColumnSize.Key, lies in the executable's folder.
  void SavePrintSettings(const std::string& FileName, const std::string& Section);
  void LoadPrintSettings(const std::string& FileName, const std::string& Section);

  // ---- Cell painting (DovAdizPaint.cpp, DovAdizPaintText.cpp) ----
  // Every cell goes through DrawGridCell with its display column; the cell model is read at its real
  // column (RemapCol). Painting raises nothing: what cannot be drawn (a missing picture, a text that
  // is no number) is left out.
  //
  // The width and height in pixels of a cell's content in the font GetVisualProperties gives it:
  // plain text its widest line (as a URL shows) by the height of "gh" per line, markup the size the
  // renderer measures, rich text the size the rich edit lays it out in at its widest line.
  platform::TSize GetCellTextSize(int ACol, int ARow);
  // A dotted line in XOR mode from (X, 0) down to the bottom of the last row shown (at least the
  // client height); drawing it twice removes it.
  void DrawSizingLine(int X);
  // The frame of SelectionRectangle.
  platform::TColor SelectionRectangleColor = platform::clBlack;
  // Whether the cell (display column) has a graphic, its size, where it sits and whether the cell's
  // text is still drawn beside it (DovAdizGraphicDraw.cpp).
  bool GetGraphicDetails(int ACol, int ARow, int& Width, int& Height, bool& DrawText, TCellHAlign& HAlign,
                         TCellVAlign& VAlign);
  // A theme was active when the grid was made: cell controls draw through the theme library.
  bool IsThemed() const { return isThemed_; }
  // The left button, pressed in disjunct row-select mode, is held.
  bool MouseSelecting = false;

  // ---- Footer (DovAdizFooter.cpp) ----
  // The panel under the rows that shows the floating footer; the grid owns it and reserves its height.
  TFooterPanel& FooterPanel() { return *footerPanel_; }
  // The row or column count changed: the panel shows the footer again.
  void UpdateFooter();
  // The template with every "<#N>" replaced by the text of real column N of the current row ("" for a
  // column outside the grid); a reference whose N is no integer goes, an unterminated "<#" and the
  // rest after it stay as they are, and replaced text is not scanned again.
  std::string HTMLColReplace(const std::string& Template);

  // ---- Cell graphics and cell controls (DovAdizGraphics.cpp) ----
  // A cell (real column, display row) carries at most one TCellGraphic on its property object; the grid
  // owns it and frees it with the property object wherever the cell goes. Queries on a cell of another
  // kind give false, null, -1 or ctEmpty.

  // Their virtual slots come first among the grid's own.
  virtual TCellType GetCellType(int ACol, int ARow);
  virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
  // The room the cell's graphic takes beside its text when columns are sized (DovAdizGraphicSizes.cpp),
  // (0, 0) without one: a bitmap, icon or list image counts its width only when it stands before or
  // after the text or the cell has none; a picture takes its size in the cell as it stands; radio items
  // are measured in the cell's font.
  virtual platform::TPoint GetCellGraphicSize(int ACol, int ARow);
  // The same for a printed cell of Width x Height: a bitmap's or icon's width always counts, and a
  // picture's size in that cell is divided by Factor (a Factor not above 0 counts as 1).
  virtual platform::TPoint GetPrintGraphicSize(int ACol, int ARow, int Width, int Height, double Factor);
  // The index in GridImages of the image the cell shows (the first of several; for a data image its
  // number plus the offset), -1 for a cell that shows none.
  int GetCellImageIdx(int ACol, int ARow);

  // Frees a graphic already on the cell and hangs a new one (ctNone) on it.
  TCellGraphic* CreateCellGraphic(int ACol, int ARow) { return MakeCellGraphic(ACol, ARow, TCellType::ctNone); }
  // Frees and detaches the cell's graphic (only when it is of AType); false when there was none.
  bool FreeCellGraphic(int ACol, int ARow);
  bool RemoveCellGraphic(int ACol, int ARow, TCellType AType);

  // Add variants leave the object with the caller, who keeps it alive while the cell shows it; Create
  // variants make the object, which goes with the graphic.
  void AddBitmap(int ACol, int ARow, platform::TBitmap* ABmp, bool Transparent, TCellHAlign HAlign,
                 TCellVAlign VAlign);
  platform::TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign);
  platform::TBitmap* GetBitmap(int ACol, int ARow);
  bool RemoveBitmap(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, TCellType::ctBitmap); }
  void AddPicture(int ACol, int ARow, platform::TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                  int Padding, TCellHAlign HAlign, TCellVAlign VAlign);
  platform::TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                    TCellHAlign HAlign, TCellVAlign VAlign);
  platform::TPicture* GetPicture(int ACol, int ARow);
  bool RemovePicture(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, TCellType::ctPicture); }
  void AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent, TStretchMode StretchMode,
                      int Padding, TCellHAlign HAlign, TCellVAlign VAlign);
  TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                  TCellHAlign HAlign, TCellVAlign VAlign);
  TFilePicture* GetFilePicture(int ACol, int ARow);
  bool RemoveFilePicture(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, TCellType::ctFilePicture); }
  void AddIcon(int ACol, int ARow, platform::TIcon* AIcon, TCellHAlign HAlign, TCellVAlign VAlign);
  platform::TIcon* CreateIcon(int ACol, int ARow, TCellHAlign HAlign, TCellVAlign VAlign);
  bool RemoveIcon(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, TCellType::ctIcon); }

  // Other kinds (DovAdizGraphicKinds.cpp). Image kinds do nothing while GridImages is not assigned.
  void AddImageIdx(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign);
  bool GetImageIdx(int ACol, int ARow, int& Index);
  bool RemoveImageIdx(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, TCellType::ctImageList); }
  // The image of the list whose index is the cell's number.
  void AddDataImage(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign);
  bool RemoveDataImage(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, TCellType::ctDataImage); }
  // Several images; a change of the list repaints the cell its property object stands at then.
  void AddMultiImage(int ACol, int ARow, int Direction, TCellHAlign HAlign, TCellVAlign VAlign);
  TIntList* GetCellImages(int ACol, int ARow);
  bool RemoveMultiImage(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, TCellType::ctImages); }
  // A button of the given size with a caption; a bit button keeps a copy of Glyph.
  void AddButton(int ACol, int ARow, int Width, int Height, const std::string& Caption, TCellHAlign HAlign,
                 TCellVAlign VAlign);
  void AddBitButton(int ACol, int ARow, int Width, int Height, const std::string& Caption,
                    const platform::TBitmap& Glyph, TCellHAlign HAlign, TCellVAlign VAlign);
  platform::TBitmap* CreateBitButton(int ACol, int ARow, int Width, int Height, const std::string& Caption,
                                     TCellHAlign HAlign, TCellVAlign VAlign);
  bool HasButton(int ACol, int ARow) const;
  bool RemoveButton(int ACol, int ARow);
  // The pushed state of the button at display column ACol.
  void PushButton(int ACol, int ARow, bool Down);
  // Where painting last placed the cell's button, in client pixels (ACol a display column).
  platform::TRect ButtonRect(int ACol, int ARow);
  // A progress bar of the cell's number: bar and background, or all four colours.
  void AddProgress(int ACol, int ARow, platform::TColor Color1, platform::TColor Color2);
  void AddProgressEx(int ACol, int ARow, platform::TColor Color1, platform::TColor Color2, platform::TColor Color3,
                     platform::TColor Color4);
  bool RemoveProgress(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, TCellType::ctProgress); }
  void AddComment(int ACol, int ARow, const std::string& Comment);
  bool IsComment(int ACol, int ARow, std::string& Comment);
  bool RemoveComment(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, TCellType::ctComment); }
  // The cell's text turned by Angle degrees, brought into 0 .. 360 (360 stays 360).
  void AddRotated(int ACol, int ARow, int Angle, const std::string& Text);
  void SetRotated(int ACol, int ARow, int Angle);
  bool IsRotated(int ACol, int ARow, int& Angle);
  bool RemoveRotated(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, TCellType::ctRotated); }
  // Two marker values on any cell; a graphic that holds nothing else goes when they are removed.
  void AddMarker(int ACol, int ARow, uint16_t Marker1, uint16_t Marker2);
  void GetMarker(int ACol, int ARow, uint16_t& Marker1, uint16_t& Marker2);
  void RemoveMarker(int ACol, int ARow);
  // The size a picture of W x H with padding Padding takes in a cell of CellWidth x CellHeight.
  static platform::TPoint GetPictureSize(int CellWidth, int CellHeight, int W, int H, int Padding,
                                         TStretchMode StretchMode);

  // Check boxes (DovAdizCheckRadio.cpp): a data check box shows the cell text compared with
  // GetCheckTrue. The queries look at the base cell of a merged block.
  void AddCheckBox(int ACol, int ARow, bool State, bool Data);
  bool HasCheckBox(int ACol, int ARow) const;
  bool HasDataCheckBox(int ACol, int ARow) const;
  // False when the cell has no check box.
  bool GetCheckBoxState(int ACol, int ARow, bool& State);
  bool SetCheckBoxState(int ACol, int ARow, bool State);
  // Flips a check box (a data one between the true and false texts), asking GetCellReadOnly first with
  // AskReadOnly; false when the cell has none or may not be edited.
  bool ToggleCheck(int ACol, int ARow, bool AskReadOnly);
  bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheck(ACol, ARow, false); }
  bool RemoveCheckBox(int ACol, int ARow);
  // Check boxes of both kinds and radio groups are edited in place by clicking.
  bool HasStaticEdit(int ACol, int ARow) const;

  // Radio groups: one item per string, always as many as the strings hold now. Index negative: the
  // choice is the item equal to the cell text. Direction non-zero lays the items out horizontally.
  void AddRadio(int ACol, int ARow, int Direction, int Index, platform::TStringList* Strings);
  platform::TStringList* CreateRadio(int ACol, int ARow, int Index, int Direction);
  bool IsRadio(int ACol, int ARow) const;
  platform::TStringList* GetRadioStrings(int ACol, int ARow) const;
  bool GetRadioIdx(int ACol, int ARow, int& Index);
  bool SetRadioIdx(int ACol, int ARow, int Index);
  // Steps to the next item (wrapping) and writes its text into the cell; nothing without items, or
  // when GetCellReadOnly refuses with AskReadOnly.
  bool ToggleRadio(int ACol, int ARow, bool AskReadOnly);
  bool RemoveRadio(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, TCellType::ctRadio); }

  // Tree nodes (DovAdizNodes.cpp) sit in column 0 of a row; a node holds the Span rows below it (0: up
  // to the next node or the end), never the footer rows. Contracting hides the rows it holds,
  // expanding shows them again except those that another contracted node, the filter or the program
  // still holds. Node rows of
  // ContractNode, ExpandNode and SetNodeState are real rows; the others display rows.
  void AddNode(int ARow, int Span);
  bool IsNode(int ARow) const;
  bool GetNodeState(int ARow) const;
  int GetNodeSpan(int ARow) const;
  bool RemoveNode(int ARow);
  void ContractNode(int ARow);
  void ExpandNode(int ARow);
  void SetNodeState(int ARow, bool Contracted);
  void ContractAll();
  void ExpandAll();
  // How painting draws the tree line of a row: 0 none (a node row, a row above every node), 1 the
  // last row of its node (or before the footer rows), 2 a row with more below it.
  int GetNodeSpanType(int ARow) const;
  // The indent of column 0 of a row inside an expanded node.
  int NodeIndent(int ARow) override;
  // The node cells alive (column 0 of their rows).
  bool HasNodes() override { return nodeCount_ > 0; }
  int NodeCount() const { return nodeCount_; }

  // ---- Grouping (DovAdizGroup.cpp) ----
  // Group(ACol) groups the data rows by the texts of real column ACol (right of the fixed columns):
  // the rows are sorted by it, a node row above each run of equal texts holds the text in the value
  // column (the column after the fixed ones, or the next when that is ACol), and column ACol goes.
  // Rows hidden before stay hidden, in the group of their text. UnGroup gives column ACol back with its
  // width, the texts of its fixed and footer rows and each row's group text, and removes the node rows.
  // Group on a grid without data rows does nothing; grouping a grouped grid ungroups it first, and
  // nodes of the program's own are removed first (their rows shown).
  void Group(int ACol);
  void UnGroup();
  // -1 ungroups, a column above 0 groups by it, 0 does nothing.
  void SetGroupColumn(int ACol);
  int GroupColumn() const { return group_.column; }
  // For each node row: the data rows after it up to the next node row (hidden ones included, footer
  // rows never) calculated over real column ACol as the column calculations do (an empty group gives
  // 0) and written with FloatFormat (a count as an integer) into the node row's cell of ACol. Every
  // value is read before one is written: a cell without a number raises EDovAdizError "Cell does not
  // contain a float value" and changes nothing; so does ACol holding the group texts, with "The column
  // holds the group texts".
  void GroupSum(int ACol);
  void GroupAvg(int ACol);
  void GroupMin(int ACol);
  void GroupMax(int ACol);
  void GroupCount(int ACol);

  // ---- Virtual operations in slot order (DovAdizVirtuals.cpp) ----
  // The grid's own slots continue those of the base grid. The slots of the cell graphics and of
  // validation come with those parts of the grid, in this order: GetCellType, GetCellGraphic,
  // GetCellGraphicSize, GetPrintGraphicSize (before EditProgress), InitValidate (after UpdateCell),
  // ValidateCell (after GetVersionString and before RemoveRowsEx).

  // The in-place editor's text has changed: Point is the pixel position of the character before the
  // caret, Index the caret; nothing here.
  virtual void EditProgress(const std::string& Text, platform::TPoint Point, int Index) {}
  // The ellipsis button of the current cell's editor was clicked with the editor's text S: returns the
  // text the editor takes (OnEllipsClick may change it).
  virtual std::string EllipsClick(const std::string& S);
  // Display row ARow satisfies every condition of Filter, tested in order until one fails; true for
  // an empty filter (DovAdizFilter.cpp).
  virtual bool MatchFilter(int ARow);
  // A paste has written the cells of Rect, copied from Origin by Operation; nothing here.
  virtual void PasteNotify(platform::TPoint Origin, const platform::TGridRect& Rect, TClipOperation Operation) {}
  // The text shown for a formula cell and the text saved for a cell: the cell's text here.
  virtual std::string CalcCell(int ACol, int ARow) { return Cells(ACol, ARow); }
  virtual std::string SaveCell(int ACol, int ARow) { return Cells(ACol, ARow); }
  // An edit has changed a cell's text; nothing here.
  virtual void UpdateCell(int ACol, int ARow) {}
  // The cells of R have changed: OnCellsChanged, then every registered notifier in order.
  virtual void CellsChanged(const platform::TRect& R);
  // A load has filled the grid; nothing here.
  virtual void CellsLoaded() {}

  // The customisation points: each starts from the value it is handed (or the rule it names) and then
  // asks its event, when assigned, with the grid as Sender. ACol is a real column.
  // Sets the active cell's header font first when ActiveCellShow is set.
  virtual void GetCellColor(int ACol, int ARow, platform::TGridDrawState AState, platform::TBrush& ABrush,
                            platform::TFont& AFont);
  virtual void GetCellPrintColor(int ACol, int ARow, platform::TGridDrawState AState, platform::TBrush& ABrush,
                                 platform::TFont& AFont);
  virtual void GetCellBorder(int ACol, int ARow, platform::TPen& APen, TCellBorders& Borders);
  virtual void GetCellPrintBorder(int ACol, int ARow, platform::TPen& APen, TCellBorders& Borders);
  virtual void GetCellAlign(int ACol, int ARow, platform::TAlignment& HAlign, TVAlignment& VAlign);
  virtual void GetColFormat(int ACol, TSortStyle& AStyle, std::string& APrefix, std::string& ASuffix);
  virtual void GetCellEditor(int ACol, int ARow, TEditorType& AEditor);
  // Fixed rows and columns (and row 0 of a one-row grid with FixedRowAlways, column 0 of a one-column
  // grid with FixedColAlways) are fixed without asking OnIsFixedCell.
  virtual void GetCellFixed(int ACol, int ARow, bool& IsFixed);
  virtual void GetCellReadOnly(int ACol, int ARow, bool& CanEdit);
  virtual void GetCellPassword(int ACol, int ARow, bool& IsPassword);
  // Value starts as CheckTrue / CheckFalse.
  virtual void GetCheckTrue(int ACol, int ARow, std::string& Value);
  virtual void GetCheckFalse(int ACol, int ARow, std::string& Value);

  // 2.0: the major version in the low 16 bits, the minor one in the high 16 bits.
  virtual int GetVersionNr();
  virtual std::string GetVersionString();

  // N rows from display row ARow removed with their cells, property objects, heights and marks;
  // nothing unless 0 <= ARow < RowCount() and N >= 1 (fewer where the grid ends first). The current
  // row stays on its row, or goes to the last data row when its row went, or off the grid when no data
  // row is left. RemoveRowsEx is the same.
  virtual void RemoveRowsEx(int ARow, int N);
  virtual void RemoveRows(int ARow, int N);
  // N empty rows of the default height before display row ARow (clamped to 0 .. RowCount()); nothing
  // for N below 1. A block across the place is split.
  virtual void InsertRows(int ARow, int N);
  // N display columns from ACol removed (fewer where the grid ends first) or N empty visible columns of
  // the default width inserted before display column ACol (clamped to 0 .. ColCount()); nothing for N
  // below 1.
  virtual void RemoveCols(int ACol, int N);
  virtual void InsertCols(int ACol, int N);
  // The exchange that SortLine makes: SwapRows.
  virtual void SortSwapRows(int ARow1, int ARow2);
  // How the other sorts apply their order to the rows AFirst .. AFirst + AOrder.size() - 1: row AFirst +
  // k takes the row that stood at AOrder[k], whole (as SwapRows moves it), in one step.
  virtual void SortPermuteRows(int AFirst, const std::vector<int>& AOrder);
  // Empties the cells of real columns ACol1..ACol2 and display rows ARow1..ARow2 (clamped), freeing
  // their property objects; then CellsChanged.
  virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);

  // ---- In-place editing (DovAdizEditing.cpp, DovAdizEditingKeys.cpp, DovAdizValidation.cpp; the
  //      editor controls in DovAdizEditors.h, the edit link in DovAdizEditLink.h) ----
  //
  // The grid edits one cell at a time: the base cell of the current cell's block, written at its real
  // column. GetCellEditor gives the cell's kind; the text kinds use the base grid's editor
  // (TExInplaceEdit, which writes every change at once), every other kind one of the editor controls
  // the constructor made, placed over the whole block by ShowEditControl and written back by
  // HideEditControl. Invariants:
  // - EditActive is true exactly while an editor is shown: the text editor for a text kind, the control
  //   of EditorKind, or the edit link's edit.
  // - Showing and hiding do not nest: a show or hide reached from inside one (an exit handler, a
  //   validation or changing handler, SelectCell) does nothing.
  // - A control writes back only when its value differs from the one it was prepared with, so opening
  //   and closing an editor never changes a cell.
  TEditorType EditorKind = TEditorType::edNormal;
  bool EditActive() const;
  // The raw text of the cell when it was entered or its edit began; Escape restores it.
  const std::string& EditOriginalText() const { return editOriginalText_; }
  // A character typed on the grid that started the edit (0: none): the shown control receives it.
  char32_t PendingEditChar = 0;
  // An editor was shown for the current cell and its value has not been validated since.
  bool EditPending = false;
  bool ValidatingCell() const { return validatingCell_; }
  // The character a password cell's editor shows for every character.
  char32_t PasswordChar = U'*';

  // Place or take away the control of EditorKind over the block of display cell (ACol, ARow).
  void ShowEditControl(int ACol, int ARow);
  void HideEditControl(int ACol, int ARow);
  // HideEditControl for the current cell.
  void HideCellEdit();
  // Starts editing as F2 does (posted).
  void ShowCellEdit();
  // Ends the edit of the current cell (its value written back) and gives the grid the focus.
  void HideInplaceEdit();
  void ShowInplaceEdit() { ShowEditor(); }
  // ACol is a real column: editing on, the cell neither read-only nor fixed.
  bool IsEditable(int ACol, int ARow);
  bool IsPassword(int ACol, int ARow);

  // The one item list of every combo cell. An edComboList cell whose text is no item opens on
  // ComboSelection (kept within the list), else on the first item.
  void AddComboString(const std::string& S);
  void AddComboStringObject(const std::string& S, platform::TObject* AObject);
  void ClearComboString();
  bool RemoveComboString(const std::string& S);
  int ComboSelection() const { return comboSelection_; }
  void SetComboSelection(int Index);
  bool SetComboSelectionString(const std::string& S);
  int GetComboCount() const;

  platform::TInplaceEdit* GetInplaceEditor() const { return InplaceEditor(); }
  TGridDatePicker* GetDateTimePicker() const { return datePicker_; }
  // The application's editor of edCustom cells; not owned (the grid forgets it when it goes).
  TEditLink* EditLink() const { return editLink_; }
  void SetEditLink(TEditLink* Value);

  // Moves the cursor from (ACol, ARow) to the next (previous) editable cell in Navigation's direction,
  // adding a row (column) at the end with AdvanceInsert; only with Navigation.AdvanceOnEnter or Force.
  // Each cell is tried at most once and at most one row (column) is added; a merged block is passed as
  // a whole. ShowEditor opens the editor of the cell reached.
  void AdvanceEdit(int ACol, int ARow, bool Forward, bool ShowEditor, bool Force);
  // An editor control hands its closing key back: the edit ends, Tab and the arrows move the cursor,
  // Enter advances; Key 0 moves nothing.
  void DoneInplaceEdit(platform::WORD Key, platform::TShiftState Shift);

  // The first row from FixedRows on whose text in the search column (SortSettings.Column with
  // SortSettings.Show, else column 1; a real column) begins with AText in any case; -1 when none, or
  // with fewer than 2 rows.
  int Search(const std::string& AText);

  // Remembers the cell (display column) and its text as the one validation compares with.
  virtual void InitValidate(int ACol, int ARow);
  // While EditPending: OnCellValidate judges NewValue (and may change it) when it differs from the
  // remembered text; a refused value is put back unless the handler changed it. True otherwise.
  virtual bool ValidateCell(const std::string& NewValue);

protected:
  platform::TInplaceEdit* CreateEditor() override;
  bool CanEditShow() override;
  int GetEditLimit() override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(platform::WORD& Key, platform::TShiftState Shift) override;
  void TopLeftChanged() override;
  void Dispatch(platform::TMessage& Message) override;
  // The editor controls, for those that look at them.
  TGridCombo* ComboEditor() const { return combo_; }
  TGridSpin* SpinEditor() const { return spin_; }
  TGridCheckBox* CheckBoxEditor() const { return checkBox_; }
  TGridEditBtn* EditBtnEditor() const { return editBtn_; }
  TGridUnitEditBtn* UnitEditBtnEditor() const { return unitEditBtn_; }
  TGridButton* ButtonEditor() const { return button_; }
  TExRichEdit* RichEditor() const { return richEdit_; }

private:
  friend class TExInplaceEdit;
  friend class TGridSpin;
  friend class TGridCombo;
  friend class TGridDatePicker;
  friend class TGridCheckBox;
  friend class TGridEditBtn;
  friend class TGridUnitEditBtn;
  friend class TGridButton;
  friend class TExRichEdit;
  friend class TEditLink;

  void CreateEditorControls();
  std::vector<platform::TWinControl*> EditorControls() const;
  void ForgetEditorControl(platform::TComponent* AComponent);
  // The colour (returned) and font of a cell (real column) as its editor shows them.
  platform::TColor EditorLook(int ACol, int ARow, platform::TFont& AFont);
  // The text an editor offers for a cell (real column): without markup unless EditWithTags.
  std::string CellEditText(int ACol, int ARow) const;
  // The editing part of SelectCell: false refuses the move.
  bool SelectCellEditing(int ACol, int ARow);
  void PrepareSpin(int c, int r);
  // False when the kind takes no pending character.
  bool PrepareCombo(const platform::TRect& R, int width, int height, const std::string& editText);
  void PrepareDatePicker(const platform::TRect& R, int width, int height, const std::string& editText);
  std::string DatePickerText() const;
  void ShowEditLink(int c, int r, const platform::TRect& R);
  void ComboChanged(platform::TObject* Sender, int AItemIndex, const std::string& ASelection);
  // The family rule of the editor controls for a grid key (see DovAdizEditors.h): false while a
  // refused value keeps the editor open. `value` reads the control's value, `reload` gives it a cell's
  // edit text.
  bool EditorGridKey(platform::WORD Key, platform::TShiftState Shift, const std::function<std::string()>& value,
                     const std::function<void(const std::string&)>& reload);
  // An editor ends its edit with Key: the character the key types is dropped when it reaches the grid.
  void HandBackKey(platform::WORD Key);
  // The next cell of an advance from (c, r); `grown` tells whether a row or column was added.
  platform::TPoint AdvanceStep(int c, int r, bool Forward, bool& grown);

  TGridCombo* combo_ = nullptr;
  TGridSpin* spin_ = nullptr;
  TGridDatePicker* datePicker_ = nullptr;
  TGridCheckBox* checkBox_ = nullptr;
  TGridEditBtn* editBtn_ = nullptr;
  TGridUnitEditBtn* unitEditBtn_ = nullptr;
  TGridButton* button_ = nullptr;
  TExRichEdit* richEdit_ = nullptr;
  TEditLink* editLink_ = nullptr;
  platform::TWinControl* shownControl_ = nullptr;  // the control over the cell, null while none is
  bool linkShown_ = false;                          // the edit link's edit is open
  platform::TPoint editCell_{-1, -1};               // the base cell (real column) of the open edit
  std::string preparedValue_;                       // the shown control's value as it was prepared
  int comboSelection_ = -1;
  // Entering a cell: goEditing follows whether GetCellReadOnly lets the cell (real column ARealCol) be
  // edited, and is remembered to come back after a read-only cell.
  void ApplyCellEditing(int ACol, int ARow, int ARealCol);
  bool editingRemembered_ = false;  // goEditing is off for a read-only cell and comes back after it
  bool validatingCell_ = false;
  bool editTransition_ = false;  // a show or hide of an editor is running
  bool advancing_ = false;       // an advance moves the cursor: no OnCellChanging
  bool handingBack_ = false;     // an editor hands the focus back
  // The character of the key an editor control ended its edit with: it follows the key to the grid,
  // which has the focus by then, and is dropped there.
  char32_t handedBackChar_ = 0;
  // Whether the current cell's block holds a check box or radio group.
  bool CurrentHasStaticEdit() const;
  // A character typed on the grid outside editing mode, with Navigation.AutoGotoWhenSorted: the row
  // whose search text begins with what was typed becomes the current one. With AutoGotoIncremental
  // the characters add up (Backspace takes the last away, the keys that move the cursor start anew);
  // otherwise each character searches alone.
  void IncrementalSearch(char32_t Key);
  std::string incrementalText_;
  platform::TPoint validateCell_{-1, -1};
  std::string validateText_;
  // The cell whose edited value was refused, until a value is accepted or an edit begins: the current
  // cell does not move away from it, and its editor opens again. (-1, -1): none.
  platform::TPoint refusedCell_{-1, -1};

protected:
  void Notification(platform::TComponent* AComponent, platform::TOperation Operation) override;
  void WndProc(platform::TMessage& Message) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // A press near a column (row) border starts sizing only when OnColumnSize (OnRowSize) allows it.
  void CalcSizingState(int X, int Y, platform::TGridState& State, int& Index, int& SizingPos,
                       int& SizingOfs) override;
  // The owner form has been resized: the grid follows the change of its client size with
  // SizeWithForm, then the handler the form had before the grid hooked runs.
  void GridResize(platform::TObject* Sender, const platform::TNotifyEvent& previous);
  // The next Invalidate does nothing (a repaint that the caller has done itself).
  void SkipNextInvalidate() { skipInvalidate_ = true; }

  // ---- Sort order (DovAdizAccessors.cpp): entry i holds the row that the row now at i was before
  //      the last sort ----
  TIntList sortXRef_;

  // ---- Current cell (DovAdizSelection.cpp): OnRowChanging, OnColChanging and OnCellChanging, in this
  //      order, may keep the current cell; their columns are real ones ----
  bool SelectCell(int ACol, int ARow) override;

  // ---- Editor text (DovAdizCells.cpp): the real column's text, without markup unless EditWithTags ----
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  // Escape gives the cell back the raw text it had when the editor loaded it.
  void EditCanceled(int ACol, int ARow, const std::string& OriginalText) override;

  // ---- Cell painting (DovAdizPaint.cpp, DovAdizPaintText.cpp) ----
  // The base grid's pass, then the frame of the current cell while an edit is pending.
  void Paint() override;
  // Colours, the soft look, borders, text and focus of one cell, in that order; see DovAdizPaint.cpp.
  void DrawGridCell(platform::TCanvas& Canvas, int ACol, int ARow, const platform::TRect& ARect,
                    platform::TGridDrawState AState) override;
  // Font, brush and alignment of a cell; with Print the print font and print colours, with Select the
  // selection colours. WordWrap is left as it comes.
  void GetVisualProperties(int ACol, int ARow, platform::TGridDrawState& AState, bool Print, bool Select,
                           platform::TBrush& ABrush, platform::TFont& AFont, platform::TAlignment& HAlign,
                           TVAlignment& VAlign, bool& WordWrap) override;
  // Footer rows, right fixed columns and what GetCellFixed reports, for the cell's base.
  bool IsFixed(int ACol, int ARow) override;
  // The sort indicator of display column ACol round (X, Y): numbered triangles for a sort over
  // several columns with IndexShow, else the glyphs or an outlined triangle of the direction.
  virtual void DrawSortIndicator(platform::TCanvas& Canvas, int ACol, int Y, int X);
  // The rich text of a cell rendered into ARect of Canvas with a clear brush.
  virtual void RTFPaint(int ACol, int ARow, platform::TCanvas& Canvas, const platform::TRect& ARect);
  // The footer panel's height while it shows.
  int FooterHeight() const override;

  // ---- Column mapping for the base grid's painting and block lookups ----
  int RemapCol(int ADispCol) const override { return RealColIndex(ADispCol); }
  int DisplayCol(int ACol) const override { return IsHiddenColumn(ACol) ? -1 : DisplColIndex(ACol); }

private:
  class FormResizeHook;

  // The grid's own timer (hover and blinking), running while the window exists.
  static constexpr unsigned kGridTimerId = 111;
  static constexpr unsigned kGridTimerMs = 500;

  // Makes the drag markers and, as they come, the grid's other child controls; not while designing.
  void CreateChildControls();
  void HookFormResize();
  void UnhookFormResize();
  // Saves the column widths when that is asked for; a failure goes to the application's exception
  // hook, as a destructor must not throw.
  void SaveColumnWidthsOnDestroy();
  bool ColumnWidthsKept() const;
  // Drops a reference to a component that goes (or is replaced), with its free notification.
  template <class T>
  void SetReference(T*& field, T* value);

  // What the settings objects ask of the grid.
  void InvalidateGrid() override { Invalidate(); }
  int FixedRowCount() const override { return GetFixedRowsEx(); }
  bool LoadingResource() const override { return ComponentState().Contains(platform::csLoading); }

  // ---- Object state ----
  // Declared in the order the constructor makes them.
  TFloatingFooter floatingFooter_{*this};
  TPrintSettings printSettings_;
  TMarkupSettings htmlSettings_;
  TSortSettings sortSettings_{*this};
  TDragDropSettings dragDropSettings_;
  TControlLook controlLook_{*this};
  TNavigation navigation_;
  TColumnSize columnSize_{*this};
  TCellNode cellNode_{*this};
  TBands bands_{*this};
  TSizeWhileTyping sizeWhileTyping_;
  TMouseActions mouseActions_;
  platform::TStringList columnHeaders_;
  platform::TFont fixedFont_;
  platform::TFont activeCellFont_;
  platform::TStringList rowHeaders_;
  platform::TStringList lookupItems_;
  TSortIndexList sortIndexes_;
  platform::TBitmap rowIndicator_;
  TBackGround backGround_{*this};
  std::vector<TGridChangeNotifier*> notifiers_;
  std::vector<TArrowWindow*> arrows_;  // up, down, left, right; none while designing
  TPopupButton* popupButton_ = nullptr;

  platform::TCustomImageList* gridImages_ = nullptr;
  controls::TPictureContainer* pictureContainer_ = nullptr;
  platform::TControl* hookedForm_ = nullptr;  // the owner form whose OnResize the grid chained into
  std::optional<platform::TComponent::TGuard> formAlive_;
  platform::TPoint formClientSize_;           // the form's client size at the last resize followed
  bool integralHeight_ = false;
  bool skipInvalidate_ = false;  // the next Invalidate does nothing
  int updateCount_ = 0;

  // ---- Cells, counts, headers, selection state ----

  // Writes text() into every cell, or into the non-fixed ones.
  void FillCells(bool AllCells, const std::function<std::string()>& text);

  int fixedFooters_ = 0;
  int fixedRightCols_ = 0;
  // 1 for a selected row; rows past its end are not selected. A gap vector, so that a row inserted or
  // removed near another costs the marks between them, not those after.
  platform::GapVector<int32_t> rowSelect_;
  platform::TColor selectionColor_ = platform::clHighlight;
  platform::TColor selectionTextColor_ = platform::clHighlightText;
  bool selectionRectangle_ = false;
  bool showSelection_ = true;
  TVAlignment vAlignment_ = TVAlignment::vtaTop;
  int maxEditLength_ = 0;
  int zoomLevel_ = 0;
  // The raw text of the cell the editor loaded last.
  std::string editOriginalText_;
  bool wordWrap_ = false;
  bool flat_ = false;
  bool autoSize_ = false;
  platform::TPoint xyOffset_{2, 2};
  platform::TCursor normalCursor_ = platform::crDefault;
  // ---- Index model state (see the invariants above) ----
  // Rebuilds colMap_ and colDispl_ from visibility after the columns changed; empty maps when nothing
  // is hidden.
  void RebuildColumnMaps();
  // Shows every column (widths back in the string grid) and puts the hidden rows in (WithHiddenRowsIn)
  // for the time of change, which works on real columns as display ones; then takes those rows out again and hides the
  // columns whose visibility entry is false. The current cell stays on its real cell.
  void WithAllColumns(const std::function<void()>& change);
  // Takes out the visible real rows (strictly increasing), each with its causes (one set for every row,
  // or one per row), in one batch.
  void HideRealRows(const std::vector<int>& realRows, std::vector<THideCauses> causes);
  // Adds the causes (one set for every row, or one per row) to the real rows (strictly increasing,
  // within the grid); the rows shown till now leave the string grid.
  void HoldRows(const std::vector<int>& realRows, std::vector<THideCauses> causes);
  // Releases Cause on the item when it holds it; true when nothing holds the row any longer.
  static bool ReleaseHideCause(TGridItem& item, HideCause Cause);
  // Puts back the items at the indices (into hiddenRows_, increasing) in one batch.
  void ShowItems(const std::vector<size_t>& items);
  // The row-select marks (and DisplRowLimit) after display rows (strictly increasing) went, or after
  // rows came at the positions (as InsertRowSet takes them) with the marks given.
  void RemoveDisplayRowMarks(const std::vector<int>& rows);
  void InsertDisplayRowMarks(const std::vector<int>& positions, const std::vector<bool>& marks);
  // The hidden rows' real indices after N real rows were inserted at ARow, or after the real rows
  // `removed` (strictly increasing, none of them hidden) went.
  void ShiftHiddenRowsFrom(int ARow, int N);
  void CloseUpHiddenRows(const std::vector<int>& removed);
  // Runs change with the hidden rows in the string grid after the display rows, in the order of their
  // real indices (one batch each way).
  void WithHiddenRowsIn(const std::function<void()>& change);
  // Removes the display rows (strictly increasing) in one batch, with their marks; the hidden rows
  // close up.
  void RemoveDisplayRows(const std::vector<int>& rows);
  // The current row after rows went: kept, or the last data row, or off the grid (oldFixed: the fixed
  // rows before, as the class library lowers them with the count).
  void KeepCurrentRowAfterRemove(int oldRow, int oldTop, int oldFixed);
  TGridItem* HiddenItem(int ARow);
  // Frees the hidden items from real index ARow on (RowCount lowered).
  void FreeHiddenRowsFrom(int ARow);
  // Frees every property object that an item holds.
  void FreeItemProperties(TGridItem& item);
  void SetColumnsHidden(const std::vector<int>& realCols, bool hidden);
  // Sets ColCount from the visibility entries (colHidden_ over the store's width) and the widths by real
  // column.
  void ApplyColumnVisibility(const std::vector<int>& widths);
  // Inside WithAllColumns: a real column moves or goes, with its visibility entry.
  void MoveRealColumn(int AFrom, int ATo);
  void EraseRealColumn(int ACol);
  // Removes the real columns (strictly increasing) with their property objects.
  void RemoveRealCols(const std::vector<int>& realCols);
  // N empty columns, shown, inserted before real column ACol (up to StorageColCount()).
  void InsertRealCols(int ACol, int N);

  std::vector<TGridItem> hiddenRows_;  // sorted by Idx
  std::vector<bool> colHidden_;        // by real column; empty while nothing is hidden
  std::vector<int> colWidths_;         // by real column: the kept width of a hidden column
  std::vector<int> colMap_;            // display to real column
  std::vector<int> colDispl_;          // real to display column, -1 hidden
  int hiddenColCount_ = 0;
  TIntList mergedColumns_;
  platform::TGridRect hiddenSelection_{};  // the selection HideSelection kept

  // Filled by the print layout, for columns 0 .. 255.
  std::vector<int> printColWidths_;
  std::vector<int> printColOffsets_;

  // ---- Cell painting state and steps ----
  // A cell graphic's size and placement, as GetGraphicDetails gives them.
  struct GraphicPlace {
    int Width = 0;
    int Height = 0;
    bool DrawText = true;
    TCellHAlign HAlign = TCellHAlign::haLeft;
    TCellVAlign VAlign = TCellVAlign::vaTop;
  };
  // The text of one cell with its background bitmap, selection frame and sort indicator; ARect is
  // the rectangle inside the lines.
  void DrawCellText(platform::TCanvas& Canvas, int ACol, int ARow, platform::TRect ARect,
                    platform::TGridDrawState AState, platform::TAlignment HAlign, TVAlignment VAlign,
                    const GraphicPlace& Place);
  void DrawCellBorders(platform::TCanvas& Canvas, int ACol, int ARow, platform::TRect ARect);
  void DrawSoftLook(platform::TCanvas& Canvas, int ACol, int ARow, platform::TRect ARect);
  // The window frame of the soft look (a single border): flat, a gray line inside a ring in the
  // parent's colour, over the sunken edge. Canvas is the window's, origin at its outer corner.
  void DrawSoftFrame(platform::TCanvas& Canvas);
  void DrawBackGround(platform::TCanvas& Canvas, int ACol, int ARow, const platform::TRect& ARect);
  void DrawSelectionRectangle(platform::TCanvas& Canvas, int ACol, int ARow, const platform::TRect& ARect);
  // Where the graphic stands in the cell, and the room that the text keeps beside it.
  static platform::TRect GraphicRect(const platform::TRect& ARect, const GraphicPlace& Place);
  static platform::TRect TextRoom(platform::TRect ARect, const GraphicPlace& Place);
  void DrawCellGraphic(platform::TCanvas& Canvas, int ACol, int ARow, const platform::TRect& ARect,
                       TCellGraphic& Graphic, const GraphicPlace& Place, platform::TAlignment TextAlign);
  void DrawRotated(platform::TCanvas& Canvas, int ACol, int ARow, platform::TRect ARect, int Angle);
  void DrawNode(platform::TCanvas& Canvas, const platform::TRect& ARect, bool Contracted);
  void DrawProgress(platform::TCanvas& Canvas, int ACol, int ARow, platform::TRect ARect,
                    const TCellGraphic& Graphic);
  void DrawTreeLines(platform::TCanvas& Canvas, int ARow, const platform::TRect& ARect);
  // Check boxes, radio groups and buttons (DovAdizCellControlsDraw.cpp).
  void DrawCheck(platform::TCanvas& Canvas, TControlStyle Style, bool Checked, bool Enabled,
                 const platform::TRect& ARect);
  void DrawRadio(platform::TCanvas& Canvas, const platform::TRect& ARect, const platform::TStringList& Items,
                 bool Disabled, bool Horizontal, int Index);
  void DrawCellButton(platform::TCanvas& Canvas, const platform::TRect& ARect, TCellGraphic& Graphic);
  static bool ThemeActive();
  const bool isThemed_ = ThemeActive();
  // Whether row ARow of display column ACol holds the sort indicator.
  bool SortIndicatorShown(int ACol, int ARow) const;
  // The grid's hidden rich edit through which rich-text cells are drawn and measured; made on first use.
  platform::TCustomRichEdit& RichEdit();

  platform::TCustomRichEdit* paintRichEdit_ = nullptr;  // owned by the grid, apart from the editor's
  controls::TMarkupPictureCache pictureCache_;         // the pictures of the markup cells

  // ---- Footer state ----
  friend class TFooterPanel;  // draws the grid's cells on the panel
  void FooterChanged(TFooterChange Change) override;
  TFooterPanel* footerPanel_ = nullptr;  // owned by the grid
  bool paintingFooter_ = false;          // DrawGridCell draws for the panel: no selection colours

  // ---- Cell graphics state ----
  // The one place where graphics are made and (FreeCellProperties, FreeCellGraphic) freed, so the
  // node count follows every way a cell goes.
  TCellGraphic* MakeCellGraphic(int ACol, int ARow, TCellType AType);
  void FreeGraphic(TCellGraphic* AGraphic);
  // The graphic of the cell's property object, as it stands.
  TCellGraphic* GraphicOf(int ACol, int ARow) const;
  // The size rules of GetCellGraphicSize for a cell of size Cell; with PrintFactor those of
  // GetPrintGraphicSize.
  platform::TPoint GraphicSize(int ACol, int ARow, platform::TSize Cell, std::optional<double> PrintFactor);
  // Makes AFont the font that GetVisualProperties gives display cell (ACol, ARow).
  void SelectCellFont(int ACol, int ARow, platform::TFont& AFont);
  // A radio group's items in the cell's font: side by side when horizontal, else one below the other.
  platform::TPoint RadioGroupSize(int ACol, int ARow, const TCellGraphic& Radio);
  // The graphic of the base cell of the cell's block, when it is of AType.
  TCellGraphic* BaseGraphicOf(int ACol, int ARow, TCellType AType) const;
  // The cell may be edited, as GetCellReadOnly says.
  bool CellEditable(int ACol, int ARow);
  // A property object goes with its cell's graphic.
  void FreeCellProperties(TCellProperties* AProps) override;
  // The node at a real row, in the string grid or in its hidden item; null when none.
  TCellGraphic* NodeAtReal(int ARealRow) const;
  // The last real row that the node at real row ANode holds.
  int NodeEnd(int ANode, const TCellGraphic& node) const;
  // The position in NodeRows() of the nearest node at or above real row ARealRow; -1 when none.
  int NodeAbove(int ARealRow) const;
  // The real rows that the node at real row ANode holds.
  std::vector<int> NodeHeldRows(int ANode, const TCellGraphic& node) const;
  // A contracting node holds each row it hides under a hold id of its own (NodeHold), so that it gives
  // up exactly what it took, whatever nodes or rows come, go or move within or after its rows while it
  // is contracted. HoldNodeRows takes (real row, hold id) pairs; ShowNodeRows gives up the holds of the
  // ids (on the hidden rows from real row AFrom on) and shows the rows nothing else holds; while the
  // filter is on, those that it refuses stay hidden, now by the filter.
  void HoldNodeRows(std::vector<std::pair<int, int>> holds);
  void ShowNodeRows(const std::vector<int>& holds, int AFrom = 0);
  // A contracted node whose cell goes or whose row moves gives up its holds first and counts as
  // expanded. These return the ids of the holds given up, for ShowNodeRows once the change is over (the
  // contracted nodes at the real rows; those shown at display rows AFrom .. ATo; every one).
  std::vector<int> GiveUpNodeHolds(const std::vector<int>& nodeRealRows);
  std::vector<int> GiveUpNodeHoldsIn(int AFrom, int ATo);
  std::vector<int> GiveUpAllNodeHolds();
  int LastDataRealRow() const { return RowCount() + NumHiddenRows() - 1 - FixedFooters(); }
  int nodeCount_ = 0;
  int lastNodeHold_ = 0;
  // The real rows of the node cells in increasing order, and for each position the furthest real row
  // that an expanded node up to it reaches (unclamped; INT_MAX for a last node of span 0). The rows
  // are found again on the first query after a node comes or goes or real rows move, the reach after
  // that or after a node changes state (DovAdizNodeIndex.cpp).
  struct NodeIndex {
    std::vector<int> rows;
    std::vector<int> reach;
    bool rowsStale = true;
    bool reachStale = true;
  };
  const std::vector<int>& NodeRows() const;
  const NodeIndex& Nodes() const;
  void NodesChanged() { nodeIndex_.rowsStale = true; }
  void NodeStatesChanged() { nodeIndex_.reachStale = true; }
  mutable NodeIndex nodeIndex_;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void RowsInserted(int At, int Count) override;
  void RowsDeleted(int At, int Count) override;
  void RowsSwapped(int ARow1, int ARow2) override;
  void RowsPermuted(int First, const std::vector<int>& Order) override;
  void RowSetDeleted(const std::vector<int>& Rows) override;
  void RowSetInserted(const std::vector<int>& Positions) override;

  // ---- Grouping state ----
  struct GroupState {
    int column = -1;       // the real column grouped by; -1 while not grouped
    int valueColumn = -1;  // where node rows hold the group text, as real columns stand with `column`
    int width = 0;
    std::vector<std::string> fixedTexts;   // the column's texts in the fixed rows
    std::vector<std::string> footerTexts;  // and in the footer rows
  };
  GroupState group_;
  // What Floats reads from a text.
  double FloatValue(const std::string& Text) const;
  // The real data rows of each node, from the one after it up to the next node or the last data row.
  std::vector<std::pair<int, int>> NodeGroups() const;
  // Calc(first, last) of every group, all found before any is written into its node row (a Whole
  // number as an integer, others with FloatFormat).
  void WriteGroupResults(int ACol, const std::function<double(int, int)>& Calc, bool Whole = false);
  // Floats of real column ACol over real rows AFrom..ATo.
  std::vector<double> GroupValues(int ACol, int AFrom, int ATo) const;

  // ---- Filter state ----
  TFilter filter_{this};
  bool filterActive_ = false;
  int filterFixedRows_ = 0;      // FixedRows when the filter was activated
  bool filterBlankRow_ = false;  // activation added the blank row at filterFixedRows_

  // ---- Sorting (DovAdizSort.cpp, DovAdizSortCompare.cpp) ----
  //
  // Columns are real ones (Cells' index space), rows display rows. Every sort first ends in-place
  // editing, then finds the new order of the rows it sorts as a permutation of row numbers (a stable
  // merge sort: no row moves while comparisons run, so one that raises leaves every row in place), and
  // applies it in one step, SortPermuteRows (with SingleColumn, along its cycles, exchanging only the
  // sort column's cells); the swaps counted are those the cycles would make. A row moves whole: the
  // texts and objects of every real column (hidden ones too), its property objects, height and mark;
  // hidden rows keep their real place, and fixed and footer rows never move. The sorts that
  // the programmer or a header click starts run inside one update lock. The cross-reference starts as
  // the identity at every sort.
  //
  // The comparison is a total order in every style: ssAutomatic is resolved once per sort and column
  // over the rows sorted (numeric when every non-empty text converts, else date likewise, else
  // alphabetic), and in the numeric and date styles the texts that do not convert sort after the
  // values, among themselves alphabetically; an empty text counts as 0. A sort asks OnGetFormat once
  // per column and converts each cell once (TSortKey), so a comparison only compares keys.
public:
  // -1, 0 or 1 for the texts of ACol in ARow1 and ARow2, before the sort's direction is applied
  // (with IgnoreBlanks an empty text lands at BlankPos once it is).
  int Compare(int ACol, int ARow1, int ARow2);
  // Compare; with Full a tie goes to the next real columns, up to StorageColCount() - 2.
  int CompareLine(int ACol, int ARow1, int ARow2);
  // By the sort index list from position AColIndex, each entry in its own direction.
  int CompareLineIndexed(int AColIndex, int ARow1, int ARow2);
  // Swaps the two rows when they are out of order in Direction (ties decided by the next columns);
  // true when swapped.
  bool SortLine(int ACol, int ARow1, int ARow2);
  // Stable sort of the data rows by ACol alone, in Direction.
  void SortByColumn(int ACol);
  // Sort of rows Left..Right by ACol (with Full, ties by the next columns), in Direction; no update
  // lock and the current row stays at its number.
  void QuickSort(int ACol, int Left, int Right);
  // Sort of rows Left..Right by the sort index list.
  void QuickSortIndexed(int Left, int Right);
  // Sort of the data rows by SortSettings.Column (the sort index list cleared first).
  void QSort();
  // Sort of the data rows by the sort index list; raises EDovAdizError "No indexes specified for
  // indexed sort" before anything changes when it is empty.
  void QSortIndexed();
  // Sort of the rows of every group (the rows after a node row up to the next one or the footer rows)
  // within the group, by SortSettings.Column; the current row follows its data.
  void QSortGroup();
  void InitSortXRef();
  // The click sort that the mouse handling calls for a release in the sort row on display column
  // ACol (Shift held: the column joins the sort index): OnCanSort may veto; the edit ends, the
  // column's order is set as a header click sets it, the rows are sorted, OnClickSort fires.
  void ClickSort(int ACol, bool Shift);
  // Statistics of the sorts: comparisons and swaps counted since construction, and the duration of
  // the last click sort in milliseconds.
  int SortCompares() const { return sortCompares_; }
  int SortSwaps() const { return sortSwaps_; }
  int SortTime() const { return sortTimeMs_; }

private:
  // What a sort does around its rows: Plain nothing; Locked holds the update lock and, with
  // Navigation.MoveRowOnSort, lets the current row follow its data; KeepColumn0 also keeps the texts
  // of column 0 in place with NormalCellsOnly and a fixed column; Groups does that too and always lets
  // the current row follow its data.
  enum class SortFrame : uint8_t { Plain, Locked, KeepColumn0, Groups };
  // Sorts rows first..last (clamped to the grid) by compare (negative: the first row goes first) and
  // applies the order; SortRowRanges sorts each of several disjoint ranges within itself.
  // HintCol, when not -1, is the column whose comparison (times sortSign_) decides compare first.
  void SortRows(int first, int last, const std::function<int(int, int)>& compare, SortFrame frame,
                int HintCol = -1);
  void SortRowRanges(std::vector<std::pair<int, int>> ranges, const std::function<int(int, int)>& compare,
                     SortFrame frame, int HintCol = -1);
  // Finds the order of rows first..last and applies it.
  void SortRange(int first, int last, const std::function<int(int, int)>& compare, int HintCol);
  // Applies an order found by SortRange (row first + k takes row order[k]) with SortPermuteRows: the
  // counts, the cross-reference and the tracked row follow as with SwapSortedRows along its cycles.
  void ApplySortOrder(int first, const std::vector<int>& order);
  // The rows' hints of column ACol for SortRange, in row order; none where its style has none (the
  // handlers', the collations', images, and blanks placed by IgnoreBlanks).
  std::vector<TSortHint> SortHints(int ACol);
  // Exchanges two rows during a sort: counts, the cross-reference, SingleColumn, the tracked row.
  void SwapSortedRows(int ARow1, int ARow2);
  // The style of ssAutomatic over the rows sorted (outside a sort, the data rows).
  TSortStyle ResolvedStyle(int ACol, const std::string& prefix, const std::string& suffix);
  // The column's style from OnGetFormat, with its prefix and suffix; no keys. ColumnSortStyle also
  // resolves ssAutomatic.
  TSortColumnKeys ColumnFormat(int ACol);
  TSortColumnKeys ColumnSortStyle(int ACol);
  void AddCellSortKey(int ACol, int ARow, TSortColumnKeys& column);
  // The text a sort reads of a cell: straight from the store while no cell of the sorted rows is merged
  // and no handler changes the shown text (scratch unused), else Cells into scratch.
  const std::string& SortCellText(int ACol, int ARow, std::string& scratch) const;
  // During a sort: the keys of ACol's rows, made at the first comparison on the column.
  const TSortColumnKeys& SortKeys(int ACol);
  // The comparison of keys key1 and key2 of the column (rows ARow1 and ARow2).
  int CompareKeys(const TSortColumnKeys& column, int ACol, int ARow1, int ARow2, size_t key1, size_t key2);

  int sortCompares_ = 0;
  int sortSwaps_ = 0;
  int sortTimeMs_ = 0;
  int sortSign_ = 1;
  int trackedRow_ = -1;
  // During a sort: rows sorted, and the keys of the columns compared so far, by real column.
  int sortFirst_ = -1;
  int sortLast_ = -1;
  bool sortPlainCells_ = false;
  std::vector<TSortColumnKeys> sortKeys_;

  // ---- Calculations, selection text and auto-size (DovAdizCalc.cpp, DovAdizAutoSize.cpp,
  //      DovAdizAutoSizeRows.cpp) ----
  // Columns and rows are display positions. A run reads Floats of its cells in order (an empty cell
  // counts as 0; one without a number raises EDovAdizError "Cell does not contain a float value"); a
  // run with a cell outside the grid raises EDovAdizError "Invalid Row accessed" or "Invalid Column
  // accessed" before any cell is read. An empty run (last below first) sums and averages to 0, and its
  // minimum and maximum are the value of the first cell.
public:
  double ColumnSum(int ACol, int FromRow, int ToRow);
  double ColumnAvg(int ACol, int FromRow, int ToRow);
  double ColumnMin(int ACol, int FromRow, int ToRow);
  double ColumnMax(int ACol, int FromRow, int ToRow);
  double RowSum(int ARow, int FromCol, int ToCol);
  double RowAvg(int ARow, int FromCol, int ToCol);
  double RowMin(int ARow, int FromCol, int ToCol);
  double RowMax(int ARow, int FromCol, int ToCol);
  // 1, 2, 3 ... into the data rows of a column (the data columns of a row).
  void AutoNumberCol(int ACol);
  void AutoNumberRow(int ARow);
  // Inside the selection; with MouseActions.DisjunctRowSelect, the row's mark whatever the column.
  bool IsSelected(int ACol, int ARow);
  // The selected cells (the marked rows with DisjunctRowSelect; every column with goRowSelect and
  // DragDropSettings.OleEntireRows), cells separated by TAB and every line ended by CR LF; rich text
  // as its plain text, and a cell of several lines quoted as CSV with Multilinecells and
  // ClipboardCSVMultiLine.
  std::string SelectedText();
  bool ClipboardCSVMultiLine = false;
  // Every column from 0 (DoFixedCols) or from FixedCols sized to its content, then Padding wider.
  // Each distinct text in each font is measured once per call.
  void AutoSizeColumns(bool DoFixedCols, int Padding);
  void AutoSizeCol(int ACol) { SizeToWidth(ACol, false); }
  // 2 x GridLineWidth + 4 more than the widest unmerged cell of the column; with OnlyGrow only when
  // that is wider than the column is.
  void SizeToWidth(int ACol, bool OnlyGrow);
  // Every row from 0 (DoFixedRows) or from FixedRows: with WordWrap AutoSizeRow, else SizeToLines of its
  // most lines plus Padding.
  void AutoSizeRows(bool DoFixedRows, int Padding);
  // The default row height, or 4 more than the tallest text of the row's cells (merged blocks over
  // several rows left out) as it wraps in its column's width less 4.
  void AutoSizeRow(int ARow);
  // Lines x (h + h div 4) + Padding, h the height of "gh" in the grid's font.
  void SizeToLines(int ARow, int Lines, int Padding);
  // With DoFixed the fixed rows and columns keep their sizes; every other column and row is as wide and
  // high as its largest cell plus the padding. One repaint.
  void AutoSizeCells(bool DoFixed, int PaddingX, int PaddingY);
  // The most lines (CR-separated) of a cell in the row; at least 1.
  int MaxLinesInRow(int ARow) const;

private:
  // The height of display cell (ACol, ARow)'s text wrapped in its column's width less 4, in its font.
  int WrappedTextHeight(int ACol, int ARow);
  enum class CalcRun : uint8_t { Column, Row };
  // The values of the run's cells, the run checked against the grid first.
  std::vector<double> RunValues(CalcRun Run, int AIndex, int First, int Last);
  double RunExtreme(CalcRun Run, int AIndex, int First, int Last, bool Largest);
  // The width that fits display column ACol, with each (text, font) measured once in `widths`.
  int WidestInColumn(int ACol, std::unordered_map<std::string, int>& widths);

  // ---- Scrolling and sizing (DovAdizScroll.cpp) ----
  // The flat looks and proportional thumbs go through the platform's flat scroll bar calls, active from
  // the first flat property on, also for a window made again. A thumb with a page reaches the end of
  // its range: its positions are stretched over 0..127. ScrollHints shows "Row : n" ("Col : n") beside
  // the mouse while the thumb is dragged, ScrollSynch scrolls the grid meanwhile.
public:
  TScrollType ScrollType() const { return scrollType_; }
  void SetScrollType(TScrollType Value);
  // clNone keeps the system colour.
  platform::TColor ScrollColor() const { return scrollColor_; }
  void SetScrollColor(platform::TColor Value);
  // The vertical bar's width and the horizontal bar's height of flat bars.
  int ScrollWidth() const { return scrollWidth_; }
  void SetScrollWidth(int Value);
  bool ScrollProportional() const { return scrollProportional_; }
  void SetScrollProportional(bool Value);
  // The colour of the four drag markers.
  platform::TColor ArrowColor() const;
  void SetArrowColor(platform::TColor Value);
  // Brings a cell (display column) into view: a column (row) outside the shown ones, the partly shown
  // last one included, becomes current and comes to the middle; negative indices do nothing.
  void ScrollInView(int ACol, int ARow);
  // The display cell under a screen point, -1 outside.
  void ScreenToCell(platform::TPoint P, int& ACol, int& ARow);
  // Within 4 pixels of a border that goColSizing (goRowSizing) lets the mouse size.
  bool InSizeZone(int X, int Y);
  // With ColumnSize.Stretch, the last column takes the client width the others leave (their lines
  // counted), when there is any.
  void StretchRightColumn() override;
  // After a key in the text editor, with SizeWhileTyping: Width widens the current column to its text;
  // Height fits the row to a wrapped text (WordWrap), or with Multilinecells grows it to the editor's
  // lines.
  void SizeWhileTypingStep(const std::string& EditorText);
  // At Ctrl+Enter in the text editor, with SizeWhileTyping.Height and Multilinecells: the row takes
  // the editor's lines when no other cell of it has more, else is sized to its cells (AutoSizeRow).
  void SizeRowAtCtrlEnter(const std::string& EditorText);

protected:
  void SizeChanged(int OldColCount, int OldRowCount) override;
  // With MouseActions.AllColumnSize (AllRowSize) a column (row) sized with the mouse scales every other
  // non-fixed one from its size at the press; OnEndColumnSize (OnEndRowSize) fires at the release, after
  // the sizing state is reset.
  void ColWidthsChanged() override;
  void RowHeightsChanged() override;

private:
  void FlatInit();
  void FlatDone();
  void FlatUpdate();
  void UpdateType();
  void UpdateColor();
  void UpdateWidth();
  void FlatShowScrollBar(int Bar, bool Show);
  // SB_VERT or SB_HORZ: range 0..127, the proportional page, the position.
  void UpdateScrollBar(int Bar);
  int ProportionalPage(int Bar) const;
  void ScrollBarMessage(platform::TMessage& Message);
  void ShowScrollHint(bool Columns, int Index);
  void HideScrollHint();
  void BeginMouseSizing(platform::TGridLine Line, int Index);
  void EndMouseSizing();
  void SizesFollowMouse(platform::TGridLine Line);
  // After the window's client size changed.
  void ClientSizeChanged();

  struct MouseSizing {
    platform::TGridLine line;
    int index;
    std::vector<int> startSizes;  // every column's width (row's height) at the press
  };
  std::optional<MouseSizing> mouseSizing_;
  TScrollType scrollType_ = TScrollType::ssNormal;
  platform::TColor scrollColor_ = platform::clNone;
  int scrollWidth_;
  bool scrollProportional_ = false;
  bool flatActive_ = false;
  bool stretchEnabled_ = true;  // false while the last column is being stretched
  bool scalingAll_ = false;
  bool scrollHintShown_ = false;

  // ---- Mouse, keys, wheel, the grid's timer and hints (DovAdizInput.cpp, DovAdizInputKeys.cpp,
  //      DovAdizHints.cpp) ----
  // Mouse events name the display row and the real column of the cell (the base of its block). A
  // press over the fixed cells selects by the select mode that the last mouse move chose there.
public:
  enum class TSelectMode : uint8_t { smNone, smColumns, smRows, smAll };
  TSelectMode SelectMode() const { return selectMode_; }
  // Flips at every tick of the grid's timer; blinking markup shows in one phase.
  bool BlinkPhase() const { return blinkPhase_; }
  // What the application's hint shows for the cell under HintInfo.CursorPos: text, colour and place.
  void ShowHintProc(std::string& HintStr, bool& CanShow, platform::THintInfo& HintInfo);
  // Chooses the item of the radio group at display cell (ACol, ARow) under (X, Y), which is relative to
  // the cell's top-left corner; OnRadioClick follows. A point past the last item chooses nothing.
  void HandleRadioClick(int ACol, int ARow, int X, int Y);
  // The marker of the IntelliPan kind where panning began, drawn over the cells; erasing repaints
  // the 32 x 32 pixels under it.
  void DrawIntelliFocusPoint();
  void EraseIntelliFocusPoint();
  // The clipboard (DovAdizClipboard.cpp). Copy puts the selection (SelectedText's cells) as TAB and
  // CR LF separated text, without a line break after the last row, with markup stripped unless
  // Navigation.CopyHTMLTagsToClipboard; cut copies, then empties the cells that may be edited (or all
  // with Navigation.AllowClipboardAlways), the marked rows whole with DisjunctRowSelect.
  void CopySelectionToClipboard();
  void CutSelectionToClipboard();
  // Pastes the clipboard's text at the selection's top-left cell; the number of fields read.
  int PasteSelectionFromClipboard();
  // Stores the TAB and CR separated fields of Text from display cell (ACol, ARow) on, into cells that
  // may be edited (all with AllowClipboardAlways), growing the grid as AllowClipboardColGrow and
  // AllowClipboardRowGrow allow; nothing without goEditing or AllowClipboardAlways. The number of
  // fields read, stored or not; CellsChanged for the cells covered.
  int PasteText(int ACol, int ARow, const std::string& Text);

protected:
  void Click() override;
  void DoEnter() override;
  void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
  void MouseMove(platform::TShiftState Shift, int X, int Y) override;
  void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  bool DoMouseWheel(platform::TShiftState Shift, int WheelDelta, platform::TPoint MousePos) override;
  // The sort of a header click (ClickSort) by real column ACol, SortSettings' Column and Direction or
  // the sort indexes already set: the indexed sort with IndexShow, else QSort.
  virtual void HeaderClickSort(int ACol);
  // A column dropped by the mouse moves as MoveColumn moves it (by real columns), with the sort column;
  // a drop outside the normal columns (rows) moves nothing.
  void MoveDropped(platform::TGridLine Line, int FromIndex, int ToIndex) override;
  // The steps that other parts of the grid fill in; nothing here yet.
  // A double click on a header border sizes real column ACol to its content.
  virtual void AutoSizeColumn(int ACol);
  // A clipboard shortcut (Ctrl+X, Ctrl+C, Ctrl+V and their Shift/Ctrl+Insert/Delete forms) that its
  // event allowed: the selection's cut, copy or paste.
  enum class TClipboardKey : uint8_t { Cut, Copy, Paste };
  virtual void ClipboardShortcut(TClipboardKey Operation);
  // A drag that OnOleDrag allowed: of the pressed column (Column) or of the selected cells.
  virtual void OleDrag(bool Column);

private:
  // The grid's own messages: its timer, the focus and the hint; false passes the message on.
  bool InputMessage(platform::TMessage& Message);
  // A typed character: the keypad's decimal key and the cells that typing does not edit; true
  // swallows it.
  bool CharMessage(platform::TMessage& Message);
  // While a column or row is moved with EnhRowColMove: the arrows at the gap it would land in and the
  // moving caption under the mouse (DovAdizInputMove.cpp); HideMoveMarks takes them away.
  void ShowMoveMarks(int X, int Y);
  // Drag arming (DovAdizInputDrag.cpp): a press on a selected cell (or a header while EnhRowColMove is
  // off) of a drag source arms a drag; a move of more than 3 pixels starts it (or, refused by
  // OnOleDrag, a range selection: false), a release without a drag focuses the cell.
  bool ArmDrag(int c, int r, int X);
  bool DragMove(int X, int Y);
  void DragRelease();
  void HideMoveMarks();
  // With ColumnSize.SynchWithGrid every column keeps its share of the client width: the widths are
  // scaled from those remembered at a reference width, never from the last scaled ones, so a column
  // that a narrow grid brought down to 1 pixel comes back.
  void SynchColumnWidths();
  // Panning with the wheel button (DovAdizInputPan.cpp): the middle button starts and ends it, any
  // other button or key ends it (and is taken), the pan timer moves the current cell; true takes the
  // message.
  bool PanMessage(platform::TMessage& Message);
  void StartPanning(platform::TPoint At);
  void StopPanning();
  void PanTick();
  static constexpr unsigned kPanTimerId = 999;
  static constexpr unsigned kPanTimerMs = 10;
  void GridTimerTick();
  void SetFocusMessage(platform::TMessage& Message);
  // The anchor under client point (X, Y) of display cell (c, r): a plain URL text with URLShow, or
  // the markup anchor there; "" for none.
  std::string AnchorAt(int c, int r, int X, int Y);
  void OpenAnchor(int c, int r, const std::string& anchor);
  // Steps of a left press and release; true ends the press's handling.
  bool SelectWholeLines(int c, int r);
  // Presses on the controls in cells (DovAdizInputGraphics.cpp): a node in column 0 flips, a radio
  // group chooses, a cell button goes down (up again at the release, with OnButtonClick), a check box
  // toggles with OnCheckBoxClick.
  bool NodeOrRadioPress(int c, int r, int X, int Y);
  bool ButtonPress(int c, int r, int X, int Y);
  bool CheckBoxPress(int c, int r);
  // FixedAsButtons: a press on a fixed cell shows it pushed in until the release.
  void FixedPress(int c, int r);
  // SelectedText, with each markup text as its plain text when StripMarkup is set.
  std::string SelectionText(bool StripMarkup);
  void FixedRelease();
  void ButtonRelease();
  // OnCheckBoxMouseUp or OnRadioMouseUp for the cell that a release reached.
  void StaticEditRelease(int c, int r);
  // Toggles the check box of a cell that may be edited (real column), then OnCheckBoxClick.
  bool ToggleCheckAndTell(int ACol, int ARow);
  // Space on a check box or radio cell that may be edited toggles it; true when it did.
  bool StaticEditKey(platform::WORD Key);
  void SortOnHeaderClick(int c, platform::TShiftState Shift, int X);
  // Keys that act on the grid's rows; true consumes the key.
  bool RowKey(platform::WORD Key, platform::TShiftState Shift);
  bool ClipboardKey(platform::WORD Key, platform::TShiftState Shift);
  TSelectMode SelectModeAt(int c, int r, int X) const;
  // The cursor over client point (X, Y): the hand over an anchor, the split cursors over a border
  // that a press would size, the select arrows over fixed cells that select, else the grid's own.
  platform::TCursor CursorAt(int X, int Y, const std::string& anchor);
  // Shows a cursor of the grid's own choosing (sizing, selecting, panning, anchors); a cursor that
  // anyone else sets ends the select mode.
  void SetOwnCursor(platform::TCursor Value);
  // With HintShowSizing, the grid's hint window shows the size of the column or row being sized
  // beside the client point (X, Y); HideSizingHint takes it away.
  void ShowSizingHint(int X, int Y);
  void HideSizingHint();
  // The grid's own hint window (sizing and scroll hints), made on first use.
  platform::THintWindow& OwnHintWindow();
  // The last data row: above the footer rows and a floating footer that shows the last row.
  int LastNormalRow() const;
  bool NearColumnBorder(int c, int X) const;

  TSelectMode selectMode_ = TSelectMode::smNone;
  bool settingOwnCursor_ = false;
  int selectAnchor_ = -1;
  int moveOrigin_ = -1;
  platform::TPoint mouseDownPoint_{-1, -1};
  platform::TPoint mouseDownCell_{-1, -1};
  platform::TPoint pressedButton_{-1, -1};  // display cell of the cell button held down
  platform::TPoint pressedFixed_{-1, -1};   // display cell of the fixed cell shown pushed in
  int previousClientWidth_ = 0;
  int synchReferenceWidth_ = 0;
  std::vector<int> synchReference_;  // column widths at synchReferenceWidth_
  std::vector<int> synchApplied_;    // the widths the last scaling set
  bool dragPending_ = false;
  bool panning_ = false;
  platform::TPoint panStart_{};
  platform::TCursor panSavedCursor_ = platform::crDefault;
  // The press asked the editor that its focus opens to put the caret under the mouse.
  bool caretToMouse_ = false;
  bool rowDeselectPending_ = false;
  bool suppressSort_ = false;
  bool blinkPhase_ = false;
  std::string mouseAnchor_;
  platform::TPoint hintCell_{-1, -1};
  platform::THintWindow* sizingHint_ = nullptr;  // the grid's own hint window, owned by the grid
};

}  // namespace velmora
