#pragma once

#include "platform/ui/FormLoader.h"
#include "platform/ui/Forms.h"

namespace platform {

// The demonstration's modal dialog, from the form resource TDemoDialog: it closes (by its close box or
// its button) only while its check box allows it, which its close query asks.
class TDemoDialog : public TForm {
public:
  explicit TDemoDialog(TComponent* AOwner);

private:
  void DialogCloseQuery(TObject* Sender, bool& CanClose);
  void CloseClick(TObject* Sender);

  TFormMethods methods_;
};

}  // namespace platform
