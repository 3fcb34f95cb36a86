#pragma once

#include <optional>
#include <string>

#include "platform/app/Component.h"
#include "platform/app/DialogService.h"
#include "platform/app/ModalResult.h"
#include "platform/gfx/Font.h"

namespace platform {

// The class library's dialogs, all answered by the dialog service (DialogService.h).

// A message box with the buttons given; the caption follows the type in the resource language
// ("Confirm" / "Bestätigen", ...; the application's title for mtCustom). The default button is OK,
// else Yes, else the first button. Returns the modal result of the button (mrYes, mrNo, ...).
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// A plain message with an OK button.
void ShowMessage(const std::string& Msg);

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

// The base of the dialog components: Execute shows the dialog (through the dialog service) and answers
// whether the user accepted it; OnShow and OnClose run before and after.
class TCommonDialog : public TComponent {
public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

  virtual bool Execute() = 0;

  int HelpContext = 0;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

protected:
  // Runs OnShow, asks (through the dialog service), then runs OnClose. Any of them may free the dialog:
  // from then on nothing of it is touched, and there is no answer to take.
  template <class Question>
  auto ShowAndAsk(Question ask) -> decltype(ask()) {
    TGuard guard(*this);
    if (OnShow) OnShow(this);
    if (guard.Gone()) return std::nullopt;
    auto answer = ask();
    if (guard.Gone()) return std::nullopt;
    if (OnClose) OnClose(this);
    if (guard.Gone()) return std::nullopt;
    return answer;
  }
};

// The font dialog: Execute offers the families fontconfig knows, starting at Font's name, size, style
// and colour; on OK it sets them on Font and returns true, on cancel it changes nothing.
class TFontDialog : public TCommonDialog {
public:
  explicit TFontDialog(TComponent* AOwner);

  bool Execute() override;
  TFont& Font() { return font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }

  std::string Title;

private:
  TFont font_;
};

// The open-file dialog as a component of a form. Execute asks the dialog service; on a choice it sets
// FileName (with "." DefaultExt appended when the chosen name has no extension) and FilterIndex and
// returns true; on cancel it returns false and changes nothing.
class TOpenDialog : public TCommonDialog {
public:
  explicit TOpenDialog(TComponent* AOwner);

  bool Execute() override;

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
