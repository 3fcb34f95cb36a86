#include "controls/EditorClasses.h"

#include "controls/SpinClasses.h"
#include "controls/zgcombo.h"
#include "controls/zgspin.h"
#include "platform/ui/PublishedClasses.h"

namespace controls {

using platform::TClassPublisher;

namespace {

void PublishCombo() {
  TClassPublisher<TZGCustomCombo, platform::TCustomComboBox>("TZGCustomCombo")
      .Property("AutoFocus", &TZGCustomCombo::SetAutoFocus)
      .Property("ButtonWidth", &TZGCustomCombo::SetButtonWidth)
      .Property("Flat", &TZGCustomCombo::SetFlat)
      .Property("Etched", &TZGCustomCombo::SetEtched)
      .Property("FocusBorder", &TZGCustomCombo::SetFocusBorder)
      .Property("DropWidth", &TZGCustomCombo::SetDropWidth);
  TClassPublisher<TZGComboBox, TZGCustomCombo>("TZGComboBox");
}

// The unit's classes go under "zgspin.", as the spin edit unit ExSpin has a TExMaskSpinEdit too. The
// mask spin edit's EditMask is the masked edit's, published with TCustomMaskEdit.
void PublishSpinEditors() {
  using namespace zgspin;
  PublishSpinEditBase();
  platform::PublishEnum<TZgSpinType>(
      {{"sptNormal", sptNormal}, {"sptFloat", sptFloat}, {"sptDate", sptDate}, {"sptTime", sptTime}});
  TClassPublisher<TZgSpinEdit, TSpinEditBase>("zgspin.TZgSpinEdit").Property("SpinType", &TZgSpinEdit::SetSpinType);
  TClassPublisher<TExMaskSpinEdit, TZgSpinEdit>("zgspin.TExMaskSpinEdit");
}

}  // namespace

void PublishEditorClasses() {
  PublishCombo();
  PublishSpinEditors();
}

}  // namespace controls
