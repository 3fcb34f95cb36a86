#include "controls/SpinClasses.h"

#include "controls/DisplayClasses.h"
#include "controls/ExSpin.h"
#include "platform/ui/ColorIdentifiers.h"
#include "platform/edits/EditClasses.h"
#include "platform/app/PublishedClasses.h"

namespace controls {

using platform::PublishEnum;
using platform::TClassPublisher;

void PublishSpinEditBase() {
  platform::PublishEditClasses();
  PublishEnum<TSpinDirection>({{"spVertical", spVertical}, {"spHorizontal", spHorizontal}});
  TClassPublisher<TSpinEditBase, platform::TCustomMaskEdit>("TSpinEditBase")
      .Property("Value", &TSpinEditBase::SetValue)
      .Property("FloatValue", &TSpinEditBase::SetFloatValue)
      .Property("DateValue", &TSpinEditBase::SetDateValue)
      .Property("TimeValue", &TSpinEditBase::SetTimeValue)
      .Property("MinValue", &TSpinEditBase::SetMinValue)
      .Property("MaxValue", &TSpinEditBase::SetMaxValue)
      .Property("MinFloatValue", &TSpinEditBase::SetMinFloatValue)
      .Property("MaxFloatValue", &TSpinEditBase::SetMaxFloatValue)
      .Property("MinDateValue", &TSpinEditBase::SetMinDateValue)
      .Property("MaxDateValue", &TSpinEditBase::SetMaxDateValue)
      .Property("Increment", &TSpinEditBase::SetIncrement)
      .Property("IncrementFloat", &TSpinEditBase::SetIncrementFloat)
      .Property("Precision", &TSpinEditBase::SetPrecision)
      .Property("EditorEnabled", &TSpinEditBase::SetEditorEnabled)
      .Property("ReturnIsTab", &TSpinEditBase::SetReturnIsTab)
      .Property("Direction", &TSpinEditBase::SetDirection)
      .Property("SpinFlat", &TSpinEditBase::SetSpinFlat);
}

// The unit's classes go under "ExSpin.", as the grid's spin unit has a TExMaskSpinEdit too.
void PublishSpinEditClasses() {
  PublishSpinEditBase();
  using namespace exspin;
  PublishEnum<TExSpinType>(
      {{"sptNormal", sptNormal}, {"sptFloat", sptFloat}, {"sptDate", sptDate}, {"sptTime", sptTime}, {"sptHex", sptHex}});
  PublishEnum<TLabelPosition>({{"lpLeftTop", lpLeftTop},
                               {"lpLeftCenter", lpLeftCenter},
                               {"lpLeftBottom", lpLeftBottom},
                               {"lpTopLeft", lpTopLeft},
                               {"lpBottomLeft", lpBottomLeft},
                               {"lpLeftTopLeft", lpLeftTopLeft},
                               {"lpLeftCenterLeft", lpLeftCenterLeft},
                               {"lpLeftBottomLeft", lpLeftBottomLeft},
                               {"lpTopCenter", lpTopCenter},
                               {"lpBottomCenter", lpBottomCenter}});
  TClassPublisher<TExSpinEdit, TSpinEditBase>("ExSpin.TExSpinEdit")
      .Property("SpinType", &TExSpinEdit::SetSpinType)
      .Property("HexValue", &TExSpinEdit::SetHexValue)
      .Property("IncrementPage", &TExSpinEdit::SetIncrementPage)
      .Property("IncrementFloatPage", &TExSpinEdit::SetIncrementFloatPage)
      .Property("IncrementSmart", &TExSpinEdit::SetIncrementSmart)
      .Property("Flat", &TExSpinEdit::SetFlat)
      .Property("FlatLineColor", &TExSpinEdit::SetFlatLineColor, platform::ColorIdentifiers())
      .Property("LabelCaption", &TExSpinEdit::SetLabelCaption)
      .Property("LabelPosition", &TExSpinEdit::SetLabelPosition)
      .Property("LabelMargin", &TExSpinEdit::SetLabelMargin)
      .Property("LabelTransparent", &TExSpinEdit::SetLabelTransparent)
      .Object("LabelFont", &TExSpinEdit::LabelFont);
  TClassPublisher<TExMaskSpinEdit, TExSpinEdit>("ExSpin.TExMaskSpinEdit");
}

}  // namespace controls
