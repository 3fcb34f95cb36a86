#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "grid/BaseGrid.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exception.h"
#include "platform/core/Set.h"
#include "platform/gfx/Canvas.h"
#include "platform/grids/Grids.h"
#include "platform/ui/ControlAppearance.h"

namespace velmora {

// The grid's own errors (values that are not what a view asks for, files and exchange); the message
// is the fixed English text of each case.
class EDovAdizError : public platform::Exception {
public:
  using Exception::Exception;
};

// Classes of the grid that the events name but that live elsewhere in the grid component.
class TCellGraphic;
class TEditLink;

// The editor kind of a cell (one byte, 27 values in this order).
enum class TEditorType : uint8_t {
  edNormal,
  edSpinEdit,
  edComboEdit,
  edComboList,
  edEditBtn,
  edCheckBox,
  edDateEdit,
  edDateEditUpDown,
  edTimeEdit,
  edButton,
  edDataCheckBox,
  edNumeric,
  edPositiveNumeric,
  edFloat,
  edCapital,
  edMixedCase,
  edPassword,
  edUnitEditBtn,
  edLowerCase,
  edUpperCase,
  edFloatSpinEdit,
  edTimeSpinEdit,
  edDateSpinEdit,
  edNumericEditBtn,
  edFloatEditBtn,
  edCustom,
  edRichEdit,
};

// How a column's texts compare when sorting (and how they are formatted).
enum class TSortStyle : uint8_t {
  ssAutomatic,
  ssAlphabetic,
  ssNumeric,
  ssDate,
  ssAlphaNoCase,
  ssAlphaCase,
  ssShortDateEU,
  ssShortDateUS,
  ssCustom,
  ssFinancial,
  ssAnsiAlphaCase,
  ssAnsiAlphaNoCase,
  ssRaw,
  ssHTML,
  ssImages,
};

// The kind of a cell's graphic; a cell without one reports ctEmpty.
enum class TCellType : uint8_t {
  ctBitmap,
  ctIcon,
  ctNone,
  ctImageList,
  ctCheckBox,
  ctDataCheckBox,
  ctRotated,
  ctDataImage,
  ctNode,
  ctRadio,
  ctEmpty,
  ctImages,
  ctPicture,
  ctFilePicture,
  ctValue,
  ctProgress,
  ctComment,
  ctButton,
  ctBitButton,
};

// The sides of a cell that get a border line (bits 1, 2, 4, 8).
enum class TCellBorder : uint8_t { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = platform::TSet<TCellBorder>;

// What the last clipboard operation was.
enum class TClipOperation : uint8_t { coCut, coCopy };

// The grid's events. Grid-level cell events pass the row before the column, cell-control events the
// column first; a query event's var parameter arrives with its default and the handler may change it.
using TGridColorEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, platform::TGridDrawState AState,
                                           platform::TBrush& ABrush, platform::TFont& AFont)>;
using TGridBorderEvent =
    std::function<void(platform::TObject* Sender, int ARow, int ACol, platform::TPen& APen, TCellBorders& Borders)>;
using TGridBorderPropEvent =
    std::function<void(platform::TObject* Sender, int ARow, int ACol, platform::TPen& LeftPen, platform::TPen& TopPen,
                       platform::TPen& RightPen, platform::TPen& BottomPen)>;
using TGridAlignEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, platform::TAlignment& HAlign,
                                           TVAlignment& VAlign)>;
using TGridFormatEvent = std::function<void(platform::TObject* Sender, int ACol, TSortStyle& AStyle,
                                            std::string& aPrefix, std::string& aSuffix)>;
using TGetCheckEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TGridHintEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, std::string& hintstr)>;
using TRowChangingEvent = std::function<void(platform::TObject* Sender, int OldRow, int NewRow, bool& Allow)>;
using TColChangingEvent = std::function<void(platform::TObject* Sender, int OldCol, int NewCol, bool& Allow)>;
using TCellChangingEvent =
    std::function<void(platform::TObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)>;
using TCanAddRowEvent = std::function<void(platform::TObject* Sender, bool& CanAdd)>;
using TAutoAddRowEvent = std::function<void(platform::TObject* Sender, int ARow)>;
using TAutoInsertRowEvent = std::function<void(platform::TObject* Sender, int ARow)>;
using TAutoDeleteRowEvent = std::function<void(platform::TObject* Sender, int ARow)>;
using TCanInsertRowEvent = std::function<void(platform::TObject* Sender, int ARow, bool& CanInsert)>;
using TCanDeleteRowEvent = std::function<void(platform::TObject* Sender, int ARow, bool& CanDelete)>;
using TAutoInsertColEvent = std::function<void(platform::TObject* Sender, int ACol)>;
using TClickSortEvent = std::function<void(platform::TObject* Sender, int ACol)>;
using TCanSortEvent = std::function<void(platform::TObject* Sender, int ACol, bool& DoSort)>;
using TNodeClickEvent = std::function<void(platform::TObject* Sender, int ARow, int ARowreal)>;
using TCustomCompareEvent =
    std::function<void(platform::TObject* Sender, const std::string& str1, const std::string& str2, int& Res)>;
