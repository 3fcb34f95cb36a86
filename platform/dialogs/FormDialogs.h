#pragma once

#include "platform/app/DialogService.h"

namespace platform {

// The dialog service of a program with a display: message boxes, the file dialogs, the folder
// browser and the font dialog as modal forms of our own (MessageForm.h, FileDialogForm.h,
// FolderBrowserForm.h, FontDialogForm.h). A
// program installs it once its backend shows windows:
//
//   TFormDialogService dialogs;
//   if (ChooseBackend()) SetDialogService(&dialogs);
class TFormDialogService : public IDialogService {
public:
  TMsgDlgBtn ShowMessage(const TMessageRequest& request) override;
  std::optional<TFileDialogAnswer> ExecuteFileDialog(const TFileDialogRequest& request) override;
  std::optional<TFolderAnswer> BrowseForFolder(const TFolderRequest& request) override;
  std::optional<TFontAnswer> ChooseFont(const TFontRequest& request) override;
};

}  // namespace platform
