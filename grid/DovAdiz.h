#pragma once

#include <functional>
#include <string>
#include <vector>

#include "grid/BaseGrid.h"
#include "grid/DovAdizTypes.h"
#include "platform/core/DateTime.h"
#include "platform/core/StringList.h"

namespace platform {
class TCustomRichEdit;
}

namespace velmora {

// The grid component that forms place: the base grid with its settings objects, typed cell views,
// headers, selection, an update lock and the events through which the owning form customises cells.
// Its implementation is split into files by concern (DovAdiz*.cpp).
//
// Index space: Cells[c, r] addresses the real (stored) column c and the display row r. Every caller
// that holds a display column (painting, hints, mouse, keys, selection text, sums over a selection)
// maps it with RealColIndex first. Hidden columns keep their data at their real index in the string
// grid's wider storage.
class VUraRazuduVova : public TBaseGrid {
public:
  explicit VUraRazuduVova(platform::TComponent* AOwner);
  ~VUraRazuduVova() override;

  // ---- Object, settings, events, update lock (DovAdiz.cpp, DovAdizVirtuals.cpp, DovAdizUpdate.cpp) ----

  // ---- Cells, counts, headers, selection, accessors (DovAdizCells.cpp, DovAdizCounts.cpp,
  //      DovAdizSelection.cpp) ----

  // Typed views of Cells. Ints reads "" as 0 and otherwise only an optional "-" with decimal digits
  // within 32 bits; Floats reads "" as 0 and otherwise the numeric part that RemoveSeps finds, which
  // needs a digit. Both raise EDovAdizError; Dates and Times pass the conversion's EConvertError on.
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

  // Counts. FixedRowAlways (FixedColAlways) keeps one fixed row (column) once there is more than one.
  bool FixedRowAlways = false;
  bool FixedColAlways = false;
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
  int GetFixedRowsEx() const;
  void SetFixedRowsEx(int N) { TBaseGrid::SetFixedRows(N); }
  int GetFixedColsEx() const;
  void SetFixedColsEx(int N) { TBaseGrid::SetFixedCols(N); }
  // The width of column 0; setting it sizes every fixed column. FixedRowHeight likewise for rows.
  int FixedColWidth() const { return TBaseGrid::ColWidths(0); }
  void SetFixedColWidth(int W);
  int FixedRowHeight() const { return TBaseGrid::RowHeights(0); }
  void SetFixedRowHeight(int H);
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
  platform::TStringList& ColumnHeaders() { return columnHeaders_; }
  void SetColumnHeaders(const platform::TStringList& List);
  platform::TStringList& RowHeaders() { return rowHeaders_; }
  void SetRowHeaders(const platform::TStringList& List);
  void ShowColumnHeaders();
  void ShowRowHeaders();
  void ClearColumnHeaders();
  void ClearRowHeaders();

  // Selection: the range, and the rows marked one by one (the row-select list).
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

  // ---- Index model: real and display rows and columns (DovAdizIndex.cpp) ----
  // Nothing is hidden yet: display and real indices are the same.
  int RealColIndex(int ACol) const { return ACol; }
  int DisplColIndex(int ACol) const { return ACol; }
  int RealRowIndex(int ARow) const { return ARow; }
  int DisplRowIndex(int ARow) const { return ARow; }
  bool IsHiddenRow(int ARow) const { return false; }

protected:
  // ---- Virtual operations in slot order ----

  // ---- Editor text (DovAdizCells.cpp): the real column's text, without markup unless EditWithTags ----
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  // Escape gives the cell back the raw text it had when the editor loaded it.
  void EditCanceled(int ACol, int ARow, const std::string& OriginalText) override;

private:
  // ---- Object state ----

  // ---- Cells, counts, headers, selection state ----

  // Writes text() into every cell, or into the non-fixed ones.
  void FillCells(bool AllCells, const std::function<std::string()>& text);

  platform::TStringList columnHeaders_;
  platform::TStringList rowHeaders_;
  int fixedFooters_ = 0;
  int fixedRightCols_ = 0;
  // 1 for a selected row; rows past its end are not selected.
  std::vector<int32_t> rowSelect_;
  platform::TColor selectionColor_ = platform::clHighlight;
  platform::TColor selectionTextColor_ = platform::clHighlightText;
  bool selectionRectangle_ = false;
  bool showSelection_ = true;
  TVAlignment vAlignment_ = TVAlignment::vtaTop;
  int zoomLevel_ = 0;
  // The raw text of the cell the editor loaded last.
  std::string editOriginalText_;
  // Filled by the print layout, for columns 0 .. 255.
  std::vector<int> printColWidths_;
  std::vector<int> printColOffsets_;
};

}  // namespace velmora
