#include "platform/ui/ControlClasses.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ColorIdentifiers.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/app/PublishedClasses.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/StdCtrls.h"

namespace platform {

namespace {

void PublishFramework() {
  PublishEnum<TFontStyle>({{"fsBold", TFontStyle::fsBold},
                           {"fsItalic", TFontStyle::fsItalic},
                           {"fsUnderline", TFontStyle::fsUnderline},
                           {"fsStrikeOut", TFontStyle::fsStrikeOut}});
  PublishSet<TFontStyles, TFontStyle>();
  TClassPublisher<TFont>("TFont")
      .Property("Name", &TFont::SetName)
      .Property("Size", &TFont::SetSize)
      .Property("Height", &TFont::SetHeight)
      .Property("Style", &TFont::SetStyle)
      .Property("Color", &TFont::SetColor, ColorIdentifiers());
  TClassPublisher<TSizeConstraints>("TSizeConstraints")
      .Property("MaxHeight", &TSizeConstraints::SetMaxHeight)
      .Property("MaxWidth", &TSizeConstraints::SetMaxWidth)
      .Property("MinHeight", &TSizeConstraints::SetMinHeight)
      .Property("MinWidth", &TSizeConstraints::SetMinWidth);
  PublishEnum<TAlign>({{"alNone", TAlign::alNone},
                       {"alTop", TAlign::alTop},
                       {"alBottom", TAlign::alBottom},
                       {"alLeft", TAlign::alLeft},
                       {"alRight", TAlign::alRight},
                       {"alClient", TAlign::alClient}});
  PublishEnum<TAnchorKind>({{"akLeft", TAnchorKind::akLeft},
                            {"akTop", TAnchorKind::akTop},
                            {"akRight", TAnchorKind::akRight},
                            {"akBottom", TAnchorKind::akBottom}});
  PublishSet<TAnchors, TAnchorKind>();
  TClassPublisher<TControl, TComponent>("TControl")
      .Property("Left", &TControl::SetLeft)
      .Property("Top", &TControl::SetTop)
      .Property("Width", &TControl::SetWidth)
      .Property("Height", &TControl::SetHeight)
      .Property("ClientWidth", &TControl::SetClientWidth)
      .Property("ClientHeight", &TControl::SetClientHeight)
      .Property("Align", &TControl::SetAlign)
      .Property("Anchors", &TControl::SetAnchors)
      .Object("Constraints", &TControl::Constraints)
      .Property("Visible", &TControl::SetVisible)
      .Property("Enabled", &TControl::SetEnabled)
      .Property("Caption", &TControl::SetCaption)
      .Property("Text", &TControl::SetText)
      .Property("Color", &TControl::SetColor, ColorIdentifiers())
      .Property("ParentColor", &TControl::SetParentColor)
      .Object("Font", static_cast<TFont& (TControl::*)()>(&TControl::Font))
      .Property("ParentFont", &TControl::SetParentFont)
      .Property("Cursor", &TControl::SetCursor)
      .Property("Hint", &TControl::SetHint)
      .Property("ShowHint", &TControl::SetShowHint)
      .Property("ParentShowHint", &TControl::SetParentShowHint)
      .Property("PopupMenu", &TControl::SetPopupMenu)
      .Property("Tag", &TControl::Tag)
      .Property("OnClick", &TControl::OnClick)
      .Property("OnDblClick", &TControl::OnDblClick)
      .Property("OnMouseDown", &TControl::OnMouseDown)
      .Property("OnMouseUp", &TControl::OnMouseUp)
      .Property("OnMouseMove", &TControl::OnMouseMove)
      .Property("OnResize", &TControl::OnResize)
      .Property("OnContextPopup", &TControl::OnContextPopup)
      .Nested([](TControl& control, TComponent& container) {
        if (auto* parent = dynamic_cast<TWinControl*>(&container)) control.SetParent(parent);
      });
  TClassPublisher<TWinControl, TControl>("TWinControl")
      .Property("TabStop", &TWinControl::SetTabStop)
      .Property("TabOrder", &TWinControl::SetTabOrder)
      .Property("OnEnter", &TWinControl::OnEnter)
      .Property("OnExit", &TWinControl::OnExit)
      .Property("OnKeyDown", &TWinControl::OnKeyDown)
      .Property("OnKeyPress", &TWinControl::OnKeyPress)
      .Property("OnKeyUp", &TWinControl::OnKeyUp);
  TClassPublisher<TGraphicControl, TControl>("TGraphicControl");
  TClassPublisher<TCustomControl, TWinControl>("TCustomControl");
  PublishEnum<TPosition>({{"poDesigned", TPosition::poDesigned},
                          {"poDefault", TPosition::poDefault},
                          {"poDefaultPosOnly", TPosition::poDefaultPosOnly},
                          {"poDefaultSizeOnly", TPosition::poDefaultSizeOnly},
                          {"poScreenCenter", TPosition::poScreenCenter},
                          {"poDesktopCenter", TPosition::poDesktopCenter}});
  PublishEnum<TFormBorderStyle>({{"bsNone", TFormBorderStyle::bsNone},
                                 {"bsSingle", TFormBorderStyle::bsSingle},
                                 {"bsSizeable", TFormBorderStyle::bsSizeable},
                                 {"bsDialog", TFormBorderStyle::bsDialog},
                                 {"bsToolWindow", TFormBorderStyle::bsToolWindow},
                                 {"bsSizeToolWin", TFormBorderStyle::bsSizeToolWin}});
  TClassPublisher<TCustomForm, TWinControl>("TCustomForm")
      .Property("BorderStyle", &TCustomForm::SetBorderStyle)
      .Property("Position", &TCustomForm::SetPosition)
      .Property("KeyPreview", &TCustomForm::SetKeyPreview)
      .Property("Menu", [](TCustomForm& form, TMainMenu* menu) { SetMainMenu(form, menu); })
      .Property("OnCreate", &TCustomForm::OnCreate)
      .Property("OnDestroy", &TCustomForm::OnDestroy)
      .Property("OnShow", &TCustomForm::OnShow)
      .Property("OnHide", &TCustomForm::OnHide)
      .Property("OnActivate", &TCustomForm::OnActivate)
      .Property("OnDeactivate", &TCustomForm::OnDeactivate)
      .Property("OnPaint", &TCustomForm::OnPaint)
      .Property("OnClose", &TCustomForm::OnClose)
      .Property("OnCloseQuery", &TCustomForm::OnCloseQuery);
  TClassPublisher<TForm, TCustomForm>("TForm");
}

void PublishStdControls() {
  PublishEnum<TAlignment>({{"taLeftJustify", TAlignment::taLeftJustify},
                           {"taRightJustify", TAlignment::taRightJustify},
                           {"taCenter", TAlignment::taCenter}});
  PublishEnum<TLeftRight>({{"taLeftJustify", TLeftRight::taLeftJustify}, {"taRightJustify", TLeftRight::taRightJustify}});
  PublishEnum<TTextLayout>({{"tlTop", TTextLayout::tlTop}, {"tlCenter", TTextLayout::tlCenter}, {"tlBottom", TTextLayout::tlBottom}});
  TClassPublisher<TCustomLabel, TGraphicControl>("TCustomLabel")
      .Property("Alignment", &TCustomLabel::SetAlignment)
      .Property("AutoSize", &TCustomLabel::SetAutoSize)
      .Property("Layout", &TCustomLabel::SetLayout)
      .Property("WordWrap", &TCustomLabel::SetWordWrap)
      .Property("Transparent", &TCustomLabel::SetTransparent)
      .Property("FocusControl", &TCustomLabel::SetFocusControl)
      .Property("ShowAccelChar", &TCustomLabel::SetShowAccelChar);
  TClassPublisher<TLabel, TCustomLabel>("TLabel");
  TClassPublisher<TButtonControl, TCustomControl>("TButtonControl").Property("Alignment", &TButtonControl::SetAlignment);
  TClassPublisher<TButton, TButtonControl>("TButton")
      .Property("Default", &TButton::SetDefault)
      .Property("Cancel", &TButton::SetCancel)
      .Property("ModalResult", &TButton::SetModalResult);
  PublishEnum<TCheckBoxState>({{"cbUnchecked", TCheckBoxState::cbUnchecked},
                               {"cbChecked", TCheckBoxState::cbChecked},
                               {"cbGrayed", TCheckBoxState::cbGrayed}});
  TClassPublisher<TCustomCheckBox, TButtonControl>("TCustomCheckBox")
      .Property("Checked", &TCustomCheckBox::SetChecked)
      .Property("State", &TCustomCheckBox::SetState)
      .Property("AllowGrayed", &TCustomCheckBox::SetAllowGrayed);
  TClassPublisher<TCheckBox, TCustomCheckBox>("TCheckBox");
  TClassPublisher<TRadioButton, TButtonControl>("TRadioButton").Property("Checked", &TRadioButton::SetChecked);
  PublishEnum<TScrollBarKind>({{"sbHorizontal", TScrollBarKind::sbHorizontal}, {"sbVertical", TScrollBarKind::sbVertical}});
  TClassPublisher<TScrollBar, TWinControl>("TScrollBar")
      .Property("Kind", &TScrollBar::SetKind)
      .Property("Min", &TScrollBar::SetMin)
      .Property("Max", &TScrollBar::SetMax)
      .Property("PageSize", &TScrollBar::SetPageSize)
      .Property("Position", &TScrollBar::SetPosition)
      .Property("SmallChange", &TScrollBar::SetSmallChange)
      .Property("LargeChange", &TScrollBar::SetLargeChange)
      .Property("OnChange", &TScrollBar::OnChange)
      .Property("OnScroll", &TScrollBar::OnScroll);
}

void PublishMenus() {
  TClassPublisher<TMenuItem, TComponent>("TMenuItem")
      .Property("Caption", &TMenuItem::SetCaption)
      .Property("Checked", &TMenuItem::SetChecked)
      .Property("RadioItem", &TMenuItem::SetRadioItem)
      .Property("GroupIndex", &TMenuItem::SetGroupIndex)
      .Property("Enabled", &TMenuItem::SetEnabled)
      .Property("Visible", &TMenuItem::SetVisible)
      .Property("ShortCut", [](TMenuItem& item, const std::string& text) { item.SetShortCut(TextToShortCut(text)); })
      .Property("ImageIndex", &TMenuItem::SetImageIndex)
      .Property("OnClick", &TMenuItem::OnClick)
      .Nested([](TMenuItem& item, TComponent& container) {
        if (auto* parent = dynamic_cast<TMenuItem*>(&container))
          parent->Add(&item);
        else if (auto* menu = dynamic_cast<TMenu*>(&container))
          menu->Items()->Add(&item);
      });
  TClassPublisher<TMenu, TComponent>("TMenu").Property("Images", &TMenu::SetImages);
  TClassPublisher<TMainMenu, TMenu>("TMainMenu");
  TClassPublisher<TPopupMenu, TMenu>("TPopupMenu").Property("OnPopup", &TPopupMenu::OnPopup);
}

void PublishExtControls() {
  PublishEnum<TBevelShape>({{"bsBox", TBevelShape::bsBox},
                            {"bsFrame", TBevelShape::bsFrame},
                            {"bsTopLine", TBevelShape::bsTopLine},
                            {"bsBottomLine", TBevelShape::bsBottomLine},
                            {"bsLeftLine", TBevelShape::bsLeftLine},
                            {"bsRightLine", TBevelShape::bsRightLine},
                            {"bsSpacer", TBevelShape::bsSpacer}});
  PublishEnum<TBevelStyle>({{"bsLowered", TBevelStyle::bsLowered}, {"bsRaised", TBevelStyle::bsRaised}});
  TClassPublisher<TBevel, TGraphicControl>("TBevel")
      .Property("Shape", &TBevel::SetShape)
      .Property("Style", &TBevel::SetStyle);
  PublishEnum<TBevelCut>({{"bvNone", TBevelCut::bvNone},
                          {"bvLowered", TBevelCut::bvLowered},
                          {"bvRaised", TBevelCut::bvRaised},
                          {"bvSpace", TBevelCut::bvSpace}});
  PublishEnum<TBorderStyle>({{"bsNone", TBorderStyle::bsNone}, {"bsSingle", TBorderStyle::bsSingle}});
  TClassPublisher<TCustomPanel, TCustomControl>("TCustomPanel")
      .Property("Alignment", &TCustomPanel::SetAlignment)
      .Property("BevelInner", &TCustomPanel::SetBevelInner)
      .Property("BevelOuter", &TCustomPanel::SetBevelOuter)
      .Property("BevelWidth", &TCustomPanel::SetBevelWidth)
      .Property("BorderWidth", &TCustomPanel::SetBorderWidth)
      .Property("BorderStyle", &TCustomPanel::SetBorderStyle);
  TClassPublisher<TPanel, TCustomPanel>("TPanel");
  PublishEnum<TResizeStyle>({{"rsNone", TResizeStyle::rsNone},
                             {"rsLine", TResizeStyle::rsLine},
                             {"rsUpdate", TResizeStyle::rsUpdate},
                             {"rsPattern", TResizeStyle::rsPattern}});
  TClassPublisher<TSplitter, TGraphicControl>("TSplitter")
      .Property("AutoSnap", &TSplitter::SetAutoSnap)
      .Property("Beveled", &TSplitter::SetBeveled)
      .Property("MinSize", &TSplitter::SetMinSize)
      .Property("ResizeStyle", &TSplitter::SetResizeStyle)
      .Property("OnCanResize", &TSplitter::OnCanResize)
      .Property("OnMoved", &TSplitter::OnMoved);
  PublishEnum<TButtonLayout>({{"blGlyphLeft", TButtonLayout::blGlyphLeft},
                              {"blGlyphRight", TButtonLayout::blGlyphRight},
                              {"blGlyphTop", TButtonLayout::blGlyphTop},
                              {"blGlyphBottom", TButtonLayout::blGlyphBottom}});
  TClassPublisher<TSpeedButton, TGraphicControl>("TSpeedButton")
      .Property("Glyph", [](TSpeedButton& button, const std::vector<uint8_t>& data) {
        button.Glyph().LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
      })
      .Property("NumGlyphs", &TSpeedButton::SetNumGlyphs)
      .Property("Layout", &TSpeedButton::SetLayout)
      .Property("Margin", &TSpeedButton::SetMargin)
      .Property("Spacing", &TSpeedButton::SetSpacing)
      .Property("Flat", &TSpeedButton::SetFlat)
      .Property("GroupIndex", &TSpeedButton::SetGroupIndex)
      .Property("AllowAllUp", &TSpeedButton::SetAllowAllUp)
      .Property("Down", &TSpeedButton::SetDown);
}

// The containers and the paint box a print settings dialog is made of.
void PublishContainerControls() {
  TClassPublisher<TCustomGroupBox, TCustomControl>("TCustomGroupBox");
  TClassPublisher<TGroupBox, TCustomGroupBox>("TGroupBox");
  TClassPublisher<TPaintBox, TGraphicControl>("TPaintBox").Property("OnPaint", &TPaintBox::OnPaint);
  TClassPublisher<TTabSheet, TCustomControl>("TTabSheet")
      .Property("TabVisible", &TTabSheet::SetTabVisible)
      .Property("PageIndex", &TTabSheet::SetPageIndex)
      .Property("OnShow", &TTabSheet::OnShow)
      .Property("OnHide", &TTabSheet::OnHide);
  TClassPublisher<TPageControl, TCustomControl>("TPageControl")
      .Property("ActivePage", &TPageControl::SetActivePage)
      .Property("OnChange", &TPageControl::OnChange)
      .Property("OnChanging", &TPageControl::OnChanging);
}

void PublishCommonControls() {
  PublishEnum<TStatusPanelStyle>({{"psText", TStatusPanelStyle::psText}, {"psOwnerDraw", TStatusPanelStyle::psOwnerDraw}});
  PublishEnum<TStatusPanelBevel>({{"pbNone", TStatusPanelBevel::pbNone},
                                  {"pbLowered", TStatusPanelBevel::pbLowered},
                                  {"pbRaised", TStatusPanelBevel::pbRaised}});
  TClassPublisher<TStatusPanel>("TStatusPanel")
      .Property("Alignment", &TStatusPanel::SetAlignment)
      .Property("Bevel", &TStatusPanel::SetBevel)
      .Property("Style", &TStatusPanel::SetStyle)
      .Property("Text", &TStatusPanel::SetText)
      .Property("Width", &TStatusPanel::SetWidth);
  TClassPublisher<TStatusBarControl, TCustomControl>("TStatusBarControl");
  TClassPublisher<TCustomStatusBar, TStatusBarControl>("TCustomStatusBar")
      .Property("SimplePanel", &TCustomStatusBar::SetSimplePanel)
      .Property("SimpleText", &TCustomStatusBar::SetSimpleText)
      .Property("SizeGrip", &TCustomStatusBar::SetSizeGrip);
  TClassPublisher<TStatusBar, TCustomStatusBar>("TStatusBar")
      .Collection("Panels", static_cast<TStatusPanels& (TStatusBar::*)()>(&TStatusBar::Panels))
      .Property("OnDrawPanel", &TStatusBar::OnDrawPanel);
  PublishEnum<TDateTimeKind>({{"dtkDate", TDateTimeKind::dtkDate}, {"dtkTime", TDateTimeKind::dtkTime}});
  PublishEnum<TDTDateMode>({{"dmComboBox", TDTDateMode::dmComboBox}, {"dmUpDown", TDTDateMode::dmUpDown}});
  PublishEnum<TDTDateFormat>({{"dfShort", TDTDateFormat::dfShort}, {"dfLong", TDTDateFormat::dfLong}});
  TClassPublisher<TDateTimePicker, TCustomControl>("TDateTimePicker")
      .Property("Kind", &TDateTimePicker::SetKind)
      .Property("DateMode", &TDateTimePicker::SetDateMode)
      .Property("DateFormat", &TDateTimePicker::SetDateFormat)
      .Property("ShowCheckbox", &TDateTimePicker::SetShowCheckbox)
      .Property("Checked", &TDateTimePicker::SetChecked)
      .Property("DateTime", &TDateTimePicker::SetDateTime)
      .Property("Date", &TDateTimePicker::SetDate)
      .Property("Time", &TDateTimePicker::SetTime)
      .Property("MinDate", &TDateTimePicker::SetMinDate)
      .Property("MaxDate", &TDateTimePicker::SetMaxDate)
      .Property("OnChange", &TDateTimePicker::OnChange)
      .Property("OnDropDown", &TDateTimePicker::OnDropDown)
      .Property("OnCloseUp", &TDateTimePicker::OnCloseUp);
}

}  // namespace

void PublishControlClasses() {
  PublishFramework();
  PublishStdControls();
  PublishExtControls();
  PublishMenus();
  PublishCommonControls();
  PublishContainerControls();
}

}  // namespace platform
