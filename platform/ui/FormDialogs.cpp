#include "platform/ui/FormDialogs.h"

#include "platform/ui/FileDialogForm.h"
#include "platform/ui/FolderBrowserForm.h"
#include "platform/ui/MessageForm.h"

namespace platform {

TMsgDlgBtn TFormDialogService::ShowMessage(const TMessageRequest& request) { return TMessageForm(request).Execute(); }

std::optional<TFileDialogAnswer> TFormDialogService::ExecuteFileDialog(const TFileDialogRequest& request) {
  return TFileDialogForm(request).Execute();
}

std::optional<TFolderAnswer> TFormDialogService::BrowseForFolder(const TFolderRequest& request) {
  return TFolderBrowserForm(request).Execute();
}

}  // namespace platform
