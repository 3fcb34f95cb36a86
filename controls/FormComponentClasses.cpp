#include "controls/FormComponentClasses.h"

#include "controls/FormSize.h"
#include "controls/MarkupHint.h"
#include "controls/WinXP.h"
#include "platform/ui/ColorIdentifiers.h"
#include "platform/app/PublishedClasses.h"

namespace controls {

using platform::ColorIdentifiers;
using platform::TClassPublisher;
using platform::TComponent;

void PublishFormComponentClasses() {
  TClassPublisher<TWinXP, TComponent>("TWinXP");
  TClassPublisher<TFormSize, TComponent>("TFormSize")
      .Property("SaveName", &TFormSize::SaveName)
      .Property("SaveKey", &TFormSize::SaveKey)
      .Property("SaveUser", &TFormSize::SaveUser)
      .Property("SaveMachine", &TFormSize::SaveMachine)
      .Property("SavePosition", &TFormSize::SavePosition)
      .Property("SaveSize", &TFormSize::SaveSize)
      .Property("Magnet", &TFormSize::Magnet)
      .Property("MagnetDistance", &TFormSize::MagnetDistance)
      .Property("DragAlways", &TFormSize::DragAlways);
  platform::PublishEnum<THintStyle>({{"hsRectangle", hsRectangle}, {"hsRounded", hsRounded}});
  TClassPublisher<TMarkupHint, TComponent>("TMarkupHint")
      .Property("HintColor", &TMarkupHint::HintColor, ColorIdentifiers())
      .Object("HintFont", &TMarkupHint::HintFont)
      .Property("HintStyle", &TMarkupHint::HintStyle)
      .Property("Images", &TMarkupHint::SetImages)
      .Property("PictureContainer", &TMarkupHint::SetPictureContainer)
      .Property("URLColor", &TMarkupHint::URLColor, ColorIdentifiers())
      .Property("ShadowColor", &TMarkupHint::ShadowColor, ColorIdentifiers())
      .Property("ShadowOffset", &TMarkupHint::ShadowOffset)
      .Property("XMargin", &TMarkupHint::XMargin)
      .Property("YMargin", &TMarkupHint::YMargin)
      .Property("Ellipsis", &TMarkupHint::Ellipsis)
      .Property("OnShowHint", &TMarkupHint::OnShowHint);
}

}  // namespace controls
