#include "controls/EditorClasses.h"

#include "controls/zgcombo.h"
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

}  // namespace

void PublishEditorClasses() { PublishCombo(); }

}  // namespace controls
