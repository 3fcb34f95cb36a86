#pragma once

#include <cstdint>
#include <string>

#include "grid/VovUra.h"
#include "platform/app/Component.h"
#include "platform/core/StringList.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Pen.h"
#include "platform/printing/Printer.h"

namespace velmora {

// The settings objects that hang off the grid, each a small persistent object that the grid makes in
// its constructor and frees in its destructor. A property whose change does nothing but store is a
// plain field; the others are a getter and a Set... setter. "Repaints" below means that the setter
// invalidates the whole grid.

enum class TFooterChange : uint8_t { Layout, Content };

// What a settings object asks of the grid that owns it. The grid implements it and outlives every
// settings object that holds it; only the objects whose changes reach the grid take one.
class GridSettingsOwner {
public:
  // Invalidates the whole grid.
  virtual void InvalidateGrid() = 0;
  // The fixed rows as the grid counts them for its header (GetFixedRowsEx).
  virtual int FixedRowCount() const = 0;
  // True while a form resource is being applied to the grid (until its Loaded).
  virtual bool LoadingResource() const = 0;
  // Fits the right-most column to the client width when ColumnSize.Stretch is set. Called at once
  // when Stretch is set; does nothing until the grid lays out its columns and overrides it.
  virtual void StretchRightColumn() {}
  // The floating footer changed: its visibility, style or height (Layout), or only what it shows.
  virtual void FooterChanged(TFooterChange Change) {}

protected:
  ~GridSettingsOwner() = default;
};

enum class TNodeType : uint8_t { cnFlat, cn3D, cnGlyph, cnLeaf };
enum class TColumnSizeLocation : uint8_t { clRegistry, clIniFile };
enum class TAdvanceDirection : uint8_t { adLeftRight, adTopBottom };
enum class TInsertPosition : uint8_t { pInsertBefore, pInsertAfter };
enum class THomeEndAction : uint8_t { heFirstLastColumn, heFirstLastRow };
enum class TPrintPosition : uint8_t { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum class TPrintBorders : uint8_t {
  pbNoborder,
  pbSingle,
  pbDouble,
  pbVertical,
  pbHorizontal,
  pbAround,
  pbAroundVertical,
  pbAroundHorizontal,
  pbCustom
};
enum class TFitToPage : uint8_t { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };
using platform::TPrinterOrientation;
enum class TSortBlankPosition : uint8_t { blFirst, blLast };
enum class TSortDirection : uint8_t { sdAscending, sdDescending };
// The look of cell check boxes, radio buttons and buttons.
enum class TControlStyle : uint8_t { csClassic, csFlat, csWinXP, csBoxed, raDUR, csGlyph, csTheme };
enum class TBackgroundDisplay : uint8_t { bdTile, bdFixed };
enum class TBackgroundCells : uint8_t { bcNormal, bcFixed };
enum class TFooterStyle : uint8_t { fsFixedLastRow, fsColumnPreview, fsCustomPreview };

// The look of node rows. NodeType and ShowTree repaint when the value changes; the glyphs are copied in.
class TCellNode : public platform::TPersistent {
public:
  explicit TCellNode(GridSettingsOwner& Owner) : owner_(Owner) {}

  TNodeType NodeType() const { return nodeType_; }
  void SetNodeType(TNodeType Value);
  bool ShowTree() const { return showTree_; }
  void SetShowTree(bool Value);
  const platform::TBitmap& ExpandGlyph() const { return expandGlyph_; }
  void SetExpandGlyph(const platform::TBitmap& Value) { expandGlyph_.Assign(Value); }
  const platform::TBitmap& ContractGlyph() const { return contractGlyph_; }
  void SetContractGlyph(const platform::TBitmap& Value) { contractGlyph_.Assign(Value); }

  platform::TColor Color = platform::clSilver;
  platform::TColor NodeColor = platform::clBlack;

private:
  GridSettingsOwner& owner_;
  TNodeType nodeType_ = TNodeType::cnFlat;
  bool showTree_ = false;
  platform::TBitmap expandGlyph_;
  platform::TBitmap contractGlyph_;
};

// Whether the cell grows with the text being typed into it.
class TSizeWhileTyping : public platform::TPersistent {
public:
  bool Height = false;
  bool Width = false;
};

// What the mouse may do in the grid.
class TMouseActions : public platform::TPersistent {
public:
  bool AllColumnSize = false;
  bool AllRowSize = false;
  bool AllSelect = false;
  bool CaretPositioning = false;
  bool ColSelect = false;
  bool DirectComboDrop = false;
  bool DirectEdit = false;
  bool DisjunctRowSelect = false;
  bool RowSelect = false;
  bool SizeFixedCol = false;
};

// Where and whether the column widths are kept, and whether the right-most column fills the grid.
class TColumnSize : public platform::TPersistent {
public:
  explicit TColumnSize(GridSettingsOwner& Owner) : owner_(Owner) {}

