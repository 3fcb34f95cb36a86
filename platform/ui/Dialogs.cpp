#include "platform/ui/Dialogs.h"

#include "platform/ui/Application.h"
#include "platform/ui/FormLanguage.h"
#include "platform/ui/PublishedClasses.h"

namespace platform {

namespace {

constexpr TMsgDlgBtn kAllButtons[] = {mbYes,    mbNo,  mbOK,      mbCancel,   mbAbort, mbRetry,
                                      mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp};

TModalResult ResultOf(TMsgDlgBtn button) {
  constexpr TModalResult results[] = {mrYes,    mrNo,  mrOk,      mrCancel,   mrAbort, mrRetry,
                                      mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
  return results[button];
}

std::string CaptionOf(TMsgDlgType type) {
  const bool german = ResourceLanguage() == kLanguageGerman;
  switch (type) {
    case mtWarning: return german ? "Warnung" : "Warning";
    case mtError: return german ? "Fehler" : "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return german ? "Bestätigen" : "Confirm";
    case mtCustom: break;
  }
  return Application().Title();
}

TModalResult Ask(const TMessageRequest& request) {
  const TMsgDlgBtn answer = DialogService().ShowMessage(request);
  if (!request.Buttons.Contains(answer)) throw Exception("The dialog service answered with a button the box does not have");
  return ResultOf(answer);
}

}  // namespace

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int /*HelpCtx*/) {
  TMessageRequest request;
  request.Caption = CaptionOf(DlgType);
  request.Text = Msg;
  request.Type = DlgType;
  request.Buttons = Buttons == TMsgDlgButtons{} ? TMsgDlgButtons{mbOK} : Buttons;
  request.DefaultButton = mbHelp;
  for (TMsgDlgBtn preferred : {mbOK, mbYes, mbRetry})
    if (request.Buttons.Contains(preferred)) {
      request.DefaultButton = preferred;
      break;
    }
  if (request.DefaultButton == mbHelp)
    for (TMsgDlgBtn button : kAllButtons)
      if (request.Buttons.Contains(button)) {
        request.DefaultButton = button;
        break;
      }
  return Ask(request);
}

void ShowMessage(const std::string& Msg) {
  TMessageRequest request;
  request.Caption = Application().Title();
  request.Text = Msg;
  request.Buttons = {mbOK};
  Ask(request);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
  struct ButtonSet {
    TMsgDlgBtn buttons[3];
    int count;
  };
  constexpr ButtonSet sets[] = {
      {{mbOK}, 1},           {{mbOK, mbCancel}, 2},          {{mbAbort, mbRetry, mbIgnore}, 3},
      {{mbYes, mbNo, mbCancel}, 3}, {{mbYes, mbNo}, 2}, {{mbRetry, mbCancel}, 2},
  };
  const ButtonSet& set = sets[(Flags & 0xF) < 6 ? (Flags & 0xF) : 0];
  TMessageRequest request;
  request.Caption = Caption;
  request.Text = Text;
  switch (Flags & 0xF0) {
    case MB_ICONERROR: request.Type = mtError; break;
    case MB_ICONQUESTION: request.Type = mtConfirmation; break;
    case MB_ICONWARNING: request.Type = mtWarning; break;
    case MB_ICONINFORMATION: request.Type = mtInformation; break;
    default: request.Type = mtCustom; break;
  }
  for (int i = 0; i < set.count; ++i) request.Buttons.Include(set.buttons[i]);
  const int defaultIndex = static_cast<int>((Flags >> 8) & 0xF);
  request.DefaultButton = set.buttons[defaultIndex < set.count ? defaultIndex : 0];
  return Ask(request);
}

void InstallMessageBoxExceptionDisplay() {
  Application().SetExceptionSink([](const std::string& message) {
    Application().MessageBox(message, Application().Title(), MB_OK | MB_ICONSTOP);
  });
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TOpenDialog(AOwner, TFileDialogKind::Open) {}

TOpenDialog::TOpenDialog(TComponent* AOwner, TFileDialogKind kind) : TComponent(AOwner), kind_(kind) {}

TSaveDialog::TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner, TFileDialogKind::Save) {}

bool TOpenDialog::Execute() {
  TFileDialogRequest request;
  request.Kind = kind_;
  request.Title = Title;
  request.Filter = Filter;
  request.FilterIndex = FilterIndex;
  request.DefaultExt = DefaultExt;
  request.FileName = FileName;
  request.InitialDir = InitialDir;
  request.Options = Options.Bits();
  std::optional<TFileDialogAnswer> answer = DialogService().ExecuteFileDialog(request);
  if (!answer) return false;
  FileName = answer->FileName;
  const size_t name = FileName.find_last_of("/\\");
  if (!DefaultExt.empty() && FileName.find('.', name == std::string::npos ? 0 : name + 1) == std::string::npos)
    FileName += "." + DefaultExt;
  FilterIndex = answer->FilterIndex;
  return true;
}

std::optional<TFolderAnswer> BrowseForFolder(const std::string& Title, int Root, unsigned Flags) {
  return DialogService().BrowseForFolder(TFolderRequest{Title, Root, Flags});
}

void PublishDialogClasses() {
  PublishEnum<TOpenOption>({{"ofReadOnly", ofReadOnly},
                            {"ofOverwritePrompt", ofOverwritePrompt},
                            {"ofHideReadOnly", ofHideReadOnly},
                            {"ofNoChangeDir", ofNoChangeDir},
                            {"ofAllowMultiSelect", ofAllowMultiSelect},
                            {"ofExtensionDifferent", ofExtensionDifferent},
                            {"ofPathMustExist", ofPathMustExist},
                            {"ofFileMustExist", ofFileMustExist},
                            {"ofCreatePrompt", ofCreatePrompt},
                            {"ofNoReadOnlyReturn", ofNoReadOnlyReturn},
                            {"ofEnableSizing", ofEnableSizing}});
  PublishSet<TOpenOptions, TOpenOption>();
  TClassPublisher<TOpenDialog, TComponent>("TOpenDialog")
      .Property("Title", &TOpenDialog::Title)
      .Property("Filter", &TOpenDialog::Filter)
      .Property("FilterIndex", &TOpenDialog::FilterIndex)
      .Property("DefaultExt", &TOpenDialog::DefaultExt)
      .Property("FileName", &TOpenDialog::FileName)
      .Property("InitialDir", &TOpenDialog::InitialDir)
      .Property("Options", &TOpenDialog::Options);
  TClassPublisher<TSaveDialog, TOpenDialog>("TSaveDialog");
}

}  // namespace platform
