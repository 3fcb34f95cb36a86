#pragma once

#include "platform/app/DialogService.h"

namespace platform {

// The dialog service of a program with a display: message boxes, the file dialogs and the folder
// browser as modal forms of our own (MessageForm.h, FileDialogForm.h, FolderBrowserForm.h). A
// program installs it once its backend shows windows:
//
//   TFormDialogService dialogs;
//   if (ChooseBackend()) SetDialogService(&dialogs);
class TFormDialogService : public IDialogService {
public:
  TMsgDlgBtn ShowMessage(const TMessageRequest& request) override;
  std::optional<TFileDialogAnswer> ExecuteFileDialog(const TFileDialogRequest& request) override;
  std::optional<TFolderAnswer> BrowseForFolder(const TFolderRequest& request) override;
};

}  // namespace platform