  bool Stretch() const { return stretch_; }
  // Stores the flag and asks the grid to stretch its right-most column at once.
  void SetStretch(bool Value);

  bool Save = false;
  std::string Key;
  std::string Section;
  bool SynchWithGrid = false;
  TColumnSizeLocation Location = TColumnSizeLocation::clRegistry;

private:
  GridSettingsOwner& owner_;
  bool stretch_ = false;
};

// How keys, Enter and the clipboard move through and change the grid.
class TNavigation : public platform::TPersistent {
public:
  bool AllowInsertRow = false;
  bool AllowDeleteRow = false;
  bool AdvanceOnEnter = false;
  bool AdvanceInsert = false;
  bool AutoGotoWhenSorted = false;
  bool AutoGotoIncremental = false;
  bool AutoComboDropSize = false;
  bool AllowClipboardShortCuts = false;
  bool AllowSmartClipboard = false;
  bool AllowRTFClipboard = false;
  bool AllowClipboardAlways = false;
  bool AdvanceAuto = false;
  bool CursorWalkEditor = false;
  bool MoveRowOnSort = false;
  bool ImproveMaskSel = false;
  bool AlwaysEdit = false;
  bool LineFeedOnEnter = false;
  bool AllowClipboardColGrow = true;
  bool AllowClipboardRowGrow = true;
  bool CopyHTMLTagsToClipboard = true;
  TAdvanceDirection AdvanceDirection = TAdvanceDirection::adLeftRight;
  TInsertPosition InsertPosition = TInsertPosition::pInsertBefore;
  THomeEndAction HomeEndKey = THomeEndAction::heFirstLastColumn;
};

// How the cells are written as an HTML table.
class TMarkupSettings : public platform::TPersistent {
public:
  int BorderSize = 1;
  int CellSpacing = 0;
  int CellPadding = 0;
  bool SaveColor = true;
  bool SaveFonts = true;
  std::string FooterFile;
  std::string HeaderFile;
  std::string TableStyle;
  std::string PrefixTag;
  std::string SuffixTag;
  int Width = 100;  // percent
  // The WIDTH attribute of each exported column, when given; not published.
  TIntList ColWidths;
};

// How the grid is printed. Sizes and spacings are in tenths of a millimetre. The fonts and the title
// lines are copied in.
class TPrintSettings : public platform::TPersistent {
public:
  platform::TFont& Font() { return font_; }
  const platform::TFont& Font() const { return font_; }
  void SetFont(const platform::TFont& Value) { font_.Assign(Value); }
  platform::TFont& HeaderFont() { return headerFont_; }
  const platform::TFont& HeaderFont() const { return headerFont_; }
  void SetHeaderFont(const platform::TFont& Value) { headerFont_.Assign(Value); }
  platform::TFont& FooterFont() { return footerFont_; }
  const platform::TFont& FooterFont() const { return footerFont_; }
  void SetFooterFont(const platform::TFont& Value) { footerFont_.Assign(Value); }
  platform::TStringList& TitleLines() { return titleLines_; }
  const platform::TStringList& TitleLines() const { return titleLines_; }
  void SetTitleLines(const platform::TStringList& Value) { titleLines_.Assign(Value); }

