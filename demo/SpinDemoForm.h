#pragma once

#include "platform/ui/FormLoader.h"
#include "platform/ui/Forms.h"

namespace platform {

// The demonstration's window of combo boxes (a drop-down with an edit and a drop-down list) and spin
// edits (integer, float and hexadecimal spin edits with attached labels; the grid's integer and time
// spin edits), from the form resource TSpinDemoForm in the resource language. It has no handlers: it
// is there to be tried.
class TSpinDemoForm : public TForm {
public:
  explicit TSpinDemoForm(TComponent* AOwner);

private:
  TFormMethods methods_;
};

}  // namespace platform
