#include "grid/DovAdizClasses.h"

#include <string>
#include <vector>

#include "controls/html/PictureContainer.h"
#include "grid/DovAdiz.h"
#include "platform/app/PublishedClasses.h"
#include "platform/ui/ColorIdentifiers.h"
#include "platform/ui/ImgList.h"

namespace velmora {

using platform::ColorIdentifiers;
using platform::EPropertyValueError;
using platform::PublishEnum;
using platform::TClassPublisher;
using platform::TGridOption;
using platform::TStringList;

namespace {

// A string-list property: the resource's list, handed to the setter that copies it in.
auto Lines(void (VUraRazuduVova::*set)(const TStringList&)) {
  return [set](VUraRazuduVova& grid, const std::vector<std::string>& lines) {
    TStringList list;
    for (const std::string& line : lines) list.Add(line);
    (grid.*set)(list);
  };
}

// ColWidths = list("50", "222", ...): the widths of the first columns, in pixels.
void SetColWidths(VUraRazuduVova& grid, const std::vector<std::string>& widths) {
  for (size_t i = 0; i < widths.size(); ++i) {
    size_t used = 0;
    int width = -1;
    try {
      width = std::stoi(widths[i], &used);
    } catch (const std::exception&) {
    }
    if (used != widths[i].size() || width < 0)
      throw EPropertyValueError("\"" + widths[i] + "\" is not a column width");
    if (static_cast<int>(i) < grid.ColCount()) grid.SetColWidths(static_cast<int>(i), width);
  }
}

void PublishEnums() {
  PublishEnum<TGridOption>({{"goFixedVertLine", TGridOption::goFixedVertLine},
                            {"goFixedHorzLine", TGridOption::goFixedHorzLine},
                            {"goVertLine", TGridOption::goVertLine},
                            {"goHorzLine", TGridOption::goHorzLine},
                            {"goRangeSelect", TGridOption::goRangeSelect},
                            {"goDrawFocusSelected", TGridOption::goDrawFocusSelected},
                            {"goRowSizing", TGridOption::goRowSizing},
                            {"goColSizing", TGridOption::goColSizing},
                            {"goRowMoving", TGridOption::goRowMoving},
                            {"goColMoving", TGridOption::goColMoving},
                            {"goEditing", TGridOption::goEditing},
                            {"goTabs", TGridOption::goTabs},
                            {"goRowSelect", TGridOption::goRowSelect},
                            {"goAlwaysShowEditor", TGridOption::goAlwaysShowEditor},
                            {"goThumbTracking", TGridOption::goThumbTracking}});
  platform::PublishSet<platform::TGridOptions, TGridOption>();
  PublishEnum<TVAlignment>(
      {{"vtaTop", TVAlignment::vtaTop}, {"vtaCenter", TVAlignment::vtaCenter}, {"vtaBottom", TVAlignment::vtaBottom}});
  PublishEnum<TGridLook>({{"glStandard", TGridLook::glStandard}, {"glSoft", TGridLook::glSoft}});
  PublishEnum<TIntelliPan>({{"ipVertical", TIntelliPan::ipVertical},
                            {"ipHorizontal", TIntelliPan::ipHorizontal},
                            {"ipBoth", TIntelliPan::ipBoth},
                            {"ipNone", TIntelliPan::ipNone}});
  PublishEnum<TScrollType>(
      {{"ssNormal", TScrollType::ssNormal}, {"ssFlat", TScrollType::ssFlat}, {"ssEncarta", TScrollType::ssEncarta}});
  PublishEnum<TScrollHintType>({{"shNone", TScrollHintType::shNone},
                                {"shVertical", TScrollHintType::shVertical},
                                {"shHorizontal", TScrollHintType::shHorizontal},
                                {"shBoth", TScrollHintType::shBoth}});
}

void PublishFilterData() {
  TClassPublisher<TFilterData>("TFilterData")
      .Property("Column", &TFilterData::Column)
      .Property("Condition", &TFilterData::Condition)
      .Property("CaseSensitive", &TFilterData::CaseSensitive);
}

}  // namespace

void PublishDovAdizClasses() {
  PublishGridSettingsClasses();
  PublishEnums();
  PublishFilterData();
  TClassPublisher<VUraRazuduVova, platform::TCustomControl>("VUraRazuduVova")
      // The counts first: the sizes and headers below apply to the columns and rows they make.
      .Property("ColCount", &VUraRazuduVova::SetColCount)
      .Property("RowCount", &VUraRazuduVova::SetRowCount)
      .Property("FixedCols", &VUraRazuduVova::SetFixedCols)
      .Property("FixedRows", &VUraRazuduVova::SetFixedRows)
      .Property("FixedRightCols", &VUraRazuduVova::SetFixedRightCols)
      .Property("FixedFooters", &VUraRazuduVova::SetFixedFooters)
      .Property("FixedRowAlways", &VUraRazuduVova::FixedRowAlways)
      .Property("FixedColAlways", &VUraRazuduVova::FixedColAlways)
      .Property("DefaultColWidth", &VUraRazuduVova::SetDefaultColWidth)
      .Property("DefaultRowHeight", &VUraRazuduVova::SetDefaultRowHeight)
      .Property("FixedColWidth", &VUraRazuduVova::SetFixedColWidth)
      .Property("FixedRowHeight", &VUraRazuduVova::SetFixedRowHeight)
      .Property("ColWidths", [](VUraRazuduVova& grid, const std::vector<std::string>& widths) { SetColWidths(grid, widths); })
      .Property("Options", &VUraRazuduVova::SetOptions)
      .Property("FixedColor", &VUraRazuduVova::SetFixedColor, ColorIdentifiers())
      .Property("GridLineColor", &VUraRazuduVova::SetGridLineColor, ColorIdentifiers())
      .Property("GridLineWidth", &VUraRazuduVova::SetGridLineWidth)
      .Property("IntegralHeigth", &VUraRazuduVova::SetIntegralHeight)
      .Object("FloatingFooter", &VUraRazuduVova::FloatingFooter)
      .Object("PrintSettings", &VUraRazuduVova::PrintSettings)
      .Object("HTMLSettings", &VUraRazuduVova::HTMLSettings)
      .Object("SortSettings", &VUraRazuduVova::SortSettings)
      .Object("DragDropSettings", &VUraRazuduVova::DragDropSettings)
      .Object("ControlLook", &VUraRazuduVova::ControlLook)
      .Object("Navigation", &VUraRazuduVova::Navigation)
      .Object("ColumnSize", &VUraRazuduVova::ColumnSize)
      .Object("CellNode", &VUraRazuduVova::CellNode)
      .Object("Bands", &VUraRazuduVova::Bands)
      .Object("SizeWhileTyping", &VUraRazuduVova::SizeWhileTyping)
      .Object("MouseActions", &VUraRazuduVova::MouseActions)
      .Object("BackGround", &VUraRazuduVova::BackGround)
      .Object("FixedFont", &VUraRazuduVova::FixedFont)
      .Object("ActiveCellFont", &VUraRazuduVova::ActiveCellFont)
      .Collection("Filter", &VUraRazuduVova::Filter)
      .Property("FilterActive", &VUraRazuduVova::SetFilterActive)
      .Property("ColumnHeaders", Lines(&VUraRazuduVova::SetColumnHeaders))
      .Property("RowHeaders", Lines(&VUraRazuduVova::SetRowHeaders))
      .Property("LookupItems", Lines(&VUraRazuduVova::SetLookupItems))
      .Property("GridImages", &VUraRazuduVova::SetImages)
      .Property("PictureContainer", &VUraRazuduVova::SetPictureContainer)
      .Property("ActiveCellShow", &VUraRazuduVova::ActiveCellShow)
      .Property("AnchorHint", &VUraRazuduVova::AnchorHint)
      .Property("AutoNumAlign", &VUraRazuduVova::AutoNumAlign)
      .Property("VAlignment", &VUraRazuduVova::SetVAlignment)
      .Property("EnhTextSize", &VUraRazuduVova::EnhTextSize)
      .Property("EditWithTags", &VUraRazuduVova::EditWithTags)
      .Property("EnhRowColMove", &VUraRazuduVova::EnhRowColMove)
      .Property("SizeWithForm", &VUraRazuduVova::SizeWithForm)
      .Property("Multilinecells", &VUraRazuduVova::Multilinecells)
      .Property("EnableHTML", &VUraRazuduVova::EnableHTML)
      .Property("EnableWheel", &VUraRazuduVova::EnableWheel)
      .Property("ExcelStyleDecimalSeparator", &VUraRazuduVova::ExcelStyleDecimalSeparator)
      .Property("Look", &VUraRazuduVova::SetLook)
      .Property("HintColor", &VUraRazuduVova::HintColor, ColorIdentifiers())
      .Property("SelectionColor", &VUraRazuduVova::SetSelectionColor, ColorIdentifiers())
      .Property("SelectionTextColor", &VUraRazuduVova::SetSelectionTextColor, ColorIdentifiers())
      .Property("SelectionRectangle", &VUraRazuduVova::SetSelectionRectangle)
      .Property("SelectionRTFKeep", &VUraRazuduVova::SelectionRTFKeep)
      .Property("HintShowCells", &VUraRazuduVova::HintShowCells)
      .Property("HintShowLargeText", &VUraRazuduVova::HintShowLargeText)
      .Property("HintShowSizing", &VUraRazuduVova::HintShowSizing)
      .Property("MaxEditLength", &VUraRazuduVova::SetMaxEditLength)
      .Property("IntelliPan", &VUraRazuduVova::IntelliPan)
      .Property("IntelliZoom", &VUraRazuduVova::IntelliZoom)
      .Property("URLColor", &VUraRazuduVova::SetURLColor, ColorIdentifiers())
      .Property("URLShow", &VUraRazuduVova::SetURLShow)
      .Property("URLFull", &VUraRazuduVova::SetURLFull)
      .Property("URLEdit", &VUraRazuduVova::URLEdit)
      .Property("ScrollType", &VUraRazuduVova::SetScrollType)
      .Property("ScrollColor", &VUraRazuduVova::SetScrollColor, ColorIdentifiers())
      .Property("ScrollWidth", &VUraRazuduVova::SetScrollWidth)
      .Property("ScrollSynch", &VUraRazuduVova::ScrollSynch)
      .Property("ScrollProportional", &VUraRazuduVova::SetScrollProportional)
      .Property("ScrollHints", &VUraRazuduVova::ScrollHints)
      .Property("OemConvert", &VUraRazuduVova::OemConvert)
      .Property("FixedAsButtons", &VUraRazuduVova::FixedAsButtons)
      .Property("FloatFormat", &VUraRazuduVova::FloatFormat)
      .Property("Lookup", &VUraRazuduVova::Lookup)
      .Property("LookupCaseSensitive", &VUraRazuduVova::LookupCaseSensitive)
      .Property("LookupHistory", &VUraRazuduVova::LookupHistory)
      .Property("ShowSelection", &VUraRazuduVova::SetShowSelection)
      .Property("HideFocusRect", &VUraRazuduVova::HideFocusRect)
      .Property("Hovering", &VUraRazuduVova::Hovering)
      .Property("OnGetDisplText", &VUraRazuduVova::OnGetDisplText)
      .Property("OnGetCellColor", &VUraRazuduVova::OnGetCellColor)
      .Property("OnGetCellPrintColor", &VUraRazuduVova::OnGetCellPrintColor)
      .Property("OnGetCellBorder", &VUraRazuduVova::OnGetCellBorder)
      .Property("OnGetCellPrintBorder", &VUraRazuduVova::OnGetCellPrintBorder)
      .Property("OnGetCellBorderProp", &VUraRazuduVova::OnGetCellBorderProp)
      .Property("OnGetAlignment", &VUraRazuduVova::OnGetAlignment)
      .Property("OnGetFormat", &VUraRazuduVova::OnGetFormat)
      .Property("OnGetCheckTrue", &VUraRazuduVova::OnGetCheckTrue)
      .Property("OnGetCheckFalse", &VUraRazuduVova::OnGetCheckFalse)
      .Property("OnGridHint", &VUraRazuduVova::OnGridHint)
      .Property("OnRowChanging", &VUraRazuduVova::OnRowChanging)
      .Property("OnColChanging", &VUraRazuduVova::OnColChanging)
      .Property("OnCellChanging", &VUraRazuduVova::OnCellChanging)
      .Property("OnCanAddRow", &VUraRazuduVova::OnCanAddRow)
      .Property("OnAutoAddRow", &VUraRazuduVova::OnAutoAddRow)
      .Property("OnAutoInsertRow", &VUraRazuduVova::OnAutoInsertRow)
      .Property("OnAutoDeleteRow", &VUraRazuduVova::OnAutoDeleteRow)
      .Property("OnCanInsertRow", &VUraRazuduVova::OnCanInsertRow)
      .Property("OnCanDeleteRow", &VUraRazuduVova::OnCanDeleteRow)
      .Property("OnAutoInsertCol", &VUraRazuduVova::OnAutoInsertCol)
      .Property("OnClickSort", &VUraRazuduVova::OnClickSort)
      .Property("OnCanSort", &VUraRazuduVova::OnCanSort)
      .Property("OnExpandNode", &VUraRazuduVova::OnExpandNode)
      .Property("OnContractNode", &VUraRazuduVova::OnContractNode)
      .Property("OnCustomCompare", &VUraRazuduVova::OnCustomCompare)
      .Property("OnRawCompare", &VUraRazuduVova::OnRawCompare)
      .Property("OnClickCell", &VUraRazuduVova::OnClickCell)
      .Property("OnRightClickCell", &VUraRazuduVova::OnRightClickCell)
      .Property("OnDblClickCell", &VUraRazuduVova::OnDblClickCell)
      .Property("OnCanEditCell", &VUraRazuduVova::OnCanEditCell)
      .Property("OnIsFixedCell", &VUraRazuduVova::OnIsFixedCell)
      .Property("OnIsPasswordCell", &VUraRazuduVova::OnIsPasswordCell)
      .Property("OnAnchorClick", &VUraRazuduVova::OnAnchorClick)
      .Property("OnAnchorEnter", &VUraRazuduVova::OnAnchorEnter)
      .Property("OnAnchorExit", &VUraRazuduVova::OnAnchorExit)
      .Property("OnAnchorHint", &VUraRazuduVova::OnAnchorHint)
      .Property("OnClipboardPaste", &VUraRazuduVova::OnClipboardPaste)
      .Property("OnClipboardCopy", &VUraRazuduVova::OnClipboardCopy)
      .Property("OnClipboardCut", &VUraRazuduVova::OnClipboardCut)
      .Property("OnCellValidate", &VUraRazuduVova::OnCellValidate)
      .Property("OnCellsChanged", &VUraRazuduVova::OnCellsChanged)
      .Property("OnFileProgress", &VUraRazuduVova::OnFileProgress)
      .Property("OnFilterProgress", &VUraRazuduVova::OnFilterProgress)
      .Property("OnGetEditorType", &VUraRazuduVova::OnGetEditorType)
      .Property("OnGetEditorProp", &VUraRazuduVova::OnGetEditorProp)
      .Property("OnEllipsClick", &VUraRazuduVova::OnEllipsClick)
      .Property("OnButtonClick", &VUraRazuduVova::OnButtonClick)
      .Property("OnCheckBoxClick", &VUraRazuduVova::OnCheckBoxClick)
      .Property("OnCheckBoxMouseUp", &VUraRazuduVova::OnCheckBoxMouseUp)
      .Property("OnRadioClick", &VUraRazuduVova::OnRadioClick)
      .Property("OnRadioMouseUp", &VUraRazuduVova::OnRadioMouseUp)
      .Property("OnComboChange", &VUraRazuduVova::OnComboChange)
      .Property("OnComboObjectChange", &VUraRazuduVova::OnComboObjectChange)
      .Property("OnSpinClick", &VUraRazuduVova::OnSpinClick)
      .Property("OnFloatSpinClick", &VUraRazuduVova::OnFloatSpinClick)
      .Property("OnTimeSpinClick", &VUraRazuduVova::OnTimeSpinClick)
      .Property("OnDateSpinClick", &VUraRazuduVova::OnDateSpinClick)
      .Property("OnRichEditSelectionChange", &VUraRazuduVova::OnRichEditSelectionChange)
      .Property("OnOleDrop", &VUraRazuduVova::OnOleDrop)
      .Property("OnOleDropped", &VUraRazuduVova::OnOleDropped)
      .Property("OnOleDrag", &VUraRazuduVova::OnOleDrag)
      .Property("OnOleDragOver", &VUraRazuduVova::OnOleDragOver)
      .Property("OnOleDragStart", &VUraRazuduVova::OnOleDragStart)
      .Property("OnOleDragStop", &VUraRazuduVova::OnOleDragStop)
      .Property("OnOleDropCol", &VUraRazuduVova::OnOleDropCol)
      .Property("OnScrollHint", &VUraRazuduVova::OnScrollHint)
      .Property("OnColumnSize", &VUraRazuduVova::OnColumnSize)
      .Property("OnColumnMove", &VUraRazuduVova::OnColumnMove)
      .Property("OnRowSize", &VUraRazuduVova::OnRowSize)
      .Property("OnRowMove", &VUraRazuduVova::OnRowMove)
      .Property("OnEndColumnSize", &VUraRazuduVova::OnEndColumnSize)
      .Property("OnEndRowSize", &VUraRazuduVova::OnEndRowSize)
      .Property("OnPrintStart", &VUraRazuduVova::OnPrintStart)
      .Property("OnPrintPage", &VUraRazuduVova::OnPrintPage)
      .Property("OnPrintPageDone", &VUraRazuduVova::OnPrintPageDone)
      .Property("OnPrintNewPage", &VUraRazuduVova::OnPrintNewPage)
      .Property("OnPrintSetColumnWidth", &VUraRazuduVova::OnPrintSetColumnWidth)
      .Property("OnPrintSetRowHeight", &VUraRazuduVova::OnPrintSetRowHeight)
      .Property("OnFitToPage", &VUraRazuduVova::OnFitToPage);
}

}  // namespace velmora