  int FooterSize = 0;
  int HeaderSize = 0;
  TPrintPosition Time = TPrintPosition::ppNone;
  TPrintPosition Date = TPrintPosition::ppNone;
  TPrintPosition PageNr = TPrintPosition::ppNone;
  TPrintPosition Title = TPrintPosition::ppNone;
  std::string TitleText;
  TPrintBorders Borders = TPrintBorders::pbNoborder;
  platform::TPenStyle BorderStyle = platform::TPenStyle::psSolid;
  bool Centered = false;
  bool RepeatFixedRows = false;
  bool RepeatFixedCols = false;
  int LeftSize = 0;
  int RightSize = 0;
  int ColumnSpacing = 0;
  int RowSpacing = 0;
  int TitleSpacing = 0;
  TPrinterOrientation Orientation = TPrinterOrientation::poPortrait;
  std::string PagePrefix;
  std::string PageSuffix;
  std::string PageNumSep = "/";
  std::string DateFormat = "dd/mm/yyyy";
  int FixedWidth = 0;
  int FixedHeight = 0;
  bool UseFixedHeight = false;
  bool UseFixedWidth = false;
  TFitToPage FitToPage = TFitToPage::fpNever;
  std::string JobName;
  bool NoAutoSize = false;
  bool PrintGraphics = false;

private:
  platform::TFont font_;
  platform::TFont headerFont_;
  platform::TFont footerFont_;
  platform::TStringList titleLines_;
};

// How the rows are sorted and which header row a click sorts by. The glyphs are copied in.
class TSortSettings : public platform::TPersistent {
public:
  explicit TSortSettings(GridSettingsOwner& Owner) : owner_(Owner) {}

  int Row() const { return row_; }
  // Raises EDovAdizError "Sort row should be smaller than number of fixed rows" and keeps the old row
  // when Value is above the grid's fixed-row count; not checked while a form resource is applied.
  void SetRow(int Value);
  const platform::TBitmap& UpGlyph() const { return upGlyph_; }
  void SetUpGlyph(const platform::TBitmap& Value) { upGlyph_.Assign(Value); }
  const platform::TBitmap& DownGlyph() const { return downGlyph_; }
  void SetDownGlyph(const platform::TBitmap& Value) { downGlyph_.Assign(Value); }

  bool Full = true;
  bool AutoFormat = true;
  bool AutoColumnMerge = false;
  bool Show = false;
  bool IndexShow = false;
  bool SingleColumn = false;
  bool IgnoreBlanks = false;
  bool FixedCols = false;
  bool NormalCellsOnly = false;
  int Column = 0;
  TSortBlankPosition BlankPos = TSortBlankPosition::blFirst;
  TSortDirection Direction = TSortDirection::sdAscending;

private:
  GridSettingsOwner& owner_;
  int row_ = 0;
  platform::TBitmap upGlyph_;
  platform::TBitmap downGlyph_;
};

// The look of cell check boxes, radio buttons and buttons. Every setter stores and repaints; the
// glyphs are copied in.
class TControlLook : public platform::TPersistent {
public:
  explicit TControlLook(GridSettingsOwner& Owner) : owner_(Owner) {}

  int CheckSize() const { return checkSize_; }
  void SetCheckSize(int Value);
  int RadioSize() const { return radioSize_; }
  void SetRadioSize(int Value);
  platform::TColor Color() const { return color_; }
  void SetColor(platform::TColor Value);
  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle Value);
  bool FlatButton() const { return flatButton_; }
  void SetFlatButton(bool Value);
  const platform::TBitmap& CheckedGlyph() const { return checkedGlyph_; }
  void SetCheckedGlyph(const platform::TBitmap& Value);
  const platform::TBitmap& UnCheckedGlyph() const { return unCheckedGlyph_; }
  void SetUnCheckedGlyph(const platform::TBitmap& Value);
  const platform::TBitmap& RadioOnGlyph() const { return radioOnGlyph_; }
  void SetRadioOnGlyph(const platform::TBitmap& Value);
  const platform::TBitmap& RadioOffGlyph() const { return radioOffGlyph_; }
  void SetRadioOffGlyph(const platform::TBitmap& Value);

private:
  GridSettingsOwner& owner_;
  int checkSize_ = 15;
  int radioSize_ = 10;
  platform::TColor color_ = platform::clBlack;
  TControlStyle controlStyle_ = TControlStyle::csClassic;
  bool flatButton_ = false;
  platform::TBitmap checkedGlyph_;
  platform::TBitmap unCheckedGlyph_;
  platform::TBitmap radioOnGlyph_;
  platform::TBitmap radioOffGlyph_;
};

// Rows banded in two colours: PrimaryLength rows in PrimaryColor, then SecondaryLength rows in
// SecondaryColor, repeating. Active repaints; the colours and lengths store and repaint only while
// Active. A length below 0 is taken as 0; with both lengths 0 nothing is banded.
class TBands : public platform::TPersistent {
public:
  explicit TBands(GridSettingsOwner& Owner) : owner_(Owner) {}

