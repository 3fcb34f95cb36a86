#include "platform/dialogs/Dialogs.h"

#include <utility>

#include "platform/app/Application.h"
#include "platform/app/FormLanguage.h"
#include "platform/app/PublishedClasses.h"

namespace platform {

namespace {

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

constexpr TMsgDlgBtn kAllButtons[] = {mbYes,    mbNo,  mbOK,      mbCancel,   mbAbort, mbRetry,
                                      mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp};

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
  return ShowMessageRequest(request);
}

void ShowMessage(const std::string& Msg) {
  TMessageRequest request;
  request.Caption = Application().Title();
  request.Text = Msg;
  request.Buttons = {mbOK};
  ShowMessageRequest(request);
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TOpenDialog(AOwner, TFileDialogKind::Open) {}

TOpenDialog::TOpenDialog(TComponent* AOwner, TFileDialogKind kind) : TCommonDialog(AOwner), kind_(kind) {}

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
  const std::optional<TFileDialogAnswer> answer = ShowAndAsk([&] { return DialogService().ExecuteFileDialog(request); });
  if (!answer) return false;
  FileName = answer->FileName;
  const size_t name = FileName.find_last_of("/\\");
  if (!DefaultExt.empty() && FileName.find('.', name == std::string::npos ? 0 : name + 1) == std::string::npos)
    FileName += "." + DefaultExt;
  FilterIndex = answer->FilterIndex;
  return true;
}

namespace {

// The style bits of a font request.
constexpr std::pair<unsigned, TFontStyle> kFontStyleBits[] = {
    {1, TFontStyle::fsBold}, {2, TFontStyle::fsItalic}, {4, TFontStyle::fsUnderline}, {8, TFontStyle::fsStrikeOut}};

}  // namespace

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

bool TFontDialog::Execute() {
  TFontRequest request;
  request.Title = Title;
  request.Name = font_.Name();
  request.Size = font_.Size();
  for (const auto& [bit, style] : kFontStyleBits)
    if (font_.Style().Contains(style)) request.Style |= bit;
  request.Color = font_.Color();
  request.Families = InstalledFontFamilies();
  const std::optional<TFontAnswer> answer = ShowAndAsk([&] { return DialogService().ChooseFont(request); });
  if (!answer) return false;
  TFontStyles chosen;
  for (const auto& [bit, style] : kFontStyleBits)
    if (answer->Style & bit) chosen = chosen + style;
  font_.SetName(answer->Name);
  font_.SetSize(answer->Size);
  font_.SetStyle(chosen);
  font_.SetColor(answer->Color);
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
  TClassPublisher<TCommonDialog, TComponent>("TCommonDialog")
      .Property("HelpContext", &TCommonDialog::HelpContext)
      .Property("OnShow", &TCommonDialog::OnShow)
      .Property("OnClose", &TCommonDialog::OnClose);
  TClassPublisher<TFontDialog, TCommonDialog>("TFontDialog")
      .Property("Title", &TFontDialog::Title)
      .Object("Font", &TFontDialog::Font);
  TClassPublisher<TOpenDialog, TCommonDialog>("TOpenDialog")
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
