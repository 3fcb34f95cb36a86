#include "SpinDemoForm.h"

#include "controls/DisplayClasses.h"
#include "controls/EditorClasses.h"

namespace platform {

TSpinDemoForm::TSpinDemoForm(TComponent* AOwner) : TForm(AOwner) {
  controls::PublishSpinEditClasses();
  controls::PublishEditorClasses();
  ReadFormResource(*this, "TSpinDemoForm", methods_);
}

}  // namespace platform