  bool Active() const { return active_; }
  void SetActive(bool Value);
  platform::TColor PrimaryColor() const { return primaryColor_; }
  void SetPrimaryColor(platform::TColor Value);
  int PrimaryLength() const { return primaryLength_; }
  void SetPrimaryLength(int Value);
  platform::TColor SecondaryColor() const { return secondaryColor_; }
  void SetSecondaryColor(platform::TColor Value);
  int SecondaryLength() const { return secondaryLength_; }
  void SetSecondaryLength(int Value);

  // Active and at least one band has rows: only then are rows painted in the band colours.
  bool Banding() const { return active_ && primaryLength_ + secondaryLength_ > 0; }
  // The rows of one primary and one secondary band; at least 1, so a painter may divide by it.
  int Period() const;

  bool Print = false;

private:
  void Changed();

  GridSettingsOwner& owner_;
  bool active_ = false;
  platform::TColor primaryColor_ = platform::clInfoBk;
  int primaryLength_ = 1;
  platform::TColor secondaryColor_ = platform::clWindow;
  int secondaryLength_ = 1;
};

// A bitmap behind the cells: tiled over them or fixed at (Left, Top), behind normal or fixed cells.
// Every setter stores and repaints; the bitmap is copied in.
class TBackGround : public platform::TPersistent {
public:
  explicit TBackGround(GridSettingsOwner& Owner) : owner_(Owner) {}

  int Top() const { return top_; }
  void SetTop(int Value);
  int Left() const { return left_; }
  void SetLeft(int Value);
  TBackgroundDisplay Display() const { return display_; }
  void SetDisplay(TBackgroundDisplay Value);
  TBackgroundCells Cells() const { return cells_; }
  void SetCells(TBackgroundCells Value);
  const platform::TBitmap& Bitmap() const { return bitmap_; }
  void SetBitmap(const platform::TBitmap& Value);

private:
  GridSettingsOwner& owner_;
  int top_ = 0;
  int left_ = 0;
  TBackgroundDisplay display_ = TBackgroundDisplay::bdTile;
  TBackgroundCells cells_ = TBackgroundCells::bcNormal;
  platform::TBitmap bitmap_;
};

// The footer below the rows, which the grid shows in its footer panel. Visible, FooterStyle and Height
// change the panel's layout (and whether the grid's last row is the footer), the others only what it
// shows. Height is not published: the grid sets it from DefaultRowHeight.
class TFloatingFooter : public platform::TPersistent {
public:
  explicit TFloatingFooter(GridSettingsOwner& Owner) : owner_(Owner) {}

  bool Visible() const { return visible_; }
  void SetVisible(bool Value) { Store(visible_, Value, TFooterChange::Layout); }
  TFooterStyle FooterStyle() const { return footerStyle_; }
  void SetFooterStyle(TFooterStyle Value) { Store(footerStyle_, Value, TFooterChange::Layout); }
  int Column() const { return column_; }
  void SetColumn(int Value) { Store(column_, Value, TFooterChange::Content); }
  platform::TColor Color() const { return color_; }
  void SetColor(platform::TColor Value) { Store(color_, Value, TFooterChange::Content); }
  const std::string& CustomTemplate() const { return customTemplate_; }
  void SetCustomTemplate(const std::string& Value) { Store(customTemplate_, Value, TFooterChange::Content); }
  int Height() const { return height_; }
  void SetHeight(int Value) { Store(height_, Value, TFooterChange::Layout); }
  // Repaints the panel.
  void Invalidate() { owner_.FooterChanged(TFooterChange::Content); }

private:
  template <class T>
  void Store(T& field, const T& value, TFooterChange change) {
    field = value;
    owner_.FooterChanged(change);
  }

  GridSettingsOwner& owner_;
  bool visible_ = false;
  TFooterStyle footerStyle_ = TFooterStyle::fsFixedLastRow;
  int column_ = 0;
  platform::TColor color_ = platform::clBtnFace;
  std::string customTemplate_;
  int height_ = 21;
};

// Whether the grid takes part in OLE drag and drop, and how.
class TDragDropSettings : public platform::TPersistent {
public:
  bool OleAcceptFiles = false;
  bool OleAcceptText = false;
  bool OleDropTarget = false;
  bool OleDropSource = false;
  bool OleEntireRows = false;
  bool OleInsertRows = false;
  bool OleRemoveRows = false;
  bool OleDropRTF = false;
};

// Publishes the settings classes and their enumerations for form resources; the grid's own publishing
// calls it before it publishes the grid's settings objects.
void PublishGridSettingsClasses();

}  // namespace velmora
