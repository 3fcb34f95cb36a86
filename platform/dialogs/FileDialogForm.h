#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/edits/ComboBox.h"
#include "platform/app/DialogService.h"
#include "platform/edits/Edit.h"
#include "platform/dialogs/FileListView.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace platform {

// One entry of a dialog's filter ("Text|*.txt;*.log"): what the filter combo shows and the patterns.
struct TFileFilter {
  std::string Description;
  std::vector<std::string> Patterns;
};

// The entries of a filter text: description and patterns alternate, separated by "|"; a description
// without patterns matches every file.
std::vector<TFileFilter> ParseFileFilter(const std::string& filter);
// Whether a file name matches one of the patterns ("*", "?"), ignoring case.
bool MatchesFileFilter(const std::string& name, const TFileFilter& filter);
// A folder as a dialog request gives it: "%NAME%" stands for the environment variable NAME ("%temp%"
// for the temporary folder, also where the variable is not set); "\" separates folders as "/".
std::string ExpandDialogFolder(const std::string& folder);

// The part the file dialogs and the folder browser share: a folder's path (Enter there opens the
// folder typed) with an "Up" button above the list of the folder's entries, hidden ones left out.
// Enter or a double click on a folder opens it, Backspace in the list goes up.
class TFolderViewForm : public TForm {
public:
  const std::string& Folder() const { return folder_; }
  // Lists a folder; false (said in a message box, the list unchanged) when it cannot be read.
  bool OpenFolder(const std::string& folder);

  TEdit& PathEdit() { return *path_; }
  TButton& UpButton() { return *up_; }
  TFileListView& List() { return *list_; }

protected:
  // Sizes the form's client area and places the path row at the top and the list from `listTop` to
  // `listBottom`.
  TFolderViewForm(int width, int height, int listTop, int listBottom);
  // Whether the list shows an entry that is not hidden.
  virtual bool Shows(const TDirectoryEntry& entry) const = 0;
  // A file was opened in the list (Enter, double click).
  virtual void FileOpened(const TDirectoryEntry& entry) {}
  // The typed path when the path field has the focus: opens that folder and answers true.
  bool OpenTypedFolder();
  // The folder to start in: `wanted` when it can be read, else the working folder, else "/".
  void OpenFirstFolder(const std::string& wanted);
  // The control that has the focus when the form shows.
  void SetFirstFocus(TWinControl* control) { firstFocus_ = control; }
  void DoShow() override;

private:
  std::string folder_;
  TEdit* path_;
  TButton* up_;
  TFileListView* list_;
  TWinControl* firstFocus_ = nullptr;
};

// The open and save dialogs as a modal form of our own: the folder's path with an "Up" button, the
// folder's entries (folders first, hidden files left out, files by the chosen filter, sortable by
// name, size and date), the file name and the filter, and the buttons. Enter or a double click on a
// folder opens it, Backspace in the list goes up; a typed folder name or path opens that folder. The
// request's options are kept: the file must exist (ofFileMustExist), its folder must exist
// (ofPathMustExist, always when saving), replacing asks first (ofOverwritePrompt); a name without an
// extension gets DefaultExt. Its prompts are message boxes of the dialog service.
class TFileDialogForm : public TFolderViewForm {
public:
  explicit TFileDialogForm(const TFileDialogRequest& request);

  // Shows the form modally; the chosen file, or none when cancelled.
  std::optional<TFileDialogAnswer> Execute();

  TEdit& FileNameEdit() { return *fileName_; }
  TComboBox& FilterCombo() { return *filter_; }
  TButton& OkButton() { return *ok_; }
  TButton& CancelButton() { return *cancel_; }

protected:
  bool Shows(const TDirectoryEntry& entry) const override;
  void FileOpened(const TDirectoryEntry& entry) override;

private:
  // The OK button: takes the typed name (or opens a folder) when the options allow it.
  void Accept();
  // The full path of the typed name; DefaultExt added by the request's rules.
  std::string ChosenPath(const std::string& typed) const;
  bool Confirm(const std::string& path);

  TFileDialogRequest request_;
  std::vector<TFileFilter> filters_;
  std::optional<TFileDialogAnswer> answer_;
  TEdit* fileName_;
  TComboBox* filter_;
  TButton* ok_;
  TButton* cancel_;
};

}  // namespace platform
