#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "grid/DovAdizSettings.h"
#include "platform/app/PublishedClasses.h"
#include "platform/ui/ColorIdentifiers.h"

namespace velmora {

using platform::ColorIdentifiers;
using platform::PublishEnum;
using platform::TBitmap;
using platform::TClassPublisher;

namespace {

// A glyph property: the bytes of a bitmap file, handed to the setter that copies the bitmap in.
template <class T>
auto Glyph(void (T::*set)(const TBitmap&)) {
  return [set](T& settings, const std::vector<uint8_t>& data) {
    TBitmap glyph;
    glyph.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    (settings.*set)(glyph);
  };
}

void PublishEnums() {
  PublishEnum<TNodeType>({{"cnFlat", TNodeType::cnFlat},
                          {"cn3D", TNodeType::cn3D},
                          {"cnGlyph", TNodeType::cnGlyph},
                          {"cnLeaf", TNodeType::cnLeaf}});
  PublishEnum<TColumnSizeLocation>(
      {{"clRegistry", TColumnSizeLocation::clRegistry}, {"clIniFile", TColumnSizeLocation::clIniFile}});
  PublishEnum<TAdvanceDirection>(
      {{"adLeftRight", TAdvanceDirection::adLeftRight}, {"adTopBottom", TAdvanceDirection::adTopBottom}});
  PublishEnum<TInsertPosition>(
      {{"pInsertBefore", TInsertPosition::pInsertBefore}, {"pInsertAfter", TInsertPosition::pInsertAfter}});
  PublishEnum<THomeEndAction>(
      {{"heFirstLastColumn", THomeEndAction::heFirstLastColumn}, {"heFirstLastRow", THomeEndAction::heFirstLastRow}});
  PublishEnum<TPrintPosition>({{"ppNone", TPrintPosition::ppNone},
                               {"ppTopLeft", TPrintPosition::ppTopLeft},
                               {"ppTopRight", TPrintPosition::ppTopRight},
                               {"ppTopCenter", TPrintPosition::ppTopCenter},
                               {"ppBottomLeft", TPrintPosition::ppBottomLeft},
                               {"ppBottomRight", TPrintPosition::ppBottomRight},
                               {"ppBottomCenter", TPrintPosition::ppBottomCenter}});
  PublishEnum<TPrintBorders>({{"pbNoborder", TPrintBorders::pbNoborder},
                              {"pbSingle", TPrintBorders::pbSingle},
                              {"pbDouble", TPrintBorders::pbDouble},
                              {"pbVertical", TPrintBorders::pbVertical},
                              {"pbHorizontal", TPrintBorders::pbHorizontal},
                              {"pbAround", TPrintBorders::pbAround},
                              {"pbAroundVertical", TPrintBorders::pbAroundVertical},
                              {"pbAroundHorizontal", TPrintBorders::pbAroundHorizontal},
                              {"pbCustom", TPrintBorders::pbCustom}});
  PublishEnum<platform::TPenStyle>({{"psSolid", platform::TPenStyle::psSolid},
                                    {"psDash", platform::TPenStyle::psDash},
                                    {"psDot", platform::TPenStyle::psDot},
                                    {"psDashDot", platform::TPenStyle::psDashDot},
                                    {"psDashDotDot", platform::TPenStyle::psDashDotDot},
                                    {"psClear", platform::TPenStyle::psClear},
                                    {"psInsideFrame", platform::TPenStyle::psInsideFrame}});
  PublishEnum<TFitToPage>({{"fpNever", TFitToPage::fpNever},
                           {"fpGrow", TFitToPage::fpGrow},
                           {"fpShrink", TFitToPage::fpShrink},
                           {"fpAlways", TFitToPage::fpAlways},
                           {"fpCustom", TFitToPage::fpCustom}});
  PublishEnum<TPrinterOrientation>(
      {{"poPortrait", TPrinterOrientation::poPortrait}, {"poLandscape", TPrinterOrientation::poLandscape}});
  PublishEnum<TSortBlankPosition>({{"blFirst", TSortBlankPosition::blFirst}, {"blLast", TSortBlankPosition::blLast}});
  PublishEnum<TSortDirection>({{"sdAscending", TSortDirection::sdAscending}, {"sdDescending", TSortDirection::sdDescending}});
  PublishEnum<TControlStyle>({{"csClassic", TControlStyle::csClassic},
                              {"csFlat", TControlStyle::csFlat},
                              {"csWinXP", TControlStyle::csWinXP},
                              {"csBoxed", TControlStyle::csBoxed},
                              {"raDUR", TControlStyle::raDUR},
                              {"csGlyph", TControlStyle::csGlyph},
                              {"csTheme", TControlStyle::csTheme}});
  PublishEnum<TBackgroundDisplay>({{"bdTile", TBackgroundDisplay::bdTile}, {"bdFixed", TBackgroundDisplay::bdFixed}});
  PublishEnum<TBackgroundCells>({{"bcNormal", TBackgroundCells::bcNormal}, {"bcFixed", TBackgroundCells::bcFixed}});
  PublishEnum<TFooterStyle>({{"fsFixedLastRow", TFooterStyle::fsFixedLastRow},
                             {"fsColumnPreview", TFooterStyle::fsColumnPreview},
                             {"fsCustomPreview", TFooterStyle::fsCustomPreview}});
}

void PublishLookSettings() {
  TClassPublisher<TCellNode>("TCellNode")
      .Property("Color", &TCellNode::Color, ColorIdentifiers())
      .Property("NodeType", &TCellNode::SetNodeType)
      .Property("NodeColor", &TCellNode::NodeColor, ColorIdentifiers())
      .Property("ExpandGlyph", Glyph(&TCellNode::SetExpandGlyph))
      .Property("ContractGlyph", Glyph(&TCellNode::SetContractGlyph))
      .Property("ShowTree", &TCellNode::SetShowTree);
  TClassPublisher<TControlLook>("TControlLook")
      .Property("CheckSize", &TControlLook::SetCheckSize)
      .Property("RadioSize", &TControlLook::SetRadioSize)
      .Property("Color", &TControlLook::SetColor, ColorIdentifiers())
      .Property("ControlStyle", &TControlLook::SetControlStyle)
      .Property("FlatButton", &TControlLook::SetFlatButton)
      .Property("CheckedGlyph", Glyph(&TControlLook::SetCheckedGlyph))
      .Property("UnCheckedGlyph", Glyph(&TControlLook::SetUnCheckedGlyph))
      .Property("RadioOnGlyph", Glyph(&TControlLook::SetRadioOnGlyph))
      .Property("RadioOffGlyph", Glyph(&TControlLook::SetRadioOffGlyph));
  TClassPublisher<TBands>("TBands")
      .Property("Active", &TBands::SetActive)
      .Property("PrimaryColor", &TBands::SetPrimaryColor, ColorIdentifiers())
      .Property("PrimaryLength", &TBands::SetPrimaryLength)
      .Property("SecondaryColor", &TBands::SetSecondaryColor, ColorIdentifiers())
      .Property("SecondaryLength", &TBands::SetSecondaryLength)
      .Property("Print", &TBands::Print);
  TClassPublisher<TBackGround>("TBackGround")
      .Property("Top", &TBackGround::SetTop)
      .Property("Left", &TBackGround::SetLeft)
      .Property("Display", &TBackGround::SetDisplay)
      .Property("Cells", &TBackGround::SetCells)
      .Property("Bitmap", Glyph(&TBackGround::SetBitmap));
  TClassPublisher<TFloatingFooter>("TFloatingFooter")
      .Property("Visible", &TFloatingFooter::SetVisible)
      .Property("FooterStyle", &TFloatingFooter::SetFooterStyle)
      .Property("Column", &TFloatingFooter::SetColumn)
      .Property("Color", &TFloatingFooter::SetColor, ColorIdentifiers())
      .Property("CustomTemplate", &TFloatingFooter::SetCustomTemplate);
}

void PublishBehaviourSettings() {
  TClassPublisher<TSizeWhileTyping>("TSizeWhileTyping")
      .Property("Height", &TSizeWhileTyping::Height)
      .Property("Width", &TSizeWhileTyping::Width);
  TClassPublisher<TMouseActions>("TMouseActions")
      .Property("AllColumnSize", &TMouseActions::AllColumnSize)
      .Property("AllRowSize", &TMouseActions::AllRowSize)
      .Property("AllSelect", &TMouseActions::AllSelect)
      .Property("CaretPositioning", &TMouseActions::CaretPositioning)
      .Property("ColSelect", &TMouseActions::ColSelect)
      .Property("DirectComboDrop", &TMouseActions::DirectComboDrop)
      .Property("DirectEdit", &TMouseActions::DirectEdit)
      .Property("DisjunctRowSelect", &TMouseActions::DisjunctRowSelect)
      .Property("RowSelect", &TMouseActions::RowSelect)
      .Property("SizeFixedCol", &TMouseActions::SizeFixedCol);
  TClassPublisher<TColumnSize>("TColumnSize")
      .Property("Save", &TColumnSize::Save)
      .Property("Key", &TColumnSize::Key)
      .Property("Section", &TColumnSize::Section)
      .Property("Stretch", &TColumnSize::SetStretch)
      .Property("SynchWithGrid", &TColumnSize::SynchWithGrid)
      .Property("Location", &TColumnSize::Location);
  TClassPublisher<TNavigation>("TNavigation")
      .Property("AllowInsertRow", &TNavigation::AllowInsertRow)
      .Property("AllowDeleteRow", &TNavigation::AllowDeleteRow)
      .Property("AdvanceOnEnter", &TNavigation::AdvanceOnEnter)
      .Property("AdvanceInsert", &TNavigation::AdvanceInsert)
      .Property("AutoGotoWhenSorted", &TNavigation::AutoGotoWhenSorted)
      .Property("AutoGotoIncremental", &TNavigation::AutoGotoIncremental)
      .Property("AutoComboDropSize", &TNavigation::AutoComboDropSize)
      .Property("AllowClipboardShortCuts", &TNavigation::AllowClipboardShortCuts)
      .Property("AllowSmartClipboard", &TNavigation::AllowSmartClipboard)
      .Property("AllowRTFClipboard", &TNavigation::AllowRTFClipboard)
      .Property("AllowClipboardAlways", &TNavigation::AllowClipboardAlways)
      .Property("AdvanceAuto", &TNavigation::AdvanceAuto)
      .Property("CursorWalkEditor", &TNavigation::CursorWalkEditor)
      .Property("MoveRowOnSort", &TNavigation::MoveRowOnSort)
      .Property("ImproveMaskSel", &TNavigation::ImproveMaskSel)
      .Property("AlwaysEdit", &TNavigation::AlwaysEdit)
      .Property("LineFeedOnEnter", &TNavigation::LineFeedOnEnter)
      .Property("AllowClipboardColGrow", &TNavigation::AllowClipboardColGrow)
      .Property("AllowClipboardRowGrow", &TNavigation::AllowClipboardRowGrow)
      .Property("CopyHTMLTagsToClipboard", &TNavigation::CopyHTMLTagsToClipboard)
      .Property("AdvanceDirection", &TNavigation::AdvanceDirection)
      .Property("InsertPosition", &TNavigation::InsertPosition)
      .Property("HomeEndKey", &TNavigation::HomeEndKey);
  TClassPublisher<TSortSettings>("TSortSettings")
      .Property("Full", &TSortSettings::Full)
      .Property("AutoFormat", &TSortSettings::AutoFormat)
      .Property("AutoColumnMerge", &TSortSettings::AutoColumnMerge)
      .Property("Show", &TSortSettings::Show)
      .Property("IndexShow", &TSortSettings::IndexShow)
      .Property("SingleColumn", &TSortSettings::SingleColumn)
      .Property("IgnoreBlanks", &TSortSettings::IgnoreBlanks)
      .Property("FixedCols", &TSortSettings::FixedCols)
      .Property("NormalCellsOnly", &TSortSettings::NormalCellsOnly)
      .Property("Column", &TSortSettings::Column)
      .Property("Row", &TSortSettings::SetRow)
      .Property("BlankPos", &TSortSettings::BlankPos)
      .Property("Direction", &TSortSettings::Direction)
      .Property("UpGlyph", Glyph(&TSortSettings::SetUpGlyph))
      .Property("DownGlyph", Glyph(&TSortSettings::SetDownGlyph));
  TClassPublisher<TDragDropSettings>("TDragDropSettings")
      .Property("OleAcceptFiles", &TDragDropSettings::OleAcceptFiles)
      .Property("OleAcceptText", &TDragDropSettings::OleAcceptText)
      .Property("OleDropTarget", &TDragDropSettings::OleDropTarget)
      .Property("OleDropSource", &TDragDropSettings::OleDropSource)
      .Property("OleEntireRows", &TDragDropSettings::OleEntireRows)
      .Property("OleInsertRows", &TDragDropSettings::OleInsertRows)
      .Property("OleRemoveRows", &TDragDropSettings::OleRemoveRows)
      .Property("OleDropRTF", &TDragDropSettings::OleDropRTF);
}

void PublishExchangeSettings() {
  TClassPublisher<TMarkupSettings>("TMarkupSettings")
      .Property("BorderSize", &TMarkupSettings::BorderSize)
      .Property("CellSpacing", &TMarkupSettings::CellSpacing)
      .Property("CellPadding", &TMarkupSettings::CellPadding)
      .Property("SaveColor", &TMarkupSettings::SaveColor)
      .Property("SaveFonts", &TMarkupSettings::SaveFonts)
      .Property("FooterFile", &TMarkupSettings::FooterFile)
      .Property("HeaderFile", &TMarkupSettings::HeaderFile)
      .Property("TableStyle", &TMarkupSettings::TableStyle)
      .Property("PrefixTag", &TMarkupSettings::PrefixTag)
      .Property("SuffixTag", &TMarkupSettings::SuffixTag)
      .Property("Width", &TMarkupSettings::Width);
  using Font = platform::TFont& (TPrintSettings::*)();
  TClassPublisher<TPrintSettings>("TPrintSettings")
      .Property("FooterSize", &TPrintSettings::FooterSize)
      .Property("HeaderSize", &TPrintSettings::HeaderSize)
      .Property("Time", &TPrintSettings::Time)
      .Property("Date", &TPrintSettings::Date)
      .Property("DateFormat", &TPrintSettings::DateFormat)
      .Property("PageNr", &TPrintSettings::PageNr)
      .Property("Title", &TPrintSettings::Title)
      .Property("TitleText", &TPrintSettings::TitleText)
      .Property("TitleLines",
                [](TPrintSettings& settings, const std::vector<std::string>& lines) {
                  platform::TStringList list;
                  for (const std::string& line : lines) list.Add(line);
                  settings.SetTitleLines(list);
                })
      .Object("Font", static_cast<Font>(&TPrintSettings::Font))
      .Object("HeaderFont", static_cast<Font>(&TPrintSettings::HeaderFont))
      .Object("FooterFont", static_cast<Font>(&TPrintSettings::FooterFont))
      .Property("Borders", &TPrintSettings::Borders)
      .Property("BorderStyle", &TPrintSettings::BorderStyle)
      .Property("Centered", &TPrintSettings::Centered)
      .Property("RepeatFixedRows", &TPrintSettings::RepeatFixedRows)
      .Property("RepeatFixedCols", &TPrintSettings::RepeatFixedCols)
      .Property("LeftSize", &TPrintSettings::LeftSize)
      .Property("RightSize", &TPrintSettings::RightSize)
      .Property("ColumnSpacing", &TPrintSettings::ColumnSpacing)
      .Property("RowSpacing", &TPrintSettings::RowSpacing)
      .Property("TitleSpacing", &TPrintSettings::TitleSpacing)
      .Property("Orientation", &TPrintSettings::Orientation)
      .Property("PagePrefix", &TPrintSettings::PagePrefix)
      .Property("PageSuffix", &TPrintSettings::PageSuffix)
      .Property("PageNumSep", &TPrintSettings::PageNumSep)
      .Property("FixedWidth", &TPrintSettings::FixedWidth)
      .Property("FixedHeight", &TPrintSettings::FixedHeight)
      .Property("UseFixedHeight", &TPrintSettings::UseFixedHeight)
      .Property("UseFixedWidth", &TPrintSettings::UseFixedWidth)
      .Property("FitToPage", &TPrintSettings::FitToPage)
      .Property("JobName", &TPrintSettings::JobName)
      .Property("NoAutoSize", &TPrintSettings::NoAutoSize)
      .Property("PrintGraphics", &TPrintSettings::PrintGraphics);
}

}  // namespace

void PublishGridSettingsClasses() {
  PublishEnums();
  PublishLookSettings();
  PublishBehaviourSettings();
  PublishExchangeSettings();
}

}  // namespace velmora
