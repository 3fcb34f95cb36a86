#pragma once

#include <string>

#include "controls/ExSpin.h"
#include "platform/edits/Edit.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace configurator {

// The modal dialog of the service's options, made from its form resource TfrmSettings. It holds no
// state of its own: FormShow loads the controls from the main form `Form1`, and every change goes
// straight into Form1's fields (there is no cancel); they reach HostList.ini when the main form closes.
// The application owns the dialog; `frmSettings` points at it.
class TfrmSettings : public platform::TForm {
public:
  explicit TfrmSettings(platform::TComponent* AOwner);
  ~TfrmSettings() override;

  platform::TCheckBox* LogChanges;
  controls::exspin::TExSpinEdit* edtIntervall;
  platform::TCheckBox* chbWebStatus;
  platform::TEdit* edtDir;
  platform::TSpeedButton* btnDir;
  platform::TEdit* edtFileName;
  platform::TButton* Ok;

  void FormShow(platform::TObject* Sender);
  void FormHide(platform::TObject* Sender);
  void OkClick(platform::TObject* Sender);
  void LogChangesClick(platform::TObject* Sender);
  void edtIntervallChange(platform::TObject* Sender);
  void edtIntervallExit(platform::TObject* Sender);
  void chbWebStatusClick(platform::TObject* Sender);
  void edtDirChange(platform::TObject* Sender);
  void edtFileNameChange(platform::TObject* Sender);
  void btnDirClick(platform::TObject* Sender);
};

// The status page's folder as the service joins it with the file name: with a trailing "/" (an empty
// text stays empty).
std::string StatusFolder(const std::string& text);

extern TfrmSettings* frmSettings;

}  // namespace configurator
