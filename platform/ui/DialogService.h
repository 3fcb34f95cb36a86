#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

namespace platform {

// The one place where the program asks the user something: message boxes, file and folder dialogs.
// Dialogs.h builds the class library's calls on it. Without a display the console service answers
// (messages to standard error); tests install a TScriptedDialogService (ScriptedDialogs.h); the on-screen
// dialogs, modal forms of their own, are another implementation installed by the program.

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

class IDialogService {
public:
  virtual ~IDialogService() = default;
  // The button that closed the box; one of the request's buttons.
  virtual TMsgDlgBtn ShowMessage(const TMessageRequest& request) = 0;
  // The chosen file; none when the user cancelled.
  virtual std::optional<TFileDialogAnswer> ExecuteFileDialog(const TFileDialogRequest& request) = 0;
  // The chosen folder; none when the user cancelled.
  virtual std::optional<TFolderAnswer> BrowseForFolder(const TFolderRequest& request) = 0;
};

// The service in use: the one installed, else the console service, which writes each message to
// standard error ("Caption: Text") and answers with its default button, and cancels file and folder
// dialogs (nobody could choose).
IDialogService& DialogService();
// Installs `service` (kept alive by the caller) for the whole process; null returns to the console
// service. Returns the service installed before.
IDialogService* SetDialogService(IDialogService* service);

}  // namespace platform
