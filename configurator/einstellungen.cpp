#include "configurator/einstellungen.h"

#include "configurator/VelmoraConf.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/ui/FormLoader.h"

namespace configurator {

TfrmSettings* frmSettings = nullptr;

namespace {

template <class T>
T* Component(const TfrmSettings& form, const std::string& name) {
  return &dynamic_cast<T&>(*form.FindComponent(name));
}

}  // namespace

std::string StatusFolder(const std::string& text) {
  return text.empty() || text.back() == '/' ? text : text + "/";
}

// Made after the main form, whose constructor has published the classes that the resource names.
TfrmSettings::TfrmSettings(platform::TComponent* AOwner) : TForm(AOwner) {
  frmSettings = this;
  platform::TFormMethods methods;
  methods.Add("FormShow", this, &TfrmSettings::FormShow);
  methods.Add("FormHide", this, &TfrmSettings::FormHide);
  methods.Add("OkClick", this, &TfrmSettings::OkClick);
  methods.Add("LogChangesClick", this, &TfrmSettings::LogChangesClick);
  methods.Add("edtIntervallChange", this, &TfrmSettings::edtIntervallChange);
  methods.Add("edtIntervallExit", this, &TfrmSettings::edtIntervallExit);
  methods.Add("chbWebStatusClick", this, &TfrmSettings::chbWebStatusClick);
  methods.Add("edtDirChange", this, &TfrmSettings::edtDirChange);
  methods.Add("edtFileNameChange", this, &TfrmSettings::edtFileNameChange);
  methods.Add("btnDirClick", this, &TfrmSettings::btnDirClick);
  platform::ReadFormResource(*this, "TfrmSettings", methods);
  LogChanges = Component<platform::TCheckBox>(*this, "LogChanges");
  edtIntervall = Component<controls::exspin::TExSpinEdit>(*this, "edtIntervall");
  chbWebStatus = Component<platform::TCheckBox>(*this, "chbWebStatus");
  edtDir = Component<platform::TEdit>(*this, "edtDir");
  btnDir = Component<platform::TSpeedButton>(*this, "btnDir");
  edtFileName = Component<platform::TEdit>(*this, "edtFileName");
  Ok = Component<platform::TButton>(*this, "Ok");
  btnDir->Glyph().LoadFromResourceName("GLYPHFOLDER");
}

TfrmSettings::~TfrmSettings() {
  if (frmSettings == this) frmSettings = nullptr;
}

// The controls' change handlers run while they are filled, so the main form's interval is the clamped
// value from here on.
void TfrmSettings::FormShow(platform::TObject* Sender) {
  edtIntervall->SetValue(Form1->Intervall);
  LogChanges->SetChecked(Form1->Logging);
  chbWebStatus->SetChecked(Form1->WebStatus);
  btnDir->SetHint(Form1->StatusHTMLDir);
  edtDir->SetHint(Form1->StatusHTMLDir);
  edtDir->SetText(Form1->StatusHTMLDir);
  edtFileName->SetText(Form1->StatusHTMLFilename);
}

void TfrmSettings::FormHide(platform::TObject* Sender) {
  Form1->AndockPanel->SetVisible(LogChanges->Checked());
  Form1->Splitter1->SetVisible(LogChanges->Checked());
}

void TfrmSettings::OkClick(platform::TObject* Sender) { SetModalResult(platform::mrOk); }

void TfrmSettings::LogChangesClick(platform::TObject* Sender) { Form1->Logging = LogChanges->Checked(); }

void TfrmSettings::edtIntervallChange(platform::TObject* Sender) { Form1->Intervall = edtIntervall->Value(); }

// Leaving the field counts as an edit, so that closing the main window asks to save.
void TfrmSettings::edtIntervallExit(platform::TObject* Sender) { Form1->btnSave->SetEnabled(true); }

void TfrmSettings::chbWebStatusClick(platform::TObject* Sender) { Form1->WebStatus = chbWebStatus->Checked(); }

void TfrmSettings::edtDirChange(platform::TObject* Sender) {
  Form1->StatusHTMLDir = StatusFolder(edtDir->Text());
  btnDir->SetHint(edtDir->Text());
  edtDir->SetHint(edtDir->Text());
}

void TfrmSettings::edtFileNameChange(platform::TObject* Sender) { Form1->StatusHTMLFilename = edtFileName->Text(); }

// A cancelled browser leaves the field as it was.
void TfrmSettings::btnDirClick(platform::TObject* Sender) {
  const std::optional<platform::TFolderAnswer> answer =
      platform::BrowseForFolder("Browse for Folder", platform::CSIDL_DRIVES, platform::BIF_RETURNONLYFSDIRS);
  if (!answer) return;
  const std::string folder = StatusFolder(answer->Path.empty() ? answer->DisplayName : answer->Path);
  edtDir->SetHint(folder);
  edtDir->SetText(folder);
}

}  // namespace configurator
