#pragma once

#include <string>

#include "platform/ui/Component.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/ModalResult.h"

namespace platform {

// The class library's dialogs, all answered by the dialog service (DialogService.h).

// A message box with the buttons given; the caption follows the type in the resource language
// ("Confirm" / "Bestätigen", ...; the application's title for mtCustom). The default button is OK,
// else Yes, else the first button. Returns the modal result of the button (mrYes, mrNo, ...).
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// A plain message with an OK button.
void ShowMessage(const std::string& Msg);

// Flags of Application().MessageBox: one button set, an icon and the default button.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONSTOP = MB_ICONERROR;
inline constexpr unsigned MB_ICONHAND = MB_ICONERROR;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONEXCLAMATION = MB_ICONWARNING;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_ICONASTERISK = MB_ICONINFORMATION;
inline constexpr unsigned MB_DEFBUTTON1 = 0x0;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;

// Results of Application().MessageBox.
inline constexpr int IDOK = mrOk;
inline constexpr int IDCANCEL = mrCancel;
inline constexpr int IDABORT = mrAbort;
inline constexpr int IDRETRY = mrRetry;
inline constexpr int IDIGNORE = mrIgnore;
inline constexpr int IDYES = mrYes;
inline constexpr int IDNO = mrNo;

// Makes the application's exception display (ShowException) a message box with the application's
// title, an error icon and an OK button, as GUI programs have it; without a display the console
// dialog service still writes it to standard error.
void InstallMessageBoxExceptionDisplay();

// Options of the file dialogs (TOpenDialog::Options), as bits of TOpenOptions.
enum TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofAllowMultiSelect, ofExtensionDifferent,
  ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofNoReadOnlyReturn, ofEnableSizing,
};

class TOpenOptions {
public:
  constexpr TOpenOptions() = default;
  constexpr TOpenOptions(std::initializer_list<TOpenOption> options) {
    for (TOpenOption o : options) Include(o);
  }
  constexpr bool Contains(TOpenOption o) const { return (bits_ & (1u << o)) != 0; }
  constexpr void Include(TOpenOption o) { bits_ |= 1u << o; }
  constexpr uint32_t Bits() const { return bits_; }
  friend constexpr bool operator==(TOpenOptions, TOpenOptions) = default;

private:
  uint32_t bits_ = 0;
};

// The open-file dialog as a component of a form. Execute asks the dialog service; on a choice it sets
// FileName (with "." DefaultExt appended when the chosen name has no extension) and FilterIndex and
// returns true; on cancel it returns false and changes nothing.
class TOpenDialog : public TComponent {
public:
  explicit TOpenDialog(TComponent* AOwner);

  bool Execute();

  std::string Title;
  std::string Filter;
  int FilterIndex = 1;
  std::string DefaultExt;
  std::string FileName;
  std::string InitialDir;
  TOpenOptions Options{ofHideReadOnly, ofEnableSizing};

protected:
  explicit TOpenDialog(TComponent* AOwner, TFileDialogKind kind);

private:
  TFileDialogKind kind_;
};

class TSaveDialog : public TOpenDialog {
public:
  explicit TSaveDialog(TComponent* AOwner);
};

// Roots and flags of the folder browser (BrowseForFolder).
inline constexpr int CSIDL_DESKTOP = 0x00;
inline constexpr int CSIDL_DRIVES = 0x11;   // My Computer
inline constexpr int CSIDL_NETWORK = 0x12;  // the network's computers
inline constexpr unsigned BIF_RETURNONLYFSDIRS = 0x0001;
inline constexpr unsigned BIF_BROWSEFORCOMPUTER = 0x1000;
inline constexpr unsigned BIF_BROWSEFORPRINTER = 0x2000;

// The shell's folder browser; none when the user cancelled.
std::optional<TFolderAnswer> BrowseForFolder(const std::string& Title, int Root, unsigned Flags);

// Publishes the dialog components for form resources.
void PublishDialogClasses();

}  // namespace platform
