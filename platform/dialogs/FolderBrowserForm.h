#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs/FileDialogForm.h"

namespace platform {

// The folder browser as a modal form of our own: the request's title above the folder view (folders
// only), OK and Cancel. OK answers the selected sub-folder, or the folder shown when none is
// selected; the browse starts in the user's home folder. A request for computers
// (BIF_BROWSEFORCOMPUTER) shows instead a combo of the computers this machine knows by name (its
// hosts file and its own name), in which any other name may be typed; it answers the name alone.
class TFolderBrowserForm : public TFolderViewForm {
public:
  explicit TFolderBrowserForm(const TFolderRequest& request, const std::string& hostsFile = "/etc/hosts");

  // Shows the form modally; the chosen folder (or computer), or none when cancelled.
  std::optional<TFolderAnswer> Execute();

  // Null unless the request is for computers.
  TComboBox* Computers() { return computers_; }
  TButton& OkButton() { return *ok_; }
  TButton& CancelButton() { return *cancel_; }

protected:
  bool Shows(const TDirectoryEntry& entry) const override { return entry.IsDirectory; }

private:
  void Accept();

  std::optional<TFolderAnswer> answer_;
  TComboBox* computers_ = nullptr;
  TButton* ok_;
  TButton* cancel_;
};

// The host names of a hosts file ("address name alias ..."; "#" starts a comment) and this machine's
// own name, sorted, each once.
std::vector<std::string> KnownComputers(const std::string& hostsFile);

}  // namespace platform
