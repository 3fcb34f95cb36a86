#include "DemoDialog.h"

#include "platform/ui/StdCtrls.h"

namespace platform {

TDemoDialog::TDemoDialog(TComponent* AOwner) : TForm(AOwner) {
  methods_.Add("DialogCloseQuery", this, &TDemoDialog::DialogCloseQuery);
  methods_.Add("CloseClick", this, &TDemoDialog::CloseClick);
  ReadFormResource(*this, "TDemoDialog", methods_);
}

void TDemoDialog::DialogCloseQuery(TObject* Sender, bool& CanClose) {
  CanClose = dynamic_cast<TCheckBox&>(*FindComponent("AllowCheck")).Checked();
}

void TDemoDialog::CloseClick(TObject* Sender) { Close(); }

}  // namespace platform
