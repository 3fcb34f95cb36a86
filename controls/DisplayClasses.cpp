#include "controls/DisplayClasses.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "controls/MarkupImage.h"
#include "controls/MarkupLabel.h"
#include "controls/MarkupStatusBar.h"
#include "controls/fxLabel.h"
#include "platform/ui/ColorIdentifiers.h"
#include "platform/app/PublishedClasses.h"

namespace controls {

using platform::ColorIdentifiers;
using platform::PublishEnum;
using platform::TClassPublisher;

namespace {

std::string_view Bytes(const std::vector<uint8_t>& data) {
  return {reinterpret_cast<const char*>(data.data()), data.size()};
}

void PublishMarkupLabel() {
  PublishEnum<TAutoSizeType>({{"asVertical", asVertical}, {"asHorizontal", asHorizontal}, {"asBoth", asBoth}});
  PublishEnum<TBevelCut>({{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}});
  PublishEnum<TVAlignment>({{"tvaTop", tvaTop}, {"tvaCenter", tvaCenter}, {"tvaBottom", tvaBottom}});
  TClassPublisher<TMarkupLabel, platform::TGraphicControl>("TMarkupLabel")
      .Property("HTMLText",
                [](TMarkupLabel& label, const std::vector<std::string>& lines) {
                  platform::TStringList list;
                  for (const std::string& line : lines) list.Add(line);
                  label.SetHTMLText(list);
                })
      .Property("AnchorHint", &TMarkupLabel::AnchorHint)
      .Property("AutoSizing", &TMarkupLabel::SetAutoSizing)
      .Property("AutoSizeType", &TMarkupLabel::SetAutoSizeType)
      .Property("BevelInner", &TMarkupLabel::SetBevelInner)
      .Property("BevelOuter", &TMarkupLabel::SetBevelOuter)
      .Property("BevelWidth", &TMarkupLabel::SetBevelWidth)
      .Property("BorderWidth", &TMarkupLabel::SetBorderWidth)
      .Property("BorderStyle", &TMarkupLabel::SetBorderStyle)
      .Property("Ellipsis", &TMarkupLabel::SetEllipsis)
      .Property("Hover", &TMarkupLabel::SetHover)
      .Property("HoverColor", &TMarkupLabel::SetHoverColor, ColorIdentifiers())
      .Property("HoverFontColor", &TMarkupLabel::SetHoverFontColor, ColorIdentifiers())
      .Property("Images", &TMarkupLabel::SetImages)
      .Property("PictureContainer", &TMarkupLabel::SetPictureContainer)
      .Property("ShadowColor", &TMarkupLabel::SetShadowColor, ColorIdentifiers())
      .Property("ShadowOffset", &TMarkupLabel::SetShadowOffset)
      .Property("URLColor", &TMarkupLabel::SetURLColor, ColorIdentifiers())
      .Property("VAlignment", &TMarkupLabel::SetVAlignment)
      .Property("Transparent", &TMarkupLabel::SetTransparent)
      .Property("OnAnchorClick", &TMarkupLabel::OnAnchorClick)
      .Property("OnAnchorEnter", &TMarkupLabel::OnAnchorEnter)
      .Property("OnAnchorExit", &TMarkupLabel::OnAnchorExit)
      .Property("OnAnchorHint", &TMarkupLabel::OnAnchorHint);
}

void PublishFxLabel() {
  PublishEnum<TFxLabelStyle>({{"fxNormal", fxNormal}, {"fxRaised", fxRaised}, {"fxLowered", fxLowered}, {"fxOutLine", fxOutLine}});
  PublishEnum<TFxEffectStyle>({{"fxFun", fxFun}, {"fxExtrude", fxExtrude}, {"fxCool", fxCool}});
  PublishEnum<TFxOrientation>({{"fxLeft", fxLeft},
                               {"fxRight", fxRight},
                               {"fxTop", fxTop},
                               {"fxBottom", fxBottom},
                               {"fxLeftTop", fxLeftTop},
                               {"fxLeftBottom", fxLeftBottom},
                               {"fxRightTop", fxRightTop},
                               {"fxRightBottom", fxRightBottom}});
  TClassPublisher<TFx3DEffect>("TFx3DEffect")
      .Property("Style", &TFx3DEffect::SetStyle)
      .Property("Orientation", &TFx3DEffect::SetOrientation)
      .Property("Depth", &TFx3DEffect::SetDepth)
      .Property("ShadowedColor", &TFx3DEffect::SetShadowedColor, ColorIdentifiers());
  TClassPublisher<TFxLabel, platform::TGraphicControl>("TFxLabel")
      .Property("Style", &TFxLabel::SetStyle)
      .Property("Angle", &TFxLabel::SetAngle)
      .Object("Effect3D", &TFxLabel::Effect3D)
      .Property("Glyph", [](TFxLabel& label, const std::vector<uint8_t>& data) { label.Glyph().LoadFromBytes(Bytes(data)); })
      .Property("PenWidth", &TFxLabel::SetPenWidth)
      .Property("Transparent", &TFxLabel::SetTransparent);
}

void PublishMarkupImage() {
  PublishEnum<TPicturePosition>({{"bpTopLeft", bpTopLeft},
                                 {"bpTopRight", bpTopRight},
                                 {"bpBottomLeft", bpBottomLeft},
                                 {"bpBottomRight", bpBottomRight},
                                 {"bpCenter", bpCenter},
                                 {"bpTiled", bpTiled},
                                 {"bpStretched", bpStretched}});
  TClassPublisher<TMarkupImage, platform::TGraphicControl>("TMarkupImage")
      .Property("HTMLPicture",
                [](TMarkupImage& image, const std::vector<uint8_t>& data) { image.HTMLPicture().LoadFromBytes(Bytes(data)); })
      .Property("PicturePosition", &TMarkupImage::SetPicturePosition);
}

void PublishMarkupStatusBar() {
  using Style = TMarkupStatusPanelStyle;
  PublishEnum<Style>({{"psHTML", Style::psHTML},
                      {"psText", Style::psText},
                      {"psOwnerDraw", Style::psOwnerDraw},
                      {"psTime", Style::psTime},
                      {"psDate", Style::psDate},
                      {"psNumLock", Style::psNumLock},
                      {"psCapsLock", Style::psCapsLock},
                      {"psScrollLock", Style::psScrollLock},
                      {"psProgress", Style::psProgress}});
  PublishEnum<TProgressIndication>({{"piPercentage", TProgressIndication::piPercentage},
                                    {"piAbsolute", TProgressIndication::piAbsolute},
                                    {"piNone", TProgressIndication::piNone}});
  TClassPublisher<TProgressStyle>("TProgressStyle")
      .Property("Color", &TProgressStyle::SetColor, ColorIdentifiers())
      .Property("BackGround", &TProgressStyle::SetBackGround, ColorIdentifiers())
      .Property("TextColor", &TProgressStyle::SetTextColor, ColorIdentifiers())
      .Property("Indication", &TProgressStyle::SetIndication)
      .Property("Min", &TProgressStyle::SetMin)
      .Property("Max", &TProgressStyle::SetMax)
      .Property("Position", &TProgressStyle::SetPosition);
  TClassPublisher<TMarkupStatusPanel>("TMarkupStatusPanel")
      .Property("Alignment", &TMarkupStatusPanel::SetAlignment)
      .Property("Bevel", &TMarkupStatusPanel::SetBevel)
      .Property("Style", &TMarkupStatusPanel::SetStyle)
      .Property("Text", &TMarkupStatusPanel::SetText)
      .Property("Width", &TMarkupStatusPanel::SetWidth)
      .Property("DateFormat", &TMarkupStatusPanel::SetDateFormat)
      .Property("TimeFormat", &TMarkupStatusPanel::SetTimeFormat)
      .Object("Progress", static_cast<TProgressStyle& (TMarkupStatusPanel::*)()>(&TMarkupStatusPanel::Progress))
      .Property("Hint", &TMarkupStatusPanel::SetHint);
  TClassPublisher<TMarkupStatusBar, platform::TCustomStatusBar>("TMarkupStatusBar")
      .Collection("Panels", &TMarkupStatusBar::Panels)
      .Property("AnchorHint", &TMarkupStatusBar::SetAnchorHint)
      .Property("Images", &TMarkupStatusBar::SetImages)
      .Property("URLColor", &TMarkupStatusBar::SetURLColor, ColorIdentifiers())
      .Property("OnDrawPanel", &TMarkupStatusBar::OnDrawPanel)
      .Property("OnAnchorClick", &TMarkupStatusBar::OnAnchorClick)
      .Property("OnAnchorEnter", &TMarkupStatusBar::OnAnchorEnter)
      .Property("OnAnchorExit", &TMarkupStatusBar::OnAnchorExit);
}

}  // namespace

void PublishDisplayClasses() {
  PublishMarkupLabel();
  PublishFxLabel();
  PublishMarkupImage();
  PublishMarkupStatusBar();
  PublishSpinEditClasses();
}

}  // namespace controls
