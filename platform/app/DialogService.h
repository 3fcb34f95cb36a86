#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/app/ModalResult.h"

namespace platform {

// The one place where the program asks the user something: message boxes, file and folder dialogs.
// platform/dialogs/Dialogs.h builds the class library's calls on it. Without a display the console
// service answers (messages to standard error); tests install a TScriptedDialogService
// (platform/dialogs/ScriptedDialogs.h); the on-screen dialogs, modal forms of their own, are another
// implementation installed by the program.

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };

// A set of buttons: TMsgDlgButtons{mbYes, mbNo}.
class TMsgDlgButtons {
public:
  constexpr TMsgDlgButtons() = default;
  constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    for (TMsgDlgBtn b : buttons) bits_ |= Bit(b);
  }
  constexpr bool Contains(TMsgDlgBtn b) const { return (bits_ & Bit(b)) != 0; }
  constexpr void Include(TMsgDlgBtn b) { bits_ |= Bit(b); }
  friend constexpr bool operator==(TMsgDlgButtons, TMsgDlgButtons) = default;

private:
  static constexpr uint16_t Bit(TMsgDlgBtn b) { return static_cast<uint16_t>(1u << b); }
  uint16_t bits_ = 0;
};

inline constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// A message box: the text, its caption, its icon (by type) and the buttons, one of them the default.
struct TMessageRequest {
  std::string Caption;
  std::string Text;
  TMsgDlgType Type = mtCustom;
  TMsgDlgButtons Buttons;
  TMsgDlgBtn DefaultButton = mbOK;
};

enum class TFileDialogKind { Open, Save };

// A file dialog as the program set it up (TOpenDialog, TSaveDialog); Options holds TOpenOption bits.
struct TFileDialogRequest {
  TFileDialogKind Kind = TFileDialogKind::Open;
  std::string Title;
  std::string Filter;  // "Text|*.txt|All files (*.*)|*.*"
  int FilterIndex = 1;  // 1-based
  std::string DefaultExt;
  std::string FileName;
  std::string InitialDir;
  uint32_t Options = 0;
};

struct TFileDialogAnswer {
  std::string FileName;
  int FilterIndex = 1;
};

// The shell's folder browser: a title, the root of the tree (CSIDL_...) and BIF_... flags.
struct TFolderRequest {
  std::string Title;
  int Root = 0;
  unsigned Flags = 0;
};

struct TFolderAnswer {
  std::string Path;         // the file-system path; "" for an item that has none (a computer)
  std::string DisplayName;  // the item's name as shown (a computer's name)
};

// The font dialog: the font it starts with (style bits 1 bold, 2 italic, 4 underline, 8 strike-out;
// the colour as the program's colour value) and the families to offer. The answer is the chosen font.
struct TFontRequest {
  std::string Title;
  std::string Name;
  int Size = 8;
  unsigned Style = 0;
  uint32_t Color = 0;
  std::vector<std::string> Families;
};

struct TFontAnswer {
  std::string Name;
  int Size = 8;
  unsigned Style = 0;
  uint32_t Color = 0;
};

class IDialogService {
public:
  virtual ~IDialogService() = default;
  // The button that closed the box; one of the request's buttons.
  virtual TMsgDlgBtn ShowMessage(const TMessageRequest& request) = 0;
  // The chosen file; none when the user cancelled.
  virtual std::optional<TFileDialogAnswer> ExecuteFileDialog(const TFileDialogRequest& request) = 0;
  // The chosen folder; none when the user cancelled.
  virtual std::optional<TFolderAnswer> BrowseForFolder(const TFolderRequest& request) = 0;
  // The chosen font; none when the user cancelled. A service without a font dialog cancels.
  virtual std::optional<TFontAnswer> ChooseFont(const TFontRequest& request) { return std::nullopt; }
};

// The service in use: the one installed, else the console service, which writes each message to
// standard error ("Caption: Text") and answers with its default button, and cancels file and folder
// dialogs (nobody could choose).
IDialogService& DialogService();
// Installs `service` (kept alive by the caller) for the whole process; null returns to the console
// service. Returns the service installed before.
IDialogService* SetDialogService(IDialogService* service);

// Asks the dialog service the request's question and returns the modal result of the button it
// answered (mrYes, mrNo, ...); raises when the service answers with a button the box does not have.
TModalResult ShowMessageRequest(const TMessageRequest& request);

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

}  // namespace platform
