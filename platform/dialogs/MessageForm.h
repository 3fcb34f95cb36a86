#pragma once

#include "platform/app/DialogService.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace platform {

// A message box as a modal form: the caption, an icon by the type, the text (wrapped) and the
// request's buttons in a row, the default one focused. Escape or the close box give Cancel, else No,
// else OK, when the box has one of them.
class TMessageForm : public TForm {
public:
  explicit TMessageForm(const TMessageRequest& request);

  // Shows the form modally; the button that closed it.
  TMsgDlgBtn Execute();
  TButton* Button(TMsgDlgBtn button) const { return buttons_[button]; }

protected:
  void Paint() override;
  // Focuses the default button.
  void DoShow() override;

private:
  TMessageRequest request_;
  TButton* buttons_[mbHelp + 1] = {};
  TMsgDlgBtn escape_ = mbOK;
};

}  // namespace platform