using TRawCompareEvent = std::function<void(platform::TObject* Sender, int Col, int Row1, int Row2, int& Res)>;
using TClickCellEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol)>;
using TCanEditCellEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, bool& CanEdit)>;
using TIsFixedCellEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, bool& IsFixed)>;
using TIsPasswordCellEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, bool& IsPassword)>;
using TAnchorClickEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, const std::string& Anchor,
                                             bool& AutoHandle)>;
using TAnchorEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, const std::string& Anchor)>;
using TAnchorHintEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, std::string& Anchor)>;
using TClipboardEvent = std::function<void(platform::TObject* Sender, bool& Allow)>;
using TCellValidateEvent =
    std::function<void(platform::TObject* Sender, int Col, int Row, std::string& Value, bool& Valid)>;
using TCellsChangedEvent = std::function<void(platform::TObject* Sender, const platform::TRect& R)>;
using TGridProgressEvent = std::function<void(platform::TObject* Sender, int16_t progress)>;
using TGetEditorTypeEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, TEditorType& AEditor)>;
using TGetEditorPropEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, TEditLink* AEditLink)>;
using TEllipsClickEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, std::string& S)>;
using TButtonClickEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow)>;
using TCheckBoxClickEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, bool State)>;
using TRadioClickEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, int AIdx)>;
using TComboChangeEvent =
    std::function<void(platform::TObject* Sender, int ACol, int ARow, int AItemIndex, const std::string& ASelection)>;
using TComboObjectChangeEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, int AItemIndex,
                                                   const std::string& ASelection, platform::TObject* AObject)>;
using TSpinClickEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, int AValue, bool UpDown)>;
using TFloatSpinClickEvent =
    std::function<void(platform::TObject* Sender, int ACol, int ARow, double AValue, bool UpDown)>;
using TDateTimeSpinClickEvent =
    std::function<void(platform::TObject* Sender, int ACol, int ARow, platform::TDateTime AValue, bool UpDown)>;
using TOleDragDropEvent =
    std::function<void(platform::TObject* Sender, int ARow, int ACol, const std::string& data, bool& Allow)>;
using TOleDroppedEvent = std::function<void(platform::TObject* Sender, const platform::TGridRect& ARect)>;
using TOleDragOverEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, bool& Allow)>;
using TOleDragStartEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol)>;
using TOleDragStopEvent = std::function<void(platform::TObject* Sender, int OLEEffect)>;
using TOleDropColEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, int DropCol)>;
using TScrollHintEvent = std::function<void(platform::TObject* Sender, int ARow, std::string& hintstr)>;
using TColumnSizeEvent = std::function<void(platform::TObject* Sender, int ACol, bool& Allow)>;
using TRowSizeEvent = std::function<void(platform::TObject* Sender, int ARow, bool& Allow)>;
using TEndColumnSizeEvent = std::function<void(platform::TObject* Sender, int ACol)>;
using TEndRowSizeEvent = std::function<void(platform::TObject* Sender, int ARow)>;
using TPrintStartEvent = std::function<void(platform::TObject* Sender, int NrOfPages, int& FromPage, int& ToPage)>;
using TPrintPageEvent = std::function<void(platform::TObject* Sender, platform::TCanvas& Canvas, int PageNr,
                                           int PageXSize, int PageYSize)>;
using TPrintPageDoneEvent = std::function<void(platform::TObject* Sender, platform::TCanvas& Canvas, int LastRow,
                                               int LastRowOffset, int LastPage, int PageXSize, int PageYSize)>;
using TPrintNewPageEvent = std::function<void(platform::TObject* Sender, int ARow, bool& NewPage)>;
using TPrintColumnWidthEvent = std::function<void(platform::TObject* Sender, int ACol, int& Width)>;
using TPrintRowHeightEvent = std::function<void(platform::TObject* Sender, int ARow, int& Height)>;
using TFitToPageEvent = std::function<void(platform::TObject* Sender, double& ScaleFactor, bool& Allow)>;

}  // namespace velmora
